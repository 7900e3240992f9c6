// parrun-phrases: loads a phrase file with the game's own loader under chosen spellings, prints
// every phrase it loaded and says on the error stream which lines it passed over and why.
#pragma once

#include <ostream>

// The whole program: arguments without the program name. Returns the exit status: 0 when at
// least one phrase loads, 1 when none does, 2 for a wrong command line.
int RunPhraseChecker(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
