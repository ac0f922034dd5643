// fuzz/replay_csv_fuzz.cpp
// libFuzzer target: any bytes as skorvan-replay's CSV flight. A flight it
// accepts holds only values an aircraft can have, with rising times, and
// a short one runs through the engine into outputs without inf or nan.
#include "replay.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

bool Plausible(const TrackSample& s) {
    return std::fabs(s.tS) <= TRACK_MAX_TIME_S && std::fabs(s.latDeg) <= 90 &&
           std::fabs(s.lonDeg) <= 180 && s.altFt >= TRACK_MIN_ALT_FT &&
           s.altFt <= TRACK_MAX_ALT_FT && s.groundSpeedKmh >= 0 &&
           s.groundSpeedKmh <= TRACK_MAX_SPEED_KMH && std::isfinite(s.headingDeg) &&
           std::isfinite(s.pitchDeg);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<TrackSample> track;
    std::string error, warning;
    TrackSkips skips;
    skips.strict = size % 2 == 0;
    if (!Track_ReadCsv(text, &track, &error, &warning, &skips)) {
        if (error.empty())
            __builtin_trap(); // a refusal always says why
        return 0;
    }
    for (size_t i = 0; i < track.size(); ++i)
        if (!Plausible(track[i]) || (i > 0 && !(track[i].tS > track[i - 1].tS)))
            __builtin_trap();
    if (track.back().tS - track.front().tS <= 120) {
        const std::vector<CameraWrite> writes = Replay_Run(track, ReplaySettings{});
        const std::string outputs = Replay_Csv(writes) + Replay_GeoJson(track, writes);
        if (outputs.find("inf") != std::string::npos || outputs.find("nan") != std::string::npos)
            __builtin_trap();
    }
    return 0;
}
