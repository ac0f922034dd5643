// tests/replay/cli_test.cpp
// The command-line conventions every tool shares: exit statuses of the
// parse, "-" for the standard streams, and a lost write reported as one.
#include "cli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

int Parse(std::vector<const char*> args, double* value) {
    CLI::App app("test", "skorvan-test");
    app.add_option("--value", *value)->check(CLI::Range(0.0, 10.0));
    Cli_AddStandard(app, nullptr);
    args.insert(args.begin(), "skorvan-test");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status =
        Cli_Parse(app, static_cast<int>(args.size()), const_cast<char**>(args.data()));
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return status;
}

TEST(Cli, ParseGoesOnExitsZeroOrReportsAUsageError) {
    double value = 0;
    EXPECT_EQ(Parse({"--value=3"}, &value), -1);
    EXPECT_EQ(value, 3.0);
    EXPECT_EQ(Parse({"--value", "4"}, &value), -1);
    EXPECT_EQ(value, 4.0);
    EXPECT_EQ(Parse({"--version"}, &value), 0);
    EXPECT_EQ(Parse({"--help"}, &value), 0);
    EXPECT_EQ(Parse({"--value", "11"}, &value), 2);
    EXPECT_EQ(Parse({"--unknown"}, &value), 2);
}

TEST(Cli, DashIsTheStandardStreamAndALostWriteFails) {
    std::string error;
    EXPECT_EQ(Cli_OpenRead("-", false, &error), stdin);
    EXPECT_EQ(Cli_OpenWrite("-", false, &error), stdout);
    EXPECT_EQ(Cli_OpenRead("/nonexistent/file", false, &error), nullptr);
    EXPECT_NE(error.find("/nonexistent/file"), std::string::npos);

    FILE* full = Cli_OpenWrite("/dev/full", false, &error);
    ASSERT_NE(full, nullptr);
    fputs("lost", full);
    error.clear();
    EXPECT_FALSE(Cli_Close(full, "/dev/full", &error));
    EXPECT_NE(error.find("write failed"), std::string::npos);
}

} // namespace
