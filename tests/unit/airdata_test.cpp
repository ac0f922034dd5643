// tests/unit/airdata_test.cpp
// The standard atmosphere and air-data conversions against published
// values, with the tolerance each comparison allows and why, and the
// branches and comparisons at their edges.
#include "airdata.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

const double TROPOPAUSE = 36089;

TEST(Isa, TropopauseBranchAndSeaLevel) {
    EXPECT_DOUBLE_EQ(AirData_IsaTemperature(TROPOPAUSE, 36089), 15 - 0.0019812 * 36089);
    EXPECT_EQ(AirData_IsaTemperature(TROPOPAUSE, 36090), -56.5);
    EXPECT_EQ(AirData_IsaPressure(TROPOPAUSE, 0), 29.92126);
    EXPECT_EQ(AirData_IsaDensity(TROPOPAUSE, 0), 1.225);
    // The stratosphere starts from fixed constants: the branches nearly meet.
    EXPECT_NEAR(AirData_IsaPressure(TROPOPAUSE, 36089), 6.68332, 1e-5);
    EXPECT_NEAR(AirData_IsaPressure(TROPOPAUSE, 36089.001), 6.68324, 1e-5);
    // The tropopause is the caller's: at 11000 ft the formula switches there.
    EXPECT_EQ(AirData_IsaTemperature(11000, 11001), -56.5);
}

// With a tropopause of 30000 ft the stratosphere decays from there, but
// from the fixed tropopause constants, not from the troposphere's value at
// 30000 ft: the branches jump apart (worked values of the formulas).
TEST(Isa, StratosphereDecaysFromACallersTropopauseWithTheFixedConstants) {
    EXPECT_NEAR(AirData_IsaPressure(30000, 30000), 8.885444393994817, 1e-9); // troposphere
    EXPECT_NEAR(AirData_IsaDensity(30000, 30000), 0.45831201011079903, 1e-11);
    EXPECT_NEAR(AirData_IsaPressure(30000, 40000), 4.132854103305879, 1e-9);
    EXPECT_NEAR(AirData_IsaDensity(30000, 40000), 0.2250433152419424, 1e-11);
    EXPECT_NEAR(AirData_IsaPressure(45000, 50000), 5.255554590166618, 1e-9);
    EXPECT_NEAR(AirData_IsaPressure(30000, 30000.001), 6.683239562734, 1e-6); // the jump
    EXPECT_EQ(AirData_IsaTemperature(30000, 30000.001), -56.5);
}

TEST(Isa, TheLapseFactorIsTheStoredDoubleNotTheDecimal) {
    const double stored = 0x1.CD69A942874AEp-18, decimal = 6.8755856e-6;
    ASSERT_NE(stored, decimal);
    const double h = 30000;
    EXPECT_EQ(AirData_IsaPressure(TROPOPAUSE, h), 29.92126 * pow(1 - stored * h, 5.2558797));
}

// Published standard-atmosphere and air-data values. The module's constants
// are rounded (the lapse rate per foot, 38.967854 kt per root kelvin) and its
// density altitude uses a power law, so each check allows what the
// reference's own last digit and those roundings leave.
TEST(Isa, AgreesWithTheIcaoTables) {
    EXPECT_NEAR(AirData_IsaPressure(TROPOPAUSE, 10000), 20.577, 0.0005); // within the table's digit
    EXPECT_NEAR(AirData_IsaDensity(TROPOPAUSE, 10000), 0.90464, 0.00001);
    EXPECT_NEAR(AirData_IsaDensity(TROPOPAUSE, 30000), 0.45831, 0.00001);
    EXPECT_NEAR(AirData_SeaLevelSpeedOfSound(), 661.48, 0.01);
}

TEST(AirSpeeds, AgreeWithPublishedConversions) {
    EXPECT_NEAR(AirData_MachFromCas(TROPOPAUSE, 250, 10000), 0.4523, 0.00005);
    const double isaC = AirData_IsaTemperature(TROPOPAUSE, 10000);
    EXPECT_NEAR(AirData_TasFromCas(TROPOPAUSE, 250, 10000, isaC), 288.7, 0.05);
    EXPECT_NEAR(AirData_TasFromCas(TROPOPAUSE, 250, 10000, -20), 280.4, 0.05);
    EXPECT_NEAR(AirData_MachFromCas(TROPOPAUSE, 250, 35000), 0.7412, 0.00005);
    EXPECT_EQ(AirData_MachFromCas(TROPOPAUSE, 0, 20000), 0.0);
}

TEST(DensityAltitude, PublishedValueAndStandardDay) {
    // The usual rule of thumb gives 8,595 ft; the power law agrees to 1 ft.
    EXPECT_NEAR(AirData_DensityAltitude(TROPOPAUSE, 7000, 15), 8595, 1.0);
    EXPECT_NEAR(AirData_DensityAltitude(TROPOPAUSE, 5000, 25), 7261.8, 0.05);
    const double standard = AirData_IsaTemperature(TROPOPAUSE, 5000);
    EXPECT_NEAR(AirData_DensityAltitude(TROPOPAUSE, 5000, standard), 5000, 1e-9);
}

struct BandCase {
    double value, reference;
    int within, below, above;
};

TEST(Bands, AreStrictAtThreeHundred) {
    const BandCase cases[] = {
        {1000, 1300, 0, 0, 0},   {1300, 1000, 0, 0, 0},   {1000, 1299.9, 1, 0, 0},
        {1000, 1300.1, 0, 1, 0}, {1300.1, 1000, 0, 0, 1}, {1000, 1000, 1, 0, 0},
    };
    for (const BandCase& c : cases) {
        EXPECT_EQ(AirData_IsWithin300(c.value, c.reference), c.within)
            << c.value << " " << c.reference;
        EXPECT_EQ(AirData_IsBelowBy300(c.value, c.reference), c.below)
            << c.value << " " << c.reference;
        EXPECT_EQ(AirData_IsAboveBy300(c.value, c.reference), c.above)
            << c.value << " " << c.reference;
    }
}

} // namespace
