// Files: the Win32 layer's part. File attributes (the C runtime knows only
// the read-only bit), the identity of a file (volume and file index), the
// replacing rename, and file times in local time by the system's own zone
// settings and the daylight rule of the stamp's date (the C runtime follows
// its TZ variable instead, which may disagree with the system).
#include <windows.h>

#include "support/devices.h"
#include "support/files.h"

namespace {

// The attribute bits SetFileAttributes accepts.
constexpr DWORD SETTABLE_ATTRIBUTES = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

static_assert(FILE_ATTR_READONLY == FILE_ATTRIBUTE_READONLY && FILE_ATTR_HIDDEN == FILE_ATTRIBUTE_HIDDEN &&
                  FILE_ATTR_SYSTEM == FILE_ATTRIBUTE_SYSTEM && FILE_ATTR_DIRECTORY == FILE_ATTRIBUTE_DIRECTORY &&
                  FILE_ATTR_ARCHIVE == FILE_ATTRIBUTE_ARCHIVE,
              "the core's attribute bits are the system's");

// A file handle that closes itself.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool is_open() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

int win_get_attributes(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    return static_cast<int>(attributes & 0x7FFFFFFF);
}

int win_set_attributes(const char* path, int attributes) {
    DWORD settable = static_cast<DWORD>(attributes) & SETTABLE_ATTRIBUTES;
    return SetFileAttributesA(path, settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL) ? 0 : -1;
}

int win_get_time(const char* path, TimeRecord* t) {
    *t = TimeRecord{};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    SYSTEMTIME utc, local;
    if (!FileTimeToSystemTime(&data.ftLastWriteTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return 0;
    }
    if (local.wYear < 1900 || local.wYear > 1900 + 255) return 0;  // beyond a TimeRecord
    t->year = static_cast<unsigned char>(local.wYear - 1900);
    t->month = static_cast<unsigned char>(local.wMonth);
    t->day = static_cast<unsigned char>(local.wDay);
    t->hour = static_cast<unsigned char>(local.wHour);
    t->minute = static_cast<unsigned char>(local.wMinute);
    t->second = static_cast<unsigned char>(local.wSecond);
    return 0;
}

int win_set_time(const char* path, const TimeRecord* t) {
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(1900 + t->year);
    local.wMonth = t->month;
    local.wDay = t->day;
    local.wHour = t->hour;
    local.wMinute = t->minute;
    local.wSecond = t->second;
    SYSTEMTIME utc;
    FILETIME stamp;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &stamp)) {
        return -1;
    }
    // Writing attributes only: a read-only file and a directory take new times too.
    FileHandle file(CreateFileA(path, FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.is_open()) return -1;
    return SetFileTime(file.get(), nullptr, &stamp, &stamp) ? 0 : -1;
}

// The volume and file index of an open handle: the system's identity of a file
// or directory, whatever name it was reached by.
bool win_file_identity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    FileHandle file(CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.is_open() && GetFileInformationByHandle(file.get(), info);
}

int win_same_file(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION x, y;
    if (!win_file_identity(a, &x) || !win_file_identity(b, &y)) return 0;
    return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
                   x.nFileIndexLow == y.nFileIndexLow
               ? 1
               : 0;
}

// One call: the old file is replaced, never first deleted. A directory is never
// replaced (the system refuses that itself as well).
int win_replace(const char* from, const char* to) {
    const DWORD attributes = GetFileAttributesA(to);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : -1;
}

int win_link(const char* existing, const char* name) { return CreateHardLinkA(name, existing, nullptr) ? 0 : -1; }

}  // namespace

void files_win32_install() {
    static const FileHooks hooks = {win_get_attributes, win_set_attributes, win_get_time, win_set_time,
                                    win_same_file,      win_replace,        win_link};
    files_set_hooks(&hooks);
}
