// The profile file, the command-line words, placement values and the starters:
// everything of these services that needs no system call.
#include "support/profile.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "support/platform.h"
#include "support/files.h"
#include "support/strfunc.h"

namespace {

// The command-line words: a private copy of the line, split in place.
struct ArgWords {
    bool split;                             // the table holds a split line
    int count;                              // words taken
    char line[ARG_LINE_MAX + 1];            // the copy the words point into
    const char* words[ARG_WORDS_MAX];
};
ArgWords args;

// The profile path as ini_set_file gave it: a call on another ini file returns to it.
char profilePath[FILE_PATH_MAX + 1];

// The name a call on the ini file named file uses: the profile's own spelling
// when file names the profile in another case (names compare without case, and
// a file is created under the first spelling that writes it).
const char* ini_file_spelling(const char* file) {
    return str_cmp_nocase(file, profilePath) == 0 ? profilePath : file;
}

bool white(char ch) { return is_white(static_cast<unsigned char>(ch)); }

// Reads an optionally signed decimal number at *p; *p moves behind it. A number
// beyond the int range comes back beyond it (never overflowing). False when no
// digit stands there.
bool read_number(const char** p, long long* out) {
    const char* s = *p;
    bool negative = *s == '-';
    if (*s == '-' || *s == '+') ++s;
    if (!is_digit(static_cast<unsigned char>(*s))) return false;
    long long n = 0;
    for (; is_digit(static_cast<unsigned char>(*s)); ++s) {
        if (n <= INT_MAX) n = n * 10 + (*s - '0');  // once beyond, further digits change nothing
    }
    *out = negative ? -n : n;
    *p = s;
    return true;
}

int clamp_to_int(long long n) { return n < INT_MIN ? INT_MIN : n > INT_MAX ? INT_MAX : static_cast<int>(n); }

void skip_white(const char** p) {
    while (white(**p)) ++*p;
}

void ensure_split() {
    if (!args.split) arg_split(plat_command_line());
}

// True for a character that a command interpreter could take as more than
// text even inside quotes, or that ends the command line.
bool unsafe_in_argument(unsigned char ch) { return ch < 32 || ch == 127 || ch == '"' || ch == '%'; }

}  // namespace

// ---------------------------------------------------------------- profile file

void ini_set_file(const char* path) {
    profilePath[0] = '\0';
    // A path the system would refuse is no profile at all, never a cut one.
    if (path && std::strlen(path) <= FILE_PATH_MAX) std::strcpy(profilePath, path);
    plat_ini_set_file(profilePath);
}

int ini_read(const char* section, const char* key, char* buf, int size) {
    return plat_ini_get(section, key, buf, size);
}

int ini_read_file(const char* file, const char* section, const char* key, char* buf, int size) {
    if (size < 1) return 0;
    buf[0] = '\0';
    if (!file || !*file || std::strlen(file) > FILE_PATH_MAX) return 0;
    plat_ini_set_file(ini_file_spelling(file));
    const int length = plat_ini_get(section, key, buf, size);
    plat_ini_set_file(profilePath);
    return length;
}

void ini_write_file(const char* file, const char* section, const char* key, const char* value) {
    if (!file || !*file || std::strlen(file) > FILE_PATH_MAX) return;
    plat_ini_set_file(ini_file_spelling(file));
    plat_ini_put(section, key, value ? value : "");
    plat_ini_set_file(profilePath);
}

int ini_read_int(const char* section, const char* key) {
    char text[INI_NUMBER_MAX + 1];
    plat_ini_get(section, key, text, sizeof text);
    const char* p = text;
    skip_white(&p);
    long long n = 0;
    return read_number(&p, &n) ? clamp_to_int(n) : 0;
}

void ini_write(const char* section, const char* key, const char* value) {
    plat_ini_put(section, key, value ? value : "");
}

void ini_write_int(const char* section, const char* key, int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    plat_ini_put(section, key, text);
}

int ini_read_path(const char* section, const char* key, char* path) {
    char value[FILE_PATH_MAX + 1];
    plat_ini_get(section, key, value, sizeof value);
    str_trim(value);
    const bool relative = value[0] && value[0] != '\\' && value[0] != '/' && value[1] != ':';
    if (relative) {
        path_dir(path, arg_value(0));
    } else {
        path[0] = '\0';
    }
    if (std::strlen(path) + std::strlen(value) > FILE_PATH_MAX) {
        path[0] = '\0';
        return 0;
    }
    std::strcat(path, value);
    return static_cast<int>(std::strlen(path));
}

