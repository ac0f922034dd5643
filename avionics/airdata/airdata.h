/* avionics/airdata/airdata.h
 * The standard atmosphere with a caller-given tropopause, density altitude,
 * speed of sound, calibrated airspeed to Mach number and true airspeed,
 * 300-unit band comparisons and random-number helpers. Altitudes in feet,
 * temperatures in degrees Celsius, pressure in inches of mercury, density in
 * kg/m^3, speeds in knots. Pure functions (but the random ones, which draw
 * from the C library's rand). Usable from C and C++.
 *
 * Conventions: every function returns its value; none allocates or fails.
 * The atmosphere is the standard one, valid from sea level to about
 * 65,000 ft; the random helpers share rand()'s state, so call them from
 * one thread. */
#ifndef SKORVAN_AIRDATA_H
#define SKORVAN_AIRDATA_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Standard temperature (deg C) at altitude (ft); above the tropopause
 * (strictly) -56.5. */
double AirData_IsaTemperature(double tropopauseFt, double altitudeFt);
/* Standard pressure (inHg) at altitude (ft). */
double AirData_IsaPressure(double tropopauseFt, double altitudeFt);
/* Standard density (kg/m^3) at altitude (ft). */
double AirData_IsaDensity(double tropopauseFt, double altitudeFt);
/* Density altitude (ft) at a pressure altitude (ft) and outside air temperature (deg C). */
double AirData_DensityAltitude(double tropopauseFt, double pressureAltitudeFt, double outsideAirC);
/* Speed of sound (kt) at 288.15 K, and at an outside air temperature (deg C). */
double AirData_SeaLevelSpeedOfSound(void);
double AirData_SpeedOfSound(double outsideAirC);
/* Mach number of a calibrated airspeed (kt) at a pressure altitude (ft); subsonic relation. */
double AirData_MachFromCas(double tropopauseFt, double calibratedKt, double pressureAltitudeFt);
/* True airspeed (kt) of a calibrated airspeed (kt) at a pressure altitude (ft) and temperature (deg
 * C). */
double AirData_TasFromCas(double tropopauseFt, double calibratedKt, double pressureAltitudeFt,
                          double outsideAirC);

/* 1 when value and reference differ by less than 300; 1 when value is more
 * than 300 below / above reference. Exactly 300 apart, all three give 0. */
int32_t AirData_IsWithin300(double value, double reference);
int32_t AirData_IsBelowBy300(double value, double reference);
int32_t AirData_IsAboveBy300(double value, double reference);

int32_t Util_ReturnTrue(void);
/* One draw of rand() each: in [0, 1]; 0 or 1 (bit 7 of the draw); in [-1, 1]. */
double Util_Random01(void);
int32_t Util_RandomBit(void);
double Util_RandomSigned(void);

#ifdef __cplusplus
}
#endif

#endif
