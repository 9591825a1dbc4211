// The profile file, the command-line words, window placement values and the
// starting of programs and documents: the portable halves of these services.
//
// The ini functions and the starters reach the system only through the plat_
// primitives of support/platform.h; everything that needs no system call
// (bounds, number formats, the command-line split, the quoting of a batch
// parameter) lives here and is tested natively. The window side (placement,
// drops, menus, clipboard) is in profile_win32.h.
#pragma once

// ---------------------------------------------------------------- profile file

constexpr int INI_VALUE_MAX = 79;  // longest value read, without the terminator
constexpr int INI_BUF_SIZE = INI_VALUE_MAX + 1;
constexpr int INI_NUMBER_MAX = 19;  // characters of a value read as a number

// Sets the profile path all ini functions use (a name without a directory lies
// in the Windows directory).
void ini_set_file(const char* path);
// The value of key in section into buf (size bytes, INI_BUF_SIZE unless a
// longer value is wanted): at most size - 1 characters, "" when the key is
// missing. Returns its length.
int ini_read(const char* section, const char* key, char* buf, int size = INI_BUF_SIZE);
// The value (at most 19 characters) read as a decimal number: leading white
// space and a sign allowed, reading stops at the first non-digit; 0 when the
// key is missing or holds no number. Values beyond the int range are clamped.
int ini_read_int(const char* section, const char* key);
// Writes the value.
void ini_write(const char* section, const char* key, const char* value);
// Writes n with "%d".
void ini_write_int(const char* section, const char* key, int n);
// The value of key in section of the ini file named file (a name without a
// directory lies in the Windows directory), for this one call: the profile path
// of ini_set_file is in force again afterwards. At most size - 1 characters
// into buf ("" when missing); returns the length. Values longer than an ordinary
// ini value (a placement of ten numbers) are read with a larger size. A name
// that differs from the profile path only in case is the profile, and its
// spelling is used (the file is never created under a second spelling).
int ini_read_file(const char* file, const char* section, const char* key, char* buf, int size = INI_BUF_SIZE);
// Writes the value into the ini file named file, for this one call.
void ini_write_file(const char* file, const char* section, const char* key, const char* value);
// A file path kept in the profile (FILE_PATH_MAX + 1 bytes): the value trimmed; one
// without a drive and not beginning with a separator lies in the program's folder
// (the folder of command-line word 0), so that an installation can name its files
// relative to the program. Empty when missing or when the path would be too long.
// Returns its length.
int ini_read_path(const char* section, const char* key, char* path);
// When the profile's directory holds no file of the template's name, copies
// the template there. 1 copied, 0 nothing to do (the file exists, or there is
// no template), -1 the copy failed or the path would be too long.
int ini_install(const char* templatePath);

// ---------------------------------------------------------------- command line

constexpr int ARG_LINE_MAX = 1000;  // characters of the command line kept
constexpr int ARG_WORDS_MAX = 20;   // words taken; the rest of the line is ignored

// The number of words of the program's command line (split on first use).
int arg_count();
// Word i (word 0 is the program path as started), or "" when i is out of range.
const char* arg_value(int i);
// Splits line into the word table now, in place of the program's command line:
// at most 1000 characters are kept, and a word that limit cuts through is not
// taken; a word that starts with a double quote runs to the next double quote
// (or the end), quotes removed; any other word runs to the next white space.
// Returns the number of words.
int arg_split(const char* line);
// Forgets the split: the next arg_count or arg_value splits the program's
// command line again.
void arg_reset();

// ---------------------------------------------------------------- window placement

// The ten numbers of a saved window placement, in the order they are stored.
struct PlacementValues {
    int flags;
    int showCommand;
    int minX, minY;  // minimized position
    int maxX, maxY;  // maximized position
    int left, top, right, bottom;  // normal rectangle
};

constexpr int PLACEMENT_SHOW_MINIMIZED = 2;
constexpr int PLACEMENT_SHOW_MAXIMIZED = 3;
// Room for ten numbers of up to 11 characters and their separators: a stored
// value is read in full, never cut at 79 characters into a wrong last number.
constexpr int PLACEMENT_TEXT_SIZE = 10 * 12;

// Writes the ten numbers as "%d %d %d %d %d %d %d %d %d %d" into buf; the
// length, or -1 (buf empty) when it does not fit.
int placement_format(const PlacementValues& values, char* buf, int size);
// Reads ten decimal numbers separated by white space (text after them is
// ignored). False, with values untouched, unless all ten are there and each
// fits an int.
bool placement_parse(const char* text, PlacementValues* values);
// What restoring tells the caller: 1 for a minimized show command, 2 for a
// maximized one, else 0.
int placement_result(int showCommand);

// ---------------------------------------------------------------- programs and documents

// The result of a start that was refused before the system was asked: like
// every system failure it is not above 32.
constexpr int START_REFUSED = 0;
constexpr int START_LINE_MAX = 1000;  // longest command line run_program passes on

// Turns every '/' into '\' and starts the command line shown normally (no shell
// of its own). The system's result (above 31: started), START_REFUSED when the
// line is empty or longer than START_LINE_MAX.
int run_program(const char* cmdline);
// The command line of a program template into out (size bytes): each "%s" of
// tmpl takes the next of the count args ("" when they run out); every other
// character of the template stays, '/' turned into '\'. An argument of plain
// characters only (letters, digits, bytes from 128, "_@$.-:\/+") goes in as it
// is; any other is quoted as shell_quote_append quotes, so that it stays one
// argument and nothing in it can end the line, chain a command, redirect or
// name another program. 0, or -1 (out empty) when an argument cannot be passed
// safely, the template's program (its first word) holds a "%s", or the line
// does not fit.
int program_line(char* out, int size, const char* tmpl, const char* const* args, int count);
// Starts the line program_line builds, shown normally (no shell of its own):
// the system's result, START_REFUSED when the line is refused or empty.
int run_template(const char* tmpl, const char* const* args, int count);
// Opens the file with its associated program, owned by the main window, with
// no parameters, in the file's directory. Above 32 means success.
int open_document(const char* path);
// Starts file through the shell with params as one argument, in dir ('/'
// turned into '\' in file and dir; a trailing separator removed from dir
// unless it is the root). The parameter is quoted so that no character in
// it can split it or chain another command; a parameter that cannot be
// passed safely (a double quote, '%' or a control character in it) starts
// nothing. Above 32 means success; START_REFUSED when refused.
int shell_run(const char* file, const char* params, const char* dir);

// Appends word to out (size bytes) as one argument a command interpreter and
// a program's argument parser both read back unchanged: a blank before it
// when out is not empty, the word in double quotes, backslashes before the
// closing quote doubled. 0, or -1 with out unchanged when the word holds a
// double quote, '%' or a control character, or when it does not fit.
int shell_quote_append(char* out, int size, const char* word);
// The directory argument of the starters: '/' turned into '\', one trailing
// separator removed unless the directory is a root ("\" or "C:\"). 0, or -1
// (out empty) when longer than the path limit.
int shell_dir_arg(char* out, const char* dir);
