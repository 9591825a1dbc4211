// The line file: a buffered view of one file, a block at a time, and the line
// reader every module reads text files with.
#include "support/files.h"
#include "support/files_sys.h"
#include "support/strfunc.h"

#include <cstring>

using files_sys::buffer_alloc;
using files_sys::buffer_release;

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

// The buffer's bytes changed: what the reader saw of them is forgotten.
void lf_forget_seen(LineFile* lf) { lf->nextCtrlZ = lf->nextNul = lf->nextCr = LineFile::NextByte{-1, 0}; }

// Makes block the one in the buffer, writing back the current one first;
// a failed read leaves an empty block. -1 when writing back failed.
int lf_load(LineFile* lf, long block) {
    lf_forget_seen(lf);
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
    lf_forget_seen(lf);
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

// How a part of a line ends: at the LF that ends the line, at a Ctrl-Z, or at
// the end of the block (what follows is not yet read).
enum class PartEnd { Lf, CtrlZ, BlockEnd };

// Appends the n bytes at src to buf without their CRs, as far as max allows,
// and counts the CRs that no LF follows (a CR that ended the previous block,
// crPending, is decided by the first byte of this part). True when a byte
// other than white space was dropped past max.
bool take_part(LineFile* lf, char* buf, int* stored, int max, const char* src, int n, PartEnd end) {
    if (lf->crPending) {
        lf->crPending = false;
        if (n > 0 || end != PartEnd::Lf) ++lf->loss.loneCRs;
    }
    bool cut = false;
    for (int at = 0; at < n;) {
        const void* cr = std::memchr(src + at, '\r', static_cast<size_t>(n - at));
        const int run = cr != nullptr ? static_cast<int>(static_cast<const char*>(cr) - src) - at : n - at;
        const int take = run < max - *stored ? run : max - *stored;
        std::memcpy(buf + *stored, src + at, static_cast<size_t>(take));
        *stored += take;
        for (int i = take; i < run && !cut; ++i) cut = !is_white(static_cast<unsigned char>(src[at + i]));
        at += run;
        if (cr == nullptr) break;
        if (at < n - 1 || end == PartEnd::CtrlZ) ++lf->loss.loneCRs;
        else if (end == PartEnd::BlockEnd) lf->crPending = true;
        ++at;
    }
    return cut;
}

// The buffer offset of the first byte ch at or after offset from, or
// lf->valid: looked for again only when the reader has passed the last one
// seen, so a line costs no search of its own for bytes that are rare.
int next_in_buffer(LineFile* lf, LineFile::NextByte* seen, int from, char ch) {
    if (seen->from < 0 || from < seen->from || from > seen->at) {
        const void* at = std::memchr(lf->buffer + from, ch, static_cast<size_t>(lf->valid - from));
        *seen = {from, at != nullptr ? static_cast<int>(static_cast<const char*>(at) - lf->buffer) : lf->valid};
    }
    return seen->at;
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

// The usual line: it ends with an LF in the buffer, fits max, holds no
// Ctrl-Z, NUL or CR but perhaps one before the LF, and no CR is pending. Read
// whole, its length; -1 for any other line (nothing read).
int read_plain_line(LineFile* lf, char* buf, int max) {
    if (lf->crPending || lf->position >= lf->valid) return -1;
    const char* start = lf->buffer + lf->position;
    const void* lf_at = std::memchr(start, '\n', static_cast<size_t>(lf->valid - lf->position));
    if (lf_at == nullptr) return -1;
    const int end = lf->position + static_cast<int>(static_cast<const char*>(lf_at) - start);  // the LF
    if (next_in_buffer(lf, &lf->nextCtrlZ, lf->position, 26) < end ||
        next_in_buffer(lf, &lf->nextNul, lf->position, '\0') < end) {
        return -1;
    }
    const int cr = next_in_buffer(lf, &lf->nextCr, lf->position, '\r');
    if (cr < end - 1) return -1;
    const int n = (cr == end - 1 ? end - 1 : end) - lf->position;
    if (n > max) return -1;
    std::memcpy(buf, start, static_cast<size_t>(n));
    buf[n] = '\0';
    lf->position = end + 1;
    return n;
}

}  // namespace

int lf_read_line(LineFile* lf, char* buf, int max) {
    if (max < 0) max = 0;
    if (lf_is_open(lf)) {
        const int n = read_plain_line(lf, buf, max);
        if (n >= 0) return n;
    }
    int stored = 0;
    bool consumed = false, cut = false, nulSeen = false;
    // The line is searched block by block with memchr: the LF that ends it, or
    // a Ctrl-Z before it, which ends line and file and is left in place.
    while (lf_is_open(lf) && lf_byte_ready(lf)) {
        const char* start = lf->buffer + lf->position;
        const int available = lf->valid - lf->position;
        const void* lf_at = std::memchr(start, '\n', static_cast<size_t>(available));
        int part = lf_at != nullptr ? static_cast<int>(static_cast<const char*>(lf_at) - start) : available;
        const int ctrl_z = next_in_buffer(lf, &lf->nextCtrlZ, lf->position, 26) - lf->position;
        const bool eof_at = ctrl_z < part;
        if (eof_at) part = ctrl_z;
        if (next_in_buffer(lf, &lf->nextNul, lf->position, '\0') - lf->position < part) nulSeen = true;
        if (take_part(lf, buf, &stored, max, start, part,
                      eof_at ? PartEnd::CtrlZ : lf_at != nullptr ? PartEnd::Lf : PartEnd::BlockEnd)) {
            cut = true;
        }
        lf->position += part;
        if (part > 0) consumed = true;
        if (eof_at) {
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
    // A NUL the line's bytes held may have stood past max, where nothing was kept.
    if (nulSeen && std::memchr(buf, '\0', static_cast<size_t>(stored)) != nullptr) ++lf->loss.nulLines;
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

