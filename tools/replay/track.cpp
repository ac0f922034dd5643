// tools/replay/track.cpp
// Reads a flight from CSV or GPX and interpolates it between samples.
#include "replay.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

static const double PI = 3.141592653589793;
static const double EARTH_RADIUS_M = 6367310.0;

static bool ParseNumber(const std::string& text, double* out) {
    const char* start = text.c_str();
    while (*start == ' ' || *start == '\t')
        ++start;
    if (*start == '\0')
        return false;
    char* end = nullptr;
    *out = strtod(start, &end);
    while (*end == ' ' || *end == '\t' || *end == '\r')
        ++end;
    return *end == '\0' && std::isfinite(*out);
}

static std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.push_back("");
    return fields;
}

static std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    while (!s.empty() && s.front() == ' ')
        s.erase(s.begin());
    return s;
}

bool Track_ReadCsv(const std::string& text, std::vector<TrackSample>* track, std::string* error) {
    static const char* const COLUMNS[7] = {"t_s",         "lat_deg",   "lon_deg",        "alt_ft",
                                           "heading_deg", "pitch_deg", "groundspeed_kmh"};
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    int column[7];
    bool haveHeader = false;
    track->clear();
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (Trim(line).empty())
            continue;
        const std::vector<std::string> fields = SplitCsv(line);
        if (!haveHeader) {
            std::map<std::string, int> index;
            for (size_t i = 0; i < fields.size(); ++i)
                index[Trim(fields[i])] = static_cast<int>(i);
            for (int c = 0; c < 7; ++c) {
                if (!index.count(COLUMNS[c])) {
                    *error = "line " + std::to_string(lineNumber) + ": the header has no column '" +
                             COLUMNS[c] + "'";
                    return false;
                }
                column[c] = index[COLUMNS[c]];
            }
            haveHeader = true;
            continue;
        }
        double v[7];
        for (int c = 0; c < 7; ++c) {
            const std::string field =
                column[c] < static_cast<int>(fields.size()) ? fields[column[c]] : "";
            if (!ParseNumber(field, &v[c])) {
                *error = "line " + std::to_string(lineNumber) + ": " + COLUMNS[c] + " is '" +
                         Trim(field) + "', not a number";
                return false;
            }
        }
        if (!track->empty() && v[0] <= track->back().tS) {
            *error = "line " + std::to_string(lineNumber) +
                     ": time goes backwards or stands still (" + Trim(fields[column[0]]) +
                     " s after " + std::to_string(track->back().tS) + " s)";
            return false;
        }
        track->push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
    }
    if (!haveHeader) {
        *error = "the file is empty: no header line";
        return false;
    }
    if (track->empty()) {
        *error = "no samples after the header";
        return false;
    }
    return true;
}

// ---- GPX ------------------------------------------------------------------------

static int LineOf(const std::string& text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
        line += text[i] == '\n';
    return line;
}

static bool Attribute(const std::string& tag, const char* name, std::string* value) {
    const std::string key = std::string(name) + "=";
    size_t at = 0;
    while ((at = tag.find(key, at)) != std::string::npos) {
        if (at == 0 || tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\n') {
            const char quote = tag[at + key.size()];
            if (quote != '"' && quote != '\'')
                return false;
            const size_t end = tag.find(quote, at + key.size() + 1);
            if (end == std::string::npos)
                return false;
            *value = tag.substr(at + key.size() + 1, end - at - key.size() - 1);
            return true;
        }
        at += key.size();
    }
    return false;
}

static bool Element(const std::string& body, const char* name, std::string* value) {
    const std::string open = std::string("<") + name + ">", close = std::string("</") + name + ">";
    const size_t start = body.find(open);
    if (start == std::string::npos)
        return false;
    const size_t end = body.find(close, start);
    if (end == std::string::npos)
        return false;
    *value = Trim(body.substr(start + open.size(), end - start - open.size()));
    return true;
}

