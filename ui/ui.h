// ui/ui.h
// The module's user interface on the host's UI thread: the "&Skorvan"
// pop-up in the host's menu bar, the two message hooks that watch for its
// commands, and the configuration and About dialogs. The resource ids are
// shared with ui/skorvan.rc.
#pragma once

// Menu commands
#define IDM_FLYBY_ACTIVATE 30720
#define IDM_FLYBY_CONFIGURE 30721
#define IDM_FLYBY_ABOUT 30722

// Dialogs
#define IDD_CONFIGURE 101
#define IDD_ABOUT 102

// Controls
#define IDC_DURATION 1000
#define IDC_REL_ALTITUDE 1001
#define IDC_PLACE_RIGHT 1002
#define IDC_PLACE_LEFT 1003
#define IDC_PLACE_RANDOM 1004
#define IDC_TRAVELLING 1005
#define IDC_MIN_DISTANCE 1006
#define IDC_ABOUT_FIELD 1003

#ifndef RC_INVOKED

#include <windows.h>

#include <cstdint>

extern "C" {

extern HMENU g_modulePopup; // the pop-up made by the latest Menu_Build
extern HMENU g_hostSubMenu; // the host's menu it was appended to

// Appends a separator and a fresh "&Skorvan" pop-up to the host's fourth
// top-level menu.
void Menu_Build(void);
// 1 when the message was a module command and has been handled (the caller
// must suppress it), 0 when it goes on to the host unchanged.
int32_t Menu_FilterMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Installs both hooks on the given thread of the host's executable;
// returns how many could not be installed (0, 1 or 2). Hook_Remove removes
// those that were.
int32_t Hook_Install(DWORD threadId);
void Hook_Remove(void);
LRESULT CALLBACK Hook_CallWndProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK Hook_GetMessage(int code, WPARAM wParam, LPARAM lParam);

// Dialogs from the module's resources, owned by owner, which is disabled
// while they are open. They return at once; the host's message loop runs
// the dialog. A dialog already open is brought forward instead.
void ConfigDialog_Show(HWND owner);
void AboutDialog_Show(HWND owner);
// Gives an open dialog the keyboard message meant for it (Tab, Enter,
// Escape...); 1 when the dialog took it and the caller must drop it.
int32_t Dialog_TranslateMessage(MSG* message);
// Closes every open dialog as Cancel would.
void Dialog_CloseAll(void);
// Ends a menu session of this thread and takes the pop-up out of the host's
// menu.
void Menu_Remove(void);
// Closes every window and menu of the module: called before it unloads, so
// that none of its code runs afterwards.
void Ui_CloseAll(void);
INT_PTR CALLBACK ConfigDialog_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialog_Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
int32_t ConfigDialog_OnInit(HWND dialog);
int32_t ConfigDialog_OnCommand(HWND dialog, WPARAM wParam);

} // extern "C"

#endif // RC_INVOKED
