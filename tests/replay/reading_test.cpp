// tests/replay/reading_test.cpp
// Reading flights and the stand-in simulator's log: GPX read as XML means
// it, rows that cannot be flown or drawn refused by line, and spans that
// cannot be one flight refused.
#include "replay.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Gpx(const std::string& points) {
    return "<?xml version=\"1.0\"?>\n<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><trk>"
           "<trkseg>\n" +
           points + "</trkseg></trk></gpx>\n";
}

TEST(TrackGpx, ReadsWhatTheXmlMeans) {
    const std::string second =
        "<trkpt lat=\"47.01\" lon=\"8\"><time>2024-05-01T10:00:10Z</time></trkpt>\n";
    const struct {
        const char* name;
        std::string text;
        double lastS;
    } cases[] = {
        {"a commented-out point",
         Gpx("<!-- <trkpt lat=\"1\" lon=\"1\"><time>2024-05-01T09:00:00Z</time></trkpt> -->\n"
             "<trkpt lat=\"47\" lon=\"8\"><time>2024-05-01T10:00:00Z</time></trkpt>\n" +
             second),
         10},
        {"a namespace prefix",
         "<gpx:gpx xmlns:gpx=\"http://www.topografix.com/GPX/1/1\"><gpx:trk><gpx:trkseg>\n"
         "<gpx:trkpt lat=\"47\" lon=\"8\"><gpx:time>2024-05-01T10:00:00Z</gpx:time></gpx:trkpt>\n"
         "<gpx:trkpt lat=\"47.01\" lon=\"8\"><gpx:time>2024-05-01T10:00:10Z</gpx:time>"
         "</gpx:trkpt>\n</gpx:trkseg></gpx:trk></gpx:gpx>\n",
         10},
        {"spaces around =",
         Gpx("<trkpt lat = \"47\"  lon= '8'><time>2024-05-01T10:00:00Z</time></trkpt>\n" + second),
         10},
        {"Z and +02:00 mixed",
         Gpx("<trkpt lat=\"47\" lon=\"8\"><time>2024-05-01T10:00:00Z</time></trkpt>\n"
             "<trkpt lat=\"47.01\" lon=\"8\"><time>2024-05-01T12:01:58+02:00</time></trkpt>\n"),
         118},
        {"times laid out over lines, one without a zone",
         Gpx("<trkpt lat=\"47\" lon=\"8\"><time>\n  2024-05-01T10:00:00\n</time></trkpt>\n"
             "<trkpt lat=\"47.01\" lon=\"8\"><time>\n  2024-05-01T10:00:20Z\n</time></trkpt>\n"),
         20},
    };
    for (const auto& c : cases) {
        std::vector<TrackSample> track;
        std::string error;
        EXPECT_TRUE(Track_ReadGpx(c.text, &track, &error)) << c.name << ": " << error;
        EXPECT_EQ(track.size(), 2u) << c.name;
        if (track.size() == 2) {
            EXPECT_DOUBLE_EQ(track[0].latDeg, 47) << c.name;
            EXPECT_DOUBLE_EQ(track[1].tS, c.lastS) << c.name;
        }
    }
}

TEST(TrackGpx, RefusesImpossibleTimesAndPositionsNamingThePoint) {
    const std::string first =
        "<trkpt lat=\"47\" lon=\"8\"><time>2024-05-01T10:00:00Z</time></trkpt>\n";
    const struct {
        std::string second;
        const char* message;
    } cases[] = {
        {"<trkpt lat=\"47\" lon=\"8\"><time>2024-13-45T99:99</time></trkpt>\n",
         "line 4: point 2: the time '2024-13-45T99:99' is not a date and time"},
        {"<trkpt lat=\"47\" lon=\"8\"><time>2023-02-29T10:00:00Z</time></trkpt>\n",
         "line 4: point 2: the time '2023-02-29T10:00:00Z'"},
        {"<trkpt lat=\"91\" lon=\"8\"><time>2024-05-01T10:00:10Z</time></trkpt>\n",
         "line 4: point 2: latitude 91 is outside -90..90"},
        {"<trkpt lat=\"47\" lon=\"8\"><ele>nan</ele><time>2024-05-01T10:00:10Z</time></trkpt>\n",
         "line 4: point 2: <ele> is 'nan', not a number"},
    };
    for (const auto& c : cases) {
        std::vector<TrackSample> track;
        std::string error;
        EXPECT_FALSE(Track_ReadGpx(Gpx(first + c.second), &track, &error)) << c.second;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
    }
    double seconds;
    EXPECT_TRUE(Time_ParseIso("2024-02-29T23:59:59.5-05:30", &seconds));
    EXPECT_EQ(Time_FormatIso(seconds), "2024-03-01T05:29:59.500Z");
}

