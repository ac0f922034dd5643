// skorvan-replay: runs a flight through the real fly-by engine, as fast as
// the processor allows, and writes where the camera stood.
#include "cli.h"
#include "output.h"
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
    int32_t comparePassAt = 0; // 0: no second run
    bool compareFollowTurn = false, quiet = false, strict = false;
};

void AddOptions(CLI::App& app, Options* o) {
    app.add_option("flight", o->flight,
                   "The flight: CSV (header t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,"
                   "groundspeed_kmh) or GPX; - reads standard input")
        ->type_name("FLIGHT");
    // One option per setting of the module's table, in its order.
#define REPLAY_SETTING_VALUE(member, field, ...) &o->settings.field,
    int32_t* const values[SETTINGS_COUNT] = {FLYBY_SETTINGS(REPLAY_SETTING_VALUE)};
#undef REPLAY_SETTING_VALUE
    for (int i = 0; i < SETTINGS_COUNT; ++i) {
        const SettingField& field = SETTINGS_FIELDS[i];
        CLI::Option* option = app.add_option(std::string("--") + field.option, *values[i],
                                             std::string(field.name) + ": " + field.help)
                                  ->capture_default_str();
        // The range the setting is meant for: the replay refuses what the
        // module would read as something else.
        option->check(Cli_WholeRange(field.minimum, field.maximum));
    }
    app.add_option("--near-distance", o->nearDistance,
                   "The near distance of the shot report, metres")
        ->check(Cli_WholeRange(1, 1000000))
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
    app.add_option("--compare-pass-at", o->comparePassAt,
                   "Run the flight a second time with FlyByPassAt PERCENT: a summary line of "
                   "each run's shots, and (--svg) the second run's fly-by points beside the first")
        ->type_name("PERCENT")
        ->check(CLI::Range(10, 100));
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
            ->excludes("--compare-pass-at")
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

// The outputs in a fixed order, with the option that names each.
struct NamedOutput {
    const char* option;
    const std::string* path;
};
std::vector<NamedOutput> Outputs(const Options& o) {
    return {{"--csv", &o.csv},
            {"--geojson", &o.geojson},
            {"--gpx", &o.gpx},
            {"--svg", &o.svg},
            {"--shots", &o.shots}};
}

// Usage checks CLI11 cannot make: something to do, one output per stream
// and per file, and no output that would overwrite the flight.
int CheckUsage(const Options& o) {
    if (o.flight.empty() && o.hostLog.empty())
        return Cli_UsageFail(PROGRAM, "no flight given: FLIGHT.csv, FLIGHT.gpx or - (standard "
                                      "input), or --host-log LOG");
    const char* onStdout = nullptr;
    std::vector<std::string> paths, names;
    for (const NamedOutput& output : Outputs(o)) {
        paths.push_back(*output.path);
        names.push_back(output.option);
        if (*output.path != "-")
            continue;
        if (onStdout)
            return Cli_UsageFail(PROGRAM, std::string(onStdout) + " and " + output.option +
                                              " both write to standard output: give one a file");
        onStdout = output.option;
    }
    std::string error;
    if (!Output_CheckNames({o.flight, o.hostLog}, paths, names, &error))
        return Cli_UsageFail(PROGRAM, error);
    return -1;
}

bool AnyOnStdout(const Options& o) {
    for (const NamedOutput& output : Outputs(o))
        if (*output.path == "-")
            return true;
    return false;
}

// The outputs, each open on its temporary file from the start (a folder
// that cannot be written is found before the run) and committed together
// at the end of a job that succeeded.
struct OpenOutputs {
    OutputFile files[5];
};

bool OpenAll(const Options& o, OpenOutputs* open) {
    const std::vector<NamedOutput> outputs = Outputs(o);
    for (size_t i = 0; i < outputs.size(); ++i) {
        std::string error;
        if (!outputs[i].path->empty() &&
            !Output_Open(&open->files[i], *outputs[i].path, true, &error)) {
            Cli_Fail(PROGRAM, error);
            return false;
        }
    }
    return true;
}

// Writes each output's text (in Outputs' order, "" for one not asked
// for), then renames every one into place; on any failure none is.
bool CommitAll(OpenOutputs* open, const std::vector<std::string>& texts) {
    std::string error;
    for (size_t i = 0; i < texts.size(); ++i)
        if (open->files[i].file && !Output_Write(&open->files[i], texts[i], &error))
            return Cli_Fail(PROGRAM, error), false;
    for (OutputFile& file : open->files)
        if (file.file && !Output_Commit(&file, &error))
            return Cli_Fail(PROGRAM, error), false;
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

// GPX by its name, or for standard input and other names by its first mark;
// head is what was read of the file to tell.
bool IsGpx(const std::string& path, const std::string& head) {
    if (EndsWith(path, ".gpx") || EndsWith(path, ".csv"))
        return EndsWith(path, ".gpx");
    const size_t first = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string::npos && head[first] == '<';
}

// Reads the flight, a chunk at a time; the points it skipped are said at
// the end of the run, where the user still sees them under the fly-by lines.
bool ReadFlight(const Options& o, std::vector<TrackSample>* track, double* startEpochS,
                TrackSkips* skips) {
    std::string error, warning;
    FILE* file = Cli_OpenRead(o.flight, true, &error);
    if (!file)
        return Cli_Fail(PROGRAM, "cannot read " + error), false;
    // Enough of the start to tell the kind past blank lines and a mark.
    std::string head(4096, '\0');
    head.resize(fread(&head[0], 1, head.size(), file));
    *startEpochS = 0;
    skips->strict = o.strict;
    const bool ok = IsGpx(o.flight, head)
                        ? Track_ReadGpxFile(file, head, track, &error, startEpochS, skips)
                        : Track_ReadCsvFile(file, head, track, &error, &warning, skips);
    if (file != stdin)
        fclose(file);
    if (!ok)
        return Cli_Fail(PROGRAM, std::string(Named(o.flight)) + ": " + error), false;
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

// Each output's text, in Outputs' order.
std::vector<std::string> OutputTexts(const Options& o, const FlightPicture& picture,
                                     const std::vector<Shot>& shots, double startEpochS) {
    const std::vector<TrackSample>& track = picture.track;
    const std::vector<CameraWrite>& writes = picture.writes;
    return {o.csv.empty() ? "" : Replay_Csv(writes),
            o.geojson.empty() ? "" : Replay_GeoJson(track, writes),
            o.gpx.empty() ? "" : Replay_Gpx(track, writes, startEpochS),
            o.svg.empty() ? "" : Replay_Svg(picture),
            o.shots.empty() ? "" : Replay_ShotsCsv(shots)};
}

int RunReplay(const Options& o) {
    OpenOutputs open;
    if (!OpenAll(o, &open))
        return CLI_FAILED;
    // The track is read into the picture and never copied: it is most of
    // the memory a long flight takes.
    FlightPicture picture;
    picture.title = "Skorvan fly-by replay: " + std::string(Named(o.flight));
    const std::vector<TrackSample>& track = picture.track;
    double startEpochS;
    TrackSkips skips;
    if (!ReadFlight(o, &picture.track, &startEpochS, &skips))
        return CLI_FAILED;
    Console console;
    console.results = AnyOnStdout(o) ? stderr : stdout;
    console.showProgress = Cli_ShowProgress(o.quiet);
    if (o.settings.passAt != 100)
        picture.title += Text_Format(" (pass at %d %%)", static_cast<int>(o.settings.passAt));
    picture.writes = RunWithConsole(track, o.settings, &console);
    const std::vector<Shot> shots = Replay_Shots(track, picture.writes, o.nearDistance);
    for (size_t i = 0; i < shots.size(); ++i)
        console.Result(Replay_ShotLine(i, shots[i], o.nearDistance));
    if (o.comparePassAt != 0) {
        ReplaySettings other = o.settings;
        other.passAt = o.comparePassAt;
        picture.passAtWrites = Replay_Run(track, other);
        picture.passAtPercent = o.comparePassAt;
        console.Result(Replay_ShotSummary(shots, o.settings.passAt, o.nearDistance));
        console.Result(Replay_ShotSummary(Replay_Shots(track, picture.passAtWrites, o.nearDistance),
                                          o.comparePassAt, o.nearDistance));
    }
    if (o.compareFollowTurn) {
        ReplaySettings following = o.settings;
        following.followTurn = 1;
        picture.followTurnWrites = Replay_Run(track, following);
    }
    const bool written = CommitAll(&open, OutputTexts(o, picture, shots, startEpochS));
    if (written && !o.quiet)
        fprintf(stderr, "%s: %zu fly-by points, %zu camera writes over %.0f s of flight\n", PROGRAM,
                shots.size(), picture.writes.size(), track.back().tS - track.front().tS);
    // Even with -q: the run left part of the flight out.
    const std::string skipped = Track_SkipWarning(skips);
    if (!skipped.empty())
        fprintf(stderr, "%s: %s: warning: %s\n", PROGRAM, Named(o.flight), skipped.c_str());
    return written ? 0 : CLI_FAILED;
}

int RunHostLog(const Options& o) {
    OpenOutputs open;
    if (!OpenAll(o, &open))
        return CLI_FAILED;
    std::string text, error;
    FlightPicture picture;
    if (!Cli_ReadAll(o.hostLog, &text, &error))
        return Cli_Fail(PROGRAM, "cannot read " + error);
    if (!HostLog_ReadPicture(text, &picture, &error))
        return Cli_Fail(PROGRAM, std::string(Named(o.hostLog)) + ": " + error);
    picture.title = "Skorvan in the stand-in simulator: " + std::string(Named(o.hostLog));
    if (!CommitAll(&open, {"", "", "", Replay_Svg(picture), ""}))
        return CLI_FAILED;
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
