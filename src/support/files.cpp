// Raw and whole files, the file hooks and the test seams: the portable core.
// (The line file is in linefile.cpp, paths and directories in paths.cpp.)
//
// One implementation on the C runtime: the POSIX calls natively, the
// Windows C runtime's calls where they differ. What only the system itself
// gives faithfully (file attributes, local file times) goes through the
// replaceable hooks, which the Win32 layer fills in.
#include "support/files.h"
#include "support/devices.h"
#include "support/files_sys.h"

#include "support/strfunc.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <share.h>
#include <sys/utime.h>
#else
#include <unistd.h>
#include <utime.h>
#endif

using namespace files_sys;

namespace {

// --- Platform differences ------------------------------------------------------

#ifdef _WIN32
using TimeValue = __time64_t;
constexpr int OPEN_READ = _O_RDONLY | _O_BINARY | _O_NOINHERIT;
constexpr int OPEN_READ_WRITE = _O_RDWR | _O_BINARY | _O_NOINHERIT;
constexpr int OPEN_CREATE = _O_RDWR | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT;
constexpr int WRITE_PERMISSION = _S_IWRITE;

int sys_open(const char* path, int flags) {
    return _sopen(path, flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
}
int sys_stat(const char* path, StatRecord* st) { return _stat64(path, st); }
int sys_fstat(int handle, StatRecord* st) { return _fstat64(handle, st); }
bool stat_is_dir(const StatRecord& st) { return (st.st_mode & _S_IFMT) == _S_IFDIR; }
int sys_read(int handle, void* buf, int n) { return _read(handle, buf, static_cast<unsigned>(n)); }
int sys_write_once(int handle, const void* buf, int n) {
    return _write(handle, buf, static_cast<unsigned>(n));
}
long sys_seek(int handle, long offset, int whence) { return _lseek(handle, offset, whence); }
int sys_close(int handle) { return _close(handle); }
int sys_flush(int handle) { return _commit(handle); }  // FlushFileBuffers
int sys_unlink(const char* path) { return _unlink(path); }
int sys_chmod_readonly(const char* path, const StatRecord&, bool readOnly) {
    return _chmod(path, readOnly ? _S_IREAD : _S_IREAD | _S_IWRITE);
}
bool local_time(TimeValue value, struct tm* out) { return _localtime64_s(out, &value) == 0; }
bool utc_time(TimeValue value, struct tm* out) { return _gmtime64_s(out, &value) == 0; }
TimeValue make_time(struct tm* tm) { return _mktime64(tm); }
int sys_set_times(const char* path, TimeValue value) {
    struct __utimbuf64 times = {value, value};
    return _utime64(path, &times);
}
#else
using TimeValue = time_t;
#ifdef O_CLOEXEC
constexpr int OPEN_NOINHERIT = O_CLOEXEC;
#else
constexpr int OPEN_NOINHERIT = 0;
#endif
constexpr int OPEN_READ = O_RDONLY | OPEN_NOINHERIT;
constexpr int OPEN_READ_WRITE = O_RDWR | OPEN_NOINHERIT;
constexpr int OPEN_CREATE = O_RDWR | O_CREAT | O_TRUNC | OPEN_NOINHERIT;
constexpr int WRITE_PERMISSION = S_IWUSR;

int sys_open(const char* path, int flags) {
    int handle;
    do {
        handle = ::open(path, flags, 0666);  // read and write, less the umask
    } while (handle < 0 && errno == EINTR);
    return handle;
}
int sys_stat(const char* path, StatRecord* st) { return ::stat(path, st); }
int sys_fstat(int handle, StatRecord* st) { return ::fstat(handle, st); }
bool stat_is_dir(const StatRecord& st) { return S_ISDIR(st.st_mode); }
int sys_read(int handle, void* buf, int n) {
    ssize_t got;
    do {
        got = ::read(handle, buf, static_cast<size_t>(n));
    } while (got < 0 && errno == EINTR);
    return static_cast<int>(got);
}
int sys_write_once(int handle, const void* buf, int n) {
    ssize_t put;
    do {
        put = ::write(handle, buf, static_cast<size_t>(n));
    } while (put < 0 && errno == EINTR);
    return static_cast<int>(put);
}
long sys_seek(int handle, long offset, int whence) {
    off_t pos = ::lseek(handle, static_cast<off_t>(offset), whence);
    return pos > static_cast<off_t>(LONG_MAX) ? -1 : static_cast<long>(pos);
}
int sys_close(int handle) { return ::close(handle); }
int sys_flush(int handle) { return ::fsync(handle); }
int sys_unlink(const char* path) { return ::unlink(path); }
int sys_chmod_readonly(const char* path, const StatRecord& st, bool readOnly) {
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? mode & ~static_cast<mode_t>(0222) : mode | S_IWUSR;
    return ::chmod(path, mode);
}
bool local_time(TimeValue value, struct tm* out) { return localtime_r(&value, out) != nullptr; }
bool utc_time(TimeValue value, struct tm* out) { return gmtime_r(&value, out) != nullptr; }
TimeValue make_time(struct tm* tm) { return mktime(tm); }
int sys_set_times(const char* path, TimeValue value) {
    struct utimbuf times = {value, value};
    return ::utime(path, &times);
}
#endif

// Length of path, or FILE_PATH_MAX + 1 for anything longer (reads no further).
int bounded_length(const char* path) {
    int n = 0;
    while (n <= FILE_PATH_MAX && path[n] != '\0') ++n;
    return n;
}

// --- Default hooks ----------------------------------------------------------------

int default_get_attributes(const char* path) {
    StatRecord st;
    if (sys_stat(path, &st) != 0) return -1;
    int attributes = 0;
    if (stat_is_dir(st)) attributes |= FILE_ATTR_DIRECTORY;
    if ((st.st_mode & WRITE_PERMISSION) == 0) attributes |= FILE_ATTR_READONLY;
    return attributes;
}

int default_set_attributes(const char* path, int attributes) {
    StatRecord st;
    if (sys_stat(path, &st) != 0) return -1;
    bool readOnly = (attributes & FILE_ATTR_READONLY) != 0;
    bool isReadOnly = (st.st_mode & WRITE_PERMISSION) == 0;
    if (readOnly == isReadOnly) return 0;
    return sys_chmod_readonly(path, st, readOnly) == 0 ? 0 : -1;
}

// The modification time as a record, converted by convert (local or UTC).
int stat_time(const char* path, TimeRecord* t, bool (*convert)(TimeValue, struct tm*)) {
    *t = TimeRecord{};
    StatRecord st;
    if (sys_stat(path, &st) != 0) return -1;
    struct tm local;
    if (!convert(st.st_mtime, &local)) return 0;
    if (local.tm_year < 0 || local.tm_year > 255) return 0;  // beyond a TimeRecord
    t->year = static_cast<unsigned char>(local.tm_year);
    t->month = static_cast<unsigned char>(local.tm_mon + 1);
    t->day = static_cast<unsigned char>(local.tm_mday);
    t->hour = static_cast<unsigned char>(local.tm_hour);
    t->minute = static_cast<unsigned char>(local.tm_min);
    t->second = static_cast<unsigned char>(local.tm_sec);
    return 0;
}

int default_get_time(const char* path, TimeRecord* t) { return stat_time(path, t, local_time); }

int default_set_time(const char* path, const TimeRecord* t) {
    struct tm local = {};
    local.tm_year = t->year;
    local.tm_mon = t->month - 1;
    local.tm_mday = t->day;
    local.tm_hour = t->hour;
    local.tm_min = t->minute;
    local.tm_sec = t->second;
    local.tm_isdst = -1;  // the system decides about daylight saving
    TimeValue value = make_time(&local);
    if (value == static_cast<TimeValue>(-1)) return -1;
    return sys_set_times(path, value) == 0 ? 0 : -1;
}

#ifdef _WIN32
// The C runtime knows no file index: two full names alike (case ignored, the
// separators alike, "." and ".." resolved) are one file.
int default_same_file(const char* a, const char* b) {
    StatRecord st;
    if (sys_stat(a, &st) != 0 || sys_stat(b, &st) != 0) return 0;
    std::array<char, 1024> x, y;
    if (!_fullpath(x.data(), a, static_cast<int>(x.size())) ||
        !_fullpath(y.data(), b, static_cast<int>(y.size()))) {
        return 0;
    }
    for (char* s : {x.data(), y.data()}) {
        for (; *s; ++s) {
            if (*s == '/') *s = '\\';
        }
    }
    return str_cmp_nocase(x.data(), y.data()) == 0 ? 1 : 0;
}

// The C runtime's rename never replaces: the old file is set aside under a
// free name, the new one takes the name, and only then is the old one removed
// (on failure it gets its name back).
// The C runtime has no second names for a file.
int default_link(const char*, const char*) { return -1; }

int default_replace(const char* from, const char* to) {
    StatRecord st;
    if (sys_stat(to, &st) != 0) return std::rename(from, to) == 0 ? 0 : -1;
    if (stat_is_dir(st) || bounded_length(to) + 3 > FILE_PATH_MAX) return -1;
    PathBuf aside;
    for (int i = 0;; ++i) {
        if (i == 10) return -1;
        std::snprintf(aside.data(), aside.size(), "%s~%d", to, i);
        if (sys_stat(aside.data(), &st) != 0) break;
    }
    if (std::rename(to, aside.data()) != 0) return -1;
    if (std::rename(from, to) != 0) {
        std::rename(aside.data(), to);
        return -1;
    }
    sys_unlink(aside.data());
    return 0;
}
#else
int default_same_file(const char* a, const char* b) {
    StatRecord x, y;
    if (sys_stat(a, &x) != 0 || sys_stat(b, &y) != 0) return 0;
    return x.st_dev == y.st_dev && x.st_ino == y.st_ino ? 1 : 0;
}

// rename replaces a file in one step; a directory is never replaced.
int default_replace(const char* from, const char* to) {
    StatRecord st;
    if (sys_stat(to, &st) == 0 && stat_is_dir(st)) return -1;
    return std::rename(from, to) == 0 ? 0 : -1;
}

int default_link(const char* existing, const char* name) { return ::link(existing, name) == 0 ? 0 : -1; }
#endif

constexpr FileHooks DEFAULT_HOOKS = {default_get_attributes, default_set_attributes, default_get_time,
                                     default_set_time,       default_same_file,      default_replace,
                                     default_link};

// The module's state: the hooks in force and the test seams.
struct FilesState {
    FileHooks hooks = DEFAULT_HOOKS;
    bool failAlloc = false;
    int writesLeft = -1;  // successful writes before they fail; -1: unlimited
    int readsLeft = -1;   // successful reads before they fail; -1: unlimited
    int failCall = -1;    // index of the counted call that fails; -1: none
    int calls = 0;        // counted calls since the seam was set
};
FilesState state;

// Counts one call of an operation a save depends on: true when this is the
// one that is to fail.
bool counted_call_fails() {
    const int index = state.calls;
    if (state.calls < INT_MAX) ++state.calls;
    return index == state.failCall;
}

// --- Time records ---------------------------------------------------------------

bool is_leap_year(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// A real date and time (not all zero, no 31 February).
bool is_valid_time(const TimeRecord& t) {
    static constexpr std::array<int, 12> days = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.month < 1 || t.month > 12 || t.day < 1) return false;
    if (t.day > days[t.month - 1]) return false;
    if (t.month == 2 && t.day == 29 && !is_leap_year(1900 + t.year)) return false;
    return t.hour < 24 && t.minute < 60 && t.second < 60;
}

}  // namespace

// --- Shared with the line file and the paths ---------------------------------------

namespace files_sys {

#ifdef _WIN32
int sys_mkdir(const char* path) { return _mkdir(path); }
int sys_chdir(const char* path) { return _chdir(path); }
char* sys_getcwd(char* buf, int size) { return _getcwd(buf, size); }
#else
int sys_mkdir(const char* path) { return ::mkdir(path, 0777); }
int sys_chdir(const char* path) { return ::chdir(path); }
char* sys_getcwd(char* buf, int size) { return ::getcwd(buf, static_cast<size_t>(size)); }
#endif

bool path_fits(const char* path) { return path && bounded_length(path) <= FILE_PATH_MAX; }

bool sys_path(PathBuf& out, const char* path) {
    if (!path_fits(path) || path[0] == '\0') return false;
    std::strcpy(out.data(), path);
#ifndef _WIN32
    for (char* s = out.data(); *s; ++s) {
        if (*s == '\\') *s = '/';
    }
#endif
    return true;
}

#ifdef _WIN32
int drive_number(const char* path) {
    int letter = upper_char(static_cast<unsigned char>(path[0]));
    if (letter < 'A' || letter > 'Z' || path[1] != ':') return 0;
    return letter - 'A' + 1;
}
#endif

char* buffer_alloc(size_t size) {
    if (state.failAlloc) return nullptr;
    return static_cast<char*>(std::malloc(size));
}
void buffer_release(char* buf) { std::free(buf); }

}  // namespace files_sys

// --- Hooks -------------------------------------------------------------------------

void files_set_hooks(const FileHooks* hooks) {
    state.hooks = DEFAULT_HOOKS;
    if (!hooks) return;
    if (hooks->getAttributes) state.hooks.getAttributes = hooks->getAttributes;
    if (hooks->setAttributes) state.hooks.setAttributes = hooks->setAttributes;
    if (hooks->getTime) state.hooks.getTime = hooks->getTime;
    if (hooks->setTime) state.hooks.setTime = hooks->setTime;
    if (hooks->sameFile) state.hooks.sameFile = hooks->sameFile;
    if (hooks->replace) state.hooks.replace = hooks->replace;
    if (hooks->link) state.hooks.link = hooks->link;
}

int file_attributes(const char* path) {
    PathBuf p;
    if (!sys_path(p, path)) return -1;
    return state.hooks.getAttributes(p.data());
}

int set_file_attributes(const char* path, int attributes) {
    if (counted_call_fails()) return -1;
    PathBuf p;
    if (!sys_path(p, path)) return -1;
    return state.hooks.setAttributes(p.data(), attributes);
}

void files_test_fail_alloc(bool on) { state.failAlloc = on; }
void files_test_fail_writes_after(int n) { state.writesLeft = n < 0 ? -1 : n; }
void files_test_fail_reads_after(int n) { state.readsLeft = n < 0 ? -1 : n; }

void files_test_fail_call(int k) {
    state.failCall = k < 0 ? -1 : k;
    state.calls = 0;
}

int files_test_calls() { return state.calls; }

// --- Raw files ---------------------------------------------------------------------

namespace {

// Opens path with flags; a directory is refused.
int open_file(const char* path, int flags) {
    PathBuf p;
    if (!sys_path(p, path)) return -1;
    int handle = sys_open(p.data(), flags);
    if (handle < 0) return -1;
    StatRecord st;
    if (sys_fstat(handle, &st) != 0 || stat_is_dir(st)) {
        sys_close(handle);
        return -1;
    }
    return handle;
}

}  // namespace

int file_create(const char* path) {
    if (counted_call_fails()) return -1;
    return open_file(path, OPEN_CREATE);
}

int file_open(const char* path, int mode) {
    if (counted_call_fails()) return -1;  // no read-only fallback either
    if (mode == 0) return open_file(path, OPEN_READ);
    if (mode != 2) return -1;
    int handle = open_file(path, OPEN_READ_WRITE);
    return handle >= 0 ? handle : open_file(path, OPEN_READ);
}

int file_close(int handle) {
    const bool fail = counted_call_fails();
    if (handle < 0) return -1;
    const bool closed = sys_close(handle) == 0;  // a failing close releases the handle all the same
    return closed && !fail ? 0 : -1;
}

int file_read(int handle, void* buf, int n) {
    if (handle < 0 || n < 0) return -1;
    if (n == 0) return 0;
    if (state.readsLeft == 0) return -1;
    if (state.readsLeft > 0) --state.readsLeft;
    int got = sys_read(handle, buf, n);
    return got < 0 ? -1 : got;
}

int file_write(int handle, const void* buf, int n) {
    if (counted_call_fails()) return -1;
    if (handle < 0 || n < 0) return -1;
    if (state.writesLeft == 0) return -1;
    if (state.writesLeft > 0) --state.writesLeft;
    const char* from = static_cast<const char*>(buf);
    int done = 0;
    while (done < n) {  // the system may take fewer bytes at a time
        int put = sys_write_once(handle, from + done, n - done);
        if (put <= 0) return done > 0 ? done : -1;
        done += put;
    }
    return done;
}

long file_seek(int handle, long offset, int whence) {
    if (handle < 0 || whence < 0 || whence > 2) return -1;
    long pos = sys_seek(handle, offset, whence);
    return pos < 0 ? -1 : pos;
}

// --- Whole files -------------------------------------------------------------

bool file_exists(const char* path) {
    int handle = file_open(path, 2);
    if (handle < 0) return false;
    file_close(handle);
    return true;
}

long file_size(const char* path) {
    int handle = file_open(path, 0);
    if (handle < 0) return -1;
    long size = file_seek(handle, 0, 2);
    file_close(handle);
    return size;
}

int file_time(const char* path, TimeRecord* t) {
    *t = TimeRecord{};
    PathBuf p;
    if (!sys_path(p, path)) return -1;
    if (state.hooks.getTime(p.data(), t) != 0) {
        *t = TimeRecord{};
        return -1;
    }
    return 0;
}

int file_time_utc(const char* path, TimeRecord* t) {
    PathBuf p;
    if (!sys_path(p, path)) {
        *t = TimeRecord{};
        return -1;
    }
    return stat_time(p.data(), t, utc_time);
}

int set_file_time(const char* path, const TimeRecord* t) {
    if (counted_call_fails()) return -1;
    PathBuf p;
    if (!sys_path(p, path) || !is_valid_time(*t)) return -1;
    return state.hooks.setTime(p.data(), t) == 0 ? 0 : -1;
}

int file_delete(const char* path) {
    if (counted_call_fails()) return -1;
    PathBuf p;
    if (!sys_path(p, path)) return -1;
    return sys_unlink(p.data()) == 0 ? 0 : -1;
}

int file_rename(const char* from, const char* to) {
    if (counted_call_fails()) return -1;
    PathBuf a, b;
    if (!sys_path(a, from) || !sys_path(b, to)) return -1;
    // POSIX rename would replace an existing target; the system's does not.
    // Both builds refuse, so that no caller loses a file by renaming onto it.
    StatRecord st;
    if (sys_stat(b.data(), &st) == 0) return -1;
    return std::rename(a.data(), b.data()) == 0 ? 0 : -1;
}

bool file_same(const char* a, const char* b) {
    PathBuf x, y;
    if (!sys_path(x, a) || !sys_path(y, b)) return false;
    return state.hooks.sameFile(x.data(), y.data()) == 1;
}

int file_flush(int handle) {
    if (counted_call_fails() || handle < 0) return -1;
    return sys_flush(handle) == 0 ? 0 : -1;
}

int file_link(const char* existing, const char* name) {
    if (counted_call_fails()) return -1;
    PathBuf a, b;
    if (!sys_path(a, existing) || !sys_path(b, name)) return -1;
    return state.hooks.link(a.data(), b.data()) == 0 ? 0 : -1;
}

int file_replace(const char* from, const char* to) {
    if (counted_call_fails()) return -1;
    PathBuf a, b;
    if (!sys_path(a, from) || !sys_path(b, to)) return -1;
    return state.hooks.replace(a.data(), b.data()) == 0 ? 0 : -1;
}

namespace {

// Copies every byte from in to out through buf; false on any error.
bool copy_bytes(int in, int out, char* buf, int size) {
    for (;;) {
        int got = file_read(in, buf, size);
        if (got == 0) return true;
        if (got < 0) return false;  // a read error must not pass as a short file
        if (file_write(out, buf, got) != got) return false;
    }
}

}  // namespace

int file_copy(const char* src, const char* dst) {
    PathBuf s, d;
    if (!sys_path(s, src) || !sys_path(d, dst) || file_same(src, dst)) return -1;
    int in = file_open(src, 0);
    if (in < 0) return -1;
    int out = file_create(dst);
    if (out < 0) {
        file_close(in);
        return -1;
    }
    char small[512];
    int size = 16384;
    char* buf = buffer_alloc(static_cast<size_t>(size));
    if (!buf) {
        size = 8192;
        buf = buffer_alloc(static_cast<size_t>(size));
    }
    bool ok;
    if (buf) {
        ok = copy_bytes(in, out, buf, size);
        buffer_release(buf);
    } else {
        ok = copy_bytes(in, out, small, static_cast<int>(sizeof small));
    }
    file_close(in);
    if (file_close(out) != 0) ok = false;
    if (!ok) {
        file_delete(dst);
        return -1;
    }
    TimeRecord t;
    if (file_time(src, &t) == 0 && is_valid_time(t)) set_file_time(dst, &t);
    int attributes = file_attributes(src);
    if (attributes >= 0) set_file_attributes(dst, attributes & ~FILE_ATTR_DIRECTORY);
    return 0;
}

