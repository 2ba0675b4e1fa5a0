// A temporary data folder per test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace orvane::testing_support {

inline std::filesystem::path MakeTestFolder(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = prefix + info->test_suite_name() + "_" + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    const auto dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace orvane::testing_support
