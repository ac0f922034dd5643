// avionics/airdata/airdata.cpp
// The standard atmosphere and the air-data conversions built on it.
#include "airdata.h"

#include <cmath>

static const double KELVIN_OFFSET = 273.15;
static const double SEA_LEVEL_TEMPERATURE_C = 15.0;
static const double SEA_LEVEL_TEMPERATURE_K = 288.15;
static const double LAPSE_RATE_C_PER_FT = 0.0019812;
static const double TROPOPAUSE_TEMPERATURE_C = -56.5;
// The stored factor is one unit in the last place below the double nearest
// to 6.8755856e-6; results depend on that bit.
static const double PRESSURE_LAPSE_PER_FT = 0x1.CD69A942874AEp-18;
static const double PRESSURE_EXPONENT = 5.2558797;
static const double DENSITY_EXPONENT = 4.2558797;
static const double SEA_LEVEL_PRESSURE_INHG = 29.92126;
static const double SEA_LEVEL_DENSITY = 1.225;
static const double TROPOPAUSE_PRESSURE_INHG = 6.683239562734;
static const double TROPOPAUSE_DENSITY = 0.36391761;
static const double STRATOSPHERE_DECAY_PER_FT = -0.00004806346;
static const double DENSITY_ALTITUDE_EXPONENT = 0.234969;
static const double SPEED_OF_SOUND_FACTOR = 38.967854; // knots per square root of kelvin
static const double TWO_SEVENTHS = 0.2857142857142857;
static const double BAND_HALF_WIDTH = 300.0;

double AirData_IsaTemperature(double tropopauseFt, double altitudeFt) {
    if (altitudeFt > tropopauseFt)
        return TROPOPAUSE_TEMPERATURE_C;
    return SEA_LEVEL_TEMPERATURE_C - LAPSE_RATE_C_PER_FT * altitudeFt;
}

double AirData_IsaPressure(double tropopauseFt, double altitudeFt) {
    if (altitudeFt > tropopauseFt)
        return TROPOPAUSE_PRESSURE_INHG *
               exp(STRATOSPHERE_DECAY_PER_FT * (altitudeFt - tropopauseFt));
    return SEA_LEVEL_PRESSURE_INHG *
           pow(1.0 - PRESSURE_LAPSE_PER_FT * altitudeFt, PRESSURE_EXPONENT);
}

double AirData_IsaDensity(double tropopauseFt, double altitudeFt) {
    if (altitudeFt > tropopauseFt)
        return TROPOPAUSE_DENSITY * exp(STRATOSPHERE_DECAY_PER_FT * (altitudeFt - tropopauseFt));
    return SEA_LEVEL_DENSITY * pow(1.0 - PRESSURE_LAPSE_PER_FT * altitudeFt, DENSITY_EXPONENT);
}

double AirData_DensityAltitude(double tropopauseFt, double pressureAltitudeFt, double outsideAirC) {
    const double standardK =
        AirData_IsaTemperature(tropopauseFt, pressureAltitudeFt) + KELVIN_OFFSET;
    const double airK = outsideAirC + KELVIN_OFFSET;
    return pressureAltitudeFt + (standardK / LAPSE_RATE_C_PER_FT) *
                                    (1.0 - pow(standardK / airK, DENSITY_ALTITUDE_EXPONENT));
}

double AirData_SeaLevelSpeedOfSound(void) {
    return sqrt(SEA_LEVEL_TEMPERATURE_K) * SPEED_OF_SOUND_FACTOR;
}

double AirData_SpeedOfSound(double outsideAirC) {
    return sqrt(outsideAirC + KELVIN_OFFSET) * SPEED_OF_SOUND_FACTOR;
}

double AirData_MachFromCas(double tropopauseFt, double calibratedKt, double pressureAltitudeFt) {
    const double pressure = AirData_IsaPressure(tropopauseFt, pressureAltitudeFt);
    const double a0 = AirData_SeaLevelSpeedOfSound();
    const double ratio = calibratedKt / a0;
    const double impact = (pow(1.0 + 0.2 * ratio * ratio, 3.5) - 1.0) * SEA_LEVEL_PRESSURE_INHG;
    return pow(5.0 * (pow(impact / pressure + 1.0, TWO_SEVENTHS) - 1.0), 0.5);
}

double AirData_TasFromCas(double tropopauseFt, double calibratedKt, double pressureAltitudeFt,
                          double outsideAirC) {
    return AirData_MachFromCas(tropopauseFt, calibratedKt, pressureAltitudeFt) *
           AirData_SpeedOfSound(outsideAirC);
}

int32_t AirData_IsWithin300(double value, double reference) {
    return fabs(reference - value) < BAND_HALF_WIDTH;
}
int32_t AirData_IsBelowBy300(double value, double reference) {
    return reference - BAND_HALF_WIDTH > value;
}
int32_t AirData_IsAboveBy300(double value, double reference) {
    return reference + BAND_HALF_WIDTH < value;
}
