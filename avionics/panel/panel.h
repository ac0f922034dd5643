/* avionics/panel/panel.h
 * Services for instrument gauges in the simulator's panel: a mouse
 * dispatcher that maps a click to a gauge's click rectangles and opens and
 * closes its pop-up elements, and three Windows services (load a bitmap
 * resource, copy a bitmap onto a device context, centre a window). Handles
 * are passed as plain pointers so that this header needs no platform
 * header. One thread at a time. Usable from C and C++.
 *
 * Conventions: functions return 1 when they did their work and 0 when they
 * did not (a null argument, no match, a failed Windows call). The mouse map
 * and its arrays belong to the gauge; nothing here keeps or frees them. The
 * Windows services are declared only in Windows builds. */
#ifndef SKORVAN_PANEL_H
#define SKORVAN_PANEL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- The panel layer: what the dispatcher uses of the host's gauge ---------- */

#define PANEL_ELEMENT_HIDDEN 0x02000000u /* bit 25 of an element's flags */
#define PANEL_ELEMENT_DRAWN                                                                        \
    0x80000000u /* bit 31: cleared so that the host draws the element anew */

typedef struct PanelElement {
    uint32_t flags;
    struct PanelElement** children; /* the root's child elements */
    int32_t childCount;
} PanelElement;

typedef struct PanelScreenSize {
    int32_t width; /* pixels on the screen; nonzero */
    int32_t height;
} PanelScreenSize;

typedef struct PanelGauge {
    PanelElement* elements;            /* the first is the root */
    const PanelScreenSize* screenSize; /* the gauge's size on the screen */
} PanelGauge;

/* ---- Mouse areas --------------------------------------------------------------- */

typedef struct PanelBox {
    int32_t x, y, width, height; /* design units */
} PanelBox;

/* point: x and y in design units, valid during the call; flags: the host's
 * mouse flags, passed through; phase: 0 the pop-up opens, 1 it closes. */
typedef void (*PanelPopupFn)(const int32_t* point, uint32_t flags, uint32_t user, int32_t phase);
typedef void (*PanelClickFn)(const int32_t* point, uint32_t flags, uint32_t user);

typedef struct ClickRect {
    PanelBox box;
    PanelClickFn callback; /* none ends an array */
    uint32_t user;
} ClickRect;

typedef struct PopupArea {
    PanelBox openBox;      /* a click inside opens the pop-up */
    PanelBox activeBox;    /* the pop-up's extent while open */
    PanelPopupFn callback; /* or none */
    uint32_t user;
    int32_t elementIndex;   /* the pop-up's element among the root's children; -1 ends an array */
    const ClickRect* rects; /* the pop-up's click rectangles */
} PopupArea;

typedef struct PanelMouseMap {
    PanelGauge* gauge; /* none: the map does nothing */
    int32_t designWidth;
    int32_t designHeight;
    const PopupArea* captured; /* the open pop-up's area; written by Panel_MouseEvent */
    const PopupArea* areas;
    const ClickRect* rects;
} PanelMouseMap;

/* A mouse event at point (x, y in screen pixels within the gauge). 1 when a
 * pop-up opened or closed or a rectangle's callback was called, else 0. */
int32_t Panel_MouseEvent(PanelMouseMap* map, const int32_t* point, uint32_t flags);
/* While a pop-up is open: marks the root and its child number index for
 * drawing anew. Returns 1. */
int32_t Panel_RedrawElement(PanelMouseMap* map, int32_t index);

/* ---- Windows services (Skorvan.dll and the win32 build) -------------------------- */
#ifdef _WIN32

/* HBITMAP of a module's bitmap resource (low 16 bits of id), grey shades
 * mapped to the 3-D colours and the first pixel's colour to the window
 * background; none when it cannot be loaded. */
void* Panel_LoadBitmap(void* moduleInstance, uint32_t resourceId);
/* Copies a whole bitmap onto a device context at (x, y). Returns 1. */
int32_t Panel_DrawBitmap(void* deviceContext, void* bitmap, int32_t x, int32_t y);
/* Moves a window to the middle of the screen, size and Z order kept. Returns 1. */
int32_t Panel_CenterWindow(void* window);

#endif /* _WIN32 */

#ifdef __cplusplus
}
#endif

#endif
