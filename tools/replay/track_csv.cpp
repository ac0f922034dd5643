// tools/replay/track_csv.cpp
// Reads a flight from its CSV form, refusing a row that cannot be flown and
// skipping one whose time does not advance.
#include "replay.h"

#include <map>
#include <sstream>

namespace {

const int COLUMN_COUNT = 7;
const char* const COLUMNS[COLUMN_COUNT] = {"t_s",         "lat_deg",   "lon_deg",        "alt_ft",
                                           "heading_deg", "pitch_deg", "groundspeed_kmh"};

std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',')
        fields.push_back("");
    return fields;
}

std::string Trim(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    size_t start = 0;
    while (start < s.size() && (s[start] == ' ' || s[start] == '\t'))
        ++start;
    return s.substr(start);
}

bool ReadHeader(const std::vector<std::string>& fields, int lineNumber, int column[COLUMN_COUNT],
                std::string* error) {
    std::map<std::string, int> index;
    for (size_t i = 0; i < fields.size(); ++i)
        index[Trim(fields[i])] = static_cast<int>(i);
    for (int c = 0; c < COLUMN_COUNT; ++c) {
        if (!index.count(COLUMNS[c])) {
            *error = "line " + std::to_string(lineNumber) + ": the header has no column '" +
                     COLUMNS[c] + "'";
            return false;
        }
        column[c] = index[COLUMNS[c]];
    }
    return true;
}

// A row whose values can be flown; its time is the caller's to judge.
bool ReadRow(const std::vector<std::string>& fields, const int column[COLUMN_COUNT],
             TrackSample* sample, std::string* error) {
    double v[COLUMN_COUNT];
    for (int c = 0; c < COLUMN_COUNT; ++c) {
        const std::string field =
            column[c] < static_cast<int>(fields.size()) ? fields[column[c]] : "";
        if (!Text_ParseNumber(field, &v[c])) {
            *error = std::string(COLUMNS[c]) + " is '" + Trim(field) + "', not a number";
            return false;
        }
    }
    *error = Track_PositionProblem(v[1], v[2]);
    if (!error->empty())
        return false;
    *sample = {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
    return true;
}

} // namespace

bool Track_ReadCsv(const std::string& text, std::vector<TrackSample>* track, std::string* error,
                   std::string* warning, TrackSkips* skips) {
    TrackSkips uncounted;
    if (!skips)
        skips = &uncounted;
    *skips = TrackSkips{skips->strict, "row"};
    size_t rows = 0;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    int column[COLUMN_COUNT];
    bool haveHeader = false;
    track->clear();
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (lineNumber == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3); // a byte-order mark from a spreadsheet
        if (Trim(line).empty())
            continue;
        const std::vector<std::string> fields = SplitCsv(line);
        if (!haveHeader) {
            if (!ReadHeader(fields, lineNumber, column, error))
                return false;
            haveHeader = true;
            continue;
        }
        TrackSample sample;
        if (!ReadRow(fields, column, &sample, error)) {
            *error = "line " + std::to_string(lineNumber) + ": " + *error;
            return false;
        }
        ++rows;
        if (!track->empty() && sample.tS <= track->back().tS) {
            if (skips->strict) {
                *error = "line " + std::to_string(lineNumber) +
                         ": time goes backwards or stands still (" + Trim(fields[column[0]]) +
                         " s after " + Text_Format("%g", track->back().tS) + " s)";
                return false;
            }
            if (skips->notAdvancing++ == 0)
                skips->notAdvancingLine = lineNumber;
            continue;
        }
        track->push_back(sample);
    }
    if (!haveHeader) {
        *error = "the file is empty: no header line";
        return false;
    }
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
