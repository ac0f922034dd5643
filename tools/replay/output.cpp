// tools/replay/output.cpp
// The replay's files: camera writes as CSV, the track and camera points as
// GeoJSON.
#include "replay.h"

#include "geo.h"

#include <cmath>

namespace {

// A position for a GeoJSON line: longitude first, as GeoJSON has it.
struct LinePoint {
    double lonDeg, latDeg, altM;
};
typedef std::vector<LinePoint> LinePart;

// Cuts a line where it crosses the 180th meridian the short way, so that
// maps do not draw it round the world: each part ends on one side of the
// meridian and the next starts on the other, at the latitude of the crossing.
std::vector<LinePart> CutAtDateLine(const std::vector<LinePoint>& points) {
    std::vector<LinePart> parts(1);
    for (size_t i = 0; i < points.size(); ++i) {
        LinePoint b = points[i];
        b.lonDeg = remainder(b.lonDeg, 360.0);
        if (i > 0) {
            const LinePoint& a = parts.back().back();
            const double step = b.lonDeg - a.lonDeg;
            if (fabs(step) > 180) {
                const double edge = step < 0 ? 180.0 : -180.0;
                const double unwrapped = b.lonDeg + (step < 0 ? 360.0 : -360.0);
                const double f = (edge - a.lonDeg) / (unwrapped - a.lonDeg);
                const double lat = a.latDeg + (b.latDeg - a.latDeg) * f;
                const double alt = a.altM + (b.altM - a.altM) * f;
                parts.back().push_back({edge, lat, alt});
                parts.push_back({{-edge, lat, alt}});
            }
        }
        parts.back().push_back(b);
    }
    return parts;
}

std::string Coordinates(const LinePart& part, bool withAltitude) {
    std::string out = "[";
    for (size_t i = 0; i < part.size(); ++i)
        out += withAltitude
                   ? Text_Format("%s[%.8f,%.8f,%.1f]", i ? "," : "", part[i].lonDeg, part[i].latDeg,
                                 part[i].altM)
                   : Text_Format("%s[%.8f,%.8f]", i ? "," : "", part[i].lonDeg, part[i].latDeg);
    return out + "]";
}

// A LineString, or a MultiLineString when the line crosses the date line.
std::string LineGeometry(const std::vector<LinePoint>& points, bool withAltitude) {
    const std::vector<LinePart> parts = CutAtDateLine(points);
    if (parts.size() == 1)
        return "{\"type\":\"LineString\",\"coordinates\":" + Coordinates(parts[0], withAltitude) +
               "}";
    std::string out = "{\"type\":\"MultiLineString\",\"coordinates\":[";
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? "," : "") + Coordinates(parts[i], withAltitude);
    return out + "]}";
}

} // namespace

std::string Replay_Csv(const std::vector<CameraWrite>& writes) {
    std::string out = "t_s,kind,lat_deg,lon_deg,alt_ft,latfrac,latwhole,lonfrac,lonwhole,altm\n";
    for (const CameraWrite& w : writes)
        out += Text_Format("%.3f,%s,%.9f,%.9f,%.2f,%u,%d,%u,%d,%d\n", w.tS,
                           w.placed ? "place" : "travel", w.latDeg, w.lonDeg, w.altFt,
                           w.latFraction, w.latWhole, w.lonFraction, w.lonWhole, w.altM);
    return out;
}

std::string Replay_GeoJson(const std::vector<TrackSample>& track,
                           const std::vector<CameraWrite>& writes) {
    std::vector<LinePoint> flown;
    for (const TrackSample& s : track)
        flown.push_back({s.lonDeg, s.latDeg, s.altFt * GEO_METRES_PER_FOOT});
    std::string out = "{\"type\":\"FeatureCollection\",\"features\":[\n";
    out += "{\"type\":\"Feature\",\"properties\":{\"kind\":\"track\"},\"geometry\":" +
           LineGeometry(flown, true) + "}";
    for (const CameraWrite& w : writes) {
        out += Text_Format(
            ",\n{\"type\":\"Feature\",\"properties\":{\"kind\":\"%s\",\"t_s\":%.3f,\"alt_"
            "ft\":%.2f},"
            "\"geometry\":{\"type\":\"Point\",\"coordinates\":[%.8f,%.8f]}}",
            w.placed ? "place" : "travel", w.tS, w.altFt, remainder(w.lonDeg, 360.0), w.latDeg);
        if (w.placed)
            out +=
                Text_Format(
                    ",\n{\"type\":\"Feature\",\"properties\":{\"kind\":\"sightline\",\"t_s\":"
                    "%.3f},\"geometry\":",
                    w.tS) +
                LineGeometry({{w.aircraft.lonDeg, w.aircraft.latDeg, 0}, {w.lonDeg, w.latDeg, 0}},
                             false) +
                "}";
    }
    out += "\n]}\n";
    return out;
}
