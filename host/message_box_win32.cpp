// host/message_box_win32.cpp
// Records each message box the module shows and presses its OK button, so
// that a headless run never blocks. The module's own dialogs are left to
// the script.
#include "host_win32.h"

#include <cstring>

static HHOOK g_cbtHook = nullptr;

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
            HostLog_Line("msgbox,%s", text);
            HostLog_Say("message box: %s", text);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

void HostBox_Install() {
    g_cbtHook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
}

void HostBox_Remove() {
    if (g_cbtHook)
        UnhookWindowsHookEx(g_cbtHook);
    g_cbtHook = nullptr;
}
