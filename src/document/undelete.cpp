// The undelete buffers: the block, line and piece buffers.
#include "document/undelete.h"

#include <cstring>

#include "framework/messages.h"
#include "support/platform.h"

namespace {

constexpr const char* kModule = "undelete";
constexpr int kSpare = 2;  // zero bytes behind each area: a cut text stays terminated

// The module's state: the three areas and their positions (byte offsets).
struct Undelete {
    char* zbram = nullptr;    // ZBRSUP + 2 bytes: texts oldest first
    char* zwram = nullptr;    // ZWRSUP + 2 bytes: texts newest first
    char* cutxt = nullptr;    // CUSUP + 2 bytes: texts newest first
    int blockEnd = 0;         // end of the stored texts in zbram (at most ZBRSUP + 1)
    int blockRead = 0;        // next text of zbram to read
    bool blockRestart = true; // the next blockStore empties zbram first
    int lineRead = 0;         // next text of zwram to read (0..ZWRSUP)
    int pieceRead = 0;        // next text of cutxt to read (0..CUSUP - 1)
};

Undelete state;

// Characters of text that a buffer keeps: up to the first NUL, at most a line.
int textLength(const char* text) {
    const void* nul = std::memchr(text, '\0', UNDELETE_TEXT_MAX);
    return nul ? static_cast<int>(static_cast<const char*>(nul) - text) : UNDELETE_TEXT_MAX;
}

// Copies the text at offset pos of an area of size bytes to out (at most
// UNDELETE_TEXT_MAX characters and a NUL). The text ends at its NUL or at the
// end of the area, whichever comes first; the result is the bytes it takes
// in the area including its NUL, so that pos + result is the next text.
int readText(const char* area, int size, int pos, char* out) {
    const int room = size - pos;
    const void* nul = std::memchr(area + pos, '\0', static_cast<std::size_t>(room));
    const int length = nul ? static_cast<int>(static_cast<const char*>(nul) - (area + pos)) : room;
    const int copied = length < UNDELETE_TEXT_MAX ? length : UNDELETE_TEXT_MAX;
    std::memcpy(out, area + pos, static_cast<std::size_t>(copied));
    out[copied] = '\0';
    return length + 1;
}

// Puts length characters of text and a NUL in front of an area of size
// bytes; the rest moves back and what passes the end falls off. The spare
// bytes behind the area are never written.
void putInFront(char* area, int size, const char* text, int length) {
    const int taken = length + 1;
    std::memmove(area + taken, area, static_cast<std::size_t>(size - taken));
    std::memcpy(area, text, static_cast<std::size_t>(length));
    area[length] = '\0';
}

void clearAreas() {
    std::memset(state.zbram, 0, ZBRSUP + kSpare);
    std::memset(state.zwram, 0, ZWRSUP + kSpare);
    std::memset(state.cutxt, 0, CUSUP + kSpare);
    state.blockEnd = 0;
    state.blockRead = 0;
    state.blockRestart = true;
    state.lineRead = 0;
    state.pieceRead = 0;
}

}  // namespace

void undeleteCreate() {
    if (!state.zbram) {
        Y8_ASSERT(kModule, 50, (state.zbram = static_cast<char*>(fmalloc(ZBRSUP + kSpare, 1))) != nullptr,
                  "(zbram=fmalloc(ZBRSUP+2,1)) != NULL");
        Y8_ASSERT(kModule, 52, (state.zwram = static_cast<char*>(fmalloc(ZWRSUP + kSpare, 1))) != nullptr,
                  "(zwram=fmalloc(ZWRSUP+2,1)) != NULL");
        Y8_ASSERT(kModule, 54, (state.cutxt = static_cast<char*>(fmalloc(CUSUP + kSpare, 1))) != nullptr,
                  "(cutxt=fmalloc(CUSUP+2,1)) != NULL");
    }
    clearAreas();
}

void undeleteDestroy() {
    ffree(state.zbram);
    ffree(state.zwram);
    ffree(state.cutxt);
    state = Undelete{};
}

// ---------------------------------------------------------------- block buffer

void blockStore(const char* text) {
    if (!state.zbram) return;
    if (!text) text = "";
    if (state.blockRestart) {
        state.blockRestart = false;
        state.blockEnd = 0;
        state.blockRead = 0;
        std::memset(state.zbram, 0, ZBRSUP + kSpare);
    }
    if (state.blockEnd >= ZBRSUP) return;
    const int room = ZBRSUP - state.blockEnd;
    int length = textLength(text);
    if (length > room) length = room;
    std::memcpy(state.zbram + state.blockEnd, text, static_cast<std::size_t>(length));
    state.zbram[state.blockEnd + length] = '\0';  // at most index ZBRSUP: a spare byte
    state.blockEnd += length + 1;
}

