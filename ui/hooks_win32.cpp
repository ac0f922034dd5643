// ui/hooks_win32.cpp
// The two thread-local hooks on the host's UI thread, and their handles:
// the layer that installs them owns them. Both hand each message to
// Menu_FilterMessage; a module command it handled becomes WM_NULL for no
// window, so the host never sees the module's command ids.
#include "ui.h"

static HHOOK g_callWndProcHook = nullptr; // WH_CALLWNDPROC, null when not installed
static HHOOK g_getMessageHook = nullptr;  // WH_GETMESSAGE, null when not installed

int32_t Hook_Install(DWORD threadId) {
    HINSTANCE executable = GetModuleHandleA(nullptr);
    g_callWndProcHook = SetWindowsHookExA(WH_CALLWNDPROC, Hook_CallWndProc, executable, threadId);
    g_getMessageHook = SetWindowsHookExA(WH_GETMESSAGE, Hook_GetMessage, executable, threadId);
    return (g_callWndProcHook == nullptr ? 1 : 0) + (g_getMessageHook == nullptr ? 1 : 0);
}

void Hook_Remove(void) {
    if (g_callWndProcHook != nullptr)
        UnhookWindowsHookEx(g_callWndProcHook);
    if (g_getMessageHook != nullptr)
        UnhookWindowsHookEx(g_getMessageHook);
    g_callWndProcHook = nullptr;
    g_getMessageHook = nullptr;
}

LRESULT CALLBACK Hook_CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION)
        return CallNextHookEx(g_callWndProcHook, code, wParam, lParam);
    CWPSTRUCT* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (Menu_FilterMessage(sent->hwnd, sent->message, sent->wParam, sent->lParam)) {
        sent->hwnd = nullptr;
        sent->message = WM_NULL;
        return 0;
    }
    return CallNextHookEx(g_callWndProcHook, code, wParam, lParam);
}

LRESULT CALLBACK Hook_GetMessage(int code, WPARAM wParam, LPARAM lParam) {
    // A message only peeked at stays in the queue and is filtered when it is
    // removed.
    if (code != HC_ACTION || wParam != PM_REMOVE)
        return CallNextHookEx(g_getMessageHook, code, wParam, lParam);
    MSG* queued = reinterpret_cast<MSG*>(lParam);
    // The module's dialogs have no loop of their own to give them their keys.
    if (Dialog_TranslateMessage(queued) ||
        Menu_FilterMessage(queued->hwnd, queued->message, queued->wParam, queued->lParam)) {
        queued->hwnd = nullptr;
        queued->message = WM_NULL;
        return 0;
    }
    return CallNextHookEx(g_getMessageHook, code, wParam, lParam);
}
