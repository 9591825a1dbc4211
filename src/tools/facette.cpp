#include "tools/facette.h"

#include <cstring>

#include "support/strfunc.h"
#include "tools/phrases.h"

const char* const facetVerbs[FACET_VERBS] = {"create", "delete", "clear",  "read",   "write",
                                             "copy",   "search", "edit",   "convert"};
char facetPath[FILE_PATH_MAX + 1] = "";
int facetSel = -1;
int verbSel = -1;

namespace {

bool isSep(char c) { return c == '/' || c == '\\'; }

// A root: "", "X:" (separators already removed).
bool isRoot(const char* dir) {
    const size_t n = std::strlen(dir);
    return n == 0 || (n == 2 && dir[1] == ':');
}

}  // namespace

bool findUpwards(const char* dir, const char* const* names, int count, int levels, int minLength, char* found) {
    found[0] = '\0';
    char at[FILE_PATH_MAX + 1];
    if (!dir || str_ncopy(at, dir, FILE_PATH_MAX) < static_cast<int>(std::strlen(dir))) return false;
    for (int level = 0; level < levels; ++level) {
        path_strip_sep(at);
        if (isRoot(at) || static_cast<int>(std::strlen(at)) < minLength) return false;
        for (int i = 0; i < count; ++i) {
            char candidate[FILE_PATH_MAX + 1];
            std::strcpy(candidate, at);
            if (path_add_sep(candidate) < 0 || std::strlen(candidate) + std::strlen(names[i]) > FILE_PATH_MAX) continue;
            std::strcat(candidate, names[i]);
            path_unify_seps(candidate);
            if (file_exists(candidate)) {
                std::strcpy(found, candidate);
                return true;
            }
        }
        // The parent: the last name cut, its separator kept for the root's sake.
        int cut = static_cast<int>(std::strlen(at));
        while (cut > 0 && !isSep(at[cut - 1]) && at[cut - 1] != ':') --cut;
        if (cut == 0) return false;
        at[cut] = '\0';
    }
    return false;
}

bool findProjectFile(const char* name, int levels, char* found) {
    char dir[FILE_PATH_MAX + 1];
    if (get_cwd(dir) != 0) {
        found[0] = '\0';
        return false;
    }
    const char* names[] = {name};
    return findUpwards(dir, names, 1, levels, 1, found);
}

void facetteEntries(EntrySink add, void* user) {
    if (!findProjectFile(facetFileName, FACET_SEARCH_LEVELS, facetPath)) return;
    LineFile file;
    if (lf_open(&file, facetPath) < 0) {
        facetPath[0] = '\0';
        return;
    }
    char line[FACET_LINE_MAX + 1];
    while (lf_gets(&file, line) >= 0) add(line, user);
    lf_close(&file);
}

bool facettePhrase(const char* facet, int verb, char* out) {
    out[0] = '\0';
    if (!facet || verb < 0 || verb >= FACET_VERBS) return false;
    char text[FACET_LINE_MAX + 1];
    str_ncopy(text, facet, FACET_LINE_MAX);
    std::strcpy(out, "FCT ");
    std::strcat(out, text);
    std::strcat(out, " ");
    std::strcat(out, facetVerbs[verb]);
    return true;
}

bool facetteInsert(int facet, const char* facetText, int verb) {
    char phrase[FACET_PHRASE_MAX + 1];
    if (facet < 0 || !facettePhrase(facetText, verb, phrase)) return false;
    facetSel = facet;
    verbSel = verb;
    phrase_post(phrase);
    return true;
}
