// tests/unit/host_flight_test.cpp
// host/flight.cpp: the stand-in simulator's flight model, its clock, and
// how it decodes the camera words the module writes.
#include "host.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(HostFlight, StraightScenarioFliesEastAtItsSpeed) {
    HostFlight flight;
    ASSERT_TRUE(HostFlight_Start(&flight, "straight"));
    EXPECT_EQ(flight.latitudeDeg, 47.0);
    EXPECT_NEAR(flight.altitudeM * 3.28084, 3000.0, 1e-6);
    for (int i = 0; i < 100; ++i)
        HostFlight_Advance(&flight, 0.1);
    const double metres = (flight.longitudeDeg - 8.0) * 3.141592653589793 / 180 * 6367310.0 *
                          cos(47.0 * 3.141592653589793 / 180);
    EXPECT_NEAR(metres, 1000.0, 0.5);
    EXPECT_NEAR(flight.clockS, 10.0, 1e-9);
    EXPECT_NEAR(HostFlight_Value(&flight, 0x47), 47.0 * 111130.0, 1e-3);
    EXPECT_EQ(HostFlight_Value(&flight, 0x3D), 360.0);
    EXPECT_EQ(HostFlight_Value(&flight, 0x99), 0.0);
}

TEST(HostFlight, ClockIsOneAFloatHoldsSoAPauseCanBeSeen) {
    HostFlight flight;
    ASSERT_TRUE(HostFlight_Start(&flight, "straight"));
    for (int i = 0; i < 3000; ++i) {
        HostFlight_Advance(&flight, 0.0173);
        const double clock = HostFlight_Value(&flight, 0x05);
        ASSERT_EQ(static_cast<double>(static_cast<float>(clock)), clock) << i;
    }
}

TEST(HostCamera, ReadsNegativeWordsWithTheSignOfTheWholePart) {
    const HostCameraWords words = {1073741823u, -5000000, 0, static_cast<int32_t>(0xC0000000u),
                                   -30};
    double lat, lon, alt;
    HostCamera_Decode(&words, &lat, &lon, &alt);
    EXPECT_NEAR(lat, -5000000.25 / 10001700.0 * 90.0, 1e-9);
    EXPECT_NEAR(lon, -90.0, 1e-9);
    EXPECT_NEAR(alt, -30 / 0.3048, 1e-9);
}

} // namespace
