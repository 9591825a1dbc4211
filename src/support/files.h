// Files, the line reader and directories.
//
// Four layers: raw binary files addressed by a handle; the buffered line
// reader (the line file) that every module reads text files with; whole-file
// operations (exists, size, time stamp, copy, delete); path pieces and
// directories (current directory, creating a directory chain, listing a
// directory through a callback).
//
// Paths are plain 8-bit strings of at most FILE_PATH_MAX characters; both
// '\' and '/' are separators everywhere and ':' ends a drive prefix. A path
// buffer holds FILE_PATH_MAX + 1 bytes. Every function that hands a path to
// the system or writes a path into a buffer refuses a longer path (result
// -1, or the failure code named below) and never writes past such a buffer.
// Functions report failure by their result and never show a message.
#pragma once

constexpr int FILE_PATH_MAX = 200;  // longest path, without the terminator

// --- Time stamps -------------------------------------------------------------

// A local date and time: year - 1900, month 1-12, day 1-31, hour 0-23,
// minute, second. All six bytes zero: no time known.
struct TimeRecord {
    unsigned char year, month, day, hour, minute, second;
};
static_assert(sizeof(TimeRecord) == 6, "a TimeRecord is stored as 6 bytes");

// --- File attributes -----------------------------------------------------------

// The attribute bits of a file (the values the system itself uses).
constexpr int FILE_ATTR_READONLY = 0x01;
constexpr int FILE_ATTR_HIDDEN = 0x02;
constexpr int FILE_ATTR_SYSTEM = 0x04;
constexpr int FILE_ATTR_DIRECTORY = 0x10;
constexpr int FILE_ATTR_ARCHIVE = 0x20;

// The hooks through which the platform supplies attributes, times, a file's
// identity and the replacing rename (FileHooks, files_set_hooks) are declared
// with the other device tables in support/devices.h.

// The attributes of a file or directory, -1 if it does not exist.
int file_attributes(const char* path);
// Sets the attributes of a file; 0, or -1 on failure.
int set_file_attributes(const char* path, int attributes);

// --- Raw files -------------------------------------------------------------------

// Binary, shareable for reading and writing by others; a handle is a small
// non-negative integer, -1 means failure. A directory is never opened.

// Creates the file or truncates an existing one, for reading and writing;
// a new file gets read and write permission.
int file_create(const char* path);
// mode 0: read only; mode 2: read and write, read only when that fails.
// Other modes fail.
int file_open(const char* path, int mode);
// 0, or -1 on failure.
int file_close(int handle);
// Everything written so far goes to the disk itself, not only to the system's
// cache (FlushFileBuffers): 0, or -1 on failure.
int file_flush(int handle);
// Bytes read or written, -1 on failure.
int file_read(int handle, void* buf, int n);
int file_write(int handle, const void* buf, int n);
// whence 0 start, 1 current, 2 end; the new position, -1 on failure.
long file_seek(int handle, long offset, int whence);

// --- Line file -------------------------------------------------------------------

constexpr int LF_BLOCK_SIZE = 2048;   // the block buffer normally used
constexpr int LF_RESERVE_SIZE = 100;  // the built-in block when none can be had

// What the line reader dropped beyond its lossless rules (trailing white
// space of a line, CR LF or LF as line ends, one Ctrl-Z as the file's last
// byte): what a caller that keeps the lines would lose of the file.
struct LineLoss {
    int cutLines;     // lines cut at max with more than white space dropped
    int nulLines;     // lines holding a NUL (a stored line ends at the first)
    int loneCRs;      // CRs not followed by LF (they vanish)
    long afterEof;    // bytes after the Ctrl-Z that ended the file
    bool readFailed;  // a read of the file failed: what followed was not read
};

