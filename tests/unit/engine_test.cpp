// tests/unit/engine_test.cpp
// The fly-by engine driven through its clock seam and a fake host table:
// timing, pause detection, sampling, placement geometry and travelling.
#include "flyby_internal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <vector>

namespace {

const double PI = 3.141592653589793;

// ---- The fake host --------------------------------------------------------------

uint32_t g_nowMs = 0;
uint32_t FakeClock() {
    return g_nowMs;
}

std::map<uint32_t, double> g_hostValues;
std::vector<uint32_t> g_refreshed;

void HOST_STDCALL FakeRefresh(HostVariable* variable) {
    g_refreshed.push_back(variable->tokenId);
    variable->value = g_hostValues[variable->tokenId];
}

void* g_table[64];

// Host values for an aircraft at lat/lon degrees, altitude feet.
void SetAircraft(double latDeg, double lonDeg, double altFt, double headingDeg, double pitchDeg,
                 double speedKmh) {
    g_hostValues[HOST_TOKEN_LATITUDE] = latDeg * 111130.0;
    g_hostValues[HOST_TOKEN_LONGITUDE] = lonDeg / 360.0 * 281474976710656.0;
    g_hostValues[HOST_TOKEN_ALTITUDE] = altFt / 3.28084;
    g_hostValues[HOST_TOKEN_HEADING] = headingDeg;
    g_hostValues[HOST_TOKEN_PITCH] = pitchDeg;
    g_hostValues[HOST_TOKEN_GROUND_SPEED] = speedKmh;
}

struct Engine : ::testing::Test {
    alignas(8) uint8_t camera[32];
    int cameraWrites = 0;

    void SetUp() override {
        FlyBy_ResetState();
        Settings_SetDefaults();
        cameraWrites = 0;
        memset(g_table, 0, sizeof g_table);
        g_table[HOST_ENTRY_REFRESH] = reinterpret_cast<void*>(FakeRefresh);
        ImportTable[0].functionTable = g_table;
        g_hostValues.clear();
        g_refreshed.clear();
        g_hostValues[HOST_TOKEN_CLOCK] = 100.0;
        g_nowMs = 1000000;
        Clock_SetSource(FakeClock);
        memset(camera, 0, sizeof camera);
        Camera_SetOutputAddresses(reinterpret_cast<uintptr_t>(camera));
        SetAircraft(47, 8, 3000, 0, 0, 360);
    }
    void TearDown() override {
        Clock_SetSource(nullptr);
        Camera_SetOutputAddresses(0);
        ImportTable[0].functionTable = nullptr;
    }