// A track point at 10:00:ss, or one with the time as written.
std::string Point(int second) {
    return Text_Format("<trkpt lat=\"47\" lon=\"8.%02d\"><time>2024-05-01T10:00:%02dZ</time>"
                       "</trkpt>\n",
                       second, second);
}
std::string Point(const char* time) {
    return std::string("<trkpt lat=\"47\" lon=\"8\">") + time + "</trkpt>\n";
}

// Points without a time, or whose time does not advance, are skipped and
// counted by the line of the first; refused when fewer than two are left,
// and all refused with strict. The points of Gpx() start on line 3.
TEST(TrackTimes, SkipsGlitchesUnlessStrictAndRefusesWhatIsLeftTooShort) {
    const std::string csv =
        "t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n5,47,8,0,0,0,0\n";
    const std::string early = Point("<time>2024-05-01T09:00:11Z</time>");
    const struct {
        std::string text;
        bool strict;
        size_t kept; // 0: refused
        int firstSecond;
        const char* message; // the warning, or the start of the refusal
    } cases[] = {
        {Gpx(Point("<time> </time>") + Point("") + Point(5) + Point(10)), false, 2, 5,
         "skipped 2 points without a time (first at line 3)"},
        {Gpx(Point(0) + Point(10) + Point(5) + Point("") + Point(20)), false, 3, 0,
         "skipped 1 point without a time (first at line 6) and 1 point whose time stands still "
         "or goes backwards (first at line 5)"},
        {Gpx(Point(0) + Point(10) + Point(10) + early), false, 2, 0,
         "skipped 2 points whose time stands still or goes backwards (first at line 5)"},
        {csv + "6,47,8,0,0,0,0\n4,47,8,0,0,0,0\n6,47,8,0,0,0,0\n7,47,8,0,0,0,0\n", false, 3, 0,
         "skipped 2 rows whose time stands still or goes backwards (first at line 4)"},
        {Gpx(Point("") + Point("<ele>1</ele>")), false, 0, 0,
         "no two points with advancing times: none of the 2 points has a <time>"},
        {Gpx(Point(7) + Point(7) + Point(7)), false, 0, 0,
         "no two points with advancing times: of 3 points only 1 is left after skipping 2 points "
         "whose time stands still or goes backwards (first at line 4)"},
        {"<gpx><rte><rtept lat=\"47\" lon=\"8\"/><rtept lat=\"48\" lon=\"8\"/></rte></gpx>", false,
         0, 0, "no two points with advancing times: the file holds only a route (<rte>)"},
        {csv + "5,47,8,0,0,0,0\n", false, 0, 0,
         "no two points with advancing times: of 2 rows only 1 is left after skipping 1 row"},
        {Gpx(Point(0) + Point(10) + "<trkpt lat=\"95\" lon=\"8\"/>\n"), false, 0, 0,
         "line 5: point 3: latitude 95 is outside -90..90"},
        {Gpx(Point(0) + Point("") + Point(10)), true, 0, 0,
         "line 4: point 2: a <trkpt> needs a <time>"},
        {Gpx(Point(0) + Point(10) + early), true, 0, 0,
         "line 5: point 3: time goes backwards or stands still"},
        {csv + "4,47,8,0,0,0,0\n", true, 0, 0,
         "line 3: time goes backwards or stands still (4 s after 5 s)"},
    };
    for (const auto& c : cases) {
        std::vector<TrackSample> track;
        std::string error;
        double startEpochS = 0;
        TrackSkips skips;
        skips.strict = c.strict;
        const bool gpx = c.text[0] == '<';
        const bool read = gpx ? Track_ReadGpx(c.text, &track, &error, &startEpochS, &skips)
                              : Track_ReadCsv(c.text, &track, &error, nullptr, &skips);
        EXPECT_EQ(read ? Track_SkipWarning(skips) : error.substr(0, strlen(c.message)), c.message)
            << error;
        ASSERT_EQ(read, c.kept > 0) << c.message;
        if (!read)
            continue;
        EXPECT_EQ(track.size(), c.kept) << c.message;
        if (gpx) { // times count from the first point kept
            EXPECT_EQ(startEpochS, 1714557600 + c.firstSecond) << c.message;
        }
    }
}

