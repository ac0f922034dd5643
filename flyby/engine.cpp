// flyby/engine.cpp
// The fly-by engine: each tick measures time, detects a paused simulation
// by an unchanging clock variable, samples the aircraft and, every
// FlyByDuration seconds of running simulation, places the camera ahead of
// the aircraft and beside its track; with travelling on, it slides the
// camera aside while the aircraft passes.
#include "flyby_internal.h"

#include <cmath>
#include <cstdlib>

static const double LONGITUDE_UNITS_PER_TURN_ROOT = 16777216.0; // 2^24; a turn is 2^48
static const double MS_COUNTER_PERIOD = 4294967296.0;           // the counter wraps at 2^32 ms
static const float MAX_TICK_INTERVAL_S = 1.0f;
static const float CLOCK_SAMPLE_PERIOD_S = 1.0f;
static const int RAND_HALF = 16384; // rand() at or below this puts the camera left

static const uint32_t VARIABLE_TOKENS[FLYBY_VAR_COUNT] = {
    HOST_TOKEN_LATITUDE, HOST_TOKEN_LONGITUDE, HOST_TOKEN_ALTITUDE,     HOST_TOKEN_HEADING,
    HOST_TOKEN_PITCH,    HOST_TOKEN_UNUSED_4F, HOST_TOKEN_GROUND_SPEED, HOST_TOKEN_CLOCK,
};

FlyByState g_flyByState;
// Contiguous, in the order they are refreshed; the clock comes last.
HostVariable g_flyByVariables[FLYBY_VAR_COUNT] = {
    {HOST_TOKEN_LATITUDE, {}, 0.0, {}},     {HOST_TOKEN_LONGITUDE, {}, 0.0, {}},
    {HOST_TOKEN_ALTITUDE, {}, 0.0, {}},     {HOST_TOKEN_HEADING, {}, 0.0, {}},
    {HOST_TOKEN_PITCH, {}, 0.0, {}},        {HOST_TOKEN_UNUSED_4F, {}, 0.0, {}},
    {HOST_TOKEN_GROUND_SPEED, {}, 0.0, {}}, {HOST_TOKEN_CLOCK, {}, 0.0, {}},
};

void FlyBy_ResetState(void) {
    g_flyByState = FlyByState{};
    for (int i = 0; i < FLYBY_VAR_COUNT; ++i) {
        g_flyByVariables[i] = HostVariable{};
        g_flyByVariables[i].tokenId = VARIABLE_TOKENS[i];
    }
}

static double Value(int variable) {
    return g_flyByVariables[variable].value;
}

// Seconds since the previous tick. Across the 32-bit counter's wrap the
// difference is taken modulo 2^32 ms, so the wrap costs nothing instead of
// pushing the countdown back by 49 days.
static float TickInterval(uint32_t nowMs, float previousTickMs) {
    double elapsedMs = static_cast<double>(nowMs) - static_cast<double>(previousTickMs);
    if (elapsedMs < 0.0)
        elapsedMs += MS_COUNTER_PERIOD;
    return static_cast<float>(elapsedMs / 1000.0);
}

static void ChooseSide(FlyByState* s) {
    switch (Settings_Get(g_flyBySettings.FlyByCameraPlacement)) {
    case 0:
        s->side = 1;
        break;
    case 1:
        s->side = -1;
        break;
    case 2: {
        // The 15 bits the Windows C library gives; other libraries give more.
        const int r = rand() & 0x7FFF;
        s->side = r <= RAND_HALF ? -1 : 1;
        break;
    }
    default: // keeps the previous side
        break;
    }
}

// The turn rate from the headings of two running ticks in a row. A tick
// that ends before sampling (switched off, paused, no usable values) breaks
// the row, so that a pause never reads as a turn.
static void SampleTurnRate(FlyByState* s, double headingDeg) {
    if (s->headingSamples > 0 && s->tickInterval > 0.0f)
        s->turnRateDegPerS = remainder(headingDeg - s->previousHeadingDeg, 360.0) /
                             static_cast<double>(s->tickInterval);
    s->previousHeadingDeg = headingDeg;
    if (s->headingSamples < 2)
        ++s->headingSamples;
}

