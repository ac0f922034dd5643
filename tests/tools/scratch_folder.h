// tests/tools/scratch_folder.h
// A fresh folder for each test of the tools' libraries, named after the
// test so that two test programs running at once never share one.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

struct ScratchFolder : ::testing::Test {
    std::filesystem::path dir;
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              (std::string("skorvan-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
};
