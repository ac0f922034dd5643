// host/host_main_win32.cpp
// The stand-in simulator: a Windows program that gives Skorvan.dll what the
// real simulator gives it (the "FS98MAIN" window and menu bar, the camera
// memory at its fixed addresses, a function table whose entry 40 refreshes
// variables from a small flight model, a clock that stops while paused),
// loads and unloads it, and logs what the module does as CSV.
#include "host.h"

#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

// ---- What the host knows of the module's records ---------------------------

#pragma pack(push, 4)
struct ModuleVariable { // the 32-byte variable record; value at offset 12
    uint32_t tokenId;
    uint8_t hostOwned[8];
    double value;
    uint8_t hostOwnedTail[12];
};
#pragma pack(pop)
static_assert(sizeof(ModuleVariable) == 32, "variable records are 32 bytes");

struct ModuleImport { // one ImportTable entry: id, then where the table goes
    uint32_t id;
    void* const* functionTable;
};

static const uintptr_t CAMERA_REGION = 0x20A40000; // allocation granularity below 0x20A43D50
static const uintptr_t CAMERA_WORDS = 0x20A43D50;
static const char* const SETTINGS_KEY =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0\\Skorvan";

// ---- Host-wide state ----------------------------------------------------------

// Events raised on the module's threads (entry calls) wait in a ring until
// the UI thread writes them: a thread the module terminates must never die
// holding a lock or a FILE that the host needs afterwards.
struct RingEvent {
    int64_t tMs;
    uint32_t kind; // 0 refresh, otherwise the entry number
    uint32_t token;
    int32_t argument;
    double value;
};
enum { RING_SIZE = 1 << 16, SNAPSHOT_COUNT = 64 };

static RingEvent g_ring[RING_SIZE];
static std::atomic<uint32_t> g_ringWritten{0};
static uint32_t g_ringRead = 0;

// The flight as last published by the UI thread, read by entry 40.
static HostFlight g_snapshots[SNAPSHOT_COUNT];
static std::atomic<uint32_t> g_snapshotIndex{0};

static LARGE_INTEGER g_startCounter, g_counterFrequency;
static FILE* g_log = nullptr;
static bool g_live = false;
static HWND g_mainWindow = nullptr;
static HHOOK g_cbtHook = nullptr;
static HMODULE g_module = nullptr;
static std::string g_dllPath;
static void* g_functionTable[64];
static HostFlight g_flight;

static int64_t NowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (now.QuadPart - g_startCounter.QuadPart) * 1000 / g_counterFrequency.QuadPart;
}

static void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
static void LogLine(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (g_log) {
        fprintf(g_log, "%lld,%s\n", static_cast<long long>(NowMs()), text);
        fflush(g_log);
    }
}

static void RingPush(uint32_t kind, uint32_t token, int32_t argument, double value) {
    const uint32_t index = g_ringWritten.load(std::memory_order_relaxed);
    if (index - g_ringRead >= RING_SIZE) // full: the UI thread has stalled; drop
        return;
    g_ring[index % RING_SIZE] = RingEvent{NowMs(), kind, token, argument, value};
    g_ringWritten.store(index + 1, std::memory_order_release);
}

static void RingDrain() {
    const uint32_t written = g_ringWritten.load(std::memory_order_acquire);
    for (; g_ringRead != written; ++g_ringRead) {
        const RingEvent& e = g_ring[g_ringRead % RING_SIZE];
        if (!g_log)
            continue;
        if (e.kind == 0)
            fprintf(g_log, "%lld,refresh,0x%02X,%.17g\n", static_cast<long long>(e.tMs), e.token,
                    e.value);
        else
            fprintf(g_log, "%lld,entry,%u,%u,%d\n", static_cast<long long>(e.tMs), e.kind, e.token,
                    e.argument);
    }
    if (g_log)
        fflush(g_log);
}

static void PublishFlight() {
    const uint32_t next = g_snapshotIndex.load(std::memory_order_relaxed) + 1;
    g_snapshots[next % SNAPSHOT_COUNT] = g_flight;
    g_snapshotIndex.store(next, std::memory_order_release);
}

