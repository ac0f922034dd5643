// tests/reference/facility_records_test.cpp
// Every record of a generated scenery tree against the records the loader
// made before its speed-ups (facility-records.txt): thresholds to 1e-14 rad,
// every other field exactly. SKORVAN_WRITE_REFERENCE=1 writes the file
// instead, for a change that means to alter the records.
#include "facilities.h"
#include "scenery_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Text(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Text(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    return line;
}

// printf takes a float as a double; said so, for -Wdouble-promotion.
double F64(float v) {
    return v;
}

// One line per record, runway and end; thresholds on lines of their own
// that start with "T", so that they can be compared with a tolerance.
std::string Dump(const FacilityRecord* r) {
    std::string out = Text("F %d '%s' %.17g %.17g %.17g %.9g %d %d\n", r->kind, r->ident,
                           r->position.latitude, r->position.longitude, r->position.altitude,
                           F64(r->frequency), r->entryCode, r->runwayCount);
    for (int32_t i = 0; i < r->runwayCount; ++i) {
        const RunwayRecord& w = r->runways[i];
        out += Text("R '%s' %.17g %.17g %.9g %.9g %.9g\n", w.ident, w.centre.latitude,
                    w.centre.longitude, F64(w.heading), F64(w.length), F64(w.width));
        for (const RunwayEnd* e : {&w.primaryEnd, &w.oppositeEnd}) {
            out += Text("E '%s' %.9g %.9g '%s' %.17g %.17g %.17g %.9g %.9g\n", e->ident,
                        F64(e->heading), F64(e->length), e->aidIdent, e->aidPosition.latitude,
                        e->aidPosition.longitude, e->aidPosition.altitude, F64(e->aidCourse),
                        F64(e->aidFrequency));
            out += Text("T %.17g %.17g %.17g\n", e->threshold.latitude, e->threshold.longitude,
                        e->threshold.altitude);
        }
    }
    return out;
}

// The tree's records, each as its block of lines, sorted: the folder walk
// delivers files in whatever order the file system keeps them.
std::vector<std::string> LoadTree() {
    const fs::path root = fs::temp_directory_path() / "skorvan-reference-tree";
    fs::remove_all(root);
    SceneryTreeCounts counts;
    counts.vors = 150, counts.ndbs = 200, counts.airports = 400, counts.runways = 600,
    counts.files = 16;
    Scenery_WriteTree(root.string(), counts, 7);
    FacilityDatabase db = {};
    snprintf(db.sceneryRoot, sizeof db.sceneryRoot, "%s", root.string().c_str());
    Facility_LoadDatabase(&db);
    std::vector<std::string> blocks;
    for (const ListNode* n = db.facilities ? db.facilities->head : nullptr; n; n = n->next)
        blocks.push_back(Dump(static_cast<const FacilityRecord*>(n->item)));
    Facility_FreeDatabase(&db);
    fs::remove_all(root);
    std::sort(blocks.begin(), blocks.end());
    return blocks;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(FacilityRecords, AGeneratedTreeLoadsAsItAlwaysHas) {
    std::string loaded;
    for (const std::string& block : LoadTree())
        loaded += block;
    const char* path = SKORVAN_FACILITY_REFERENCE;
    if (getenv("SKORVAN_WRITE_REFERENCE")) {
        std::ofstream out(path);
        out << loaded;
        ASSERT_TRUE(out.flush()) << "cannot write " << path;
        GTEST_SKIP() << "wrote " << path;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << "cannot read " << path;
    std::stringstream reference;
    reference << in.rdbuf();
    const auto expect = Lines(reference.str()), actual = Lines(loaded);
    ASSERT_EQ(actual.size(), expect.size());
    ASSERT_GT(expect.size(), 1000u);
    int thresholds = 0;
    for (size_t i = 0; i < expect.size(); ++i) {
        if (expect[i][0] != 'T') {
            ASSERT_EQ(actual[i], expect[i]) << "line " << i + 1;
            continue;
        }
        double e[3], a[3];
        ASSERT_EQ(sscanf(expect[i].c_str(), "T %lg %lg %lg", &e[0], &e[1], &e[2]), 3);
        ASSERT_EQ(sscanf(actual[i].c_str(), "T %lg %lg %lg", &a[0], &a[1], &a[2]), 3) << actual[i];
        EXPECT_NEAR(a[0], e[0], 1e-14) << "line " << i + 1;
        EXPECT_NEAR(a[1], e[1], 1e-14) << "line " << i + 1;
        EXPECT_EQ(a[2], e[2]) << "line " << i + 1;
        ++thresholds;
    }
    EXPECT_GT(thresholds, 1000);
}

} // namespace