    // One tick, ms after the previous one; the host clock runs along unless frozen.
    void Tick(uint32_t ms = 500, bool clockRuns = true) {
        g_nowMs += ms;
        if (clockRuns)
            g_hostValues[HOST_TOKEN_CLOCK] += ms / 1000.0;
        uint8_t before[32];
        memcpy(before, camera, sizeof camera);
        FlyBy_Tick();
        if (memcmp(before, camera, sizeof camera) != 0)
            ++cameraWrites;
    }
    // Ticks until the first placement: the first tick only starts the
    // accumulator, the second samples the clock and places.
    void StartRunning() {
        Tick();
        Tick();
        ASSERT_EQ(cameraWrites, 1);
    }
    // Where the camera point lies from the aircraft: metres north and east.
    void Offset(const GeoPosition& point, double* north, double* east) const {
        const GeoPosition& a = g_flyByState.aircraft;
        const double r = 6367310.0;
        *north = (point.latitude - a.latitude) * r;
        *east = remainder(point.longitude - a.longitude, 2 * PI) * r * cos(a.latitude);
    }
};

TEST_F(Engine, SamplesTheAircraftInTheModulesUnits) {
    StartRunning();
    g_hostValues[HOST_TOKEN_LATITUDE] = 5556500;
    g_hostValues[HOST_TOKEN_LONGITUDE] = 70368744177664.0; // 2^46
    g_hostValues[HOST_TOKEN_ALTITUDE] = 1000;
    Tick();
    EXPECT_NEAR(g_flyByState.aircraft.latitude, 50 * DEG_TO_RAD, 1e-12);
    EXPECT_NEAR(g_flyByState.aircraft.longitude, 90 * DEG_TO_RAD, 1e-12);
    EXPECT_NEAR(g_flyByState.aircraft.altitude, 3280.84, 1e-9);
}

TEST_F(Engine, RefreshesTheClockThenTheAircraftInOrder) {
    StartRunning();
    g_refreshed.clear();
    Tick();
    const std::vector<uint32_t> expect = {0x05, 0x47, 0x48, 0x49, 0x56, 0x4D, 0x4F, 0x3D};
    EXPECT_EQ(g_refreshed, expect);
}

TEST_F(Engine, FirstPlacementComesOnTheSecondTickAndThenEveryDuration) {
    Tick();
    EXPECT_EQ(g_flyByState.clockAccumulator, 1.0f); // clamped first interval, not beyond
    EXPECT_EQ(cameraWrites, 0);
    Tick();
    EXPECT_EQ(cameraWrites, 1);
    EXPECT_EQ(g_flyByState.countdown, 10.0f);
    int ticks = 0;
    while (cameraWrites == 1 && ticks < 100) {
        SetAircraft(47, 8 + ticks * 0.001, 3000, 0, 0, 360); // the camera words change each time
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 21); // 10 s of 500 ms ticks, then below zero on the next
}

struct PlacementCase {
    const char* what;
    double speedKmh, headingDeg, pitchDeg;
    int32_t placement, relAltitudeFt;
    double expectNorth, expectEast, expectAltitudeFt;
};

TEST_F(Engine, PlacesTheCameraAheadAndBesideTheTrack) {
    const PlacementCase cases[] = {
        {"360 km/h north, right", 360, 0, 0, 0, 0, 1000, 100, 3000},
        {"360 km/h north, right, 250 ft up", 360, 0, 0, 0, 250, 1000, 100, 3250},
        {"parked, left", 0, 0, 0, 1, 0, 50, -5, 3000},
        {"east, right is south", 360, 90, 0, 0, 0, -100, 1000, 3000},
        {"pitch 10 degrees down", 360, 0, 10, 0, 0, 984.8077530, 100,
         3000 - 173.6481777 * 0.5 * 3.28084},
    };
    for (const PlacementCase& c : cases) {
        SetUp();
        Settings_Set(g_flyBySettings.FlyByCameraPlacement, c.placement);
        Settings_Set(g_flyBySettings.FlyByRelAltitude, c.relAltitudeFt);
        SetAircraft(47, 8, 3000, c.headingDeg, c.pitchDeg, c.speedKmh);
        StartRunning();
        double north, east;
        Offset(g_flyByState.cameraPoint, &north, &east);
        // 0.1 m: over 1 km the tangent plane drops 0.08 m below the parallel.
        EXPECT_NEAR(north, c.expectNorth, 0.1) << c.what;
        EXPECT_NEAR(east, c.expectEast, 0.1) << c.what;
        EXPECT_NEAR(g_flyByState.cameraPoint.altitude, c.expectAltitudeFt, 1e-6) << c.what;
        EXPECT_EQ(g_flyByState.cameraHeadingDeg, c.headingDeg) << c.what;
    }
}

TEST_F(Engine, PlacementWritesTheChosenPointToTheHost) {
    StartRunning();
    GeoPosition expect = g_flyByState.cameraPoint;
    uint8_t encoded[32] = {};
    Camera_SetOutputAddresses(reinterpret_cast<uintptr_t>(encoded));
    Camera_WritePosition(&expect);
    EXPECT_EQ(memcmp(encoded, camera, CAMERA_MEMORY_SIZE), 0);
}

// A seed whose first rand() has the given low 15 bits (this C library's
// generator), or -1.
int SeedGiving(int wanted) {
    for (int seed = 1; seed < 20000000; ++seed) {
        srand(static_cast<unsigned>(seed));
        if ((rand() & 0x7FFF) == wanted)
            return seed;
    }
    return -1;
}

// The random side: 0 to 16384 of the generator's 15 bits put the camera
// left, 16385 to 32767 right; each boundary value is tried.
TEST_F(Engine, RandomSideFollowsTheGeneratorsHalves) {
    Settings_Set(g_flyBySettings.FlyByCameraPlacement, 2);
    Settings_Set(g_flyBySettings.FlyByDuration, 0); // a placement every running tick
    const int cases[][2] = {{0, -1}, {16383, -1}, {16384, -1}, {16385, 1}, {32767, 1}};
    Tick();
    for (const auto& c : cases) {
        const int seed = SeedGiving(c[0]);
        ASSERT_NE(seed, -1) << c[0];
        srand(static_cast<unsigned>(seed));
        Tick();
        EXPECT_EQ(g_flyByState.side, c[1]) << "rand() gave " << c[0];
    }
}

// A host value that is not a number or is infinite (ground speed, position)
// leaves the camera where it was, placement and travelling alike; usable
// values bring the fly-by back on the next tick.
TEST_F(Engine, UnusableHostValuesLeaveTheCameraWhereItWas) {
    const double bad[] = {NAN, INFINITY, -INFINITY};
    const uint32_t tokens[] = {HOST_TOKEN_GROUND_SPEED, HOST_TOKEN_LATITUDE, HOST_TOKEN_LONGITUDE,
                               HOST_TOKEN_ALTITUDE,     HOST_TOKEN_HEADING,  HOST_TOKEN_PITCH};
    for (int travelling : {0, 1}) {
        for (uint32_t token : tokens) {
            for (double value : bad) {
                SetUp();
                Settings_Set(g_flyBySettings.FlyByDuration, 0); // a placement every running tick
                Settings_Set(g_flyBySettings.FlyByTravelling, travelling);
                StartRunning();
                uint8_t placed[32];
                memcpy(placed, camera, sizeof camera);
                const double good = g_hostValues[token];
                g_hostValues[token] = value;
                for (int i = 0; i < 4; ++i)
                    Tick();
                EXPECT_EQ(memcmp(placed, camera, sizeof camera), 0)
                    << "token " << token << " value " << value << " travelling " << travelling;
                g_hostValues[token] = good;
                SetAircraft(47.001, 8, 3000, 0, 0, 360);
                Tick();
                EXPECT_NE(memcmp(placed, camera, sizeof camera), 0) << "token " << token;
            }
        }
    }
}

TEST_F(Engine, UnknownPlacementKeepsThePreviousSide) {
    Settings_Set(g_flyBySettings.FlyByCameraPlacement, 7);
    StartRunning(); // no side yet: the camera stands on the track line
    double north, east;
    Offset(g_flyByState.cameraPoint, &north, &east);
    EXPECT_EQ(g_flyByState.side, 0);
    EXPECT_NEAR(east, 0.0, 0.01);

    SetUp();
    Settings_Set(g_flyBySettings.FlyByCameraPlacement, 1);
    Settings_Set(g_flyBySettings.FlyByDuration, 0);
    StartRunning();
    Settings_Set(g_flyBySettings.FlyByCameraPlacement, 7);
    Tick();
    EXPECT_EQ(g_flyByState.side, -1);
}

TEST_F(Engine, DurationOfZeroOrLessPlacesEveryTickAtLeastMinDistance) {
    for (int32_t duration : {0, -5}) {
        SetUp();
        Settings_Set(g_flyBySettings.FlyByDuration, duration);
        StartRunning();
        for (int i = 0; i < 4; ++i) {
            SetAircraft(47 + (i + 1) * 0.001, 8, 3000, 0, 0, 360);
            Tick();
        }
        EXPECT_EQ(cameraWrites, 5) << duration;
        EXPECT_EQ(g_flyByState.flyByDistance, 50.0) << duration;
    }
}

TEST_F(Engine, PausesWhileTheClockStandsStillAndResumesOnTheFirstChange) {
    StartRunning();
    const float countdown = g_flyByState.countdown;
    for (int i = 0; i < 40; ++i) // 20 s frozen: no countdown, no placement
        Tick(500, false);
    // The first frozen sample may still see the last running second.
    EXPECT_GE(g_flyByState.countdown, countdown - 1.5f);
    EXPECT_EQ(g_flyByState.clockDelta, 0.0f);
    EXPECT_EQ(cameraWrites, 1);
    g_hostValues[HOST_TOKEN_CLOCK] += 0.5; // resumes on the next sample
    Tick(500, false);
    Tick(500, false);
    Tick(500, false);
    EXPECT_NE(g_flyByState.clockDelta, 0.0f);
    EXPECT_LT(g_flyByState.countdown, countdown - 1.4f);
}

// Past 2^24 (4.7 hours of milliseconds) a float no longer holds the clock:
// a sample kept as a float made a paused clock differ from itself at some
// values and a running one stand still at others. Kept as a double, a
// clock that stands still is a pause at any value, and one that moves by a
// millisecond is running.
TEST_F(Engine, PausesAreSeenAtClocksAFloatCannotHold) {
    const double clocks[] = {
        16777217.0,       // 2^24 + 1
        20160001.0,       // 5.6 hours of milliseconds, odd
        1002240001.0,     // 11.6 days, not a multiple of a float's 64 ms step there
        4503599627370497, // 2^52 + 1
    };
    for (const double clock : clocks) {
        SetUp();
        g_hostValues[HOST_TOKEN_CLOCK] = clock;
        StartRunning();
        const int writes = cameraWrites;
        const float countdown = g_flyByState.countdown;
        for (int i = 0; i < 30; ++i) // 15 s standing still
            Tick(500, false);
        EXPECT_EQ(g_flyByState.clockDelta, 0.0f) << clock;
        EXPECT_EQ(cameraWrites, writes) << clock;
        EXPECT_GE(g_flyByState.countdown, countdown - 1.5f) << clock;
        g_hostValues[HOST_TOKEN_CLOCK] += 1.0; // one millisecond on: running again
        for (int i = 0; i < 3; ++i)
            Tick(500, false);
        EXPECT_EQ(g_flyByState.clockDelta, 1.0f) << clock;
        EXPECT_LT(g_flyByState.countdown, countdown - 1.4f) << clock;
    }
}

TEST_F(Engine, LongGapsCountAsOneSecond) {
    StartRunning();
    const float countdown = g_flyByState.countdown;
    Tick(7000);
    EXPECT_EQ(g_flyByState.tickInterval, 1.0f);
    EXPECT_EQ(g_flyByState.countdown, countdown - 1.0f);
}

TEST_F(Engine, MillisecondCounterWrapCostsOneOrdinaryInterval) {
    g_nowMs = 4294966000u; // 1.296 s before the wrap
    StartRunning();
    const float countdown = g_flyByState.countdown;
    Tick(500); // 4294966500 + 500 ms stays below 2^32
    Tick(500); // wraps
    Tick(500);
    EXPECT_GT(g_flyByState.tickInterval, 0.0f);
    EXPECT_LE(g_flyByState.tickInterval, 1.0f);
    EXPECT_NEAR(g_flyByState.countdown, countdown - 1.5f, 0.6f);
}

TEST_F(Engine, SwitchedOffKeepsOnlyTheTiming) {
    StartRunning();
    Settings_Set(g_flyBySettings.FlyByActive, 0);
    const FlyByState before = g_flyByState;
    g_refreshed.clear();
    Tick();
    Tick();
    EXPECT_TRUE(g_refreshed.empty());
    EXPECT_EQ(g_flyByState.countdown, before.countdown);
    EXPECT_EQ(g_flyByState.previousTickMs, static_cast<float>(g_nowMs));
    EXPECT_EQ(g_flyByState.tickInterval, 0.5f);
}

TEST_F(Engine, NoFunctionTableYetMeansNothingToSample) {
    ImportTable[0].functionTable = nullptr;
    for (int i = 0; i < 6; ++i)
        Tick();
    EXPECT_EQ(cameraWrites, 0);
    EXPECT_EQ(g_flyByState.clockAccumulator, 0.0f);
    ImportTable[0].functionTable = g_table; // the host fills it late
    Tick();
    Tick();
    Tick();
    EXPECT_EQ(cameraWrites, 1);
}

// Travelling: with the camera point set by hand, where does the camera stand
// when the aircraft is at a given distance from it?
struct TravelCase {
    double aircraftDistance, expectShift;
};

TEST_F(Engine, TravellingSlidesTheCameraAsideWithinMinDistance) {
    Settings_Set(g_flyBySettings.FlyByTravelling, 1);
    StartRunning();
    double north, east;
    Offset(g_flyByState.cameraPoint, &north, &east);
    EXPECT_NEAR(east, 0.0, 0.01); // on the track
    const GeoPosition point = g_flyByState.cameraPoint;

    const TravelCase cases[] = {{60, 0}, {50, 0}, {20, 30}, {0, 50}};
    for (const TravelCase& c : cases) {
        // The aircraft c.aircraftDistance metres south of the point, on its track.
        const double lat = point.latitude - c.aircraftDistance / (60 * 1852.0) * DEG_TO_RAD;
        SetAircraft(lat * RAD_TO_DEG, point.longitude * RAD_TO_DEG + 360, 3000, 0, 0, 360);
        Tick();
        const int32_t lonWhole =
            *reinterpret_cast<int32_t*>(camera + CAMERA_OFFSET_LONGITUDE_WHOLE);
        const uint32_t lonFrac =
            *reinterpret_cast<uint32_t*>(camera + CAMERA_OFFSET_LONGITUDE_FRACTION);
        const double units = lonWhole + (lonWhole < 0 ? -1.0 : 1.0) * lonFrac / 4294967295.0;
        const double cameraLon = units / 2147483648.0 * PI;
        const double shift =
            remainder(cameraLon - point.longitude, 2 * PI) * 6367310.0 * cos(point.latitude);
        EXPECT_NEAR(shift, c.expectShift, 0.05) << c.aircraftDistance;
        EXPECT_EQ(g_flyByState.cameraPoint.latitude, point.latitude); // the chosen point stays
    }
}

GeoPosition g_written;
int g_writes;
void Written(const GeoPosition* position) {
    g_written = *position;
    ++g_writes;
}

// The pass share (FlyByPassAt): the fly-by distance is what the aircraft
// flies in that share of the period, never less than the minimum distance;
// a share outside 10 to 100 counts as 100.
TEST_F(Engine, PassShareShortensTheFlyByDistance) {
    const struct {
        int32_t passAt, minDistance;
        double speedKmh, expectNorth;
    } cases[] = {
        {100, 50, 360, 1000}, {60, 50, 360, 600},   {10, 50, 360, 100},
        {10, 150, 360, 150},  {9, 50, 360, 1000},   {0, 50, 360, 1000},
        {101, 50, 360, 1000}, {-60, 50, 360, 1000}, {60, 50, 0, 50},
    };
    for (const auto& c : cases) {
        SetUp();
        Settings_Set(g_flyBySettings.FlyByPassAt, c.passAt);
        Settings_Set(g_flyBySettings.FlyByMinDistance, c.minDistance);
        SetAircraft(47, 8, 3000, 0, 0, c.speedKmh);
        StartRunning();
        double north, east;
        Offset(g_flyByState.cameraPoint, &north, &east);
        EXPECT_NEAR(g_flyByState.flyByDistance, c.expectNorth, 1e-9) << c.passAt;
        EXPECT_NEAR(north, c.expectNorth, 0.1) << c.passAt;
        EXPECT_NEAR(east, c.expectNorth / 10, 0.1) << c.passAt; // a tenth to the side
        EXPECT_EQ(g_flyByState.countdown, 10.0f) << c.passAt;   // the period is unchanged
    }
}

// With the pass before the period's end, the travelling camera keeps its
// full slide once the aircraft has passed the point, until the next
// placement; at 100 % it returns onto the point as it always did.
TEST_F(Engine, TravellingHoldsTheSlideAfterAnEarlyPass) {
    const struct {
        int32_t passAt;
        double aircraftPastM, expectShift;
    } cases[] = {
        {60, -20, 30},  {60, 0, 50},   {60, 20, 50},  {60, 200, 50},
        {100, -20, 30}, {100, 20, 30}, {100, 200, 0},
    };
    for (const auto& c : cases) {
        SetUp();
        Camera_SetObserver(Written);
        Settings_Set(g_flyBySettings.FlyByTravelling, 1);
        Settings_Set(g_flyBySettings.FlyByPassAt, c.passAt);
        StartRunning();
        const GeoPosition point = g_flyByState.cameraPoint;
        // The aircraft on the track (heading north), before or past the point.
        const double lat = point.latitude + c.aircraftPastM / 6367310.0;
        SetAircraft(lat * RAD_TO_DEG, point.longitude * RAD_TO_DEG, 3000, 0, 0, 360);
        Tick();
        const double east = remainder(g_written.longitude - point.longitude, 2 * PI) * 6367310.0 *
                            cos(point.latitude);
        EXPECT_NEAR(east, c.expectShift, 0.1) << c.passAt << " at " << c.aircraftPastM;
    }
    Camera_SetObserver(nullptr);
}

// Travelling: the slide is square to the heading the aircraft had at
// placement (not its heading now), it stands still while the simulation is
// paused, and a negative minimum distance slides to the other side.
TEST_F(Engine, TravellingSlidesSquareToThePlacementHeadingAndFreezesWhilePaused) {
    struct Case {
        double headingDeg;
        int32_t minDistance;
        double expectEast, expectNorth; // the slide with the aircraft on the point
    };
    const Case cases[] = {{0, 50, 50, 0}, {90, 50, 0, -50}, {0, -50, -50, 0}};
    for (const Case& c : cases) {
        SetUp();
        Camera_SetObserver(Written);
        Settings_Set(g_flyBySettings.FlyByTravelling, 1);
        Settings_Set(g_flyBySettings.FlyByMinDistance, c.minDistance);
        SetAircraft(47, 8, 3000, c.headingDeg, 0, 360);
        StartRunning();
        const GeoPosition point = g_flyByState.cameraPoint;
        // The aircraft on the point, now heading elsewhere.
        SetAircraft(point.latitude * RAD_TO_DEG, point.longitude * RAD_TO_DEG, 3000,
                    c.headingDeg + 45, 0, 360);
        Tick();
        uint8_t slid[32];
        memcpy(slid, camera, sizeof camera);
        const double north = (g_written.latitude - point.latitude) * 6367310.0;
        const double east = remainder(g_written.longitude - point.longitude, 2 * PI) * 6367310.0 *
                            cos(point.latitude);
        EXPECT_NEAR(east, c.expectEast, 0.05) << c.headingDeg << " " << c.minDistance;
        EXPECT_NEAR(north, c.expectNorth, 0.05) << c.headingDeg << " " << c.minDistance;

        // Paused (the pause shows at the second clock sample after the clock
        // stops, at most six ticks), the aircraft moves on (a slew): the
        // camera stays.
        for (int i = 0; i < 6; ++i)
            Tick(500, false);
        memcpy(slid, camera, sizeof camera);
        SetAircraft(point.latitude * RAD_TO_DEG + 0.0002, point.longitude * RAD_TO_DEG, 3000,
                    c.headingDeg, 0, 360);
        for (int i = 0; i < 6; ++i)
            Tick(500, false);
        EXPECT_EQ(memcmp(slid, camera, sizeof camera), 0) << c.headingDeg;
    }
    Camera_SetObserver(nullptr);
}

// A duration changed between fly-bys takes effect when the next one is
// placed: the countdown already running keeps its old length.
TEST_F(Engine, AChangedDurationTakesEffectAtTheNextFlyBy) {
    Camera_SetObserver(Written);
    g_writes = 0;
    Settings_Set(g_flyBySettings.FlyByDuration, 4);
    StartRunning(); // countdown 4 s
    Settings_Set(g_flyBySettings.FlyByDuration, 2);
    int ticks = 0;
    for (; g_writes == 1 && ticks < 20; ++ticks)
        Tick();
    EXPECT_EQ(ticks, 9) << "the 4 s countdown runs out on the ninth 500 ms tick";
    EXPECT_EQ(g_flyByState.countdown, 2.0f);
    ticks = 0;
    for (; g_writes == 2 && ticks < 20; ++ticks)
        Tick();
    EXPECT_EQ(ticks, 5) << "then every 2 s";
    Camera_SetObserver(nullptr);
}

// Following a turn (FlyByFollowTurn 1): the rate comes from the headings
// of two running ticks in a row, across north the short way; the point lies
// on the predicted circle with the side offset square to the heading there.
TEST_F(Engine, FollowingATurnLaysThePointOnThePredictedCircle) {
    struct Case {
        const char* what;
        double firstHeading, secondHeading; // degrees, 500 ms apart
        double expectRate;                  // degrees per second
        double expectEast, expectNorth;     // metres from the aircraft; 1 km fly-by, 100 m side
    };
    const double r4 = 100 / (4 * DEG_TO_RAD); // 100 m/s at 4 deg/s
    const double t40 = 40 * DEG_TO_RAD;       // 10 s at 4 deg/s
    const Case cases[] = {
        {"straight", 0, 0, 0, 100, 1000},
        {"too slight to matter", 0, 0.02, 0.04, 100, 1000},
        {"right through north", 359, 1, 4, r4 * (1 - cos(t40)) + 100 * cos(t40),
         r4 * sin(t40) - 100 * sin(t40)},
        {"left through north", 1, 359, -4, -r4 * (1 - cos(t40)) + 100 * cos(t40),
         r4 * sin(t40) + 100 * sin(t40)},
        // 36 deg/s would turn 360 degrees in 10 s: capped at half a circle.
        {"more than half a circle", 0, 18, 36, 2 * 100 / (36 * DEG_TO_RAD) - 100, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        Settings_Set(g_flyBySettings.FlyByFollowTurn, 1);
        Settings_Set(g_flyBySettings.FlyByMinDistance, 0);
        SetAircraft(47, 8, 3000, c.firstHeading, 0, 360); // 100 m/s: 1000 m in 10 s
        Tick();
        Tick(); // the first placement: one sample only, the straight rule
        SetAircraft(47, 8, 3000, c.secondHeading, 0, 360);
        g_flyByState.countdown = 0.1f; // the next placement on this tick
        Tick();
        EXPECT_NEAR(g_flyByState.turnRateDegPerS, c.expectRate, 1e-6) << c.what;
        // The point in the aircraft's frame at placement: right and ahead.
        double north, east;
        Offset(g_flyByState.cameraPoint, &north, &east);
        const double h = c.secondHeading * DEG_TO_RAD;
        const double right = east * cos(h) - north * sin(h), ahead = east * sin(h) + north * cos(h);
        EXPECT_NEAR(right, c.expectEast, 0.5) << c.what;
        EXPECT_NEAR(ahead, c.expectNorth, 0.5) << c.what;
    }
}

// The rate follows the latest samples (a reversed turn bends the other way
// at once), and after a pause the first placement takes the straight rule.
TEST_F(Engine, FollowingATurnReversesAtOnceAndForgetsAcrossAPause) {
    Settings_Set(g_flyBySettings.FlyByFollowTurn, 1);
    StartRunning();
    SetAircraft(47, 8, 3000, 2, 0, 360);
    Tick();
    EXPECT_GT(g_flyByState.turnRateDegPerS, 0);
    SetAircraft(47, 8, 3000, 1, 0, 360);
    Tick();
    EXPECT_LT(g_flyByState.turnRateDegPerS, 0);
    for (int i = 0; i < 8; ++i)
        Tick(500, false); // paused
    EXPECT_EQ(g_flyByState.headingSamples, 0);
    SetAircraft(47, 8, 3000, 30, 0, 360); // 29 degrees further on while paused
    g_flyByState.countdown = 0.1f;        // a placement on the first running tick
    const int writes = cameraWrites;
    for (int i = 0; i < 6 && cameraWrites == writes; ++i)
        Tick(); // the clock runs again; the pause ends at its next sample
    ASSERT_EQ(cameraWrites, writes + 1);
    EXPECT_EQ(g_flyByState.headingSamples, 1);
    double north, east;
    Offset(g_flyByState.cameraPoint, &north, &east);
    const double h = 30 * DEG_TO_RAD;
    EXPECT_NEAR(east * cos(h) - north * sin(h), 100, 0.5) << "straight: 100 m right of the track";
    EXPECT_EQ(g_flyByState.cameraHeadingDeg, 30.0);
}

} // namespace
