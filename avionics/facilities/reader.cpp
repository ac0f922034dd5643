// avionics/facilities/reader.cpp
// The facility sections of a scenery file: VORs by channel, NDBs, airports
// with their runways and approach aids. Every read goes through one checked
// function that knows the data's end; a section whose structure runs off
// the data stops there, and the next section is still read.
#include "facilities.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// seen marks, one bit per byte offset, where an entry, a group record or a
// sub-record has been decoded: any number of pointers may lead to the same
// run, chain or list, and each would yield its records again, so a small
// file could yield millions. A second visit is refused and reported as
// damage; what a file yields stays linear in its size.
// The sine and cosine of a runway's bearing by its heading word: scenery
// holds few distinct headings (runways point to whole tens of degrees), so
// most runways find theirs here instead of calling sin and cos again.
struct BearingCache {
    enum { SIZE = 64 };
    uint32_t word[SIZE]; // the heading word of each slot; above 0xFFFF when empty
    double sine[SIZE], cosine[SIZE];
};

struct FacilityReader {
    const uint8_t* data;
    uint64_t size;
    uint8_t* seen;
    int repeated; // a walk was refused because it led somewhere already read
    BearingCache bearings;
};

// 1 the first time offset is visited; 0 (and repeated set) after that.
int Read_FirstVisit(FacilityReader* r, uint64_t offset) {
    uint8_t& byte = r->seen[offset >> 3];
    const uint8_t bit = static_cast<uint8_t>(1u << (offset & 7));
    if (byte & bit) {
        r->repeated = 1;
        return 0;
    }
    byte |= bit;
    return 1;
}

// Each returns 0 (and leaves out alone) when the value is not wholly inside.
int Read_Bytes(const FacilityReader* r, uint64_t offset, uint64_t count, const uint8_t** out) {
    if (offset > r->size || count > r->size - offset)
        return 0;
    *out = r->data + offset;
    return 1;
}

int Read_U8(const FacilityReader* r, uint64_t offset, uint32_t* out) {
    const uint8_t* p;
    if (!Read_Bytes(r, offset, 1, &p))
        return 0;
    *out = p[0];
    return 1;
}

int Read_U16(const FacilityReader* r, uint64_t offset, uint32_t* out) {
    const uint8_t* p;
    if (!Read_Bytes(r, offset, 2, &p))
        return 0;
    *out = p[0] | static_cast<uint32_t>(p[1]) << 8;
    return 1;
}

int Read_U32(const FacilityReader* r, uint64_t offset, uint32_t* out) {
    const uint8_t* p;
    if (!Read_Bytes(r, offset, 4, &p))
        return 0;
    *out = p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
    return 1;
}

int32_t AsInt32(uint32_t v) {
    return static_cast<int32_t>(v);
}

enum {
    HEADER_SIZE = 168,
    HEADER_VOR_OFFSET = 18,
    HEADER_FIRST_CHANNEL = 22,
    HEADER_LAST_CHANNEL = 24,
    HEADER_NDB_OFFSET = 78,
    HEADER_AIRPORT_OFFSET = 164,
    GROUP_MARK = 21,
    GROUP_SIZE = 9,
    ENTRY_NAVAID = 4,
    ENTRY_SKIPPED = 20,
    ENTRY_SKIPPED_SIZE = 17,
    VOR_ENTRY_SIZE = 44,
    NDB_ENTRY_SIZE = 42,
    CHANNEL_ENTRY_SIZE = 5,
    AIRPORT_HEAD_SIZE = 64, // through the identifier at 60
    SUB_RUNWAY = 2,
    SUB_AID = 4,
    RUNWAY_SUB_SIZE = 56, // through the runway number at 52
    AID_SUB_SIZE = 60,    // through the identifier at 56
};

const double PACKED_LATITUDE_UNITS_PER_DEGREE = 55565.26199758007;
const double FEET_PER_METRE = 3.28084;
const double METRES_PER_FOOT = 0.3048;
const double QUARTER_TURN_UNITS = 10001750.0;
const double HALF_TURN_UNITS = 2147483648.0;
const double MIN_RUNWAY_FT = 1640.42;

ObjectList* Facilities(FacilityDatabase* database) {
    if (database->facilities == nullptr)
        database->facilities = List_Create(Facility_ReleaseRecord);
    return database->facilities;
}

