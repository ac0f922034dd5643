// fuzz/facility_reader_fuzz.cpp
// libFuzzer target: any bytes through the facility reader. Run with ASan and
// UBSan (scripts/fuzz); every record it makes is walked and released. Each
// record and runway comes from an entry or sub-record at its own byte
// offset, so a file can never yield more of them than it has bytes: a
// pointer that leads the reader over the same data twice breaks that bound.
#include "facilities.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FacilityDatabase db = {};
    FacilityReadReport report;
    Facility_ReadBufferReport(&db, data, size, &report);
    int32_t seen = 0;
    uint64_t runways = 0;
    for (const ListNode* n = db.facilities ? db.facilities->head : nullptr; n;
         n = n->next, ++seen) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        runways += static_cast<uint64_t>(r->runwayCount);
        for (int32_t i = 0; i < r->runwayCount; ++i)
            seen += r->runways[i].ident[7] != 0; // identifiers are always ended
    }
    if (seen != report.records || static_cast<uint64_t>(seen) + runways > size)
        __builtin_trap();
    Facility_FreeDatabase(&db);
    return 0;
}
