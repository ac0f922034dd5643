// skorvan-replay: runs a flight through the real fly-by engine, as fast as
// the processor allows, and writes where the camera stood.
#include "cli.h"
#include "replay.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const char PROGRAM[] = "skorvan-replay";

struct Options {
    std::string flight, hostLog, csv, geojson, gpx, svg, shots;
    ReplaySettings settings;
    int32_t nearDistance = 300;
    bool compareFollowTurn = false, quiet = false, strict = false;
};

void AddOptions(CLI::App& app, Options* o) {
    app.add_option("flight", o->flight,
                   "The flight: CSV (header t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,"
                   "groundspeed_kmh) or GPX; - reads standard input")
        ->type_name("FLIGHT");
    const struct {
        const char* name;
        int32_t* value;
        const char* help;
    } settings[] = {
        {"--duration", &o->settings.duration, "FlyByDuration, seconds"},
        {"--rel-altitude", &o->settings.relAltitude, "FlyByRelAltitude, feet"},
        {"--min-distance", &o->settings.minDistance, "FlyByMinDistance, metres"},
        {"--placement", &o->settings.placement, "FlyByCameraPlacement: 0 right, 1 left, 2 random"},
        {"--travelling", &o->settings.travelling, "FlyByTravelling, 0 or 1"},
        {"--active", &o->settings.active, "FlyByActive, 0 or 1"},
        {"--follow-turn", &o->settings.followTurn,
         "FlyByFollowTurn: lay the point on the predicted turn, 0 or 1"},
    };
    for (const auto& s : settings)
        app.add_option(s.name, *s.value, s.help)->capture_default_str();
    app.add_option("--near-distance", o->nearDistance,
                   "The near distance of the shot report, metres")
        ->check(CLI::Range(1, 1000000))
        ->capture_default_str();
    CLI::Option* svg =
        app.add_option("--svg", o->svg, "A picture of the flight and its camera points");
    CLI::Option* outputs[] = {
        app.add_option("--csv", o->csv, "One line per camera write"),
        app.add_option("--geojson", o->geojson, "The track and the camera points as GeoJSON"),
        app.add_option("--gpx", o->gpx, "The fly-by points (waypoints) and the track as GPX 1.1"),
        app.add_option("--shots", o->shots,
                       "The shot report as CSV: per fly-by the closest approach, when it came, the "
                       "time within the near distance and the angle the view sweeps"),
    };
    app.add_flag("--compare-follow-turn", o->compareFollowTurn,
                 "Draw (--svg) the fly-by points of a second run with --follow-turn 1 beside the "
                 "first")
        ->needs(svg);
    CLI::Option* strict =
        app.add_flag("--strict", o->strict,
                     "Refuse the flight at the first point without a time or whose time does not "
                     "come after the one before, instead of skipping it with a warning");
    CLI::Option* hostLog =
        app.add_option("--host-log", o->hostLog,
                       "Draw the stand-in simulator's log (with --svg) instead of replaying")
            ->needs(svg)
            ->excludes("flight")
            ->excludes("--compare-follow-turn")
            ->excludes(strict);
    for (CLI::Option* output : outputs) {
        output->type_name("FILE");
        hostLog->excludes(output->get_name());
    }
    svg->type_name("FILE");
    hostLog->type_name("LOG");
    Cli_AddStandard(app, &o->quiet);
    app.footer("Output files and the flight may be -, standard output or input. The fly-by and "
               "shot lines go to standard output (to standard error when an output file does).");
}

// Usage checks CLI11 cannot make: something to do, one output per stream.
int CheckUsage(const Options& o) {
    if (o.flight.empty() && o.hostLog.empty()) {
        fprintf(stderr,
                "%s: no flight given: FLIGHT.csv, FLIGHT.gpx or - (standard input), or "
                "--host-log LOG\nRun with --help for more information.\n",
                PROGRAM);
        return 2;
    }
    const char* onStdout = nullptr;
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--csv", &o.csv}, {"--geojson", &o.geojson}, {"--gpx", &o.gpx},
        {"--svg", &o.svg}, {"--shots", &o.shots},
    };
    for (const auto& output : outputs) {
        if (*output.second != "-")
            continue;
        if (onStdout) {
            fprintf(stderr, "%s: %s and %s both write to standard output: give one a file\n",
                    PROGRAM, onStdout, output.first);
            return 2;
        }
        onStdout = output.first;
    }
    return -1;
}

