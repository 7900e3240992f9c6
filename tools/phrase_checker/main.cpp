#include <iostream>

#include "tools/phrase_checker/phrase_checker.h"

int main(int argc, char** argv) {
    return RunPhraseChecker(argc - 1, argv + 1, std::cout, std::cerr);
}
