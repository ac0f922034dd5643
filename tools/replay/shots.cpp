// tools/replay/shots.cpp
// The shot report: for each fly-by point, how the aircraft passes the
// camera — the closest approach and when it comes, how long the aircraft
// stays within a given distance, and the angle the view sweeps meanwhile.
// The track is walked forward once, sampled every 50 ms between samples.
#include "replay.h"

#include "geo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const double STEP_S = 0.05;

// The aircraft's position at t, interpolated between samples; at moves
// forward only, so a whole report costs one pass over the track.
struct TrackWalk {
    const std::vector<TrackSample>& track;
    size_t at = 0;
    void Position(double t, double* latDeg, double* lonDeg, double* altFt) {
        while (at + 1 < track.size() && track[at + 1].tS <= t)
            ++at;
        const TrackSample& a = track[at];
        const TrackSample& b = track[at + 1 < track.size() ? at + 1 : at];
        const double f =
            b.tS > a.tS ? std::fmin(1.0, std::fmax(0.0, (t - a.tS) / (b.tS - a.tS))) : 0;
        *latDeg = a.latDeg + (b.latDeg - a.latDeg) * f;
        *lonDeg = a.lonDeg + remainder(b.lonDeg - a.lonDeg, 360.0) * f;
        *altFt = a.altFt + (b.altFt - a.altFt) * f;
    }
};

// Metres between two points a few hundred metres apart, height ignored.
double GroundDistance(double latA, double lonA, double latB, double lonB) {
    const double north = (latB - latA) * DEG_TO_RAD * EARTH_RADIUS_M;
    const double east =
        remainder(lonB - lonA, 360.0) * DEG_TO_RAD * EARTH_RADIUS_M * cos(latA * DEG_TO_RAD);
    return sqrt(north * north + east * east);
}

// The farthest a travelling write before end stood from the placed point.
double SlideOf(const std::vector<CameraWrite>& writes, const CameraWrite& placed, double end) {
    double slide = 0;
    for (const CameraWrite* w = &placed + 1; w < writes.data() + writes.size(); ++w) {
        if (w->placed || w->tS >= end)
            break;
        slide =
            std::fmax(slide, GroundDistance(placed.latDeg, placed.lonDeg, w->latDeg, w->lonDeg));
    }
    return slide;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

std::vector<Shot> Replay_Shots(const std::vector<TrackSample>& track,
                               const std::vector<CameraWrite>& writes, double nearDistanceM) {
    std::vector<Shot> shots;
    if (track.empty())
        return shots;
    std::vector<const CameraWrite*> placed;
    for (const CameraWrite& w : writes)
        if (w.placed)
            placed.push_back(&w);
    TrackWalk walk{track};
    for (size_t i = 0; i < placed.size(); ++i) {
        const CameraWrite& c = *placed[i];
        const double end = i + 1 < placed.size() ? placed[i + 1]->tS : track.back().tS;
        const double cosLat = cos(c.latDeg * DEG_TO_RAD);
        Shot shot = {c.tS, INFINITY, 0, 0, 0, SlideOf(writes, c, end)};
        double previousBearing = NAN;
        for (double t = c.tS; t <= end + 1e-9; t += STEP_S) {
            double lat, lon, alt;
            walk.Position(t, &lat, &lon, &alt);
            const double north = (lat - c.latDeg) * DEG_TO_RAD * EARTH_RADIUS_M;
            const double east =
                remainder(lon - c.lonDeg, 360.0) * DEG_TO_RAD * EARTH_RADIUS_M * cosLat;
            const double up = (alt - c.altFt) * GEO_METRES_PER_FOOT;
            const double distance = sqrt(north * north + east * east + up * up);
            if (distance < shot.closestM) {
                shot.closestM = distance;
                shot.closestAfterS = t - c.tS;
            }
            const double bearing = atan2(east, north) * RAD_TO_DEG;
            if (distance <= nearDistanceM) {
                shot.nearS += STEP_S;
                if (!std::isnan(previousBearing))
                    shot.sweepDeg += fabs(remainder(bearing - previousBearing, 360.0));
                previousBearing = bearing;
            } else {
                previousBearing = NAN;
            }
        }
        shots.push_back(shot);
    }
    return shots;
}

std::string Replay_ShotLine(size_t index, const Shot& shot, double nearDistanceM) {
    return Text_Format(
        "shot %zu: placed at %.1f s, closest %.0f m %.1f s later, %.1f s within %.0f m, "
        "the view sweeps %.0f degrees",
        index + 1, shot.placedS, shot.closestM, shot.closestAfterS, shot.nearS, nearDistanceM,
        shot.sweepDeg);
}

std::string Replay_ShotsCsv(const std::vector<Shot>& shots) {
    std::string out = "shot,placed_s,closest_m,closest_after_s,near_s,sweep_deg\n";
    for (size_t i = 0; i < shots.size(); ++i) {
        const Shot& s = shots[i];
        out += Text_Format("%zu,%.2f,%.2f,%.2f,%.2f,%.1f\n", i + 1, s.placedS, s.closestM,
                           s.closestAfterS, s.nearS, s.sweepDeg);
    }
    return out;
}

std::string Replay_ShotSummary(const std::vector<Shot>& shots, int32_t passAtPercent,
                               double nearDistanceM) {
    std::vector<double> after, sweep, slide;
    for (const Shot& s : shots) {
        if (!(s.closestM <= nearDistanceM))
            continue;
        after.push_back(s.closestAfterS);
        sweep.push_back(s.sweepDeg);
        slide.push_back(s.slideM);
    }
    if (after.empty())
        return Text_Format("pass at %d %%: no shot came within %.0f m",
                           static_cast<int>(passAtPercent), nearDistanceM);
    return Text_Format("pass at %d %%: %zu shots within %.0f m; median closest approach %.1f s "
                       "after placement, the view sweeps %.0f degrees, the camera slides %.0f m",
                       static_cast<int>(passAtPercent), after.size(), nearDistanceM, Median(after),
                       Median(sweep), Median(slide));
}
