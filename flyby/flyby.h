// flyby/flyby.h
// The fly-by camera: the engine that the worker ticks, the camera output
// that encodes each camera point into the host's memory, and the
// millisecond clock the engine reads: what the DLL and the tools call. The
// engine's own state, which tests inspect, is in flyby_internal.h.
#pragma once

#include <cstdint>

#include "../geo/geo.h"
#include "../module/module.h"

extern "C" {

// ---- Millisecond clock ----------------------------------------------------

// The clock the engine reads: the platform's 32-bit millisecond counter
// (timeGetTime on Windows, a monotonic clock elsewhere), or the source that a
// test or tool set. A null source restores the platform's.
typedef uint32_t (*ClockSource)(void);
uint32_t Clock_NowMs(void);
uint32_t Clock_PlatformMs(void);
void Clock_SetSource(ClockSource source);

// ---- Camera output --------------------------------------------------------

// Start of the host's camera-position memory in its process.
#define CAMERA_HOST_ADDRESS ((uintptr_t)0x20A43D50u)
enum {
    CAMERA_OFFSET_LATITUDE_FRACTION = 0x0,  // uint32
    CAMERA_OFFSET_LATITUDE_WHOLE = 0x4,     // int32
    CAMERA_OFFSET_LONGITUDE_FRACTION = 0x8, // uint32
    CAMERA_OFFSET_LONGITUDE_WHOLE = 0xC,    // int32
    CAMERA_OFFSET_ALTITUDE = 0x14,          // int16, whole metres
    CAMERA_MEMORY_SIZE = 0x16,
};
static const double CAMERA_FRACTION_STEPS = 4294967295.0; // per whole unit

// Points the five words at base + their offsets; 0 makes them all null.
void Camera_SetOutputAddresses(uintptr_t base);

// Encodes a position (radians, radians, feet) into the five words; writes
// nothing while the output is not set.
void Camera_WritePosition(const GeoPosition* position);

// Called after each write of the five words with the position written; the
// flight-replay tool records the camera's path with it. Null: none.
typedef void (*CameraObserver)(const GeoPosition* position);
void Camera_SetObserver(CameraObserver observer);

// ---- Fly-by engine --------------------------------------------------------

// Back to the state at load: all zero.
void FlyBy_ResetState(void);

// One tick of the worker (about every 500 ms).
void FlyBy_Tick(void);

} // extern "C"
