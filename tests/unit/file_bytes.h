// Whole files as bytes, for tests that write a file and read back what the
// program made of it.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A new, empty directory of the test's own under the system's temporary
// directory: tests run side by side (ctest -j), so the name holds a time stamp
// and a counter.
inline std::filesystem::path freshTempDir(const std::string& prefix) {
    static int counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
        (prefix + std::to_string(stamp % 1000000007) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    return dir;
}
