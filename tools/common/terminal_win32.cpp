// tools/common/terminal_win32.cpp
// Whether progress may be shown: only to a person watching a console.
#include "cli.h"

#include <io.h>

bool Cli_ShowProgress(bool quiet) {
    return !quiet && _isatty(_fileno(stderr)) != 0;
}
