// ui/dialogs_win32.cpp
// The configuration and About dialogs on the host's UI thread. The
// configuration dialog reads the settings when it opens and writes them at
// OK, so Cancel needs no undo.
//
// Each dialog is modal to the user (its owner is disabled while it is open)
// but runs no message loop of its own: the host's loop drives it, and the
// GetMessage hook gives it its keyboard (Dialog_TranslateMessage). A modal
// loop would leave the module's code on the UI thread's stack for as long
// as the dialog is open, and a host that unloads the module from there
// would return into freed code however the dialog was closed.
#include "ui.h"

#include "../module/module_win32.h"

#include <cstdio>
#include <initializer_list>

enum { FIELD_TEXT_SIZE = 32, CLOSE_TIMEOUT_MS = 2000 };

// The open dialogs (null when closed) and the owner disabled while any is
// open. UI thread only.
static HWND g_configDialog = nullptr;
static HWND g_aboutDialog = nullptr;
static HWND g_disabledOwner = nullptr;

// Opens a dialog, or brings it forward when it is already open: a second
// one would let the outer dialog's OK overwrite what the inner one stored.
static void OpenDialog(HWND* slot, HWND owner, int resource, DLGPROC procedure) {
    if (*slot != nullptr) {
        SetForegroundWindow(*slot);
        return;
    }
    HWND dialog =
        CreateDialogParamA(g_moduleInstance, MAKEINTRESOURCEA(resource), owner, procedure, 0);
    if (dialog == nullptr)
        return;
    *slot = dialog;
    if (owner != nullptr && g_disabledOwner == nullptr && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        g_disabledOwner = owner;
    }
    ShowWindow(dialog, SW_SHOW);
}

// Closes one of the module's dialogs; the result is not used.
static void EndModuleDialog(HWND dialog) {
    if (dialog == g_configDialog)
        g_configDialog = nullptr;
    else if (dialog == g_aboutDialog)
        g_aboutDialog = nullptr;
    else
        return;
    // The owner comes back before the dialog goes, so that it, and not some
    // other program, becomes the active window.
    if (g_configDialog == nullptr && g_aboutDialog == nullptr && g_disabledOwner != nullptr) {
        EnableWindow(g_disabledOwner, TRUE);
        g_disabledOwner = nullptr;
    }
    DestroyWindow(dialog);
}

void ConfigDialog_Show(HWND owner) {
    OpenDialog(&g_configDialog, owner, IDD_CONFIGURE, ConfigDialog_Proc);
}

void AboutDialog_Show(HWND owner) {
    OpenDialog(&g_aboutDialog, owner, IDD_ABOUT, AboutDialog_Proc);
}

int32_t Dialog_TranslateMessage(MSG* message) {
    for (HWND dialog : {g_configDialog, g_aboutDialog}) {
        if (dialog != nullptr && (message->hwnd == dialog || IsChild(dialog, message->hwnd)) &&
            IsDialogMessageA(dialog, message))
            return 1;
    }
    return 0;
}

void Dialog_CloseAll(void) {
    for (HWND dialog : {g_configDialog, g_aboutDialog}) {
        if (dialog == nullptr)
            continue;
        if (GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId()) {
            EndModuleDialog(dialog);
        } else {
            // Only the dialog's own thread may destroy it: ask it to cancel,
            // but never wait long on a thread that may be waiting for us.
            SendMessageTimeoutA(dialog, WM_COMMAND, IDCANCEL, 0, SMTO_ABORTIFHUNG, CLOSE_TIMEOUT_MS,
                                nullptr);
        }
    }
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
        EndModuleDialog(dialog);
        break;
    }
    case IDCANCEL: // Cancel, Escape and the caption's close box
        EndModuleDialog(dialog);
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
            EndModuleDialog(dialog);
        return 1;
    }
    return 0;
}
