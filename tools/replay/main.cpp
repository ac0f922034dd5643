// tools/replay/main.cpp
// skorvan-replay: runs a flight through the real fly-by engine, as fast as
// the processor allows, and writes where the camera stood.
#include "host.h"
#include "replay.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

static const char USAGE[] =
    "usage: skorvan-replay FLIGHT.csv|FLIGHT.gpx [options]\n"
    "       skorvan-replay --host-log HOST.csv --svg FILE\n"
    "Runs a recorded or scripted flight through the fly-by engine and shows where\n"
    "the camera would stand.\n"
    "  --duration S        FlyByDuration, seconds (10)\n"
    "  --rel-altitude FT   FlyByRelAltitude, feet (0)\n"
    "  --min-distance M    FlyByMinDistance, metres (50)\n"
    "  --placement N       FlyByCameraPlacement: 0 right, 1 left, 2 random (0)\n"
    "  --travelling 0|1    FlyByTravelling (0)\n"
    "  --active 0|1        FlyByActive (1)\n"
    "  --follow-turn 0|1   FlyByFollowTurn: lay the point on the predicted turn (0)\n"
    "  --shots FILE        the shot report as CSV: per fly-by the closest approach,\n"
    "                      when it came, the time within the near distance and the\n"
    "                      angle the view sweeps (also printed)\n"
    "  --near-distance M   the near distance of the shot report, metres (300)\n"
    "  --compare-follow-turn  draw (--svg) the fly-by points of a second run\n"
    "                      with --follow-turn 1 beside the first\n"
    "  --csv FILE          one line per camera write\n"
    "  --geojson FILE      the track and the camera points\n"
    "  --svg FILE          a picture of the flight and its camera points\n"
    "  --host-log FILE     draw the stand-in simulator's log instead of replaying\n"
    "The CSV flight has the header t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,\n"
    "groundspeed_kmh; a GPX track gives heading, pitch and speed from its points.\n";

static bool WriteAll(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

static bool ParseInt(const char* text, int32_t* out) {
    char* end = nullptr;
    const long v = strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return false;
    *out = static_cast<int32_t>(v);
    return true;
}

static bool EndsWith(const std::string& s, const char* suffix) {
    const size_t n = strlen(suffix);
    if (s.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i])
            return false;
    return true;
}

