// tests/tools/replay_reading_test.cpp
// skorvan-replay's readers on the shared core: quoting and duplicate
// columns, every value held to what an aircraft can do, the leap second,
// entities refused, the file forms read like the text, and runs bounded by
// the flight's own length.
#include "replay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

const char HEADER[] = "t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh\n";

std::string Gpx(const std::string& points) {
    return "<?xml version=\"1.0\"?>\n<gpx><trk><trkseg>\n" + points + "</trkseg></trk></gpx>\n";
}

std::string Point(const char* time, const char* extra = "") {
    return std::string("<trkpt lat=\"47\" lon=\"8\">") + extra + "<time>" + time +
           "</time></trkpt>\n";
}

TEST(ReplayCsv, QuotedFieldsAreRead) {
    std::vector<TrackSample> track;
    std::string error;
    // As a spreadsheet or Python's csv.QUOTE_ALL writes it.
    ASSERT_TRUE(Track_ReadCsv("\"t_s\",\"lat_deg\",\"lon_deg\",\"alt_ft\",\"heading_deg\","
                              "\"pitch_deg\",\"groundspeed_kmh\"\r\n"
                              "\"0\",\"47\",\"8\",\"3000\",\"90\",\"0\",\"360\"\r\n"
                              "\"1\",\"47\",\"8.001\",\"3000\",\"90\",\"0\",\"360\"\r\n",
                              &track, &error))
        << error;
    ASSERT_EQ(track.size(), 2u);
    EXPECT_EQ(track[1].lonDeg, 8.001);
}

TEST(ReplayCsv, ADuplicatedColumnIsRefused) {
    std::vector<TrackSample> track;
    std::string error;
    EXPECT_FALSE(
        Track_ReadCsv("t_s,lat_deg,lon_deg,alt_ft,heading_deg,pitch_deg,groundspeed_kmh,lat_deg\n"
                      "0,47,8,3000,90,0,360,12\n1,47,8,3000,90,0,360,12\n",
                      &track, &error));
    EXPECT_EQ(error, "line 1: the column 'lat_deg' is named twice");
}

TEST(ReplayCsv, BlanksAroundNumbersAndBlankLinesAreAccepted) {
    std::vector<TrackSample> track;
    std::string error;
    ASSERT_TRUE(Track_ReadCsv(std::string(HEADER) + " 0 , 47.6 ,8,3000,90,0,360\n   \n"
                                                    "1,\t47.6\t,8.001,3000,90,0,360\n",
                              &track, &error))
        << error;
    EXPECT_EQ(track.size(), 2u);
    EXPECT_EQ(track[0].latDeg, 47.6);
}

TEST(ReplayCsv, EachValueOutsideItsRangeIsRefusedNamingLineAndColumn) {
    const struct {
        const char* row;
        const char* message;
    } cases[] = {
        {"600000000000000,47,8,3000,90,0,360", "line 3: t_s is 6e+14, outside -1e+10 to 1e+10"},
        {"1e300,47,8,3000,90,0,360", "line 3: t_s is 1e+300, outside -1e+10 to 1e+10"},
        {"1,47,8,1e308,90,0,360", "line 3: alt_ft is 1e+308, outside -2000 to 100000"},
        {"1,47,8,-2001,90,0,360", "line 3: alt_ft is -2001, outside -2000 to 100000"},
        {"1,47,8,3000,90,0,1e308", "line 3: groundspeed_kmh is 1e+308, outside 0 to 5000"},
        {"1,47,8,3000,90,0,-1", "line 3: groundspeed_kmh is -1, outside 0 to 5000"},
        {"1,47,8,3000,361,0,360", "line 3: heading_deg is 361, outside -360 to 360"},
        {"1,47,8,3000,90,91,360", "line 3: pitch_deg is 91, outside -90 to 90"},
        {"1,47,8,3000,90,0,1e400", "line 3: groundspeed_kmh is '1e400', too large to be a number"},
        {"1,\"4,7\",8,3000,90,0,360", "line 3: lat_deg is '4,7', not a number"},
    };
    for (const auto& c : cases) {
        std::vector<TrackSample> track;
        std::string error;
        EXPECT_FALSE(Track_ReadCsv(std::string(HEADER) + "0,47,8,3000,90,0,360\n" + c.row + "\n",
                                   &track, &error))
            << c.row;
        EXPECT_EQ(error, c.message);
    }
}

