// tests/reference/geographiclib_test.cpp
// Great-circle distance and bearing, and both interpolations, checked
// against GeographicLib's geodesics on a sphere (flattening 0).
#include "geo.h"

#include <GeographicLib/Geodesic.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const double PI = 3.141592653589793;
// Geo_DistanceBearing counts 111120 m per degree of arc: that sphere.
const double DISTANCE_SPHERE_M = 111120.0 * 180.0 / PI;

double Deg(double radians) {
    return radians * 180.0 / PI;
}

TEST(AgainstGeographicLib, DistanceAndBearingOnTheSphere) {
    const GeographicLib::Geodesic sphere(DISTANCE_SPHERE_M, 0.0);
    std::mt19937 random(17);
    std::uniform_real_distribution<double> lat(-1.45, 1.45), lon(-PI, PI), step(-0.3, 0.3);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        const GeoPosition from = {lat(random), lon(random), 0};
        const GeoPosition to = {std::max(-1.5, std::min(1.5, from.latitude + step(random))),
                                from.longitude + step(random), 0};
        double distance, bearing;
        Geo_DistanceBearing(&from, &to, &distance, &bearing);
        double s12, azi1, azi2;
        sphere.Inverse(Deg(from.latitude), Deg(from.longitude), Deg(to.latitude), Deg(to.longitude),
                       s12, azi1, azi2);
        if (s12 < 1000.0)
            continue; // the law of cosines resolves only about 0.1 m near zero
        ++compared;
        // acos near 1 loses about half the digits: 0.1 m at most at this range.
        ASSERT_NEAR(distance, s12, 0.1 + s12 * 1e-12) << i;
        // The module's RAD_TO_DEG differs from 180/pi by 1 part in 1e13.
        const double expect = azi1 < 0 ? azi1 + 360.0 : azi1;
        ASSERT_NEAR(remainder(bearing - expect, 360.0), 0.0, 1e-4)
            << i << " " << bearing << " " << expect;
    }
    EXPECT_GT(compared, 19000);
}

// Both interpolations stay on the great circle from a to b: seen from a,
// the point lies in b's direction, no farther than b.
TEST(AgainstGeographicLib, InterpolationsFollowTheGreatCircle) {
    const GeographicLib::Geodesic sphere(EARTH_RADIUS_M, 0.0);
    std::mt19937 random(23);
    std::uniform_real_distribution<double> lat(-1.3, 1.3), lon(-PI, PI), step(-0.05, 0.05),
        t(0.05, 1.0);
    for (int i = 0; i < 5000; ++i) {
        const GeoPosition a = {lat(random), lon(random), 2000};
        const GeoPosition b = {a.latitude + step(random), a.longitude + step(random), 9000};
        double sAB, aziAB, azi2;
        sphere.Inverse(Deg(a.latitude), Deg(a.longitude), Deg(b.latitude), Deg(b.longitude), sAB,
                       aziAB, azi2);
        if (sAB < 100.0)
            continue;
        const double fraction = t(random);
        GeoPosition out[2];
        Geo_InterpolateGreatCircle(&a, &b, fraction, &out[0]);
        Geo_InterpolateTangent(&a, &b, fraction, &out[1]);
        for (const GeoPosition& p : out) {
            double sAP, aziAP;
            sphere.Inverse(Deg(a.latitude), Deg(a.longitude), Deg(p.latitude), Deg(p.longitude),
                           sAP, aziAP, azi2);
            ASSERT_NEAR(remainder(aziAP - aziAB, 360.0), 0.0, 1e-7) << i;
            ASSERT_LE(sAP, sAB * (1 + 1e-3)) << i; // tangent: stretched by altitude / R at most
        }
    }
}

} // namespace
