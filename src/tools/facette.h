// Facette: a short tagged phrase "FCT " + facet + blank + verb typed at the
// cursor. The facets are the lines of the project's file "facette.txt",
// found in the current directory or one of its parents; the nine verbs are
// fixed. The phrase travels as command 1402, as the phrase lists' phrases do,
// so a "?" in a facet marks where the cursor stays.
//
// The upward search for a project file is shared by the archive copy and the
// info tools. The dialog "Facette" (DB1404) is in tools/facette_win32.h.
#pragma once

#include "support/files.h"
#include "tools/baukasten.h"  // EntrySink

constexpr int FACET_VERBS = 9;
constexpr int FACET_LINE_MAX = 78;                    // characters kept of a facet line
constexpr int FACET_PHRASE_MAX = 4 + FACET_LINE_MAX + 1 + 7;  // "FCT " facet " " verb
constexpr int FACET_SEARCH_LEVELS = 10;               // directories tried for facette.txt
constexpr const char* facetFileName = "facette.txt";

extern const char* const facetVerbs[FACET_VERBS];
// Where the facet file was found ("" when it was not), and the facet and verb
// chosen at the last insertion (-1: none yet).
extern char facetPath[FILE_PATH_MAX + 1];
extern int facetSel;
extern int verbSel;

// Looks for one of the count names in dir and then in its parents, at most
// levels directories, never in a root ("C:\", "/") and never in a directory
// whose path (without a trailing separator) is shorter than minLength: found
// (FILE_PATH_MAX + 1 bytes) gets the directory, a separator and the name of
// the first that exists. True when one was found (else found is empty).
bool findUpwards(const char* dir, const char* const* names, int count, int levels, int minLength, char* found);
// The same from the current directory for one name, as the tools look for
// their project files.
bool findProjectFile(const char* name, int levels, char* found);

// Finds the facet file from the current directory (facetPath) and gives each
// of its lines to add; nothing when there is none.
void facetteEntries(EntrySink add, void* user);
// The phrase of facet text and verb index into out (FACET_PHRASE_MAX + 1
// bytes); false (out empty) when either is not chosen (facet null, verb out
// of range).
bool facettePhrase(const char* facet, int verb, char* out);
// "Eintragen": the phrase of the facet at index facet (text facetText) and the
// verb, both remembered for the next opening, posted as command 1402. False,
// and nothing done, when a list has no selection.
bool facetteInsert(int facet, const char* facetText, int verb);
