// tests/unit/facility_reader_test.cpp
// The facility reader on files made by the scenery writer, record by
// record, and on damaged files: truncated, with offsets past the end,
// chains that run off the data, channel ranges beyond the index.
#include "facilities.h"
#include "scenery_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const double PI = 3.141592653589793;

struct Database {
    FacilityDatabase db = {};
    ~Database() { Facility_FreeDatabase(&db); }
    std::vector<const FacilityRecord*> Records() const {
        std::vector<const FacilityRecord*> out;
        if (db.facilities)
            for (const ListNode* n = db.facilities->head; n; n = n->next)
                out.push_back(static_cast<const FacilityRecord*>(n->item));
        return out;
    }
};

// Reads bytes from a heap block of exactly their size, so that ASan sees
// any read past the end.
std::vector<const FacilityRecord*> ReadExact(Database& d, const std::vector<uint8_t>& bytes,
                                             size_t size) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[size ? size : 1]);
    if (size)
        memcpy(exact.get(), bytes.data(), size);
    Facility_ReadBuffer(&d.db, exact.get(), size);
    return d.Records();
}

// A sub-record with the fields every kind has; the others keep the
// writer's defaults.
ScenerySub Sub(int kind, double latDeg, double lonDeg, uint16_t headingWord) {
    ScenerySub s{};
    s.kind = kind;
    s.latDeg = latDeg;
    s.lonDeg = lonDeg;
    s.headingWord = headingWord;
    return s;
}

// A runway 150 ft wide.
ScenerySub RunwaySub(double latDeg, double lonDeg, uint16_t headingWord, int32_t lengthFt,
                     int32_t side, int32_t number) {
    ScenerySub s = Sub(2, latDeg, lonDeg, headingWord);
    s.lengthFt = lengthFt;
    s.widthFt = 150;
    s.side = side;
    s.number = number;
    return s;
}

ScenerySub Runway(int number, int side, double headingDeg, int lengthFt, double latDeg = 47,
                  double lonDeg = 10) {
    return RunwaySub(latDeg, lonDeg, Scenery_HeadingWord(headingDeg), lengthFt, side, number);
}

ScenerySub Aid(int end, const char* ident, double courseDeg) {
    ScenerySub s = Sub(4, 47.01, 10.02, Scenery_HeadingWord(courseDeg));
    s.side = end;
    s.integerBcd = 0x0110;
    s.fractionBcd = 0x3500;
    s.ident = ident;
    return s;
}

SceneryFile SampleFile() {
    SceneryFile f;
    f.skippedEntries = true;
    f.vors = {{41, 47.5, 8.5, 400, "ZUE", -3},
              {0, 10, -20, 0, "AB   "},
              {0, 11, 20, 0, " XY"},
              {199, 60, 150, 0, "ABCDE"}};
    f.ndbs = {{46, 7, 500, "NDB1"}, {45, 6, 0, "K"}};
    SceneryAirport a{"LSZ ", 47.0, 10.0, {}};
    a.subs = {Aid(2, "IGN", 90),      // before any runway: ignored
              Runway(9, 1, 90, 1641), // 09L / 27R
              Aid(2, "IKL", 92),        Aid(1, "I R", 272),
              Runway(36, 0, 360, 1640),  // too short: ignored
              Runway(36, 0, 0, 5000),    // 36 / 18
              Runway(18, 3, 180, 5000),  // 18C / 36C, opposite heading 360
              Runway(19, 2, 190, 5000)}; // 19R / 01L
    SceneryAirport skipped{"XXXX", 1, 1, {}};
    skipped.recordKind = 7;
    SceneryAirport b{"B", -33.9, 151.2, {Runway(5, 0, 50, 8000, -33.9, 151.2)}};
    b.subs.back().headingWord = 65535;
    f.airports = {a, skipped, b};
    return f;
}

