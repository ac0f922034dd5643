// tools/replay/output.cpp
// The replay's files: camera writes as CSV, the track and camera points as
// GeoJSON.
#include "replay.h"

#include <cstdarg>
#include <cstdio>

std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string Replay_Csv(const std::vector<CameraWrite>& writes) {
    std::string out = "t_s,kind,lat_deg,lon_deg,alt_ft,latfrac,latwhole,lonfrac,lonwhole,altm\n";
    for (const CameraWrite& w : writes)
        out += Format("%.3f,%s,%.9f,%.9f,%.2f,%u,%d,%u,%d,%d\n", w.tS,
                      w.placed ? "place" : "travel", w.latDeg, w.lonDeg, w.altFt, w.latFraction,
                      w.latWhole, w.lonFraction, w.lonWhole, w.altM);
    return out;
}

std::string Replay_GeoJson(const std::vector<TrackSample>& track,
                           const std::vector<CameraWrite>& writes) {
    std::string out = "{\"type\":\"FeatureCollection\",\"features\":[\n";
    out += "{\"type\":\"Feature\",\"properties\":{\"kind\":\"track\"},\"geometry\":{\"type\":"
           "\"LineString\","
           "\"coordinates\":[";
    for (size_t i = 0; i < track.size(); ++i)
        out += Format("%s[%.8f,%.8f,%.1f]", i ? "," : "", track[i].lonDeg, track[i].latDeg,
                      track[i].altFt * 0.3048);
    out += "]}}";
    for (const CameraWrite& w : writes) {
        out += Format(",\n{\"type\":\"Feature\",\"properties\":{\"kind\":\"%s\",\"t_s\":%.3f,\"alt_"
                      "ft\":%.2f},"
                      "\"geometry\":{\"type\":\"Point\",\"coordinates\":[%.8f,%.8f]}}",
                      w.placed ? "place" : "travel", w.tS, w.altFt, w.lonDeg, w.latDeg);
        if (w.placed)
            out += Format(
                ",\n{\"type\":\"Feature\",\"properties\":{\"kind\":\"sightline\",\"t_s\":%.3f},"
                "\"geometry\":{\"type\":\"LineString\",\"coordinates\":[[%.8f,%.8f],[%.8f,%.8f]]}}",
                w.tS, w.aircraft.lonDeg, w.aircraft.latDeg, w.lonDeg, w.latDeg);
    }
    out += "\n]}\n";
    return out;
}