// A buffered view of one file, a block at a time. The caller owns the record
// (usually on its stack). The file position of the next byte is
// blockIndex * blockSize + position. The record points into itself when it
// uses its reserve, so it must not be copied while open.
struct LineFile {
    int handle;       // raw file handle, -1 when closed
    long blockIndex;  // the file block in the buffer, -1 = none
    int position;     // offset of the next byte in the buffer
    int dirtyFrom;    // bytes [dirtyFrom, dirtyTo) changed since the block was
    int dirtyTo;      //   loaded; equal: nothing changed
    int valid;        // bytes of file data in the buffer
    char* buffer;     // the block buffer: allocated, or reserve
    int blockSize;    // size of buffer in bytes
    bool writeFailed;  // some write-back failed: lf_close reports it
    LineLoss loss;     // what the reads since lf_open dropped
    bool crPending;    // the last byte taken was a CR whose follower is not yet read
    bool eofSeen;      // a Ctrl-Z ended the file (loss.afterEof is known)
    // Where the line reader saw the next Ctrl-Z and the next NUL of the buffer
    // (valid when none stands between), looking from `from`; from < 0: not looked.
    struct NextByte { int from, at; } nextCtrlZ, nextNul, nextCr;
    char reserve[LF_RESERVE_SIZE];
};

// Clears the record, opens the file (read-write, else read-only), takes a
// block buffer of LF_BLOCK_SIZE bytes (or the reserve) and loads block 0.
// The handle, or -1 (the record is then closed).
int lf_open(LineFile* lf, const char* path);
// Copies the next n bytes: 0 when all n were delivered, -1 when the file
// ended first (the bytes up to the end are delivered all the same).
int lf_read(LineFile* lf, void* buf, int n);
// Writes n bytes at the current position into the buffer (the file gets
// them when the block is left or the file closed); 0, or -1 when writing
// back a block failed on the way.
int lf_write(LineFile* lf, const void* buf, int n);
// Moves to the absolute file position pos, writing back changed bytes when
// the block changes; -1 when writing back failed or pos < 0, else 0.
int lf_seek(LineFile* lf, long pos);
// The file position of the next byte.
long lf_tell(const LineFile* lf);
// Reads the next line into buf, which must hold max + 1 bytes. CR is
// dropped wherever it stands, LF ends the line, Ctrl-Z (26) ends line and
// file without being consumed; characters beyond max are consumed and
// dropped; NUL bytes are stored like other characters. The number of
// characters stored, or -1 when no byte at all was consumed (end of file).
// What the rules drop beyond the lossless ones is counted in lf->loss; a
// failed read ends the file and sets lf->loss.readFailed.
int lf_read_line(LineFile* lf, char* buf, int max);
// lf_read_line with max 78: the short lines of the tools' list files.
int lf_gets(LineFile* lf, char* buf);
// Writes back changed bytes, closes the file, releases the buffer; 0, or -1
// when writing back (now or at any block change since lf_open) or closing
// failed, or the record was not open.
int lf_close(LineFile* lf);

// --- Whole files -------------------------------------------------------------

// True if the file can be opened (read-write, else read-only).
bool file_exists(const char* path);
// The size in bytes, -1 if the file cannot be opened.
long file_size(const char* path);
// The modification time in local time: 0; -1 with t all zero when the file
// or directory does not exist; 0 with t all zero when the time cannot be
// expressed as a TimeRecord.
int file_time(const char* path, TimeRecord* t);
// The modification time as the file system keeps it, in UTC (no zone or
// daylight rule applied); results as file_time.
int file_time_utc(const char* path, TimeRecord* t);
// Sets access and modification time to t (local time; daylight saving
// decided by the system). 0, or -1 on failure or when t is no valid time.
int set_file_time(const char* path, const TimeRecord* t);
// 0, or -1 on failure.
int file_delete(const char* path);
// Renames the file from to the name to (both may lie in other directories
// of the same drive): 0, or -1 on failure. An existing file or directory
// named to is never replaced: the rename fails and both stay as they are.
int file_rename(const char* from, const char* to);
// True when a and b both exist and are one file or directory, whatever their
// spelling ("sub/../x", another case, a link): the system's identity of the
// file (volume and file index, device and inode) decides.
bool file_same(const char* a, const char* b);
// The file from takes the name to in one step, replacing a file named to (never
// a directory): 0, or -1 with both as they were.
int file_replace(const char* from, const char* to);
// A second name for the file existing (a hard link), where the file system has
// them: 0, or -1 with nothing made.
int file_link(const char* existing, const char* name);
// Copies src to dst byte for byte and gives dst the time and attributes of
// src: 0, or -1 with no dst left behind. A file is never copied onto itself.
int file_copy(const char* src, const char* dst);

