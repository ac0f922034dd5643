// ui/menu_win32.cpp
// The "&Skorvan" pop-up in the host's menu bar and the filter that both
// hooks apply: it builds the pop-up when the host's menu opens and handles
// the pop-up's three commands, which the host itself never sees; and the
// closing of the module's windows and pop-up before it unloads.
#include "ui.h"

#include "../module/module_win32.h"

HMENU g_modulePopup = nullptr;
HMENU g_hostSubMenu = nullptr;

enum { HOST_MENU_FOR_MODULE = 3 }; // the fourth top-level menu

void Menu_Build(void) {
    // The host restores its own menu bar between menu sessions, so nothing
    // appended earlier is looked for or removed here.
    g_modulePopup = CreatePopupMenu();
    const bool active = Settings_Get(g_flyBySettings.FlyByActive) != 0;
    AppendMenuA(g_modulePopup, active ? MF_CHECKED : MF_STRING, IDM_FLYBY_ACTIVATE,
                "Activate Fly-by");
    AppendMenuA(g_modulePopup, MF_STRING, IDM_FLYBY_CONFIGURE, "Configure...");
    AppendMenuA(g_modulePopup, MF_SEPARATOR, 0, "");
    AppendMenuA(g_modulePopup, MF_STRING, IDM_FLYBY_ABOUT, "About...");

    g_hostSubMenu = GetSubMenu(GetMenu(g_mainWindow), HOST_MENU_FOR_MODULE);
    AppendMenuA(g_hostSubMenu, MF_SEPARATOR, 0, "");
    AppendMenuA(g_hostSubMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(g_modulePopup), "&Skorvan");
}

void Menu_Remove(void) {
    // A menu session on this thread (the one the host's window lives on)
    // showing the pop-up ends first; its loop is the host's and ends when
    // control returns there.
    const bool uiThread = g_mainWindow != nullptr &&
                          GetWindowThreadProcessId(g_mainWindow, nullptr) == GetCurrentThreadId();
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    const bool inMenu = uiThread && GetGUIThreadInfo(GetCurrentThreadId(), &gui) &&
                        (gui.flags & GUI_INMENUMODE) != 0;
    if (inMenu)
        EndMenu();
    if (g_hostSubMenu != nullptr && g_modulePopup != nullptr && IsMenu(g_hostSubMenu)) {
        for (int i = GetMenuItemCount(g_hostSubMenu) - 1; i >= 0; --i) {
            if (GetSubMenu(g_hostSubMenu, i) != g_modulePopup)
                continue;
            RemoveMenu(g_hostSubMenu, static_cast<UINT>(i), MF_BYPOSITION);
            // and the separator appended with it
            if (i > 0 && (GetMenuState(g_hostSubMenu, static_cast<UINT>(i - 1), MF_BYPOSITION) &
                          MF_SEPARATOR) != 0)
                RemoveMenu(g_hostSubMenu, static_cast<UINT>(i - 1), MF_BYPOSITION);
            break;
        }
    }
    // A menu still on the screen is left to its session to drop; destroying
    // it under the session's feet is not safe.
    if (!inMenu && g_modulePopup != nullptr && IsMenu(g_modulePopup))
        DestroyMenu(g_modulePopup);
    g_modulePopup = nullptr;
    g_hostSubMenu = nullptr;
}

void Ui_CloseAll(void) {
    Dialog_CloseAll();
    Menu_Remove();
}

int32_t Menu_FilterMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
    // A null main window (not found at start-up) must match nothing.
    if (window == nullptr || window != g_mainWindow)
        return 0;
    if (message == WM_INITMENU) {
        Menu_Build();
        return 0;
    }
    if (message != WM_COMMAND)
        return 0;
    switch (LOWORD(wParam)) {
    case IDM_FLYBY_ACTIVATE:
        Settings_Set(g_flyBySettings.FlyByActive,
                     Settings_Toggled(Settings_Get(g_flyBySettings.FlyByActive)));
        return 1;
    case IDM_FLYBY_CONFIGURE:
        ConfigDialog_Show(window);
        return 1;
    case IDM_FLYBY_ABOUT:
        AboutDialog_Show(window);
        return 1;
    default:
        return 0;
    }
}