TEST(FacilityReader, ReadsEveryRecordOfAWrittenFile) {
    Database d;
    const auto bytes = Scenery_BuildFile(SampleFile());
    const auto records = ReadExact(d, bytes, bytes.size());
    ASSERT_EQ(records.size(), 8u); // 4 VOR, 2 NDB, 2 airports (the other kind skipped)

    // VORs by channel order, then NDBs, then airports.
    const FacilityRecord* vor = records[2];
    EXPECT_EQ(vor->kind, FACILITY_VOR);
    EXPECT_STREQ(vor->ident, "ZUE");
    EXPECT_EQ(vor->frequency, 110.05f); // channel 41
    EXPECT_EQ(vor->entryCode, -3);
    EXPECT_NEAR(vor->position.latitude * RAD_TO_DEG, 47.5, 1e-5);
    EXPECT_NEAR(vor->position.longitude * RAD_TO_DEG, 8.5, 1e-4);
    EXPECT_NEAR(vor->position.altitude, 400 * 3.28084, 1e-9);
    EXPECT_EQ(records[0]->frequency, 108.0f);
    EXPECT_STREQ(records[0]->ident, "AB");  // trailing blanks cut
    EXPECT_STREQ(records[1]->ident, " XY"); // a leading blank stays
    EXPECT_STREQ(records[3]->ident, "ABCDE");
    EXPECT_NEAR(records[3]->frequency, 117.95f, 1e-5);
    EXPECT_NEAR(records[0]->position.longitude * RAD_TO_DEG, -20, 1e-4);

    EXPECT_EQ(records[4]->kind, FACILITY_NDB);
    EXPECT_STREQ(records[4]->ident, "NDB1");
    EXPECT_EQ(records[4]->frequency, 0.0f);
    EXPECT_STREQ(records[5]->ident, "K "); // only blanks from the third character on are cut

    const FacilityRecord* airport = records[6];
    EXPECT_EQ(airport->kind, FACILITY_AIRPORT);
    EXPECT_STREQ(airport->ident, "LSZ");
    EXPECT_EQ(airport->position.altitude, 0.0);
    ASSERT_EQ(airport->runwayCount, 4);
    const RunwayRecord* r = airport->runways;
    EXPECT_STREQ(r[0].ident, "09L");
    EXPECT_STREQ(r[0].primaryEnd.ident, "09L");
    EXPECT_STREQ(r[0].oppositeEnd.ident, "27R");
    EXPECT_EQ(r[0].length, static_cast<float>(1641 * 0.3048));
    EXPECT_EQ(r[0].width, static_cast<float>(150 * 0.3048));
    EXPECT_STREQ(r[1].primaryEnd.ident, "36");
    EXPECT_STREQ(r[1].oppositeEnd.ident, "18");
    EXPECT_STREQ(r[2].oppositeEnd.ident, "36C");
    EXPECT_NEAR(r[2].oppositeEnd.heading, 0.0f, 0.01); // the word 32768 is 180.003: wraps to 0.003
    EXPECT_NEAR(r[1].oppositeEnd.heading, 180.0f, 1e-4);
    EXPECT_STREQ(r[3].primaryEnd.ident, "19R");
    EXPECT_STREQ(r[3].oppositeEnd.ident, "01L");
    // Approach aids: the first came before any runway; the others serve 09L and 27R.
    EXPECT_STREQ(r[0].primaryEnd.aidIdent, "IKL");
    EXPECT_NEAR(r[0].primaryEnd.aidFrequency, 110.35f, 1e-4);
    EXPECT_NEAR(r[0].primaryEnd.aidCourse, 92.0f, 0.01);
    EXPECT_STREQ(r[0].oppositeEnd.aidIdent, "I"); // blanks at 1 to 3 cut
    EXPECT_STREQ(r[1].primaryEnd.aidIdent, "");

    const FacilityRecord* south = records[7];
    ASSERT_EQ(south->runwayCount, 1);
    EXPECT_EQ(south->runways[0].heading, 360.0f); // heading word 65535
    EXPECT_EQ(south->runways[0].oppositeEnd.heading, 180.0f);
    EXPECT_NEAR(south->position.latitude * RAD_TO_DEG, -33.9, 1e-5); // 9e-6 degrees a unit
}

TEST(FacilityReader, ThresholdsLieHalfTheLengthBehindEachEnd) {
    Database d;
    const auto bytes = Scenery_BuildFile(SampleFile());
    const auto records = ReadExact(d, bytes, bytes.size());
    const RunwayRecord& r = records[6]->runways[1]; // 36 / 18 at 47 N 10 E, 5000 ft
    const double half = 5000 * 0.3048 / 2;
    // Thresholds carry the offsets' longitude range: near -350 degrees.
    EXPECT_NEAR(r.primaryEnd.threshold.longitude * RAD_TO_DEG, -350.0, 1e-6);
    EXPECT_NEAR(r.oppositeEnd.threshold.longitude * RAD_TO_DEG, -350.0, 1e-6);
    EXPECT_NEAR(r.centre.longitude * RAD_TO_DEG, 10.0, 1e-6); // the centre keeps the file's
    double distance, bearing;
    Geo_DistanceBearing(&r.centre, &r.primaryEnd.threshold, &distance, &bearing);
    EXPECT_NEAR(bearing, 180.0, 1e-3); // 36: its threshold lies south of the centre
    EXPECT_NEAR(distance, half * 111120.0 / (6367310.0 * PI / 180), 0.2);
    Geo_DistanceBearing(&r.centre, &r.oppositeEnd.threshold, &distance, &bearing);
    EXPECT_NEAR(remainder(bearing, 360.0), 0.0, 1e-3); // due north: 0 or 360
}

