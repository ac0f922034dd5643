// geo/angles.cpp
// Angle wrapping and differences, and the simulator's packed angle formats.
#include "geo.h"

#include <cmath>
#include <limits>

// Angles many turns away would take the step-by-turn loops below
// arbitrarily long; reduce them to a few turns first. Angles within that
// range wrap exactly as the loops always have.
static const double MAX_TURNS_BY_LOOP = 64.0;

static double Reduced(double angle, double turn) {
    if (fabs(angle) > MAX_TURNS_BY_LOOP * turn)
        return fmod(angle, turn);
    return angle;
}

static void Wrap(double* angle, double turn, double half) {
    if (!std::isfinite(*angle)) {
        *angle = std::numeric_limits<double>::quiet_NaN();
        return;
    }
    double v = Reduced(*angle, turn);
    while (v < 0.0)
        v += turn;
    while (v > turn)
        v -= turn;
    if (v > half)
        v -= turn;
    *angle = v;
}

void Angle_WrapRad(double* angle) {
    Wrap(angle, GEO_TWO_PI, GEO_PI);
}
void Angle_WrapDeg(double* angle) {
    Wrap(angle, 360.0, 180.0);
}

static double Difference(double a, double b, double turn, double half, double quarter) {
    if (!std::isfinite(a) || !std::isfinite(b))
        return std::numeric_limits<double>::quiet_NaN();
    a = Reduced(a, turn);
    b = Reduced(b, turn);
    while (a > half)
        a -= turn;
    while (a < -half)
        a += turn;
    while (b > half)
        b -= turn;
    while (b < -half)
        b += turn;
    if (a > quarter && b < -quarter)
        b += turn;
    if (b > quarter && a < -quarter)
        a += turn;
    return a - b;
}

double Angle_DifferenceRad(double a, double b) {
    return Difference(a, b, GEO_TWO_PI, GEO_PI, GEO_HALF_PI);
}
double Angle_DifferenceDeg(double a, double b) {
    return Difference(a, b, 360.0, 180.0, 90.0);
}

static double FoldHalfTurn(double x) {
    return x > GEO_HALF_PI ? x - GEO_PI : x;
}

double Angle_FromPacked24(int32_t packed) {
    uint32_t bits = static_cast<uint32_t>(packed);
    if (bits & 0x00800000u)
        bits |= 0xFF000000u;
    const double v = static_cast<int32_t>(bits);
    return FoldHalfTurn(v * 2.0 / GEO_SCENERY_QUARTER_TURN * GEO_HALF_PI);
}

double Angle_FromPacked32(int32_t packed) {
    return FoldHalfTurn(packed / 128.0 / GEO_SCENERY_QUARTER_TURN * GEO_HALF_PI);
}
