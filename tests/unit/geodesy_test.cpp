// tests/unit/geodesy_test.cpp
// Rotations, offsets laid on the earth and great-circle distance and
// bearing, checked against worked values and an independent closed form.
#include "geo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double PI = 3.141592653589793;

// The offset's point in earth-centred coordinates, read back as latitude and
// longitude: the closed form the nine rotation steps must agree with.
GeoPosition ClosedFormOffset(const GeoPosition& origin, double east, double north) {
    const double cp = cos(origin.latitude), sp = sin(origin.latitude);
    const double cl = cos(origin.longitude), sl = sin(origin.longitude);
    const double up[3] = {cp * cl, cp * sl, sp};
    const double e[3] = {-sl, cl, 0.0};
    const double n[3] = {-sp * cl, -sp * sl, cp};
    double p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = EARTH_RADIUS_M * up[i] + east * e[i] + north * n[i];
    return GeoPosition{atan2(p[2], hypot(p[0], p[1])), atan2(p[1], p[0]), 0.0};
}

double WrapPi(double angle) {
    return remainder(angle, 2 * PI);
}

TEST(Vec3Rotate, TurnsANorthwardVectorAsTheLocalFrameExpects) {
    const double h = 30 * PI / 180;
    Vector3 v = {0, 0, 1000};
    Vec3_RotateY(&v, h);
    EXPECT_NEAR(v.x, 1000 * sin(h), 1e-9);
    EXPECT_NEAR(v.z, 1000 * cos(h), 1e-9);
    EXPECT_EQ(v.y, 0.0);

    Vector3 w = {7, 0, 1000};
    Vec3_RotateX(&w, 10 * PI / 180);
    EXPECT_NEAR(w.y, -173.6481776669, 1e-9);
    EXPECT_NEAR(w.z, 984.8077530122, 1e-9);
    EXPECT_EQ(w.x, 7.0);
}

TEST(Vec3Angle, CoversEachBranch) {
    const Vector3 o = {0, 0, 0};
    const Vector3 east = {1, 0, 0}, north = {0, 0, 1}, up = {0, 1, 0}, south = {0, 0, -1};
    EXPECT_DOUBLE_EQ(Vec3_AngleXZ(&north, &o), PI);     // dz != 0
    EXPECT_DOUBLE_EQ(Vec3_AngleXZ(&south, &o), 2 * PI); // atan2(0, -1) = pi
    EXPECT_DOUBLE_EQ(Vec3_AngleXZ(&east, &o), PI / 2);  // dz == 0, dx != 0
    EXPECT_EQ(Vec3_AngleXZ(&up, &o), 0.0);              // no x-z difference
    EXPECT_EQ(Vec3_AngleYZ(&north, &o), 0.0);           // dy exactly 0
    EXPECT_DOUBLE_EQ(Vec3_AngleYZ(&up, &o), PI / 2);
    EXPECT_DOUBLE_EQ(Vec3_AngleXZ(&o, &north), 2 * PI); // difference is p - q
}

struct ZeroOffsetCase {
    double latDeg, lonDeg, expectLatDeg, expectLonDeg;
};

TEST(GeoOffsetToPosition, ZeroOffsetKeepsThePointWithLongitudeInMinusTwoPiToZero) {
    const ZeroOffsetCase cases[] = {
        {-30, -120, -30, -120},
        {60, 170, 60, -190},
        {0, 10, 0, -350},
        {45, -179.5, 45, -179.5},
    };
    for (const ZeroOffsetCase& c : cases) {
        const GeoPosition origin = {c.latDeg * PI / 180, c.lonDeg * PI / 180, 123.0};
        const Vector3 zero = {0, 555, 0};
        GeoPosition out;
        Geo_OffsetToPosition(&origin, &zero, &out);
        EXPECT_NEAR(out.latitude * 180 / PI, c.expectLatDeg, 1e-9) << c.latDeg << "," << c.lonDeg;
        EXPECT_NEAR(out.longitude * 180 / PI, c.expectLonDeg, 1e-9) << c.latDeg << "," << c.lonDeg;
        EXPECT_EQ(out.altitude, 0.0);
    }
}

TEST(GeoOffsetToPosition, NorthOffsetAtTheOriginAndEastOffsetFollowingTheTangentPlane) {
    const GeoPosition origin = {0, 0, 0};
    const Vector3 north = {0, 99, 1000};
    GeoPosition out;
    Geo_OffsetToPosition(&origin, &north, &out);
    EXPECT_NEAR(out.latitude, atan(1000 / 6367310.0), 1e-15);
    EXPECT_NEAR(out.longitude, -2 * PI, 1e-12);

    const GeoPosition at45 = {PI / 4, 0.3, 0};
    const Vector3 east = {1000, 0, 0};
    Geo_OffsetToPosition(&at45, &east, &out);
    const double drop = at45.latitude - out.latitude;
    EXPECT_GT(drop, 1.2e-8);
    EXPECT_LT(drop, 1.4e-8);
}

