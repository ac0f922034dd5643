// ui/hooks_win32.cpp
// The two thread-local hooks on the host's UI thread. Both hand each message
// to Menu_FilterMessage; a module command it handled becomes WM_NULL for no
// window, so the host never sees the module's command ids.
#include "ui.h"

#include "../module/module_win32.h"

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
    if (Menu_FilterMessage(queued->hwnd, queued->message, queued->wParam, queued->lParam)) {
        queued->hwnd = nullptr;
        queued->message = WM_NULL;
        return 0;
    }
    return CallNextHookEx(g_getMessageHook, code, wParam, lParam);
}
