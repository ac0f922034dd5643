// tests/tools/number_test.cpp
// The tools' one number reader: what it takes, what it refuses and how it
// says why.
#include "number.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(NumberRead, TakesDecimalsWithBlanksAround) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"0", 0},         {"-12.5", -12.5}, {"+3", 3},  {" 47.6 ", 47.6},
                 {"\t1e3\t", 1e3}, {".5", 0.5},      {"5.", 5},  {"1E-2", 0.01},
                 {"1e-400", 0},    {"-0", 0},        {"007", 7}, {"6e14", 6e14}};
    for (const auto& c : cases) {
        double value = -1;
        EXPECT_TRUE(Number_Read(c.text, &value)) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
}

TEST(NumberRead, RefusesWhatIsNotAPlainFiniteDecimal) {
    for (const char* text :
         {"",    " ", "abc", "1,5", "0x10",  "inf",   "-inf",   "nan",   "NaN", "infinity", "1e",
          "1e+", ".", "-",   "1 2", "1.2.3", "1e400", "-1e309", "12abc", "\n5", "5\r"}) {
        double value = 42;
        std::string why;
        EXPECT_FALSE(Number_Read(text, &value, &why)) << text;
        EXPECT_EQ(value, 42) << "written although refused: " << text;
        EXPECT_FALSE(why.empty()) << text;
    }
}

TEST(NumberRead, SaysWhyWithTheValueEchoed) {
    double value;
    std::string why;
    EXPECT_FALSE(Number_Read("abc", &value, &why));
    EXPECT_EQ(why, "is 'abc', not a number");
    EXPECT_FALSE(Number_Read("1e400", &value, &why));
    EXPECT_EQ(why, "is '1e400', too large to be a number");
    EXPECT_FALSE(Number_Read(std::string(400, '9'), &value, &why));
    EXPECT_LT(why.size(), 120u) << "a 400-digit value is echoed whole";
}

TEST(NumberRead, RangeNamesItsLimits) {
    double value = 0;
    std::string why;
    EXPECT_TRUE(Number_ReadInRange("90", -90, 90, &value, &why));
    EXPECT_EQ(value, 90);
    EXPECT_FALSE(Number_ReadInRange("95", -90, 90, &value, &why));
    EXPECT_EQ(why, "is 95, outside -90 to 90");
    EXPECT_FALSE(Number_ReadInRange("1e308", -2000, 100000, &value, &why));
    EXPECT_EQ(value, 90);
}

TEST(NumberReadWhole, TakesDigitsWithinTheRange) {
    long long value = 0;
    EXPECT_TRUE(Number_ReadWhole(" -17 ", -100, 100, &value));
    EXPECT_EQ(value, -17);
    EXPECT_TRUE(Number_ReadWhole("+2147483647", INT_MIN, INT_MAX, &value));
    EXPECT_EQ(value, INT_MAX);
    for (const char* text : {"4294967312", "2147483648", "99999999999999999999999", "1.5", "1e3",
                             "0x10", "", "-", " + 1", "12 3"}) {
        std::string why;
        EXPECT_FALSE(Number_ReadWhole(text, INT_MIN, INT_MAX, &value, &why)) << text;
        EXPECT_FALSE(why.empty()) << text;
    }
}

} // namespace
