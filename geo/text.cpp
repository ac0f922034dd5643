// geo/text.cpp
// Radio frequencies as BCD codes and text, and latitude/longitude text.
#include "geo.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

double Frequency_FromBcd(uint32_t bcd) {
    const unsigned d3 = (bcd >> 12) & 0xF, d2 = (bcd >> 8) & 0xF, d1 = (bcd >> 4) & 0xF,
                   d0 = bcd & 0xF;
    return 100.0 + d3 * 10.0 + d2 + d1 / 10.0 + d0 / 100.0;
}

uint32_t Frequency_ToBcd(double megahertz) {
    if (!(megahertz >= 100.0 && megahertz < 4294967296.0)) // no defined code below 100 MHz
        return 0;
    const uint32_t whole = static_cast<uint32_t>(megahertz - 100.0);
    const uint32_t hundredthsAll = static_cast<uint32_t>((megahertz - trunc(megahertz)) * 100.0);
    uint32_t tens = whole / 10, units = whole % 10, tenths = hundredthsAll / 10,
             hundredths = hundredthsAll % 10;
    // Snap to the 50 kHz channel; this also absorbs 112.35 coming out as 34.
    static const uint32_t SNAP[10] = {0, 0, 0, 5, 5, 5, 5, 5, 0, 0};
    if (hundredths >= 8)
        ++tenths;
    hundredths = SNAP[hundredths];
    if (tenths > 9) {
        tenths = 0;
        ++units;
    }
    // Carry at 9, so that every channel from 100.00 to 199.95 MHz survives
    // the round trip through Frequency_FromBcd.
    if (units > 9) {
        units = 0;
        ++tens;
    }
    if (tens > 9)
        tens = 0;
    return tens * 4096 + units * 256 + tenths * 16 + hundredths;
}

void Frequency_Format(double megahertz, char* text, size_t size) {
    if (size == 0)
        return;
    // To the nearest 10 kHz: 112.35 is stored as 112.3499999..., which a
    // truncation would show as 112.34.
    const long long hundredths = llround(megahertz * 100.0);
    snprintf(text, size, "%03lld.%02lld", hundredths / 100, llabs(hundredths % 100));
}

// Degrees and tenths of minutes of |degrees|, rounded together so that
// 45.99999 degrees reads 46 degrees 0.0 minutes, never 45 degrees 60.0.
static void DegreesMinutes(double degrees, double* whole, double* minutes) {
    const double tenths = std::round(fabs(degrees) * 600.0);
    *whole = floor(tenths / 600.0);
    *minutes = (tenths - *whole * 600.0) / 10.0;
}

void Geo_FormatLatLon(const GeoPosition* position, char* text, size_t size) {
    if (size == 0)
        return;
    const double latitude = position->latitude * RAD_TO_DEG;
    double longitude = position->longitude * RAD_TO_DEG;
    Angle_WrapDeg(&longitude);
    double latWhole, latMinutes, lonWhole, lonMinutes;
    DegreesMinutes(latitude, &latWhole, &latMinutes);
    DegreesMinutes(longitude, &lonWhole, &lonMinutes);
    snprintf(text, size, "%s%.0f\xB0%.1f %s%.0f\xB0%.1f", latitude < 0 ? "S" : "N", latWhole,
             latMinutes, longitude < 0 ? "W" : "E", lonWhole, lonMinutes);
}
