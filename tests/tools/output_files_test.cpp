// tests/tools/output_files_test.cpp
// Safe outputs through the platform's own calls, built for Linux and for
// Windows (run under Wine): the temporary file renamed over the target, a
// discarded one leaving it intact, and the same file under two names.
#include "output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class OutputFiles : public testing::Test {
  protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("skorvan-output-files-" +
               std::to_string(testing::UnitTest::GetInstance()->random_seed()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        ASSERT_TRUE(fs::create_directory(dir));
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }
    void Put(const char* name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string Get(const char* name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    size_t Count() const {
        size_t n = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            n += !entry.path().empty();
        return n;
    }
};

TEST_F(OutputFiles, CommitReplacesAnExistingFile) {
    Put("out.csv", "old");
    OutputFile out;
    std::string error;
    ASSERT_TRUE(Output_Open(&out, Path("out.csv"), true, &error)) << error;
    ASSERT_TRUE(Output_Write(&out, "new\n", &error));
    EXPECT_EQ(Get("out.csv"), "old");
    ASSERT_TRUE(Output_Commit(&out, &error)) << error;
    EXPECT_EQ(Get("out.csv"), "new\n"); // binary: no CR added on Windows
    EXPECT_EQ(Count(), 1u);
}

TEST_F(OutputFiles, DiscardLeavesTheOldFileAndNoTemporaryOne) {
    Put("out.csv", "old");
    {
        OutputFile out;
        std::string error;
        ASSERT_TRUE(Output_Open(&out, Path("out.csv"), true, &error)) << error;
        ASSERT_TRUE(Output_Write(&out, "half", &error));
        Output_Discard(&out);
    }
    {
        OutputFile abandoned; // a job that returns early: the destructor discards
        std::string error;
        ASSERT_TRUE(Output_Open(&abandoned, Path("out.csv"), true, &error)) << error;
        ASSERT_TRUE(Output_Write(&abandoned, "half", &error));
    }
    EXPECT_EQ(Get("out.csv"), "old");
    EXPECT_EQ(Count(), 1u);
}

TEST_F(OutputFiles, TwoNamesOfOneFileAreRefused) {
    Put("in.csv", "t_s\n");
    const std::string spelled = (dir / "." / "in.csv").string();
    std::string error;
    EXPECT_FALSE(Output_CheckNames({Path("in.csv")}, {spelled}, {"--csv"}, &error));
    EXPECT_NE(error.find("is an input of this run"), std::string::npos) << error;
    EXPECT_FALSE(Output_CheckNames({}, {Path("new.csv"), (dir / "." / "new.csv").string()},
                                   {"--csv", "--gpx"}, &error));
    EXPECT_NE(error.find("--csv and --gpx both write"), std::string::npos) << error;
    EXPECT_TRUE(Output_CheckNames({Path("in.csv")}, {Path("a.csv"), Path("b.csv")},
                                  {"--csv", "--gpx"}, &error))
        << error;
}

} // namespace
