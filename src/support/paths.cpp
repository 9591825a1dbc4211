// Paths and directories: path pieces, the current directory, creating a
// directory chain and listing a directory.
#include "support/files.h"
#include "support/files_sys.h"
#include "support/strfunc.h"

#include <array>
#include <climits>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

using namespace files_sys;

// --- Paths -------------------------------------------------------------------------

int path_name_pos(const char* path) {
    int pos = 0;
    for (int i = 0; path[i] != '\0'; ++i) {
        if (is_sep(path[i]) || path[i] == ':') pos = i + 1;
    }
    return pos;
}

int path_dir(char* dst, const char* path) {
    dst[0] = '\0';
    if (!path_fits(path)) return -1;
    int n = path_name_pos(path);
    std::memcpy(dst, path, static_cast<size_t>(n));
    dst[n] = '\0';
    return n;
}

int path_ext(char* dst, const char* path) {
    dst[0] = '\0';
    if (!path_fits(path)) return -1;
    if (std::strlen(path) < 2) return 0;
    const char* dot = std::strrchr(path + path_name_pos(path), '.');
    if (!dot) return 0;
    std::strcpy(dst, dot + 1);
    return static_cast<int>(std::strlen(dst));
}

int path_set_ext(char* path, const char* ext) {
    if (!path_fits(path)) return -1;
    char* dot = std::strrchr(path + path_name_pos(path), '.');
    size_t base = dot ? static_cast<size_t>(dot - path) : std::strlen(path);
    size_t extLength = std::strlen(ext);
    if (base + 1 + extLength > static_cast<size_t>(FILE_PATH_MAX)) return -1;
    path[base] = '.';
    std::memmove(path + base + 1, ext, extLength + 1);
    return 0;
}

int path_add_sep(char* path) {
    size_t n = std::strlen(path);
    if (n == 0 || is_sep(path[n - 1])) return 0;
    if (n >= static_cast<size_t>(FILE_PATH_MAX)) return -1;
    char sep = '/';
    for (size_t i = 0; i < n; ++i) {
        if (is_sep(path[i])) sep = path[i];
    }
    path[n] = sep;
    path[n + 1] = '\0';
    return 0;
}

void path_strip_sep(char* path) {
    size_t n = std::strlen(path);
    if (n > 0 && is_sep(path[n - 1])) path[n - 1] = '\0';
}

void path_unify_seps(char* path) {
    char* first = path;
    while (*first && !is_sep(*first)) ++first;
    if (!*first) return;
    for (char* s = first; *s; ++s) {
        if (is_sep(*s)) *s = *first;
    }
}

void path_backslash(char* path) {
    for (; *path; ++path) {
        if (*path == '/') *path = '\\';
    }
}

const char* path_short(const char* path) {
    constexpr size_t keep = 40;
    static char shortForm[3 + keep + 1];  // shared by all calls
    size_t n = std::strlen(path);
    if (n < keep) return path;
    const char* tail = path + n - keep;
    for (const char* s = tail; *s; ++s) {
        if (is_sep(*s)) {
            tail = s;
            break;
        }
    }
    std::strcpy(shortForm, "...");
    std::strcpy(shortForm + 3, tail);
    return shortForm;
}

// --- Directories -------------------------------------------------------------

int get_cwd(char* buf) {
    std::array<char, 4096> cwd;
    buf[0] = '\0';
    if (!sys_getcwd(cwd.data(), static_cast<int>(cwd.size()))) return -1;
    if (std::strlen(cwd.data()) > static_cast<size_t>(FILE_PATH_MAX)) return -1;
    std::strcpy(buf, cwd.data());
    return 0;
}

int change_dir(const char* path) {
    PathBuf p;
    if (!sys_path(p, path)) return -1;
#ifdef _WIN32
    int drive = drive_number(p.data());
    if (drive == 0) return sys_chdir(p.data()) == 0 ? 0 : -1;
    // Coming back by drive alone could land elsewhere: keep the whole directory.
    std::array<char, 1024> before;
    bool haveBefore = sys_getcwd(before.data(), static_cast<int>(before.size())) != nullptr;
    if (_chdrive(drive) != 0) return -1;
    if (sys_chdir(p.data()) != 0) {
        if (haveBefore) sys_chdir(before.data());
        return -1;
    }
    return 0;
#else
    return sys_chdir(p.data()) == 0 ? 0 : -1;
#endif
}

namespace {

// Walks the absolute, unified path one component at a time, entering each
// prefix and creating it when it is missing.
int make_dir_chain(const char* full) {
    size_t n = std::strlen(full);
    std::array<char, FILE_PATH_MAX + 2> prefix;
    for (size_t i = 1; i <= n; ++i) {
        if (i < n && !is_sep(full[i])) continue;
        if (is_sep(full[i - 1])) continue;  // the root, a doubled or a trailing separator
        std::memcpy(prefix.data(), full, i);
        prefix[i] = '\0';
        bool driveRoot = false;
#ifdef _WIN32
        if (i == 2 && drive_number(full) != 0) {  // "X:" is the drive's root
            prefix[2] = '\\';
            prefix[3] = '\0';
            driveRoot = true;
        }
#endif
        if (change_dir(prefix.data()) == 0) continue;
        if (driveRoot) return MKDIR_NO_DRIVE;
        PathBuf p;
        if (!sys_path(p, prefix.data()) || sys_mkdir(p.data()) != 0) return MKDIR_CANT_CREATE;
        if (change_dir(prefix.data()) != 0) return MKDIR_CANT_ENTER;
    }
    return MKDIR_OK;
}

bool is_absolute(const char* path) {
#ifdef _WIN32
    if (drive_number(path) != 0) return true;
#endif
    return is_sep(path[0]);
}

}  // namespace

