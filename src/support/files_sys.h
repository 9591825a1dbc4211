// What the three parts of the file module share (files.cpp: raw and whole
// files; linefile.cpp: the line file; paths.cpp: paths and directories): the
// form in which a path is handed to the system, the system's directory calls
// and the one place buffers come from. Only these three include it; every
// other module uses support/files.h.
#pragma once

#include "support/files.h"

#include <array>
#include <cstddef>
#include <sys/stat.h>
#include <sys/types.h>

namespace files_sys {

using PathBuf = std::array<char, FILE_PATH_MAX + 1>;
#ifdef _WIN32
using StatRecord = struct _stat64;
#else
using StatRecord = struct stat;
#endif

inline bool is_sep(char ch) { return ch == '/' || ch == '\\'; }
// A path of at most FILE_PATH_MAX characters (never read further).
bool path_fits(const char* path);
// The form of a path the system is given: checked for length, not empty;
// natively '\' becomes '/'. false: out is untouched.
bool sys_path(PathBuf& out, const char* path);
#ifdef _WIN32
// 1 for "A:...", 2 for "B:..." and so on; 0 when the path names no drive.
int drive_number(const char* path);
#endif

int sys_mkdir(const char* path);
int sys_chdir(const char* path);
char* sys_getcwd(char* buf, int size);

// A buffer of size bytes, nullptr when none (or while files_test_fail_alloc is on).
char* buffer_alloc(std::size_t size);
void buffer_release(char* buf);

}  // namespace files_sys
