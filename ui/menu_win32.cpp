// ui/menu_win32.cpp
// The "&Skorvan" pop-up in the host's menu bar and the filter that both
// hooks apply: it builds the pop-up when the host's menu opens and handles
// the pop-up's three commands, which the host itself never sees.
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