int blockFetch(bool first, char* out) {
    out[0] = '\0';
    state.blockRestart = true;
    if (!state.zbram) return -1;
    if (first) state.blockRead = 0;
    if (state.blockRead >= state.blockEnd) return -1;
    state.blockRead += readText(state.zbram, state.blockEnd, state.blockRead, out);
    return 0;
}

void blockRestartSet() { state.blockRestart = true; }

int blockToClipboard() {
    state.blockRestart = true;
    if (!state.zbram || state.blockEnd == 0) return -1;
    // Every text gains two characters, so an area of empty texts doubles: the
    // scratch block is sized for twice the area with its spare bytes.
    constexpr int kClipBytes = 2 * (ZBRSUP + kSpare);
    char* text = static_cast<char*>(fmalloc_scratch(kClipBytes, 1));
    if (text == nullptr) return -1;
    // A text of n characters takes n + 1 bytes of the area and n + 2 of the
    // clipboard text: at most 2 * blockEnd bytes, and the NUL fits behind.
    int at = 0;
    for (int pos = 0; pos < state.blockEnd;) {
        const char* from = state.zbram + pos;
        const void* nul = std::memchr(from, '\0', static_cast<std::size_t>(state.blockEnd - pos));
        const int length = nul ? static_cast<int>(static_cast<const char*>(nul) - from) : state.blockEnd - pos;
        std::memcpy(text + at, from, static_cast<std::size_t>(length));
        at += length;
        text[at++] = '\r';
        text[at++] = '\n';
        pos += length + 1;
    }
    text[at] = '\0';
    clip_put_or_tell(text);
    ffree(text);
    return 0;
}

// ---------------------------------------------------------------- line buffer

void lineStore(const char* text) {
    if (!state.zwram) return;
    if (!text) text = "";
    const int length = textLength(text);
    putInFront(state.zwram, ZWRSUP, text, length);
    // The reading position moves with the texts, so that it stays at the
    // start of a text.
    state.lineRead += length + 1;
    if (state.lineRead > ZWRSUP) state.lineRead = ZWRSUP;
}

int lineFetch(char* out, bool again) {
    out[0] = '\0';
    if (!state.zwram) return -1;
    if (!again) state.lineRead = 0;
    if (state.lineRead >= ZWRSUP) return -1;
    state.lineRead += readText(state.zwram, ZWRSUP, state.lineRead, out);
    if (state.lineRead > ZWRSUP) state.lineRead = ZWRSUP;
    return 0;
}

// ---------------------------------------------------------------- piece buffer

void pieceStore(const char* text, int n) {
    if (!state.cutxt) return;
    if (n <= 0) return;
    if (n > UNDELETE_TEXT_MAX) n = UNDELETE_TEXT_MAX;
    if (!text) text = "";
    char piece[UNDELETE_TEXT_MAX + 1];
    const void* nul = std::memchr(text, '\0', static_cast<std::size_t>(n));
    const int given = nul ? static_cast<int>(static_cast<const char*>(nul) - text) : n;
    std::memcpy(piece, text, static_cast<std::size_t>(given));
    std::memset(piece + given, ' ', static_cast<std::size_t>(n - given));
    int from = 0;
    int to = n;
    while (from < to && piece[from] == ' ') ++from;
    while (to > from && piece[to - 1] == ' ') --to;
    if (from == to) {
        putInFront(state.cutxt, CUSUP, " ", 1);
    } else {
        putInFront(state.cutxt, CUSUP, piece + from, to - from);
    }
    state.pieceRead = 0;
}

int pieceFetch(char* out, bool again) {
    out[0] = '\0';
    if (!state.cutxt) return -1;
    if (!again) state.pieceRead = 0;
    if (state.cutxt[state.pieceRead] == '\0') return -1;
    state.pieceRead += readText(state.cutxt, CUSUP, state.pieceRead, out);
    if (state.pieceRead >= CUSUP) state.pieceRead = 0;
    return 0;
}

// ---------------------------------------------------------------- for tests

const char* zbramBytes() { return state.zbram; }
const char* zwramBytes() { return state.zwram; }
const char* cutxtBytes() { return state.cutxt; }
int blockEndGet() { return state.blockEnd; }
