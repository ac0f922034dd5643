// tools/replay/track_gpx.cpp
// Reads a flight from the track points of a GPX file, skipping points whose
// time cannot be used (or refusing them, when strict). The XML is pugixml's
// to parse, so comments, namespace prefixes and any legal spelling of the
// markup are read as XML means them.
#include "replay.h"

#include "geo.h"

#include <pugixml.hpp>

#include <cmath>
#include <cstring>

namespace {

const double PI = 3.141592653589793;

// The name without its namespace prefix: GPX may be written as gpx:trkpt.
const char* LocalName(const char* name) {
    const char* colon = strrchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_node Child(pugi::xml_node node, const char* localName) {
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element && strcmp(LocalName(child.name()), localName) == 0)
            return child;
    return pugi::xml_node();
}

// Every trkpt in document order (the walk is pugixml's, not recursive, so a
// deeply nested file cannot exhaust the stack), and whether a route is there
// to explain a file without them.
struct TrackPointFinder : pugi::xml_tree_walker {
    std::vector<pugi::xml_node> points;
    bool route = false;
    bool for_each(pugi::xml_node& node) override {
        if (node.type() != pugi::node_element)
            return true;
        const char* name = LocalName(node.name());
        if (strcmp(name, "trkpt") == 0)
            points.push_back(node);
        route = route || strcmp(name, "rte") == 0;
        return true;
    }
};

// One point, or false with the reason (without its line). A point without
// a <time>, or with an empty one, as a logger writes before its first fix,
// is read with hasTime false.
bool ReadPoint(pugi::xml_node point, size_t number, TrackSample* sample, bool* hasTime,
               double* time, std::string* error) {
    double lat, lon, ele = 0;
    if (!Text_ParseNumber(point.attribute("lat").value(), &lat) ||
        !Text_ParseNumber(point.attribute("lon").value(), &lon)) {
        *error = "a <trkpt> needs numeric lat and lon";
        return false;
    }
    *error = Track_PositionProblem(lat, lon);
    if (!error->empty()) {
        *error = Text_Format("point %zu: ", number) + *error;
        return false;
    }
    const pugi::xml_node eleNode = Child(point, "ele");
    if (eleNode && !Text_ParseNumber(eleNode.text().get(), &ele)) {
        *error =
            Text_Format("point %zu: <ele> is '", number) + eleNode.text().get() + "', not a number";
        return false;
    }
    *sample = {0, lat, lon, ele * GEO_FEET_PER_METRE, 0, 0, 0};
    const pugi::xml_node timeNode = Child(point, "time");
    const char* timeText = timeNode.text().get();
    *hasTime = timeText[strspn(timeText, " \t\r\n")] != '\0';
    if (*hasTime && !Time_ParseIso(timeText, time)) {
        *error = Text_Format("point %zu: the time '", number) + timeNode.text().get() +
                 "' is not a date and time like 2024-05-01T10:00:00Z or 2024-05-01T12:00:00+02:00";
        return false;
    }
    return true;
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

} // namespace

bool Track_ReadGpx(const std::string& text, std::vector<TrackSample>* track, std::string* error,
                   double* startEpochS, TrackSkips* skips) {
    TrackSkips uncounted;
    if (!skips)
        skips = &uncounted;
    *skips = TrackSkips{skips->strict, "point"};
    track->clear();
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed) {
        *error = "line " + std::to_string(Text_LineOf(text, parsed.offset)) +
                 ": not well-formed XML: " + parsed.description();
        return false;
    }
    TrackPointFinder finder;
    document.traverse(finder);
    double firstTime = 0;
    for (size_t i = 0; i < finder.points.size(); ++i) {
        const pugi::xml_node point = finder.points[i];
        // The line is counted only for a message or the first skip:
        // counting it for every point would make a long track quadratic.
        const auto line = [&text, point] { return Text_LineOf(text, point.offset_debug()); };
        const auto where = [&line] { return "line " + std::to_string(line()) + ": "; };
        TrackSample sample;
        bool hasTime;
        double time = 0;
        if (!ReadPoint(point, i + 1, &sample, &hasTime, &time, error)) {
            *error = where() + *error;
            return false;
        }
        const bool advances = hasTime && (track->empty() || time - firstTime > track->back().tS);
        if (!advances && skips->strict) {
            *error = where() + Text_Format("point %zu: ", i + 1) +
                     (hasTime ? "time goes backwards or stands still"
                              : "a <trkpt> needs a <time> like 2024-05-01T10:00:00Z");
            return false;
        }
        if (!hasTime) {
            if (skips->withoutTime++ == 0)
                skips->withoutTimeLine = line();
            continue;
        }
        if (!advances) {
            if (skips->notAdvancing++ == 0)
                skips->notAdvancingLine = line();
            continue;
        }
        if (track->empty())
            firstTime = time;
        sample.tS = time - firstTime;
        track->push_back(sample);
    }
    if (finder.points.empty()) {
        *error = finder.route ? "no two points with advancing times: the file holds only a route "
                                "(<rte>), a plan without times; record the flight as a track "
                                "(<trk>)"
                              : "no <trkpt> in the file";
        return false;
    }
    if (track->size() < 2 && skips->withoutTime + skips->notAdvancing > 0) {
        *error = Track_TooFewTimes(*skips, finder.points.size());
        return false;
    }
    DeriveMotion(track);
    if (startEpochS)
        *startEpochS = firstTime;
    return Track_CheckSpan(*track, error, nullptr);
}
