// tests/unit/camera_test.cpp
// The encoding of a camera point into the host's five words.
#include "flyby_internal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

const double PI = 3.141592653589793;

struct CameraMemory : ::testing::Test {
    alignas(8) uint8_t memory[32];
    void SetUp() override {
        memset(memory, 0xAB, sizeof memory);
        Camera_SetOutputAddresses(reinterpret_cast<uintptr_t>(memory));
    }
    void TearDown() override { Camera_SetOutputAddresses(0); }
    uint32_t U32(int offset) const {
        uint32_t v;
        memcpy(&v, memory + offset, 4);
        return v;
    }
    int16_t I16(int offset) const {
        int16_t v;
        memcpy(&v, memory + offset, 2);
        return v;
    }
    void Write(double lat, double lon, double altFt) {
        const GeoPosition p = {lat, lon, altFt};
        Camera_WritePosition(&p);
    }
};

struct EncodingCase {
    double lat, lon, altFt;
    uint32_t latFraction, latWhole, lonFraction, lonWhole;
    uint16_t altitude;
};

TEST_F(CameraMemory, EncodesWorkedValues) {
    const EncodingCase cases[] = {
        {0.7853981633974483, 0, 1000, 0, 5000850, 0, 0, 304},
        {PI / 2, -PI / 2, 110000, 0, 10001700, 0, 0xC0000000u, 0x7FFF}, // held at the limit
        {0, -3 * PI / 2, -100, 0, 0, 0, 0x40000000u, 0xFFE2},
        // -5000000.25 latitude units: whole part toward zero, fraction of the magnitude.
        {-5000000.25 / 10001700.0 * (PI / 2), 0, 0, 1073741823u, static_cast<uint32_t>(-5000000), 0,
         0, 0},
    };
    for (const EncodingCase& c : cases) {
        Write(c.lat, c.lon, c.altFt);
        EXPECT_EQ(U32(CAMERA_OFFSET_LATITUDE_FRACTION), c.latFraction) << c.lat;
        EXPECT_EQ(U32(CAMERA_OFFSET_LATITUDE_WHOLE), c.latWhole) << c.lat;
        EXPECT_EQ(U32(CAMERA_OFFSET_LONGITUDE_FRACTION), c.lonFraction) << c.lon;
        EXPECT_EQ(U32(CAMERA_OFFSET_LONGITUDE_WHOLE), c.lonWhole) << c.lon;
        EXPECT_EQ(static_cast<uint16_t>(I16(CAMERA_OFFSET_ALTITUDE)), c.altitude) << c.altFt;
    }
}

// The altitude word holds -32768 to 32767 whole metres and stays at the
// limit beyond them instead of wrapping to the other sign.
TEST_F(CameraMemory, AltitudeWordSaturatesAtItsLimits) {
    const struct {
        double feet;
        int16_t metres;
    } cases[] = {
        {100000.0, 30480},                          // within: 30480 m
        {107503.0, 32766},                          // 32766.9 m, truncated
        {107506.0, 32767},                          // 32767.8 m, the last that fits
        {107508.0, 32767},                          // 32768.4 m, one past: held (wrapped to -32768)
        {110000.0, 32767},                          // 33528 m (wrapped to -32008)
        {2147483647.0, 32767},                      // the largest relative altitude a setting holds
        {-107506.0, -32767},                        // -32767.8 m
        {-107510.0, -32768},                        // -32769.0 m: held at the lower limit
        {-2147483648.0, -32768},                    // the smallest
        {1e300, 32767},                             // far beyond any integer
        {-1e300, -32768},        {INFINITY, 32767}, // infinities too
        {-INFINITY, -32768},
    };
    for (const auto& c : cases) {
        Write(0, 0, c.feet);
        EXPECT_EQ(I16(CAMERA_OFFSET_ALTITUDE), c.metres) << c.feet;
    }
}

TEST_F(CameraMemory, LeavesTheBytesAroundTheAltitudeAlone) {
    Write(0.1, -0.1, 500);
    EXPECT_EQ(U32(0x10), 0xABABABABu); // the four bytes before the altitude
    EXPECT_EQ(memory[0x16], 0xAB);     // and the two after it
    EXPECT_EQ(memory[0x17], 0xAB);
}

TEST_F(CameraMemory, LongitudesFromOffsetsFoldIntoOneTurn) {
    // 8 degrees east arrives from the geodesy as -352 degrees.
    Write(0, -352 * PI / 180, 0);
    const int32_t whole = static_cast<int32_t>(U32(CAMERA_OFFSET_LONGITUDE_WHOLE));
    EXPECT_NEAR(whole / 2147483648.0 * 180.0, 8.0, 1e-7);
}

TEST_F(CameraMemory, NonFiniteValuesWriteZeroWholeUnits) {
    Write(NAN, INFINITY, NAN);
    EXPECT_EQ(U32(CAMERA_OFFSET_LATITUDE_WHOLE), 0u);
    EXPECT_EQ(U32(CAMERA_OFFSET_LONGITUDE_WHOLE), 0u);
    EXPECT_EQ(I16(CAMERA_OFFSET_ALTITUDE), 0);
}

TEST(CameraOutput, WritesNothingWhileTheAddressesAreUnset) {
    Camera_SetOutputAddresses(0);
    const GeoPosition p = {0.5, 0.5, 100};
    Camera_WritePosition(&p); // must neither write nor fail
    EXPECT_EQ(g_cameraLatitudeFraction, nullptr);
    EXPECT_EQ(g_cameraAltitude, nullptr);
}

TEST(FractionOfMagnitude, IsTheFractionOfTheAbsoluteValue) {
    EXPECT_DOUBLE_EQ(FractionOfMagnitude(-5000000.25), 0.25);
    EXPECT_DOUBLE_EQ(FractionOfMagnitude(2.75), 0.75);
    EXPECT_EQ(FractionOfMagnitude(-4294967296.0), 0.0);
    EXPECT_LT(FractionOfMagnitude(4294967295.9999995), 1.0);
}

} // namespace
