// tests/unit/short_offset_test.cpp
// geo/short_offset.cpp: the series for short offsets against the
// rotations of Geo_OffsetToPosition, and its fall-back beyond the series.
#include "geo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

const double PI = 3.141592653589793;

double WrapPi(double angle) {
    return remainder(angle, 2 * PI);
}

// The series must land where the rotations do, to the last place or two;
// offsets the series cannot take (far, past a pole) must be the rotations'
// own results, bit for bit.
TEST(GeoShortOffset, AgreesWithTheRotationsAndFallsBackBeyondTheSeries) {
    srand(11);
    int fellBack = 0;
    for (int i = 0; i < 20000; ++i) {
        const double lat = (rand() / (double)RAND_MAX - 0.5) * PI;
        const double lon = (rand() / (double)RAND_MAX - 0.5) * (i % 5 == 0 ? 40 : 2) * PI;
        const double reach = i % 9 == 0 ? 400000 : 6000;
        const double east = (rand() / (double)RAND_MAX - 0.5) * reach;
        const double north = (rand() / (double)RAND_MAX - 0.5) * reach;
        const GeoPosition origin = {lat, lon, 300};
        GeoShortOrigin prepared;
        Geo_PrepareShortOrigin(&origin, &prepared);
        GeoPosition got, expect;
        Geo_ShortOffsetToPosition(&prepared, east, north, &got);
        const Vector3 offset = {east, 0, north};
        Geo_OffsetToPosition(&origin, &offset, &expect);
        ASSERT_NEAR(got.latitude, expect.latitude, 2e-15) << i;
        // A longitude of many turns keeps only its own last place.
        ASSERT_NEAR(WrapPi(got.longitude - expect.longitude), 0.0, 2e-15 * fmax(1, fabs(lon))) << i;
        ASSERT_GE(got.longitude, -2 * PI) << i;
        ASSERT_LT(got.longitude, 0.0) << i;
        ASSERT_EQ(got.altitude, 0.0);
        if (got.longitude == expect.longitude && got.latitude == expect.latitude)
            ++fellBack;
    }
    EXPECT_GT(fellBack, 0);
    const GeoPosition nearPole = {89.99 * PI / 180, 0.3, 0};
    GeoShortOrigin prepared;
    Geo_PrepareShortOrigin(&nearPole, &prepared);
    GeoPosition got, expect;
    Geo_ShortOffsetToPosition(&prepared, 100, 3000, &got); // 1.1 km short of the pole, 3 km on
    const Vector3 offset = {100, 0, 3000};
    Geo_OffsetToPosition(&nearPole, &offset, &expect);
    EXPECT_EQ(got.latitude, expect.latitude);
    EXPECT_EQ(got.longitude, expect.longitude);
}

} // namespace
