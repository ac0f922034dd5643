// tests/unit/panel_test.cpp
// The gauge mouse dispatcher: scaling into design units, strict hit tests,
// opening and closing a pop-up, and the element flags bit by bit.
#include "panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

void Click(const int32_t* p, uint32_t flags, uint32_t user) {
    g_calls.push_back("click " + std::to_string(user) + " at " + std::to_string(p[0]) + "," +
                      std::to_string(p[1]) + " flags " + std::to_string(flags));
}

void Popup(const int32_t* p, uint32_t, uint32_t user, int32_t phase) {
    g_calls.push_back("popup " + std::to_string(user) + " phase " + std::to_string(phase) + " at " +
                      std::to_string(p[0]) + "," + std::to_string(p[1]));
}

// A gauge 400 x 300 pixels on the screen, designed at 200 x 150: a root
// with three child elements.
struct Gauge : ::testing::Test {
    PanelElement children[3] = {
        {0xFFFFFFFFu, nullptr, 0}, {0xFFFFFFFFu, nullptr, 0}, {0xFFFFFFFFu, nullptr, 0}};
    PanelElement* childPointers[3] = {&children[0], &children[1], &children[2]};
    PanelElement root = {0xFFFFFFFFu, childPointers, 3};
    PanelScreenSize screen = {400, 300};
    PanelGauge gauge = {&root, &screen};
    ClickRect plain[3] = {
        {{10, 10, 40, 40}, Click, 1}, {{100, 10, 40, 40}, Click, 2}, {{0, 0, 0, 0}, nullptr, 0}};
    ClickRect popupRects[2] = {{{60, 60, 20, 20}, Click, 7}, {{0, 0, 0, 0}, nullptr, 0}};
    PopupArea areas[2] = {{{150, 100, 40, 40}, {50, 50, 100, 50}, Popup, 9, 2, popupRects},
                          {{0, 0, 0, 0}, {0, 0, 0, 0}, nullptr, 0, -1, nullptr}};
    PanelMouseMap map = {&gauge, 200, 150, nullptr, areas, plain};

    void SetUp() override { g_calls.clear(); }
    int32_t At(int32_t x, int32_t y, uint32_t flags = 0) {
        const int32_t point[2] = {x, y};
        return Panel_MouseEvent(&map, point, flags);
    }
};

TEST_F(Gauge, ScalesWithTruncationAndTestsStrictly) {
    // x 101 on a 400-pixel screen is 50 on a 200-unit design.
    struct Case {
        PanelBox box;
        int32_t hit;
    } cases[] = {{{50, 0, 10, 100}, 0}, {{49, 0, 1, 100}, 0}, {{49, 0, 2, 100}, 1}};
    for (const Case& c : cases) {
        ClickRect rects[2] = {{c.box, Click, 3}, {{0, 0, 0, 0}, nullptr, 0}};
        PanelMouseMap plainOnly = {&gauge, 200, 150, nullptr, nullptr, rects};
        const int32_t point[2] = {101, 21};
        EXPECT_EQ(Panel_MouseEvent(&plainOnly, point, 0), c.hit) << c.box.x << "+" << c.box.width;
    }
    EXPECT_EQ(g_calls, (std::vector<std::string>{"click 3 at 50,10 flags 0"}));
}

TEST_F(Gauge, PlainRectanglesGetClicksWhileNoPopupIsOpen) {
    EXPECT_EQ(At(40, 40, 0x20), 1); // design 20,20
    EXPECT_EQ(At(230, 40), 1);      // design 115,20
    EXPECT_EQ(At(2, 2), 0);
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"click 1 at 20,20 flags 32", "click 2 at 115,20 flags 0"}));
    EXPECT_EQ(children[2].flags, 0xFFFFFFFFu);
}

