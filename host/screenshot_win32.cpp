// host/screenshot_win32.cpp
// The whole screen as a 24-bit BMP, for the user guide's pictures. A file
// that could not be written wholly is logged as failed, not as taken.
#include "host_win32.h"

#include <cstdio>

void HostScreen_Save(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (width * 3 + 3) & ~3u, imageBytes = rowBytes * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageBytes;
    if (FILE* out = fopen(path.c_str(), "wb")) {
        bool ok = fwrite(&file, sizeof file, 1, out) == 1;
        ok = fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 && ok;
        ok = bits != nullptr && fwrite(bits, imageBytes, 1, out) == 1 && ok;
        ok = fclose(out) == 0 && ok;
        if (ok)
            HostLog_Line("screenshot,%s", path.c_str());
        else
            HostLog_Line("screenshot,%s,failed", path.c_str());
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