bool AnyOnStdout(const Options& o) {
    return o.csv == "-" || o.geojson == "-" || o.gpx == "-" || o.svg == "-" || o.shots == "-";
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::string error;
    FILE* file = Cli_OpenWrite(path, true, &error);
    if (!file) {
        fprintf(stderr, "%s: cannot write %s\n", PROGRAM, error.c_str());
        return false;
    }
    fwrite(text.data(), 1, text.size(), file);
    if (!Cli_Close(file, path, &error)) {
        fprintf(stderr, "%s: %s\n", PROGRAM, error.c_str());
        return false;
    }
    return true;
}

const char* Named(const std::string& path) {
    return path == "-" ? "standard input" : path.c_str();
}

bool EndsWith(const std::string& s, const char* suffix) {
    const size_t n = strlen(suffix);
    if (s.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i])
            return false;
    return true;
}

// GPX by its name, or for standard input and other names by its first mark.
bool IsGpx(const std::string& path, const std::string& text) {
    if (EndsWith(path, ".gpx") || EndsWith(path, ".csv"))
        return EndsWith(path, ".gpx");
    const size_t first = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string::npos && text[first] == '<';
}

// Reads the flight; the points it skipped are said at the end of the run,
// where the user still sees them under the fly-by lines.
bool ReadFlight(const Options& o, std::vector<TrackSample>* track, double* startEpochS,
                TrackSkips* skips) {
    std::string text, error, warning;
    if (!Cli_ReadAll(o.flight, &text, &error)) {
        fprintf(stderr, "%s: cannot read %s\n", PROGRAM, error.c_str());
        return false;
    }
    *startEpochS = 0;
    skips->strict = o.strict;
    const bool ok = IsGpx(o.flight, text) ? Track_ReadGpx(text, track, &error, startEpochS, skips)
                                          : Track_ReadCsv(text, track, &error, &warning, skips);
    if (!ok) {
        fprintf(stderr, "%s: %s: %s\n", PROGRAM, Named(o.flight), error.c_str());
        return false;
    }
    if (!warning.empty())
        fprintf(stderr, "%s: %s: warning: %s\n", PROGRAM, Named(o.flight), warning.c_str());
    return true;
}

// The run's lines as they come, with a progress line on a terminal that a
// result line clears first.
struct Console {
    FILE* results = stdout;
    bool showProgress = false;
    bool progressShown = false;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now(), lastProgress;

    void ClearProgress() {
        if (progressShown)
            fprintf(stderr, "\r%40s\r", "");
        progressShown = false;
    }
    void Result(const std::string& line) {
        ClearProgress();
        fprintf(results, "%s\n", line.c_str());
        fflush(results);
    }
    // Shown only once a run has taken half a second, then five times a second.
    void Progress(double share) {
        const auto now = std::chrono::steady_clock::now();
        if (!showProgress || now - start < std::chrono::milliseconds(500) ||
            now - lastProgress < std::chrono::milliseconds(200))
            return;
        lastProgress = now;
        fprintf(stderr, "\r%s: %3.0f%% of the flight", PROGRAM, share * 100);
        progressShown = true;
    }
};

std::string FlyByLine(const CameraWrite& w) {
    return Text_Format("%8.1f s  aircraft %.5f %.5f %6.0f ft  camera %.5f %.5f %6.0f ft", w.tS,
                       w.aircraft.latDeg, w.aircraft.lonDeg, w.aircraft.altFt, w.latDeg, w.lonDeg,
                       w.altFt);
}

std::vector<CameraWrite> RunWithConsole(const std::vector<TrackSample>& track,
                                        const ReplaySettings& settings, Console* console) {
    ReplayWatch watch;
    watch.write = [console](const CameraWrite& w) {
        if (w.placed)
            console->Result(FlyByLine(w));
    };
    watch.progress = [console](double share) { console->Progress(share); };
    std::vector<CameraWrite> writes = Replay_Run(track, settings, 500, watch);
    console->ClearProgress();
    return writes;
}

