// tools/replay/gpx_write.cpp
// The replay as GPX 1.1: each fly-by point a waypoint, the flown track a
// trk. pugixml writes it, so every name and value is escaped as XML needs.
#include "replay.h"

#include "geo.h"

#include <pugixml.hpp>

#include <sstream>

namespace {

void Position(pugi::xml_node node, double latDeg, double lonDeg, double altFt, double timeS) {
    node.append_attribute("lat") = Text_Format("%.9f", latDeg).c_str();
    node.append_attribute("lon") = Text_Format("%.9f", lonDeg).c_str();
    node.append_child("ele").text() = Text_Format("%.2f", altFt * GEO_METRES_PER_FOOT).c_str();
    node.append_child("time").text() = Time_FormatIso(timeS).c_str();
}

} // namespace

std::string Replay_Gpx(const std::vector<TrackSample>& track,
                       const std::vector<CameraWrite>& writes, double startEpochS) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node gpx = document.append_child("gpx");
    gpx.append_attribute("version") = "1.1";
    gpx.append_attribute("creator") = "skorvan-replay";
    gpx.append_attribute("xmlns") = "http://www.topografix.com/GPX/1/1";

    size_t number = 0;
    for (const CameraWrite& w : writes) {
        if (!w.placed)
            continue;
        pugi::xml_node point = gpx.append_child("wpt");
        Position(point, w.latDeg, w.lonDeg, w.altFt, startEpochS + w.tS);
        point.append_child("name").text() = Text_Format("fly-by %zu", ++number).c_str();
        point.append_child("desc").text() = Text_Format("camera placed at %.1f s", w.tS).c_str();
    }
    pugi::xml_node trk = gpx.append_child("trk");
    trk.append_child("name").text() = "flown track";
    pugi::xml_node segment = trk.append_child("trkseg");
    for (const TrackSample& s : track)
        Position(segment.append_child("trkpt"), s.latDeg, s.lonDeg, s.altFt, startEpochS + s.tS);

    std::ostringstream out;
    document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}