TEST(GeoOffsetToPosition, AgreesWithTheClosedFormEverywhere) {
    srand(7);
    for (int i = 0; i < 2000; ++i) {
        const double lat = (rand() / (double)RAND_MAX - 0.5) * 0.999 * PI;
        const double lon = (rand() / (double)RAND_MAX - 0.5) * 4 * PI;
        const double east = (rand() / (double)RAND_MAX - 0.5) * 200000;
        const double north = (rand() / (double)RAND_MAX - 0.5) * 200000;
        const GeoPosition origin = {lat, lon, 0};
        const Vector3 offset = {east, 0, north};
        GeoPosition out;
        Geo_OffsetToPosition(&origin, &offset, &out);
        const GeoPosition expect = ClosedFormOffset(origin, east, north);
        ASSERT_NEAR(out.latitude, expect.latitude, 1e-12) << i;
        ASSERT_NEAR(WrapPi(out.longitude - expect.longitude), 0.0, 1e-10) << i;
        ASSERT_GE(out.longitude, -2 * PI) << i;
        ASSERT_LT(out.longitude, 0.0) << i;
    }
}

// The law of cosines resolves no better than about 1.5e-8 rad (0.1 m) near
// zero distance, and its bearing to about 1e-4 degrees over one degree.
struct DistanceCase {
    double fromLat, fromLon, toLat, toLon; // degrees
    double distance, bearing, tolerance;
};

TEST(GeoDistanceBearing, WorkedCases) {
    const DistanceCase cases[] = {
        {0, 0, 0, 350, 1111200, 270, 0.01}, // across the date line the short way
        {0, 0, 0, 10, 1111200, 90, 0.01},    {0, 0, 0, 180, 0, 0, 0}, // exactly antipodal
        {10, 20, 11, 20, 111120, 0, 0.01},   // due north: the quotient may pass 1
        {11, 20, 10, 20, 111120, 180, 0.01}, // due south
    };
    for (const DistanceCase& c : cases) {
        const GeoPosition from = {c.fromLat * PI / 180, c.fromLon * PI / 180, 0};
        const GeoPosition to = {c.toLat * PI / 180, c.toLon * PI / 180, 5000};
        double distance = -1, bearing = -1;
        Geo_DistanceBearing(&from, &to, &distance, &bearing);
        EXPECT_NEAR(distance, c.distance, c.tolerance) << c.toLat << "," << c.toLon;
        EXPECT_NEAR(bearing, c.bearing, 1e-4) << c.toLat << "," << c.toLon;
    }
}

TEST(GeoDistanceBearing, CoincidentPointsGiveNearZeroNotNaN) {
    // Over the camera point, rounding can carry the cosine just above 1.
    srand(11);
    for (int i = 0; i < 5000; ++i) {
        const double lat = (rand() / (double)RAND_MAX - 0.5) * 3.1;
        const double lon = (rand() / (double)RAND_MAX - 0.5) * 6.2;
        const GeoPosition p = {lat, lon, 0};
        const GeoPosition q = {lat, lon - 2 * PI, 0};
        double distance = -1, bearing = -1;
        Geo_DistanceBearing(&p, &p, &distance, &bearing);
        ASSERT_FALSE(std::isnan(distance)) << i;
        ASSERT_LT(distance, 0.2) << i;
        ASSERT_TRUE(bearing >= 0.0 && bearing <= 360.0) << i << " " << bearing;
        Geo_DistanceBearing(&p, &q, &distance, &bearing);
        ASSERT_LT(distance, 0.2) << i;
        ASSERT_TRUE(bearing >= 0.0 && bearing <= 360.0) << i << " " << bearing;
    }
}

TEST(GeoDistanceBearing, InvertsAnOffsetAtTheFlyBysScale) {
    const GeoPosition origin = {47 * PI / 180, 8 * PI / 180, 0};
    const Vector3 offset = {100, 0, 1000};
    GeoPosition camera;
    Geo_OffsetToPosition(&origin, &offset, &camera);
    double distance, bearing;
    Geo_DistanceBearing(&origin, &camera, &distance, &bearing);
    // 111120 m per degree of arc against the 6367310 m radius of offsets.
    const double scale = 111120.0 / (6367310.0 * PI / 180);
    EXPECT_NEAR(distance, hypot(100, 1000) * scale, 0.01);
    EXPECT_NEAR(bearing, atan2(100, 1000) * 180 / PI, 1e-4);
}

} // namespace