// Seconds since 1970 of an ISO 8601 UTC time (2024-05-01T10:00:00Z, fractions allowed).
static bool ParseIsoTime(const std::string& text, double* seconds) {
    int year, month, day, hour, minute;
    double second;
    if (sscanf(text.c_str(), "%d-%d-%dT%d:%d:%lf", &year, &month, &day, &hour, &minute, &second) !=
        6)
        return false;
    // Days from civil, proleptic Gregorian.
    const int y = year - (month <= 2);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const double days = era * 146097.0 + doe - 719468.0;
    *seconds = days * 86400.0 + hour * 3600.0 + minute * 60.0 + second;
    return true;
}

bool Track_ReadGpx(const std::string& text, std::vector<TrackSample>* track, std::string* error) {
    track->clear();
    double firstTime = 0;
    size_t at = 0;
    while ((at = text.find("<trkpt", at)) != std::string::npos) {
        const int line = LineOf(text, at);
        const size_t tagEnd = text.find('>', at);
        const size_t close = text.find("</trkpt>", at);
        if (tagEnd == std::string::npos || close == std::string::npos) {
            *error = "line " + std::to_string(line) + ": unfinished <trkpt>";
            return false;
        }
        const std::string tag = text.substr(at, tagEnd - at);
        const std::string body = text.substr(tagEnd + 1, close - tagEnd - 1);
        std::string latText, lonText, eleText, timeText;
        double lat, lon, ele = 0, t;
        if (!Attribute(tag, "lat", &latText) || !ParseNumber(latText, &lat) ||
            !Attribute(tag, "lon", &lonText) || !ParseNumber(lonText, &lon)) {
            *error = "line " + std::to_string(line) + ": a <trkpt> needs numeric lat and lon";
            return false;
        }
        if (Element(body, "ele", &eleText) && !ParseNumber(eleText, &ele)) {
            *error = "line " + std::to_string(line) + ": <ele> is '" + eleText + "', not a number";
            return false;
        }
        if (!Element(body, "time", &timeText) || !ParseIsoTime(timeText, &t)) {
            *error = "line " + std::to_string(line) +
                     ": a <trkpt> needs a <time> like 2024-05-01T10:00:00Z";
            return false;
        }
        if (track->empty())
            firstTime = t;
        t -= firstTime;
        if (!track->empty() && t <= track->back().tS) {
            *error = "line " + std::to_string(line) + ": time goes backwards or stands still";
            return false;
        }
        track->push_back({t, lat, lon, ele * 3.28084, 0, 0, 0});
        at = close;
    }
    if (track->empty()) {
        *error = "no <trkpt> in the file";
        return false;
    }
    // Heading, pitch and speed of each leg, given to the point that starts it.
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
        const double climbM = (q.altFt - p.altFt) / 3.28084;
        s.headingDeg = fmod(atan2(east, north) * 180 / PI + 360.0, 360.0);
        s.pitchDeg = -atan2(climbM, horizontal) * 180 / PI; // positive nose down
        s.groundSpeedKmh = horizontal / (q.tS - p.tS) * 3.6;
    }
    return true;
}

TrackSample Track_At(const std::vector<TrackSample>& track, double tS) {
    if (tS <= track.front().tS)
        return track.front();
    if (tS >= track.back().tS)
        return track.back();
    size_t i = 1;
    while (track[i].tS < tS)
        ++i;
    const TrackSample &p = track[i - 1], &q = track[i];
    const double f = (tS - p.tS) / (q.tS - p.tS);
    auto mix = [f](double a, double b) { return a + (b - a) * f; };
    TrackSample s;
    s.tS = tS;
    s.latDeg = mix(p.latDeg, q.latDeg);
    s.lonDeg = p.lonDeg + remainder(q.lonDeg - p.lonDeg, 360.0) * f;
    s.altFt = mix(p.altFt, q.altFt);
    s.headingDeg =
        fmod(p.headingDeg + remainder(q.headingDeg - p.headingDeg, 360.0) * f + 360.0, 360.0);
    s.pitchDeg = mix(p.pitchDeg, q.pitchDeg);
    s.groundSpeedKmh = mix(p.groundSpeedKmh, q.groundSpeedKmh);
    return s;
}
