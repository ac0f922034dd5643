/**
 * @file geo.h
 * @brief Positions and vectors on a spherical earth, angles, radio
 * frequencies, coordinate text and two control steps.
 *
 * The shared types GeoPosition and Vector3, the angle and earth constants,
 * rotations, offsets laid on the earth, great-circle distance and bearing;
 * vector algebra, earth-centred vectors, interpolation, angle wrapping,
 * packed angle and radio-frequency formats, coordinate text; and two
 * control steps (a rate-limited approach and a PID step).
 *
 * Units: angles in radians unless a name or parameter says degrees
 * (degrees are used only at files, settings and the simulator's
 * variables); distances in metres; altitudes in feet.
 *
 * Threads: like the whole library, these functions run on their caller's
 * thread and take no locks. They are pure: they read and write only their
 * arguments and keep no state, so any thread may call them on records no
 * other thread is changing at the same time.
 *
 * Ownership and errors: every record is the caller's; results are written
 * through out pointers the caller owns, and an out record may not be an
 * input of the same call unless the function says so. Pointer arguments
 * must not be null. Nothing here allocates, keeps a pointer or reports an
 * error. Accuracy is double precision on a sphere of EARTH_RADIUS_M; where
 * a formula loses more, its function says how much and over what range.
 * Usable from C (C89 and later) and C++.
 */
#ifndef SKORVAN_GEO_H
#define SKORVAN_GEO_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** A point on or above the earth. Where a function speaks of a "sphere
 *  point", the third field is read as the distance from the earth's centre
 *  (in the unit the caller wants vectors in) instead of an altitude. */
typedef struct GeoPosition {
    double latitude; /**< Radians, positive north, in [-pi/2, pi/2]. */
    /** Radians, positive east; values congruent modulo 2 pi name the same meridian. */
    double longitude;
    /** Feet above the sphere (or, for a sphere point, distance from the centre). */
    double altitude;
} GeoPosition;

/** A vector of three doubles. As an offset at a position it is in metres in
 *  that position's local frame: x east, y up, z north. */
typedef struct Vector3 {
    double x; /**< East component of a local offset (metres), or x of an earth vector. */
    double y; /**< Up component of a local offset (metres), or y (toward the north pole). */
    double z; /**< North component of a local offset (metres), or z (toward 0 N 180 E). */
} Vector3;

/* ---- Units and formats: every constant of the module in one place --------------- */

/** Degrees to radians: the simulator's own factor, which differs from pi/180
 *  in its last digits; callers rely on that. */
static const double DEG_TO_RAD = 0.01745329251944;
/** Radians to degrees: the simulator's own factor, near but not equal to
 *  the reciprocal of DEG_TO_RAD. */
static const double RAD_TO_DEG = 57.29577951471995;
/** Pi (radians). */
static const double GEO_PI = 3.141592653589793;
/** Pi / 2, the quarter turn (radians). */
static const double GEO_HALF_PI = 1.5707963267948966;
/** 2 pi, the full turn (radians). */
static const double GEO_TWO_PI = 6.283185307179586;

/** Radius of the earth sphere used for offsets and the map (metres), the
 *  simulator's own figure. */
static const double EARTH_RADIUS_M = 6367310.0;
/** Minutes of arc per degree, for great-circle distances. */
static const double GEO_MINUTES_PER_DEGREE = 60.0;
/** Metres per minute of arc (the nautical mile): great-circle distances
 *  count 111120 m per degree. */
static const double GEO_METRES_PER_MINUTE = 1852.0;

/** Feet per metre, used for metres to feet. Not the exact reciprocal of
 *  GEO_METRES_PER_FOOT (3.28084 x 0.3048 is 1.0000000032): each is used
 *  where the simulator uses it. */
static const double GEO_FEET_PER_METRE = 3.28084;
/** Metres per foot, used for feet to metres. */
static const double GEO_METRES_PER_FOOT = 0.3048;

/** Units per degree of the simulator's aircraft-latitude variable. */
static const double GEO_LATITUDE_UNITS_PER_DEGREE = 111130.0;

/** Units of a quarter turn in the simulator's camera memory. Packed
 *  latitudes use two figures for the quarter turn that differ by 5 parts in
 *  a million (some 28 m at 50 degrees of latitude), so each format must be
 *  read and written with its own figure. */
static const double GEO_CAMERA_QUARTER_TURN = 10001700.0;
/** Units of a quarter turn in the simulator's scenery files and the packed
 *  angle formats (Angle_FromPacked24, Angle_FromPacked32). */
