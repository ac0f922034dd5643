// tools/replay/host_log.cpp
// Reads the stand-in simulator's CSV log into a flight picture. A row that
// is used must hold finite numbers on the globe: one "nan" would otherwise
// turn the whole drawn track into nothing.
#include "replay.h"

#include "csv.h"
#include "geo.h"
#include "number.h"

#include <cfloat>
#include <cmath>

namespace {

// Fields first..last as numbers within low..high, or false naming the one
// that is not.
bool Numbers(const CsvReader& reader, const CsvRecord& row, size_t first, size_t last,
             const double* low, const double* high, double* out, std::string* error) {
    for (size_t i = first; i <= last; ++i) {
        std::string why;
        const int column = static_cast<int>(i);
        if (!Number_ReadInRange(Csv_Field(row, column), low[i - first], high[i - first],
                                &out[i - first], &why)) {
            *error = Csv_Where(reader, row, column) + " " + why;
            return false;
        }
    }
    return true;
}

// Latitude, longitude, altitude and heading as the log writes them.
const double POSITION_LOW[4] = {-90, -180, TRACK_MIN_ALT_FT, -360};
const double POSITION_HIGH[4] = {90, 180, TRACK_MAX_ALT_FT, 360};

struct LogReader {
    const CsvReader* reader;
    FlightPicture* picture;
    double loadedMs = NAN, aircraftLat = NAN, aircraftLon = NAN;

    bool Aircraft(const CsvRecord& row, double tMs, std::string* error) {
        double v[4]; // latitude, longitude, altitude, heading
        if (!Numbers(*reader, row, 2, 5, POSITION_LOW, POSITION_HIGH, v, error))
            return false;
        picture->track.push_back({tMs / 1000.0, v[0], v[1], v[2], v[3], 0, 0});
        return true;
    }

    bool Refresh(const CsvRecord& row, std::string* error) {
        const std::string& token = row.fields[2];
        if (token != "0x47" && token != "0x48")
            return true;
        const double LOW = -DBL_MAX, HIGH = DBL_MAX;
        double value;
        if (!Numbers(*reader, row, 3, 3, &LOW, &HIGH, &value, error))
            return false;
        if (token == "0x47")
            aircraftLat = value / GEO_LATITUDE_UNITS_PER_DEGREE;
        else
            aircraftLon = remainder(value / 281474976710656.0 * 360.0, 360.0);
        if (fabs(aircraftLat) > 90) {
            *error = Csv_Where(*reader, row, 3) + " " + Number_Show(value) +
                     " is a latitude outside -90 to 90";
            return false;
        }
        return true;
    }

    bool Camera(const CsvRecord& row, double tMs, std::string* error) {
        long long words[5];
        const long long LOW[5] = {0, INT32_MIN, 0, INT32_MIN, INT16_MIN};
        const long long HIGH[5] = {UINT32_MAX, INT32_MAX, UINT32_MAX, INT32_MAX, INT16_MAX};
        for (int i = 0; i < 5; ++i) {
            std::string why;
            if (!Number_ReadWhole(Csv_Field(row, 2 + i), LOW[i], HIGH[i], &words[i], &why)) {
                *error = Csv_Where(*reader, row, 2 + i) + " " + why;
                return false;
            }
        }
        double v[3]; // latitude, longitude, altitude
        if (!Numbers(*reader, row, 7, 9, POSITION_LOW, POSITION_HIGH, v, error))
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

    bool Line(const CsvRecord& row, std::string* error) {
        const std::vector<std::string>& f = row.fields;
        if (f.size() < 2)
            return true;
        const double T_LOW = -TRACK_MAX_TIME_S * 1000, T_HIGH = TRACK_MAX_TIME_S * 1000;
        double tMs;
        std::string why;
        if (!Number_ReadInRange(f[0], T_LOW, T_HIGH, &tMs, &why)) {
            *error = Csv_Where(*reader, row) + ": does not start with t_ms: it " + why;
            return false;
        }
        const std::string& kind = f[1];
        if (kind == "load" && std::isnan(loadedMs))
            loadedMs = tMs;
        else if (kind == "aircraft" && f.size() >= 7)
            return Aircraft(row, tMs, error);
        else if (kind == "refresh" && f.size() >= 4)
            return Refresh(row, error);
        else if (kind == "camera" && f.size() >= 10)
            return Camera(row, tMs, error);
        return true;
    }
};

} // namespace

bool HostLog_ReadPicture(const std::string& text, FlightPicture* picture, std::string* error) {
    picture->track.clear();
    picture->writes.clear();
    CsvReader reader;
    Csv_FromText(&reader, text, "");
    LogReader log{&reader, picture};
    CsvRecord row;
    while (Csv_Next(&reader, &row, error))
        if (!log.Line(row, error))
            return false;
    if (!error->empty())
        return false;
    if (picture->track.empty()) {
        *error = "no aircraft lines: is this the stand-in simulator's log?";
        return false;
    }
    return true;
}
