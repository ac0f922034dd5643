// flyby/flyby_internal.h
// The fly-by's insides, for its own files and its tests: the engine's state
// between ticks, its host variables, the two steps a tick runs, and the
// camera's output words. Callers of the fly-by use flyby.h alone.
#pragma once

#include "flyby.h"

extern "C" {

// The five output words, null until start-up (or a test) sets them.
extern volatile uint32_t* g_cameraLatitudeFraction;
extern volatile int32_t* g_cameraLatitudeWhole;
extern volatile uint32_t* g_cameraLongitudeFraction;
extern volatile int32_t* g_cameraLongitudeWhole;
extern volatile int16_t* g_cameraAltitude;

// |x| - floor(|x|), in [0, 1) for any finite x.
double FractionOfMagnitude(double x);

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

// Chooses and writes a new camera point ahead of the aircraft.
void FlyBy_Place(void);
// Slides the camera aside from the chosen point while the aircraft passes.
void FlyBy_Travel(void);

} // extern "C"
