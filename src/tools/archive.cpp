#include "tools/archive.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "document/dirpanel.h"
#include "support/profile.h"
#include "support/settings.h"
#include "support/strfunc.h"
#include "tools/facette.h"

char archiveSource[FILE_PATH_MAX + 1] = "";
char archiveTarget[FILE_PATH_MAX + 1] = "";
int archiveCount = 0;

namespace {

std::array<std::array<char, ARCHIVE_PATTERN_MAX + 1>, ARCHIVE_IGNORE_MAX> ignorePatterns{};
int ignoreCount = 0;

// The directory made last: each directory is made once in a run.
char lastTargetDir[FILE_PATH_MAX + 1] = "";

struct Run {
    const ArchiveView* view;
    bool testRun;
    const char* pattern;
    int rootLength;
    bool stopped;
};
Run run{};

bool isSep(char c) { return c == '/' || c == '\\'; }
const char* nameOf(const char* path) { return path + path_name_pos(path); }

bool ignored(const char* name) {
    for (int i = 0; i < ignoreCount; ++i) {
        if (wild_match_nocase(ignorePatterns[static_cast<size_t>(i)].data(), name)) return true;
    }
    return false;
}

// dir + separator + tail into out; false when longer than a path.
bool joinPath(char* out, const char* dir, const char* tail) {
    if (std::strlen(dir) + 1 + std::strlen(tail) > static_cast<size_t>(FILE_PATH_MAX)) return false;
    std::strcpy(out, dir);
    path_add_sep(out);
    std::strcat(out, tail);
    return true;
}

// The copy goes to a temporary name beside the target and takes the target's
// name only when complete and dated: an earlier copy is never lost to a
// failed one, and no partial file ever stands under the target's name.
bool copyComplete(const char* source, const char* target) {
    char temporary[FILE_PATH_MAX + 1];
    TimeRecord local;
    if (std::strlen(target) + 4 > static_cast<size_t>(FILE_PATH_MAX)) return false;
    std::snprintf(temporary, sizeof temporary, "%s.y8~", target);
    if (file_time(source, &local) != 0 || file_copy(source, temporary) != 0) return false;
    if (set_file_time(temporary, &local) != 0 || file_replace(temporary, target) != 0) {
        file_delete(temporary);
        return false;
    }
    return true;
}

// The target of a source file: the archive, the file's path below the root,
// the stamp of its UTC time. False when it would be too long.
bool targetOf(const char* path, char* target) {
    TimeRecord utc;
    char stamp[6];
    if (file_time_utc(path, &utc) != 0 || !joinPath(target, archiveTarget, path + run.rootLength)) return false;
    path_unify_seps(target);
    archiveStamp(utc, stamp);
    return archiveStampName(target, stamp);
}

void listEntry(const char* path, const char* target) {
    char entry[ARCHIVE_ENTRY_MAX + 1];
    std::snprintf(entry, sizeof entry, "%-35s > %s", path + run.rootLength, nameOf(target));
    ++archiveCount;
    const int top = archiveCount > ARCHIVE_LIST_ROWS ? archiveCount - ARCHIVE_LIST_ROWS : -1;
    if (!run.view->entry(entry, top, run.view->user)) run.stopped = true;
}

int copyVisit(bool isDir, const char* path, long, const TimeRecord*, void*) {
    const char* name = nameOf(path);
    if (isDir || name[0] == '.') return 1;
    const int attributes = file_attributes(path);
    char ext[FILE_PATH_MAX + 1];
    path_ext(ext, path);
    if (attributes < 0 || (attributes & FILE_ATTR_ARCHIVE) == 0 || (ext[0] && dirExtensionHidden(ext))) return 1;
    char target[FILE_PATH_MAX + 1];
    if (!targetOf(path, target)) return 1;
    char dir[FILE_PATH_MAX + 1];
    path_dir(dir, target);
    if (std::strcmp(dir, lastTargetDir) != 0) {
        std::strcpy(lastTargetDir, dir);
        if (!run.testRun) make_dirs(dir);
    }
    if (ignored(name)) return 1;
    listEntry(path, target);
    // A failed copy keeps the attribute: the next run tries again.
    if (!run.testRun && copyComplete(path, target)) set_file_attributes(path, attributes & ~FILE_ATTR_ARCHIVE);
    return run.stopped ? 0 : 1;
}

// The archive itself is never walked, should it lie inside the source.
bool isArchive(const char* dir) {
    char withSep[FILE_PATH_MAX + 2];
    std::strcpy(withSep, dir);
    std::strcat(withSep, "\\");
    char target[FILE_PATH_MAX + 1];
    std::strcpy(target, archiveTarget);
    path_backslash(target);
    return target[0] && str_ncmp_nocase(withSep, target, static_cast<int>(std::strlen(target))) == 0 &&
           std::strlen(withSep) >= std::strlen(target);
}

void walk(const char* dir);

int dirVisit(bool isDir, const char* path, long, const TimeRecord*, void*) {
    if (!isDir || nameOf(path)[0] == '.' || isArchive(path)) return 1;
    run.view->status(path, run.view->user);
    walk(path);
    return run.stopped ? 0 : 1;
}

// A directory's files, then its subdirectories.
void walk(const char* dir) {
    char pattern[FILE_PATH_MAX + 1];
    if (joinPath(pattern, dir, run.pattern)) dir_list(pattern, copyVisit, nullptr);
    if (!run.stopped && joinPath(pattern, dir, "*")) dir_list(pattern, dirVisit, nullptr);
}

void readProjectFile(const char* path) {
    LineFile file;
    if (lf_open(&file, path) < 0) return;
    char line[FACET_LINE_MAX + 1];
    for (int n = 0; n < ARCHIVE_LINES_MAX && lf_gets(&file, line) >= 0; ++n) {
        char word[FACET_LINE_MAX + 1];
        str_next_word(word, line);
        if (str_cmp_nocase(word, "archiv") == 0) {
            str_ncopy(archiveTarget, line, ARCHIVE_FIELD_MAX);
        } else if (str_cmp_nocase(word, "ignore") == 0 && ignoreCount < ARCHIVE_IGNORE_MAX && line[0]) {
            str_ncopy(ignorePatterns[static_cast<size_t>(ignoreCount++)].data(), line, ARCHIVE_PATTERN_MAX);
        }
    }
    lf_close(&file);
}

// The archive root of the settings followed by the source without its drive.
void defaultTarget() {
    char root[INI_BUF_SIZE];
    ini_read(CFG_SECTION_INSTALLATION, CFG_KEY_ARCHIV, root);
    str_trim(root);
    if (!root[0]) std::strcpy(root, archiveDefaultRoot);
    const char* rest = archiveSource;
    if (rest[0] && rest[1] == ':') rest += 2;
    while (isSep(*rest)) ++rest;
    if (!joinPath(archiveTarget, root, rest)) archiveTarget[0] = '\0';
}

}  // namespace

