// host/script.cpp
// Parses the stand-in simulator's run script: one statement a line, '#'
// starts a comment.
//
//   scenario straight          the flight (straight, turn, climb, parked)
//   seconds 30                 run length
//   no-main-window             do not create the "FS98MAIN" window
//   clear-settings             delete the module's registry key before loading
//   setting FlyByDuration 10   store a setting's text before loading
//   at T pause|resume|unload|load|quit|init-menu|menu|open-menu
//   at T command ID [HIGH]     post WM_COMMAND to the main window
//   at T send-command ID [HIGH]   send it (SendMessage)
//   at T other-command ID      post it to a second window
//   at T peek-command ID       post it and peek at it without removing it
//   at T key up|down|left|right|enter|escape
//   at T dialog configure|about read|escape|close
//   at T dialog configure set ID TEXT...   (TEXT may be empty: set ID)
//   at T dialog configure check ID 0|1
//   at T dialog configure click ID
//   at T screenshot FILE.bmp
#include "host.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

bool HostText_ReadFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}

static bool ParseNumber(const std::string& text, double* out) {
    if (text.empty())
        return false;
    char* end = nullptr;
    *out = strtod(text.c_str(), &end);
    return *end == '\0';
}

static bool ParseId(const std::string& text, int32_t* out) {
    double v = 0;
    if (!ParseNumber(text, &v) || v < 0 || v > 65535 || v != static_cast<int32_t>(v))
        return false;
    *out = static_cast<int32_t>(v);
    return true;
}

// The words after "at T"; false with the reason in why.
static bool ParseEvent(std::vector<std::string> w, HostScriptEvent* e, std::string* why) {
    static const struct {
        const char* name;
        HostAction action;
    } SIMPLE[] = {{"pause", HostAction::Pause},   {"resume", HostAction::Resume},
                  {"unload", HostAction::Unload}, {"load", HostAction::Load},
                  {"quit", HostAction::Quit},     {"init-menu", HostAction::InitMenu},
                  {"menu", HostAction::Menu},     {"open-menu", HostAction::OpenMenu}};
    static const struct {
        const char* name;
        HostAction action;
    } COMMANDS[] = {{"command", HostAction::Command},
                    {"send-command", HostAction::SendCommand},
                    {"other-command", HostAction::OtherCommand},
                    {"peek-command", HostAction::PeekCommand}};
    const std::string verb = w.empty() ? "" : w[0];
    for (const auto& s : SIMPLE) {
        if (verb == s.name) {
            e->action = s.action;
            if (w.size() > 1)
                return *why = "unexpected '" + w[1] + "'", false;
            return true;
        }
    }
    for (const auto& c : COMMANDS) {
        if (verb == c.name) {
            e->action = c.action;
            if (w.size() < 2 || w.size() > 3 || !ParseId(w[1], &e->id) ||
                (w.size() == 3 && !ParseId(w[2], &e->high)))
                return *why =
                           "'" + verb + "' needs an id from 0 to 65535 (and an optional high word)",
                       false;
            return true;
        }
    }
    if (verb == "key") {
        e->action = HostAction::Key;
        static const char* const KEYS[] = {"up", "down", "left", "right", "enter", "escape"};
        if (w.size() == 2)
            for (const char* key : KEYS)
                if (w[1] == key)
                    return e->text = key, true;
        return *why = "'key' needs one of up, down, left, right, enter, escape", false;
    }
    if (verb == "screenshot") {
        e->action = HostAction::Screenshot;
        if (w.size() != 2)
            return *why = "'screenshot' needs a file name", false;
        e->text = w[1];
        return true;
    }
    if (verb == "dialog") {
        e->action = HostAction::Dialog;
        if (w.size() < 3 || (w[1] != "configure" && w[1] != "about"))
            return *why = "'dialog' needs configure or about, then a step", false;
        e->dialog = w[1];
        const std::string& step = w[2];
        if (step == "read" || step == "escape" || step == "close") {
            e->step = step == "read"     ? HostDialogStep::Read
                      : step == "escape" ? HostDialogStep::Escape
                                         : HostDialogStep::Close;
            if (w.size() != 3)
                return *why = "unexpected '" + w[3] + "'", false;
            return true;
        }
        if (w.size() < 4 || !ParseId(w[3], &e->id))
            return *why = "'dialog " + w[1] + " " + step + "' needs a control id", false;
        if (step == "click" && w.size() == 4) {
            e->step = HostDialogStep::Click;
            return true;
        }
        if (step == "check" && w.size() == 5 && (w[4] == "0" || w[4] == "1")) {
            e->step = HostDialogStep::Check;
            e->high = w[4] == "1";
            return true;
        }
        if (step == "set") {
            e->step = HostDialogStep::Set;
            for (size_t i = 4; i < w.size(); ++i)
                e->text += (i > 4 ? " " : "") + w[i];
            return true;
        }
        return *why = "cannot read the dialog step '" + step + "'", false;
    }
    return *why = "unknown action '" + verb + "'", false;
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
        std::istringstream in(line);
        std::vector<std::string> w;
        for (std::string word; in >> word;)
            w.push_back(word);
        if (w.empty())
            continue;
        const std::string& keyword = w[0];
        if (keyword == "scenario" && w.size() == 2) {
            HostFlight probe;
            if (!HostFlight_Start(&probe, w[1]))
                return fail("unknown scenario '" + w[1] +
                            "' (known: " + HostFlight_ScenarioNames() + ")");
            script->scenario = w[1];
        } else if (keyword == "seconds" && w.size() == 2) {
            if (!ParseNumber(w[1], &script->seconds) || script->seconds <= 0)
                return fail("seconds needs a positive number");
        } else if (keyword == "no-main-window" && w.size() == 1) {
            script->mainWindow = false;
        } else if (keyword == "clear-settings" && w.size() == 1) {
            script->clearSettings = true;
        } else if (keyword == "setting" && w.size() == 3) {
            script->settings.push_back({w[1], w[2]});
        } else if (keyword == "at") {
            HostScriptEvent event;
            event.action = HostAction::Quit;
            if (w.size() < 2 || !ParseNumber(w[1], &event.atS) || event.atS < 0)
                return fail("'at' needs a time in seconds");
            std::string why;
            if (!ParseEvent(std::vector<std::string>(w.begin() + 2, w.end()), &event, &why))
                return fail(why);
            script->events.push_back(event);
        } else {
            return fail("cannot read '" + keyword + (w.size() > 1 ? " " + w[1] : "") + "'");
        }
    }
    std::stable_sort(
        script->events.begin(), script->events.end(),
        [](const HostScriptEvent& x, const HostScriptEvent& y) { return x.atS < y.atS; });
    return true;
}
