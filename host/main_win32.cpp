// host/main_win32.cpp
// The stand-in simulator: a Windows program that gives Skorvan.dll what the
// real simulator gives it (the "FS98MAIN" window and menu bar, the camera
// memory at its fixed addresses, a function table whose entry 40 refreshes
// variables from a small flight model, a clock that stops while paused),
// loads and unloads it, and logs what the module does as CSV. This file
// holds the command line and the order of the run; host_win32.h lists the
// parts.
#include "host_win32.h"

#include "cli.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

struct HostOptions {
    std::string dllPath; // Skorvan.dll beside the host unless given
    std::string scriptPath;
    std::string scenario;
    std::string logPath;
    double seconds = -1;
    bool live = false;
};

static std::string DllBesideHost() {
    char exePath[MAX_PATH];
    GetModuleFileNameA(nullptr, exePath, MAX_PATH);
    const char* slash = strrchr(exePath, '\\');
    const char* folderEnd = slash ? slash + 1 : exePath;
    return std::string(static_cast<const char*>(exePath), folderEnd) + "Skorvan.dll";
}

// Parses the command line into options and the script. Returns -1 to go
// on, else the status to exit with.
static int ParseCommandLine(int argc, char** argv, HostOptions* options, HostScript* script) {
    CLI::App app{"Runs Skorvan.dll inside a stand-in simulator and logs what it does as CSV.",
                 "skorvan-host"};
    Cli_AddStandard(app, nullptr);
    app.add_option("--dll", options->dllPath,
                   "The module to load (default: Skorvan.dll beside "
                   "this program)");
    app.add_option("--script", options->scriptPath, "The script that drives the run");
    app.add_option("--scenario", options->scenario,
                   std::string("The flight, overriding the script's (") +
                       HostFlight_ScenarioNames() + ")");
    app.add_option("--seconds", options->seconds, "How long the run lasts, overriding the script's")
        ->check(CLI::Validator(
            [](std::string& text) {
                char* end = nullptr;
                const double value = strtod(text.c_str(), &end);
                return end != text.c_str() && *end == '\0' && value > 0
                           ? std::string()
                           : std::string("needs a positive number");
            },
            "SECONDS"));
    app.add_option("--log", options->logPath, "Where the CSV log goes");
    app.add_flag("--live", options->live, "A line for a person watching at every camera placement");
    const int status = Cli_Parse(app, argc, argv);
    if (status >= 0)
        return status;
    if (!options->scriptPath.empty()) {
        std::string text, error;
        if (!HostText_ReadFile(options->scriptPath, &text)) {
            fprintf(stderr, "skorvan-host: cannot read script %s\n", options->scriptPath.c_str());
            return 2;
        }
        if (!HostScript_Parse(text, script, &error)) {
            fprintf(stderr, "skorvan-host: %s: %s\n", options->scriptPath.c_str(), error.c_str());
            return 2;
        }
    }
    if (!options->scenario.empty())
        script->scenario = options->scenario;
    if (options->seconds > 0)
        script->seconds = options->seconds;
    return -1;
}

// An exception out of here (std::bad_alloc, or CLI11 refusing an option
// declared wrongly, a programming error; Cli_Parse catches the user's
// mistakes) ends the stand-in through std::terminate with a failing
// status, which every test that runs it reports.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    HostLog_StartClock();

    HostOptions options;
    options.dllPath = DllBesideHost();
    HostScript script;
    const int status = ParseCommandLine(argc, argv, &options, &script);
    if (status >= 0)
        return status;
    HostFlight flight;
    if (!HostFlight_Start(&flight, script.scenario)) {
        fprintf(stderr, "skorvan-host: unknown scenario '%s' (known: %s)\n",
                script.scenario.c_str(), HostFlight_ScenarioNames());
        return 2;
    }
    if (!HostLog_Open(options.logPath, options.live)) {
        fprintf(stderr, "skorvan-host: cannot write log %s\n", options.logPath.c_str());
        return 2;
    }
    if (!HostCamera_Commit())
        return 1;

    HostLog_Line("start,%s,%.3f", script.scenario.c_str(), script.seconds);
    HostModule_Configure(options.dllPath, HostTable_Build());
    HostTable_Publish(&flight);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (script.mainWindow && !HostWindow_CreateMain(instance)) {
        fprintf(stderr, "skorvan-host: cannot create the main window\n");
        return 1;
    }
    HostWindow_CreateOther(instance);
    HostBox_Install();
    HostModule_PrepareSettings(script);
    HostModule_Load();

    // The host's own work runs from a thread timer, so that it goes on while
    // a menu or a modal dialog of the module runs its own message loop.
    const UINT_PTR timer = HostTimer_Start(&script, &flight);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, timer);
    HostModule_Unload();
    HostLog_Drain();
    HostLog_Line("end");
    HostBox_Remove();
    if (!HostLog_Close()) {
        fprintf(stderr, "skorvan-host: writing the log %s failed\n", options.logPath.c_str());
        return 1;
    }
    return 0;
}
