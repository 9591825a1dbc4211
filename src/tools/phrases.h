// The phrases ("Floskeln"): a short text on each Ctrl+Shift key, kept in the
// settings file, and an abbreviation list from a file of the installation that
// turns the word left of the cursor into its phrase (Ctrl+comma).
//
// Phrases share a small notation, applied when a phrase is fetched: "_" stands
// for a blank (stored values are trimmed), "~" for a double quote. A "?" stays
// in the fetched text: typing leaves the cursor where the last "?" was.
//
// Typing a phrase is one edit: it is measured first and refused as a whole
// when the line store cannot take it, so a phrase never stops halfway.
//
// The dialog "Floskeln" (DB1602) is in tools/phrases_win32.h; its fields are
// filled and saved by the functions at the end of this header.
#pragma once

#include <array>
#include <cstdint>

#include "resources/resource.h"

constexpr int PHRASE_MAX = 80;         // characters of one phrase
constexpr int PHRASE_COUNT = 32;       // one per control code 0..31
constexpr int ABBREV_LINES = 100;      // lines of the abbreviation file read
constexpr int ABBREV_LINE_MAX = 78;    // characters kept of each line
constexpr int PHRASE_TYPED_MAX = 1000; // characters of a text phrase_type takes

// The phrases by control code (character code AND 31): 1..26 for Ctrl+Shift+A
// to Z, 0 for "@", 27..31 for "[", "\", "]", "^" and "_". As stored, without
// the notation applied. Loaded from the settings file on first use.
extern std::array<std::array<char, PHRASE_MAX + 1>, PHRASE_COUNT> phraseTable;
extern bool phrasesLoaded;

// The settings key of a phrase: "S-C-" and the character 64 + (code AND 31)
// into key (8 bytes).
void phraseKeyName(char* key, int code);

// The phrase of (code AND 31) into out (PHRASE_MAX + 1 bytes), the notation
// applied; "" when the key has none.
void phrase_get(int code, char* out);
// Sets the phrase of (code AND 31) for this run, not saved (text cut to
// PHRASE_MAX characters).
void phrase_set(int code, const char* text);

// Types a fetched phrase at the cursor: every character but "?" with the
// editing primitives (insert or overwrite mode, "Spaltentreue"); the cursor
// then goes left, as the Left key moves it, by the characters typed after the
// last "?". At most PHRASE_TYPED_MAX characters are taken. 0, or -1 when the
// store could not take the whole phrase (nothing typed, the user told once).
int phrase_type(const char* text);

// --- Texts posted to the main window (command 1402) ------------------------------

// A text to be typed as a phrase travels through the program's own store, never
// as an address in the message: phrase_post leaves a copy (at most
// PHRASE_TYPED_MAX characters) in one of a few slots and posts command 1402
// with the slot's token; the command takes the text of its token once. A token
// the program did not give out (any number another program may post) finds
// nothing.
constexpr int PHRASE_POST_SLOTS = 4;  // texts waiting for their command at once
void phrase_post(const char* text);
// The text left under token into out (PHRASE_TYPED_MAX + 1 bytes), and the
// slot freed; false (out empty) for a token that has no text waiting.
bool phrasePostedTake(std::intptr_t token, char* out);

// The phrase of the abbreviation word into out (ABBREV_LINE_MAX + 1 bytes),
// the notation applied: the rest (trimmed) of the first of the 100 entries
// whose first word equals word without regard to case. "" when there is none.
// The list is read on first use. Returns the phrase's length.
int abbrev_expand(const char* word, char* out);

// Forgets the loaded phrases and the abbreviation list: the next use reads
// both again.
void phrasesForget();

// --- The two keys of the key dispatcher ----------------------------------------

// Ctrl+Shift with the character ch: its phrase typed at the cursor, replacing
// a mark within the cursor's line. A key without a phrase changes nothing; a
// phrase the store cannot take changes nothing either (the mark stays).
void phraseKey(int ch);
// Ctrl+comma: the word left of the cursor replaced by its phrase from the
// abbreviation list. A word without a phrase stays as it is.
void abbrevKey();

// --- The dialog "Floskeln" --------------------------------------------------------

constexpr int PHRASE_FIELDS = 26;           // A to Z
constexpr int PHRASE_FIELD_FIRST = 3010;    // field of A; field of letter i (1..26) is 3000 + 10 i
// DLG_ACTION is "&Speichern".
constexpr int PHRASE_STANDARD = 2501;       // "Standard"

using PhraseTexts = std::array<std::array<char, PHRASE_MAX + 1>, PHRASE_FIELDS>;

// What "Standard" shows for A to Z (X, Y and Z have none).
extern const std::array<const char*, PHRASE_FIELDS> standardPhrases;

// The texts to show for A to Z: the phrases as stored (loaded first).
void phraseFieldsLoad(PhraseTexts* texts);
// "&Speichern": every text trimmed and cut to PHRASE_MAX characters becomes
// the phrase of its letter and is written to the settings file (an empty text
// writes an empty value).
void phraseFieldsSave(const PhraseTexts& texts);
// "Standard": the texts become the standard phrases; nothing is stored.
void phraseFieldsStandard(PhraseTexts* texts);
