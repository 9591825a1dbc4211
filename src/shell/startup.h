// Start-up: the options carried in the resource ANW_CONFIG, the command line
// turned into posted commands, what happens to dropped files, and the rule by
// which the DDE service takes an execute.
//
// Portable: the Win32 side (shell/mainwin_win32.cpp) hands in the resource's
// bytes, the dropped files and the DDE data, and carries out the results.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------- start-up options

constexpr int CONFIG_NAME_MAX = 80;   // characters of Name (the caption)
constexpr int CONFIG_CLASS_MAX = 40;  // characters of Class (class and DDE service name)
constexpr int CONFIG_SHORT_MAX = 20;  // Font, LargeIcon, SmallIcon, WPFile, WPSection, BGBitmap

// Where the class's background brush comes from.
enum class Background {
    Workspace,  // nothing configured: the system colour of the application workspace
    Colour,     // BGColor "r g b": a solid brush of red, green, blue (each 0..255)
    System,     // BGColor "System": the system brush of the window background colour
    Bitmap,     // BGBitmap: a pattern brush of the bitmap resource bgBitmap
};

// The start-up options, with their defaults after configDefaults.
struct StartConfig {
    char className[CONFIG_CLASS_MAX + 1];  // "ZEMOtest"
    char title[CONFIG_NAME_MAX + 1];       // "ZEMO Testprogramm"
    char font[CONFIG_SHORT_MAX + 1];       // "Fixedsys"; empty: the stock ANSI fixed font
    char largeIcon[CONFIG_SHORT_MAX + 1];  // "ANW_ICON"
    char smallIcon[CONFIG_SHORT_MAX + 1];  // "ANW_ICON"
    int single;                            // 0; nonzero: only one running copy
    int maxi;                              // 0; nonzero: a stored maximized placement shows maximized
    int ddeServer;                         // 1; nonzero: register the DDE service
    std::uint32_t classStyle;              // 0x8: double clicks reported
    std::uint32_t windowStyle;             // 0x3CF0000: overlapped window, clip children, maximize
    char wpFile[CONFIG_SHORT_MAX + 1];     // "": ini file of settings and placements
    char wpSection[CONFIG_SHORT_MAX + 1];  // "": section of the main window placement
    Background background;                 // Workspace
    int red, green, blue;                  // for Background::Colour
    char bgBitmap[CONFIG_SHORT_MAX + 1];   // for Background::Bitmap
};

// Every option to its default.
void configDefaults(StartConfig* config);
// Applies a run of entries of size bytes (the resource's bytes; null or 0 for
// no resource, which leaves every option as it is). Each entry is a text ended
// by a NUL; an empty entry ends the run, and so does the end of the bytes: an
// entry that the end cuts off before its NUL is not applied. An entry is split
// at its first blank into key and value (white space at the value's start is
// skipped); an entry without a blank, an unknown key, a BGColor that is not
// three numbers and a style without hex digits leave the options unchanged.
// Texts longer than their option are cut; numbers are decimal.
void configApply(StartConfig* config, const char* data, std::size_t size);
// BGColor: "System" in any case, or three decimal numbers "%d %d %d" (each
// limited to 0..255). False, with config unchanged, for anything else.
bool backgroundParse(StartConfig* config, const char* value);
// A style: hexadecimal digits without prefix, letters in either case, leading
// white space skipped, reading stops at the first other character. False, and
// style unchanged, without a digit or with more than 32 bits of value.
bool styleParse(const char* value, std::uint32_t* style);

// ---------------------------------------------------------------- the settings file template

// The template the settings file is installed from: "Y8.ini" in the directory
// of program (the program's own full path, never the command line's word 0:
// a relative name would take a Y8.ini from the current folder). Its length, or -1 (out empty)
// when it would be longer than a path may be; out holds 201 bytes.
int installTemplatePath(char* out, const char* program);

// ---------------------------------------------------------------- command line

