// ui/dialogs_win32.cpp
// The configuration and About dialogs, modal on the host's UI thread. The
// configuration dialog reads the settings when it opens and writes them at
// OK, so Cancel needs no undo.
#include "ui.h"

#include "../module/module_win32.h"

#include <cstdio>

enum { FIELD_TEXT_SIZE = 32 };

void ConfigDialog_Show(HWND owner) {
    DialogBoxParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_CONFIGURE), owner, ConfigDialog_Proc, 0);
}

void AboutDialog_Show(HWND owner) {
    DialogBoxParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialog_Proc, 0);
}

static void ShowNumber(HWND dialog, int control, int32_t value) {
    char text[FIELD_TEXT_SIZE];
    snprintf(text, sizeof text, "%d", static_cast<int>(value));
    SetDlgItemTextA(dialog, control, text);
}

static int32_t ReadNumber(HWND dialog, int control) {
    char text[FIELD_TEXT_SIZE] = "";
    GetDlgItemTextA(dialog, control, text, sizeof text);
    return Settings_ParseInteger(text);
}

int32_t ConfigDialog_OnInit(HWND dialog) {
    ShowNumber(dialog, IDC_DURATION, Settings_Get(g_flyBySettings.FlyByDuration));
    ShowNumber(dialog, IDC_REL_ALTITUDE, Settings_Get(g_flyBySettings.FlyByRelAltitude));
    ShowNumber(dialog, IDC_MIN_DISTANCE, Settings_Get(g_flyBySettings.FlyByMinDistance));
    const int32_t placement = Settings_Get(g_flyBySettings.FlyByCameraPlacement);
    CheckDlgButton(dialog, IDC_PLACE_RIGHT, placement == 0 ? 1 : 0);
    CheckDlgButton(dialog, IDC_PLACE_LEFT, placement == 1 ? 1 : 0);
    CheckDlgButton(dialog, IDC_PLACE_RANDOM, placement == 2 ? 1 : 0);
    CheckDlgButton(dialog, IDC_TRAVELLING,
                   static_cast<UINT>(Settings_Get(g_flyBySettings.FlyByTravelling)));
    return 1; // the focus goes to the duration box
}

int32_t ConfigDialog_OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK: {
        Settings_Set(g_flyBySettings.FlyByDuration, ReadNumber(dialog, IDC_DURATION));
        Settings_Set(g_flyBySettings.FlyByRelAltitude, ReadNumber(dialog, IDC_REL_ALTITUDE));
        const int32_t minDistance = ReadNumber(dialog, IDC_MIN_DISTANCE);
        // INT32_MIN has no positive counterpart and stays as it is.
        Settings_Set(g_flyBySettings.FlyByMinDistance,
                     minDistance < 0 && minDistance != INT32_MIN ? -minDistance : minDistance);
        if (IsDlgButtonChecked(dialog, IDC_PLACE_RIGHT))
            Settings_Set(g_flyBySettings.FlyByCameraPlacement, 0);
        if (IsDlgButtonChecked(dialog, IDC_PLACE_LEFT))
            Settings_Set(g_flyBySettings.FlyByCameraPlacement, 1);
        if (IsDlgButtonChecked(dialog, IDC_PLACE_RANDOM))
            Settings_Set(g_flyBySettings.FlyByCameraPlacement, 2);
        Settings_Set(g_flyBySettings.FlyByTravelling,
                     IsDlgButtonChecked(dialog, IDC_TRAVELLING) ? 1 : 0);
        EndDialog(dialog, 1);
        break;
    }
    case IDCANCEL: // Cancel, Escape and the caption's close box
        EndDialog(dialog, 0);
        break;
    default:
        break;
    }
    return 1;
}

INT_PTR CALLBACK ConfigDialog_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return ConfigDialog_OnInit(dialog);
    if (message == WM_COMMAND)
        return ConfigDialog_OnCommand(dialog, wParam);
    return 0;
}

INT_PTR CALLBACK AboutDialog_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return 1;
    if (message == WM_COMMAND) {
        // Escape and the close box (IDCANCEL) close the box as Close does:
        // a box that ignores them looks hung.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 1);
        return 1;
    }
    return 0;
}