// --- Paths -------------------------------------------------------------------------

// Offset of the file name: after the last '/', '\' or ':'; 0 if none.
int path_name_pos(const char* path);
// The directory part with its trailing separator into dst; its length.
// -1 (dst empty) for a path longer than FILE_PATH_MAX.
int path_dir(char* dst, const char* path);
// The extension without the dot (after the last '.' of the file name) into
// dst; its length; empty when the name has no dot or the path is shorter
// than 2 characters. -1 (dst empty) for a path longer than FILE_PATH_MAX.
int path_ext(char* dst, const char* path);
// Replaces the extension of the file name by ext, or appends '.' and ext.
// 0, or -1 (path unchanged) when the result would exceed FILE_PATH_MAX.
int path_set_ext(char* path, const char* ext);
// Appends a separator unless the path is empty or already ends in one: the
// last separator found in the path, '/' when there is none. 0, or -1 (path
// unchanged) when the path already has FILE_PATH_MAX characters.
int path_add_sep(char* path);
// Removes one trailing '/' or '\'.
void path_strip_sep(char* path);
// Every '/' and '\' becomes the first separator found in the path.
void path_unify_seps(char* path);
// Every '/' becomes '\' (for the system's program-start functions).
void path_backslash(char* path);
// Display form: a path shorter than 40 characters as it is; else "..." and
// its last 40 characters, cut at their first separator. Longer paths are
// returned in a buffer shared by all calls.
const char* path_short(const char* path);

// --- Directories -------------------------------------------------------------

// The current directory into buf (FILE_PATH_MAX + 1 bytes): 0, or -1 with
// buf empty when it cannot be had or is longer than FILE_PATH_MAX.
int get_cwd(char* buf);
// Makes the path's drive the current drive (Windows, "X:..." only), then
// changes to path: 0, or -1 with the current drive and directory kept.
int change_dir(const char* path);

// Results of make_dirs.
constexpr int MKDIR_OK = 0;
constexpr int MKDIR_NO_DRIVE = 1;    // the drive is not available
constexpr int MKDIR_CANT_CREATE = 2;  // a directory could not be created
constexpr int MKDIR_CANT_ENTER = 3;   // a created directory could not be entered
// Creates every missing directory of path (relative paths start at the
// current directory; blanks around the path are ignored). The current
// directory (and that of the path's drive) are the same afterwards.
int make_dirs(const char* path);

// Receives one entry of dir_list: size 0 for directories; fullPath is the
// directory, '\' and the name. Returning 0 stops the listing.
using DirListCallback = int (*)(bool isDir, const char* fullPath, long size,
                                const TimeRecord* time, void* user);
// Calls callback for every entry of the pattern's directory (the part before
// its last separator, "." when none) whose name matches the name pattern
// (the rest, "*" when empty) without regard to case: '*' any run, '?' one
// character, '#' one digit. Never for "." and "..", nor for entries whose
// full path would exceed FILE_PATH_MAX. Entries come in the system's order.
// The number of callbacks made, or -1 when the directory cannot be read.
int dir_list(const char* pattern, DirListCallback callback, void* user);

// --- Test seams --------------------------------------------------------------

// While on, every buffer allocation of this module fails (the reserve and
// fallback buffers are used).
void files_test_fail_alloc(bool on);
// After n more successful file_write calls every call fails; n < 0: never.
void files_test_fail_writes_after(int n);
// After n more successful file_read calls every call fails; n < 0: never.
void files_test_fail_reads_after(int n);
// Every call of an operation a save depends on counts: file_create,
// file_open, file_write, file_close, file_rename, file_replace, file_delete, set_file_time
// and set_file_attributes (also when another function of this module makes
// it: lf_open, lf_close, file_size, file_exists, file_copy). The call with
// index k from now (0-based) fails as the system's would and does nothing,
// except that a failing file_close still releases its handle, as a real one
// does. k < 0: no call fails. Setting the seam starts the count at 0.
void files_test_fail_call(int k);
// The calls counted since the seam was last set.
int files_test_calls();
