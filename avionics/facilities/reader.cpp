// avionics/facilities/reader.cpp
// The walk over a scenery file's facility sections: the header, VORs by
// channel and NDBs in chains of runs; airports are in airport.cpp. Every
// read is checked against the data's end (layout.h names the fields); a
// section whose structure runs off the data stops there, and the next
// section is still read.
#include "reader_internal.h"

#include <cstdlib>
#include <cstring>

using namespace layout;

int Reader_FirstVisit(FacilityReader* r, uint64_t offset) {
    uint8_t& byte = r->seen[offset >> 3];
    const uint8_t bit = static_cast<uint8_t>(1u << (offset & 7));
    if (byte & bit) {
        r->repeated = 1;
        return 0;
    }
    byte |= bit;
    return 1;
}

FacilityRecord* Reader_NewRecord(int32_t kind) {
    FacilityRecord* record = static_cast<FacilityRecord*>(calloc(1, sizeof(FacilityRecord)));
    if (record != nullptr)
        record->kind = kind;
    return record;
}

bool Reader_Append(FacilityDatabase* database, FacilityRecord* record) {
    if (database->facilities == nullptr)
        database->facilities = List_Create(Facility_ReleaseRecord);
    if (database->facilities != nullptr && List_Append(database->facilities, record))
        return true;
    Facility_ReleaseRecord(record);
    return false;
}

void Reader_CopyIdent(char* ident, const uint8_t* source, int count, int firstBlankCut) {
    memset(ident, 0, FACILITY_IDENT_SIZE);
    memcpy(ident, source, static_cast<size_t>(count));
    for (int i = firstBlankCut; i < count; ++i)
        if (ident[i] == ' ')
            ident[i] = '\0';
}

