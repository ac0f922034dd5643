// tests/unit/random_test.cpp
// avionics/airdata/random.cpp: the random helpers read the C library's
// rand() as the host did (bit 7 for a coin, the 15-bit draw for the ranges).
#include "airdata.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Random, BitSevenDecidesAndRangesHold) {
    EXPECT_EQ(Util_ReturnTrue(), 1);
    int differing = 0;
    for (unsigned seed = 1; seed < 400; ++seed) {
        srand(seed);
        const int r = rand() & 0x7FFF;
        srand(seed);
        ASSERT_EQ(Util_RandomBit(), (r >> 7) & 1) << r;
        differing += ((r >> 7) & 1) != (r & 1); // draws where bit 0 would answer otherwise
        srand(seed);
        ASSERT_EQ(Util_Random01(), r / 32767.0);
        srand(seed);
        const double s = Util_RandomSigned();
        ASSERT_GE(s, -1.0);
        ASSERT_LE(s, 1.0);
    }
    EXPECT_GT(differing, 50);
}

} // namespace
