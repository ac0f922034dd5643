// ui/hooks_win32.cpp
// The WH_CALLWNDPROC and WH_GETMESSAGE hook procedures. The menu filter is
// not built yet: for now both hooks pass every message on unchanged.
#include "ui.h"

#include "../module/module_win32.h"

LRESULT CALLBACK Hook_CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(g_callWndProcHook, code, wParam, lParam);
}

LRESULT CALLBACK Hook_GetMessage(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(g_getMessageHook, code, wParam, lParam);
}
