// Whole files as bytes, for tests that write a file and read back what the
// program made of it.
#pragma once

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
