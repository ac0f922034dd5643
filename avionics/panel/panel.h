/**
 * @file panel.h
 * @brief Services for instrument gauges in the simulator's panel: a mouse
 * dispatcher that maps a click to a gauge's click rectangles and opens and
 * closes its pop-up elements, and three Windows services (load a bitmap
 * resource, copy a bitmap onto a device context, centre a window).
 *
 * Handles are passed as plain pointers (an HBITMAP, HDC, HWND or HINSTANCE
 * as void*) so that this header needs no platform header. The Windows
 * services are declared only where _WIN32 is defined.
 *
 * Units: rectangles are in the gauge's design units (designWidth by
 * designHeight); mouse events arrive in screen pixels within the gauge.
 *
 * Ownership: the mouse map, its arrays and the gauge records are the
 * caller's; nothing here keeps, copies or frees them. Pointer arguments
 * must not be null unless a field says "or null".
 *
 * Threads: like the whole library, these functions run on their caller's
 * thread and take no locks. A PanelMouseMap is used from one thread only
 * (the simulator's panel thread). Usable from C (C89 and later) and C++.
 */
#ifndef SKORVAN_PANEL_H
#define SKORVAN_PANEL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- The panel layer: what the dispatcher uses of the host's gauge ---------- */

/** Bit 25 of an element's flags: the element is hidden. Cleared when its
 *  pop-up opens, set when it closes. */
#define PANEL_ELEMENT_HIDDEN 0x02000000u
/** Bit 31 of an element's flags: cleared whenever the element changes, so
 *  that the host draws it anew. */
#define PANEL_ELEMENT_DRAWN 0x80000000u

/** One element of the host's gauge, as the dispatcher sees it. */
typedef struct PanelElement {
    /** The host's flags word; the dispatcher writes PANEL_ELEMENT_HIDDEN and PANEL_ELEMENT_DRAWN
     *  only. */
    uint32_t flags;
    /** The root's child elements (null entries allowed); may be null for other elements. */
    struct PanelElement** children;
    int32_t childCount; /**< Entries in children, 0 or more; indexes outside it are ignored. */
} PanelElement;

/** A gauge's size on the screen. */
typedef struct PanelScreenSize {
    int32_t width;  /**< Screen pixels; nonzero, or no click is taken. */
    int32_t height; /**< Screen pixels; nonzero, or no click is taken. */
} PanelScreenSize;

/** The host's gauge, as the dispatcher sees it. */
typedef struct PanelGauge {
    PanelElement* elements; /**< The element list; the first is the root. */
    /** The gauge's size on the screen; null: no click is taken. */
    const PanelScreenSize* screenSize;
} PanelGauge;

/* ---- Mouse areas --------------------------------------------------------------- */

/** A rectangle in design units. A point lies in it when it is strictly
 *  inside: a point on an edge is outside. */
typedef struct PanelBox {
    int32_t x;      /**< Left edge, design units. */
    int32_t y;      /**< Top edge, design units. */
    int32_t width;  /**< Design units, 0 or more. */
    int32_t height; /**< Design units, 0 or more. */
} PanelBox;

/** Told that a pop-up opens or closes; called before the element's flags
 *  change.
 *  @param point x and y of the click in design units, valid during the call
 *  @param flags the host's mouse flags, passed through unchanged
 *  @param user  the area's user value
 *  @param phase 0 the pop-up opens, 1 it closes */
typedef void (*PanelPopupFn)(const int32_t* point, uint32_t flags, uint32_t user, int32_t phase);
/** Called for a click inside a ClickRect.
 *  @param point x and y of the click in design units, valid during the call
 *  @param flags the host's mouse flags, passed through unchanged
 *  @param user  the rectangle's user value */
typedef void (*PanelClickFn)(const int32_t* point, uint32_t flags, uint32_t user);

/** A click rectangle. Arrays of them end with an entry whose callback is
 *  null. */
typedef struct ClickRect {
    PanelBox box;          /**< Where a click calls the callback. */
    PanelClickFn callback; /**< Called for a click inside box; null ends an array. */
    uint32_t user;         /**< Handed back to callback. */
} ClickRect;

