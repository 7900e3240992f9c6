#include "display/display_state.h"

DisplayState display;

void ResetDisplayState() {
    display = DisplayState{};
}
