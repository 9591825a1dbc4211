// Fuzzes the directory panel over hostile names. Byte 0: how far the listed
// directory's path stays below 197 characters; byte 1: bit 0 the filter is set
// as the field's text (else typed key by key), bit 1 the directory is given
// with a trailing separator, bit 2 in blanks, bit 3 a directory (the first
// listed, else the parent) is chosen; then lines: the filter, the hidden
// extensions (',' between), the document's path, up to 40 entries (a byte:
// from 128 a directory, else a file of (byte & 127) * 16 bytes; the name).
// The entries are made in a fresh temporary directory (names the system refuses
// are skipped, and those with '\' or ':', which the panel's system refuses),
// read, filtered, listed and chosen, against a plain model of dirpanel.h: each
// listed once unless hidden or too long for a name or a path, nothing else; the
// documented order; exactly the files the filter rule keeps; each line the
// entry's; a file chosen names exactly the file made, a directory is entered.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "document/dirpanel.h"
#include "support/files.h"
#include "support/strfunc.h"

namespace {

constexpr std::size_t kEntriesMax = 40;
constexpr TimeRecord kTime{124, 3, 5, 7, 9, 0};  // every file's, shown as below
const char* const kDate = "05.03.2024 07:09";
constexpr auto npos = std::string::npos;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_dirpanel: %s\n", what);
        std::abort();
    }
}

// The case rules of the names: a-z and 224-254 have their capitals 32 below.
int upperOf(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 224 && c <= 254) ? c - 32 : c; }
int lowerOf(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222) ? c + 32 : c; }
std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(upperOf(static_cast<unsigned char>(c)));
    return s;
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }
std::string extensionOf(const std::string& name) { return name.substr(std::min(name.find('.'), name.size() - 1) + 1); }
std::string unified(std::string path) { return std::replace(path.begin(), path.end(), '\\', '/'), path; }

// The filter: a wildcard pattern ('*' any run, '?' one character, '#' one
// digit) matching the whole name when it holds one, else a piece of the name;
// case ignored; empty it keeps everything.
bool wildMatch(const std::string& pattern, const std::string& name) {
    std::vector<bool> can(name.size() + 1, false);  // the pattern so far matches name[0, j)
    can[0] = true;
    for (char p : pattern) {
        std::vector<bool> next(name.size() + 1, false);
        for (std::size_t j = 0; j <= name.size(); ++j) {
            const char c = j > 0 ? name[j - 1] : '\0';
            if (p == '*') next[j] = can[j] || (j > 0 && next[j - 1]);
            else if (j > 0 && can[j - 1]) next[j] = p == '?' || (p == '#' ? isDigit(c) : upper({p}) == upper({c}));
        }
        can.swap(next);
    }
    return can[name.size()];
}
bool filterKeeps(const std::string& filter, const std::string& name) {
    if (filter.empty()) return true;
    if (filter.find_first_of("*?#") != npos) return wildMatch(filter, name);
    return upper(name).find(upper(filter)) != npos;
}

// The run of digits at s[i] without its leading zeros; i goes past it.
std::string numberAt(const std::string& s, std::size_t& i) {
    const std::size_t from = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    const std::size_t first = std::min(s.find_first_not_of('0', from), i);
    return s.substr(first, i - first);
}
// The name order: runs of digits as numbers, other characters by their
// collation weight, a name before its continuations.
int numericCompare(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string x = numberAt(a, i), y = numberAt(b, j);
            if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
            if (x != y) return x < y ? -1 : 1;
        } else if (a[i] != b[j]) {
            const int d = collation_weight(static_cast<unsigned char>(a[i])) -
                          collation_weight(static_cast<unsigned char>(b[j]));
            if (d != 0) return d;
            ++i, ++j;
        } else {
            ++i, ++j;
        }
    }
    return (i < a.size() ? 1 : 0) - (j < b.size() ? 1 : 0);
}
// Parent, directories, files; then the extension without regard to case;
// then the upper-cased names.
int modelCompare(const DirEntry& a, const DirEntry& b) {
    auto rank = [](std::int32_t kind) { return kind == DIR_KIND_PARENT ? 0 : kind == DIR_KIND_DIRECTORY ? 1 : 2; };
    if (a.kind != b.kind) return rank(a.kind) - rank(b.kind);
    const int byExtension = upper(extensionOf(a.name)).compare(upper(extensionOf(b.name)));  // as unsigned bytes
    return byExtension != 0 ? byExtension : numericCompare(upper(a.name), upper(b.name));
}

struct Made { std::string name; bool dir; unsigned size; };

