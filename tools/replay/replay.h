// tools/replay/replay.h
// Flight replay: a recorded or scripted flight fed through the real fly-by
// engine with a simulated clock and host, and the pictures and files made
// of where the camera stood.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// One sample of the flight (degrees, feet, km/h; pitch positive nose down).
struct TrackSample {
    double tS;
    double latDeg, lonDeg, altFt;
    double headingDeg, pitchDeg, groundSpeedKmh;
};

// A point whose time cannot be used (a GPX point without a <time>, or a
// time not after the previous kept point's) is a logger's glitch, not a
// damaged file: the readers leave it out and count it here, or with strict
// refuse the file at the first one. Values off the globe or not finite are
// refused either way.
struct TrackSkips {
    bool strict = false;
    const char* unit = "point";               // what the reader calls a sample: "point" or "row"
    int withoutTime = 0, withoutTimeLine = 0; // how many, and the line of the first
    int notAdvancing = 0, notAdvancingLine = 0;
};
// "skipped 1 point without a time (first at line 981)", both kinds in one
// line; "" when nothing was skipped.
std::string Track_SkipWarning(const TrackSkips& skips);
// Why fewer than two of total samples were kept, in the user's terms.
std::string Track_TooFewTimes(const TrackSkips& skips, size_t total);

// The values a sample may hold: what an aircraft can do, so that nothing
// absurd reaches the engine or an output. Times stay within a range where a
// double still counts microseconds (seconds since 1970 fit, until 2286).
static const double TRACK_MAX_TIME_S = 1e10;
static const double TRACK_MIN_ALT_FT = -2000, TRACK_MAX_ALT_FT = 100000;
static const double TRACK_MAX_SPEED_KMH = 5000;

// Reads the CSV form (header t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,
// groundspeed_kmh in any order, each named once; RFC 4180 quoting; blank
// lines skipped). Every value must be a number within its range: t_s within
// +-TRACK_MAX_TIME_S, latitude +-90, longitude +-180, altitude
// TRACK_MIN_ALT_FT..TRACK_MAX_ALT_FT, heading +-360, pitch +-90, speed
// 0..TRACK_MAX_SPEED_KMH. A row whose t_s does not advance is skipped (see
// TrackSkips; none counted without one). On failure returns false with a
// message that names the line and the column; warning (when given) is set
// when the times look like milliseconds. The file form reads a record at a
// time, so memory holds the samples and not the file; head is what the
// caller already read of it, read first.
bool Track_ReadCsv(const std::string& text, std::vector<TrackSample>* track, std::string* error,
                   std::string* warning = nullptr, TrackSkips* skips = nullptr);
bool Track_ReadCsvFile(FILE* file, const std::string& head, std::vector<TrackSample>* track,
                       std::string* error, std::string* warning = nullptr,
                       TrackSkips* skips = nullptr);
// Reads the track points of a GPX file (any namespace prefix, time zones
// honoured, a leap second counted as the second it is); heading, pitch and
// speed come from successive points. Points whose time cannot be used are
// skipped as TrackSkips says; <ele> must be within the altitude range.
// Times count from the first kept point, whose time (seconds since 1970,
// UTC) goes to startEpochS when given. The file form reads it streaming
// (head first, as for CSV).
bool Track_ReadGpx(const std::string& text, std::vector<TrackSample>* track, std::string* error,
                   double* startEpochS = nullptr, TrackSkips* skips = nullptr);
bool Track_ReadGpxFile(FILE* file, const std::string& head, std::vector<TrackSample>* track,
                       std::string* error, double* startEpochS = nullptr,
                       TrackSkips* skips = nullptr);

// Reserves room in track for as many samples as the rest of a seekable
// file (after head) can hold, counting each occurrence of mark in head and
// file: a line end for CSV, "trkpt" for GPX. The vector then never grows
// by copying (which needs the old and the new block at once); what is
// reserved but never filled is never touched, so it takes no memory. The
// file is left where it was; a pipe is left alone and reserves nothing.
void Track_ReserveFor(FILE* file, const std::string& head, const char* mark,
                      std::vector<TrackSample>* track);

// The longest flight taken: a longer span is a mistake in the times.
static const double TRACK_MAX_SPAN_S = 3 * 86400.0;
// Refuses a track longer than TRACK_MAX_SPAN_S; sets warning when its rows
// look like milliseconds. Both messages say what to do.
bool Track_CheckSpan(const std::vector<TrackSample>& track, std::string* error,
                     std::string* warning);
// Why a position cannot be used ("latitude 95 is outside -90..90"), or "".
std::string Track_PositionProblem(double latDeg, double lonDeg);

