// avionics/panel/panel_win32.cpp
// Bitmaps and window placement for gauges, with GDI and the window manager.
#include "panel.h"

#include <windows.h>

void* Panel_LoadBitmap(void* moduleInstance, uint32_t resourceId) {
    return LoadImageA(static_cast<HINSTANCE>(moduleInstance), MAKEINTRESOURCEA(resourceId & 0xFFFF),
                      IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS | LR_LOADTRANSPARENT);
}

int32_t Panel_DrawBitmap(void* deviceContext, void* bitmap, int32_t x, int32_t y) {
    HDC target = static_cast<HDC>(deviceContext);
    BITMAP info;
    if (GetObjectA(static_cast<HBITMAP>(bitmap), sizeof info, &info) == 0)
        return 1;
    HDC memory = CreateCompatibleDC(target);
    if (memory == nullptr)
        return 1;
    HGDIOBJ previous = SelectObject(memory, static_cast<HBITMAP>(bitmap));
    BitBlt(target, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return 1;
}

int32_t Panel_CenterWindow(void* window) {
    HWND handle = static_cast<HWND>(window);
    HDC dc = GetDC(handle);
    if (dc == nullptr)
        return 1;
    RECT r;
    GetWindowRect(handle, &r);
    const int screenWidth = GetDeviceCaps(dc, HORZRES), screenHeight = GetDeviceCaps(dc, VERTRES);
    const int width = r.right - r.left, height = r.bottom - r.top;
    SetWindowPos(handle, nullptr, screenWidth / 2 - width / 2, screenHeight / 2 - height / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    ReleaseDC(handle, dc);
    return 1;
}