constexpr int PENDING_FILES_MAX = 20;   // the command line has at most 20 words
constexpr int PENDING_NAME_MAX = 200;   // characters of a pending file name
constexpr int START_SEARCH_MAX = 50;    // characters of the search text of -s

// Forgets the pending file names and the start line.
void startupReset();
// Words 1 to the last of the command line (arg_count/arg_value): a word not
// starting with '-' is a file name (a leading ' or " with at least three
// characters is removed, and the same quote at its end); it is queued and
// command 1009 is posted for it. "-l" with one separator character and a
// number n >= 1: start line n - 1 for the file that is opened next. "-f" with
// a separator and a name: a file name as above. "-s" with a separator and a
// text: the search text of F12 and the search dialog (quotes removed as above,
// at most 50 characters). Other words starting with '-'
// are ignored, and so is a name longer than 200 characters (a cut name would
// be another file). Then command 1008 is posted.
void commandLineProcess();
// Queues a file name for command 1009 (false, nothing queued, for an empty
// name, one longer than 200 characters or a full queue).
bool pendingFilePush(const char* name);
// Takes the oldest pending file name into name (201 bytes): false and name
// empty when none is waiting.
bool pendingFileTake(char* name);
int pendingFileCount();
// The start line of -l (0-based) for the file history, and forgets it; -1
// when none is waiting.
int startLineTake();

// ---------------------------------------------------------------- shut-down

// The shut-down's question "Ge\344ndert, speichern?" (Yes, No): true when the
// program may end (nothing changed, "Nein", or saved); false, after telling the
// user that the program stays open, when "Ja" could not be carried out (the
// save failed or was refused, or its box was cancelled).
bool shutdownMayEnd();

// ---------------------------------------------------------------- dropped files

constexpr int DROP_FILES_MAX = 10;  // files 11 and on are ignored
constexpr int DROP_LINE_MAX = 1000; // longest command line that starts another copy

// Reads dropped file i (0-based) into name (201 bytes): its length, 0 when
// there is no name, or -1 when it cannot be read whole (name empty in both).
using DropFileReader = int (*)(int i, char* name);

// The command line that starts another copy for file: "\"program\" \"file\"",
// so that a path with blanks arrives as one word. Its length, or -1 (out
// empty) for an empty program or file, a double quote in either, or more than
// DROP_LINE_MAX characters; out holds size bytes.
int dropCommandLine(char* out, int size, const char* program, const char* file);
// count files were dropped: files 2 to 10 each start another copy of the
// program (its own path as the system knows it) through run_program; files after the 10th are
// ignored. The first file goes into first (201 bytes) for this window: true
// when there is one to open, false (first empty) when none came or it cannot
// be read. A name among the ten that cannot be read whole is told once.
bool dropFilesHandle(int count, DropFileReader fileAt, char* first);

// ---------------------------------------------------------------- DDE service

constexpr int DDE_SERVICE_MAX = 80;  // characters of a service name compared
constexpr int DDE_DATA_MAX = 200;    // bytes of an execute's data taken
constexpr int DDE_TOPIC_MAX = 80;    // characters of an execute's topic taken

// True when the service asked for (its first 80 characters) is className.
bool ddeServiceMatches(const char* asked, const char* className);
// What an execute hands to the hook: at most 200 bytes of data (size bytes,
// which need not end in a NUL; the text ends at an inner NUL) into text (201
// bytes), at most 80 characters of topic (null: empty) into topicOut (81 bytes).
void ddeExecuteTake(const void* data, std::size_t size, const char* topic, char* text, char* topicOut);
// The execute hook: does nothing but trace "dde <data> <topic>".
void ddeExecuteHook(const char* text, const char* topic);

// ---------------------------------------------------------------- about box

// The top left corner of a box of boxWidth x boxHeight on a screen of
// screenWidth x screenHeight: centred horizontally, its top at one third of
// the free height; never left of or above the screen's corner.
void aboutPlace(int screenWidth, int screenHeight, int boxWidth, int boxHeight, int* x, int* y);