// Seconds since 1970 of an ISO 8601 date and time (2024-05-01T10:00:00Z,
// fractions and +hh:mm offsets allowed, no zone taken as UTC); false for
// anything else, impossible dates and times included. A leap second
// (second 60) is the start of the next minute, with leapSecond set: the
// caller counts it as an inserted second.
bool Time_ParseIso(const std::string& text, double* seconds, bool* leapSecond = nullptr);
// The ISO 8601 UTC form of seconds since 1970, to the millisecond.
std::string Time_FormatIso(double seconds);

// Where a lookup stands in the track: successive lookups at rising times
// cost one pass over the track in all.
struct TrackCursor {
    size_t at = 0; // index of the sample at or before the last time looked up
};
// The flight at time t, interpolated between samples (heading the short way).
TrackSample Track_At(const std::vector<TrackSample>& track, double tS, TrackCursor* cursor);
TrackSample Track_At(const std::vector<TrackSample>& track, double tS);

struct ReplaySettings {
    int32_t active = 1, duration = 10, relAltitude = 0, minDistance = 50, placement = 0,
            travelling = 0, followTurn = 0;
};

// One write of the camera words.
struct CameraWrite {
    double tS;
    bool placed;                  // a new fly-by point (else a travelling shift)
    double latDeg, lonDeg, altFt; // the position written, longitude in [-180, 180)
    uint32_t latFraction;
    int32_t latWhole;
    uint32_t lonFraction;
    int32_t lonWhole;
    int16_t altM;
    TrackSample aircraft; // where the aircraft was at that tick
};

// What a run tells its caller while it goes: each camera write once its
// tick is over (placed or travelling known), and the share of the flight
// done, now and then. Either may be empty.
struct ReplayWatch {
    std::function<void(const CameraWrite&)> write;
    std::function<void(double doneShare)> progress;
};

// Runs the engine over the track: loaded at the first sample's time, the
// first tick 5 s later, then one tick every tickMs until the last sample.
// A track longer than TRACK_MAX_SPAN_S gives no writes.
std::vector<CameraWrite> Replay_Run(const std::vector<TrackSample>& track,
                                    const ReplaySettings& settings, int tickMs = 500,
                                    const ReplayWatch& watch = {});

// ---- Shot report ----------------------------------------------------------------

// How the aircraft passed one fly-by point, from its placement to the next
// placement (or the end of the track).
struct Shot {
    double placedS;       // when the point was placed
    double closestM;      // the closest the aircraft came to the camera (metres, height included)
    double closestAfterS; // seconds after placement
    double nearS;         // seconds the aircraft stayed within the near distance
    double sweepDeg;      // how far the view turned (bearing from the camera) meanwhile
};
std::vector<Shot> Replay_Shots(const std::vector<TrackSample>& track,
                               const std::vector<CameraWrite>& writes, double nearDistanceM);
std::string Replay_ShotLine(size_t index, const Shot& shot, double nearDistanceM);
std::string Replay_ShotsCsv(const std::vector<Shot>& shots);

// ---- Output -------------------------------------------------------------------

// printf into a string of any length: it is measured first, so a long file
// name in a message is never cut.
std::string Text_Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A finite decimal number, blanks around it allowed; false for anything else.
bool Text_ParseNumber(const std::string& text, double* out);
// The line (from 1) that holds the character at offset.
int Text_LineOf(const std::string& text, size_t offset);

std::string Replay_Csv(const std::vector<CameraWrite>& writes);
// The track and the camera points; a line that crosses the 180th meridian
// is cut there into a MultiLineString, so every longitude is within +-180.
std::string Replay_GeoJson(const std::vector<TrackSample>& track,
                           const std::vector<CameraWrite>& writes);
// The fly-by points as GPX 1.1 waypoints and the flown track as a trk; a
// time t_s is written as startEpochS + t_s seconds since 1970 (UTC).
std::string Replay_Gpx(const std::vector<TrackSample>& track,
                       const std::vector<CameraWrite>& writes, double startEpochS);

// What the picture shows: the track, and each camera point with the
// aircraft's position when it was written.
struct FlightPicture {
    std::string title;
    std::vector<TrackSample> track;
    std::vector<CameraWrite> writes;
    // A second run over the same track, following the turn, drawn beside
    // the first in another colour when not empty.
    std::vector<CameraWrite> followTurnWrites;
};
std::string Replay_Svg(const FlightPicture& picture);

// Reads the stand-in simulator's CSV log into a picture: the aircraft
// lines make the track, each camera line a camera point (with the aircraft
// as the refreshes before it gave it). A row it uses with a value that is
// missing, not finite or off the globe is refused, naming the line.
bool HostLog_ReadPicture(const std::string& text, FlightPicture* picture, std::string* error);