int make_dirs(const char* path) {
    if (!path_fits(path)) return MKDIR_CANT_CREATE;
    PathBuf given;
    std::strcpy(given.data(), path);
    str_trim(given.data());
    PathBuf home;  // the program's own current directory, restored at the end
    if (get_cwd(home.data()) != 0) return MKDIR_CANT_CREATE;
    PathBuf full;
    if (is_absolute(given.data())) {
        full = given;
    } else {
        if (std::strlen(home.data()) + 1 + std::strlen(given.data()) > static_cast<size_t>(FILE_PATH_MAX)) {
            return MKDIR_CANT_CREATE;
        }
        std::strcpy(full.data(), home.data());
        std::strcat(full.data(), "/");
        std::strcat(full.data(), given.data());
    }
    path_unify_seps(full.data());
#ifdef _WIN32
    int drive = drive_number(full.data());
    std::array<char, 1024> driveCwd;
    bool haveDriveCwd = drive != 0 && _getdcwd(drive, driveCwd.data(), static_cast<int>(driveCwd.size()));
#endif
    int result = make_dir_chain(full.data());
#ifdef _WIN32
    if (haveDriveCwd) sys_chdir(driveCwd.data());  // that drive's own current directory first
#endif
    change_dir(home.data());
    return result;
}

namespace {

// One entry of a directory as the system lists it.
struct DirEntry {
    const char* name;
    bool isDir;
    long size;
};

long clamp_size(long long size) { return size > LONG_MAX ? LONG_MAX : static_cast<long>(size); }

#ifdef _WIN32
// The entries of a directory through the runtime's find functions.
class DirReader {
public:
    explicit DirReader(const char* dir) {
        std::array<char, FILE_PATH_MAX + 8> mask;
        // A root such as "\" keeps its one separator: two would name a network path.
        const size_t n = std::strlen(dir);
        std::strcpy(mask.data(), dir);
        std::strcat(mask.data(), n > 0 && is_sep(dir[n - 1]) ? "*.*" : "\\*.*");
        handle_ = _findfirst(mask.data(), &data_);
    }
    ~DirReader() {
        if (handle_ != -1) _findclose(handle_);
    }
    DirReader(const DirReader&) = delete;
    DirReader& operator=(const DirReader&) = delete;
    bool is_open() const { return handle_ != -1; }
    bool next(DirEntry* entry) {
        if (handle_ == -1) return false;
        if (!first_ && _findnext(handle_, &data_) != 0) return false;
        first_ = false;
        entry->name = data_.name;
        entry->isDir = (data_.attrib & _A_SUBDIR) != 0;
        entry->size = entry->isDir ? 0 : clamp_size(static_cast<long long>(data_.size));
        return true;
    }

private:
    intptr_t handle_ = -1;
    _finddata_t data_ = {};
    bool first_ = true;
};
#else
// The entries of a directory through opendir and stat.
class DirReader {
public:
    explicit DirReader(const char* dir) : dir_(::opendir(dir)) { std::strcpy(path_.data(), dir); }
    ~DirReader() {
        if (dir_) ::closedir(dir_);
    }
    DirReader(const DirReader&) = delete;
    DirReader& operator=(const DirReader&) = delete;
    bool is_open() const { return dir_ != nullptr; }
    bool next(DirEntry* entry) {
        const struct dirent* found = dir_ ? ::readdir(dir_) : nullptr;
        if (!found) return false;
        std::array<char, FILE_PATH_MAX + 300> full;
        std::snprintf(full.data(), full.size(), "%s/%s", path_.data(), found->d_name);
        StatRecord st;
        bool known = ::stat(full.data(), &st) == 0;
        entry->name = found->d_name;
        entry->isDir = known && S_ISDIR(st.st_mode);
        entry->size = known && !entry->isDir ? clamp_size(static_cast<long long>(st.st_size)) : 0;
        return true;
    }

private:
    DIR* dir_;
    PathBuf path_;
};
#endif

}  // namespace

int dir_list(const char* pattern, DirListCallback callback, void* user) {
    if (!callback || !path_fits(pattern)) return -1;
    int cut = -1;
    for (int i = 0; pattern[i] != '\0'; ++i) {
        if (is_sep(pattern[i])) cut = i;
    }
    PathBuf dir;
    if (cut < 0) {
        std::strcpy(dir.data(), ".");
    } else {
        int dirLength = cut > 0 ? cut : 1;  // a pattern in the root keeps its separator
        std::memcpy(dir.data(), pattern, static_cast<size_t>(dirLength));
        dir[static_cast<size_t>(dirLength)] = '\0';
    }
    const char* mask = pattern[cut + 1] != '\0' ? pattern + cut + 1 : "*";
    PathBuf sysDir;
    if (!sys_path(sysDir, dir.data())) return -1;
    DirReader reader(sysDir.data());
    if (!reader.is_open()) return -1;
    bool dirHasSep = is_sep(dir[std::strlen(dir.data()) - 1]);
    int calls = 0;
    DirEntry entry;
    while (reader.next(&entry)) {
        if (std::strcmp(entry.name, ".") == 0 || std::strcmp(entry.name, "..") == 0) continue;
        if (!wild_match_nocase(mask, entry.name)) continue;
        std::array<char, FILE_PATH_MAX + 300> full;
        int n = std::snprintf(full.data(), full.size(), "%s%s%s", dir.data(), dirHasSep ? "" : "/",
                              entry.name);
        if (n < 0 || n > FILE_PATH_MAX) continue;  // no other function could use it
        path_backslash(full.data());
        TimeRecord time;
        file_time(full.data(), &time);
        ++calls;
        if (callback(entry.isDir, full.data(), entry.size, &time, user) == 0) break;
    }
    return calls;
}
