// The fixture of the file module's tests (test_files, test_linefile,
// test_paths): a fresh directory for each test, time records as text.
#pragma once

#include "support/devices.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include "file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

inline std::string time_text(const TimeRecord& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", 1900 + t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

inline bool is_zero(const TimeRecord& t) { return time_text(t) == time_text(TimeRecord{}); }

// A fresh directory for each test, removed afterwards with everything in it;
// the current directory, hooks and test seams are restored.
class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = freshTempDir("y8_files_");
        home_ = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(home_);
        files_set_hooks(nullptr);
        files_test_fail_alloc(false);
        files_test_fail_writes_after(-1);
        files_test_fail_reads_after(-1);
        files_test_fail_call(-1);
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(dir_, ec)) {  // read-only files block removal
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(dir_ / name, std::ios::binary);
        out << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
    fs::path home_;
};