// Every threshold must be the point the rotations give for the offset (0, 0,
// half the length) turned by the end's bearing and laid on the centre, to the
// last place or two. Headings round the whole circle (both reciprocal
// wraps), latitudes from the equator to near a pole.
TEST(FacilityReader, ThresholdsAreTheOffsetsTurnedByEachEndsBearing) {
    SceneryFile f;
    const double latitudes[] = {0.0, 47.3, -62.5, 89.995};
    for (double latDeg : latitudes) {
        SceneryAirport a{"TEST", latDeg, -71.2, {}};
        for (int word = 0; word <= 65535; word += 331)
            a.subs.push_back(
                RunwaySub(latDeg, -71.2, static_cast<uint16_t>(word), 1641 + word % 13000, 0, 9));
        a.subs.push_back(RunwaySub(latDeg, 179.99, 65535, 12000, 0, 36));
        f.airports.push_back(a);
    }
    Database d;
    const auto bytes = Scenery_BuildFile(f);
    const auto records = ReadExact(d, bytes, bytes.size());
    ASSERT_EQ(records.size(), 4u);
    for (const FacilityRecord* airport : records) {
        ASSERT_EQ(airport->runwayCount, 65535 / 331 + 2);
        for (int i = 0; i < airport->runwayCount; ++i) {
            const RunwayRecord& r = airport->runways[i];
            for (const RunwayEnd* end : {&r.primaryEnd, &r.oppositeEnd}) {
                Vector3 v = {0, 0, static_cast<double>(end->length) * 0.5};
                Vec3_RotateY(&v, (static_cast<double>(end->heading) + 180.0) * DEG_TO_RAD);
                GeoPosition expect;
                Geo_OffsetToPosition(&r.centre, &v, &expect);
                ASSERT_NEAR(end->threshold.latitude, expect.latitude, 2e-15) << i;
                // Along the parallel: near the pole a radian of longitude is short.
                ASSERT_NEAR(remainder(end->threshold.longitude - expect.longitude, 2 * PI) *
                                cos(expect.latitude),
                            0.0, 2e-15)
                    << airport->position.latitude << " " << i;
                ASSERT_LT(end->threshold.longitude, 0.0);
                ASSERT_GE(end->threshold.longitude, -2 * PI);
            }
        }
    }
}

TEST(FacilityReader, DecodesPackedPositionsAndBcdFrequencies) {
    const uint8_t flagOnly[8] = {0x00, 0x00, 0x80, 0x00, 0x00, 0xC0, 0x10, 0x00};
    const GeoPosition p = Facility_DecodePosition(flagOnly);
    EXPECT_DOUBLE_EQ(p.latitude, 150.0 * DEG_TO_RAD);
    EXPECT_DOUBLE_EQ(p.longitude, -PI / 2);
    EXPECT_NEAR(p.altitude, 16 * 3.28084, 1e-12);
    EXPECT_DOUBLE_EQ(Facility_DecodeBcdFrequency(0x0110, 0x3500), 110.35);
    EXPECT_DOUBLE_EQ(Facility_DecodeBcdFrequency(0xF110, 0x350F), 110.35); // ignored nibbles
}

TEST(FacilityReader, AnEmptyHeaderAddsNothing) {
    Database d;
    const std::vector<uint8_t> header(168, 0);
    FacilityReadReport report;
    Facility_ReadBufferReport(&d.db, header.data(), header.size(), &report);
    EXPECT_TRUE(d.Records().empty());
    EXPECT_EQ(report.damage, 0);
    Facility_ReadBufferReport(&d.db, header.data(), 100, &report);
    EXPECT_EQ(report.damage, FACILITY_DAMAGE_HEADER);
    const auto whole = Scenery_BuildFile(SampleFile());
    Facility_ReadBufferReport(&d.db, whole.data(), whole.size(), &report);
    EXPECT_EQ(report.damage, 0);
    EXPECT_EQ(report.records, 8);
}

