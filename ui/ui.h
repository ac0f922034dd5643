// ui/ui.h
// The module's user interface on the host's UI thread: the two message hooks
// that start-up installs.
#pragma once

#include <windows.h>

extern "C" {
LRESULT CALLBACK Hook_CallWndProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK Hook_GetMessage(int code, WPARAM wParam, LPARAM lParam);
}