static const double GEO_SCENERY_QUARTER_TURN = 10001750.0;
/** Packed 32-bit longitudes: 2^31 units per half turn. */
static const double GEO_PACKED_HALF_TURN = 2147483648.0;

/** Rotates a vector about the x axis in place: a positive angle turns +z
 *  toward +y.
 *  @param v     the vector, read and written
 *  @param angle radians, any value */
void Vec3_RotateX(Vector3* v, double angle);
/** Rotates a vector about the y axis in place: a positive angle turns +z
 *  toward +x, so a heading measured clockwise from north turns a northward
 *  vector along it.
 *  @param v     the vector, read and written
 *  @param angle radians, any value */
void Vec3_RotateY(Vector3* v, double angle);
/** Angle of p - q in the y-z plane.
 *  @param p first point
 *  @param q second point
 *  @return radians: atan2(dz, dy) + pi/2, or 0 when dy is exactly 0 */
double Vec3_AngleYZ(const Vector3* p, const Vector3* q);
/** Angle of p - q in the x-z plane.
 *  @param p first point
 *  @param q second point
 *  @return radians in (0, 2 pi]; 0 for a zero difference */
double Vec3_AngleXZ(const Vector3* p, const Vector3* q);

/** The position reached from an origin by a metric offset laid on the
 *  tangent plane and carried back to the sphere along the radius.
 *  Accuracy: an offset of length L lands R atan(L/R) from the origin along
 *  the sphere, short of L by about L^3 / 3R^2: under 1 cm up to 10 km, 8 m
 *  at 100 km. Meant for offsets of a few kilometres.
 *  @param origin the starting position (radians; altitude ignored)
 *  @param offset metres, x east and z north; y is ignored
 *  @param out    written: latitude in [-pi/2, pi/2], longitude in
 *                [-2 pi, 0) (congruent to the true one), altitude 0; may be
 *                the same record as origin */
void Geo_OffsetToPosition(const GeoPosition* origin, const Vector3* offset, GeoPosition* out);

/** An origin with the sines and cosines of its rotations worked out once,
 *  for many offsets from it. Filled by Geo_PrepareOffsetOrigin; the caller
 *  never sets its fields. */
typedef struct GeoOffsetOrigin {
    double cosLatitude;  /**< Cosine of the origin's latitude. */
    double sinLatitude;  /**< Sine of the origin's latitude. */
    double cosLongitude; /**< Cosine of minus the origin's longitude. */
    double sinLongitude; /**< Sine of minus the origin's longitude. */
} GeoOffsetOrigin;
/** Prepares an origin for Geo_OffsetFromOrigin.
 *  @param origin   the origin (radians)
 *  @param prepared written completely */
void Geo_PrepareOffsetOrigin(const GeoPosition* origin, GeoOffsetOrigin* prepared);
/** Geo_OffsetToPosition from a prepared origin, with exactly its results.
 *  @param prepared from Geo_PrepareOffsetOrigin
 *  @param offset   metres, x east and z north; y is ignored
 *  @param out      written: the position reached, altitude 0 */
void Geo_OffsetFromOrigin(const GeoOffsetOrigin* prepared, const Vector3* offset, GeoPosition* out);

/** An origin for short offsets given as metres east and north. Filled by
 *  Geo_PrepareShortOrigin; the caller never sets its fields. */
typedef struct GeoShortOrigin {
    GeoPosition origin; /**< Copy of the origin. */
    double sinLatitude; /**< Sine of the origin's latitude. */
    double cosLatitude; /**< Cosine of the origin's latitude. */
} GeoShortOrigin;
/** Prepares an origin for Geo_ShortOffsetToPosition.
 *  @param origin   the origin (radians)
 *  @param prepared written completely */
void Geo_PrepareShortOrigin(const GeoPosition* origin, GeoShortOrigin* prepared);
/** The point Geo_OffsetToPosition reaches from the prepared origin, to
 *  within a few units in the last place (about 1e-15 rad), by series
 *  instead of rotations. Offsets beyond about 99 km, or reaching past a
 *  pole, take the rotations themselves.
 *  @param prepared from Geo_PrepareShortOrigin
 *  @param east     metres east of the origin
 *  @param north    metres north of the origin
 *  @param out      written: latitude, longitude in [-2 pi, 0), altitude 0 */
void Geo_ShortOffsetToPosition(const GeoShortOrigin* prepared, double east, double north,
                               GeoPosition* out);

/** Great-circle distance and initial bearing from one position to another,
 *  by the spherical law of cosines; altitudes are ignored and any two
 *  positions are valid input. Coincident and exactly antipodal positions
 *  give 0 and 0; a start exactly at a pole gives bearing 0. Near coincident
 *  points the distance resolves about 0.1 m, and the bearing of points
 *  closer than a few metres is rough; beyond that, double precision.
 *  @param from     start (radians)
 *  @param to       target (radians)
 *  @param distance written: metres, counting 111120 m per degree of arc
 *  @param bearing  written: degrees clockwise from true north, [0, 360] */