void archiveStamp(const TimeRecord& t, char* out) {
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    out[0] = '-';
    out[1] = kDigits[(t.year / 10) % 36];
    out[2] = kDigits[t.year % 10];
    out[3] = kDigits[t.month % 36];
    out[4] = kDigits[t.day % 36];
    out[5] = '\0';
}

bool archiveStampName(char* path, const char* stamp) {
    const size_t length = std::strlen(path);
    if (length + std::strlen(stamp) > static_cast<size_t>(FILE_PATH_MAX)) return false;
    char* name = path + path_name_pos(path);
    char* dot = std::strrchr(name, '.');
    if (dot && dot != name) str_insert(stamp, path, static_cast<int>(dot - path));
    else std::strcat(path, stamp);
    return true;
}

void archiveInit() {
    archiveSource[0] = archiveTarget[0] = '\0';
    ignoreCount = 0;
    char found[FILE_PATH_MAX + 1];
    if (findProjectFile(archiveFileName, FACET_SEARCH_LEVELS, found)) {
        readProjectFile(found);
        path_dir(archiveSource, found);
        str_trim(archiveTarget);
        path_add_sep(archiveTarget);
    } else if (get_cwd(archiveSource) == 0) {
        path_add_sep(archiveSource);
    }
    // A project file without an "archiv" line archives like a project without one.
    if (!archiveTarget[0]) defaultTarget();
}

int archiveRun(const char* source, const char* target, bool testRun, const ArchiveView& view) {
    archiveCount = 0;
    lastTargetDir[0] = '\0';
    str_ncopy(archiveSource, source, ARCHIVE_FIELD_MAX);
    str_ncopy(archiveTarget, target, ARCHIVE_FIELD_MAX);
    str_trim(archiveSource);
    str_trim(archiveTarget);
    dirHiddenFilesReload();
    char root[FILE_PATH_MAX + 1];
    const int cut = path_name_pos(archiveSource);
    const char* pattern = archiveSource[cut] ? archiveSource + cut : "*";
    str_ncopy(root, archiveSource, cut);
    if (!root[0] && (get_cwd(root) != 0 || path_add_sep(root) != 0)) root[0] = '\0';
    if (archiveTarget[0] && root[0]) {
        run = Run{&view, testRun, pattern, static_cast<int>(std::strlen(root)), false};
        char start[FILE_PATH_MAX + 1];
        std::strcpy(start, root);
        path_strip_sep(start);
        if (!start[0] || (start[1] == ':' && !start[2])) std::strcpy(start, root);  // a root keeps its separator
        walk(start);
    }
    view.status("Fertig.", view.user);
    return archiveCount;
}
