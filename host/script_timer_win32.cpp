// host/script_timer_win32.cpp
// The host's clock work every 10 ms: move the aircraft (it stands still
// while paused), publish it to the function table, run the script's due
// events, write the log and look at the camera.
#include "host_win32.h"

static const HostScript* g_script = nullptr;
static HostFlight g_flight;
static size_t g_nextEvent = 0;
static bool g_paused = false, g_quitting = false;
static int64_t g_lastMs = 0, g_nextAircraftLogMs = 0;

static WPARAM CommandWord(const HostScriptEvent& event) {
    return MAKEWPARAM(static_cast<WORD>(event.id), static_cast<WORD>(event.high));
}

static void PostKey(const std::string& name) {
    static const struct {
        const char* name;
        WPARAM key;
    } KEYS[] = {{"up", VK_UP},       {"down", VK_DOWN},    {"left", VK_LEFT},
                {"right", VK_RIGHT}, {"enter", VK_RETURN}, {"escape", VK_ESCAPE}};
    for (const auto& k : KEYS)
        if (name == k.name)
            PostMessageA(GetFocus() ? GetFocus() : g_mainWindow, WM_KEYDOWN, k.key, 1);
}

static void Quit() {
    if (!g_quitting) {
        g_quitting = true;
        PostQuitMessage(0);
    }
}

static void RunEvent(const HostScriptEvent& event) {
    switch (event.action) {
    case HostAction::Pause:
        g_paused = true;
        HostLog_Line("pause");
        HostLog_Say("simulation paused");
        break;
    case HostAction::Resume:
        g_paused = false;
        HostLog_Line("resume");
        HostLog_Say("simulation resumed");
        break;
    case HostAction::Unload:
        HostModule_Unload();
        break;
    case HostAction::Load:
        HostModule_Load();
        break;
    case HostAction::Quit:
        Quit();
        break;
    case HostAction::Command:
        HostLog_Line("post-command,%d,%d", event.id, event.high);
        PostMessageA(g_mainWindow, WM_COMMAND, CommandWord(event), 0);
        break;
    case HostAction::SendCommand: {
        HostLog_Line("send-command,%d,%d", event.id, event.high);
        const LRESULT result = SendMessageA(g_mainWindow, WM_COMMAND, CommandWord(event), 0);
        HostLog_Line("sent,%d,%ld", event.id, static_cast<long>(result));
        break;
    }
    case HostAction::OtherCommand:
        HostLog_Line("post-other-command,%d", event.id);
        PostMessageA(g_otherWindow, WM_COMMAND, CommandWord(event), 0);
        break;
    case HostAction::PeekCommand: {
        PostMessageA(g_mainWindow, WM_COMMAND, CommandWord(event), 0);
        MSG peeked = {};
        if (PeekMessageA(&peeked, g_mainWindow, WM_COMMAND, WM_COMMAND, PM_NOREMOVE))
            HostLog_Line("peeked,0x%X,%u,%d", peeked.message,
                         static_cast<unsigned>(LOWORD(peeked.wParam)),
                         peeked.hwnd == g_mainWindow ? 1 : 0);
        else
            HostLog_Line("peeked,none");
        break;
    }
    case HostAction::InitMenu:
        SendMessageA(g_mainWindow, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(g_mainWindow)), 0);
        break;
    case HostAction::Menu:
        HostWindow_LogMenu(GetSubMenu(GetMenu(g_mainWindow), 3), "");
        break;
    case HostAction::OpenMenu:
        SetForegroundWindow(g_mainWindow);
        PostMessageA(g_mainWindow, WM_SYSCOMMAND, SC_KEYMENU, 'v');
        break;
    case HostAction::Key:
        PostKey(event.text);
        break;
    case HostAction::Dialog:
        HostDialog_Step(event);
        break;
    case HostAction::Screenshot:
        HostScreen_Save(event.text);
        break;
    case HostAction::Memory:
        HostMemory_Log(-1);
        break;
    case HostAction::Clock:
        g_flight.clockS = event.value;
        HostTable_Publish(&g_flight);
        HostLog_Line("clock,%.3f", event.value);
        break;
    case HostAction::Cycle:
        HostModule_Cycle(event.id);
        break;
    }
}

// Runs also inside the module's menus and modal dialogs, which run their
// own message loops.
static void CALLBACK HostTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const int64_t now = HostLog_NowMs();
    if (!g_paused)
        HostFlight_Advance(&g_flight, static_cast<double>(now - g_lastMs) / 1000.0);
    g_lastMs = now;
    HostTable_Publish(&g_flight);
    if (now >= g_nextAircraftLogMs) {
        HostLog_Line("aircraft,%.9f,%.9f,%.2f,%.3f,%.3f", g_flight.latitudeDeg,
                     g_flight.longitudeDeg, g_flight.altitudeM * 3.28084, g_flight.headingDeg,
                     g_flight.clockS);
        g_nextAircraftLogMs = now + 1000;
    }
    // An event may open a modal dialog and so run this procedure again
    // before it returns; the index moves on first.
    while (g_nextEvent < g_script->events.size() &&
           g_script->events[g_nextEvent].atS * 1000.0 <= static_cast<double>(now))
        RunEvent(g_script->events[g_nextEvent++]);
    HostLog_Drain();
    HostCamera_Poll(&g_flight);
    if (static_cast<double>(now) >= g_script->seconds * 1000.0)
        Quit();
}

UINT_PTR HostTimer_Start(const HostScript* script, const HostFlight* start) {
    g_script = script;
    g_flight = *start;
    g_lastMs = HostLog_NowMs();
    return SetTimer(nullptr, 0, 10, HostTimerProc);
}