bool WriteOutputs(const Options& o, const FlightPicture& picture, const std::vector<Shot>& shots,
                  double startEpochS) {
    const std::vector<TrackSample>& track = picture.track;
    const std::vector<CameraWrite>& writes = picture.writes;
    if (!o.csv.empty() && !WriteFile(o.csv, Replay_Csv(writes)))
        return false;
    if (!o.geojson.empty() && !WriteFile(o.geojson, Replay_GeoJson(track, writes)))
        return false;
    if (!o.gpx.empty() && !WriteFile(o.gpx, Replay_Gpx(track, writes, startEpochS)))
        return false;
    if (!o.svg.empty() && !WriteFile(o.svg, Replay_Svg(picture)))
        return false;
    return o.shots.empty() || WriteFile(o.shots, Replay_ShotsCsv(shots));
}

int RunReplay(const Options& o) {
    std::vector<TrackSample> track;
    double startEpochS;
    TrackSkips skips;
    if (!ReadFlight(o, &track, &startEpochS, &skips))
        return 1;
    Console console;
    console.results = AnyOnStdout(o) ? stderr : stdout;
    console.showProgress = Cli_ShowProgress(o.quiet);
    FlightPicture picture{"Skorvan fly-by replay: " + std::string(Named(o.flight)),
                          track,
                          RunWithConsole(track, o.settings, &console),
                          {}};
    const std::vector<Shot> shots = Replay_Shots(track, picture.writes, o.nearDistance);
    for (size_t i = 0; i < shots.size(); ++i)
        console.Result(Replay_ShotLine(i, shots[i], o.nearDistance));
    if (o.compareFollowTurn) {
        ReplaySettings following = o.settings;
        following.followTurn = 1;
        picture.followTurnWrites = Replay_Run(track, following);
    }
    const bool written = WriteOutputs(o, picture, shots, startEpochS);
    if (written && !o.quiet)
        fprintf(stderr, "%s: %zu fly-by points, %zu camera writes over %.0f s of flight\n", PROGRAM,
                shots.size(), picture.writes.size(), track.back().tS - track.front().tS);
    // Even with -q: the run left part of the flight out.
    const std::string skipped = Track_SkipWarning(skips);
    if (!skipped.empty())
        fprintf(stderr, "%s: %s: warning: %s\n", PROGRAM, Named(o.flight), skipped.c_str());
    return written ? 0 : 1;
}

int RunHostLog(const Options& o) {
    std::string text, error;
    FlightPicture picture;
    if (!Cli_ReadAll(o.hostLog, &text, &error)) {
        fprintf(stderr, "%s: cannot read %s\n", PROGRAM, error.c_str());
        return 1;
    }
    if (!HostLog_ReadPicture(text, &picture, &error)) {
        fprintf(stderr, "%s: %s: %s\n", PROGRAM, Named(o.hostLog), error.c_str());
        return 1;
    }
    picture.title = "Skorvan in the stand-in simulator: " + std::string(Named(o.hostLog));
    if (!WriteFile(o.svg, Replay_Svg(picture)))
        return 1;
    if (!o.quiet)
        fprintf(stderr, "%s: %zu camera positions over %zu aircraft samples\n", PROGRAM,
                picture.writes.size(), picture.track.size());
    return 0;
}

} // namespace

// An exception out of here (std::bad_alloc, or CLI11 refusing an option
// declared wrongly, a programming error; Cli_Parse catches the user's
// mistakes and the readers their input's) ends the program through
// std::terminate with a failing status.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    CLI::App app("Runs a recorded or scripted flight through the fly-by engine and shows where "
                 "the camera would stand.",
                 PROGRAM);
    Options options;
    AddOptions(app, &options);
    int status = Cli_Parse(app, argc, argv);
    if (status < 0)
        status = CheckUsage(options);
    if (status >= 0)
        return status;
    return Cli_Finish(app, options.hostLog.empty() ? RunReplay(options) : RunHostLog(options));
}
