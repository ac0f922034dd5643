// fuzz/facility_reader_fuzz.cpp
// libFuzzer target: any bytes through the facility reader. Run with ASan and
// UBSan (scripts/fuzz); every record it makes is walked and released.
#include "facilities.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FacilityDatabase db = {};
    FacilityReadReport report;
    Facility_ReadBufferReport(&db, data, size, &report);
    int32_t seen = 0;
    for (const ListNode* n = db.facilities ? db.facilities->head : nullptr; n;
         n = n->next, ++seen) {
        const FacilityRecord* r = static_cast<const FacilityRecord*>(n->item);
        for (int32_t i = 0; i < r->runwayCount; ++i)
            seen += r->runways[i].ident[7] != 0; // identifiers are always ended
    }
    if (seen != report.records)
        __builtin_trap();
    Facility_FreeDatabase(&db);
    return 0;
}
