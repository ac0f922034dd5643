// tools/common/terminal_posix.cpp
// Whether progress may be shown: only to a person watching a terminal.
#include "cli.h"

#include <unistd.h>

bool Cli_ShowProgress(bool quiet) {
    return !quiet && isatty(STDERR_FILENO) == 1;
}
