// fuzz/replay_host_log_fuzz.cpp
// libFuzzer target: any bytes as the stand-in simulator's log. A picture
// it accepts has positions on the globe and draws into an SVG without inf
// or nan.
#include "replay.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    FlightPicture picture;
    std::string error;
    if (!HostLog_ReadPicture(text, &picture, &error)) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    for (const TrackSample& s : picture.track)
        if (std::fabs(s.latDeg) > 90 || std::fabs(s.lonDeg) > 180 || !std::isfinite(s.tS))
            __builtin_trap();
    for (const CameraWrite& w : picture.writes)
        if (std::fabs(w.latDeg) > 90 || std::fabs(w.lonDeg) > 180 || !std::isfinite(w.tS))
            __builtin_trap();
    const std::string svg = Replay_Svg(picture);
    if (svg.find("inf") != std::string::npos || svg.find("nan") != std::string::npos)
        __builtin_trap();
    return 0;
}