int ini_install(const char* templatePath) {
    if (!templatePath || !*templatePath) return 0;
    const char* name = templatePath + path_name_pos(templatePath);
    if (!*name) return 0;
    char target[FILE_PATH_MAX + 1];
    plat_ini_dir(target, sizeof target);
    // Without the profile's directory the copy would land in the current one.
    if (!*target) return -1;
    if (std::strlen(target) + std::strlen(name) > FILE_PATH_MAX) return -1;
    std::strcat(target, name);
    // Never replace a settings file that is there, even one that cannot be opened.
    if (file_exists(target) || file_attributes(target) >= 0) return 0;
    if (!file_exists(templatePath)) return 0;
    return file_copy(templatePath, target) == 0 ? 1 : -1;
}

// ---------------------------------------------------------------- command line

int arg_split(const char* line) {
    args.split = true;
    args.count = 0;
    args.line[0] = '\0';
    if (!line) return 0;
    str_ncopy(args.line, line, ARG_LINE_MAX);
    // The word the 1000-character limit cuts through is not taken: cut, it
    // would name another file.
    const char beyond = std::strlen(line) > ARG_LINE_MAX ? line[ARG_LINE_MAX] : '\0';
    char* p = args.line;
    while (white(*p)) ++p;
    while (*p && args.count < ARG_WORDS_MAX) {
        char* word = p;
        char* end;
        if (*p == '"') {
            word = p + 1;
            end = std::strchr(word, '"');  // an unclosed quote runs to the end
        } else {
            end = p;
            while (*end && !white(*end)) ++end;
        }
        const bool quoted = word != p;
        if (!end || !*end) {
            const bool whole = beyond == '\0' || (quoted ? beyond == '"' : white(beyond));
            if (whole) args.words[args.count++] = word;
            break;
        }
        args.words[args.count++] = word;
        *end = '\0';
        p = end + 1;
        while (white(*p)) ++p;
    }
    return args.count;
}

void arg_reset() { args.split = false; }

int arg_count() {
    ensure_split();
    return args.count;
}

const char* arg_value(int i) {
    ensure_split();
    return i >= 0 && i < args.count ? args.words[i] : "";
}

// ---------------------------------------------------------------- window placement

int placement_format(const PlacementValues& v, char* buf, int size) {
    if (size < 1) return -1;
    int n = std::snprintf(buf, static_cast<size_t>(size), "%d %d %d %d %d %d %d %d %d %d", v.flags,
                          v.showCommand, v.minX, v.minY, v.maxX, v.maxY, v.left, v.top, v.right, v.bottom);
    if (n < 0 || n >= size) {
        buf[0] = '\0';
        return -1;
    }
    return n;
}

bool placement_parse(const char* text, PlacementValues* values) {
    if (!text) return false;
    int numbers[10];
    const char* p = text;
    for (int& number : numbers) {
        skip_white(&p);
        long long n = 0;
        // A number beyond the int range is no placement of this program.
        if (!read_number(&p, &n) || n != clamp_to_int(n)) return false;
        number = static_cast<int>(n);
    }
    *values = PlacementValues{numbers[0], numbers[1], numbers[2], numbers[3], numbers[4],
                              numbers[5], numbers[6], numbers[7], numbers[8], numbers[9]};
    return true;
}

int placement_result(int showCommand) {
    if (showCommand == PLACEMENT_SHOW_MINIMIZED) return 1;
    if (showCommand == PLACEMENT_SHOW_MAXIMIZED) return 2;
    return 0;
}

// ---------------------------------------------------------------- programs and documents

int shell_quote_append(char* out, int size, const char* word) {
    if (!out || !word || size < 1) return -1;
    size_t length = std::strlen(word);
    for (size_t i = 0; i < length; ++i) {
        if (unsafe_in_argument(static_cast<unsigned char>(word[i]))) return -1;
    }
    // Backslashes before the closing quote are doubled, or a program's argument
    // parser would read the last one as escaping the quote.
    size_t trailing = 0;
    while (trailing < length && word[length - 1 - trailing] == '\\') ++trailing;
    size_t used = std::strlen(out);
    size_t needed = used + (used > 0 ? 1 : 0) + 1 + length + trailing + 1 + 1;
    if (needed > static_cast<size_t>(size)) return -1;
    char* p = out + used;
    if (used > 0) *p++ = ' ';
    *p++ = '"';
    std::memcpy(p, word, length);
    p += length;
    for (size_t i = 0; i < trailing; ++i) *p++ = '\\';
    *p++ = '"';
    *p = '\0';
    return 0;
}

