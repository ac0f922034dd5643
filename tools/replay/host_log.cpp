// tools/replay/host_log.cpp
// Reads the stand-in simulator's CSV log into a flight picture. A row that
// is used must hold finite numbers on the globe: one "nan" would otherwise
// turn the whole drawn track into nothing.
#include "replay.h"

#include "geo.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    return fields;
}

// Fields first..last as numbers, or false with the one that is not.
bool Numbers(const std::vector<std::string>& f, size_t first, size_t last, double* out,
             std::string* error) {
    for (size_t i = first; i <= last; ++i) {
        if (i >= f.size() || !Text_ParseNumber(f[i], &out[i - first])) {
            *error = Text_Format("field %zu is '%s', not a finite number", i + 1,
                                 i < f.size() ? f[i].c_str() : "");
            return false;
        }
    }
    return true;
}

bool Whole(const std::string& text, long long low, long long high, long long* out) {
    char* end = nullptr;
    *out = strtoll(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && *out >= low && *out <= high;
}

struct LogReader {
    FlightPicture* picture;
    double loadedMs = NAN, aircraftLat = NAN, aircraftLon = NAN;

    bool Aircraft(const std::vector<std::string>& f, double tMs, std::string* error) {
        double v[4]; // latitude, longitude, altitude, heading
        if (!Numbers(f, 2, 5, v, error))
            return false;
        *error = Track_PositionProblem(v[0], v[1]);
        if (!error->empty())
            return false;
        picture->track.push_back({tMs / 1000.0, v[0], v[1], v[2], v[3], 0, 0});
        return true;
    }

    bool Refresh(const std::vector<std::string>& f, std::string* error) {
        double value;
        if (f[2] != "0x47" && f[2] != "0x48")
            return true;
        if (!Numbers(f, 3, 3, &value, error))
            return false;
        if (f[2] == "0x47")
            aircraftLat = value / GEO_LATITUDE_UNITS_PER_DEGREE;
        else
            aircraftLon = remainder(value / 281474976710656.0 * 360.0, 360.0);
        return true;
    }

    bool Camera(const std::vector<std::string>& f, double tMs, std::string* error) {
        long long words[5];
        const long long LOW[5] = {0, INT32_MIN, 0, INT32_MIN, INT16_MIN};
        const long long HIGH[5] = {UINT32_MAX, INT32_MAX, UINT32_MAX, INT32_MAX, INT16_MAX};
        for (int i = 0; i < 5; ++i) {
            if (!Whole(f[2 + i], LOW[i], HIGH[i], &words[i])) {
                *error =
                    Text_Format("field %d is '%s', not a camera word", 3 + i, f[2 + i].c_str());
                return false;
            }
        }
        double v[3]; // latitude, longitude, altitude
        if (!Numbers(f, 7, 9, v, error))
            return false;
        *error = Track_PositionProblem(v[0], v[1]);
        if (!error->empty())
            return false;
        CameraWrite w{};
        w.tS = (tMs - (std::isnan(loadedMs) ? 0 : loadedMs)) / 1000.0;
        w.placed = true;
        w.latFraction = static_cast<uint32_t>(words[0]);
        w.latWhole = static_cast<int32_t>(words[1]);
        w.lonFraction = static_cast<uint32_t>(words[2]);
        w.lonWhole = static_cast<int32_t>(words[3]);
        w.altM = static_cast<int16_t>(words[4]);
        w.latDeg = v[0];
        w.lonDeg = v[1];
        w.altFt = v[2];
        w.aircraft = TrackSample{w.tS,
                                 std::isnan(aircraftLat) ? w.latDeg : aircraftLat,
                                 std::isnan(aircraftLon) ? w.lonDeg : aircraftLon,
                                 0,
                                 0,
                                 0,
                                 0};
        picture->writes.push_back(w);
        return true;
    }

    bool Line(const std::string& line, std::string* error) {
        const std::vector<std::string> f = SplitFields(line);
        if (f.size() < 2)
            return true;
        double tMs;
        if (!Text_ParseNumber(f[0], &tMs)) {
            *error = "does not start with t_ms";
            return false;
        }
        const std::string& kind = f[1];
        if (kind == "load" && std::isnan(loadedMs))
            loadedMs = tMs;
        else if (kind == "aircraft" && f.size() >= 7)
            return Aircraft(f, tMs, error);
        else if (kind == "refresh" && f.size() >= 4)
            return Refresh(f, error);
        else if (kind == "camera" && f.size() >= 10)
            return Camera(f, tMs, error);
        return true;
    }
};

} // namespace

bool HostLog_ReadPicture(const std::string& text, FlightPicture* picture, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    picture->track.clear();
    picture->writes.clear();
    LogReader reader{picture};
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!reader.Line(line, error)) {
            *error = "line " + std::to_string(lineNumber) + ": " + *error;
            return false;
        }
    }
    if (picture->track.empty()) {
        *error = "no aircraft lines: is this the stand-in simulator's log?";
        return false;
    }
    return true;
}
