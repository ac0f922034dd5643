// flyby/flyby.h
// The fly-by camera: the engine that the worker ticks, the camera output
// that encodes each camera point into the host's memory, and the
// millisecond clock the engine reads.
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

// The five output words, null until start-up (or a test) sets them.
extern volatile uint32_t* g_cameraLatitudeFraction;
extern volatile int32_t* g_cameraLatitudeWhole;
extern volatile uint32_t* g_cameraLongitudeFraction;
extern volatile int32_t* g_cameraLongitudeWhole;
extern volatile int16_t* g_cameraAltitude;

// Points the five words at base + their offsets; 0 makes them all null.
void Camera_SetOutputAddresses(uintptr_t base);

// |x| - floor(|x|), in [0, 1) for any finite x.
double FractionOfMagnitude(double x);

// Encodes a position (radians, radians, feet) into the five words; writes
// nothing while the output is not set.
void Camera_WritePosition(const GeoPosition* position);

// Called after each write of the five words with the position written; the
// flight-replay tool records the camera's path with it. Null: none.
typedef void (*CameraObserver)(const GeoPosition* position);
void Camera_SetObserver(CameraObserver observer);

// ---- Fly-by engine --------------------------------------------------------

// Everything the engine keeps between ticks; written by the worker alone.
// The timing fields are 32-bit floats, but the clock sample is kept at the
// host's own precision: a float holds whole milliseconds only up to 2^24
// (4.7 hours), past which a paused clock no longer compares equal.
typedef struct FlyByState {
    float previousTickMs;   // millisecond counter at the previous tick
    float tickInterval;     // seconds since the previous tick, at most 1
    float clockAccumulator; // seconds since the clock was last sampled
    double previousClock;   // the clock variable at its last sample
    float clockDelta;       // change between the last two samples; 0: paused
    float countdown;        // seconds of running simulation to the next fly-by
    int32_t side;           // +1 camera right of the track, -1 left, 0 none yet
    double flyByDistance;   // metres from the aircraft to the next camera point
    GeoPosition aircraft;   // from the last sample (radians, radians, feet)
    double aircraftPitchDeg;
    double aircraftHeadingDeg;
    GeoPosition cameraPoint; // chosen by the last placement
    double cameraHeadingDeg; // aircraft heading at the last placement (predicted, following a turn)
    double previousHeadingDeg; // heading at the previous running tick
    int32_t headingSamples;    // running ticks sampled in a row, up to 2; 0 after a pause
    double turnRateDegPerS;    // from the last two samples, positive turning right
} FlyByState;

// Following a turn (FlyByFollowTurn): a turn that changes the heading by
// less than this over the fly-by distance is flown as straight, and one
// of more than half a circle is capped at half a circle.
static const double FLYBY_FOLLOW_TURN_MIN_DEG = 0.5;
static const double FLYBY_FOLLOW_TURN_MAX_DEG = 180.0;

enum {
    FLYBY_VAR_LATITUDE,
    FLYBY_VAR_LONGITUDE,
    FLYBY_VAR_ALTITUDE,
    FLYBY_VAR_HEADING,
    FLYBY_VAR_PITCH,
    FLYBY_VAR_UNUSED_4F,
    FLYBY_VAR_GROUND_SPEED,
    FLYBY_VAR_CLOCK,
    FLYBY_VAR_COUNT
};

extern FlyByState g_flyByState;
extern HostVariable g_flyByVariables[FLYBY_VAR_COUNT];

// Back to the state at load: all zero.
void FlyBy_ResetState(void);

// One tick of the worker (about every 500 ms).
void FlyBy_Tick(void);
// Chooses and writes a new camera point ahead of the aircraft.
void FlyBy_Place(void);
// Slides the camera aside from the chosen point while the aircraft passes.
void FlyBy_Travel(void);

} // extern "C"
