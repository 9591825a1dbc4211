// Files, the line reader and directories: the portable core.
//
// One implementation on the C runtime: the POSIX calls natively, the
// Windows C runtime's calls where they differ. What only the system itself
// gives faithfully (file attributes, local file times) goes through the
// replaceable hooks, which the Win32 layer fills in.
#include "support/files.h"

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
#include <dirent.h>
#include <unistd.h>
#include <utime.h>
#endif

namespace {

using PathBuf = std::array<char, FILE_PATH_MAX + 1>;

// --- Platform differences ------------------------------------------------------

#ifdef _WIN32
using StatRecord = struct _stat64;
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
int sys_unlink(const char* path) { return _unlink(path); }
int sys_mkdir(const char* path) { return _mkdir(path); }
int sys_chdir(const char* path) { return _chdir(path); }
char* sys_getcwd(char* buf, int size) { return _getcwd(buf, size); }
int sys_chmod_readonly(const char* path, const StatRecord&, bool readOnly) {
    return _chmod(path, readOnly ? _S_IREAD : _S_IREAD | _S_IWRITE);
}
bool local_time(TimeValue value, struct tm* out) { return _localtime64_s(out, &value) == 0; }
TimeValue make_time(struct tm* tm) { return _mktime64(tm); }
int sys_set_times(const char* path, TimeValue value) {
    struct __utimbuf64 times = {value, value};
    return _utime64(path, &times);
}
#else
using StatRecord = struct stat;
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
int sys_unlink(const char* path) { return ::unlink(path); }
int sys_mkdir(const char* path) { return ::mkdir(path, 0777); }
int sys_chdir(const char* path) { return ::chdir(path); }
char* sys_getcwd(char* buf, int size) { return ::getcwd(buf, static_cast<size_t>(size)); }
int sys_chmod_readonly(const char* path, const StatRecord& st, bool readOnly) {
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? mode & ~static_cast<mode_t>(0222) : mode | S_IWUSR;
    return ::chmod(path, mode);
}
bool local_time(TimeValue value, struct tm* out) { return localtime_r(&value, out) != nullptr; }
TimeValue make_time(struct tm* tm) { return mktime(tm); }
int sys_set_times(const char* path, TimeValue value) {
    struct utimbuf times = {value, value};
    return ::utime(path, &times);
}
#endif

// --- Paths handed to the system ---------------------------------------------------

bool is_sep(char ch) { return ch == '/' || ch == '\\'; }

// Length of path, or FILE_PATH_MAX + 1 for anything longer (reads no further).
int bounded_length(const char* path) {
    int n = 0;
    while (n <= FILE_PATH_MAX && path[n] != '\0') ++n;
    return n;
}

bool path_fits(const char* path) { return path && bounded_length(path) <= FILE_PATH_MAX; }

// The form of a path the system is given: checked for length, not empty;
// natively '\' becomes '/'.
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
// 1 for "A:...", 2 for "B:..." and so on; 0 when the path names no drive.
int drive_number(const char* path) {
    int letter = upper_char(static_cast<unsigned char>(path[0]));
    if (letter < 'A' || letter > 'Z' || path[1] != ':') return 0;
    return letter - 'A' + 1;
}
#endif

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

int default_get_time(const char* path, TimeRecord* t) {
    *t = TimeRecord{};
    StatRecord st;
    if (sys_stat(path, &st) != 0) return -1;
    struct tm local;
    if (!local_time(st.st_mtime, &local)) return 0;
    if (local.tm_year < 0 || local.tm_year > 255) return 0;  // beyond a TimeRecord
    t->year = static_cast<unsigned char>(local.tm_year);
    t->month = static_cast<unsigned char>(local.tm_mon + 1);
    t->day = static_cast<unsigned char>(local.tm_mday);
    t->hour = static_cast<unsigned char>(local.tm_hour);
    t->minute = static_cast<unsigned char>(local.tm_min);
    t->second = static_cast<unsigned char>(local.tm_sec);
    return 0;
}

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
#endif

constexpr FileHooks DEFAULT_HOOKS = {default_get_attributes, default_set_attributes, default_get_time,
                                     default_set_time,       default_same_file,      default_replace};

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

// --- Buffers ------------------------------------------------------------------------

// The one place buffers come from, so the allocator can be exchanged.
char* buffer_alloc(size_t size) {
    if (state.failAlloc) return nullptr;
    return static_cast<char*>(std::malloc(size));
}
void buffer_release(char* buf) { std::free(buf); }

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

// --- Line file ---------------------------------------------------------------------

namespace {

// Writes the changed bytes of the buffer to their place in the file.
int lf_write_back(LineFile* lf) {
    if (lf->dirtyFrom >= lf->dirtyTo) return 0;
    const char* from = lf->buffer + lf->dirtyFrom;
    int n = lf->dirtyTo - lf->dirtyFrom;
    long at = lf->blockIndex * lf->blockSize + lf->dirtyFrom;
    lf->dirtyFrom = lf->dirtyTo = 0;
    if (file_seek(lf->handle, at, 0) == at && file_write(lf->handle, from, n) == n) return 0;
    lf->writeFailed = true;
    return -1;
}

// Makes block the one in the buffer, writing back the current one first;
// a failed read leaves an empty block. -1 when writing back failed.
int lf_load(LineFile* lf, long block) {
    int result = lf_write_back(lf);
    lf->blockIndex = block;
    lf->position = 0;
    lf->valid = 0;
    long start = block * lf->blockSize;
    int got = file_seek(lf->handle, start, 0) == start ? file_read(lf->handle, lf->buffer, lf->blockSize) : -1;
    if (got < 0) lf->loss.readFailed = true;  // the file ends here for the reader
    lf->valid = got > 0 ? got : 0;
    return result;
}

// True when a byte is there to be read at position, loading the next block
// when the buffer is used up. A block that holds fewer bytes than its size
// is the file's last one.
bool lf_byte_ready(LineFile* lf) {
    if (lf->position < lf->valid) return true;
    if (lf->valid < lf->blockSize) return false;
    lf_load(lf, lf->blockIndex + 1);
    return lf->position < lf->valid;
}

bool lf_is_open(const LineFile* lf) { return lf && lf->handle >= 0 && lf->buffer; }

}  // namespace

int lf_open(LineFile* lf, const char* path) {
    *lf = LineFile{};
    lf->handle = -1;
    lf->blockIndex = -1;
    int handle = file_open(path, 2);
    if (handle < 0) return -1;
    lf->handle = handle;
    lf->buffer = buffer_alloc(LF_BLOCK_SIZE);
    lf->blockSize = LF_BLOCK_SIZE;
    if (!lf->buffer) {
        lf->buffer = lf->reserve;
        lf->blockSize = LF_RESERVE_SIZE;
    }
    lf_load(lf, 0);
    return handle;
}

int lf_read(LineFile* lf, void* buf, int n) {
    if (!lf_is_open(lf)) return -1;
    char* to = static_cast<char*>(buf);
    while (n > 0) {
        if (!lf_byte_ready(lf)) return -1;
        int take = min_int(n, lf->valid - lf->position);
        std::memcpy(to, lf->buffer + lf->position, static_cast<size_t>(take));
        lf->position += take;
        to += take;
        n -= take;
    }
    return 0;
}

int lf_write(LineFile* lf, const void* buf, int n) {
    if (!lf_is_open(lf)) return -1;
    const char* from = static_cast<const char*>(buf);
    int result = 0;
    while (n > 0) {
        if (lf->position >= lf->blockSize && lf_load(lf, lf->blockIndex + 1) != 0) result = -1;
        if (lf->position > lf->valid) {  // after a seek beyond the end: the gap reads as zeros
            std::memset(lf->buffer + lf->valid, 0, static_cast<size_t>(lf->position - lf->valid));
        }
        int put = min_int(n, lf->blockSize - lf->position);
        std::memcpy(lf->buffer + lf->position, from, static_cast<size_t>(put));
        if (lf->dirtyFrom >= lf->dirtyTo) {
            lf->dirtyFrom = lf->position;
            lf->dirtyTo = lf->position + put;
        } else {
            lf->dirtyFrom = min_int(lf->dirtyFrom, lf->position);
            lf->dirtyTo = max_int(lf->dirtyTo, lf->position + put);
        }
        lf->position += put;
        lf->valid = max_int(lf->valid, lf->position);
        from += put;
        n -= put;
    }
    return result;
}

int lf_seek(LineFile* lf, long pos) {
    if (!lf_is_open(lf) || pos < 0) return -1;
    long block = pos / lf->blockSize;
    int result = 0;
    if (block != lf->blockIndex) result = lf_load(lf, block);
    lf->position = static_cast<int>(pos % lf->blockSize);
    return result;
}

long lf_tell(const LineFile* lf) {
    if (!lf_is_open(lf)) return -1;
    return lf->blockIndex * lf->blockSize + lf->position;
}

namespace {

// Appends the n bytes at src to buf without their CRs, as far as max allows.
// True when a byte other than white space was dropped past max.
bool append_without_cr(char* buf, int* stored, int max, const char* src, int n) {
    while (n > 0) {
        const void* cr = std::memchr(src, '\r', static_cast<size_t>(n));
        const int run = cr != nullptr ? static_cast<int>(static_cast<const char*>(cr) - src) : n;
        const int take = run < max - *stored ? run : max - *stored;
        std::memcpy(buf + *stored, src, static_cast<size_t>(take));
        *stored += take;
        for (int i = take; i < run; ++i) {
            if (!is_white(static_cast<unsigned char>(src[i]))) return true;
        }
        const int skip = cr != nullptr ? run + 1 : run;
        src += skip;
        n -= skip;
    }
    return false;
}

// How a part of a line ends: at the LF that ends the line, at a Ctrl-Z, or at
// the end of the block (what follows is not yet read).
enum class PartEnd { Lf, CtrlZ, BlockEnd };

// Counts the CRs of the n bytes at src that no LF follows. A CR that ended the
// previous block (crPending) is decided by the first byte of this part.
void count_lone_crs(LineFile* lf, const char* src, int n, PartEnd end) {
    if (lf->crPending) {
        lf->crPending = false;
        if (n > 0 || end != PartEnd::Lf) ++lf->loss.loneCRs;
    }
    for (const char* cr; n > 0 && (cr = static_cast<const char*>(std::memchr(src, '\r', static_cast<size_t>(n))));) {
        const int at = static_cast<int>(cr - src);
        if (at < n - 1 || end == PartEnd::CtrlZ) ++lf->loss.loneCRs;
        else if (end == PartEnd::BlockEnd) lf->crPending = true;
        src += at + 1;
        n -= at + 1;
    }
}

// The Ctrl-Z at the reader's position ends the file: the bytes after it are lost.
void note_eof_mark(LineFile* lf) {
    if (lf->eofSeen) return;
    lf->eofSeen = true;
    const long end = file_seek(lf->handle, 0, 2);
    const long buffered = lf->blockIndex * lf->blockSize + lf->valid;
    const long after = (end > buffered ? end : buffered) - lf_tell(lf) - 1;
    lf->loss.afterEof = after > 0 ? after : 0;
}

}  // namespace

int lf_read_line(LineFile* lf, char* buf, int max) {
    if (max < 0) max = 0;
    int stored = 0;
    bool consumed = false, cut = false;
    // The line is searched block by block with memchr: the LF that ends it, or
    // a Ctrl-Z before it, which ends line and file and is left in place.
    while (lf_is_open(lf) && lf_byte_ready(lf)) {
        const char* start = lf->buffer + lf->position;
        const int available = lf->valid - lf->position;
        const void* lf_at = std::memchr(start, '\n', static_cast<size_t>(available));
        int part = lf_at != nullptr ? static_cast<int>(static_cast<const char*>(lf_at) - start) : available;
        const void* eof_at = std::memchr(start, 26, static_cast<size_t>(part));
        if (eof_at != nullptr) part = static_cast<int>(static_cast<const char*>(eof_at) - start);
        if (append_without_cr(buf, &stored, max, start, part)) cut = true;
        count_lone_crs(lf, start, part,
                       eof_at != nullptr ? PartEnd::CtrlZ : lf_at != nullptr ? PartEnd::Lf : PartEnd::BlockEnd);
        lf->position += part;
        if (part > 0) consumed = true;
        if (eof_at != nullptr) {
            note_eof_mark(lf);
            break;
        }
        if (lf_at != nullptr) {
            ++lf->position;
            consumed = true;
            break;
        }
    }
    if (lf->crPending) {  // the file ended after a CR
        lf->crPending = false;
        ++lf->loss.loneCRs;
    }
    if (cut) ++lf->loss.cutLines;
    if (std::memchr(buf, '\0', static_cast<size_t>(stored)) != nullptr) ++lf->loss.nulLines;
    buf[stored] = '\0';
    return consumed ? stored : -1;
}

int lf_gets(LineFile* lf, char* buf) { return lf_read_line(lf, buf, 78); }

int lf_close(LineFile* lf) {
    if (!lf_is_open(lf)) return -1;
    int result = lf_write_back(lf);
    if (lf->writeFailed) result = -1;
    if (file_close(lf->handle) != 0) result = -1;
    if (lf->buffer != lf->reserve) buffer_release(lf->buffer);
    lf->handle = -1;
    lf->buffer = nullptr;
    lf->blockIndex = -1;
    lf->position = lf->valid = 0;
    return result;
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
