// tests/win32/host_cli_test.cpp
// The stand-in simulator's command line: the shared --version and --help,
// usage errors that end with status 2 and say why, and the options that
// change a run.
#include "host_run.h"

#include "skorvan_version.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

TEST(HostCommandLine, VersionAndHelpExitAtOnceNamingEveryOption) {
    std::string output;
    EXPECT_EQ(RunHostCommandLine("--version", &output), 0);
    EXPECT_EQ(output.substr(0, output.find_first_of("\r\n")),
              std::string("skorvan-host ") + SKORVAN_VERSION_STRING);

    EXPECT_EQ(RunHostCommandLine("--help", &output), 0);
    for (const char* option : {"--dll", "--script", "--scenario", "--seconds", "--log", "--live"})
        EXPECT_NE(output.find(option), std::string::npos) << option << " missing from\n" << output;
}

TEST(HostCommandLine, UsageErrorsEndWithTwoAndSayWhy) {
    struct Case {
        const char* arguments;
        const char* said;
    } const CASES[] = {
        {"--seconds -1", "--seconds"},
        {"--seconds 0", "--seconds"},
        {"--seconds soon", "--seconds"},
        {"--frobnicate", "frobnicate"},
        {"--log", "--log"},
        {"--scenario nowhere", "unknown scenario 'nowhere'"},
        {"--script no-such-script.txt", "cannot read script no-such-script.txt"},
    };
    for (const Case& c : CASES) {
        std::string output;
        EXPECT_EQ(RunHostCommandLine(c.arguments, &output), 2) << c.arguments;
        EXPECT_NE(output.find(c.said), std::string::npos) << c.arguments << ": " << output;
    }
}

// --dll, --scenario and --seconds reach the run: the named DLL is the one
// tried, the scenario's start is logged and the run ends on time.
TEST(HostCommandLine, DllScenarioAndSecondsReachTheRun) {
    char folder[MAX_PATH], logPath[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "log", 0, logPath);
    std::string output;
    ASSERT_EQ(RunHostCommandLine(std::string("--dll absent-module.dll --scenario turn --seconds "
                                             "0.5 --log \"") +
                                     logPath + "\"",
                                 &output),
              0)
        << output;
    std::ifstream in(logPath);
    std::ostringstream all;
    all << in.rdbuf();
    in.close();
    DeleteFileA(logPath);
    const std::string log = all.str();
    EXPECT_NE(log.find(",start,turn,0.500\n"), std::string::npos) << log;
    EXPECT_NE(log.find(",load,absent-module.dll,failed "), std::string::npos) << log;
    EXPECT_NE(log.find(",end\n"), std::string::npos) << log;
}
