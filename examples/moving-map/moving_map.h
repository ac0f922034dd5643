/* examples/moving-map/moving_map.h
 * The moving-map gauge's entry points, as the panel that loads the DLL
 * (here the runner) calls them: open once with the simulator's folder,
 * give the aircraft's position as it moves, draw into the device context
 * of each frame, close once. All on the panel's thread. */
#ifndef MOVING_MAP_H
#define MOVING_MAP_H

#include <windows.h>

/* Loads the scenery below simulatorFolder (the folder holding SCENEDB) and
 * makes the pens, brushes and font. 1, or 0 when the GDI objects could
 * not be made. */
typedef int(__cdecl* MovingMapOpenFn)(const char* simulatorFolder);
/* The aircraft: latitude and longitude in degrees, track in degrees true. */
typedef void(__cdecl* MovingMapSetAircraftFn)(double latitudeDeg, double longitudeDeg,
                                              double trackDeg);
/* Draws the whole gauge, track up, rangeNm from the aircraft to the edge of
 * the range ring, into dc over width x height pixels. */
typedef void(__cdecl* MovingMapDrawFn)(HDC dc, int width, int height, double rangeNm);
/* Frees the scenery and the GDI objects. */
typedef void(__cdecl* MovingMapCloseFn)(void);

#endif
