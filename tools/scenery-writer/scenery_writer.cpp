// tools/scenery-writer/scenery_writer.cpp
// The inverse of the facility reader, written from the file format: header,
// VOR channel index with group records and runs, NDB chain, airport records
// with runway and approach-aid sub-records.
#include "scenery_writer.h"

#include "output.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>

namespace fs = std::filesystem;

namespace {

struct Bytes {
    std::vector<uint8_t> data;
    size_t Size() const { return data.size(); }
    void U8(uint32_t v) { data.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Zeros(size_t n) { data.insert(data.end(), n, 0); }
    void Text(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i)
            U8(i < s.size() ? static_cast<uint8_t>(s[i]) : ' ');
    }
    void PutU32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
    void PutU16(size_t at, uint32_t v) {
        data[at] = static_cast<uint8_t>(v);
        data[at + 1] = static_cast<uint8_t>(v >> 8);
    }
};

void PackedPosition(Bytes& b, double latDeg, double lonDeg, int altitudeM) {
    const uint32_t lat = Scenery_PackLatitude(latDeg), lon = Scenery_PackLongitude(lonDeg);
    b.U8(lat & 0xFF), b.U8((lat >> 8) & 0xFF), b.U8(lat >> 16);
    b.U8(lon & 0xFF), b.U8((lon >> 8) & 0xFF), b.U8(lon >> 16);
    b.U16(static_cast<uint16_t>(static_cast<int16_t>(altitudeM)));
}

// The file format's figures, written out here on purpose rather than taken
// from geo.h: the writer makes the files the reader is tested on, and a
// figure shared by both would hide a wrong one.
int32_t QuarterTurnUnits(double degrees) {
    return static_cast<int32_t>(std::lround(degrees / 90.0 * 10001750.0));
}
int32_t HalfTurnUnits(double degrees) {
    return static_cast<int32_t>(std::llround(degrees / 180.0 * 2147483648.0) & 0xFFFFFFFF);
}

void SkippedEntry(Bytes& b) {
    b.U8(20);
    b.Zeros(16);
}

void Vor(Bytes& b, const SceneryVor& v) {
    const size_t start = b.Size();
    b.U8(4);
    b.Zeros(3);
    b.U8(static_cast<uint8_t>(v.entryCode));
    PackedPosition(b, v.latDeg, v.lonDeg, v.altitudeM);
    b.Zeros(2);
    b.Text(v.ident, 5);
    b.Zeros(44 - (b.Size() - start));
}

void Ndb(Bytes& b, const SceneryNdb& n) {
    const size_t start = b.Size();
    b.U8(4);
    b.Zeros(3);
    PackedPosition(b, n.latDeg, n.lonDeg, n.altitudeM);
    b.Zeros(1);
    b.Text(n.ident, 5);
    b.Zeros(42 - (b.Size() - start));
}

void Sub(Bytes& b, const ScenerySub& s) {
    const size_t start = b.Size();
    const bool aid = s.kind == 4;
    const uint32_t size = aid ? 60 : 56;
    b.U16(static_cast<uint32_t>(s.kind));
    b.U16(0);
    b.U32(size - 8);
    b.Zeros(4);
    b.U32(static_cast<uint32_t>(QuarterTurnUnits(s.latDeg)));
    b.Zeros(4);
    b.U32(static_cast<uint32_t>(HalfTurnUnits(s.lonDeg)));
    b.Zeros(10);
    b.U16(s.headingWord);
    b.U16(s.fractionBcd);
    b.U16(s.integerBcd);
    b.U32(static_cast<uint32_t>(aid ? s.aidKind : s.lengthFt));
    b.U32(static_cast<uint32_t>(s.widthFt));
    b.U32(static_cast<uint32_t>(s.side));
    b.U32(static_cast<uint32_t>(s.number));
    if (aid)
        b.Text(s.ident, 4);
    b.Zeros(size - (b.Size() - start));
}

void Airport(Bytes& b, const SceneryAirport& a) {
    const size_t start = b.Size();
    b.U16(1);
    b.U16(0);
    b.U32(0); // length, filled in below
    b.U32(a.recordKind);
    b.Zeros(16);
    b.U32(static_cast<uint32_t>(QuarterTurnUnits(a.latDeg)));
    b.Zeros(4);
    b.U32(static_cast<uint32_t>(HalfTurnUnits(a.lonDeg)));
    b.Zeros(16);
    b.U32(4); // sub-records start at 60 + 4, after the identifier
    b.Text(a.ident, 4);
    for (const ScenerySub& s : a.subs)
        Sub(b, s);
    b.U16(0); // end of sub-records
    b.U16(0);
    b.PutU32(start + 4, static_cast<uint32_t>(b.Size() - start - 8));
}

} // namespace