void Geo_DistanceBearing(const GeoPosition* from, const GeoPosition* to, double* distance,
                         double* bearing);

/* ---- Vectors ---------------------------------------------------------------- */

/** Rotates a vector about the z axis in place: a positive angle turns +x
 *  toward +y.
 *  @param v     the vector, read and written
 *  @param angle radians, any value */
void Vec3_RotateZ(Vector3* v, double angle);
/** Dot product.
 *  @param a first vector
 *  @param b second vector
 *  @return a.x b.x + a.y b.y + a.z b.z */
double Vec3_Dot(const Vector3* a, const Vector3* b);
/** Cross product.
 *  @param a   first vector
 *  @param b   second vector
 *  @param out written: a x b; must be a record other than a and b */
void Vec3_Cross(const Vector3* a, const Vector3* b, Vector3* out);
/** Euclidean length.
 *  @param v the vector
 *  @return its length, in the vector's unit */
double Vec3_Length(const Vector3* v);
/** Scales a vector to length 1 in place; the zero vector becomes (0, 0, 1).
 *  @param v the vector, read and written */
void Vec3_Normalise(Vector3* v);

/* ---- Earth vectors and interpolation ------------------------------------------ */

/** The earth-centred vector of a sphere point: x toward 0 N 90 E, y toward
 *  the north pole, z toward 0 N 180 E.
 *  @param point a sphere point: radians, and its distance from the centre
 *               in place of the altitude
 *  @param out   written, in the unit of that distance */
void Geo_ToEarthVector(const GeoPosition* point, Vector3* out);
/** The vector from reference to target in the reference's local frame
 *  (x east, y up, z north). The chord dips below the local horizontal: a
 *  target 1000 m north gives about (0, -0.08, 1000).
 *  @param target    sphere point (radians, distance from the centre)
 *  @param reference sphere point (radians, distance from the centre)
 *  @param out       written, in the unit of the distances */
void Geo_RelativeVector(const GeoPosition* target, const GeoPosition* reference, Vector3* out);
/** A point on the great circle from a to b, not at a uniform rate in t.
 *  @param a   start (radians)
 *  @param b   end (radians)
 *  @param t   0 gives a, 1 gives b; values between move along the circle
 *  @param out written: latitude, longitude in (-pi, pi], altitude 0 */
void Geo_InterpolateGreatCircle(const GeoPosition* a, const GeoPosition* b, double t,
                                GeoPosition* out);
/** A point between a and b through a's tangent plane. Off the great circle
 *  by the tangent plane's error (see Geo_OffsetToPosition): for points
 *  within some tens of kilometres.
 *  @param a   start (radians, altitude in feet)
 *  @param b   end (radians, altitude in feet)
 *  @param t   0 gives a, 1 gives b
 *  @param out written: longitude wrapped into (-pi, pi], altitude (feet)
 *             interpolated linearly */
void Geo_InterpolateTangent(const GeoPosition* a, const GeoPosition* b, double t, GeoPosition* out);

/* ---- Angles ------------------------------------------------------------------- */

/** Wraps an angle in place into (-pi, pi]. NaN and infinities become NaN.
 *  @param angle radians, read and written */
void Angle_WrapRad(double* angle);
/** Wraps an angle in place into (-180, 180]. NaN and infinities become NaN.
 *  @param angle degrees, read and written */
void Angle_WrapDeg(double* angle);
/** a - b after wrapping both into [-pi, pi] and moving one of them by a
 *  turn when they lie on either side of the +-pi line: 170 and -170 degrees
 *  give -20 degrees. Not always the shortest way round (180 and -80
 *  degrees give 260).
 *  @param a radians
 *  @param b radians
 *  @return radians; NaN when either input is NaN or infinite */
double Angle_DifferenceRad(double a, double b);
/** Angle_DifferenceRad in degrees.
 *  @param a degrees
 *  @param b degrees
 *  @return degrees; NaN when either input is NaN or infinite */
double Angle_DifferenceDeg(double a, double b);
/** A packed 24-bit angle of the simulator's records.
 *  @param packed a signed 24-bit value in the low bits (bit 23 is the sign),
 *                in units of 2 / GEO_SCENERY_QUARTER_TURN of a quarter turn
 *  @return radians; values beyond pi/2 are folded back by pi */
