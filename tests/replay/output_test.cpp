// tests/replay/output_test.cpp
// What the replay writes and how long it takes: GeoJSON across the date
// line, a file name in the picture, GPX read back by the reader, lines as
// the run goes, and lookups that cost one pass over the track.
#include "replay.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include <cmath>
#include <ctime>

namespace {

// Level and east at 360 km/h from 47 N 8 E, a sample every step seconds.
std::vector<TrackSample> East(double seconds, double step = 1, double lon0 = 8) {
    std::vector<TrackSample> track;
    const double degreesPerSecond = 100 / (6367310.0 * M_PI / 180 * cos(47 * M_PI / 180));
    for (int i = 0; i * step <= seconds; ++i)
        track.push_back(
            {i * step, 47, remainder(lon0 + i * step * degreesPerSecond, 360.0), 3000, 90, 0, 360});
    return track;
}

TEST(ReplayGeoJson, CutsLinesAtTheDateLineAndKeepsLongitudesInRange) {
    const std::vector<TrackSample> track = {{0, 10, 179.8, 1000, 90, 0, 300},
                                            {10, 11, -179.8, 1000, 90, 0, 300},
                                            {20, 11, -179.6, 1000, 90, 0, 300}};
    CameraWrite camera{};
    camera.placed = true;
    camera.latDeg = 10, camera.lonDeg = -179.9;
    camera.aircraft = {5, 10.5, 179.9, 1000, 90, 0, 300};
    const auto features = nlohmann::json::parse(Replay_GeoJson(track, {camera}))["features"];
    const auto& flown = features[0]["geometry"];
    ASSERT_EQ(flown["type"], "MultiLineString");
    const auto& parts = flown["coordinates"];
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].back()[0], 180.0);
    EXPECT_EQ(parts[1].front()[0], -180.0);
    EXPECT_NEAR(parts[0].back()[1].get<double>(), 10.5, 1e-6); // crossed half way
    EXPECT_EQ(parts[1].size(), 3u);
    EXPECT_EQ(features[2]["geometry"]["type"], "MultiLineString"); // the sight line
    for (const auto& feature : features) {
        std::vector<nlohmann::json> points;
        const auto& g = feature["geometry"];
        if (g["type"] == "Point")
            points.push_back(g["coordinates"]);
        else if (g["type"] == "LineString")
            points.insert(points.end(), g["coordinates"].begin(), g["coordinates"].end());
        else
            for (const auto& part : g["coordinates"])
                points.insert(points.end(), part.begin(), part.end());
        for (const auto& p : points)
            EXPECT_LE(std::fabs(p[0].get<double>()), 180.0) << p;
    }
}

TEST(ReplaySvg, AnyFileNameKeepsThePictureWellFormed) {
    FlightPicture picture{"replay: a<b>&\"c'\x01\xff.csv", East(10), {}, {}};
    pugi::xml_document svg;
    const std::string text = Replay_Svg(picture);
    ASSERT_TRUE(svg.load_string(text.c_str()));
    EXPECT_STREQ(svg.child("svg").child("text").text().get(),
                 "replay: a<b>&\"c'\xEF\xBF\xBD\xEF\xBF\xBD.csv");
    // A long path, longer still once escaped, is written whole.
    const std::string longName = std::string(600, '&') + ".csv";
    FlightPicture longPicture{longName, East(10), {}, {}};
    ASSERT_TRUE(svg.load_string(Replay_Svg(longPicture).c_str()));
    EXPECT_EQ(svg.child("svg").child("text").text().get(), longName);
}

TEST(ReplayGpx, WrittenFileReadsBackAsTheSameFlight) {
    const std::vector<TrackSample> track = East(40, 0.5);
    const std::vector<CameraWrite> writes = Replay_Run(track, ReplaySettings{});
    const double start = 1714557600; // 2024-05-01T10:00:00Z
    const std::string gpx = Replay_Gpx(track, writes, start);

    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(gpx.c_str()));
    const pugi::xml_node root = document.child("gpx");
    EXPECT_STREQ(root.attribute("version").value(), "1.1");
    size_t waypoints = 0;
    for (pugi::xml_node w = root.child("wpt"); w; w = w.next_sibling("wpt"))
        ++waypoints;
    EXPECT_EQ(waypoints, writes.size());
    EXPECT_STREQ(root.child("wpt").child_value("time"), "2024-05-01T10:00:05.500Z");

    std::vector<TrackSample> back;
    std::string error;
    double backStart = 0;
    ASSERT_TRUE(Track_ReadGpx(gpx, &back, &error, &backStart)) << error;
    EXPECT_EQ(backStart, start);
    ASSERT_EQ(back.size(), track.size());
    for (size_t i = 0; i < track.size(); ++i) {
        EXPECT_NEAR(back[i].tS, track[i].tS, 1e-6);
        EXPECT_NEAR(back[i].lonDeg, track[i].lonDeg, 1e-8);
        EXPECT_NEAR(back[i].altFt, track[i].altFt, 0.02);
        if (i + 1 < track.size()) {
            EXPECT_NEAR(back[i].groundSpeedKmh, 360, 0.5) << i;
        }
    }
}

TEST(ReplayRun, TellsEachWriteAsItsTickEndsAndTheShareDone) {
    ReplaySettings settings;
    settings.travelling = 1;
    std::vector<CameraWrite> told;
    std::vector<double> shares;
    ReplayWatch watch{[&told](const CameraWrite& w) { told.push_back(w); },
                      [&shares](double share) { shares.push_back(share); }};
    const std::vector<CameraWrite> writes = Replay_Run(East(60), settings, 500, watch);
    ASSERT_EQ(told.size(), writes.size());
    for (size_t i = 0; i < writes.size(); ++i)
        EXPECT_EQ(told[i].placed, writes[i].placed) << i; // the travelling shift known
    ASSERT_GE(shares.size(), 50u);
    for (size_t i = 1; i < shares.size(); ++i)
        EXPECT_GT(shares[i], shares[i - 1]);
    EXPECT_LE(shares.back(), 1.0);
}

// Processor time, not wall time: other work on the machine must not count.
double SecondsToReplay(const std::vector<TrackSample>& track) {
    double best = INFINITY;
    for (int i = 0; i < 3; ++i) {
        const std::clock_t start = std::clock();
        Replay_Run(track, ReplaySettings{}, 50);
        best = std::fmin(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return best;
}

// Eight times the flight costs about eight times the time (a scan from the
// start at every lookup made it sixty-four).
TEST(ReplayRun, CostGrowsLinearlyWithTheFlight) {
    const double shortRun = SecondsToReplay(East(600, 0.1));
    const double longRun = SecondsToReplay(East(4800, 0.1));
    EXPECT_LT(longRun / shortRun, 24.0) << shortRun << " s, then " << longRun << " s";

    // A lookup before the cursor is still right.
    const std::vector<TrackSample> track = East(100, 0.1);
    TrackCursor cursor;
    for (double t : {50.05, 99.0, 3.33, 70.0, 0.01, 0.0})
        EXPECT_EQ(Track_At(track, t, &cursor).lonDeg, Track_At(track, t).lonDeg) << t;
}

} // namespace
