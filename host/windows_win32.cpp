// host/windows_win32.cpp
// The host's windows: "FS98MAIN" with a menu bar restored after every menu
// session, as the simulator does, and a second window that module commands
// addressed to it must reach untouched; and the logging of a menu's items.
#include "host_win32.h"

HWND g_mainWindow = nullptr;
HWND g_otherWindow = nullptr;

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
        HostLog_Line("command,%u,%u", static_cast<unsigned>(LOWORD(wParam)),
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

static LRESULT CALLBACK OtherWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        HostLog_Line("other-command,%u,%u", static_cast<unsigned>(LOWORD(wParam)),
                     static_cast<unsigned>(HIWORD(wParam)));
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

bool HostWindow_CreateMain(HINSTANCE instance) {
    g_mainWindow = CreateHostWindow(instance, "FS98MAIN", MainWindowProc, "Stand-in simulator",
                                    WS_OVERLAPPEDWINDOW, 640, 480, BuildMenuBar());
    if (g_mainWindow)
        ShowWindow(g_mainWindow, SW_SHOWNORMAL);
    return g_mainWindow != nullptr;
}

void HostWindow_CreateOther(HINSTANCE instance) {
    g_otherWindow = CreateHostWindow(instance, "SkorvanHostOther", OtherWindowProc, "Other",
                                     WS_OVERLAPPED, 100, 100, nullptr);
}

void HostWindow_LogMenu(HMENU menu, const std::string& prefix) {
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
        HostLog_Line("menu,%s,%s,%s", position.c_str(), text,
                     flags.empty() ? "-" : flags.c_str() + 1);
        if (state & MF_POPUP)
            HostWindow_LogMenu(GetSubMenu(menu, i), position + ".");
    }
}