// Field by field: a byte compare of the records would also compare their
// padding, which copies need not keep.
bool SamePosition(const GeoPosition& a, const GeoPosition& b) {
    return a.latitude == b.latitude && a.longitude == b.longitude && a.altitude == b.altitude;
}

// An end from a cut file: the same, or without the approach aid that the
// cut left out.
bool EndIsPartOf(const RunwayEnd& cut, const RunwayEnd& whole) {
    const bool same = memcmp(cut.ident, whole.ident, sizeof cut.ident) == 0 &&
                      SamePosition(cut.threshold, whole.threshold) &&
                      cut.heading == whole.heading && cut.length == whole.length;
    if (cut.aidIdent[0] == '\0')
        return same;
    return same && memcmp(cut.aidIdent, whole.aidIdent, sizeof cut.aidIdent) == 0 &&
           SamePosition(cut.aidPosition, whole.aidPosition) && cut.aidCourse == whole.aidCourse &&
           cut.aidFrequency == whole.aidFrequency;
}

bool RunwaysArePartOf(const FacilityRecord* cut, const FacilityRecord* whole) {
    for (int32_t i = 0; i < cut->runwayCount; ++i) {
        const RunwayRecord &c = cut->runways[i], &w = whole->runways[i];
        if (!EndIsPartOf(c.primaryEnd, w.primaryEnd) || !EndIsPartOf(c.oppositeEnd, w.oppositeEnd))
            return false;
        if (memcmp(c.ident, w.ident, sizeof c.ident) != 0 || !SamePosition(c.centre, w.centre) ||
            c.heading != w.heading || c.length != w.length || c.width != w.width)
            return false;
    }
    return true;
}

// A record from a cut file must be one of the whole file's, field by field
// (an airport may have lost runways or aids from its end): anything read
// past the cut would show as a record or runway that the whole file does
// not hold.
bool IsPartOf(const FacilityRecord* cut, const std::vector<const FacilityRecord*>& whole) {
    for (const FacilityRecord* w : whole) {
        if (cut->kind == w->kind && strcmp(cut->ident, w->ident) == 0 &&
            SamePosition(cut->position, w->position) && cut->frequency == w->frequency &&
            cut->entryCode == w->entryCode && cut->runwayCount <= w->runwayCount &&
            RunwaysArePartOf(cut, w))
            return true;
    }
    return false;
}