FacilityRecord* NewRecord(int32_t kind) {
    FacilityRecord* record = static_cast<FacilityRecord*>(calloc(1, sizeof(FacilityRecord)));
    if (record != nullptr)
        record->kind = kind;
    return record;
}

// Hands the record to the facility list; false (record released) when
// memory is short.
bool Append(FacilityDatabase* database, FacilityRecord* record) {
    ObjectList* list = Facilities(database);
    if (list != nullptr && List_Append(list, record))
        return true;
    Facility_ReleaseRecord(record);
    return false;
}

// Copies count characters and ends them; blanks at the given positions
// become NULs, which cuts the identifier there.
void CopyIdent(char* ident, const uint8_t* source, int count, int firstBlankCut) {
    memset(ident, 0, FACILITY_IDENT_SIZE);
    memcpy(ident, source, static_cast<size_t>(count));
    for (int i = firstBlankCut; i < count; ++i)
        if (ident[i] == ' ')
            ident[i] = '\0';
}

// Walks one run of entries; kind 4 entries become records. 0 when the run
// leaves the data.
int ReadRun(FacilityDatabase* database, FacilityReader* r, uint64_t at, int kind,
            uint32_t channel) {
    const uint64_t entrySize = kind == FACILITY_VOR ? VOR_ENTRY_SIZE : NDB_ENTRY_SIZE;
    for (;;) {
        uint32_t entryKind;
        if (!Read_U8(r, at, &entryKind))
            return 0;
        if ((entryKind == ENTRY_SKIPPED || entryKind == ENTRY_NAVAID) && !Read_FirstVisit(r, at))
            return 1;
        if (entryKind == ENTRY_SKIPPED) {
            const uint8_t* skipped;
            if (!Read_Bytes(r, at, ENTRY_SKIPPED_SIZE, &skipped))
                return 0;
            at += ENTRY_SKIPPED_SIZE;
            continue;
        }
        if (entryKind != ENTRY_NAVAID)
            return 1;
        const uint8_t* entry;
        if (!Read_Bytes(r, at, entrySize, &entry))
            return 0;
        FacilityRecord* record = NewRecord(kind);
        if (record != nullptr) {
            if (kind == FACILITY_VOR) {
                record->entryCode = static_cast<int8_t>(entry[4]);
                record->frequency = static_cast<float>(108 + channel / 20 + (channel % 20) * 0.05);
                record->position = Facility_DecodePosition(entry + 5);
                CopyIdent(record->ident, entry + 15, 5, 2);
            } else {
                record->position = Facility_DecodePosition(entry + 4);
                CopyIdent(record->ident, entry + 13, 5, 2);
            }
            Append(database, record);
        }
        at += entrySize;
    }
}

// A chain of 9-byte group records from g, each pointing at a run (offsets
// from the section start). 0 when it leaves the data.
int ReadChain(FacilityDatabase* database, FacilityReader* r, uint64_t section, uint64_t g, int kind,
              uint32_t channel) {
    for (;;) {
        uint32_t mark, runOffset;
        if (!Read_U8(r, g, &mark))
            return 0;
        if (mark != GROUP_MARK || !Read_FirstVisit(r, g))
            return 1;
        if (!Read_U32(r, g + 5, &runOffset))
            return 0;
        if (!ReadRun(database, r, section + runOffset, kind, channel))
            return 0;
        g += GROUP_SIZE;
    }
}

