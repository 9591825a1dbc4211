// Whole files as bytes, for tests that write a file and read back what the
// program made of it.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
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

// A fixture's own fresh directory and its files by name; at the end the
// current directory is put back and the directory removed (read-only files
// made writable first, since they block removal on some systems).
class TempDir {
  protected:
    explicit TempDir(const std::string& prefix) : dir_(freshTempDir(prefix)), home_(std::filesystem::current_path()) {}
    ~TempDir() {
        std::error_code ec;
        std::filesystem::current_path(home_, ec);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_, ec))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir_, ec);
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
