// tools/replay/track_gpx.cpp
// Reads a flight from the track points of a GPX file, skipping points whose
// time cannot be used (or refusing them, when strict).
//
// The XML is read streaming by expat: a push parser that is handed the file
// a chunk at a time and calls back for each element, so memory holds one
// chunk and the samples kept, never the document (a tree of a 1 GB file
// took five times its size). pugixml parses a whole buffer into a tree and
// has no incremental mode, so it cannot do this. Expat needs no recursion
// for nesting, refuses entity expansion past its amplification limit, and
// with no handler set never reads an external entity; a file that declares
// entities is refused outright, as no GPX writer uses them.
#include "replay.h"

#include "cli.h"
#include "geo.h"
#include "number.h"

#include <expat.h>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

const double PI = 3.141592653589793;
const size_t CHUNK_BYTES = 65536;
// Longer <ele> or <time> text is kept only this far: enough to show it.
const size_t TEXT_LIMIT = 256;

// The name without its namespace prefix: GPX may be written as gpx:trkpt.
const char* LocalName(const char* name) {
    const char* colon = strrchr(name, ':');
    return colon ? colon + 1 : name;
}

// What the parser's callbacks collect, and the samples kept so far.
struct GpxReader {
    XML_Parser parser = nullptr;
    std::vector<TrackSample>* track = nullptr;
    TrackSkips* skips = nullptr;
    std::string error; // set by a callback that stopped the parser
    int depth = 0;
    int pointDepth = 0;          // the depth of the open <trkpt>, 0 outside one
    std::string* text = nullptr; // the <ele> or <time> being collected, or null
    bool textFull = false;
    bool route = false;
    size_t points = 0;
    // The open point.
    int pointLine = 0;
    std::string lat, lon, ele, time;
    bool haveEle = false, haveTime = false;
    // Times count from the first kept point; a leap second (second 60)
    // pushes every later time one second on.
    double firstTime = 0, leapS = 0;
};

void Stop(GpxReader* r, const std::string& message) {
    if (r->error.empty())
        r->error = message;
    XML_StopParser(r->parser, XML_FALSE);
}

std::string Where(const GpxReader& r) {
    return "line " + std::to_string(r.pointLine) + ": point " + std::to_string(r.points) + ": ";
}

// The open point's sample, or false (with the reason) when it cannot be flown.
bool ReadPoint(GpxReader* r, TrackSample* sample, bool* hasTime, double* time) {
    double lat, lon, ele = 0;
    std::string why;
    if (!Number_Read(r->lat, &lat) || !Number_Read(r->lon, &lon)) {
        r->error = Where(*r) + "a <trkpt> needs numeric lat and lon";
        return false;
    }
    const std::string problem = Track_PositionProblem(lat, lon);
    if (!problem.empty()) {
        r->error = Where(*r) + problem;
        return false;
    }
    if (r->haveEle) {
        if (!Number_Read(r->ele, &ele, &why)) {
            r->error = Where(*r) + "<ele> " + why;
            return false;
        }
        const double feet = ele * GEO_FEET_PER_METRE;
        if (feet < TRACK_MIN_ALT_FT || feet > TRACK_MAX_ALT_FT) {
            r->error = Where(*r) + "<ele> " + Number_Show(ele) + " m is outside " +
                       Number_Show(TRACK_MIN_ALT_FT / GEO_FEET_PER_METRE) + " to " +
                       Number_Show(TRACK_MAX_ALT_FT / GEO_FEET_PER_METRE) + " m";
            return false;
        }
    }
    *sample = {0, lat, lon, ele * GEO_FEET_PER_METRE, 0, 0, 0};
    *hasTime = r->haveTime && r->time.find_first_not_of(" \t\r\n") != std::string::npos;
    bool leap = false;
    if (*hasTime && !Time_ParseIso(r->time, time, &leap)) {
        r->error = Where(*r) + "the time " + Cli_Echo(r->time) +
                   " is not a date and time like 2024-05-01T10:00:00Z or 2024-05-01T12:00:00+02:00";
        return false;
    }
    *time += r->leapS;
    if (leap)
        r->leapS += 1; // the inserted second: the next minute's :00 comes after it
    return true;
}