// Each section reader returns 0 when the section was cut short.
int ReadVorSection(FacilityDatabase* database, FacilityReader* r, uint64_t section, int32_t first,
                   int32_t last) {
    uint32_t mark, firstOffset;
    if (!Read_U8(r, section, &mark) || !Read_U32(r, section + 1, &firstOffset))
        return 0;
    if (mark != 1 || firstOffset == 0)
        return 1; // no channel index: nothing to read
    for (int32_t channel = first; channel <= last; ++channel) {
        uint32_t groupOffset;
        if (channel < 0 ||
            !Read_U32(r, section + CHANNEL_ENTRY_SIZE * static_cast<uint64_t>(channel) + 1,
                      &groupOffset))
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

GeoPosition AirportPosition(const uint8_t* record, uint64_t latitudeAt, uint64_t longitudeAt) {
    const auto i32 = [record](uint64_t at) {
        return AsInt32(record[at] | static_cast<uint32_t>(record[at + 1]) << 8 |
                       static_cast<uint32_t>(record[at + 2]) << 16 |
                       static_cast<uint32_t>(record[at + 3]) << 24);
    };
    return GeoPosition{i32(latitudeAt) / QUARTER_TURN_UNITS * GEO_HALF_PI,
                       i32(longitudeAt) / HALF_TURN_UNITS * GEO_PI, 0.0};
}

uint32_t U16At(const uint8_t* p, int at) {
    return p[at] | static_cast<uint32_t>(p[at + 1]) << 8;
}
int32_t I32At(const uint8_t* p, int at) {
    return AsInt32(p[at] | static_cast<uint32_t>(p[at + 1]) << 8 |
                   static_cast<uint32_t>(p[at + 2]) << 16 | static_cast<uint32_t>(p[at + 3]) << 24);
}

float HeadingDegrees(uint32_t word) {
    return static_cast<float>(word / 65535.0 * 360.0);
}

// Each end's threshold: the point half the length behind its heading from
// the centre, the offset (0, 0, length / 2) turned by the bearing (heading +
// 180 degrees). The opposite bearing is the primary one plus a half turn and
// a sliver (its heading's float rounding, and the angle factor's own error
// over 180 degrees), so its sine and cosine follow from the primary's
// without another call; series in place of the rotations do the rest. The
// points agree with the step-by-step offsets to about 1e-15 rad.
void SetThresholds(RunwayRecord* runway, uint32_t headingWord, BearingCache* cache) {
    GeoShortOrigin centre;
    Geo_PrepareShortOrigin(&runway->centre, &centre);
    const double primary = runway->primaryEnd.heading, opposite = runway->oppositeEnd.heading;
    const double distance = runway->length * 0.5;
    const uint32_t slot = headingWord % BearingCache::SIZE;
    if (cache->word[slot] != headingWord) {
        const double bearing = (primary + 180.0) * DEG_TO_RAD;
        cache->word[slot] = headingWord;
        cache->sine[slot] = sin(bearing);
        cache->cosine[slot] = cos(bearing);
    }
    const double sinPrimary = cache->sine[slot], cosPrimary = cache->cosine[slot];
    Geo_ShortOffsetToPosition(&centre, distance * sinPrimary, distance * cosPrimary,
                              &runway->primaryEnd.threshold);

    const double halfTurn = opposite > primary ? 180.0 : -180.0;
    const double sliver = (opposite - primary - halfTurn) * DEG_TO_RAD +
                          (halfTurn * DEG_TO_RAD - copysign(GEO_PI, halfTurn));
    double sinOpposite, cosOpposite;
    if (fabs(sliver) <= 1e-5) {
        const double cosSliver = 1.0 - sliver * sliver * 0.5;
        sinOpposite = -(sinPrimary * cosSliver + cosPrimary * sliver);
        cosOpposite = -(cosPrimary * cosSliver - sinPrimary * sliver);
    } else {
        const double other = (opposite + 180.0) * DEG_TO_RAD;
        sinOpposite = sin(other);
        cosOpposite = cos(other);
    }
    Geo_ShortOffsetToPosition(&centre, distance * sinOpposite, distance * cosOpposite,
                              &runway->oppositeEnd.threshold);
}

// "%02d" of the number and the side's letter, cut to fit the identifier (a
// damaged number may be long). Written by hand: it runs twice per runway.
void Designator(char* ident, int64_t number, int32_t side, const char* letters) {
    char digits[24];
    int n = 0;
    uint64_t magnitude =
        number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (n < 2 && number >= 0)
        digits[n++] = '0';
    if (number < 0)
        digits[n++] = '-';
    memset(ident, 0, FACILITY_IDENT_SIZE);
    int at = 0;
    while (n > 0 && at < FACILITY_IDENT_SIZE - 1)
        ident[at++] = digits[--n];
    if (side >= 1 && side <= 3 && at < FACILITY_IDENT_SIZE - 1)
        ident[at] = letters[side - 1];
}

// Runways shorter than about 500 m are left out.
bool RunwayKept(const uint8_t* sub) {
    return I32At(sub, 40) > MIN_RUNWAY_FT;
}

// Fills the next of the runways that ReadSubRecords counted and allocated.
void AddRunway(FacilityRecord* airport, int32_t capacity, const uint8_t* sub,
               BearingCache* bearings) {
    if (!RunwayKept(sub) || airport->runwayCount >= capacity)
        return;
    const int32_t lengthFt = I32At(sub, 40);
    RunwayRecord runway;
    memset(&runway, 0, sizeof runway);
    const int32_t side = I32At(sub, 48);
    const int64_t number = I32At(sub, 52);
    Designator(runway.ident, number, side, "LRC");
    runway.centre = AirportPosition(sub, 12, 20);
    runway.heading = HeadingDegrees(U16At(sub, 34));
    runway.length = static_cast<float>(lengthFt * METRES_PER_FOOT);
    runway.width = static_cast<float>(I32At(sub, 44) * METRES_PER_FOOT);

    RunwayEnd& primary = runway.primaryEnd;
    memcpy(primary.ident, runway.ident, sizeof primary.ident);
    primary.heading = runway.heading;
    primary.length = runway.length;

    RunwayEnd& opposite = runway.oppositeEnd;
    int64_t reciprocal = number + 18;
    if (reciprocal > 36)
        reciprocal -= 36;
    Designator(opposite.ident, reciprocal, side, "RLC");
    float heading = runway.heading + 180.0f;
    if (heading > 360.0f)
        heading -= 360.0f;
    opposite.heading = heading;
    opposite.length = runway.length;
    SetThresholds(&runway, U16At(sub, 34), bearings);
    airport->runways[airport->runwayCount++] = runway;
}

void AddAid(FacilityRecord* airport, const uint8_t* sub) {
    if (airport->runwayCount < 1 || I32At(sub, 40) != 4)
        return;
    RunwayRecord& runway = airport->runways[airport->runwayCount - 1];
    RunwayEnd& end = I32At(sub, 48) == 2 ? runway.primaryEnd : runway.oppositeEnd;
    CopyIdent(end.aidIdent, sub + 56, 4, 1);
    end.aidPosition = AirportPosition(sub, 12, 20);
    end.aidCourse = HeadingDegrees(U16At(sub, 34));
    end.aidFrequency =
        static_cast<float>(Facility_DecodeBcdFrequency(U16At(sub, 38), U16At(sub, 36)));
}

// Walks the sub-records of one airport from s; calls visit(kind, sub) on
// each runway and aid record. 0 when they leave the data. Each sub-record
// is visited once per file (marking it) unless mark is false, which walks
// again exactly the count sub-records an earlier, marking walk accepted.
template <typename Visit>
int WalkSubRecords(FacilityReader* r, uint64_t s, bool mark, int32_t* count, Visit visit) {
    for (int32_t walked = 0;; ++walked) {
        uint32_t kind, length;
        if (!mark && walked == *count)
            return 1;
        if (!Read_U16(r, s, &kind))
            return 0;
        if (kind == 0 || (mark && !Read_FirstVisit(r, s)))
            return 1;
        if (!Read_U32(r, s + 4, &length))
            return 0;
        const uint8_t* sub;
        if (kind == SUB_RUNWAY || kind == SUB_AID) {
            if (!Read_Bytes(r, s, kind == SUB_RUNWAY ? RUNWAY_SUB_SIZE : AID_SUB_SIZE, &sub))
                return 0;
            visit(kind, sub);
        }
        if (mark)
            *count = walked + 1;
        s += 8 + static_cast<uint64_t>(length);
    }
}

// The sub-records of one airport: the runways kept are counted first, so
// that the array is allocated once at its size, then decoded in order with
// the approach aids that follow them. 0 when they leave the data.
int ReadSubRecords(FacilityReader* r, uint64_t s, FacilityRecord* airport) {
    int32_t accepted = 0, runways = 0;
    const int whole =
        WalkSubRecords(r, s, true, &accepted, [&runways](uint32_t kind, const uint8_t* sub) {
            if (kind == SUB_RUNWAY && RunwayKept(sub))
                ++runways;
        });
    if (airport == nullptr)
        return whole;
    if (runways > 0) {
        airport->runways = static_cast<RunwayRecord*>(malloc(runways * sizeof(RunwayRecord)));
        if (airport->runways == nullptr)
            runways = 0; // memory is short: the airport without its runways
    }
    WalkSubRecords(r, s, false, &accepted, [r, airport, runways](uint32_t kind, const uint8_t* sub) {
        if (kind == SUB_RUNWAY)
            AddRunway(airport, runways, sub, &r->bearings);
        else
            AddAid(airport, sub);
    });
    return whole;
}

int ReadAirportSection(FacilityDatabase* database, FacilityReader* r, uint64_t section) {
    uint64_t at = section;
    for (;;) {
        uint32_t mark, length, kind;
        if (!Read_U16(r, at, &mark))
            return 0;
        if (mark == 0)
            return 1;
        if (!Read_U32(r, at + 4, &length) || !Read_U32(r, at + 8, &kind))
            return 0;
        if (kind == 1) {
            const uint8_t* head;
            uint32_t firstSub;
            if (!Read_Bytes(r, at, AIRPORT_HEAD_SIZE, &head) || !Read_U32(r, at + 56, &firstSub))
                return 0;
            FacilityRecord* airport = NewRecord(FACILITY_AIRPORT);
            if (airport != nullptr) {
                airport->position = AirportPosition(head, 28, 36);
                CopyIdent(airport->ident, head + 60, 4, 3);
                if (!Append(database, airport)) // runways grow while it is in the list
                    airport = nullptr;
            }
            if (!ReadSubRecords(r, at + 60 + firstSub, airport))
                return 0;
        }
        at += 8 + static_cast<uint64_t>(length);
    }
}

} // namespace

GeoPosition Facility_DecodePosition(const uint8_t packed[8]) {
    const uint32_t latitudeBits =
        packed[0] | static_cast<uint32_t>(packed[1]) << 8 | static_cast<uint32_t>(packed[2]) << 16;
    const uint32_t longitudeBits =
        packed[3] | static_cast<uint32_t>(packed[4]) << 8 | static_cast<uint32_t>(packed[5]) << 16;
    const int16_t altitudeM = static_cast<int16_t>(packed[6] | packed[7] << 8);
    double latitude = (latitudeBits & 0x7FFFFF) / PACKED_LATITUDE_UNITS_PER_DEGREE;
    if (latitudeBits & 0x800000)
        latitude = 150.0 - latitude;
    double longitude = longitudeBits / 16777216.0 * GEO_TWO_PI;
    if (longitudeBits & 0x800000)
        longitude -= GEO_TWO_PI;
    return GeoPosition{latitude * DEG_TO_RAD, longitude, altitudeM * FEET_PER_METRE};
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

int32_t Facility_ReadBufferReport(FacilityDatabase* database, const uint8_t* data, size_t size,
                                  FacilityReadReport* report) {
    FacilityReader reader = {data, size, nullptr, 0, {}};
    memset(reader.bearings.word, 0xFF, sizeof reader.bearings.word);
    // Most files' marks fit on the stack: no heap block per file.
    uint8_t local[4096];
    FacilityReader* r = &reader;
    FacilityReadReport found = {0, 0};
    const int32_t before = database->facilities ? database->facilities->count : 0;
    uint32_t vor = 0, first = 0, last = 0, ndb = 0, airport = 0;
    const size_t markBytes = size / 8 + 1;
    if (size < HEADER_SIZE) {
        found.damage = FACILITY_DAMAGE_HEADER; // no whole header: nothing to read
    } else if ((reader.seen = markBytes <= sizeof local
                                  ? static_cast<uint8_t*>(memset(local, 0, markBytes))
                                  : static_cast<uint8_t*>(calloc(markBytes, 1))) == nullptr) {
        // Without the marks a hostile file could yield without bound.
        found.damage = FACILITY_DAMAGE_VOR | FACILITY_DAMAGE_NDB | FACILITY_DAMAGE_AIRPORT;
    } else {
        Read_U32(r, HEADER_VOR_OFFSET, &vor);
        Read_U16(r, HEADER_FIRST_CHANNEL, &first);
        Read_U16(r, HEADER_LAST_CHANNEL, &last);
        Read_U32(r, HEADER_NDB_OFFSET, &ndb);
        Read_U32(r, HEADER_AIRPORT_OFFSET, &airport);
        if (vor != 0 && (!ReadVorSection(database, r, vor, static_cast<int16_t>(first),
                                         static_cast<int16_t>(last)) ||
                         r->repeated))
            found.damage |= FACILITY_DAMAGE_VOR;
        r->repeated = 0;
        if (ndb != 0 && (!ReadNdbSection(database, r, ndb) || r->repeated))
            found.damage |= FACILITY_DAMAGE_NDB;
        r->repeated = 0;
        if (airport != 0 && (!ReadAirportSection(database, r, airport) || r->repeated))
            found.damage |= FACILITY_DAMAGE_AIRPORT;
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