/** A pop-up element of a gauge and where clicks open it. Arrays of them end
 *  with an entry whose elementIndex is -1. */
typedef struct PopupArea {
    PanelBox openBox;      /**< While no pop-up is open, a click inside opens this one. */
    PanelBox activeBox;    /**< The pop-up's extent while open; a click outside closes it. */
    PanelPopupFn callback; /**< Told of opening and closing; or null. */
    uint32_t user;         /**< Handed back to callback. */
    int32_t elementIndex;  /**< The pop-up's element among the root's children; -1 ends an array. */
    /** The pop-up's own click rectangles, ended by a null callback; not null. */
    const ClickRect* rects;
} PopupArea;

/** One gauge's mouse map. Zero it, then set gauge, designWidth,
 *  designHeight and either or both of areas and rects; leave captured null.
 *  Keep it (and the arrays it points to) as long as the gauge lives. */
typedef struct PanelMouseMap {
    PanelGauge* gauge;    /**< The gauge; null: the map does nothing. */
    int32_t designWidth;  /**< Gauge width in the units of the boxes. */
    int32_t designHeight; /**< Gauge height in the units of the boxes. */
    /** The open pop-up's area, or null; written only by Panel_MouseEvent. */
    const PopupArea* captured;
    const PopupArea* areas; /**< Pop-up areas ended by elementIndex -1, or null. */
    /** The gauge's plain click rectangles ended by a null callback, or null. */
    const ClickRect* rects;
} PanelMouseMap;

/** Dispatches a mouse event. The point is scaled to design units (32-bit
 *  integer products, truncated toward zero). With no pop-up open, a click
 *  in an area's openBox opens that pop-up (its element shown and marked for
 *  drawing); otherwise the first plain rectangle holding it is called.
 *  With a pop-up open, a click inside its activeBox goes to the pop-up's
 *  rectangles only, and a click outside closes it (element hidden, root
 *  and element marked for drawing) and goes nowhere else.
 *  @param map   the gauge's map; captured is updated
 *  @param point x and y, screen pixels within the gauge
 *  @param flags the host's mouse flags, passed to the callbacks unchanged
 *  @return 1 when a pop-up opened or closed or a callback was called, else 0 */
int32_t Panel_MouseEvent(PanelMouseMap* map, const int32_t* point, uint32_t flags);
/** While a pop-up is open, marks the root element and its child number
 *  index for drawing anew (clears PANEL_ELEMENT_DRAWN); with none open,
 *  changes nothing.
 *  @param map   the gauge's map
 *  @param index a child of the root (not necessarily the open pop-up's);
 *               ignored outside the child array
 *  @return 1 */
int32_t Panel_RedrawElement(PanelMouseMap* map, int32_t index);

/* ---- Windows services (Skorvan.dll and the win32 build) -------------------------- */
#ifdef _WIN32

/** Loads a bitmap resource at its own size, its three grey shades mapped to
 *  the system's 3-D colours and the colour of its first pixel replaced by
 *  the window background colour.
 *  @param moduleInstance HINSTANCE of the module holding the resource
 *  @param resourceId     numeric resource id; only the low 16 bits are used
 *  @return the HBITMAP, owned by the caller (DeleteObject when done); null
 *          when it cannot be loaded */
void* Panel_LoadBitmap(void* moduleInstance, uint32_t resourceId);
/** Copies a whole bitmap onto a device context (plain source copy) through
 *  a temporary memory device context; draws nothing when the bitmap cannot
 *  be read. Leaves the target's selections as they were.
 *  @param deviceContext the target HDC
 *  @param bitmap        an HBITMAP not selected into another device context
 *  @param x             left edge on the target, pixels
 *  @param y             top edge on the target, pixels
 *  @return 1, also when nothing was drawn */
int32_t Panel_DrawBitmap(void* deviceContext, void* bitmap, int32_t x, int32_t y);
/** Moves a window to the middle of the screen, size and Z order kept.
 *  @param window the HWND
 *  @return 1, also when the window has no device context (nothing moved) */
int32_t Panel_CenterWindow(void* window);

#endif /* _WIN32 */

#ifdef __cplusplus
}
#endif

#endif