int shell_dir_arg(char* out, const char* dir) {
    out[0] = '\0';
    if (!dir || !*dir) return 0;
    if (std::strlen(dir) > FILE_PATH_MAX) return -1;
    std::strcpy(out, dir);
    path_backslash(out);
    size_t n = std::strlen(out);
    bool root = (n == 1 && out[0] == '\\') || (n == 3 && out[1] == ':' && out[2] == '\\');
    // "C:" alone would mean the drive's current directory, not its root.
    if (!root) path_strip_sep(out);
    return 0;
}

int run_program(const char* cmdline) {
    if (!cmdline || !*cmdline || std::strlen(cmdline) > START_LINE_MAX) return START_REFUSED;
    char line[START_LINE_MAX + 1];
    std::strcpy(line, cmdline);
    path_backslash(line);
    return plat_start_program(line);
}

namespace {

bool plain_in_argument(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 128 ||
           std::strchr("_@$.-:\\/+", c) != nullptr;
}

// Appends text to out (size bytes): 0, or -1 when it does not fit.
int text_append(char* out, int size, const char* text) {
    const size_t used = std::strlen(out);
    const size_t length = std::strlen(text);
    if (used + length + 1 > static_cast<size_t>(size)) return -1;
    std::memcpy(out + used, text, length + 1);
    return 0;
}

// Appends one argument of a program line: as it is when plain, else quoted;
// inside the template's own quotes without quotes of its own.
int argument_append(char* out, int size, const char* arg, bool inQuotes) {
    bool plain = true;
    for (const char* p = arg; *p && plain; ++p) plain = plain_in_argument(static_cast<unsigned char>(*p));
    if (plain && !inQuotes) return text_append(out, size, arg);
    char quoted[START_LINE_MAX + 1] = "";  // empty: no blank goes before the word
    if (shell_quote_append(quoted, sizeof quoted, arg) < 0) return -1;
    if (!inQuotes) return text_append(out, size, quoted);
    quoted[std::strlen(quoted) - 1] = '\0';
    return text_append(out, size, quoted + 1);
}

// The end of the template's program: its first word, a quoted one to its
// closing quote.
const char* program_end(const char* tmpl) {
    const char* p = tmpl;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p == '"') {
        const char* close = std::strchr(p + 1, '"');
        return close ? close + 1 : p + std::strlen(p);
    }
    while (*p && *p != ' ' && *p != '\t') ++p;
    return p;
}

}  // namespace

int program_line(char* out, int size, const char* tmpl, const char* const* args, int count) {
    if (!out || size < 1) return -1;
    out[0] = '\0';
    if (!tmpl) return -1;
    const char* programEnd = program_end(tmpl);
    const char* first = std::strstr(tmpl, "%s");
    if (first && first < programEnd) return -1;  // a word would choose the program
    int next = 0;
    bool inQuotes = false;
    for (const char* p = tmpl; *p; ++p) {
        int result;
        if (*p == '"') inQuotes = !inQuotes;
        if (p[0] == '%' && p[1] == 's') {
            result = argument_append(out, size, next < count && args[next] ? args[next] : "", inQuotes);
            ++next;
            ++p;
        } else {
            const char c[2] = {*p == '/' ? '\\' : *p, '\0'};
            result = text_append(out, size, c);
        }
        if (result < 0) {
            out[0] = '\0';
            return -1;
        }
    }
    return 0;
}

int run_template(const char* tmpl, const char* const* args, int count) {
    char line[START_LINE_MAX + 1];
    if (program_line(line, sizeof line, tmpl, args, count) < 0 || line[0] == '\0') return START_REFUSED;
    return plat_start_program(line);
}

int open_document(const char* path) {
    if (!path || !*path || std::strlen(path) > FILE_PATH_MAX) return START_REFUSED;
    char file[FILE_PATH_MAX + 1];
    std::strcpy(file, path);
    path_backslash(file);
    char dir[FILE_PATH_MAX + 1];
    char workDir[FILE_PATH_MAX + 1];
    if (path_dir(dir, file) < 0 || shell_dir_arg(workDir, dir) < 0) return START_REFUSED;
    return plat_shell_execute(file, "", workDir, true);
}

int shell_run(const char* file, const char* params, const char* dir) {
    if (!file || !*file || std::strlen(file) > FILE_PATH_MAX) return START_REFUSED;
    char program[FILE_PATH_MAX + 1];
    std::strcpy(program, file);
    path_backslash(program);
    char workDir[FILE_PATH_MAX + 1];
    if (shell_dir_arg(workDir, dir) < 0) return START_REFUSED;
    char argument[START_LINE_MAX + 1] = "";
    if (params && *params && shell_quote_append(argument, sizeof argument, params) < 0) return START_REFUSED;
    return plat_shell_execute(program, argument, workDir, false);
}
