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

// Screen pixels to design units, truncating toward zero. False when the
// gauge has no size on the screen (nothing can be hit then).
bool Scale(const PanelMouseMap* map, const int32_t* point, int32_t* scaled) {
    const PanelScreenSize* size = map->gauge->screenSize;
    if (size == nullptr || size->width == 0 || size->height == 0)
        return false;
    scaled[0] =
        static_cast<int32_t>(static_cast<int64_t>(point[0]) * map->designWidth / size->width);
    scaled[1] =
        static_cast<int32_t>(static_cast<int64_t>(point[1]) * map->designHeight / size->height);
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
