/**
 * @file airdata.h
 * @brief The standard atmosphere with a caller-given tropopause, density
 * altitude, speed of sound, calibrated airspeed to Mach number and true
 * airspeed, 300-unit band comparisons and random-number helpers.
 *
 * Units: altitudes in feet, temperatures in degrees Celsius (kelvin inside,
 * offset 273.15), pressure in inches of mercury, density in kg/m^3, speeds
 * in knots. All arithmetic is in double precision.
 *
 * The tropopause: every atmosphere function takes the tropopause altitude
 * as its first argument; none is built in. Pass 36089 ft (11,000 m, the
 * standard atmosphere's): the pressure and density above the tropopause
 * start from fixed values that belong to that altitude, so with another
 * tropopause the two branches no longer meet. "Above the tropopause" means
 * strictly above; at the tropopause itself the lower formulas apply. The
 * formulas hold from sea level to about 65,000 ft; outside their domain
 * (an absolute temperature of 0 K or below, altitudes far beyond that
 * range) the results are undefined, possibly NaN.
 *
 * Threads: like the whole library, these functions run on their caller's
 * thread and take no locks. All but the random helpers are pure and may run
 * on any thread. Nothing here allocates or reports an error. Usable from C
 * (C89 and later) and C++.
 */
#ifndef SKORVAN_AIRDATA_H
#define SKORVAN_AIRDATA_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** Standard temperature: 15 - 0.0019812 x altitude, and -56.5 above the
 *  tropopause.
 *  @param tropopauseFt tropopause altitude, feet (36089)
 *  @param altitudeFt   altitude, feet
 *  @return degrees Celsius */
double AirData_IsaTemperature(double tropopauseFt, double altitudeFt);
/** Standard pressure: 29.92126 inHg at sea level, 6.683239562734 inHg at a
 *  36089 ft tropopause, decaying exponentially above it.
 *  @param tropopauseFt tropopause altitude, feet (36089)
 *  @param altitudeFt   altitude, feet
 *  @return inches of mercury */
double AirData_IsaPressure(double tropopauseFt, double altitudeFt);
/** Standard density: 1.225 kg/m^3 at sea level, 0.36391761 at a 36089 ft
 *  tropopause, decaying exponentially above it.
 *  @param tropopauseFt tropopause altitude, feet (36089)
 *  @param altitudeFt   altitude, feet
 *  @return kg/m^3 */
double AirData_IsaDensity(double tropopauseFt, double altitudeFt);
/** Density altitude; equal to the pressure altitude when the outside air
 *  has the standard temperature (5000 ft at 25 C gives about 7262 ft).
 *  @param tropopauseFt       tropopause altitude, feet (36089)
 *  @param pressureAltitudeFt pressure altitude, feet
 *  @param outsideAirC        outside air temperature, degrees Celsius,
 *                            above -273.15
 *  @return feet */
double AirData_DensityAltitude(double tropopauseFt, double pressureAltitudeFt, double outsideAirC);
/** Speed of sound at 288.15 K (15 C).
 *  @return knots, about 661.48 */
double AirData_SeaLevelSpeedOfSound(void);
/** Speed of sound: 38.967854 x sqrt(kelvin).
 *  @param outsideAirC outside air temperature, degrees Celsius, at least
 *                     -273.15 (NaN below)
 *  @return knots */
double AirData_SpeedOfSound(double outsideAirC);
/** Mach number of a calibrated airspeed, by the subsonic relation (no
 *  supersonic branch): 250 kt at 10,000 ft gives about 0.4523.
 *  @param tropopauseFt       tropopause altitude, feet (36089)
 *  @param calibratedKt       calibrated airspeed, knots, 0 or more (0 gives 0)
 *  @param pressureAltitudeFt pressure altitude, feet
 *  @return Mach number */
double AirData_MachFromCas(double tropopauseFt, double calibratedKt, double pressureAltitudeFt);
/** True airspeed: AirData_MachFromCas times AirData_SpeedOfSound.
 *  @param tropopauseFt       tropopause altitude, feet (36089)
 *  @param calibratedKt       calibrated airspeed, knots, 0 or more
 *  @param pressureAltitudeFt pressure altitude, feet
 *  @param outsideAirC        outside air temperature, degrees Celsius
 *  @return knots */
double AirData_TasFromCas(double tropopauseFt, double calibratedKt, double pressureAltitudeFt,
                          double outsideAirC);

/** Whether two values lie within 300 of each other (strictly: exactly 300
 *  apart gives 0).
 *  @param value     any unit (feet, say)
 *  @param reference the same unit
 *  @return 1 when |reference - value| < 300, else 0 */
int32_t AirData_IsWithin300(double value, double reference);
/** Whether a value lies more than 300 below a reference (strictly).
 *  @param value     any unit
 *  @param reference the same unit
 *  @return 1 when reference - 300 > value, else 0 */
int32_t AirData_IsBelowBy300(double value, double reference);
/** Whether a value lies more than 300 above a reference (strictly).
 *  @param value     any unit
 *  @param reference the same unit
 *  @return 1 when reference + 300 < value, else 0 */
int32_t AirData_IsAboveBy300(double value, double reference);

/** A predicate that always holds, for tables of conditions.
 *  @return 1 */
int32_t Util_ReturnTrue(void);
/** One draw r of the C library's rand (its low 15 bits).
 *  @note Thread: rand's state is shared by the process and nothing here
 *  seeds it (call srand yourself); call the random helpers from one thread.
 *  @return r / 32767: 0 to 1, both ends reachable */
double Util_Random01(void);
/** One draw r of the C library's rand.
 *  @note Thread: as Util_Random01.
 *  @return 1 when bit 7 of r is set, else 0 */
int32_t Util_RandomBit(void);
/** One draw r of the C library's rand (its low 15 bits).
 *  @note Thread: as Util_Random01.
 *  @return r / 16383.5 - 1: -1 to 1, both ends reachable */
double Util_RandomSigned(void);

#ifdef __cplusplus
}
#endif

#endif