uint32_t Scenery_PackLatitude(double degrees) {
    if (degrees >= 0)
        return static_cast<uint32_t>(std::lround(degrees * 55565.26199758007)) & 0x7FFFFF;
    // Below the equator only the flag form reaches: 150 - m / k.
    return (static_cast<uint32_t>(std::lround((150.0 - degrees) * 55565.26199758007)) & 0x7FFFFF) |
           0x800000;
}

uint32_t Scenery_PackLongitude(double degrees) {
    const double turns = degrees / 360.0;
    return static_cast<uint32_t>(std::llround(turns * 16777216.0)) & 0xFFFFFF;
}

uint16_t Scenery_HeadingWord(double degrees) {
    return static_cast<uint16_t>(std::lround(degrees / 360.0 * 65535.0));
}

std::vector<uint8_t> Scenery_BuildFile(const SceneryFile& file, SceneryLayout* layout) {
    Bytes b;
    b.Zeros(168);
    SceneryLayout where;

    if (!file.vors.empty()) {
        std::map<int, std::vector<const SceneryVor*>> byChannel;
        for (const SceneryVor& v : file.vors)
            byChannel[v.channel].push_back(&v);
        const int first = byChannel.begin()->first, last = byChannel.rbegin()->first;
        where.vorSection = static_cast<uint32_t>(b.Size());
        const size_t s = b.Size();
        b.PutU32(18, where.vorSection);
        b.PutU16(22, static_cast<uint32_t>(first));
        b.PutU16(24, static_cast<uint32_t>(last));
        // Channel index from channel 0; a channel without VORs points at a
        // byte that is not a group mark.
        for (int c = 0; c <= last; ++c) {
            b.U8(1);
            b.U32(0);
        }
        const uint32_t empty = static_cast<uint32_t>(b.Size() - s);
        b.U8(0);
        for (int c = 0; c <= last; ++c)
            b.PutU32(s + 5 * static_cast<size_t>(c) + 1, empty);
        for (const auto& [channel, vors] : byChannel) {
            // One group record per channel, then its run.
            b.PutU32(s + 5 * static_cast<size_t>(channel) + 1, static_cast<uint32_t>(b.Size() - s));
            const size_t group = b.Size();
            b.U8(21);
            b.Zeros(8);
            b.U8(0); // end of the chain
            b.PutU32(group + 5, static_cast<uint32_t>(b.Size() - s));
            for (const SceneryVor* v : vors) {
                if (file.skippedEntries)
                    SkippedEntry(b);
                Vor(b, *v);
            }
            b.U8(0); // end of the run
        }
    }

    if (!file.ndbs.empty()) {
        where.ndbSection = static_cast<uint32_t>(b.Size());
        b.PutU32(78, where.ndbSection);
        const size_t s = b.Size();
        // Two group records, each with half of the NDBs.
        const size_t half = (file.ndbs.size() + 1) / 2;
        const int groups = file.ndbs.size() > 1 ? 2 : 1;
        b.Zeros(9 * groups + 1);
        for (int g = 0; g < groups; ++g) {
            b.data[s + 9 * static_cast<size_t>(g)] = 21;
            b.PutU32(s + 9 * static_cast<size_t>(g) + 5, static_cast<uint32_t>(b.Size() - s));
            for (size_t i = g * half; i < std::min(file.ndbs.size(), (g + 1) * half); ++i) {
                if (file.skippedEntries)
                    SkippedEntry(b);
                Ndb(b, file.ndbs[i]);
            }
            b.U8(0);
        }
    }

    if (!file.airports.empty()) {
        where.airportSection = static_cast<uint32_t>(b.Size());
        b.PutU32(164, where.airportSection);
        for (const SceneryAirport& a : file.airports)
            Airport(b, a);
        b.Zeros(8); // a record whose first word is 0 ends the section
    }
    if (layout)
        *layout = where;
    return b.data;
}

