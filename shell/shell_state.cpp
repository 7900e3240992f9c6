#include "shell/shell_state.h"

ShellState shell;

void ResetShellState() {
    shell = ShellState{};
}
