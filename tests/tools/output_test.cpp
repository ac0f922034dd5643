// tests/tools/output_test.cpp
// Safe outputs: a file replaced only by a whole job's output, names that
// would destroy an input or each other refused before anything is written.
#include "output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Output : public testing::Test {
  protected:
    std::string dir;
    void SetUp() override {
        char name[] = "/tmp/skorvan-output-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override {
        const std::string command = "rm -rf '" + dir + "'";
        EXPECT_EQ(system(command.c_str()), 0);
    }
    std::string Path(const std::string& name) const { return dir + "/" + name; }
    void Put(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The names in the folder: a temporary file left behind shows here.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        DIR* d = opendir(dir.c_str());
        for (dirent* e; d && (e = readdir(d));)
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        if (d)
            closedir(d);
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Commit and discard are checked in output_files_test.cpp, in every build.
TEST_F(Output, AFailingWriteLeavesTheOldFileIntact) {
    Put("out.csv", "old");
    OutputFile out;
    std::string error;
    ASSERT_TRUE(Output_Open(&out, Path("out.csv"), true, &error));
    ASSERT_TRUE(Output_Write(&out, "part", &error));
    // The disk fills: the temporary file's stream fails from here on.
    FILE* full = fopen("/dev/full", "w");
    if (!full)
        GTEST_SKIP() << "no /dev/full here";
    ASSERT_GE(dup2(fileno(full), fileno(out.file)), 0);
    fclose(full);
    const std::string more(1 << 20, 'x');
    Output_Write(&out, more, &error);
    EXPECT_FALSE(Output_Commit(&out, &error));
    EXPECT_NE(error.find("write failed"), std::string::npos) << error;
    EXPECT_EQ(Get("out.csv"), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"out.csv"});
}

TEST_F(Output, NewFileGetsTheUsualModeAndAnOldOneKeepsItsOwn) {
    Put("kept.csv", "old");
    ASSERT_EQ(chmod(Path("kept.csv").c_str(), 0640), 0);
    const mode_t mask = umask(022);
    for (const char* name : {"kept.csv", "new.csv"}) {
        OutputFile out;
        std::string error;
        ASSERT_TRUE(Output_Open(&out, Path(name), true, &error));
        ASSERT_TRUE(Output_Commit(&out, &error)) << error;
    }
    umask(mask);
    struct stat kept, fresh;
    ASSERT_EQ(stat(Path("kept.csv").c_str(), &kept), 0);
    ASSERT_EQ(stat(Path("new.csv").c_str(), &fresh), 0);
    EXPECT_EQ(kept.st_mode & 0777, 0640u);
    EXPECT_EQ(fresh.st_mode & 0777, 0644u);
}

TEST_F(Output, ASymbolicLinkIsFollowedAndKept) {
    ASSERT_EQ(mkdir(Path("real").c_str(), 0755), 0);
    Put("real/target.csv", "old");
    ASSERT_EQ(symlink("real/target.csv", Path("link.csv").c_str()), 0);
    ASSERT_EQ(symlink("real/new.csv", Path("dangling.csv").c_str()), 0);
    for (const char* name : {"link.csv", "dangling.csv"}) {
        OutputFile out;
        std::string error;
        ASSERT_TRUE(Output_Open(&out, Path(name), true, &error)) << error;
        ASSERT_TRUE(Output_Write(&out, name, &error));
        ASSERT_TRUE(Output_Commit(&out, &error)) << error;
    }
    struct stat st;
    ASSERT_EQ(lstat(Path("link.csv").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced by a file";
    EXPECT_EQ(Get("real/target.csv"), "link.csv");
    EXPECT_EQ(Get("real/new.csv"), "dangling.csv");
}

TEST_F(Output, ADeviceIsWrittenInPlace) {
    OutputFile out;
    std::string error;
    ASSERT_TRUE(Output_Open(&out, "/dev/null", true, &error)) << error;
    EXPECT_EQ(out.temp, "");
    ASSERT_TRUE(Output_Write(&out, "gone", &error));
    EXPECT_TRUE(Output_Commit(&out, &error)) << error;
}

// /dev/stdout on a pipe leads through /proc to "pipe:[N]", no file at all.
TEST_F(Output, StandardOutputByNameOnAPipeIsWrittenInPlace) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    fflush(stdout);
    const int saved = dup(fileno(stdout));
    ASSERT_GE(dup2(ends[1], fileno(stdout)), 0);
    OutputFile out;
    std::string error;
    const bool opened = Output_Open(&out, "/dev/stdout", true, &error);
    const bool written = opened && Output_Write(&out, "piped", &error);
    const bool committed = written && Output_Commit(&out, &error);
    dup2(saved, fileno(stdout));
    close(saved);
    close(ends[1]);
    char got[16] = "";
    const ssize_t n = read(ends[0], got, sizeof got - 1);
    close(ends[0]);
    EXPECT_TRUE(committed) << error;
    EXPECT_EQ(std::string(got, n > 0 ? static_cast<size_t>(n) : 0), "piped");
}

TEST_F(Output, AMissingFolderIsAnErrorWithItsReason) {
    OutputFile out;
    std::string error;
    EXPECT_FALSE(Output_Open(&out, Path("none/x.csv"), true, &error));
    EXPECT_EQ(error, "cannot write " + Path("none/x.csv") + ": No such file or directory");
}

TEST_F(Output, AnOutputThatNamesAnInputIsRefused) {
    Put("f.csv", "t_s\n");
    ASSERT_EQ(symlink("f.csv", Path("alias.csv").c_str()), 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    std::string error;
    for (const char* output : {"f.csv", "./f.csv", "../" /* replaced below */, "alias.csv"}) {
        std::string name = output;
        if (name == "../")
            name = "../" + dir.substr(dir.rfind('/') + 1) + "/f.csv";
        EXPECT_FALSE(Output_CheckNames({"f.csv"}, {name}, {"--csv"}, &error)) << name;
        EXPECT_EQ(error.find("--csv '" + name + "' is an input of this run"), 0u) << error;
    }
    EXPECT_TRUE(Output_CheckNames({"f.csv"}, {"other.csv", "-"}, {"--csv", "--gpx"}, &error));
    EXPECT_TRUE(Output_CheckNames({"-"}, {"-"}, {"--csv"}, &error));
    EXPECT_TRUE(Output_CheckNames({"/dev/null"}, {"/dev/null"}, {"--csv"}, &error));
    ASSERT_EQ(chdir("/"), 0);
}

TEST_F(Output, TheSameOutputNamedTwiceIsRefused) {
    ASSERT_EQ(chdir(dir.c_str()), 0);
    std::string error;
    // Neither exists yet: the folder and the name tell they are one.
    EXPECT_FALSE(Output_CheckNames({}, {"same.out", "./same.out"}, {"--csv", "--geojson"}, &error));
    EXPECT_EQ(error, "--csv and --geojson both write './same.out': give each its own file");
    Put("same.out", "x");
    EXPECT_FALSE(
        Output_CheckNames({}, {"same.out", "", "same.out"}, {"--csv", "--svg", "--gpx"}, &error));
    EXPECT_EQ(error.find("--csv and --gpx"), 0u) << error;
    EXPECT_TRUE(Output_CheckNames({}, {"-", "-"}, {"--csv", "--gpx"}, &error));
    ASSERT_EQ(chdir("/"), 0);
}

} // namespace
