// tests/unit/angles_test.cpp
// geo/angles.cpp: angle wraps and differences and the packed angles;
// worked values and the wrap ranges over many random inputs.
#include "geo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const double PI = 3.141592653589793;

struct WrapCase {
    double in, out;
};

TEST(Angles, WrapIntoTheirHalfOpenRanges) {
    const WrapCase degrees[] = {{540, 180}, {-180, 180}, {360, 0},
                                {180, 180}, {-190, 170}, {725, 5}};
    for (const WrapCase& c : degrees) {
        double v = c.in;
        Angle_WrapDeg(&v);
        EXPECT_DOUBLE_EQ(v, c.out) << c.in;
    }
    double r = -PI;
    Angle_WrapRad(&r);
    EXPECT_DOUBLE_EQ(r, PI);

    std::mt19937 random(3);
    std::uniform_real_distribution<double> any(-1e5, 1e5);
    for (int i = 0; i < 20000; ++i) {
        double d = any(random), rad = any(random) / 100;
        Angle_WrapDeg(&d);
        Angle_WrapRad(&rad);
        ASSERT_GT(d, -180.0);
        ASSERT_LE(d, 180.0);
        ASSERT_GT(rad, -PI);
        ASSERT_LE(rad, PI);
    }
}

TEST(Angles, NonFiniteAndHugeAnglesEndAtOnce) {
    const double odd[] = {INFINITY, -INFINITY, NAN};
    for (double x : odd) {
        double v = x;
        Angle_WrapDeg(&v);
        EXPECT_TRUE(std::isnan(v));
        EXPECT_TRUE(std::isnan(Angle_DifferenceDeg(x, 10)));
    }
    double huge = 1e300;
    Angle_WrapDeg(&huge); // many turns: reduced first, not looped 1e297 times
    EXPECT_GT(huge, -180.0);
    EXPECT_LE(huge, 180.0);
    double turns = 360.0 * 1e6 + 30;
    Angle_WrapDeg(&turns);
    EXPECT_NEAR(turns, 30.0, 1e-6);
}

TEST(Angles, DifferencesAcrossTheHalfTurnLine) {
    EXPECT_DOUBLE_EQ(Angle_DifferenceDeg(170, -170), -20);
    EXPECT_DOUBLE_EQ(Angle_DifferenceDeg(-170, 170), 20);
    EXPECT_DOUBLE_EQ(Angle_DifferenceDeg(180, -80), 260); // neither side moves
    EXPECT_DOUBLE_EQ(Angle_DifferenceDeg(370, 5), 5);
    // DEG_TO_RAD is not exactly pi/180, so 340 of them miss a turn by 2e-10.
    EXPECT_NEAR(Angle_DifferenceRad(170 * DEG_TO_RAD, -170 * DEG_TO_RAD), -20 * DEG_TO_RAD, 1e-9);
}

TEST(PackedAngles, SignExtendAndFoldBeyondAQuarterTurn) {
    EXPECT_EQ(Angle_FromPacked24(0), 0.0);
    EXPECT_NEAR(Angle_FromPacked24(5000875), PI / 2, 1e-15); // a quarter turn
    // Bit 23 set: negative, whatever bits 24 to 31 held.
    EXPECT_DOUBLE_EQ(Angle_FromPacked24(0x00FFFFFF), Angle_FromPacked24(-1));
    EXPECT_LT(Angle_FromPacked24(0x00800000), 0.0);
    EXPECT_NEAR(Angle_FromPacked32(10001750 * 64), PI / 4, 1e-15);
    // Past a quarter turn: folded back by half a turn.
    EXPECT_NEAR(Angle_FromPacked32(10001750 * 128 + 128 * 1000),
                1000 / 10001750.0 * PI / 2 - PI / 2, 1e-12);
}

} // namespace