void EndPoint(GpxReader* r) {
    TrackSample sample;
    bool hasTime;
    double time = 0;
    if (!ReadPoint(r, &sample, &hasTime, &time))
        return Stop(r, r->error);
    std::vector<TrackSample>& track = *r->track;
    TrackSkips& skips = *r->skips;
    const bool advances = hasTime && (track.empty() || time - r->firstTime > track.back().tS);
    if (!advances && skips.strict)
        return Stop(r,
                    Where(*r) + (hasTime ? "time goes backwards or stands still"
                                         : "a <trkpt> needs a <time> like 2024-05-01T10:00:00Z"));
    if (!hasTime) {
        if (skips.withoutTime++ == 0)
            skips.withoutTimeLine = r->pointLine;
        return;
    }
    if (!advances) {
        if (skips.notAdvancing++ == 0)
            skips.notAdvancingLine = r->pointLine;
        return;
    }
    if (track.empty())
        r->firstTime = time;
    sample.tS = time - r->firstTime;
    track.push_back(sample);
}

void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    GpxReader* r = static_cast<GpxReader*>(data);
    ++r->depth;
    const char* local = LocalName(name);
    if (r->pointDepth == 0) {
        if (strcmp(local, "trkpt") == 0) {
            r->pointDepth = r->depth;
            ++r->points;
            r->pointLine = static_cast<int>(XML_GetCurrentLineNumber(r->parser));
            r->lat.clear(), r->lon.clear(), r->ele.clear(), r->time.clear();
            r->haveEle = r->haveTime = false;
            for (const XML_Char** a = attributes; a[0]; a += 2) {
                if (strcmp(a[0], "lat") == 0)
                    r->lat.assign(a[1], strnlen(a[1], TEXT_LIMIT));
                else if (strcmp(a[0], "lon") == 0)
                    r->lon.assign(a[1], strnlen(a[1], TEXT_LIMIT));
            }
        }
        r->route = r->route || strcmp(local, "rte") == 0;
        return;
    }
    // The first <ele> and <time> directly inside the point count.
    if (r->depth == r->pointDepth + 1 && strcmp(local, "ele") == 0 && !r->haveEle) {
        r->haveEle = true;
        r->text = &r->ele;
    } else if (r->depth == r->pointDepth + 1 && strcmp(local, "time") == 0 && !r->haveTime) {
        r->haveTime = true;
        r->text = &r->time;
    } else {
        r->text = nullptr;
    }
    r->textFull = false;
}

void XMLCALL EndElement(void* data, const XML_Char*) {
    GpxReader* r = static_cast<GpxReader*>(data);
    r->text = nullptr;
    if (r->depth == r->pointDepth) {
        r->pointDepth = 0;
        EndPoint(r);
    }
    --r->depth;
}

void XMLCALL CharacterData(void* data, const XML_Char* text, int length) {
    GpxReader* r = static_cast<GpxReader*>(data);
    if (!r->text || r->textFull)
        return;
    const size_t room = TEXT_LIMIT - r->text->size();
    const size_t n = static_cast<size_t>(length);
    r->text->append(text, n < room ? n : room);
    if (n >= room) {
        r->text->append("...");
        r->textFull = true;
    }
}

void XMLCALL EntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int,
                               const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
    GpxReader* r = static_cast<GpxReader*>(data);
    Stop(r, "line " + std::to_string(XML_GetCurrentLineNumber(r->parser)) +
                ": the file declares an entity, which no GPX needs: refused");
}