int main(int argc, char** argv) {
    std::string input, csvPath, geojsonPath, svgPath, hostLog, shotsPath;
    ReplaySettings settings;
    int32_t nearDistance = 300;
    bool compareFollowTurn = false;
    struct IntOption {
        const char* name;
        int32_t* value;
    } intOptions[] = {
        {"--duration", &settings.duration},        {"--rel-altitude", &settings.relAltitude},
        {"--min-distance", &settings.minDistance}, {"--placement", &settings.placement},
        {"--travelling", &settings.travelling},    {"--active", &settings.active},
        {"--follow-turn", &settings.followTurn},   {"--near-distance", &nearDistance}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        bool matched = false;
        for (const IntOption& option : intOptions) {
            if (arg == option.name) {
                if (!hasValue || !ParseInt(argv[i + 1], option.value)) {
                    fprintf(stderr, "skorvan-replay: %s needs a whole number\n", option.name);
                    return 2;
                }
                ++i;
                matched = true;
            }
        }
        if (matched)
            continue;
        if (arg == "--help" || arg == "-h") {
            fputs(USAGE, stdout);
            return 0;
        } else if (arg == "--csv" && hasValue) {
            csvPath = argv[++i];
        } else if (arg == "--geojson" && hasValue) {
            geojsonPath = argv[++i];
        } else if (arg == "--svg" && hasValue) {
            svgPath = argv[++i];
        } else if (arg == "--compare-follow-turn") {
            compareFollowTurn = true;
        } else if (arg == "--shots" && hasValue) {
            shotsPath = argv[++i];
        } else if (arg == "--host-log" && hasValue) {
            hostLog = argv[++i];
        } else if (arg[0] != '-' && input.empty()) {
            input = arg;
        } else {
            fprintf(stderr, "skorvan-replay: unknown or incomplete option %s\n%s", arg.c_str(),
                    USAGE);
            return 2;
        }
    }

    if (nearDistance <= 0) {
        fprintf(stderr, "skorvan-replay: --near-distance must be above 0 metres\n");
        return 2;
    }

    std::string text, error;
    if (!hostLog.empty()) {
        FlightPicture picture;
        if (!HostText_ReadFile(hostLog, &text)) {
            fprintf(stderr, "skorvan-replay: cannot read %s\n", hostLog.c_str());
            return 1;
        }
        if (!HostLog_ReadPicture(text, &picture, &error)) {
            fprintf(stderr, "skorvan-replay: %s: %s\n", hostLog.c_str(), error.c_str());
            return 1;
        }
        if (svgPath.empty()) {
            fprintf(stderr, "skorvan-replay: --host-log needs --svg FILE\n");
            return 2;
        }
        picture.title = "Skorvan in the stand-in simulator";
        if (!WriteAll(svgPath, Replay_Svg(picture))) {
            fprintf(stderr, "skorvan-replay: cannot write %s\n", svgPath.c_str());
            return 1;
        }
        printf("%zu camera positions over %zu aircraft samples; picture in %s\n",
               picture.writes.size(), picture.track.size(), svgPath.c_str());
        return 0;
    }

    if (input.empty()) {
        fputs(USAGE, stderr);
        return 2;
    }
    if (!HostText_ReadFile(input, &text)) {
        fprintf(stderr, "skorvan-replay: cannot read %s\n", input.c_str());
        return 1;
    }
    std::vector<TrackSample> track;
    const bool ok = EndsWith(input, ".gpx") ? Track_ReadGpx(text, &track, &error)
                                            : Track_ReadCsv(text, &track, &error);
    if (!ok) {
        fprintf(stderr, "skorvan-replay: %s: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    const std::vector<CameraWrite> writes = Replay_Run(track, settings);
    int places = 0;
    for (const CameraWrite& w : writes) {
        if (!w.placed)
            continue;
        ++places;
        printf("%8.1f s  aircraft %.5f %.5f %6.0f ft  camera %.5f %.5f %6.0f ft\n", w.tS,
               w.aircraft.latDeg, w.aircraft.lonDeg, w.aircraft.altFt, w.latDeg, w.lonDeg, w.altFt);
    }
    printf("%d fly-by points, %zu camera writes over %.0f s of flight\n", places, writes.size(),
           track.back().tS - track.front().tS);
    const std::vector<Shot> shots = Replay_Shots(track, writes, nearDistance);
    for (size_t i = 0; i < shots.size(); ++i)
        printf("%s\n", Replay_ShotLine(i, shots[i], nearDistance).c_str());

    FlightPicture picture{"Skorvan fly-by replay: " + input, track, writes, {}};
    if (compareFollowTurn) {
        ReplaySettings following = settings;
        following.followTurn = 1;
        picture.followTurnWrites = Replay_Run(track, following);
    }
    const struct {
        const std::string& path;
        std::string text;
    } outputs[] = {{csvPath, csvPath.empty() ? "" : Replay_Csv(writes)},
                   {geojsonPath, geojsonPath.empty() ? "" : Replay_GeoJson(track, writes)},
                   {svgPath, svgPath.empty() ? "" : Replay_Svg(picture)},
                   {shotsPath, shotsPath.empty() ? "" : Replay_ShotsCsv(shots)}};
    for (const auto& output : outputs) {
        if (!output.path.empty() && !WriteAll(output.path, output.text)) {
            fprintf(stderr, "skorvan-replay: cannot write %s\n", output.path.c_str());
            return 1;
        }
    }
    return 0;
}
