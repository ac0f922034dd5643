// tools/replay/host_log.cpp
// Reads the stand-in simulator's CSV log into a flight picture.
#include "replay.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

bool HostLog_ReadPicture(const std::string& text, FlightPicture* picture, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    double loadedMs = NAN, aircraftLat = NAN, aircraftLon = NAN;
    picture->track.clear();
    picture->writes.clear();
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::vector<std::string> f;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ','))
            f.push_back(field);
        if (f.size() < 2)
            continue;
        char* end = nullptr;
        const double tMs = strtod(f[0].c_str(), &end);
        if (*end != '\0') {
            *error = "line " + std::to_string(lineNumber) + ": does not start with t_ms";
            return false;
        }
        const std::string& kind = f[1];
        auto number = [&](size_t i) { return i < f.size() ? atof(f[i].c_str()) : NAN; };
        if (kind == "load" && std::isnan(loadedMs)) {
            loadedMs = tMs;
        } else if (kind == "aircraft" && f.size() >= 7) {
            TrackSample s{tMs / 1000.0, number(2), number(3), number(4), number(5), 0, 0};
            picture->track.push_back(s);
        } else if (kind == "refresh" && f.size() >= 4) {
            if (f[2] == "0x47")
                aircraftLat = number(3) / 111130.0;
            else if (f[2] == "0x48")
                aircraftLon = remainder(number(3) / 281474976710656.0 * 360.0, 360.0);
        } else if (kind == "camera" && f.size() >= 10) {
            CameraWrite w{};
            w.tS = (tMs - (std::isnan(loadedMs) ? 0 : loadedMs)) / 1000.0;
            w.placed = true;
            w.latFraction = static_cast<uint32_t>(strtoul(f[2].c_str(), nullptr, 10));
            w.latWhole = atoi(f[3].c_str());
            w.lonFraction = static_cast<uint32_t>(strtoul(f[4].c_str(), nullptr, 10));
            w.lonWhole = atoi(f[5].c_str());
            w.altM = static_cast<int16_t>(atoi(f[6].c_str()));
            w.latDeg = number(7);
            w.lonDeg = number(8);
            w.altFt = number(9);
            w.aircraft = TrackSample{w.tS,
                                     std::isnan(aircraftLat) ? w.latDeg : aircraftLat,
                                     std::isnan(aircraftLon) ? w.lonDeg : aircraftLon,
                                     0,
                                     0,
                                     0,
                                     0};
            picture->writes.push_back(w);
        }
    }
    if (picture->track.empty()) {
        *error = "no aircraft lines: is this the stand-in simulator's log?";
        return false;
    }
    return true;
}
