// tools/replay/track_csv.cpp
// Reads a flight from its CSV form, refusing a row that cannot be flown and
// skipping one whose time does not advance.
#include "replay.h"

#include "cli.h"
#include "csv.h"
#include "number.h"

namespace {

const int COLUMN_COUNT = 7;
const char* const COLUMNS[COLUMN_COUNT] = {"t_s",         "lat_deg",   "lon_deg",        "alt_ft",
                                           "heading_deg", "pitch_deg", "groundspeed_kmh"};
// Each column's limits, in COLUMNS' order.
const double LOW[COLUMN_COUNT] = {-TRACK_MAX_TIME_S, -90, -180, TRACK_MIN_ALT_FT, -360, -90, 0};
const double HIGH[COLUMN_COUNT] = {TRACK_MAX_TIME_S,   90, 180, TRACK_MAX_ALT_FT, 360, 90,
                                   TRACK_MAX_SPEED_KMH};

// A row whose values can be flown; its time is the caller's to judge.
bool ReadRow(const CsvReader& reader, const CsvRecord& record, const std::vector<int>& column,
             TrackSample* sample, std::string* error) {
    double v[COLUMN_COUNT];
    for (int c = 0; c < COLUMN_COUNT; ++c) {
        std::string why;
        const int at = column[static_cast<size_t>(c)];
        if (!Number_ReadInRange(Csv_Field(record, at), LOW[c], HIGH[c], &v[c], &why)) {
            *error = Csv_Where(reader, record, at) + " " + why;
            return false;
        }
    }
    *sample = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
    return true;
}

bool ReadCsv(CsvReader* reader, std::vector<TrackSample>* track, std::string* error,
             std::string* warning, TrackSkips* skips) {
    TrackSkips uncounted;
    if (!skips)
        skips = &uncounted;
    *skips = TrackSkips{skips->strict, "row"};
    track->clear();
    std::vector<int> column;
    if (!Csv_ReadHeader(reader, error) ||
        !Csv_FindColumns(*reader, std::vector<std::string>(COLUMNS, COLUMNS + COLUMN_COUNT),
                         &column, error))
        return false;
    size_t rows = 0;
    CsvRecord record;
    while (Csv_Next(reader, &record, error)) {
        TrackSample sample;
        if (!ReadRow(*reader, record, column, &sample, error))
            return false;
        ++rows;
        if (!track->empty() && sample.tS <= track->back().tS) {
            if (skips->strict) {
                *error = Csv_Where(*reader, record) + ": time goes backwards or stands still (" +
                         Number_Show(sample.tS) + " s after " + Number_Show(track->back().tS) +
                         " s)";
                return false;
            }
            if (skips->notAdvancing++ == 0)
                skips->notAdvancingLine = record.line;
            continue;
        }
        track->push_back(sample);
    }
    if (!error->empty())
        return false;
    if (track->empty()) {
        *error = "no samples after the header";
        return false;
    }
    if (track->size() < 2 && skips->notAdvancing > 0) {
        *error = Track_TooFewTimes(*skips, rows);
        return false;
    }
    std::string ignored;
    return Track_CheckSpan(*track, error, warning ? warning : &ignored);
}

} // namespace

bool Track_ReadCsv(const std::string& text, std::vector<TrackSample>* track, std::string* error,
                   std::string* warning, TrackSkips* skips) {
    CsvReader reader;
    Csv_FromText(&reader, text, "");
    return ReadCsv(&reader, track, error, warning, skips);
}

bool Track_ReadCsvFile(FILE* file, const std::string& head, std::vector<TrackSample>* track,
                       std::string* error, std::string* warning, TrackSkips* skips) {
    Track_ReserveFor(file, head, "\n", track);
    CsvReader reader;
    Csv_FromFile(&reader, file, "", head);
    return ReadCsv(&reader, track, error, warning, skips);
}
