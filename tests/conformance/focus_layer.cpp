// Focus on our layer: the scripted host's script takes the focus away and gives it back
// (conformance.script), at the virtual times of the pumps that follow these calls.
#include "tests/conformance/facts.h"

void TakeFocusAway() {}

void GiveFocusBack(HWND) {}

void AnswerMessageBoxSoon(const char*) {}