TEST_F(Gauge, OpenClickInsideAndCloseAPopup) {
    // Open: the callback first, then the element shown and marked for drawing.
    EXPECT_EQ(At(340, 220), 1); // design 170,110: inside the open box
    EXPECT_EQ(map.captured, &areas[0]);
    EXPECT_EQ(children[2].flags, 0xFFFFFFFFu & ~PANEL_ELEMENT_HIDDEN & ~PANEL_ELEMENT_DRAWN);
    EXPECT_EQ(children[1].flags, 0xFFFFFFFFu);
    EXPECT_EQ(root.flags, 0xFFFFFFFFu);

    // Inside the active box: only the pop-up's own rectangles count.
    EXPECT_EQ(At(140, 140), 1); // design 70,70
    EXPECT_EQ(At(110, 110), 0); // design 55,55: active box, no rectangle
    EXPECT_EQ(map.captured, &areas[0]);

    // Outside: closes, even over a plain rectangle, and goes nowhere else.
    children[2].flags = 0;
    EXPECT_EQ(At(40, 40), 1);
    EXPECT_EQ(map.captured, nullptr);
    EXPECT_EQ(children[2].flags, PANEL_ELEMENT_HIDDEN);
    EXPECT_EQ(root.flags, 0xFFFFFFFFu & ~PANEL_ELEMENT_DRAWN);
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"popup 9 phase 0 at 170,110", "click 7 at 70,70 flags 0",
                                        "popup 9 phase 1 at 20,20"}));
}

TEST_F(Gauge, AnAreasArrayEndingAtOnceSendsClicksToThePlainRects) {
    PopupArea none[1] = {{{0, 0, 400, 400}, {0, 0, 0, 0}, Popup, 0, -1, nullptr}};
    map.areas = none;
    EXPECT_EQ(At(40, 40), 1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"click 1 at 20,20 flags 0"}));
}

TEST_F(Gauge, RedrawMarksOnlyWhileAPopupIsOpen) {
    EXPECT_EQ(Panel_RedrawElement(&map, 1), 1);
    EXPECT_EQ(root.flags, 0xFFFFFFFFu);
    EXPECT_EQ(children[1].flags, 0xFFFFFFFFu);
    At(340, 220);
    EXPECT_EQ(Panel_RedrawElement(&map, 1), 1); // the index given, not the open one
    EXPECT_EQ(root.flags, 0xFFFFFFFFu & ~PANEL_ELEMENT_DRAWN);
    EXPECT_EQ(children[1].flags, 0xFFFFFFFFu & ~PANEL_ELEMENT_DRAWN);
    EXPECT_EQ(Panel_RedrawElement(&map, 99), 1); // no such child: the root only
}

TEST_F(Gauge, ScalingIsExactAtTheExtremesAndHeldAtTheLimits) {
    // Point x, design width, screen width; the scaled x. The first rows'
    // products need 62 bits, and a plain double quotient truncates them one
    // too high; the last rows go past the 32-bit range and are held there
    // (INT32_MIN cannot be seen: no box lies strictly below it).
    struct Case {
        int32_t x, design, screen, scaled;
    } cases[] = {
        {101, 200, 400, 50},
        {-101, 200, 400, -50},
        {101, -200, 400, -50},
        {-101, 200, -400, 50},
        {2147483645, 1073741824, 2147483647, 1073741822},
        {2147483644, 1431655765, 2147483647, 1431655762},
        {-2147483644, 1431655765, 2147483647, -1431655762},
        {2147483644, 1431655765, -2147483647, -1431655762},
        {2147483646, 2147483646, 2147483647, 2147483645},
        {-2147483647, 2147483647, 2147483647, -2147483647},
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
        {2147483647, 2147483647, 2147483646, INT32_MAX},
        {2147483647, 2147483647, 1, INT32_MAX},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        // A box that holds exactly the expected value (strict at both sides).
        const int32_t below = c.scaled - 1;
        ClickRect rects[2] = {{{below, -1000, 2, 2000}, Click, 4}, {{0, 0, 0, 0}, nullptr, 0}};
        screen = {c.screen, 300};
        PanelMouseMap plainOnly = {&gauge, c.design, 150, nullptr, nullptr, rects};
        const int32_t point[2] = {c.x, 20};
        EXPECT_EQ(Panel_MouseEvent(&plainOnly, point, 0), 1)
            << c.x << " * " << c.design << " / " << c.screen;
        EXPECT_EQ(g_calls, (std::vector<std::string>{"click 4 at " + std::to_string(c.scaled) +
                                                     ",10 flags 0"}));
    }
}

TEST_F(Gauge, NothingHappensWithoutAGaugeOrAScreenSize) {
    map.gauge = nullptr;
    EXPECT_EQ(At(40, 40), 0);
    map.gauge = &gauge;
    screen.width = 0; // a gauge not on the screen: no division by zero
    EXPECT_EQ(At(40, 40), 0);
    EXPECT_TRUE(g_calls.empty());
}

} // namespace