// A line for a person watching (--live).
static void Say(const char* text) {
    if (g_live) {
        printf("%7.2f s  %s\n", NowMs() / 1000.0, text);
        fflush(stdout);
    }
}

// ---- The function table -------------------------------------------------------

static void __stdcall Entry40_Refresh(ModuleVariable* variable) {
    const uint32_t index = g_snapshotIndex.load(std::memory_order_acquire);
    const HostFlight flight = g_snapshots[index % SNAPSHOT_COUNT];
    variable->value = HostFlight_Value(&flight, variable->tokenId);
    RingPush(0, variable->tokenId, 0, variable->value);
}

template <int ENTRY> static int32_t __stdcall EntryWithId(uint32_t identifier) {
    RingPush(ENTRY, identifier, 0, 0.0);
    return 0;
}

template <int ENTRY>
static int32_t __stdcall EntryWithIdArg(uint32_t identifier, int32_t argument) {
    RingPush(ENTRY, identifier, argument, 0.0);
    return 0;
}

static void BuildFunctionTable() {
    g_functionTable[24] = reinterpret_cast<void*>(EntryWithId<24>);
    g_functionTable[25] = reinterpret_cast<void*>(EntryWithIdArg<25>);
    g_functionTable[26] = reinterpret_cast<void*>(EntryWithId<26>);
    g_functionTable[27] = reinterpret_cast<void*>(EntryWithId<27>);
    g_functionTable[28] = reinterpret_cast<void*>(EntryWithIdArg<28>);
    g_functionTable[29] = reinterpret_cast<void*>(EntryWithId<29>);
    g_functionTable[31] = reinterpret_cast<void*>(EntryWithId<31>);
    g_functionTable[40] = reinterpret_cast<void*>(Entry40_Refresh);
}

// ---- Camera memory --------------------------------------------------------------

static volatile uint8_t* g_camera = nullptr;
static HostCameraWords g_lastCamera{};

static HostCameraWords ReadCameraWords() {
    HostCameraWords w;
    w.latitudeFraction = *reinterpret_cast<volatile uint32_t*>(g_camera + 0x0);
    w.latitudeWhole = *reinterpret_cast<volatile int32_t*>(g_camera + 0x4);
    w.longitudeFraction = *reinterpret_cast<volatile uint32_t*>(g_camera + 0x8);
    w.longitudeWhole = *reinterpret_cast<volatile int32_t*>(g_camera + 0xC);
    w.altitudeM = *reinterpret_cast<volatile int16_t*>(g_camera + 0x14);
    return w;
}

static bool SameWords(const HostCameraWords& a, const HostCameraWords& b) {
    return a.latitudeFraction == b.latitudeFraction && a.latitudeWhole == b.latitudeWhole &&
           a.longitudeFraction == b.longitudeFraction && a.longitudeWhole == b.longitudeWhole &&
           a.altitudeM == b.altitudeM;
}

// Where the camera stands from the aircraft: metres ahead along the
// heading, metres to the right, on a local flat earth.
static void CameraFromAircraft(double cameraLat, double cameraLon, double* ahead, double* right) {
    const double metresPerDegree = 6367310.0 * 3.141592653589793 / 180.0;
    double dLon = cameraLon - g_flight.longitudeDeg;
    dLon = fmod(dLon + 540.0, 360.0) - 180.0;
    const double north = (cameraLat - g_flight.latitudeDeg) * metresPerDegree;
    const double east =
        dLon * metresPerDegree * cos(g_flight.latitudeDeg * 3.141592653589793 / 180.0);
    const double h = g_flight.headingDeg * 3.141592653589793 / 180.0;
    *ahead = north * cos(h) + east * sin(h);
    *right = east * cos(h) - north * sin(h);
}