void FlyBy_Tick(void) {
    FlyByState* s = &g_flyByState;
    const int32_t samplesBefore = s->headingSamples;
    s->headingSamples = 0; // until this tick samples the aircraft
    const uint32_t now = Clock_NowMs();
    s->tickInterval = TickInterval(now, s->previousTickMs);
    s->previousTickMs = static_cast<float>(now);
    if (s->tickInterval > MAX_TICK_INTERVAL_S)
        s->tickInterval = MAX_TICK_INTERVAL_S;

    if (Settings_Get(g_flyBySettings.FlyByActive) == 0)
        return;
    // Until the host has handed over its function table there is nothing to
    // sample; the tick ends as if the simulation were paused.
    if (Host_FunctionTable() == nullptr)
        return;

    Host_RefreshVariable(&g_flyByVariables[FLYBY_VAR_CLOCK]);
    s->clockAccumulator = s->clockAccumulator + s->tickInterval;
    if (s->clockAccumulator > CLOCK_SAMPLE_PERIOD_S) {
        const double clock = Value(FLYBY_VAR_CLOCK);
        s->clockDelta = static_cast<float>(clock - s->previousClock);
        s->previousClock = clock;
        s->clockAccumulator = 0.0f;
    }
    if (s->clockDelta == 0.0f)
        return;

    for (int i = FLYBY_VAR_LATITUDE; i <= FLYBY_VAR_GROUND_SPEED; ++i)
        Host_RefreshVariable(&g_flyByVariables[i]);
    // A value that is not a number (or infinite) would put the camera at
    // 0 N 0 E: the tick ends as if paused, and the camera stays where it was
    // until the host gives usable values again.
    for (int i = FLYBY_VAR_LATITUDE; i <= FLYBY_VAR_GROUND_SPEED; ++i)
        if (i != FLYBY_VAR_UNUSED_4F && !std::isfinite(Value(i)))
            return;

    s->aircraft.latitude = Value(FLYBY_VAR_LATITUDE) / GEO_LATITUDE_UNITS_PER_DEGREE * DEG_TO_RAD;
    s->aircraft.longitude = Value(FLYBY_VAR_LONGITUDE) / LONGITUDE_UNITS_PER_TURN_ROOT /
                            LONGITUDE_UNITS_PER_TURN_ROOT * 360.0 * DEG_TO_RAD;
    s->aircraft.altitude = Value(FLYBY_VAR_ALTITUDE) * GEO_FEET_PER_METRE;
    s->aircraftPitchDeg = Value(FLYBY_VAR_PITCH);
    s->aircraftHeadingDeg = Value(FLYBY_VAR_HEADING);
    s->headingSamples = samplesBefore;
    SampleTurnRate(s, s->aircraftHeadingDeg);

    s->countdown = s->countdown - s->tickInterval;
    if (s->countdown < 0.0f) {
        const int32_t duration = Settings_Get(g_flyBySettings.FlyByDuration);
        s->countdown = static_cast<float>(duration);
        ChooseSide(s);
        const double groundSpeedKmh = Value(FLYBY_VAR_GROUND_SPEED);
        // The distance flown in the share of the period given by
        // FlyByPassAt (km/h to m/s, times the duration, times the share): at
        // 100 % the camera waits where the aircraft will be when the period
        // ends; earlier, the viewer also sees it fly away before the cut. The
        // factors 2 and 0.5 cancel exactly in binary floating point, and so
        // does a share of 100 / 100; they keep the first formula's results.
        const int32_t passAt = Settings_GetUsable(&FlyBySettings::FlyByPassAt);
        s->flyByDistance =
            groundSpeedKmh * 2.0 * 1000.0 / 3600.0 * duration * 0.5 * (passAt / 100.0);
        const int32_t minDistance = Settings_Get(g_flyBySettings.FlyByMinDistance);
        if (minDistance > s->flyByDistance)
            s->flyByDistance = minDistance;
        FlyBy_Place();
    }

    if (Settings_Get(g_flyBySettings.FlyByTravelling) != 0)
        FlyBy_Travel();
}