// Heading, pitch and speed of each leg, given to the point that starts it.
void DeriveMotion(std::vector<TrackSample>* track) {
    for (size_t i = 0; i < track->size(); ++i) {
        const size_t a = i + 1 < track->size() ? i : i - (i > 0);
        const size_t b = a + 1 < track->size() ? a + 1 : a;
        TrackSample& s = (*track)[i];
        if (a == b)
            continue;
        const TrackSample &p = (*track)[a], &q = (*track)[b];
        const double north = (q.latDeg - p.latDeg) * PI / 180 * EARTH_RADIUS_M;
        const double east = remainder(q.lonDeg - p.lonDeg, 360.0) * PI / 180 * EARTH_RADIUS_M *
                            cos(p.latDeg * PI / 180);
        const double horizontal = hypot(north, east);
        const double climbM = (q.altFt - p.altFt) / GEO_FEET_PER_METRE;
        s.headingDeg = fmod(atan2(east, north) * 180 / PI + 360.0, 360.0);
        s.pitchDeg = -atan2(climbM, horizontal) * 180 / PI; // positive nose down
        s.groundSpeedKmh = horizontal / (q.tS - p.tS) * 3.6;
    }
}

// Feeds bytes to the parser; false (with r->error) when it stopped.
bool Feed(GpxReader* r, const char* data, size_t size, bool last) {
    while (size > 0 || last) {
        const size_t n = size < CHUNK_BYTES ? size : CHUNK_BYTES;
        const bool final = last && n == size;
        if (XML_Parse(r->parser, data, static_cast<int>(n), final) != XML_STATUS_OK) {
            if (r->error.empty())
                r->error = "line " + std::to_string(XML_GetCurrentLineNumber(r->parser)) +
                           ": not well-formed XML: " + XML_ErrorString(XML_GetErrorCode(r->parser));
            return false;
        }
        data += n;
        size -= n;
        if (final)
            break;
    }
    return true;
}

bool Finish(GpxReader* r, std::vector<TrackSample>* track, std::string* error,
            double* startEpochS) {
    TrackSkips& skips = *r->skips;
    if (r->points == 0) {
        *error = r->route ? "no two points with advancing times: the file holds only a route "
                            "(<rte>), a plan without times; record the flight as a track (<trk>)"
                          : "no <trkpt> in the file";
        return false;
    }
    if (track->size() < 2 && skips.withoutTime + skips.notAdvancing > 0) {
        *error = Track_TooFewTimes(skips, r->points);
        return false;
    }
    DeriveMotion(track);
    if (startEpochS)
        *startEpochS = r->firstTime;
    return Track_CheckSpan(*track, error, nullptr);
}

// Reads text, then the rest of file when given.
bool ReadGpx(const std::string& text, FILE* file, std::vector<TrackSample>* track,
             std::string* error, double* startEpochS, TrackSkips* skips) {
    TrackSkips uncounted;
    if (!skips)
        skips = &uncounted;
    *skips = TrackSkips{skips->strict, "point"};
    track->clear();
    GpxReader r;
    r.track = track;
    r.skips = skips;
    r.parser = XML_ParserCreate(nullptr);
    if (!r.parser) {
        *error = "out of memory";
        return false;
    }
    XML_SetUserData(r.parser, &r);
    XML_SetElementHandler(r.parser, StartElement, EndElement);
    XML_SetCharacterDataHandler(r.parser, CharacterData);
    XML_SetEntityDeclHandler(r.parser, EntityDeclaration);
    bool ok = Feed(&r, text.data(), text.size(), file == nullptr);
    if (ok && file) {
        std::string chunk(CHUNK_BYTES, '\0');
        size_t n;
        while (ok && (n = fread(&chunk[0], 1, chunk.size(), file)) > 0)
            ok = Feed(&r, chunk.data(), n, false);
        if (ok && ferror(file)) {
            r.error = std::string("read failed: ") + strerror(errno);
            ok = false;
        }
        ok = ok && Feed(&r, nullptr, 0, true);
    }
    XML_ParserFree(r.parser);
    if (!ok) {
        *error = r.error;
        return false;
    }
    return Finish(&r, track, error, startEpochS);
}

} // namespace

bool Track_ReadGpx(const std::string& text, std::vector<TrackSample>* track, std::string* error,
                   double* startEpochS, TrackSkips* skips) {
    return ReadGpx(text, nullptr, track, error, startEpochS, skips);
}

bool Track_ReadGpxFile(FILE* file, const std::string& head, std::vector<TrackSample>* track,
                       std::string* error, double* startEpochS, TrackSkips* skips) {
    Track_ReserveFor(file, head, "trkpt", track);
    return ReadGpx(head, file, track, error, startEpochS, skips);
}
