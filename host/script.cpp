// host/script.cpp
// Parses the stand-in simulator's run script: one statement a line, '#'
// starts a comment.
//
//   scenario straight          the flight (straight, turn, climb, parked)
//   seconds 30                 run length
//   no-main-window             do not create the "FS98MAIN" window
//   clear-settings             delete the module's registry key before loading
//   setting FlyByDuration 10   store a setting's text before loading
//   setting-dword FlyByDuration 15   store it as a REG_DWORD instead
//   at T pause|resume|unload|load|quit|init-menu|menu|open-menu
//   at T memory                log the process's memory
//   at T clock SECONDS         set the simulation clock (paused or not)
//   at T cycle N               N loads and unloads back to back, memory logged
//   at T command ID [HIGH]     post WM_COMMAND to the main window
//   at T send-command ID [HIGH]   send it (SendMessage)
//   at T other-command ID      post it to a second window
//   at T peek-command ID       post it and peek at it without removing it
//   at T key up|down|left|right|enter|escape
//   at T dialog configure|about read|escape|close|count
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

// What a reader of one family of actions made of the words.
enum class Parsed { NotMine, Failed, Done };

// The actions that take no argument.
static Parsed ParseSimple(const std::vector<std::string>& w, HostScriptEvent* e, std::string* why) {
    static const struct {
        const char* name;
        HostAction action;
    } SIMPLE[] = {{"pause", HostAction::Pause},   {"resume", HostAction::Resume},
                  {"unload", HostAction::Unload}, {"load", HostAction::Load},
                  {"quit", HostAction::Quit},     {"init-menu", HostAction::InitMenu},
                  {"menu", HostAction::Menu},     {"open-menu", HostAction::OpenMenu},
                  {"memory", HostAction::Memory}};
    for (const auto& s : SIMPLE) {
        if (w[0] == s.name) {
            e->action = s.action;
            if (w.size() > 1)
                return *why = "unexpected '" + w[1] + "'", Parsed::Failed;
            return Parsed::Done;
        }
    }
    return Parsed::NotMine;
}

// command, send-command, other-command, peek-command: an id and an
// optional high word.
static Parsed ParseCommand(const std::vector<std::string>& w, HostScriptEvent* e,
                           std::string* why) {
    static const struct {
        const char* name;
        HostAction action;
    } COMMANDS[] = {{"command", HostAction::Command},
                    {"send-command", HostAction::SendCommand},
                    {"other-command", HostAction::OtherCommand},
                    {"peek-command", HostAction::PeekCommand}};
    for (const auto& c : COMMANDS) {
        if (w[0] == c.name) {
            e->action = c.action;
            if (w.size() < 2 || w.size() > 3 || !ParseId(w[1], &e->id) ||
                (w.size() == 3 && !ParseId(w[2], &e->high)))
                return *why =
                           "'" + w[0] + "' needs an id from 0 to 65535 (and an optional high word)",
                       Parsed::Failed;
            return Parsed::Done;
        }
    }
    return Parsed::NotMine;
}

// The actions with one argument of their own: key, screenshot, clock, cycle.
static bool ParseOneArgument(const std::vector<std::string>& w, HostScriptEvent* e,
                             std::string* why) {
    const std::string& verb = w[0];
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
    if (verb == "clock") {
        e->action = HostAction::Clock;
        if (w.size() != 2 || !ParseNumber(w[1], &e->value) || e->value < 0)
            return *why = "'clock' needs the simulation time in seconds", false;
        return true;
    }
    // cycle
    e->action = HostAction::Cycle;
    if (w.size() != 2 || !ParseId(w[1], &e->id) || e->id == 0)
        return *why = "'cycle' needs a count from 1 to 65535", false;
    return true;
}

// "dialog configure|about STEP ...".
static bool ParseDialog(const std::vector<std::string>& w, HostScriptEvent* e, std::string* why) {
    e->action = HostAction::Dialog;
    if (w.size() < 3 || (w[1] != "configure" && w[1] != "about"))
        return *why = "'dialog' needs configure or about, then a step", false;
    e->dialog = w[1];
    const std::string& step = w[2];
    static const struct {
        const char* name;
        HostDialogStep step;
    } BARE[] = {{"read", HostDialogStep::Read},
                {"escape", HostDialogStep::Escape},
                {"close", HostDialogStep::Close},
                {"count", HostDialogStep::Count}};
    for (const auto& b : BARE) {
        if (step == b.name) {
            e->step = b.step;
            if (w.size() != 3)
                return *why = "unexpected '" + w[3] + "'", false;
            return true;
        }
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

// The words after "at T"; false with the reason in why.
static bool ParseEvent(const std::vector<std::string>& w, HostScriptEvent* e, std::string* why) {
    if (w.empty())
        return *why = "'at' needs an action", false;
    for (auto* family : {ParseSimple, ParseCommand}) {
        const Parsed parsed = family(w, e, why);
        if (parsed != Parsed::NotMine)
            return parsed == Parsed::Done;
    }
    const std::string& verb = w[0];
    if (verb == "key" || verb == "screenshot" || verb == "clock" || verb == "cycle")
        return ParseOneArgument(w, e, why);
    if (verb == "dialog")
        return ParseDialog(w, e, why);
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
            script->settings.push_back({w[1], w[2], false});
        } else if (keyword == "setting-dword" && w.size() == 3) {
            double number = 0;
            if (!ParseNumber(w[2], &number) || number < 0 || number > 4294967295.0 ||
                number != static_cast<double>(static_cast<int64_t>(number)))
                return fail("setting-dword needs a number from 0 to 4294967295");
            script->settings.push_back({w[1], w[2], true});
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
