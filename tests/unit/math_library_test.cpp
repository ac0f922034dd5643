// tests/unit/math_library_test.cpp
// Vectors, earth vectors, angle wraps and differences, packed formats,
// frequency and coordinate text, and the two control steps: worked values
// and identities over many random inputs.
#include "geo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

const double PI = 3.141592653589793;

TEST(Vectors, DotCrossLengthAndNormalise) {
    const Vector3 a = {1, 2, 3}, b = {4, -5, 6};
    EXPECT_EQ(Vec3_Dot(&a, &b), 12.0);
    Vector3 c;
    Vec3_Cross(&a, &b, &c);
    EXPECT_EQ(c.x, 27.0);
    EXPECT_EQ(c.y, 6.0);
    EXPECT_EQ(c.z, -13.0);
    EXPECT_EQ(Vec3_Dot(&c, &a), 0.0);
    Vector3 v = {3, 0, 4};
    EXPECT_EQ(Vec3_Length(&v), 5.0);
    Vec3_Normalise(&v);
    EXPECT_DOUBLE_EQ(v.x, 0.6);
    EXPECT_DOUBLE_EQ(v.z, 0.8);
    Vector3 zero = {0, 0, 0};
    Vec3_Normalise(&zero);
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_EQ(zero.z, 1.0);
    Vector3 z = {1, 0, 7};
    Vec3_RotateZ(&z, PI / 2);
    EXPECT_NEAR(z.x, 0.0, 1e-15);
    EXPECT_NEAR(z.y, 1.0, 1e-15);
    EXPECT_EQ(z.z, 7.0);
}

TEST(Vectors, RotationsKeepLength) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> value(-1e4, 1e4), angle(-10, 10);
    for (int i = 0; i < 10000; ++i) {
        Vector3 v = {value(random), value(random), value(random)};
        const double length = Vec3_Length(&v);
        Vec3_RotateX(&v, angle(random));
        Vec3_RotateY(&v, angle(random));
        Vec3_RotateZ(&v, angle(random));
        ASSERT_NEAR(Vec3_Length(&v), length, length * 1e-14) << i;
    }
}

TEST(EarthVectors, AxesPolesAndTheChordDip) {
    const double r = EARTH_RADIUS_M;
    Vector3 v;
    const GeoPosition origin = {0, 0, r}, pole = {PI / 2, 1.0, r}, east = {0, PI / 2, r};
    Geo_ToEarthVector(&origin, &v);
    EXPECT_EQ(v.x, 0.0);
    EXPECT_EQ(v.y, 0.0);
    EXPECT_EQ(v.z, -r);
    Geo_ToEarthVector(&pole, &v);
    EXPECT_NEAR(v.x, 0.0, 1e-9);
    EXPECT_NEAR(v.y, r, 1e-9);
    EXPECT_NEAR(v.z, 0.0, 1e-9);
    Geo_ToEarthVector(&east, &v);
    EXPECT_NEAR(v.x, r, 1e-9);
    EXPECT_NEAR(v.z, 0.0, 1e-9);

    // 1000 m north of the reference: the chord dips below the horizontal.
    const GeoPosition reference = {0.7, 0.2, r}, north = {0.7 + 1000 / r, 0.2, r};
    Geo_RelativeVector(&north, &reference, &v);
    EXPECT_NEAR(v.x, 0.0, 1e-9);
    EXPECT_NEAR(v.y, -1000.0 * 1000.0 / (2 * r), 1e-6); // -0.0785 m
    EXPECT_NEAR(v.z, 1000.0, 1e-4);
}

TEST(EarthVectors, RelativeVectorOfAPointToItselfIsZero) {
    std::mt19937 random(8);
    std::uniform_real_distribution<double> lat(-1.5, 1.5), lon(-7, 7), radius(1, 1e7);
    for (int i = 0; i < 5000; ++i) {
        const GeoPosition p = {lat(random), lon(random), radius(random)};
        Vector3 v;
        Geo_RelativeVector(&p, &p, &v);
        ASSERT_EQ(Vec3_Length(&v), 0.0) << i;
    }
}

TEST(Interpolation, EndsReturnTheEndPoints) {
    const GeoPosition a = {0.3, -2.0, 100}, b = {-0.2, 4.5, 900}; // b's longitude beyond pi
    GeoPosition out;
    Geo_InterpolateGreatCircle(&a, &b, 0.0, &out);
    EXPECT_NEAR(out.latitude, a.latitude, 1e-15);
    EXPECT_NEAR(out.longitude, a.longitude, 1e-15);
    EXPECT_EQ(out.altitude, 0.0);
    Geo_InterpolateGreatCircle(&a, &b, 1.0, &out);
    EXPECT_NEAR(out.latitude, b.latitude, 1e-15);
    EXPECT_NEAR(out.longitude, b.longitude - 2 * PI, 1e-15);

    // Altitudes in feet, as positions carry them. a's altitude also serves
    // as the reference's distance from the centre, which stretches the
    // offset by altitude / R: over 2.2e-4 rad from 3000 ft, 1e-7 rad at b.
    const GeoPosition c = {0.3, -2.0, 3000}, d = {0.3001, -1.9998, 3500};
    Geo_InterpolateTangent(&c, &d, 0.0, &out);
    EXPECT_NEAR(out.latitude, c.latitude, 1e-12);
    EXPECT_NEAR(out.longitude, c.longitude, 1e-12);
    EXPECT_EQ(out.altitude, c.altitude);
    Geo_InterpolateTangent(&c, &d, 1.0, &out);
    EXPECT_NEAR(out.latitude, d.latitude, 2e-7);
    EXPECT_NEAR(out.longitude, d.longitude, 2e-7);
    Geo_InterpolateTangent(&c, &d, 0.5, &out);
    EXPECT_EQ(out.altitude, c.altitude + 250);
}

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