TEST(ReplayCsv, AHugeFieldIsEchoedCutAndEscaped) {
    std::vector<TrackSample> track;
    std::string error;
    const std::string huge = "\x1b[2J" + std::string(1000000, '7');
    EXPECT_FALSE(
        Track_ReadCsv(std::string(HEADER) + "0," + huge + ",8,3000,90,0,360\n", &track, &error));
    EXPECT_LT(error.size(), 200u);
    EXPECT_EQ(error.find('\x1b'), std::string::npos) << "a terminal escape is echoed raw";
    EXPECT_NE(error.find("\\x1b[2J777"), std::string::npos) << error;
}

TEST(ReplayGpx, AnElevationOutsideTheAltitudeRangeIsRefused) {
    std::vector<TrackSample> track;
    std::string error;
    EXPECT_FALSE(Track_ReadGpx(
        Gpx(Point("2024-05-01T10:00:00Z") + Point("2024-05-01T10:00:10Z", "<ele>1e308</ele>")),
        &track, &error));
    EXPECT_EQ(error.rfind("line 4: point 2: <ele> 1e+308 m is outside -609.6 to 30480 m", 0), 0u)
        << error;
}

// 23:59:60 is the second inserted before midnight: the point after it at
// 00:00:00 comes one second later, not at the same time.
TEST(ReplayGpx, ALeapSecondCountsAsTheSecondItIs) {
    std::vector<TrackSample> track;
    std::string error;
    TrackSkips skips;
    skips.strict = true;
    ASSERT_TRUE(Track_ReadGpx(Gpx(Point("2016-12-31T23:59:59Z") + Point("2016-12-31T23:59:60Z") +
                                  Point("2017-01-01T00:00:00Z") + Point("2017-01-01T00:00:01Z")),
                              &track, &error, nullptr, &skips))
        << error;
    ASSERT_EQ(track.size(), 4u);
    for (size_t i = 0; i < track.size(); ++i)
        EXPECT_EQ(track[i].tS, static_cast<double>(i)) << i;
    EXPECT_GT(track[0].groundSpeedKmh, -1); // finite motion for every leg
    EXPECT_TRUE(std::isfinite(track[1].groundSpeedKmh));
}

TEST(ReplayGpx, EntityDeclarationsAreRefused) {
    std::vector<TrackSample> track;
    std::string error;
    EXPECT_FALSE(
        Track_ReadGpx("<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n<!ENTITY a \"aaaa\">\n]>\n"
                      "<gpx><trk><trkseg>" +
                          Point("2024-05-01T10:00:00Z") + "</trkseg></trk></gpx>",
                      &track, &error));
    EXPECT_EQ(error, "line 3: the file declares an entity, which no GPX needs: refused");
}

TEST(ReplayGpx, BrokenXmlNamesTheLine) {
    std::vector<TrackSample> track;
    std::string error;
    EXPECT_FALSE(Track_ReadGpx(Gpx(Point("2024-05-01T10:00:00Z") + "<trkpt lat=\"1\" lon=\"2\">\n"),
                               &track, &error));
    EXPECT_EQ(error.rfind("line 5: not well-formed XML: mismatched tag", 0), 0u) << error;
}

// A file larger than the readers' chunks, given with the head the caller
// read to tell its kind: read as the same text would be.
FILE* FileOf(const std::string& text, std::string* head, size_t headBytes) {
    FILE* file = tmpfile();
    if (!file)
        return nullptr;
    fwrite(text.data(), 1, text.size(), file);
    rewind(file);
    head->resize(headBytes);
    head->resize(fread(&(*head)[0], 1, headBytes, file));
    return file;
}

