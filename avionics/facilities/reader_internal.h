// avionics/facilities/reader_internal.h
// What the section walk (reader.cpp) and the airport records (airport.cpp)
// share: the reader's state, the checked reads and the record helpers.
#pragma once

#include "facilities.h"
#include "layout.h"

// The sine and cosine of a runway's bearing by its heading word: scenery
// holds few distinct headings (runways point to whole tens of degrees), so
// most runways find theirs here instead of calling sin and cos again.
struct BearingCache {
    enum { SIZE = 64 };
    uint32_t word[SIZE]; // the heading word of each slot; above 0xFFFF when empty
    double sine[SIZE], cosine[SIZE];
};

// seen marks, one bit per byte offset, where an entry, a group record or a
// sub-record has been decoded: any number of pointers may lead to the same
// run, chain or list, and each would yield its records again, so a small
// file could yield millions. A second visit is refused and reported as
// damage; what a file yields stays linear in its size.
struct FacilityReader {
    const uint8_t* data;
    uint64_t size;
    uint8_t* seen;
    int repeated; // a walk was refused because it led somewhere already read
    BearingCache bearings;
};

// 1 the first time offset is visited; 0 (and repeated set) after that.
int Reader_FirstVisit(FacilityReader* r, uint64_t offset);

// A whole block at offset: 0 (out untouched) unless all of it is in the data.
template <typename BLOCK>
int Reader_Block(const FacilityReader* r, uint64_t offset, layout::Checked<BLOCK>* out) {
    if (offset > r->size || static_cast<uint64_t>(BLOCK::SIZE) > r->size - offset)
        return 0;
    out->bytes = r->data + offset;
    return 1;
}

// One field of the block at offset, checked on its own: for records whose
// first field decides whether the rest exist at all (an end mark may be the
// last bytes of the data). 0 (out untouched) unless the field is in the data.
template <typename BLOCK, int OFFSET, typename TYPE, typename VALUE>
int Reader_Field(const FacilityReader* r, uint64_t offset, layout::Field<BLOCK, OFFSET, TYPE>,
                 VALUE* out) {
    if (offset > r->size || static_cast<uint64_t>(OFFSET) + TYPE::WIDTH > r->size - offset)
        return 0;
    *out = TYPE::Get(r->data + offset + OFFSET);
    return 1;
}

// A record of the kind, zeroed; null when memory is short.
FacilityRecord* Reader_NewRecord(int32_t kind);
// Hands the record to the facility list; false (record released) when
// memory is short.
bool Reader_Append(FacilityDatabase* database, FacilityRecord* record);
// Copies count characters and ends them; blanks from firstBlankCut on
// become NULs, which cuts the identifier there.
void Reader_CopyIdent(char* ident, const uint8_t* source, int count, int firstBlankCut);

// The airport section from section; 0 when it was cut short.
int Reader_AirportSection(FacilityDatabase* database, FacilityReader* r, uint64_t section);
