// avionics/panel/panel.cpp
// The gauge mouse dispatcher: design-unit scaling, strict hit tests, and
// the open and closed states of a gauge's pop-up elements.
#include "panel.h"

namespace {

const uint32_t HIDDEN = PANEL_ELEMENT_HIDDEN;
const uint32_t DRAWN = PANEL_ELEMENT_DRAWN;

bool Holds(const PanelBox& box, const int32_t* p) {
    return box.x < p[0] && p[0] < static_cast<int64_t>(box.x) + box.width && box.y < p[1] &&
           p[1] < static_cast<int64_t>(box.y) + box.height;
}

// a * b / c truncated toward zero (c nonzero), saturated to the 32-bit
// range. No 64-bit division: on i686 that is a call into libgcc, which a C
// gauge linked with the driver's defaults would import from
// libgcc_s_dw2-1.dll. The double quotient is within one of the true one
// wherever the result fits; the exact remainder settles the last step (a
// 64-bit product needs no helper).
int32_t MulDiv32(int32_t a, int32_t b, int32_t c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    // Magnitudes: |a * b| <= 2^62 and |c| <= 2^31 fit a signed 64-bit value,
    // which converts to and from double without a helper too.
    const int64_t n = product < 0 ? -product : product;
    const int64_t d = c < 0 ? -static_cast<int64_t>(c) : c;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    const double estimate = static_cast<double>(n) / static_cast<double>(d);
    if (estimate > 4294967296.0)
        return negative ? INT32_MIN : INT32_MAX;
    int64_t q = static_cast<int64_t>(estimate);
    int64_t r = n - q * d;
    while (r < 0) {
        --q;
        r += d;
    }
    while (r >= d) {
        ++q;
        r -= d;
    }
    if (q > limit)
        q = limit;
    return static_cast<int32_t>(negative ? -q : q);
}

// Screen pixels to design units, truncating toward zero; a point beyond the
// 32-bit range of design units is held at its limit. False when the gauge
// has no size on the screen (nothing can be hit then).
bool Scale(const PanelMouseMap* map, const int32_t* point, int32_t* scaled) {
    const PanelScreenSize* size = map->gauge->screenSize;
    if (size == nullptr || size->width == 0 || size->height == 0)
        return false;
    scaled[0] = MulDiv32(point[0], map->designWidth, size->width);
    scaled[1] = MulDiv32(point[1], map->designHeight, size->height);
    return true;
}

PanelElement* Root(const PanelMouseMap* map) {
    return map->gauge->elements;
}

// The root's child number index, or none outside the child array.
PanelElement* Child(const PanelMouseMap* map, int32_t index) {
    PanelElement* root = Root(map);
    if (root == nullptr || root->children == nullptr || index < 0 || index >= root->childCount)
        return nullptr;
    return root->children[index];
}

// Calls the first rectangle that holds the point; 1 when one did.
int32_t ClickIn(const ClickRect* rects, const int32_t* point, uint32_t flags) {
    for (const ClickRect* r = rects; r != nullptr && r->callback != nullptr; ++r) {
        if (Holds(r->box, point)) {
            r->callback(point, flags, r->user);
            return 1;
        }
    }
    return 0;
}

} // namespace

int32_t Panel_MouseEvent(PanelMouseMap* map, const int32_t* point, uint32_t flags) {
    if (map->gauge == nullptr)
        return 0;
    int32_t scaled[2];
    if (map->areas != nullptr) {
        if (!Scale(map, point, scaled))
            return 0;
        if (map->captured == nullptr) {
            for (const PopupArea* area = map->areas; area->elementIndex != -1; ++area) {
                if (!Holds(area->openBox, scaled))
                    continue;
                if (area->callback != nullptr)
                    area->callback(scaled, flags, area->user, 0);
                if (PanelElement* element = Child(map, area->elementIndex))
                    element->flags &= ~(HIDDEN | DRAWN);
                map->captured = area;
                return 1;
            }
        } else {
            const PopupArea* area = map->captured;
            if (Holds(area->activeBox, scaled))
                return ClickIn(area->rects, scaled, flags);
            // A click outside the open pop-up closes it and goes nowhere else.
            if (area->callback != nullptr)
                area->callback(scaled, flags, area->user, 1);
            if (PanelElement* element = Child(map, area->elementIndex))
                element->flags = (element->flags | HIDDEN) & ~DRAWN;
            if (PanelElement* root = Root(map))
                root->flags &= ~DRAWN;
            map->captured = nullptr;
            return 1;
        }
    }
    if (map->rects != nullptr) {
        if (!Scale(map, point, scaled))
            return 0;
        return ClickIn(map->rects, scaled, flags);
    }
    return 0;
}

int32_t Panel_RedrawElement(PanelMouseMap* map, int32_t index) {
    if (map->areas == nullptr || map->gauge == nullptr || map->captured == nullptr)
        return 1;
    if (PanelElement* root = Root(map))
        root->flags &= ~DRAWN;
    if (PanelElement* element = Child(map, index))
        element->flags &= ~DRAWN;
    return 1;
}
