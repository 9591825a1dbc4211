#include "shell/startup.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "document/docfile.h"
#include "framework/messages.h"
#include "support/platform.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/strfunc.h"
#include "view/search.h"

namespace {

// What the command line left for the modules that open files, apply the
// start line and search: they take it when the loop runs.
struct StartupState {
    char pending[PENDING_FILES_MAX][PENDING_NAME_MAX + 1];  // a ring, oldest at first
    int first;
    int count;
    int startLine;                         // -1: none
};
StartupState S = {{}, 0, 0, -1};

// Copies at most max characters of value into an option of max + 1 bytes.
void copyOption(char* option, const char* value, int max) { str_ncopy(option, value, max); }

// A decimal number as atol reads it, limited to the int range instead of
// overflowing; p moves past it. False when there is no digit.
bool readDecimal(const char*& p, int* out) {
    while (is_white(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!is_digit(static_cast<unsigned char>(*p))) return false;
    long long v = 0;
    for (; is_digit(static_cast<unsigned char>(*p)); ++p) {
        if (v <= INT_MAX) v = v * 10 + (*p - '0');
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    *out = static_cast<int>(v);
    return true;
}

int decimalValue(const char* value) {
    int n = 0;
    return readDecimal(value, &n) ? n : 0;
}

int colourPart(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

// One entry "key value" applied.
void applyEntry(StartConfig* c, const char* entry) {
    const char* blank = std::strchr(entry, ' ');
    if (!blank) return;
    const std::string_view key(entry, static_cast<size_t>(blank - entry));
    const char* value = blank + 1;
    while (is_white(static_cast<unsigned char>(*value))) ++value;

    if (key == "Class") copyOption(c->className, value, CONFIG_CLASS_MAX);
    else if (key == "Name") copyOption(c->title, value, CONFIG_NAME_MAX);
    else if (key == "Font") copyOption(c->font, value, CONFIG_SHORT_MAX);
    else if (key == "LargeIcon") copyOption(c->largeIcon, value, CONFIG_SHORT_MAX);
    else if (key == "SmallIcon") copyOption(c->smallIcon, value, CONFIG_SHORT_MAX);
    else if (key == "Single") c->single = decimalValue(value);
    else if (key == "Maxi") c->maxi = decimalValue(value);
    else if (key == "DDEServer") c->ddeServer = decimalValue(value);
    else if (key == "CStyle") styleParse(value, &c->classStyle);
    else if (key == "WStyle") styleParse(value, &c->windowStyle);
    else if (key == "WPFile") copyOption(c->wpFile, value, CONFIG_SHORT_MAX);
    else if (key == "WPSection") copyOption(c->wpSection, value, CONFIG_SHORT_MAX);
    else if (key == "BGColor") backgroundParse(c, value);
    else if (key == "BGBitmap") {
        copyOption(c->bgBitmap, value, CONFIG_SHORT_MAX);
        c->background = Background::Bitmap;
    }
}

// A leading ' or " of a word of at least three characters removed, and the
// same quote at its end. A word without the closing quote keeps its last
// character: it is part of the name.
void unquote(char* out, const char* word, int max) {
    size_t n = std::strlen(word);
    if ((word[0] == '"' || word[0] == '\'') && n >= 3) {
        const char quote = word[0];
        ++word;
        --n;
        if (word[n - 1] == quote) --n;
    }
    if (n > static_cast<size_t>(max)) n = static_cast<size_t>(max);
    std::memcpy(out, word, n);
    out[n] = '\0';
}

// A file name of the command line queued and its open command posted.
void commandLineFile(const char* word) {
    char name[ARG_LINE_MAX + 1];
    unquote(name, word, ARG_LINE_MAX);
    if (pendingFilePush(name)) plat_post_command(CMD_OPEN_PENDING, 0);
}

// "-x" followed by one separator character: what comes after it ("" when the
// word ends before).
const char* optionValue(const char* word) { return std::strlen(word) >= 3 ? word + 3 : ""; }

void commandLineOption(const char* word) {
    const char* value = optionValue(word);
    switch (word[1]) {
    case 'l': {
        int line = 0;
        const char* p = value;
        if (readDecimal(p, &line) && line >= 1) S.startLine = line - 1;
        break;
    }
    case 'f':
        commandLineFile(value);
        break;
    case 's': {
        char text[START_SEARCH_MAX + 1];
        unquote(text, value, START_SEARCH_MAX);
        if (text[0]) searchTextSet(text);  // what F12 and the search dialog look for
        break;
    }
    default:
        break;  // another letter: not an option of this program
    }
}

}  // namespace

// ---------------------------------------------------------------- start-up options

void configDefaults(StartConfig* c) {
    std::memset(c, 0, sizeof *c);
    std::strcpy(c->className, "ZEMOtest");
    std::strcpy(c->title, "ZEMO Testprogramm");
    std::strcpy(c->font, "Fixedsys");
    std::strcpy(c->largeIcon, "ANW_ICON");
    std::strcpy(c->smallIcon, "ANW_ICON");
    c->single = 0;
    c->maxi = 0;
    c->ddeServer = 1;
    c->classStyle = 0x8;
    c->windowStyle = 0x3CF0000;
    c->background = Background::Workspace;
}

void configApply(StartConfig* c, const char* data, std::size_t size) {
    if (!data) return;
    std::size_t pos = 0;
    while (pos < size) {
        const void* nul = std::memchr(data + pos, '\0', size - pos);
        if (!nul) return;  // cut off by the end: not a whole entry
        const char* entry = data + pos;
        const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(nul) - entry);
        if (length == 0) return;  // the empty entry ends the run
        applyEntry(c, entry);
        pos += length + 1;
    }
}

bool backgroundParse(StartConfig* c, const char* value) {
    if (str_cmp_nocase(value, "System") == 0) {
        c->background = Background::System;
        return true;
    }
    int rgb[3];
    const char* p = value;
    for (int& part : rgb) {
        if (!readDecimal(p, &part)) return false;
    }
    c->red = colourPart(rgb[0]);
    c->green = colourPart(rgb[1]);
    c->blue = colourPart(rgb[2]);
    c->background = Background::Colour;
    return true;
}

bool styleParse(const char* value, std::uint32_t* style) {
    const char* p = value;
    while (is_white(static_cast<unsigned char>(*p))) ++p;
    std::uint64_t v = 0;
    int digits = 0;
    for (;; ++p, ++digits) {
        const int c = static_cast<unsigned char>(*p);
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else break;
        v = v * 16 + static_cast<std::uint64_t>(d);
        if (v > 0xFFFFFFFFu) return false;  // wrapped style bits would be a different window
    }
    if (digits == 0) return false;
    *style = static_cast<std::uint32_t>(v);
    return true;
}

// ---------------------------------------------------------------- the settings file template

int installTemplatePath(char* out, const char* program) {
    out[0] = '\0';
    char dir[FILE_PATH_MAX + 1];
    if (path_dir(dir, program) < 0) return -1;
    static constexpr char kName[] = "Y8.ini";
    if (std::strlen(dir) + std::strlen(kName) > FILE_PATH_MAX) return -1;
    std::strcpy(out, dir);
    std::strcat(out, kName);
    return static_cast<int>(std::strlen(out));
}

// ---------------------------------------------------------------- command line

void startupReset() {
    S.first = 0;
    S.count = 0;
    S.startLine = -1;
}

void commandLineProcess() {
    const int count = arg_count();
    for (int i = 1; i < count; ++i) {
        const char* word = arg_value(i);
        if (word[0] == '-') commandLineOption(word);
        else if (word[0]) commandLineFile(word);
    }
    plat_post_command(CMD_PLACE_WINDOW, 0);
}

bool pendingFilePush(const char* name) {
    const std::size_t n = std::strlen(name);
    if (n == 0 || n > PENDING_NAME_MAX || S.count == PENDING_FILES_MAX) return false;
    std::strcpy(S.pending[(S.first + S.count) % PENDING_FILES_MAX], name);
    ++S.count;
    return true;
}

bool pendingFileTake(char* name) {
    name[0] = '\0';
    if (S.count == 0) return false;
    std::strcpy(name, S.pending[S.first]);
    S.first = (S.first + 1) % PENDING_FILES_MAX;
    --S.count;
    return true;
}

int pendingFileCount() { return S.count; }

int startLineTake() {
    const int line = S.startLine;
    S.startLine = -1;
    return line;
}


// ---------------------------------------------------------------- shut-down

bool shutdownMayEnd() {
    if (askSave(0)) return true;
    message_box_fmt("Der Text ist nicht gesichert: das Programm bleibt ge\366ffnet.");
    return false;
}

// ---------------------------------------------------------------- dropped files

int dropCommandLine(char* out, int size, const char* program, const char* file) {
    if (size < 1) return -1;
    out[0] = '\0';
    if (!program || !file || !*program || !*file) return -1;
    if (std::strchr(program, '"') || std::strchr(file, '"')) return -1;
    const int n = std::snprintf(out, static_cast<size_t>(size), "\"%s\" \"%s\"", program, file);
    if (n < 0 || n >= size || n > DROP_LINE_MAX) {
        out[0] = '\0';
        return -1;
    }
    return n;
}

bool dropFilesHandle(int count, DropFileReader fileAt, char* first) {
    first[0] = '\0';
    if (count < 1) return false;
    const int taken = count < DROP_FILES_MAX ? count : DROP_FILES_MAX;
    char program[FILE_PATH_MAX + 1];
    const bool copies = plat_program_path(program, sizeof program);  // never word 0: it may be relative
    bool refused = false;
    for (int i = 1; copies && i < taken; ++i) {
        char name[FILE_PATH_MAX + 1];
        char line[DROP_LINE_MAX + 1];
        const int length = fileAt(i, name);
        refused = refused || length < 0;
        if (length > 0 && dropCommandLine(line, sizeof line, program, name) > 0) run_program(line);
    }
    const int length = fileAt(0, first);
    if (length < 1) first[0] = '\0';
    // A name too long to be read whole is never cut into another's: the user learns why it did not open.
    if (refused || length < 0) message_box_fmt("Ein Dateiname ist zu lang: die Datei wird nicht ge\366ffnet.");
    return length > 0;
}

// ---------------------------------------------------------------- DDE service

bool ddeServiceMatches(const char* asked, const char* className) {
    if (!asked || !className) return false;
    char name[DDE_SERVICE_MAX + 1];
    str_ncopy(name, asked, DDE_SERVICE_MAX);
    return std::strcmp(name, className) == 0;
}

void ddeExecuteTake(const void* data, std::size_t size, const char* topic, char* text, char* topicOut) {
    const std::size_t n = data ? (size < DDE_DATA_MAX ? size : DDE_DATA_MAX) : 0;
    if (n) std::memcpy(text, data, n);
    text[n] = '\0';
    str_ncopy(topicOut, topic ? topic : "", DDE_TOPIC_MAX);
}

void ddeExecuteHook(const char* text, const char* topic) { debug_out("dde %s %s\n", text, topic); }

// ---------------------------------------------------------------- about box

void aboutPlace(int screenWidth, int screenHeight, int boxWidth, int boxHeight, int* x, int* y) {
    const int left = (screenWidth - boxWidth) / 2;
    const int top = (screenHeight - boxHeight) / 3;
    *x = left > 0 ? left : 0;
    *y = top > 0 ? top : 0;
}
