#include "document/dirpanel.h"

#include <cstdio>
#include <cstring>

#include "support/strfunc.h"

namespace {

// The panel's listing and filter. The entries live for the whole run (a
// listing is at most a few hundred kilobytes); count 0 means released.
struct DirPanel {
    DirEntry entries[DIR_ENTRIES_MAX + 1];  // the parent and the entries read
    int count = 0;
    char dir[FILE_PATH_MAX + 1] = "";       // without trailing separator
    char filter[DIR_FILTER_MAX + 1] = "";
    int selectIndex = -1;
    int firstFileIndex = -1;
};
DirPanel panel;

// The text after the first '.' of name, "" when it has none.
const char* firstExtension(const char* name) {
    const char* dot = std::strchr(name, '.');
    return dot ? dot + 1 : "";
}

bool hasSeparatorAtEnd(const char* s) {
    const std::size_t n = std::strlen(s);
    return n > 0 && (s[n - 1] == '\\' || s[n - 1] == '/');
}

// The separator path uses (its last one), '\\' when it has none.
char separatorOf(const char* path) {
    const char* back = std::strrchr(path, '\\');
    const char* slash = std::strrchr(path, '/');
    return slash > back ? '/' : '\\';
}

// a + sep + b into out (FILE_PATH_MAX + 1 bytes); false (out untouched) when
// the result would be too long.
bool joinPath(char* out, const char* a, char sep, const char* b) {
    const std::size_t la = std::strlen(a);
    const std::size_t lb = std::strlen(b);
    if (la + 1 + lb > static_cast<std::size_t>(FILE_PATH_MAX)) return false;
    std::memcpy(out, a, la);
    out[la] = sep;
    std::memcpy(out + la + 1, b, lb + 1);
    return true;
}

const DirHiddenFiles* hiddenFiles = nullptr;

// dir_list's callback: one entry of the directory, or none.
int addEntry(bool isDir, const char* fullPath, long size, const TimeRecord* time, void*) {
    if (panel.count > DIR_ENTRIES_MAX) return 0;  // the first 1000 read are kept
    const char* name = fullPath + path_name_pos(fullPath);
    const int maxName = isDir ? DIR_NAME_MAX - 1 : DIR_NAME_MAX;  // room for the separator
    if (!name[0] || static_cast<int>(std::strlen(name)) > maxName) return 1;
    // A directory's path with its separator must still be a path.
    if (isDir && static_cast<int>(std::strlen(fullPath)) >= FILE_PATH_MAX) return 1;
    if (dirExtensionHidden(firstExtension(name))) return 1;
    DirEntry& entry = panel.entries[panel.count++];
    entry = DirEntry{};
    entry.kind = isDir ? DIR_KIND_DIRECTORY : DIR_KIND_FILE;
    std::strcpy(entry.name, name);
    if (isDir) std::strcat(entry.name, "\\");
    entry.size = isDir || size < 0 ? 0u : static_cast<std::uint32_t>(size);
    if (time) entry.time = *time;
    entry.listIndex = -1;
    return panel.count > DIR_ENTRIES_MAX ? 0 : 1;
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDrive(const char* path) {
    const char c = path[0];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':';
}

// The length of path's root ("X:\", "\\server\share\", "\" or "/"); 0 when
// path has none.
std::size_t rootLength(const char* path) {
    if (hasDrive(path)) return isSeparator(path[2]) ? 3 : 0;
    if (!isSeparator(path[0])) return 0;
    if (!isSeparator(path[1])) return 1;
    std::size_t n = 2;  // a network name: its server and share belong to the root
    for (int parts = 0; parts < 2 && path[n]; ++n) {
        if (isSeparator(path[n])) ++parts;
    }
    return n;
}

// path (with a root) without "." and ".." steps and doubled separators into
// out; false when the result does not fit.
bool normalise(const char* path, char* out) {
    const std::size_t root = rootLength(path);
    const char sep = root > 0 && isSeparator(path[root - 1]) ? path[root - 1] : separatorOf(path);
    char result[2 * FILE_PATH_MAX + 2];
    std::memcpy(result, path, root);
    std::size_t length = root;
    for (const char* p = path + root; *p;) {
        const char* end = p;
        while (*end && !isSeparator(*end)) ++end;
        const std::size_t n = static_cast<std::size_t>(end - p);
        if (n == 2 && p[0] == '.' && p[1] == '.') {
            while (length > root && result[length - 1] != sep) --length;  // the last step goes
            if (length > root) --length;
        } else if (n > 0 && !(n == 1 && p[0] == '.')) {
            if (length > root && length < sizeof result) result[length++] = sep;
            if (length + n >= sizeof result) return false;
            std::memcpy(result + length, p, n);
            length += n;
        }
        p = *end ? end + 1 : end;
    }
    if (length > static_cast<std::size_t>(FILE_PATH_MAX)) return false;
    result[length] = '\0';
    std::strcpy(out, result);
    return true;
}

int compareEntries(const void* a, const void* b) {
    return dirEntryCompare(*static_cast<const DirEntry*>(a), *static_cast<const DirEntry*>(b));
}

bool filterIsPattern() {
    return std::strpbrk(panel.filter, "*?#") != nullptr;
}

}  // namespace

void dirHiddenFilesSet(const DirHiddenFiles* hidden) { hiddenFiles = hidden; }

bool dirExtensionHidden(const char* ext) {
    char upper[DIR_NAME_MAX + 1];
    str_ncopy(upper, ext, DIR_NAME_MAX);
    str_upper(upper);
    return hiddenFiles && hiddenFiles->allowed(upper) == 0;
}

void dirHiddenFilesReload() {
    if (hiddenFiles) hiddenFiles->reload();
}

int dirRead(const char* dir) {
    char d[FILE_PATH_MAX + 1];
    if (!dir || std::strlen(dir) > static_cast<std::size_t>(FILE_PATH_MAX)) return -1;
    std::strcpy(d, dir);
    str_trim(d);
    if (std::strlen(d) > 1 && hasSeparatorAtEnd(d)) path_strip_sep(d);  // a root "/" stays
    std::strcpy(panel.dir, d);
    panel.selectIndex = panel.firstFileIndex = -1;

    DirEntry& parent = panel.entries[0];
    parent = DirEntry{};
    parent.kind = DIR_KIND_PARENT;
    parent.listIndex = -1;
    if (path_dir(parent.name, panel.dir) < 0) parent.name[0] = '\0';
    panel.count = 1;

    char pattern[FILE_PATH_MAX + 1];
    if (!joinPath(pattern, panel.dir, separatorOf(panel.dir), "*")) return -1;
    const int read = dir_list(pattern, addEntry, nullptr);
    if (read < 0) {
        panel.count = 1;
        return -1;
    }
    shell_sort(&panel.entries[1], panel.count - 1, sizeof(DirEntry), compareEntries);
    return panel.count - 1;
}

bool dirResolve(const char* text, char* full) {
    full[0] = '\0';
    char t[FILE_PATH_MAX + 1];
    if (!text || std::strlen(text) > static_cast<std::size_t>(FILE_PATH_MAX)) return false;
    std::strcpy(t, text);
    if (!str_trim(t)) return false;
    char cwd[FILE_PATH_MAX + 1] = "";
    const bool haveCwd = get_cwd(cwd) == 0;
    char joined[2 * FILE_PATH_MAX + 2];
    if (rootLength(t) > 1) {
        std::strcpy(joined, t);  // a drive's or a network path
    } else if (!haveCwd) {
        return false;
    } else if (isSeparator(t[0])) {
        // The root of the current drive.
        const std::size_t drive = hasDrive(cwd) ? 2 : 0;
        std::snprintf(joined, sizeof joined, "%.*s%s", static_cast<int>(drive), cwd, t);
    } else if (hasDrive(t)) {
        // "X:name": from the current directory when it is on X, else the
        // system's own directory of that drive (left to the system).
        if (upper_char(static_cast<unsigned char>(t[0])) != upper_char(static_cast<unsigned char>(cwd[0])) ||
            !hasDrive(cwd)) {
            std::strcpy(full, t);
            return true;
        }
        std::snprintf(joined, sizeof joined, "%s%c%s", cwd, separatorOf(cwd), t + 2);
    } else {
        std::snprintf(joined, sizeof joined, "%s%c%s", cwd, separatorOf(cwd), t);
    }
    return normalise(joined, full);
}

int dirShow(const char* text) {
    char full[FILE_PATH_MAX + 1];
    return dirResolve(text, full) ? dirRead(full) : -1;
}

bool dirEnter(const char* text) {
    char full[FILE_PATH_MAX + 1];
    if (!dirResolve(text, full) || change_dir(full) != 0) return false;
    char entered[FILE_PATH_MAX + 1];
    dirRead(get_cwd(entered) == 0 ? entered : full);  // the system's spelling
    return true;
}

const char* dirPanelDir() { return panel.dir; }
int dirEntryCount() { return panel.count; }

const DirEntry* dirEntry(int i) { return i >= 0 && i < panel.count ? &panel.entries[i] : nullptr; }

void dirRelease() {
    panel.count = 0;
    panel.selectIndex = panel.firstFileIndex = -1;
}

int dirEntryCompare(const DirEntry& a, const DirEntry& b) {
    if (a.kind != b.kind) return b.kind - a.kind;
    const int byExtension = str_cmp_nocase(firstExtension(a.name), firstExtension(b.name));
    if (byExtension != 0) return byExtension;
    char ua[FILE_PATH_MAX + 1];
    char ub[FILE_PATH_MAX + 1];
    std::strcpy(ua, a.name);
    std::strcpy(ub, b.name);
    str_upper(ua);
    str_upper(ub);
    return str_cmp_numeric(ua, ub);
}

void dirListLine(const DirEntry& entry, char* line) {
    if (entry.kind == DIR_KIND_PARENT) {
        std::strcpy(line, "..");
        return;
    }
    if (entry.kind == DIR_KIND_DIRECTORY) {
        str_ncopy(line, entry.name, DIR_LINE_MAX);
        return;
    }
    // 64 bits: a size near 4 GB must not wrap when rounded.
    const int kilobytes = static_cast<int>((static_cast<std::uint64_t>(entry.size) + 512u) / 1024u);
    std::snprintf(line, DIR_TIME_COLUMN + 1, "%30d  ", kilobytes);
    str_overlay(line, entry.name);  // only the blanks take the name's characters
    const TimeRecord& t = entry.time;
    std::snprintf(line + DIR_TIME_COLUMN, DIR_LINE_MAX + 1 - DIR_TIME_COLUMN, "%02d.%02d.%04d %02d:%02d", t.day,
                  t.month, t.year + 1900, t.hour, t.minute);
}

void dirFilterSet(const char* text) {
    char t[DIR_LINE_MAX + 1];
    str_ncopy(t, text ? text : "", DIR_LINE_MAX);
    str_trim(t);
    str_ncopy(panel.filter, t, DIR_FILTER_MAX);
}

const char* dirFilterText() { return panel.filter; }

bool dirFilterKey(int ch) {
    const int n = static_cast<int>(std::strlen(panel.filter));
    if (ch == 8) {
        if (n > 0) panel.filter[n - 1] = '\0';
        return true;
    }
    if (ch < 32 || ch == 127 || ch > 255) return false;
    if (n < DIR_FILTER_MAX) {
        panel.filter[n] = static_cast<char>(lower_char(ch));
        panel.filter[n + 1] = '\0';
    }
    return true;
}

bool dirFilterPasses(const char* name) {
    if (!panel.filter[0]) return true;
    if (filterIsPattern()) return wild_match_nocase(panel.filter, name);
    return str_find_nocase(name, panel.filter) >= 0;
}

void dirFill(const char* currentFile, void (*addLine)(const char* line, void* user), void* user) {
    const char* current = currentFile ? currentFile + path_name_pos(currentFile) : "";
    panel.selectIndex = panel.firstFileIndex = -1;
    int line = 0;
    for (int i = 0; i < panel.count; ++i) {
        DirEntry& entry = panel.entries[i];
        entry.listIndex = -1;
        if (entry.kind == DIR_KIND_FILE && !dirFilterPasses(entry.name)) continue;
        entry.listIndex = line;
        if (entry.kind == DIR_KIND_FILE) {
            if (panel.firstFileIndex < 0) panel.firstFileIndex = line;
            if (panel.selectIndex < 0 && current[0] && str_cmp_nocase(entry.name, current) == 0)
                panel.selectIndex = line;
        }
        char text[DIR_LINE_MAX + 1];
        dirListLine(entry, text);
        if (addLine) addLine(text, user);
        ++line;
    }
}

int dirSelectIndex() { return panel.selectIndex; }
int dirFirstFileIndex() { return panel.firstFileIndex; }

DirChoice dirChoose(int line, char* path) {
    path[0] = '\0';
    if (line < 0) return DirChoice::None;
    const DirEntry* chosen = nullptr;
    for (int i = 0; i < panel.count && !chosen; ++i) {
        if (panel.entries[i].listIndex == line) chosen = &panel.entries[i];
    }
    if (!chosen) return DirChoice::None;
    char target[FILE_PATH_MAX + 1];
    if (chosen->kind == DIR_KIND_PARENT) {
        std::strcpy(target, chosen->name);
        if (!target[0]) return DirChoice::None;
    } else if (!joinPath(target, panel.dir, chosen->kind == DIR_KIND_FILE ? '/' : separatorOf(panel.dir),
                         chosen->name)) {
        return DirChoice::None;
    }
    if (chosen->kind == DIR_KIND_FILE) {
        path_backslash(target);
        std::strcpy(path, target);
        return DirChoice::OpenFile;
    }
    change_dir(target);  // the chosen directory becomes the current one
    dirRead(target);     // the entries (chosen among them) are replaced
    return DirChoice::Read;
}