// Following a turn: where the aircraft will be after the fly-by distance
// on a circle of the current turn rate, and the side offset turned square
// to the heading it will have there. x right and z ahead of the aircraft
// now, in metres; headingDeg becomes the predicted heading. False (nothing
// changed) when the turn is too slight to matter or cannot be known yet.
static bool FollowTurn(const FlyByState* s, double* x, double* z, double* headingDeg) {
    const double speed = Value(FLYBY_VAR_GROUND_SPEED) / 3.6; // metres per second
    if (s->headingSamples < 2 || !(speed > 0.0))
        return false;
    double turnDeg = s->turnRateDegPerS * s->flyByDistance / speed;
    if (!(fabs(turnDeg) >= FLYBY_FOLLOW_TURN_MIN_DEG))
        return false;
    turnDeg = fmax(-FLYBY_FOLLOW_TURN_MAX_DEG, fmin(FLYBY_FOLLOW_TURN_MAX_DEG, turnDeg));
    const double t = turnDeg * DEG_TO_RAD;
    const double radius = speed / (s->turnRateDegPerS * DEG_TO_RAD); // negative turning left
    const double side = *x;
    *x = radius * (1.0 - cos(t)) + side * cos(t);
    *z = radius * sin(t) - side * sin(t);
    *headingDeg += turnDeg;
    return true;
}

void FlyBy_Place(void) {
    FlyByState* s = &g_flyByState;
    const double d = s->flyByDistance;
    // D ahead and D/10 to the side: the aircraft passes the camera at a
    // tenth of the distance it flies in the meantime.
    Vector3 v = {d / 10.0 * s->side, 0.0, d};
    if (Settings_Get(g_flyBySettings.FlyByTravelling) != 0)
        v.x = 0.0;
    double headingDeg = s->aircraftHeadingDeg;
    if (Settings_Get(g_flyBySettings.FlyByFollowTurn) != 0)
        FollowTurn(s, &v.x, &v.z, &headingDeg);
    Vec3_RotateX(&v, s->aircraftPitchDeg * DEG_TO_RAD);
    Vec3_RotateY(&v, s->aircraftHeadingDeg * DEG_TO_RAD);

    GeoPosition p;
    Geo_OffsetToPosition(&s->aircraft, &v, &p);
    // Half the height the aircraft gains along its pitch over the distance:
    // a climbing or descending aircraft passes through the middle of the
    // view instead of above or below it.
    p.altitude = v.y * 0.5 * GEO_FEET_PER_METRE + s->aircraft.altitude +
                 Settings_Get(g_flyBySettings.FlyByRelAltitude);
    if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude) || !std::isfinite(p.altitude))
        return; // the camera stays where it was
    Camera_WritePosition(&p);
    s->cameraPoint = p;
    s->cameraHeadingDeg = headingDeg;
}

// True when the aircraft is ahead of the chosen point along the heading it
// was given for it: it has flown past. bearingDeg is from the point to the
// aircraft.
static bool AircraftIsPast(const FlyByState* s, double bearingDeg) {
    return cos((bearingDeg - s->cameraHeadingDeg) * DEG_TO_RAD) > 0.0;
}

void FlyBy_Travel(void) {
    FlyByState* s = &g_flyByState;
    double distance = 0.0, bearing = 0.0;
    Geo_DistanceBearing(&s->cameraPoint, &s->aircraft, &distance, &bearing);

    const double minDistance = Settings_Get(g_flyBySettings.FlyByMinDistance);
    Vector3 v = {0.0, 0.0, 0.0};
    if (fabs(minDistance) >= distance)
        v.x = (minDistance - distance) * s->side;
    // When the pass comes before the period ends, the camera stays aside
    // once the aircraft is past the point, rather than stepping back onto
    // the track behind it; at 100 % the next point comes as it passes.
    if (Settings_GetUsable(&FlyBySettings::FlyByPassAt) < 100 && AircraftIsPast(s, bearing))
        v.x = minDistance * s->side;
    Vec3_RotateY(&v, s->cameraHeadingDeg * DEG_TO_RAD);

    GeoPosition p;
    Geo_OffsetToPosition(&s->cameraPoint, &v, &p);
    p.altitude = s->cameraPoint.altitude;
    Camera_WritePosition(&p);
}
