// tests/win32/host_run.h
// Runs the stand-in simulator with a script and reads back its CSV log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HostLogLine {
    int64_t tMs;
    std::string kind;
    std::vector<std::string> fields; // after t_ms and kind
};

struct HostRun {
    int exitCode = -1;
    std::vector<HostLogLine> lines;

    std::vector<HostLogLine> Of(const std::string& kind) const;
    // The t_ms of the first line of a kind, or -1.
    int64_t FirstMs(const std::string& kind) const;
};

// Runs skorvan-host.exe (beside this test program) with the script and waits
// for it; the run fails the test if it does not end within its seconds + 30.
HostRun RunHost(const std::string& script, double seconds);

// Runs skorvan-host.exe with a command line of its own, its standard output
// and error together into output; returns its exit status (-1 when it could
// not be started or did not end within 30 s).
int RunHostCommandLine(const std::string& arguments, std::string* output);

// Registry helpers for the module's settings key.
void Settings_DeleteKey();
bool Settings_Fetch(const char* name, unsigned long* type, std::string* text);
// A setting's stored text, or "<missing>"; "<not text>" when it is not REG_SZ.
std::string Settings_Text(const char* name);
