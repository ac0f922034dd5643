// tests/replay/replay_test.cpp
// The flight-replay tool: reading flights (and refusing bad ones by line),
// interpolation, and the engine run over a track.
#include "replay.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const char* const HEADER = "t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n";

struct BadCsv {
    const char* text;
    const char* message;
};

TEST(TrackCsv, RefusesBadFilesNamingTheLine) {
    const BadCsv cases[] = {
        {"t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg\n0,1,2,3,4,5\n",
         "line 1: the header has no column 'groundspeed_kmh'"},
        {"t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n0,1,2,3,4,5,6\n1,x,2,3,"
         "4,5,6\n",
         "line 3: lat_deg is 'x', not a number"},
        {"t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n0,1,2,3,4,5,6\n1,1,2,3,"
         "4,5\n",
         "line 3: groundspeed_kmh is '', not a number"},
        {"t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n0,1,2,3,4,5,6\n1,95,2,"
         "3,"
         "4,5,6\n",
         "line 3: lat_deg is 95, outside -90 to 90"},
        {"t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n0,1,-181,3,4,5,6\n",
         "line 2: lon_deg is -181, outside -180 to 180"},
        {"", "the file is empty"},
    };
    for (const BadCsv& c : cases) {
        std::vector<TrackSample> track;
        std::string error;
        EXPECT_FALSE(Track_ReadCsv(c.text, &track, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
    }
}

TEST(TrackCsv, ReadsColumnsInAnyOrderAndInterpolatesHeadingTheShortWay) {
    std::vector<TrackSample> track;
    std::string error;
    ASSERT_TRUE(Track_ReadCsv("groundspeed_kmh,t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg\r\n"
                              "100,0,10,179.9,1000,350,0\r\n"
                              "200,10,11,-179.9,2000,10,2\r\n",
                              &track, &error))
        << error;
    const TrackSample mid = Track_At(track, 5);
    EXPECT_DOUBLE_EQ(mid.latDeg, 10.5);
    EXPECT_NEAR(fabs(mid.lonDeg), 180.0, 1e-9); // across the date line, not round the world
    EXPECT_NEAR(fmod(mid.headingDeg, 360.0), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(mid.groundSpeedKmh, 150);
    EXPECT_DOUBLE_EQ(Track_At(track, -3).altFt, 1000); // held at the ends
    EXPECT_DOUBLE_EQ(Track_At(track, 99).altFt, 2000);
}

TEST(TrackGpx, DerivesHeadingPitchAndSpeedFromSuccessivePoints) {
    // 0.01 degree north in 10 s at the equator is 111.1 m/s, climbing 1111 m of
    // elevation (metres in GPX) on the way: 45 degrees nose up.
    const char* gpx =
        "<?xml version=\"1.0\"?>\n<gpx><trk><trkseg>\n"
        "<trkpt lat=\"0.00\" lon=\"10\"><ele>100</ele><time>2024-05-01T10:00:00Z</time></trkpt>\n"
        "<trkpt lat=\"0.01\" "
        "lon=\"10\"><ele>1211.3</ele><time>2024-05-01T10:00:10Z</time></trkpt>\n"
        "<trkpt lat='0.01' lon='10.01'><ele>1211.3</ele><time>2024-05-01T10:00:20Z</time></trkpt>\n"
        "</trkseg></trk></gpx>\n";
    std::vector<TrackSample> track;
    std::string error;
    ASSERT_TRUE(Track_ReadGpx(gpx, &track, &error)) << error;
    ASSERT_EQ(track.size(), 3u);
    EXPECT_DOUBLE_EQ(track[1].tS, 10.0);
    EXPECT_NEAR(track[0].headingDeg, 0.0, 1e-9);
    EXPECT_NEAR(track[0].groundSpeedKmh, 1111.3 * 3.6 / 10, 1.0);
    EXPECT_NEAR(track[0].pitchDeg, -45.0, 0.1); // climbing: nose up is negative
    EXPECT_NEAR(track[1].headingDeg, 90.0, 1e-6);
    EXPECT_NEAR(track[2].headingDeg, 90.0, 1e-6); // the last point keeps the last leg

    EXPECT_FALSE(Track_ReadGpx(
        "<gpx>\n<trkpt lat=\"1\"><time>2024-05-01T10:00:00Z</time></trkpt></gpx>", &track, &error));
    EXPECT_EQ(error, "line 2: point 1: a <trkpt> needs numeric lat and lon");
}

std::vector<TrackSample> StraightEast(double seconds) {
    std::vector<TrackSample> track;
    const double metresPerDegreeLon = 6367310.0 * M_PI / 180 * cos(47 * M_PI / 180);
    for (double t = 0; t <= seconds; t += 1)
        track.push_back({t, 47, 8 + 100 * t / metresPerDegreeLon, 3000, 90, 0, 360});
    return track;
}

TEST(ReplayRun, PlacesTheFirstPointOnTheSecondTickThenEveryTwentyOneTicks) {
    const auto writes = Replay_Run(StraightEast(40), ReplaySettings{});
    ASSERT_EQ(writes.size(), 4u);
    const double expect[] = {5.5, 16.0, 26.5, 37.0};
    for (size_t i = 0; i < writes.size(); ++i) {
        EXPECT_TRUE(writes[i].placed);
        EXPECT_DOUBLE_EQ(writes[i].tS, expect[i]);
        // 1000 m ahead (east), 100 m right (south) of the aircraft.
        const double north =
            (writes[i].latDeg - writes[i].aircraft.latDeg) * M_PI / 180 * 6367310.0;
        const double east = (writes[i].lonDeg - writes[i].aircraft.lonDeg) * M_PI / 180 *
                            6367310.0 * cos(47 * M_PI / 180);
        EXPECT_NEAR(east, 1000, 0.5);
        EXPECT_NEAR(north, -100, 0.5);
    }
}

TEST(ReplayRun, TravellingWritesEveryRunningTickAndMarksThePlacements) {
    ReplaySettings settings;
    settings.travelling = 1;
    settings.minDistance = 300;
    const auto writes = Replay_Run(StraightEast(20), settings);
    int places = 0, travels = 0;
    for (const CameraWrite& w : writes)
        (w.placed ? places : travels)++;
    EXPECT_EQ(places, 2);             // 5.5 s and 16.0 s
    EXPECT_EQ(travels, (20 - 5) * 2); // every tick from 5.5 s to 20 s
}

TEST(ReplayRun, SwitchedOffWritesNothing) {
    ReplaySettings settings;
    settings.active = 0;
    EXPECT_TRUE(Replay_Run(StraightEast(30), settings).empty());
}

TEST(ReplayOutput, CsvLineCarriesTheFiveWordsAsEncoded) {
    const auto writes = Replay_Run(StraightEast(6), ReplaySettings{});
    ASSERT_EQ(writes.size(), 1u);
    const std::string csv = Replay_Csv(writes);
    const std::string expect = Text_Format(
        "5.500,place,%.9f,%.9f,3000.00,%u,%d,%u,%d,914\n", writes[0].latDeg, writes[0].lonDeg,
        writes[0].latFraction, writes[0].latWhole, writes[0].lonFraction, writes[0].lonWhole);
    EXPECT_EQ(csv.substr(csv.find('\n') + 1), expect);
    EXPECT_EQ(writes[0].latWhole, 5223009); // 46.9991 degrees in 10001700ths of a quarter turn
}

// A level flight at 47 N, 3000 ft: speed in knots, a constant turn rate in
// degrees per second (positive right, 0 straight), sampled every 0.1 s; and
// the aircraft's position at any time, metres east and north of the start.
struct TurningFlight {
    double knots, rateDegPerS;
    double speed() const { return knots * 1852.0 / 3600.0; }
    void At(double t, double* east, double* north) const {
        const double h0 = 0.0, w = rateDegPerS * M_PI / 180.0;
        if (w == 0) {
            *east = speed() * t * sin(h0), *north = speed() * t * cos(h0);
            return;
        }
        const double r = speed() / w;
        *east = r * (cos(h0) - cos(h0 + w * t));
        *north = r * (sin(h0 + w * t) - sin(h0));
    }
    std::vector<TrackSample> Track(double seconds) const {
        std::vector<TrackSample> track;
        for (int i = 0; i <= seconds * 10; ++i) {
            const double t = i / 10.0;
            double east, north;
            At(t, &east, &north);
            const double heading = fmod(fmod(rateDegPerS * t, 360.0) + 360.0, 360.0);
            track.push_back({t, 47 + north / M_PER_DEG,
                             8 + east / (M_PER_DEG * cos(47 * M_PI / 180)), 3000, heading, 0,
                             knots * 1.852});
        }
        return track;
    }
    static constexpr double M_PER_DEG = 6367310.0 * M_PI / 180;
};

// The median over the fly-bys of the closest the aircraft comes to each
// camera point (horizontally) in the 30 s after it was placed.
double MedianClosestApproach(const TurningFlight& flight, int followTurn) {
    ReplaySettings settings;
    settings.followTurn = followTurn;
    const auto writes = Replay_Run(flight.Track(150), settings);
    std::vector<double> closest;
    for (const CameraWrite& w : writes) {
        if (!w.placed || w.tS > 115)
            continue;
        const double cx = (w.lonDeg - 8) * TurningFlight::M_PER_DEG * cos(47 * M_PI / 180),
                     cy = (w.latDeg - 47) * TurningFlight::M_PER_DEG;
        double best = 1e9;
        for (double t = w.tS; t < w.tS + 30; t += 0.02) {
            double x, y;
            flight.At(t, &x, &y);
            best = std::min(best, std::hypot(x - cx, y - cy));
        }
        closest.push_back(best);
    }
    if (closest.size() < 11)
        return -1;
    std::sort(closest.begin(), closest.end());
    return closest[closest.size() / 2];
}

// Following the turn, the aircraft passes the camera about as close as it
// would in straight flight, whichever way and however fast it turns; with
// the setting off, a turn still widens or narrows the pass.
// The comparison picture draws both runs: a green point per fly-by of the
// run that follows the turn, beside the red ones.
TEST(ReplaySvg, ComparisonDrawsTheFollowingRunInGreen) {
    const TurningFlight flight{120, 3};
    const auto track = flight.Track(40);
    ReplaySettings following;
    following.followTurn = 1;
    FlightPicture picture{"turn", track, Replay_Run(track, ReplaySettings{}),
                          Replay_Run(track, following)};
    const std::string svg = Replay_Svg(picture);
    const auto count = [&svg](const std::string& part) {
        size_t n = 0;
        for (size_t at = svg.find(part); at != std::string::npos; at = svg.find(part, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("r=\"6\" fill=\"#1e8449\" stroke"), picture.followTurnWrites.size());
    EXPECT_EQ(count("r=\"6\" fill=\"#c0392b\" stroke"), picture.writes.size());
    EXPECT_NE(count("following the turn"), 0u);
}

TEST(ReplayRun, FollowingTheTurnKeepsThePassAsCloseAsInStraightFlight) {
    for (double knots : {120.0, 250.0}) {
        const double straight = MedianClosestApproach({knots, 0}, 1);
        EXPECT_NEAR(straight, knots * 1852 / 3600 * 10 / 10, 1.0) << knots; // D / 10
        EXPECT_EQ(MedianClosestApproach({knots, 0}, 0), straight) << knots;
        for (double rate : {1.5, -1.5, 3.0, -3.0}) {
            const double following = MedianClosestApproach({knots, rate}, 1);
            EXPECT_GE(following, 0.75 * straight) << knots << " kt, " << rate << " deg/s";
            EXPECT_LE(following, 1.5 * straight) << knots << " kt, " << rate << " deg/s";
        }
    }
    const double plain = MedianClosestApproach({120, 1.5}, 0);
    EXPECT_LT(plain, 0.5 * MedianClosestApproach({120, 0}, 0))
        << "the tangent rule in a right turn";
}

// The shot report on a straight pass worked by hand: 100 m/s east, the
// camera 1000 m ahead and 100 m to the right, the next point placed 10.5 s
// later (the camera leaves then). The aircraft comes closest, 100 m, 10 s
// after placement; it enters 300 m sqrt(300^2 - 100^2) / 100 = 2.83 s
// before that, so it is within 300 m for 3.33 s, while the view turns
// atan(2.83) + atan(0.5) = 70.5 + 26.6 = 97.1 degrees; within 150 m, 1.12 +
// 0.5 s and 48.2 + 26.6 degrees. At 3000 ft above the aircraft (914.4 m)
// it never comes within 300 m.
TEST(ShotReport, AStraightPassAsWorkedByHand) {
    const auto track = StraightEast(50);
    const auto writes = Replay_Run(track, ReplaySettings{});
    const auto shots = Replay_Shots(track, writes, 300);
    ASSERT_EQ(shots.size(), 5u); // 5.5, 16, 26.5, 37, 47.5 s
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(shots[i].closestM, 100.0, 0.2) << i;
        EXPECT_NEAR(shots[i].closestAfterS, 10.0, 0.06) << i;
        EXPECT_NEAR(shots[i].nearS, 3.33, 0.06) << i;
        EXPECT_NEAR(shots[i].sweepDeg, 97.1, 1.5) << i;
    }
    const auto tight = Replay_Shots(track, writes, 150);
    EXPECT_NEAR(tight[0].nearS, 1.62, 0.06);
    EXPECT_NEAR(tight[0].sweepDeg, 74.8, 1.5);

    ReplaySettings high;
    high.relAltitude = 3000;
    const auto above = Replay_Shots(track, Replay_Run(track, high), 300);
    EXPECT_NEAR(above[0].closestM, std::hypot(100.0, 914.4), 0.5);
    EXPECT_EQ(above[0].nearS, 0.0);
    EXPECT_EQ(above[0].sweepDeg, 0.0);
    EXPECT_EQ(Replay_ShotsCsv(shots).rfind(
                  "shot,placed_s,closest_m,closest_after_s,near_s,sweep_deg\n1,5.50,", 0),
              0u);
}

} // namespace