bool Scenery_WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes,
                        std::string* error) {
    // Through a temporary file renamed into place: a full disk or a failed
    // write never leaves a cut-off file where a good one stood.
    OutputFile out;
    std::string failed;
    const bool ok = Output_Open(&out, path, true, &failed) &&
                    Output_Write(&out, std::string(bytes.begin(), bytes.end()), &failed) &&
                    Output_Commit(&out, &failed);
    // Said as "PATH: REASON": the callers put their own words in front.
    const std::string prefix = "cannot write ";
    if (!ok && error != nullptr)
        *error =
            failed.compare(0, prefix.size(), prefix) == 0 ? failed.substr(prefix.size()) : failed;
    return ok;
}

namespace {

// One tree being written: where, how much, and the first failure.
struct TreeWriter {
    std::string root;
    std::mt19937 random;
    std::uniform_real_distribution<double> unit{0.0, 1.0};
    uint64_t written = 0;
    std::vector<std::string> names; // every file written, for the manifest
    std::string error;              // the first failure, "PATH: reason"
};

bool MakeFolders(TreeWriter& t, const std::string& path) {
    std::error_code failed;
    fs::create_directories(path, failed);
    if (failed && t.error.empty())
        t.error = path + ": " + failed.message();
    return !failed;
}

void Write(TreeWriter& t, const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string failed;
    if (!Scenery_WriteBytes(path, bytes, &failed) && t.error.empty())
        t.error = failed;
    t.names.push_back(path.substr(t.root.size() + 1));
    t.written += bytes.size();
}

std::string IdentOf(int n, int letters) {
    std::string s;
    for (int i = 0; i < letters; ++i, n /= 26)
        s += static_cast<char>('A' + n % 26);
    return s;
}

// The VOR and NDB files, alternating between the hemispheres' regions, and
// an AIRPORTS.BGL that the walk must skip (no VOR or NDB in its name).
void WriteNavFiles(TreeWriter& t, const SceneryTreeCounts& counts, int navFiles) {
    const std::vector<std::string> east = {"EUR", "ASIA", "AFR"}, west = {"NAM", "SAM", "PAC"};
    int vorsLeft = counts.vors, ndbsLeft = counts.ndbs;
    for (int f = 0; f < navFiles; ++f) {
        const bool eastern = f % 2 == 0;
        const std::string& region = (eastern ? east : west)[static_cast<size_t>(f / 2 % 3)];
        const std::string folder =
            t.root + "/SCENEDB/" + (eastern ? "EASTHEM/" : "WESTHEM/") + region;
        MakeFolders(t, folder);
        SceneryFile vorFile, ndbFile;
        const int vors = vorsLeft / (navFiles - f), ndbs = ndbsLeft / (navFiles - f);
        vorsLeft -= vors, ndbsLeft -= ndbs;
        const double side = eastern ? 1 : -1;
        for (int i = 0; i < vors; ++i)
            vorFile.vors.push_back({static_cast<int>(t.unit(t.random) * 200), t.unit(t.random) * 70,
                                    side * t.unit(t.random) * 179,
                                    static_cast<int>(t.unit(t.random) * 2000),
                                    IdentOf(f * 1000 + i, 3), 1});
        for (int i = 0; i < ndbs; ++i)
            ndbFile.ndbs.push_back({t.unit(t.random) * 70, side * t.unit(t.random) * 179,
                                    static_cast<int>(t.unit(t.random) * 2000),
                                    IdentOf(f * 1000 + i, 2)});
        vorFile.skippedEntries = ndbFile.skippedEntries = f % 3 == 0;
        char name[64];
        snprintf(name, sizeof name, "/%s_%02d_VOR.BGL", region.c_str(), f);
        Write(t, folder + name, Scenery_BuildFile(vorFile));
        snprintf(name, sizeof name, "/%s_%02d_ndb.bgl", region.c_str(), f);
        Write(t, folder + name, Scenery_BuildFile(ndbFile));
    }
    SceneryFile decoy;
    decoy.vors.push_back({0, 1, 1, 0, "DECOY"});
    Write(t, t.root + "/SCENEDB/EASTHEM/AIRPORTS.BGL", Scenery_BuildFile(decoy));
}

// One airport with its runways spread over its index, the first runway
// with an approach aid.
SceneryAirport MakeAirport(TreeWriter& t, const SceneryTreeCounts& counts, int index, int inFile) {
    SceneryAirport a{
        IdentOf(index, 4), t.unit(t.random) * 140 - 70, t.unit(t.random) * 358 - 179, {}};
    const int airportCount = std::max(1, counts.airports);
    const int runways =
        counts.runways / airportCount + (index < counts.runways % airportCount ? 1 : 0);
    for (int r = 0; r < runways; ++r) {
        const int number = 1 + static_cast<int>(t.unit(t.random) * 36);
        a.subs.push_back({2, a.latDeg + 0.001 * r, a.lonDeg, Scenery_HeadingWord(number * 10.0),
                          3000 + r * 1000, 150, r % 4, number});
        if (r == 0) {
            ScenerySub aid{4, a.latDeg, a.lonDeg + 0.02, Scenery_HeadingWord(number * 10.0)};
            aid.side = 2;
            aid.integerBcd = 0x0110;
            aid.fractionBcd = 0x3500;
            aid.ident = "I" + IdentOf(inFile, 3);
            a.subs.push_back(aid);
        }
    }
    return a;
}

void WriteAirportFiles(TreeWriter& t, const SceneryTreeCounts& counts, int airportFiles) {
    const std::string flat = t.root + "/SCENEDB/AFDFILES/SCENERY";
    MakeFolders(t, flat);
    int airportsLeft = counts.airports, index = 0;
    for (int f = 0; f < airportFiles; ++f) {
        SceneryFile file;
        const int airports = airportsLeft / (airportFiles - f);
        airportsLeft -= airports;
        for (int i = 0; i < airports; ++i, ++index)
            file.airports.push_back(MakeAirport(t, counts, index, i));
        char name[64];
        snprintf(name, sizeof name, "/AP%04d.BGL", f);
        Write(t, flat + name, Scenery_BuildFile(file));
    }
}

} // namespace