TEST(Frequencies, BcdCodesBothWays) {
    EXPECT_DOUBLE_EQ(Frequency_FromBcd(0x1234), 112.34);
    EXPECT_DOUBLE_EQ(Frequency_FromBcd(0x0000), 100.00);
    EXPECT_EQ(Frequency_ToBcd(112.35), 0x1235u); // its hundredths come out as 34
    EXPECT_EQ(Frequency_ToBcd(112.30), 0x1230u); // and 29
    EXPECT_EQ(Frequency_ToBcd(112.39), 0x1240u); // snapped up to the next channel
    EXPECT_EQ(Frequency_ToBcd(112.38), 0x1235u); // 37.99...: snapped to 35
    EXPECT_EQ(Frequency_ToBcd(108.00), 0x0800u);
    EXPECT_EQ(Frequency_ToBcd(119.99), 0x2000u); // carried into the tens
    EXPECT_EQ(Frequency_ToBcd(99.0), 0u);        // below 100 MHz: no code
    for (int channel = 0; channel < 200; ++channel) {
        const double mhz = 108.00 + channel * 0.05;
        ASSERT_NEAR(Frequency_FromBcd(Frequency_ToBcd(mhz)), mhz, 1e-9) << mhz;
    }
}

TEST(Text, FrequencyAndCoordinatesStayInTheirBuffers) {
    char text[32];
    Frequency_Format(112.35, text, sizeof text);
    EXPECT_STREQ(text, "112.35");
    Frequency_Format(Frequency_FromBcd(0x0805), text, sizeof text);
    EXPECT_STREQ(text, "108.05");

    const GeoPosition p = {45.5 * DEG_TO_RAD, -10.25 * DEG_TO_RAD, 0};
    Geo_FormatLatLon(&p, text, sizeof text);
    EXPECT_STREQ(text, "N45\xB0"
                       "30.0 W10\xB0"
                       "15.0");
    const GeoPosition south = {-0.5 * DEG_TO_RAD, 190 * DEG_TO_RAD, 0};
    Geo_FormatLatLon(&south, text, sizeof text);
    EXPECT_STREQ(text, "S0\xB0"
                       "30.0 W170\xB0"
                       "0.0");
    const GeoPosition almost = {45.99999 * DEG_TO_RAD, 0, 0};
    Geo_FormatLatLon(&almost, text, sizeof text);
    EXPECT_STREQ(text, "N46\xB0"
                       "0.0 E0\xB0"
                       "0.0"); // never 45 degrees 60.0

    char small[8];
    memset(small, 'x', sizeof small);
    Geo_FormatLatLon(&p, small, 5);
    EXPECT_STREQ(small, "N45\xB0");
    EXPECT_EQ(small[5], 'x');
    Frequency_Format(112.35, small, 4);
    EXPECT_STREQ(small, "112");
}

TEST(ControlStep, ApproachesAndLandsOnTheTarget) {
    const ControlContext context = {1.0};
    double value = 0;
    std::vector<std::pair<double, int>> steps;
    for (int i = 0; i < 4; ++i) {
        const int landed = Control_StepToward(&context, &value, 10, 4);
        steps.push_back({value, landed});
    }
    const std::vector<std::pair<double, int>> expect = {{4, 0}, {8, 0}, {10, 1}, {10, 0}};
    EXPECT_EQ(steps, expect);
    value = 3;
    const ControlContext half = {0.5};
    EXPECT_EQ(Control_StepToward(&half, &value, -1, 4), 0);
    EXPECT_EQ(value, 1.0);
    EXPECT_EQ(Control_StepToward(&half, &value, -1, 4), 0); // exactly on it
    EXPECT_EQ(value, -1.0);
}

TEST(Pid, ClearsTheIntegralWhenOverdrivenAndLimitsItsOutput) {
    PidController c = {};
    c.tag = 77;
    c.kp = 2;
    c.ki = 0.1;
    c.integral = 2.5;
    c.integralMin = -3;
    c.integralMax = 3;
    c.setpoint = 0.6;
    Pid_Step(&c);
    EXPECT_DOUBLE_EQ(c.pTerm, 1.2);
    EXPECT_EQ(c.integral, 0.0);
    EXPECT_EQ(c.output, 1.0);
    EXPECT_EQ(c.tag, 77);

    PidController held = {};
    held.kp = 0.5;
    held.ki = 0.1;
    held.kd = 10;
    held.integral = 5;
    held.integralMin = -3;
    held.integralMax = 3;
    held.setpoint = 1;
    held.previousInput = 0.3;
    Pid_Step(&held);
    EXPECT_EQ(held.integral, 3.0);
    EXPECT_DOUBLE_EQ(held.dTerm, 3.0); // on the input's change, not the error's
    EXPECT_EQ(held.previousInput, 0.0);
    EXPECT_EQ(held.output, 1.0);

    PidController low = {};
    low.kp = 0.3;
    low.kd = 10;
    low.integralMin = -1;
    low.integralMax = 1;
    low.input = 0.3;
    Pid_Step(&low);
    EXPECT_EQ(low.output, -1.0); // -0.09 - 3
}

} // namespace