static void PollCamera() {
    HostCameraWords words = ReadCameraWords();
    if (SameWords(words, g_lastCamera))
        return;
    // The module writes the five words one after another: wait until they
    // hold still so that a half-written point is not logged.
    for (int i = 0; i < 20; ++i) {
        Sleep(1);
        HostCameraWords again = ReadCameraWords();
        if (SameWords(again, words))
            break;
        words = again;
    }
    g_lastCamera = words;
    double lat, lon, altFt;
    HostCamera_Decode(&words, &lat, &lon, &altFt);
    LogLine("camera,%u,%d,%u,%d,%d,%.9f,%.9f,%.2f", words.latitudeFraction, words.latitudeWhole,
            words.longitudeFraction, words.longitudeWhole, words.altitudeM, lat, lon, altFt);
    if (g_live) {
        double ahead, right;
        CameraFromAircraft(lat, lon, &ahead, &right);
        printf("%7.2f s  aircraft %.5f %.5f %5.0f ft hdg %3.0f  camera %.5f %.5f %5.0f ft  "
               "%6.0f m ahead, %5.0f m %s\n",
               NowMs() / 1000.0, g_flight.latitudeDeg, g_flight.longitudeDeg,
               g_flight.altitudeM * 3.28084, g_flight.headingDeg, lat, lon, altFt, ahead,
               fabs(right), right >= 0 ? "right" : "left");
        fflush(stdout);
    }
}

// ---- Message boxes ------------------------------------------------------------------

// Records each message box the module shows and presses its OK button, so
// that a headless run never blocks.
static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        char className[32] = "", caption[128] = "", text[256] = "";
        GetClassNameA(box, className, sizeof className);
        GetWindowTextA(box, caption, sizeof caption);
        HWND textControl = GetDlgItem(box, 0xFFFF);
        if (strcmp(className, "#32770") == 0 && textControl != nullptr &&
            strncmp(caption, "Skorvan", 7) != 0 && strncmp(caption, "About Skorvan", 13) != 0) {
            GetWindowTextA(textControl, text, sizeof text);
            LogLine("msgbox,%s", text);
            if (g_live)
                printf("%7.2f s  message box: %s\n", NowMs() / 1000.0, text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

// ---- Main window and menus --------------------------------------------------------

static HMENU BuildMenuBar() {
    static const char* const TITLES[6] = {"&Flights", "&World",   "&Aircraft",
                                          "&Views",   "&Options", "&Help"};
    HMENU bar = CreateMenu();
    for (int i = 0; i < 6; ++i) {
        HMENU popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, 1000 + i * 10, "Item one");
        AppendMenuA(popup, MF_STRING, 1001 + i * 10, "Item two");
        AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), TITLES[i]);
    }
    return bar;
}

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        LogLine("command,%u,%u", static_cast<unsigned>(LOWORD(wParam)),
                static_cast<unsigned>(HIWORD(wParam)));
        return 0;
    case WM_EXITMENULOOP: {
        // Like the simulator: a fresh menu bar after every menu session, so
        // whatever a module appended does not pile up.
        HMENU old = GetMenu(window);
        SetMenu(window, BuildMenuBar());
        DestroyMenu(old);
        return 0;
    }
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Registers a window class of its own for a window and creates it.
static HWND CreateHostWindow(HINSTANCE instance, const char* className, WNDPROC procedure,
                             const char* title, DWORD style, int width, int height, HMENU menu) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    if (!RegisterClassA(&windowClass))
        return nullptr;
    return CreateWindowA(className, title, style, 0, 0, width, height, nullptr, menu, instance,
                         nullptr);
}

static bool CreateMainWindow(HINSTANCE instance) {
    g_mainWindow = CreateHostWindow(instance, "FS98MAIN", MainWindowProc, "Stand-in simulator",
                                    WS_OVERLAPPEDWINDOW, 640, 480, BuildMenuBar());
    if (g_mainWindow)
        ShowWindow(g_mainWindow, SW_SHOWNORMAL);
    return g_mainWindow != nullptr;
}

// ---- The second window ----------------------------------------------------------

// A window of the host's that is not the main window: module commands
// addressed to it must reach it untouched.
static HWND g_otherWindow = nullptr;

static LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        LogLine("other-command,%u,%u", static_cast<unsigned>(LOWORD(wParam)),
                static_cast<unsigned>(HIWORD(wParam)));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static void CreateOtherWindow(HINSTANCE instance) {
    g_otherWindow = CreateHostWindow(instance, "SkorvanHostOther", OtherWindowProc, "Other",
                                     WS_OVERLAPPED, 100, 100, nullptr);
}