// "..", a directory's name, or a file's kilobytes (rounded) right-aligned in
// 30 columns, two blanks, its name over the blanks, and the time from column 32.
std::string lineOf(const DirEntry& e, const Made* made) {
    if (e.kind == DIR_KIND_PARENT) return "..";
    if (e.kind == DIR_KIND_DIRECTORY) return e.name;
    char kilobytes[40];
    std::snprintf(kilobytes, sizeof kilobytes, "%30u  ", (made->size + 512) / 1024);
    std::string line = kilobytes;
    for (std::size_t i = 0; i < line.size() && i < made->name.size(); ++i)
        if (line[i] == ' ') line[i] = made->name[i];
    return line + kDate;
}

std::set<std::string> hidden;  // upper-cased extensions whose entries the settings hide

std::vector<std::string> split(const std::string& s, char at) {
    std::vector<std::string> parts(1);
    for (char c : s) c == at ? parts.emplace_back() : parts.back() += c;
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const DirHiddenFiles hooks{[] {}, [](const char* ext) { return hidden.count(ext) ? 0 : 1; }};
    static char home[4096];  // the fuzzer's directory
    if (!home[0]) check(getcwd(home, sizeof home) != nullptr, "no current directory"), dirHiddenFilesSet(&hooks);
    if (size < 2) return 0;
    const int flags = data[1];
    std::vector<std::string> lines = split(std::string(reinterpret_cast<const char*>(data + 2), size - 2), '\n');
    while (lines.size() < 3) lines.emplace_back();
    hidden.clear();
    for (const std::string& ext : split(lines[1], ','))
        if (!ext.empty()) hidden.insert(upper(ext));

    // In memory where the system has it: a run makes and removes dozens of entries.
    std::string root = access("/dev/shm", W_OK) == 0 ? "/dev/shm/y8_dirfuzz_XXXXXX" : "/tmp/y8_dirfuzz_XXXXXX";
    check(mkdtemp(root.data()) != nullptr, "no temporary directory");
    const int length = std::max(FILE_PATH_MAX - 3 - data[0], static_cast<int>(root.size()) + 2);
    const std::string base = root + "/" + std::string(static_cast<std::size_t>(length) - root.size() - 1, 'd');
    check(mkdir(base.c_str(), 0755) == 0, "the listed directory cannot be made");

    std::vector<Made> made;
    for (std::size_t i = 3; i < lines.size() && made.size() < kEntriesMax; ++i) {
        if (lines[i].size() < 2) continue;
        Made m{lines[i].substr(1), (lines[i][0] & 0x80) != 0, (lines[i][0] & 0x7Fu) * 16u};
        if (m.name == "." || m.name == ".." || m.name.find_first_of(std::string("/\\:\0", 4)) != npos) continue;
        const std::string path = base + "/" + m.name;
        if (m.dir) {
            if (mkdir(path.c_str(), 0755) != 0) continue;
            m.size = 0;
        } else {
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd < 0) continue;
            const std::string bytes(m.size, 'x');
            check(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && close(fd) == 0,
                  "a file cannot be written");
            check(path.size() > FILE_PATH_MAX || set_file_time(path.c_str(), &kTime) == 0,
                  "a file's time cannot be set");
        }
        made.push_back(m);
    }
    std::map<std::string, const Made*> expected;  // by the listed name ("sub\" for a directory)
    for (const Made& m : made) {
        const std::string listed = m.name + (m.dir ? "\\" : "");
        const bool fits = listed.size() <= DIR_NAME_MAX && base.size() + 1 + listed.size() <= FILE_PATH_MAX;
        if (fits && !hidden.count(upper(extensionOf(m.name)))) expected[listed] = &m;
    }

    // The read: every entry expected once, in order, the parent first.
    std::string given = base + (flags & 2 ? "/" : "");
    if (flags & 4) given = " " + given + " ";
    const int read = dirRead(given.c_str());
    check(read == static_cast<int>(expected.size()) && dirEntryCount() == read + 1 &&
              dirEntryCount() <= DIR_ENTRIES_MAX + 1,
          "the number of entries read is not the number made, fitting and not hidden");
    check(dirPanelDir() == base, "the panel's directory is not the one given");
    check(dirEntry(0)->kind == DIR_KIND_PARENT && unified(dirEntry(0)->name) == root + "/",
          "the first entry is not the parent");
    std::set<std::string> seen;
    for (int i = 1; i < dirEntryCount(); ++i) {
        const DirEntry& e = *dirEntry(i);
        const auto it = expected.find(e.name);
        check(it != expected.end() && seen.insert(e.name).second,
              "an entry was listed that was not made, is hidden, does not fit, or twice");
        check(e.kind == (it->second->dir ? DIR_KIND_DIRECTORY : DIR_KIND_FILE) && e.size == it->second->size,
              "an entry's kind or size is not the one made");
        check(e.listIndex == -1, "an entry has a list line before the list is filled");
        for (int j = 1; j < i; ++j)
            check(modelCompare(*dirEntry(j), e) <= 0, "the entries are not in the documented order");
    }

    // The filter, typed or set, and the list it leaves.
    dirFilterSet("");
    std::string filter;
    if (flags & 1) {
        const std::string text = lines[0].substr(0, std::min<std::size_t>(lines[0].find('\0'), DIR_LINE_MAX));
        dirFilterSet(text.c_str());  // trimmed, then cut
        const std::size_t from = std::min(text.find_first_not_of(" \t\n\v\f\r"), text.size());
        filter = text.substr(from, text.find_last_not_of(" \t\n\v\f\r") + 1 - from).substr(0, DIR_FILTER_MAX);
    } else {
        for (unsigned char c : lines[0]) {
            const bool printable = c >= 32 && c != 127;
            check(dirFilterKey(c) == (c == 8 || printable), "a key was taken or left against the filter's rule");
            if (c == 8 && !filter.empty()) filter.pop_back();
            if (printable && filter.size() < DIR_FILTER_MAX) filter += static_cast<char>(lowerOf(c));
        }
    }
    check(dirFilterText() == filter, "the filter text is not the one typed");
    std::vector<std::string> shown;
    const std::string current = lines[2].substr(0, lines[2].find('\0'));
    auto add = [](const char* line, void* user) { static_cast<std::vector<std::string>*>(user)->push_back(line); };
    dirFill(current.c_str(), add, &shown);
    const std::string currentName = current.substr(current.find_last_of("/\\:") + 1);  // npos + 1 is 0
    int next = 0, select = -1, firstFile = -1, firstDirectory = -1;
    for (int i = 0; i < dirEntryCount(); ++i) {
        const DirEntry& e = *dirEntry(i);
        const bool kept = e.kind != DIR_KIND_FILE || filterKeeps(filter, e.name);
        check(e.listIndex == (kept ? next : -1), "an entry's list line is not its place among those kept");
        if (!kept) continue;
        const std::string line = i == 0 ? ".." : lineOf(e, expected.at(e.name));
        check(next < static_cast<int>(shown.size()) && shown[next] == line && line.size() <= DIR_LINE_MAX,
              "a list line is not the entry's");
        if (e.kind == DIR_KIND_DIRECTORY && firstDirectory < 0) firstDirectory = i;
        if (e.kind == DIR_KIND_FILE && firstFile < 0) firstFile = next;
        if (e.kind == DIR_KIND_FILE && select < 0 && !currentName.empty() && upper(currentName) == upper(e.name))
            select = next;
        ++next;
    }
    check(static_cast<int>(shown.size()) == next, "more lines were listed than entries kept");
    check(dirFirstFileIndex() == firstFile && dirSelectIndex() == select,
          "the first file's line or the document's line is wrong");

    // Choosing: a file names exactly its path, a line past the list nothing.
    char path[FILE_PATH_MAX + 1];
    for (int i = 1; i < dirEntryCount(); ++i) {
        const DirEntry& e = *dirEntry(i);
        if (e.kind != DIR_KIND_FILE || e.listIndex < 0) continue;
        const std::string full = base + "/" + e.name;
        check(dirChoose(e.listIndex, path) == DirChoice::OpenFile && unified(path) == full && !std::strchr(path, '/'),
              "choosing a file does not name its path with '\\' separators");
        check(file_same(path, full.c_str()), "the path chosen is not the file made");
    }
    check(dirChoose(next, path) == DirChoice::None && !path[0], "a line past the list was chosen");
    if (flags & 8) {  // the first directory listed, else the parent
        const DirEntry* dir = dirEntry(std::max(firstDirectory, 0));
        const std::string into =
            dir->kind == DIR_KIND_PARENT ? root : base + "/" + std::string(dir->name, std::strlen(dir->name) - 1);
        char cwd[FILE_PATH_MAX + 1];
        const bool read = dirChoose(dir->listIndex, path) == DirChoice::Read;
        const bool entered = get_cwd(cwd) == 0 && unified(cwd) == into;
        check(chdir(home) == 0, "the fuzzer's directory cannot be entered again");  // where findings are written
        check(read && entered && unified(dirPanelDir()) == into, "choosing a directory does not enter and read it");
    }
    dirRelease();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return 0;
}
