// avionics/facilities/decode.cpp
// The facility formats decoded on their own (packed positions, BCD
// frequencies) and the records' memory: adding a runway, releasing a record.
#include "facilities.h"
#include "layout.h"

#include <cstdlib>

using namespace layout;

namespace {
const double PACKED_LATITUDE_UNITS_PER_DEGREE = 55565.26199758007;
const double PACKED_LONGITUDE_UNITS_PER_TURN = 16777216.0; // 2^24
} // namespace

GeoPosition Facility_DecodePosition(const uint8_t packed[8]) {
    const Checked<Packed> block = {packed};
    const uint32_t latitudeBits = Le_U24(Get(block, PACKED_LATITUDE));
    const uint32_t longitudeBits = Le_U24(Get(block, PACKED_LONGITUDE));
    const int16_t altitudeM = static_cast<int16_t>(Get(block, PACKED_ALTITUDE_M));
    double latitude = (latitudeBits & 0x7FFFFF) / PACKED_LATITUDE_UNITS_PER_DEGREE;
    // The files' own fold: with the top bit set the latitude is 150 degrees
    // less the value, not 180 or 90 as a reader might expect. The reference
    // records decode this way, and so must we.
    if (latitudeBits & 0x800000)
        latitude = 150.0 - latitude;
    double longitude = longitudeBits / PACKED_LONGITUDE_UNITS_PER_TURN * GEO_TWO_PI;
    if (longitudeBits & 0x800000)
        longitude -= GEO_TWO_PI;
    return GeoPosition{latitude * DEG_TO_RAD, longitude, altitudeM * GEO_FEET_PER_METRE};
}

double Facility_DecodeBcdFrequency(uint32_t integerWord, uint32_t fractionWord) {
    const unsigned hundreds = (integerWord >> 8) & 0xF, tens = (integerWord >> 4) & 0xF,
                   units = integerWord & 0xF;
    const unsigned tenths = (fractionWord >> 12) & 0xF, hundredths = (fractionWord >> 8) & 0xF,
                   thousandths = (fractionWord >> 4) & 0xF;
    return (hundreds * 100 + tens * 10 + units) +
           (tenths * 100 + hundredths * 10 + thousandths) / 1000.0;
}

int32_t Facility_AddRunway(FacilityRecord* airport, const RunwayRecord* runway) {
    // The caller's array may hold exactly runwayCount records, so it grows by
    // one each time (the reader sizes its arrays once instead).
    const int32_t count = airport->runwayCount;
    if (count < 0 || count == INT32_MAX)
        return 0;
    RunwayRecord* grown = static_cast<RunwayRecord*>(
        realloc(airport->runways, (static_cast<size_t>(count) + 1) * sizeof(RunwayRecord)));
    if (grown == nullptr)
        return 0;
    airport->runways = grown;
    airport->runways[count] = *runway;
    airport->runwayCount = count + 1;
    return 1;
}

void Facility_ReleaseRecord(void* item) {
    FacilityRecord* record = static_cast<FacilityRecord*>(item);
    if (record != nullptr && record->kind == FACILITY_AIRPORT)
        free(record->runways);
    free(record);
}