// Rows of samples a second apart (or step apart), from t = 0.
std::string Rows(int count, double step) {
    std::string text = "t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n";
    for (int i = 0; i < count; ++i)
        text += Text_Format("%.0f,47,%.6f,3000,90,0,360\n", i * step, 8 + i * 0.0013);
    return text;
}

TEST(TrackSpan, RefusesWhatCannotBeOneFlightAndWarnsOfMilliseconds) {
    std::vector<TrackSample> track;
    std::string error, warning;
    EXPECT_FALSE(Track_ReadCsv("t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n"
                               "0,47,8,3000,90,0,360\n1e9,47,8.1,3000,90,0,360\n",
                               &track, &error));
    EXPECT_NE(error.find("more than 259200 s (3 days) is refused"), std::string::npos) << error;
    EXPECT_TRUE(Replay_Run({{0, 47, 8, 3000, 90, 0, 360}, {1e12, 47, 8.1, 3000, 90, 0, 360}},
                           ReplaySettings{})
                    .empty());

    // Two hours in milliseconds: refused, with the way out.
    EXPECT_FALSE(Track_ReadCsv(Rows(7201, 1000), &track, &error, &warning));
    EXPECT_NE(error.find("divide it by 1000"), std::string::npos) << error;
    // A minute in milliseconds fits the limit but is warned of; an hour in
    // seconds is not.
    ASSERT_TRUE(Track_ReadCsv(Rows(61, 1000), &track, &error, &warning)) << error;
    EXPECT_NE(warning.find("look like milliseconds"), std::string::npos) << warning;
    warning.clear();
    ASSERT_TRUE(Track_ReadCsv(Rows(3601, 1), &track, &error, &warning)) << error;
    EXPECT_EQ(warning, "");
}

TEST(HostLog, RefusesARowThatCannotBeDrawnNamingTheLine) {
    const std::string good = "1000,aircraft,47.0,8.0,3000.00,90.000,1.000\n";
    const struct {
        const char* row;
        const char* message;
    } cases[] = {
        {"2000,aircraft,nan,8.0,3000.00,90.000,2.000\n",
         "line 3: field 3 is 'nan', not a number"},
        {"2000,aircraft,47.0,8.0,,90.000,2.000\n", "line 3: field 5 is '', not a number"},
        {"2000,aircraft,47.0,188.0,3000,90.000,2.000\n",
         "line 3: field 4 is 188, outside -180 to 180"},
        {"2000,camera,1,5223009,2,95488345,914,inf,8.0,3000\n",
         "line 3: field 8 is 'inf', not a number"},
    };
    for (const auto& c : cases) {
        FlightPicture picture;
        std::string error;
        EXPECT_FALSE(
            HostLog_ReadPicture("0,load,Skorvan.dll,ok\n" + good + c.row + good, &picture, &error))
            << c.row;
        EXPECT_EQ(error, c.message);
    }
}

} // namespace
