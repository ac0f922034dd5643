// host/script.cpp
// Parses the stand-in simulator's run script: one statement a line, '#'
// starts a comment.
//
//   scenario straight          the flight (straight, turn, climb, parked)
//   seconds 30                 run length
//   no-main-window             do not create the "FS98MAIN" window
//   clear-settings             delete the module's registry key before loading
//   setting FlyByDuration 10   store a setting's text before loading
//   at 12.5 pause|resume|unload|load|quit
//   at 8 command 30720         post WM_COMMAND 30720 to the main window
#include "host.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

static bool ParseNumber(const std::string& text, double* out) {
    if (text.empty())
        return false;
    char* end = nullptr;
    *out = strtod(text.c_str(), &end);
    return *end == '\0';
}

bool HostScript_Parse(const std::string& text, HostScript* script, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword))
            continue;
        std::string a, b, extra;
        words >> a >> b >> extra;
        if (keyword == "scenario" && !a.empty() && b.empty()) {
            HostFlight probe;
            if (!HostFlight_Start(&probe, a))
                return fail("unknown scenario '" + a + "' (known: " + HostFlight_ScenarioNames() +
                            ")");
            script->scenario = a;
        } else if (keyword == "seconds" && b.empty()) {
            if (!ParseNumber(a, &script->seconds) || script->seconds <= 0)
                return fail("seconds needs a positive number");
        } else if (keyword == "no-main-window" && a.empty()) {
            script->mainWindow = false;
        } else if (keyword == "clear-settings" && a.empty()) {
            script->clearSettings = true;
        } else if (keyword == "setting" && !b.empty() && extra.empty()) {
            script->settings.push_back({a, b});
        } else if (keyword == "at") {
            HostScriptEvent event{0.0, HostAction::Quit, 0};
            if (!ParseNumber(a, &event.atS) || event.atS < 0)
                return fail("'at' needs a time in seconds");
            if (b == "pause")
                event.action = HostAction::Pause;
            else if (b == "resume")
                event.action = HostAction::Resume;
            else if (b == "unload")
                event.action = HostAction::Unload;
            else if (b == "load")
                event.action = HostAction::Load;
            else if (b == "quit")
                event.action = HostAction::Quit;
            else if (b == "command") {
                event.action = HostAction::Command;
                double id = 0;
                if (!ParseNumber(extra, &id) || id < 0 || id > 65535)
                    return fail("'command' needs an id from 0 to 65535");
                event.argument = static_cast<int32_t>(id);
                extra.clear();
            } else
                return fail("unknown action '" + b + "'");
            if (!extra.empty())
                return fail("unexpected '" + extra + "'");
            script->events.push_back(event);
        } else {
            return fail("cannot read '" + keyword + (a.empty() ? "" : " " + a) + "'");
        }
    }
    std::stable_sort(
        script->events.begin(), script->events.end(),
        [](const HostScriptEvent& x, const HostScriptEvent& y) { return x.atS < y.atS; });
    return true;
}
