// fuzz/replay_gpx_fuzz.cpp
// libFuzzer target: any bytes as skorvan-replay's GPX flight, read from
// the text and, in chunks, from a file; both must agree. A flight it
// accepts has rising times within the span taken and altitudes in range.
#include "replay.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<TrackSample> track, fromFile;
    std::string error, fileError;
    double start = 0, fileStart = 0;
    TrackSkips skips;
    const bool ok = Track_ReadGpx(text, &track, &error, &start, &skips);
    if (!ok && error.empty())
        __builtin_trap();
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file && size > 0) {
        const size_t headBytes = size / 3; // a head of any length, as the tool reads to tell
        const std::string head(text, 0, headBytes);
        fseek(file, static_cast<long>(headBytes), SEEK_SET);
        if (Track_ReadGpxFile(file, head, &fromFile, &fileError, &fileStart) != ok ||
            (ok && fromFile.size() != track.size()))
            __builtin_trap();
    }
    if (file)
        fclose(file);
    if (!ok)
        return 0;
    for (size_t i = 0; i < track.size(); ++i) {
        const TrackSample& s = track[i];
        if ((i > 0 && !(s.tS > track[i - 1].tS)) || s.tS > TRACK_MAX_SPAN_S ||
            s.altFt < TRACK_MIN_ALT_FT || s.altFt > TRACK_MAX_ALT_FT || std::fabs(s.latDeg) > 90 ||
            std::fabs(s.lonDeg) > 180 || !std::isfinite(s.groundSpeedKmh) ||
            !std::isfinite(s.headingDeg))
            __builtin_trap();
    }
    return 0;
}
