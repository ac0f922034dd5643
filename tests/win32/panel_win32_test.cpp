// tests/win32/panel_win32_test.cpp
// The panel's Windows services on real GDI: a bitmap resource loaded with
// its grey shades and transparent key mapped to the system colours, drawn
// onto a memory DIB and read back; a window centred on the screen.
#include "panel.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// A 16 x 16 top-down 32-bit DIB selected into a memory DC, cleared to black.
struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* pixels = nullptr;
    HBITMAP bitmap;
    HGDIOBJ old;
    Canvas() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 16;
        info.bmiHeader.biHeight = -16;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels),
                                  nullptr, 0);
        old = SelectObject(dc, bitmap);
        memset(pixels, 0, 16 * 16 * 4);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t p = pixels[y * 16 + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

TEST(PanelBitmap, LoadsWithSystemColoursAndDrawsAtItsPlace) {
    void* bitmap =
        Panel_LoadBitmap(GetModuleHandleA(nullptr), 0x10000 | 300); // only the low 16 bits count
    ASSERT_NE(bitmap, nullptr);
    Canvas canvas;
    EXPECT_EQ(Panel_DrawBitmap(canvas.dc, bitmap, 2, 3), 1);
    // The bitmap's bottom row lands on canvas row 3 + 3 = 6. With both load
    // options the first pixel's colour becomes the 3-D face colour, the
    // background of dialogs and panels, as Windows documents it.
    EXPECT_EQ(canvas.At(2, 6), GetSysColor(COLOR_3DFACE));   // the first pixel's colour: the key
    EXPECT_EQ(canvas.At(3, 6), RGB(0, 0, 255));              // blue stays
    EXPECT_EQ(canvas.At(4, 6), GetSysColor(COLOR_3DSHADOW)); // grey 128
    EXPECT_EQ(canvas.At(5, 6), GetSysColor(COLOR_3DFACE));   // grey 192
    EXPECT_EQ(canvas.At(2, 5), GetSysColor(COLOR_3DLIGHT));  // grey 223
    EXPECT_EQ(canvas.At(3, 5), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(3, 3), GetSysColor(COLOR_3DFACE)); // the key elsewhere too
    EXPECT_EQ(canvas.At(1, 6), RGB(0, 0, 0));              // left of the bitmap
    EXPECT_EQ(canvas.At(6, 6), RGB(0, 0, 0));              // right of it
    EXPECT_EQ(canvas.At(2, 7), RGB(0, 0, 0));              // below it
    DeleteObject(static_cast<HBITMAP>(bitmap));

    EXPECT_EQ(Panel_LoadBitmap(GetModuleHandleA(nullptr), 301), nullptr);
    EXPECT_EQ(Panel_DrawBitmap(canvas.dc, nullptr, 0, 0), 1); // no bitmap: nothing drawn
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 0, 0));
}

TEST(PanelWindow, CentresAWindowKeepingItsSize) {
    HWND window = CreateWindowA("STATIC", "centre me", WS_POPUP | WS_VISIBLE, 7, 9, 201, 101,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Panel_CenterWindow(window), 1);
    RECT r;
    GetWindowRect(window, &r);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN),
              screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.left, screenWidth / 2 - 201 / 2);
    EXPECT_EQ(r.top, screenHeight / 2 - 101 / 2);
    EXPECT_EQ(r.right - r.left, 201);
    EXPECT_EQ(r.bottom - r.top, 101);
    DestroyWindow(window);
}

} // namespace
