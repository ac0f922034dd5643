// tools/replay/replay.h
// Flight replay: a recorded or scripted flight fed through the real fly-by
// engine with a simulated clock and host, and the pictures and files made
// of where the camera stood.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One sample of the flight (degrees, feet, km/h; pitch positive nose down).
struct TrackSample {
    double tS;
    double latDeg, lonDeg, altFt;
    double headingDeg, pitchDeg, groundSpeedKmh;
};

// Reads the CSV form (header t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,
// groundspeed_kmh in any order). On failure returns false with a message
// that names the line.
bool Track_ReadCsv(const std::string& text, std::vector<TrackSample>* track, std::string* error);
// Reads a GPX track; heading, pitch and speed come from successive points.
bool Track_ReadGpx(const std::string& text, std::vector<TrackSample>* track, std::string* error);
// The flight at time t, interpolated between samples (heading the short way).
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

// Runs the engine over the track: loaded at the first sample's time, the
// first tick 5 s later, then one tick every tickMs until the last sample.
std::vector<CameraWrite> Replay_Run(const std::vector<TrackSample>& track,
                                    const ReplaySettings& settings, int tickMs = 500);

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

// printf into a string (up to 511 characters).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Replay_Csv(const std::vector<CameraWrite>& writes);
std::string Replay_GeoJson(const std::vector<TrackSample>& track,
                           const std::vector<CameraWrite>& writes);

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
// as the refreshes before it gave it).
bool HostLog_ReadPicture(const std::string& text, FlightPicture* picture, std::string* error);
