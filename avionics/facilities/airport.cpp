// avionics/facilities/airport.cpp
// The airport section of a scenery file: airports, their runways (with the
// threshold of each end worked out) and the approach aids that follow them.
#include "reader_internal.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace layout;

namespace {

const double MIN_RUNWAY_FT = 1640.42; // runways shorter than about 500 m are left out

template <typename BLOCK, int LAT, int LON>
GeoPosition PositionOf(Checked<BLOCK> block, Field<BLOCK, LAT, I32> latitude,
                       Field<BLOCK, LON, I32> longitude) {
    return GeoPosition{Get(block, latitude) / GEO_SCENERY_QUARTER_TURN * GEO_HALF_PI,
                       Get(block, longitude) / GEO_PACKED_HALF_TURN * GEO_PI, 0.0};
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
    const double distance = static_cast<double>(runway->length) * 0.5;
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

bool RunwayKept(Checked<Runway> sub) {
    return Get(sub, RUNWAY_LENGTH_FT) > MIN_RUNWAY_FT;
}

// Fills the next of the runways that ReadSubRecords counted and allocated.
void AddRunway(FacilityRecord* airport, int32_t capacity, Checked<Runway> sub,
               BearingCache* bearings) {
    if (!RunwayKept(sub) || airport->runwayCount >= capacity)
        return;
    RunwayRecord runway;
    memset(&runway, 0, sizeof runway);
    const int32_t side = Get(sub, RUNWAY_SIDE);
    const int64_t number = Get(sub, RUNWAY_NUMBER);
    const uint32_t headingWord = Get(sub, RUNWAY_HEADING);
    Designator(runway.ident, number, side, "LRC");
    runway.centre = PositionOf(sub, RUNWAY_LATITUDE, RUNWAY_LONGITUDE);
    runway.heading = HeadingDegrees(headingWord);
    runway.length = static_cast<float>(Get(sub, RUNWAY_LENGTH_FT) * GEO_METRES_PER_FOOT);
    runway.width = static_cast<float>(Get(sub, RUNWAY_WIDTH_FT) * GEO_METRES_PER_FOOT);

    RunwayEnd& primary = runway.primaryEnd;
    memcpy(primary.ident, runway.ident, sizeof primary.ident);
    primary.heading = runway.heading;
    primary.length = runway.length;

    // The other end: number + 18 within 1..36, left and right swapped.
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
    SetThresholds(&runway, headingWord, bearings);
    airport->runways[airport->runwayCount++] = runway;
}

// A localizer belongs to the runway before it, at the end it names.
void AddAid(FacilityRecord* airport, Checked<Aid> sub) {
    if (airport->runwayCount < 1 || Get(sub, AID_KIND) != Aid::LOCALIZER)
        return;
    RunwayRecord& runway = airport->runways[airport->runwayCount - 1];
    RunwayEnd& end = Get(sub, AID_END) == Aid::PRIMARY_END ? runway.primaryEnd : runway.oppositeEnd;
    Reader_CopyIdent(end.aidIdent, Get(sub, AID_IDENT), 4, 1);
    end.aidPosition = PositionOf(sub, AID_LATITUDE, AID_LONGITUDE);
    end.aidCourse = HeadingDegrees(Get(sub, AID_COURSE));
    end.aidFrequency = static_cast<float>(Facility_DecodeBcdFrequency(
        Get(sub, AID_FREQUENCY_INTEGER), Get(sub, AID_FREQUENCY_FRACTION)));
}

// Walks the sub-records of one airport from s, calling onRunway and onAid
// on each runway and aid record. 0 when they leave the data. Each
// sub-record is visited once per file (marking it) unless mark is false,
// which walks again exactly the count sub-records an earlier, marking walk
// accepted.
template <typename OnRunway, typename OnAid>
int WalkSubRecords(FacilityReader* r, uint64_t s, bool mark, int32_t* count, OnRunway onRunway,
                   OnAid onAid) {
    for (int32_t walked = 0;; ++walked) {
        uint32_t kind, length;
        if (!mark && walked == *count)
            return 1;
        if (!Reader_Field(r, s, SUB_KIND, &kind))
            return 0;
        if (kind == 0 || (mark && !Reader_FirstVisit(r, s)))
            return 1;
        if (!Reader_Field(r, s, SUB_LENGTH, &length))
            return 0;
        if (kind == SubKind::RUNWAY) {
            Checked<Runway> runway;
            if (!Reader_Block(r, s, &runway))
                return 0;
            onRunway(runway);
        } else if (kind == SubKind::AID) {
            Checked<Aid> aid;
            if (!Reader_Block(r, s, &aid))
                return 0;
            onAid(aid);
        }
        if (mark)
            *count = walked + 1;
        s += SubHead::UNCOUNTED + static_cast<uint64_t>(length);
    }
}

// The sub-records of one airport: the runways kept are counted first, so
// that the array is allocated once at its size, then decoded in order with
// the approach aids that follow them. 0 when they leave the data.
int ReadSubRecords(FacilityReader* r, uint64_t s, FacilityRecord* airport) {
    int32_t accepted = 0, runways = 0;
    const int whole = WalkSubRecords(
        r, s, true, &accepted,
        [&runways](Checked<Runway> sub) {
            if (RunwayKept(sub))
                ++runways;
        },
        [](Checked<Aid>) {});
    if (airport == nullptr)
        return whole;
    if (runways > 0) {
        airport->runways = static_cast<RunwayRecord*>(malloc(runways * sizeof(RunwayRecord)));
        if (airport->runways == nullptr)
            runways = 0; // memory is short: the airport without its runways
    }
    WalkSubRecords(
        r, s, false, &accepted,
        [r, airport, runways](Checked<Runway> sub) {
            AddRunway(airport, runways, sub, &r->bearings);
        },
        [airport](Checked<Aid> sub) { AddAid(airport, sub); });
    return whole;
}

} // namespace

int Reader_AirportSection(FacilityDatabase* database, FacilityReader* r, uint64_t section) {
    uint64_t at = section;
    for (;;) {
        uint32_t mark, length, kind;
        if (!Reader_Field(r, at, RECORD_MARK, &mark))
            return 0;
        if (mark == 0)
            return 1;
        if (!Reader_Field(r, at, RECORD_LENGTH, &length) ||
            !Reader_Field(r, at, RECORD_KIND, &kind))
            return 0;
        if (kind == RecordHead::AIRPORT) {
            Checked<Airport> head;
            if (!Reader_Block(r, at, &head))
                return 0;
            FacilityRecord* airport = Reader_NewRecord(FACILITY_AIRPORT);
            if (airport != nullptr) {
                airport->position = PositionOf(head, AIRPORT_LATITUDE, AIRPORT_LONGITUDE);
                Reader_CopyIdent(airport->ident, Get(head, AIRPORT_IDENT), 4, 3);
                if (!Reader_Append(database, airport)) // runways grow while it is in the list
                    airport = nullptr;
            }
            const uint64_t firstSub = at + AIRPORT_SUBS_BASE + Get(head, AIRPORT_FIRST_SUB);
            if (!ReadSubRecords(r, firstSub, airport))
                return 0;
        }
        at += RecordHead::UNCOUNTED + static_cast<uint64_t>(length);
    }
}