uint64_t Scenery_WriteTree(const std::string& root, const SceneryTreeCounts& counts, unsigned seed,
                           std::string* error) {
    TreeWriter t;
    t.root = root;
    t.random.seed(seed);
    const int navFiles = std::max(2, counts.files / 4),
              airportFiles = std::max(1, counts.files - navFiles);
    WriteNavFiles(t, counts, navFiles);
    WriteAirportFiles(t, counts, airportFiles);
    // The manifest names every file written, so that writing the tree again
    // can remove exactly these first (a smaller tree leaves none behind).
    std::string manifest;
    for (const std::string& name : t.names)
        manifest += name + "\n";
    std::string failed;
    if (!Scenery_WriteBytes(root + "/" + SCENERY_MANIFEST,
                            std::vector<uint8_t>(manifest.begin(), manifest.end()), &failed) &&
        t.error.empty())
        t.error = failed;
    if (!t.error.empty() && error != nullptr)
        *error = t.error;
    return t.error.empty() ? t.written : 0;
}

bool Scenery_RemoveTree(const std::string& root) {
    FILE* in = fopen((root + "/" + SCENERY_MANIFEST).c_str(), "rb");
    if (in == nullptr)
        return false;
    char line[512];
    while (fgets(line, sizeof line, in) != nullptr) {
        std::string name = line;
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
            name.pop_back();
        // Only names below the root, as the writer made them.
        if (!name.empty() && name[0] != '/' && name.find("..") == std::string::npos)
            remove((root + "/" + name).c_str());
    }
    fclose(in);
    return remove((root + "/" + SCENERY_MANIFEST).c_str()) == 0;
}