TEST(FacilityReader, TruncatedFilesNeverReadPastTheirEnd) {
    const auto bytes = Scenery_BuildFile(SampleFile());
    Database all;
    const auto whole = ReadExact(all, bytes, bytes.size());
    ASSERT_EQ(whole.size(), 8u);
    for (size_t size = 0; size < bytes.size(); ++size) {
        Database d;
        FacilityReadReport report;
        std::unique_ptr<uint8_t[]> exact(new uint8_t[size ? size : 1]);
        memcpy(exact.get(), bytes.data(), size);
        Facility_ReadBufferReport(&d.db, exact.get(), size, &report);
        const auto cut = d.Records();
        if (size < 168) {
            ASSERT_EQ(cut.size(), 0u) << "shorter than its header: " << size;
        }
        if (cut.size() < whole.size()) {
            EXPECT_NE(report.damage, 0) << "a cut that lost records is reported: " << size;
        }
        for (const FacilityRecord* record : cut)
            ASSERT_TRUE(IsPartOf(record, whole)) << record->ident << " from " << size << " bytes";
    }
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(FacilityReader, DamagedSectionsStopWhileTheOthersAreRead) {
    SceneryLayout layout;
    const auto good = Scenery_BuildFile(SampleFile(), &layout);
    struct Damage {
        const char* what;
        void (*apply)(std::vector<uint8_t>&, const SceneryLayout&);
        size_t expect;  // records still read
        int32_t damage; // sections reported cut short
    };
    const Damage damages[] = {
        {"VOR offset past the end",
         [](auto& b, auto&) { PutU32(b, 18, static_cast<uint32_t>(b.size() + 100)); }, 4,
         FACILITY_DAMAGE_VOR},
        {"NDB offset past the end", [](auto& b, auto&) { PutU32(b, 78, 0xFFFFFFF0u); }, 6,
         FACILITY_DAMAGE_NDB},
        {"airport offset at the last byte",
         [](auto& b, auto&) { PutU32(b, 164, static_cast<uint32_t>(b.size() - 1)); }, 6,
         FACILITY_DAMAGE_AIRPORT},
        {"negative first channel",
         [](auto& b, auto&) {
             b[22] = 0xFE;
             b[23] = 0xFF;
         },
         4, FACILITY_DAMAGE_VOR},
        {"group record's run past the end",
         [](auto& b, auto& l) {
             // Channel 0's group record: its run offset points off the data.
             uint32_t g =
                 b[l.vorSection + 1] | b[l.vorSection + 2] << 8 | b[l.vorSection + 3] << 16;
             PutU32(b, l.vorSection + g + 5, 0x7FFFFFFFu);
         },
         4, FACILITY_DAMAGE_VOR},
        {"NDB chain that runs off the buffer",
         [](auto& b, auto& l) {
             // Every byte from the chain to the end a group mark.
             for (size_t i = l.ndbSection; i < b.size(); ++i)
                 b[i] = 21;
         },
         4, FACILITY_DAMAGE_NDB | FACILITY_DAMAGE_AIRPORT},
        {"airport record length that wraps",
         [](auto& b, auto& l) { PutU32(b, l.airportSection + 4, 0xFFFFFFFFu); }, 7,
         FACILITY_DAMAGE_AIRPORT},
        {"sub-record offset past the end",
         [](auto& b, auto& l) { PutU32(b, l.airportSection + 56, 0x80000000u); }, 7,
         FACILITY_DAMAGE_AIRPORT},
    };
    for (const Damage& damage : damages) {
        std::vector<uint8_t> bytes = good;
        damage.apply(bytes, layout);
        Database d;
        FacilityReadReport report;
        Facility_ReadBufferReport(&d.db, bytes.data(), bytes.size(), &report);
        EXPECT_EQ(d.Records().size(), damage.expect) << damage.what;
        EXPECT_EQ(report.damage, damage.damage) << damage.what;
        EXPECT_EQ(report.records, static_cast<int32_t>(damage.expect)) << damage.what;
    }
    // Channels past the index read whatever bytes follow it, until an entry
    // would lie outside the file: the real records all come through.
    std::vector<uint8_t> bytes = good;
    bytes[24] = 0x30;
    bytes[25] = 0x75; // last channel 30000
    Database d;
    EXPECT_GE(ReadExact(d, bytes, bytes.size()).size(), 8u);
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Files whose pointers lead many times to the same run, chain or list: each
// is read once, the rest reported as damage, so what a file yields grows
// with its size and not with the number of pointers.
TEST(FacilityReader, SharedRunsChainsAndListsAreReadOnce) {
    // 4000 NDB group records, all pointing at one run of 2000 entries (a
    // 120 KB file that used to yield 8,000,000 records).
    const uint32_t groups = 4000, entries = 2000, section = 168;
    std::vector<uint8_t> ndb(section + 9 * groups + 1 + 42 * entries + 1, 0);
    PutU32(ndb, 78, section);
    const uint32_t run = 9 * groups + 1;
    for (uint32_t g = 0; g < groups; ++g) {
        ndb[section + 9 * g] = 21;
        PutU32(ndb, section + 9 * g + 5, run);
    }
    for (uint32_t e = 0; e < entries; ++e) {
        ndb[section + run + 42 * e] = 4;
        memcpy(&ndb[section + run + 42 * e + 13], "NDB  ", 5);
    }
    {
        Database d;
        FacilityReadReport report;
        Facility_ReadBufferReport(&d.db, ndb.data(), ndb.size(), &report);
        EXPECT_EQ(report.records, static_cast<int32_t>(entries));
        EXPECT_EQ(report.damage, FACILITY_DAMAGE_NDB);
    }

    SceneryFile f;
    f.vors = {{10, 47, 8, 0, "AAA"}, {11, 47, 9, 0, "BBB"}, {11, 47, 9, 0, "CCC"}};
    SceneryAirport first{"ONE", 47, 10, {Runway(9, 0, 90, 5000)}};
    SceneryAirport second{"TWO", 48, 11, {Runway(4, 0, 40, 6000), Runway(22, 0, 220, 6000)}};
    f.airports = {first, second};
    SceneryLayout layout;
    const auto good = Scenery_BuildFile(f, &layout);

    // Channel 10's index entry points at channel 11's chain: BBB and CCC
    // once, AAA lost, and the section reported.
    std::vector<uint8_t> vor = good;
    PutU32(vor, layout.vorSection + 5 * 10 + 1, U32At(vor, layout.vorSection + 5 * 11 + 1));
    {
        Database d;
        FacilityReadReport report;
        Facility_ReadBufferReport(&d.db, vor.data(), vor.size(), &report);
        ASSERT_EQ(d.Records().size(), 4u);
        EXPECT_STREQ(d.Records()[0]->ident, "BBB");
        EXPECT_STREQ(d.Records()[1]->ident, "CCC");
        EXPECT_EQ(report.damage, FACILITY_DAMAGE_VOR);
    }

    // The first airport's sub-records pointer leads to the second's list:
    // the first gets those two runways, the second none (not a second copy).
    std::vector<uint8_t> apt = good;
    const size_t at0 = layout.airportSection, at1 = at0 + 8 + U32At(apt, at0 + 4);
    const size_t list1 = at1 + 60 + U32At(apt, at1 + 56);
    PutU32(apt, at0 + 56, static_cast<uint32_t>(list1 - (at0 + 60)));
    {
        Database d;
        FacilityReadReport report;
        Facility_ReadBufferReport(&d.db, apt.data(), apt.size(), &report);
        const auto records = d.Records();
        ASSERT_EQ(records.size(), 5u);
        EXPECT_EQ(records[3]->runwayCount, 2);
        EXPECT_STREQ(records[3]->runways[1].ident, "22");
        EXPECT_EQ(records[4]->runwayCount, 0);
        EXPECT_EQ(report.damage, FACILITY_DAMAGE_AIRPORT);
    }
}

// Approach aids belong to the runway before them; a later aid for the same
// end replaces the earlier one, and an aid of another kind is skipped.
TEST(FacilityReader, ALaterAidForTheSameEndReplacesTheEarlier) {
    SceneryFile f;
    ScenerySub other = Aid(2, "OTH", 95);
    other.aidKind = 3;
    SceneryAirport a{"AID",
                     47,
                     10,
                     {Runway(9, 0, 90, 5000), Aid(2, "OLD", 90), Aid(1, "OPP", 270),
                      Aid(2, "NEW", 91), other, Runway(27, 0, 270, 5000)}};
    f.airports = {a};
    Database d;
    const auto bytes = Scenery_BuildFile(f);
    const auto records = ReadExact(d, bytes, bytes.size());
    ASSERT_EQ(records.size(), 1u);
    ASSERT_EQ(records[0]->runwayCount, 2);
    const RunwayRecord& first = records[0]->runways[0];
    EXPECT_STREQ(first.primaryEnd.aidIdent, "NEW");
    EXPECT_FLOAT_EQ(first.primaryEnd.aidCourse,
                    static_cast<float>(Scenery_HeadingWord(91) / 65535.0 * 360.0));
    EXPECT_STREQ(first.oppositeEnd.aidIdent, "OPP");
    EXPECT_STREQ(records[0]->runways[1].primaryEnd.aidIdent, "");
}

// The public append must hold for an array of exactly runwayCount records,
// as a gauge author allocates it.
TEST(FacilityReader, AddRunwayGrowsAnExactlySizedArray) {
    FacilityRecord airport = {};
    airport.kind = FACILITY_AIRPORT;
    airport.runwayCount = 3;
    airport.runways = static_cast<RunwayRecord*>(calloc(3, sizeof(RunwayRecord)));
    ASSERT_NE(airport.runways, nullptr);
    for (int i = 0; i < 3; ++i)
        airport.runways[i].length = static_cast<float>(1000 + i);
    RunwayRecord added = {};
    added.length = 2500;
    ASSERT_EQ(Facility_AddRunway(&airport, &added), 1);
    ASSERT_EQ(airport.runwayCount, 4);
    EXPECT_EQ(airport.runways[2].length, 1002.0f);
    EXPECT_EQ(airport.runways[3].length, 2500.0f);
    free(airport.runways);
}

TEST(FacilityReader, ManyRunwaysCostLinearTime) {
    SceneryFile f;
    SceneryAirport a{"BIG", 1, 1, {}};
    for (int i = 0; i < 20000; ++i)
        a.subs.push_back(Runway(1 + i % 36, 0, 10, 2000, 1, 1));
    f.airports.push_back(a);
    Database d;
    const auto bytes = Scenery_BuildFile(f);
    const auto records = ReadExact(d, bytes, bytes.size());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->runwayCount, 20000);
    EXPECT_STREQ(records[0]->runways[19999].ident, "20"); // 1 + 19999 % 36
}

} // namespace