double Angle_FromPacked24(int32_t packed);
/** A packed 32-bit angle of the simulator's records.
 *  @param packed signed, in units of 1 / (128 GEO_SCENERY_QUARTER_TURN) of a
 *                quarter turn
 *  @return radians; values beyond pi/2 are folded back by pi */
double Angle_FromPacked32(int32_t packed);

/* ---- Radio frequencies and coordinate text -------------------------------------- */

/** A frequency from four BCD digits d3 d2 d1 d0 meaning 1d3d2.d1d0 MHz:
 *  0x1234 is 112.34 MHz, 0x0000 is 100.00 MHz.
 *  @param bcd the code in the low 16 bits; higher bits are ignored
 *  @return MHz, 100.00 to 199.99 */
double Frequency_FromBcd(uint32_t bcd);
/** The BCD code of a frequency, snapped to the 50 kHz channel (112.35 gives
 *  0x1235, 112.30 gives 0x1230).
 *  @param megahertz 100.00 to 199.95 MHz
 *  @return the four-digit code; 0 below 100 MHz or for NaN */
uint32_t Frequency_ToBcd(double megahertz);
/** Writes a frequency as text such as "112.35", rounded to the nearest
 *  10 kHz.
 *  @param megahertz MHz
 *  @param text      the caller's buffer; written and NUL-terminated, cut
 *                   short to fit (nothing is written when size is 0)
 *  @param size      bytes available in text, NUL included; 8 is enough
 *                   for 100 to 999.99 MHz */
void Frequency_Format(double megahertz, char* text, size_t size);
/** Writes a position as hemisphere letter, whole degrees and minutes to a
 *  tenth, such as "N45\xB030.0 W10\xB015.0" (the degree sign is the single
 *  byte 0xB0 of the ANSI code page). The longitude is wrapped into
 *  (-180, 180] first.
 *  @param position radians; the altitude is ignored
 *  @param text     the caller's buffer; written and NUL-terminated, cut
 *                  short to fit (nothing is written when size is 0)
 *  @param size     bytes available in text, NUL included; 24 is enough */
void Geo_FormatLatLon(const GeoPosition* position, char* text, size_t size);

/* ---- Control steps ------------------------------------------------------------ */

/** The step time Control_StepToward scales its rate by. Set stepTime before
 *  each call. */
typedef struct ControlContext {
    /** Length of one step, in the unit the rate is per (seconds for a rate per second). */
    double stepTime;
} ControlContext;

/** Moves a value toward a target by rate x stepTime. A step that lands
 *  exactly on the target returns 0; the next call with that target then
 *  returns 0 without moving.
 *  @param context supplies stepTime
 *  @param value   read and written
 *  @param target  the value to approach
 *  @param rate    change per unit of stepTime; not negative
 *  @return 1 when the step would have passed the target and value was set
 *          to it, else 0 */
int32_t Control_StepToward(const ControlContext* context, double* value, double target,
                           double rate);

/** One proportional-integral-derivative controller, advanced by Pid_Step.
 *  The step takes no time argument: gains are per step.
 *
 *  To set one up, zero the whole record, then set kp, ki and kd, and
 *  integralMin below integralMax (the integral is held in that range, so
 *  with both left 0 the integral part stays 0), and previousInput to the
 *  first measured value (or the first step's derivative part kicks).
 *  Before each step set input (and setpoint when it changes); read output
 *  after it. */
typedef struct PidController {
    int32_t tag;     /**< The caller's; the step never reads or writes it. */
    double input;    /**< Measured value, set by the caller before each step. */
    double setpoint; /**< Wanted value, set by the caller. */
    double error;    /**< Written: setpoint - input. */
    double pTerm;    /**< Written: kp x error. */
    double iTerm;    /**< Written: ki x integral. */
    double dTerm; /**< Written: (previousInput - input) x kd; acts on the input, not the error. */
    double integral;      /**< Running sum of the errors, kept between steps; start it at 0. */
    double previousInput; /**< Input of the previous step, kept between steps. */
    double integralMin;   /**< Lower limit of integral. */
    double integralMax;   /**< Upper limit of integral; at least integralMin. */
    double kp;            /**< Proportional gain. */
    double ki;            /**< Integral gain (per step). */
    double kd;            /**< Derivative gain (per step). */
    double output;        /**< Written: pTerm + iTerm + dTerm, limited to [-1, 1]. */
} PidController;

/** One controller step: error, the three parts and output are written,
 *  integral and previousInput advance. A proportional part beyond +-1
 *  clears the integral, so that the integral does not wind up.
 *  @param controller set up as PidController says, read and written */
void Pid_Step(PidController* controller);

#ifdef __cplusplus
}
#endif

#endif
