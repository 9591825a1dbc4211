// Whole files as bytes, and directories of a test's own.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A new, empty temporary directory; tests run side by side (ctest -j): the name holds a time stamp and a count.
inline std::filesystem::path freshTempDir(const std::string& prefix) {
    static int counter = 0;
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
        (prefix + std::to_string(stamp % 1000000007) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    return dir;
}

// A fixture's fresh directory, removed at the end (read-only files made writable first), the current one restored.
class TempDir {
  protected:
    explicit TempDir(const std::string& prefix) : dir_(freshTempDir(prefix)), home_(std::filesystem::current_path()) {}
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::current_path(home_, ec);
        for (const auto& entry : fs::recursive_directory_iterator(dir_, ec))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const { writeBytes(dir_ / name, bytes); }
    std::string read(const std::string& name) const { return readBytes(dir_ / name); }
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            found.insert(entry.path().filename().string());
        return found;
    }

    const std::filesystem::path dir_;
    const std::filesystem::path home_;
};