// ---- Looking at menus and dialogs ----------------------------------------------------

static void LogMenu(HMENU menu, const std::string& prefix) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        std::string flags;
        if (state & MF_SEPARATOR)
            flags += "+separator";
        if (state & MF_POPUP)
            flags += "+popup";
        if (state & MF_CHECKED)
            flags += "+checked";
        const std::string position = prefix + std::to_string(i);
        LogLine("menu,%s,%s,%s", position.c_str(), text, flags.empty() ? "-" : flags.c_str() + 1);
        if (state & MF_POPUP)
            LogMenu(GetSubMenu(menu, i), position + ".");
    }
}

static const char* DialogCaption(const std::string& name) {
    return name == "about" ? "About Skorvan..." : "Skorvan Configuration";
}

static std::string ControlText(HWND dialog, int id) {
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    for (char* c = text; *c; ++c)
        if (*c == '\n' || *c == '\r' || *c == ',')
            *c = '|';
    return text;
}

static void DialogStep(const HostScriptEvent& event) {
    HWND dialog = FindWindowA("#32770", DialogCaption(event.dialog));
    if (dialog == nullptr) {
        LogLine("dialog,%s,missing", event.dialog.c_str());
        return;
    }
    HWND control = GetDlgItem(dialog, event.id);
    switch (event.step) {
    case HostDialogStep::Read:
        if (event.dialog == "about") {
            HWND field = GetDlgItem(dialog, 1003);
            LogLine("dialog,about,%s,%s,%d", ControlText(dialog, 0xFFFF).c_str(),
                    ControlText(dialog, 1003).c_str(),
                    field && (GetWindowLongA(field, GWL_STYLE) & ES_READONLY) ? 1 : 0);
        } else {
            LogLine("dialog,configure,%s,%s,%s,%u,%u,%u,%u", ControlText(dialog, 1000).c_str(),
                    ControlText(dialog, 1001).c_str(), ControlText(dialog, 1006).c_str(),
                    IsDlgButtonChecked(dialog, 1002), IsDlgButtonChecked(dialog, 1003),
                    IsDlgButtonChecked(dialog, 1004), IsDlgButtonChecked(dialog, 1005));
        }
        break;
    case HostDialogStep::Set:
        SetDlgItemTextA(dialog, event.id, event.text.c_str());
        break;
    case HostDialogStep::Check:
        // A click, as a user would: radio buttons clear their group.
        if (control && (IsDlgButtonChecked(dialog, event.id) != 0) != (event.high != 0))
            SendMessageA(control, BM_CLICK, 0, 0);
        break;
    case HostDialogStep::Click:
        if (control)
            SendMessageA(control, BM_CLICK, 0, 0);
        break;
    case HostDialogStep::Escape: {
        HWND focus = GetFocus();
        PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        break;
    }
    case HostDialogStep::Close:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

// The whole screen as a 24-bit BMP, for the user guide's pictures.
static void SaveScreenshot(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (width * 3 + 3) & ~3u, imageBytes = rowBytes * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    if (FILE* out = fopen(path.c_str(), "wb")) {
        fwrite(&file, sizeof file, 1, out);
        fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        fwrite(bits, imageBytes, 1, out);
        fclose(out);
        LogLine("screenshot,%s", path.c_str());
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// ---- The module --------------------------------------------------------------------

static void LoadModule() {
    if (g_module)
        return;
    g_module = LoadLibraryA(g_dllPath.c_str());
    if (!g_module) {
        LogLine("load,%s,failed %lu", g_dllPath.c_str(), GetLastError());
        return;
    }
    LogLine("load,%s,ok", g_dllPath.c_str());
    Say("Skorvan.dll loaded; the fly-by starts about 5 s from now");
    auto* imports = reinterpret_cast<ModuleImport*>(GetProcAddress(g_module, "ImportTable"));
    if (imports && imports[0].id == 0x0F) {
        imports[0].functionTable = g_functionTable;
        LogLine("imports,ok");
    } else {
        LogLine("imports,missing");
    }
}

static void UnloadModule() {
    if (!g_module)
        return;
    FreeLibrary(g_module);
    g_module = nullptr;
    LogLine("unload");
    Say("Skorvan.dll unloaded");
}

static void PrepareSettings(const HostScript& script) {
    if (script.clearSettings)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    for (const HostSetting& setting : script.settings) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        RegSetValueExA(key, setting.name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(setting.text.c_str()),
                       static_cast<DWORD>(setting.text.size() + 1));
        RegCloseKey(key);
        LogLine("setting,%s,%s", setting.name.c_str(), setting.text.c_str());
    }
}

// ---- The host's clock work ------------------------------------------------------

static const HostScript* g_script = nullptr;
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

static void RunEvent(const HostScriptEvent& event) {
    switch (event.action) {
    case HostAction::Pause:
        g_paused = true;
        LogLine("pause");
        Say("simulation paused");
        break;
    case HostAction::Resume:
        g_paused = false;
        LogLine("resume");
        Say("simulation resumed");
        break;
    case HostAction::Unload:
        UnloadModule();
        break;
    case HostAction::Load:
        LoadModule();
        break;
    case HostAction::Quit:
        if (!g_quitting) {
            g_quitting = true;
            PostQuitMessage(0);
        }
        break;
    case HostAction::Command:
        LogLine("post-command,%d,%d", event.id, event.high);
        PostMessageA(g_mainWindow, WM_COMMAND, CommandWord(event), 0);
        break;
    case HostAction::SendCommand: {
        LogLine("send-command,%d,%d", event.id, event.high);
        const LRESULT result = SendMessageA(g_mainWindow, WM_COMMAND, CommandWord(event), 0);
        LogLine("sent,%d,%ld", event.id, static_cast<long>(result));
        break;
    }
    case HostAction::OtherCommand:
        LogLine("post-other-command,%d", event.id);
        PostMessageA(g_otherWindow, WM_COMMAND, CommandWord(event), 0);
        break;
    case HostAction::PeekCommand: {
        PostMessageA(g_mainWindow, WM_COMMAND, CommandWord(event), 0);
        MSG peeked = {};
        if (PeekMessageA(&peeked, g_mainWindow, WM_COMMAND, WM_COMMAND, PM_NOREMOVE))
            LogLine("peeked,0x%X,%u,%d", peeked.message,
                    static_cast<unsigned>(LOWORD(peeked.wParam)),
                    peeked.hwnd == g_mainWindow ? 1 : 0);
        else
            LogLine("peeked,none");
        break;
    }
    case HostAction::InitMenu:
        SendMessageA(g_mainWindow, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(g_mainWindow)), 0);
        break;
    case HostAction::Menu:
        LogMenu(GetSubMenu(GetMenu(g_mainWindow), 3), "");
        break;
    case HostAction::OpenMenu:
        SetForegroundWindow(g_mainWindow);
        PostMessageA(g_mainWindow, WM_SYSCOMMAND, SC_KEYMENU, 'v');
        break;
    case HostAction::Key:
        PostKey(event.text);
        break;
    case HostAction::Dialog:
        DialogStep(event);
        break;
    case HostAction::Screenshot:
        SaveScreenshot(event.text);
        break;
    }
}

// Every 10 ms, also inside the module's menus and modal dialogs: move the
// aircraft, run the script's due events, write the log.
static void CALLBACK HostTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    const int64_t now = NowMs();
    if (!g_paused)
        HostFlight_Advance(&g_flight, (now - g_lastMs) / 1000.0);
    g_lastMs = now;
    PublishFlight();
    if (now >= g_nextAircraftLogMs) {
        LogLine("aircraft,%.9f,%.9f,%.2f,%.3f,%.3f", g_flight.latitudeDeg, g_flight.longitudeDeg,
                g_flight.altitudeM * 3.28084, g_flight.headingDeg, g_flight.clockS);
        g_nextAircraftLogMs = now + 1000;
    }
    // An event may open a modal dialog and so run this procedure again
    // before it returns; the index moves on first.
    while (g_nextEvent < g_script->events.size() &&
           g_script->events[g_nextEvent].atS * 1000.0 <= now)
        RunEvent(g_script->events[g_nextEvent++]);
    RingDrain();
    PollCamera();
    if (now >= g_script->seconds * 1000.0 && !g_quitting) {
        g_quitting = true;
        PostQuitMessage(0);
    }
}

// ---- Command line --------------------------------------------------------------------

static const char USAGE[] =
    "usage: skorvan-host [--dll PATH] [--script FILE] [--scenario NAME] [--seconds N]\n"
    "                    [--log FILE] [--live]\n"
    "Runs Skorvan.dll inside a stand-in simulator and logs what it does as CSV.\n";

int main(int argc, char** argv) {
    QueryPerformanceFrequency(&g_counterFrequency);
    QueryPerformanceCounter(&g_startCounter);

    HostScript script;
    std::string logPath, scenario;
    double seconds = -1;
    char exePath[MAX_PATH];
    GetModuleFileNameA(nullptr, exePath, MAX_PATH);
    g_dllPath =
        std::string(exePath, strrchr(exePath, '\\') ? strrchr(exePath, '\\') + 1 : exePath) +
        "Skorvan.dll";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--live") {
            g_live = true;
        } else if (arg == "--dll" && hasValue) {
            g_dllPath = argv[++i];
        } else if (arg == "--log" && hasValue) {
            logPath = argv[++i];
        } else if (arg == "--scenario" && hasValue) {
            scenario = argv[++i];
        } else if (arg == "--seconds" && hasValue) {
            char* end = nullptr;
            seconds = strtod(argv[++i], &end);
            if (*end != '\0' || seconds <= 0) {
                fprintf(stderr, "skorvan-host: --seconds needs a positive number\n");
                return 2;
            }
        } else if (arg == "--script" && hasValue) {
            std::string text, error;
            if (!HostText_ReadFile(argv[++i], &text)) {
                fprintf(stderr, "skorvan-host: cannot read script %s\n", argv[i]);
                return 2;
            }
            if (!HostScript_Parse(text, &script, &error)) {
                fprintf(stderr, "skorvan-host: %s: %s\n", argv[i], error.c_str());
                return 2;
            }
        } else {
            fprintf(stderr, "skorvan-host: unknown or incomplete option %s\n%s", arg.c_str(),
                    USAGE);
            return 2;
        }
    }
    if (!scenario.empty())
        script.scenario = scenario;
    if (seconds > 0)
        script.seconds = seconds;
    if (!HostFlight_Start(&g_flight, script.scenario)) {
        fprintf(stderr, "skorvan-host: unknown scenario '%s' (known: %s)\n",
                script.scenario.c_str(), HostFlight_ScenarioNames());
        return 2;
    }
    if (!logPath.empty() && !(g_log = fopen(logPath.c_str(), "w"))) {
        fprintf(stderr, "skorvan-host: cannot write log %s\n", logPath.c_str());
        return 2;
    }

    g_camera = static_cast<volatile uint8_t*>(VirtualAlloc(
        reinterpret_cast<void*>(CAMERA_REGION), 0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (g_camera == nullptr) {
        fprintf(stderr, "skorvan-host: cannot commit the camera memory at 0x%08X\n",
                static_cast<unsigned>(CAMERA_WORDS));
        return 1;
    }
    g_camera += CAMERA_WORDS - CAMERA_REGION;

    LogLine("start,%s,%.3f", script.scenario.c_str(), script.seconds);
    BuildFunctionTable();
    PublishFlight();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (script.mainWindow && !CreateMainWindow(instance)) {
        fprintf(stderr, "skorvan-host: cannot create the main window\n");
        return 1;
    }
    CreateOtherWindow(instance);
    g_cbtHook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    PrepareSettings(script);
    LoadModule();

    g_script = &script;
    g_lastMs = NowMs();
    // The host's own work runs from a thread timer, so that it goes on while
    // a menu or a modal dialog of the module runs its own message loop.
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, HostTimerProc);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, timer);
    UnloadModule();
    RingDrain();
    LogLine("end");
    if (g_cbtHook)
        UnhookWindowsHookEx(g_cbtHook);
    if (g_log)
        fclose(g_log);
    return 0;
}
