// avionics/airdata/random.cpp
// Random-number helpers on the C library's rand, which nothing in the
// module seeds.
#include "airdata.h"

#include <cstdlib>

// The 15 bits the Windows C library gives; other libraries give more.
static int Draw() {
    return rand() & 0x7FFF;
}

int32_t Util_ReturnTrue(void) {
    return 1;
}
double Util_Random01(void) {
    return Draw() / 32767.0;
}
int32_t Util_RandomBit(void) {
    return (Draw() & 0xFF) > 127;
}
double Util_RandomSigned(void) {
    return Draw() / 16383.5 - 1.0;
}
