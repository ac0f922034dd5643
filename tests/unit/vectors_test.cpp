// tests/unit/vectors_test.cpp
// geo/vectors.cpp: dot and cross products, length, normalising, the
// rotation about z, earth vectors and the two interpolations; worked values
// and identities over many random inputs.
#include "geo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

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

} // namespace
