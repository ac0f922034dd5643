// host/flight.cpp
// The stand-in simulator's flight model: a point that flies at a constant
// speed and pitch, turning at a constant rate, over a spherical earth.
#include "host.h"

#include <cmath>

static const double EARTH_RADIUS_M = 6367310.0;
static const double PI = 3.141592653589793;
static const double FEET_PER_METRE = 3.28084;

struct Scenario {
    const char* name;
    HostFlight start;
};

// All start at 47.0 N 8.0 E, 3000 ft; pitch is positive nose down.
static const Scenario SCENARIOS[] = {
    {"straight", {47.0, 8.0, 3000.0 / FEET_PER_METRE, 90.0, 0.0, 360.0, 0.0, 0.0}},
    {"turn", {47.0, 8.0, 3000.0 / FEET_PER_METRE, 90.0, 0.0, 360.0, 3.0, 0.0}},
    {"climb", {47.0, 8.0, 3000.0 / FEET_PER_METRE, 90.0, -5.0, 300.0, 0.0, 0.0}},
    {"parked", {47.0, 8.0, 1500.0 / FEET_PER_METRE, 270.0, 0.0, 0.0, 0.0, 0.0}},
};

bool HostFlight_Start(HostFlight* flight, const std::string& scenario) {
    for (const Scenario& s : SCENARIOS) {
        if (scenario == s.name) {
            *flight = s.start;
            return true;
        }
    }
    return false;
}

const char* HostFlight_ScenarioNames() {
    return "straight, turn, climb, parked";
}

void HostFlight_Advance(HostFlight* flight, double seconds) {
    const double distance = flight->groundSpeedKmh / 3.6 * seconds;
    const double pitch = flight->pitchDeg * PI / 180.0;
    const double heading = flight->headingDeg * PI / 180.0;
    const double along = distance * cos(pitch);
    const double latitude = flight->latitudeDeg * PI / 180.0;
    flight->latitudeDeg += along * cos(heading) / EARTH_RADIUS_M * 180.0 / PI;
    flight->longitudeDeg += along * sin(heading) / (EARTH_RADIUS_M * cos(latitude)) * 180.0 / PI;
    flight->longitudeDeg = fmod(flight->longitudeDeg + 540.0, 360.0) - 180.0;
    flight->altitudeM -= distance * sin(pitch);
    flight->headingDeg =
        fmod(flight->headingDeg + flight->turnRateDegPerS * seconds + 360.0, 360.0);
    flight->clockS += seconds;
}

double HostFlight_Value(const HostFlight* flight, uint32_t token) {
    switch (token) {
    case 0x05:
        // Whole milliseconds of simulation, so that a paused clock gives
        // the same value at every refresh. Past 2^24 ms (4.7 hours) a float
        // no longer holds them: long flights, or a clock set by the script,
        // show whether the module keeps the clock at its own precision.
        return floor(flight->clockS * 1000.0);
    case 0x3D:
        return flight->groundSpeedKmh;
    case 0x47:
        return flight->latitudeDeg * 111130.0;
    case 0x48:
        return flight->longitudeDeg / 360.0 * 281474976710656.0; // 2^48 per turn
    case 0x49:
        return flight->altitudeM;
    case 0x4D:
        return flight->pitchDeg;
    case 0x56:
        return flight->headingDeg;
    default:
        return 0.0;
    }
}

static double Units(int32_t whole, uint32_t fraction) {
    const double part = fraction / 4294967295.0;
    return whole < 0 ? whole - part : whole + part;
}

void HostCamera_Decode(const HostCameraWords* words, double* latitudeDeg, double* longitudeDeg,
                       double* altitudeFt) {
    *latitudeDeg = Units(words->latitudeWhole, words->latitudeFraction) / 10001700.0 * 90.0;
    *longitudeDeg = Units(words->longitudeWhole, words->longitudeFraction) / 2147483648.0 * 180.0;
    *altitudeFt = words->altitudeM / 0.3048;
}
