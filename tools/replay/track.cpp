// tools/replay/track.cpp
// A flight's samples: where the aircraft is between them, and whether the
// positions and the span can be flown at all.
#include "replay.h"

#include <algorithm>
#include <cmath>
#include <cstring>

std::string Track_PositionProblem(double latDeg, double lonDeg) {
    if (!std::isfinite(latDeg) || !std::isfinite(lonDeg))
        return "latitude and longitude must be finite numbers";
    if (fabs(latDeg) > 90)
        return Text_Format("latitude %g is outside -90..90", latDeg);
    if (fabs(lonDeg) > 180)
        return Text_Format("longitude %g is outside -180..180", lonDeg);
    return "";
}

namespace {

std::string Count(size_t n, const char* unit) {
    return Text_Format("%zu %s%s", n, unit, n == 1 ? "" : "s");
}

// "2 points without a time (first at line 9) and ...", or "".
std::string SkippedText(const TrackSkips& skips) {
    std::string text;
    if (skips.withoutTime > 0)
        text = Count(static_cast<size_t>(skips.withoutTime), skips.unit) +
               Text_Format(" without a time (first at line %d)", skips.withoutTimeLine);
    if (skips.notAdvancing > 0)
        text += (text.empty() ? "" : " and ") +
                Count(static_cast<size_t>(skips.notAdvancing), skips.unit) +
                Text_Format(" whose time stands still or goes backwards (first at line %d)",
                            skips.notAdvancingLine);
    return text;
}

} // namespace

std::string Track_SkipWarning(const TrackSkips& skips) {
    const std::string text = SkippedText(skips);
    return text.empty() ? text : "skipped " + text;
}

std::string Track_TooFewTimes(const TrackSkips& skips, size_t total) {
    const char* const prefix = "no two points with advancing times: ";
    // Times missing from every point is no glitch: the file is a plan.
    if (total > 0 && static_cast<size_t>(skips.withoutTime) == total)
        return prefix +
               Text_Format("none of the %s has a <time>, as in a planned route or track; replay "
                           "a recorded track",
                           Count(total, skips.unit).c_str());
    const size_t kept = total - static_cast<size_t>(skips.withoutTime + skips.notAdvancing);
    return prefix +
           Text_Format("of %s only %zu %s left after skipping %s", Count(total, skips.unit).c_str(),
                       kept, kept == 1 ? "is" : "are", SkippedText(skips).c_str()) +
           "; a flight needs times that rise from point to point";
}

bool Track_CheckSpan(const std::vector<TrackSample>& track, std::string* error,
                     std::string* warning) {
    if (track.empty())
        return true;
    const double span = track.back().tS - track.front().tS;
    // The typical step, not the mean: one long gap (a pause in a recording)
    // must not make seconds look like milliseconds.
    double typicalStep = 0;
    if (track.size() > 1) {
        std::vector<double> steps;
        for (size_t i = 1; i < track.size(); ++i)
            steps.push_back(track[i].tS - track[i - 1].tS);
        std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
        typicalStep = steps[steps.size() / 2];
    }
    const bool looksLikeMs = typicalStep >= 100 && span >= 3600;
    const std::string hint =
        looksLikeMs
            ? Text_Format("; the samples are %g apart: if t_s holds milliseconds, divide it by "
                          "1000",
                          typicalStep)
            : "";
    if (span > TRACK_MAX_SPAN_S) {
        *error = Text_Format("the flight spans %.0f s (%.1f days); more than %.0f s (%.0f days) is "
                             "refused as a mistake in the times",
                             span, span / 86400, TRACK_MAX_SPAN_S, TRACK_MAX_SPAN_S / 86400) +
                 hint;
        return false;
    }
    if (looksLikeMs && warning)
        *warning =
            Text_Format("the times look like milliseconds (%.0f s of flight", span) + hint + ")";
    return true;
}

// Index of the last sample at or before t (t within the track). Forward
// from the cursor when t has not gone back past it, else a binary search.
static size_t SampleBefore(const std::vector<TrackSample>& track, double tS, size_t from) {
    if (from >= track.size() || track[from].tS > tS) {
        const auto after =
            std::upper_bound(track.begin(), track.end(), tS,
                             [](double t, const TrackSample& sample) { return t < sample.tS; });
        return static_cast<size_t>(after - track.begin()) - 1;
    }
    while (from + 1 < track.size() && track[from + 1].tS <= tS)
        ++from;
    return from;
}

TrackSample Track_At(const std::vector<TrackSample>& track, double tS, TrackCursor* cursor) {
    if (tS <= track.front().tS)
        return track.front();
    if (tS >= track.back().tS)
        return track.back();
    cursor->at = SampleBefore(track, tS, cursor->at);
    const TrackSample &p = track[cursor->at], &q = track[cursor->at + 1];
    const double f = (tS - p.tS) / (q.tS - p.tS);
    auto mix = [f](double a, double b) { return a + (b - a) * f; };
    TrackSample s;
    s.tS = tS;
    s.latDeg = mix(p.latDeg, q.latDeg);
    s.lonDeg = remainder(p.lonDeg + remainder(q.lonDeg - p.lonDeg, 360.0) * f, 360.0);
    s.altFt = mix(p.altFt, q.altFt);
    s.headingDeg =
        fmod(p.headingDeg + remainder(q.headingDeg - p.headingDeg, 360.0) * f + 360.0, 360.0);
    s.pitchDeg = mix(p.pitchDeg, q.pitchDeg);
    s.groundSpeedKmh = mix(p.groundSpeedKmh, q.groundSpeedKmh);
    return s;
}

TrackSample Track_At(const std::vector<TrackSample>& track, double tS) {
    TrackCursor cursor;
    cursor.at = track.size(); // no cursor yet: search
    return Track_At(track, tS, &cursor);
}

namespace {

// Occurrences of mark in text, given the tail of what came before it (so a
// mark split between two chunks counts once).
size_t CountMarks(const std::string& text, const char* mark) {
    size_t count = 0;
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1))
        ++count;
    return count;
}

} // namespace

void Track_ReserveFor(FILE* file, const std::string& head, const char* mark,
                      std::vector<TrackSample>* track) {
    const long start = ftell(file);
    if (start < 0 || fseek(file, start, SEEK_SET) != 0)
        return;                           // a pipe: it grows as it must
    const size_t keep = strlen(mark) - 1; // the bytes a split mark may have in the last chunk
    std::string text = head, chunk(65536, '\0');
    size_t count = 0, n;
    do {
        n = fread(&chunk[0], 1, chunk.size(), file);
        text.append(chunk, 0, n);
        count += CountMarks(text, mark);
        text.erase(0, text.size() > keep ? text.size() - keep : 0);
    } while (n > 0);
    clearerr(file);
    if (fseek(file, start, SEEK_SET) != 0)
        return;
    track->reserve(count + 1);
}
