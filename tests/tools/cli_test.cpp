// tests/tools/cli_test.cpp
// The shared command-line pieces: echoed values, failure statuses, the
// option checks and --help or --version that cannot be written.
#include "cli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

TEST(CliEcho, QuotesAndEscapesControlCharacters) {
    EXPECT_EQ(Cli_Echo("plain"), "'plain'");
    EXPECT_EQ(Cli_Echo("a\x1b[31mred"), "'a\\x1b[31mred'");
    EXPECT_EQ(Cli_Echo("tab\there\nnew\rline\x7f"), "'tab\\there\\nnew\\rline\\x7f'");
    EXPECT_EQ(Cli_Echo(std::string("nul\0x", 5)), "'nul\\x00x'");
}

TEST(CliEcho, CutsLongValues) {
    const std::string shown = Cli_Echo(std::string(1 << 20, 'x'));
    EXPECT_EQ(shown, "'" + std::string(CLI_ECHO_LIMIT, 'x') + "...'");
    EXPECT_EQ(Cli_Echo(std::string(CLI_ECHO_LIMIT, 'y')),
              "'" + std::string(CLI_ECHO_LIMIT, 'y') + "'");
}

TEST(CliEcho, NeverCutsAUtf8CharacterInTwo) {
    std::string value;
    for (int i = 0; i < 100; ++i)
        value += "\xC3\xA9"; // é
    const std::string shown = Cli_Echo(value);
    std::string expected = "'";
    for (size_t i = 0; i < CLI_ECHO_LIMIT; ++i)
        expected += "\xC3\xA9";
    EXPECT_EQ(shown, expected + "...'");
}

TEST(CliFail, StatusesAndTheProgramName) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Cli_Fail("skorvan-x", "cannot read a"), 1);
    EXPECT_EQ(Cli_UsageFail("skorvan-x", "no input"), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "skorvan-x: cannot read a\nskorvan-x: no input\n"
              "Run with --help for more information.\n");
}

TEST(CliReadSize, TakesWidthByHeightWithinTheLimit) {
    int width = 0, height = 0;
    std::string why;
    EXPECT_TRUE(Cli_ReadSize("800x600", 10000, &width, &height, &why));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    // 4294967312 wraps to 16 in 32 bits: it must be refused, not drawn at 16.
    for (const char* text :
         {"4294967312x100", "0x100", "100x0", "10001x5", "-5x5", "5", "x5", "5x", "1.5x2", "axb"}) {
        EXPECT_FALSE(Cli_ReadSize(text, 10000, &width, &height, &why)) << text;
        EXPECT_NE(why.find("WIDTHxHEIGHT"), std::string::npos) << text;
    }
}

int Parse(std::vector<const char*> args, std::string* value) {
    CLI::App app("test", "skorvan-test");
    app.add_option("--ratio", *value)->check(Cli_NumberRange(0, 1));
    app.add_option("--count", *value)->check(Cli_WholeRange(1, 9));
    app.add_option("--size", *value)->check(Cli_SizeCheck(100));
    Cli_AddStandard(app, nullptr);
    args.insert(args.begin(), "skorvan-test");
    testing::internal::CaptureStderr();
    const int status =
        Cli_Parse(app, static_cast<int>(args.size()), const_cast<char**>(args.data()));
    testing::internal::GetCapturedStderr();
    return status;
}

TEST(CliValidators, OptionValuesCheckedByTheNumberReader) {
    std::string value;
    EXPECT_EQ(Parse({"--ratio", " 0.5"}, &value), -1);
    EXPECT_EQ(Parse({"--count", "9"}, &value), -1);
    EXPECT_EQ(Parse({"--size", "100x1"}, &value), -1);
    for (auto args : std::vector<std::vector<const char*>>{{"--ratio", "nan"},
                                                           {"--ratio", "1.5"},
                                                           {"--ratio", "0x0"},
                                                           {"--count", "4294967297"},
                                                           {"--count", "2.0"},
                                                           {"--size", "101x1"}})
        EXPECT_EQ(Parse(args, &value), 2) << args[0] << " " << args[1];
}

// --help and --version to a full disk: the text is lost, so the status says so.
TEST(CliParse, HelpAndVersionToAFullDeviceFail) {
    FILE* full = fopen("/dev/full", "w");
    if (!full)
        GTEST_SKIP() << "no /dev/full here";
    fflush(stdout);
    const int saved = dup(fileno(stdout));
    ASSERT_GE(saved, 0);
    ASSERT_GE(dup2(fileno(full), fileno(stdout)), 0);
    std::string value;
    const int help = Parse({"--help"}, &value);
    clearerr(stdout);
    const int version = Parse({"--version"}, &value);
    clearerr(stdout);
    fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    fclose(full);
    clearerr(stdout);
    EXPECT_EQ(help, 1);
    EXPECT_EQ(version, 1);
}

} // namespace