TEST(ReplayFiles, GpxFromAFileReadsLikeTheText) {
    std::string points;
    for (int i = 0; i < 5000; ++i)
        points += Text_Format("<trkpt lat=\"47\" lon=\"%.5f\"><ele>%d</ele><time>%s</time>"
                              "</trkpt>\n",
                              8 + i * 0.0001, 1000 + i % 7, Time_FormatIso(1.7e9 + i).c_str());
    const std::string text = Gpx(points);
    std::vector<TrackSample> fromText, fromFile;
    std::string error, head;
    double startText = 0, startFile = 0;
    ASSERT_TRUE(Track_ReadGpx(text, &fromText, &error, &startText)) << error;
    FILE* file = FileOf(text, &head, 4096);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(Track_ReadGpxFile(file, head, &fromFile, &error, &startFile)) << error;
    fclose(file);
    ASSERT_EQ(fromFile.size(), 5000u);
    ASSERT_EQ(fromText.size(), fromFile.size());
    EXPECT_EQ(startText, startFile);
    for (size_t i = 0; i < fromText.size(); ++i) {
        ASSERT_EQ(fromText[i].tS, fromFile[i].tS) << i;
        ASSERT_EQ(fromText[i].lonDeg, fromFile[i].lonDeg) << i;
        ASSERT_EQ(fromText[i].altFt, fromFile[i].altFt) << i;
    }
}

TEST(ReplayFiles, CsvFromAFileReadsLikeTheText) {
    std::string text = "\xEF\xBB\xBF" + std::string(HEADER);
    for (int i = 0; i < 5000; ++i)
        text += Text_Format("%d,47,%.5f,3000,90,0,360\r\n", i, 8 + i * 0.0001);
    for (size_t headBytes : {0u, 2u, 4096u}) { // the head may end inside the byte-order mark
        std::vector<TrackSample> fromFile;
        std::string error, head;
        FILE* file = FileOf(text, &head, headBytes);
        ASSERT_NE(file, nullptr);
        ASSERT_TRUE(Track_ReadCsvFile(file, head, &fromFile, &error)) << error;
        fclose(file);
        ASSERT_EQ(fromFile.size(), 5000u) << headBytes;
        EXPECT_EQ(fromFile.back().lonDeg, 8 + 4999 * 0.0001);
    }
}

// Room for every sample up front (a vector that grows copies itself, and
// needs both blocks at once), counted from the marks in head and file,
// with the file left where the reader starts.
TEST(ReplayFiles, ReserveCountsTheMarksAndLeavesTheFileWhereItWas) {
    std::string text = "<gpx><trk>";
    for (int i = 0; i < 30000; ++i)
        text += "<trkpt/>";
    std::string head;
    FILE* file = FileOf(text, &head, 7); // the head ends inside the first mark
    ASSERT_NE(file, nullptr);
    std::vector<TrackSample> track;
    Track_ReserveFor(file, head, "trkpt", &track);
    EXPECT_GE(track.capacity(), 30000u);
    EXPECT_LE(track.capacity(), 30002u);
    EXPECT_EQ(ftell(file), 7);
    fclose(file);
}

TEST(ReplayHostLog, QuotedFieldsAndDuplicateKindsAreRead) {
    FlightPicture picture;
    std::string error;
    ASSERT_TRUE(HostLog_ReadPicture("0,load,\"C:\\\\a,b\\\\Skorvan.dll\",ok\r\n\n"
                                    "1000,aircraft,47,8,3000,90,1\r\n"
                                    "2000,\"aircraft\",47.001,8,3000,90,2\r\n",
                                    &picture, &error))
        << error;
    EXPECT_EQ(picture.track.size(), 2u);
}

TEST(ReplayHostLog, AnAltitudeOutsideTheRangeIsRefused) {
    FlightPicture picture;
    std::string error;
    EXPECT_FALSE(HostLog_ReadPicture("0,load,Skorvan.dll,ok\n1000,aircraft,47,8,1e308,90,1\n",
                                     &picture, &error));
    EXPECT_EQ(error, "line 2: field 5 is 1e+308, outside -2000 to 100000");
}

// The run's ticks come from the flight's length: a start where adding a
// tick to the time changes nothing must still end, after as many ticks as
// the flight has.
TEST(ReplayRun, EndsWhateverTheStartTime) {
    const auto start = std::chrono::steady_clock::now();
    for (double t0 : {1e300, 6e14, 1e10}) {
        std::vector<TrackSample> track = {{t0, 47, 8, 3000, 90, 0, 360},
                                          {t0 + 60, 47, 8.1, 3000, 90, 0, 360}};
        if (t0 + 60 == t0)
            track.pop_back();
        const std::vector<CameraWrite> writes = Replay_Run(track, ReplaySettings{});
        EXPECT_LE(writes.size(), 111u) << t0; // (60 - 5) / 0.5 + 1 ticks at most
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

} // namespace
