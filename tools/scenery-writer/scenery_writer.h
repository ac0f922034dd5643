// tools/scenery-writer/scenery_writer.h
// Builds scenery files with facility sections from a description, and whole
// scenery trees of realistic size, for the reader's tests, the fuzzer's
// seeds and the benchmarks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SceneryVor {
    int channel;           // 0 is 108.00 MHz, 41 is 110.05
    double latDeg, lonDeg; // latitude from -0.97 to 150.97 (what the packing holds)
    int altitudeM;
    std::string ident; // up to 5 characters, blank-padded
    int8_t entryCode = 0;
};

struct SceneryNdb {
    double latDeg, lonDeg;
    int altitudeM;
    std::string ident;
};

// A runway or an approach-aid sub-record of an airport, in file order.
struct ScenerySub {
    int kind; // 2 runway, 4 approach aid, anything else skipped
    double latDeg, lonDeg;
    uint16_t headingWord; // degrees x 65535 / 360
    int32_t lengthFt = 0; // runway
    int32_t widthFt = 0;  // runway
    int32_t side = 0;     // runway: 1 L, 2 R, 3 C; aid: 2 primary end, else opposite
    int32_t number = 0;   // runway
    int32_t aidKind = 4;  // aid
    uint16_t integerBcd = 0, fractionBcd = 0; // aid frequency
    std::string ident;                        // aid, up to 4 characters
};

struct SceneryAirport {
    std::string ident; // up to 4 characters
    double latDeg, lonDeg;
    std::vector<ScenerySub> subs;
    uint32_t recordKind = 1; // other kinds are skipped by the reader
};

struct SceneryFile {
    std::vector<SceneryVor> vors;
    std::vector<SceneryNdb> ndbs;
    std::vector<SceneryAirport> airports;
    bool skippedEntries = false; // put 17-byte kind-20 entries into the runs
};

// Layout of the built file, for tests that damage it on purpose.
struct SceneryLayout {
    uint32_t vorSection = 0, ndbSection = 0, airportSection = 0;
};

std::vector<uint8_t> Scenery_BuildFile(const SceneryFile& file, SceneryLayout* layout = nullptr);
uint32_t Scenery_PackLatitude(double degrees);
uint32_t Scenery_PackLongitude(double degrees);
uint16_t Scenery_HeadingWord(double degrees);

struct SceneryTreeCounts {
    int vors = 3000, ndbs = 5000, airports = 20000, runways = 30000, files = 300;
};

// Writes root/SCENEDB/{EASTHEM,WESTHEM}/<regions>/..._VOR.BGL and _NDB.BGL,
// an AIRPORTS.BGL in EASTHEM that the walk must skip, and airport files in
// root/SCENEDB/AFDFILES/SCENERY, and a manifest of them. Deterministic for a
// given seed. Returns the number of bytes written, 0 when any file could not
// be written whole (with "PATH: reason" of the first failure in error).
uint64_t Scenery_WriteTree(const std::string& root, const SceneryTreeCounts& counts,
                           unsigned seed = 1, std::string* error = nullptr);
// The file below root that names every file Scenery_WriteTree wrote.
static const char* const SCENERY_MANIFEST = "SCENEDB/skorvan-scenery-writer.txt";
// Removes the files a previous Scenery_WriteTree wrote below root, as its
// manifest names them; false (nothing removed) without a manifest.
bool Scenery_RemoveTree(const std::string& root);
// Writes bytes to path; false with "PATH: reason" in error (when given).
bool Scenery_WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes,
                        std::string* error = nullptr);
