// tests/unit/text_test.cpp
// geo/text.cpp: BCD frequency codes both ways, and frequency and
// coordinate text within the caller's buffer.
#include "geo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

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

} // namespace