namespace {

// VOR channels are 50 kHz steps up from 108.00 MHz, twenty to the
// megahertz: the whole megahertz is the channel divided by 20 in integers,
// the rest counts 0.05 MHz steps.
float ChannelFrequency(uint32_t channel) {
    const uint32_t megahertz = 108 + channel / 20;
    return static_cast<float>(megahertz + (channel % 20) * 0.05);
}

FacilityRecord* DecodeVor(Checked<VorEntry> entry, uint32_t channel) {
    FacilityRecord* record = Reader_NewRecord(FACILITY_VOR);
    if (record != nullptr) {
        const uint32_t code = Get(entry, VOR_CODE); // a signed byte
        record->entryCode = static_cast<int32_t>(code) - (code & 0x80 ? 256 : 0);
        record->frequency = ChannelFrequency(channel);
        record->position = Facility_DecodePosition(Get(entry, VOR_POSITION));
        Reader_CopyIdent(record->ident, Get(entry, VOR_IDENT), 5, 2);
    }
    return record;
}

FacilityRecord* DecodeNdb(Checked<NdbEntry> entry) {
    FacilityRecord* record = Reader_NewRecord(FACILITY_NDB);
    if (record != nullptr) {
        record->position = Facility_DecodePosition(Get(entry, NDB_POSITION));
        Reader_CopyIdent(record->ident, Get(entry, NDB_IDENT), 5, 2);
    }
    return record;
}

// Walks one run of entries; navaid entries become records. 0 when the run
// leaves the data.
int ReadRun(FacilityDatabase* database, FacilityReader* r, uint64_t at, int kind,
            uint32_t channel) {
    for (;;) {
        uint32_t entryKind;
        if (!Reader_Field(r, at, ENTRY_KIND, &entryKind))
            return 0;
        if (entryKind != EntryKind::SKIPPED && entryKind != EntryKind::NAVAID)
            return 1;
        if (!Reader_FirstVisit(r, at))
            return 1;
        if (entryKind == EntryKind::SKIPPED) {
            Checked<SkippedEntry> skipped;
            if (!Reader_Block(r, at, &skipped))
                return 0;
            at += SkippedEntry::SIZE;
            continue;
        }
        FacilityRecord* record;
        if (kind == FACILITY_VOR) {
            Checked<VorEntry> entry;
            if (!Reader_Block(r, at, &entry))
                return 0;
            record = DecodeVor(entry, channel);
            at += VorEntry::SIZE;
        } else {
            Checked<NdbEntry> entry;
            if (!Reader_Block(r, at, &entry))
                return 0;
            record = DecodeNdb(entry);
            at += NdbEntry::SIZE;
        }
        if (record != nullptr)
            Reader_Append(database, record);
    }
}

// A chain of group records from g, each pointing at a run (offsets from the
// section start). 0 when it leaves the data.
int ReadChain(FacilityDatabase* database, FacilityReader* r, uint64_t section, uint64_t g, int kind,
              uint32_t channel) {
    for (;;) {
        uint32_t mark, run;
        if (!Reader_Field(r, g, GROUP_MARK, &mark))
            return 0;
        if (mark != Group::MARK || !Reader_FirstVisit(r, g))
            return 1;
        if (!Reader_Field(r, g, GROUP_RUN, &run))
            return 0;
        if (!ReadRun(database, r, section + run, kind, channel))
            return 0;
        g += Group::SIZE;
    }
}

// Each section reader returns 0 when the section was cut short.
int ReadVorSection(FacilityDatabase* database, FacilityReader* r, uint64_t section, int32_t first,
                   int32_t last) {
    uint32_t mark, firstGroup;
    if (!Reader_Field(r, section, CHANNEL_MARK, &mark) ||
        !Reader_Field(r, section, CHANNEL_FIRST_GROUP, &firstGroup))
        return 0;
    if (mark != 1 || firstGroup == 0)
        return 1; // no channel index: nothing to read
    for (int32_t channel = first; channel <= last; ++channel) {
        uint32_t groupOffset;
        if (channel < 0 ||
            !Reader_Field(r, section + ChannelEntry::SIZE * static_cast<uint64_t>(channel),
                          CHANNEL_FIRST_GROUP, &groupOffset))
            return 0; // outside the channel index
        const uint64_t g = section + groupOffset;
        if (g == 0 || g >= r->size)
            continue;
        if (!ReadChain(database, r, section, g, FACILITY_VOR, static_cast<uint32_t>(channel)))
            return 0;
    }
    return 1;
}

int ReadNdbSection(FacilityDatabase* database, FacilityReader* r, uint64_t section) {
    if (section >= r->size)
        return 0;
    return ReadChain(database, r, section, section, FACILITY_NDB, 0);
}

// Reads the three sections the header points at into found's damage bits.
void ReadSections(FacilityDatabase* database, FacilityReader* r, Checked<Header> header,
                  FacilityReadReport* found) {
    const uint32_t vor = Get(header, HEADER_VOR_SECTION), ndb = Get(header, HEADER_NDB_SECTION),
                   airport = Get(header, HEADER_AIRPORT_SECTION);
    const int16_t first = static_cast<int16_t>(Get(header, HEADER_FIRST_CHANNEL));
    const int16_t last = static_cast<int16_t>(Get(header, HEADER_LAST_CHANNEL));
    if (vor != 0 && (!ReadVorSection(database, r, vor, first, last) || r->repeated))
        found->damage |= FACILITY_DAMAGE_VOR;
    r->repeated = 0;
    if (ndb != 0 && (!ReadNdbSection(database, r, ndb) || r->repeated))
        found->damage |= FACILITY_DAMAGE_NDB;
    r->repeated = 0;
    if (airport != 0 && (!Reader_AirportSection(database, r, airport) || r->repeated))
        found->damage |= FACILITY_DAMAGE_AIRPORT;
}

} // namespace

int32_t Facility_ReadBufferReport(FacilityDatabase* database, const uint8_t* data, size_t size,
                                  FacilityReadReport* report) {
    FacilityReader reader = {data, size, nullptr, 0, {}};
    memset(reader.bearings.word, 0xFF, sizeof reader.bearings.word);
    // Most files' marks fit on the stack: no heap block per file.
    uint8_t local[4096];
    FacilityReadReport found = {0, 0};
    const int32_t before = database->facilities ? database->facilities->count : 0;
    const size_t markBytes = size / 8 + 1;
    Checked<Header> header;
    if (!Reader_Block(&reader, 0, &header)) {
        found.damage = FACILITY_DAMAGE_HEADER; // no whole header: nothing to read
    } else if ((reader.seen = markBytes <= sizeof local
                                  ? static_cast<uint8_t*>(memset(local, 0, markBytes))
                                  : static_cast<uint8_t*>(calloc(markBytes, 1))) == nullptr) {
        // Without the marks a hostile file could yield without bound.
        found.damage = FACILITY_DAMAGE_VOR | FACILITY_DAMAGE_NDB | FACILITY_DAMAGE_AIRPORT;
    } else {
        ReadSections(database, &reader, header, &found);
        if (reader.seen != local)
            free(reader.seen);
    }
    found.records = (database->facilities ? database->facilities->count : 0) - before;
    if (report)
        *report = found;
    return 1;
}

int32_t Facility_ReadBuffer(FacilityDatabase* database, const uint8_t* data, size_t size) {
    return Facility_ReadBufferReport(database, data, size, nullptr);
}
