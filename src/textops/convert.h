// The conversions of the submenu "Uebersetzen": lines changed in place.
//
// Every entry works on the marked lines of the block when at least one line
// is marked, and on the whole document otherwise. The document is flushed
// from the window, each line to convert goes through one rule, and the window
// is filled again with the cursor on the same document line and in the same
// row (html_optimize shows the document from its first line); `modified` is
// set and the whole window repainted. Blank lines at the document's end are
// not kept.
//
// No text is ever lost:
//
// * A line whose result would be longer than 250 characters is left exactly
//   as it was; so is a line that "XOR 7" could not give back (a byte 7 would
//   become the line's end, a blank at the end would be trimmed away). The
//   other lines are converted, and afterwards one box tells how many lines
//   were left unchanged and why.
// * The store never grows: what the conversion adds is measured first, line
//   by line in the order the lines are converted, and when the store cannot
//   take it at any point the whole command is refused with the one box of a
//   full store and nothing changes.
//
// Each rule is a pure function on one line's text as well, so that it can be
// used and tested alone.
#pragma once

// --- The commands -----------------------------------------------------------------

// The kinds of convert_lines (command id - 1130).
constexpr int CONVERT_DETAB = 0;         // "&Detab": tabs to blanks
constexpr int CONVERT_ENTAB = 1;         // "&Entab": blanks to tabs
constexpr int CONVERT_PC_TO_ANSI = 2;    // "PC>&ANSI": DOS letters to ANSI
constexpr int CONVERT_ANSI_TO_PC = 3;    // "ANSI>&PC": ANSI letters to DOS
constexpr int CONVERT_VISIBLE = 4;       // "&Sonderzeichen": control characters made visible
constexpr int CONVERT_HTML_TO_ANSI = 5;  // "HTML>ANSI": entities to letters
constexpr int CONVERT_ANSI_TO_HTML = 6;  // "ANSI>HTML": letters to entities
constexpr int CONVERT_C_SPACING = 7;     // "&Leertasten": blank spacing of C code
constexpr int CONVERT_XOR_7 = 8;         // "XOR 7": every byte XOR 7

// Converts the lines by the rule of kind (0..8; any other kind does nothing).
// 0, or -1 when refused (full store: the user is told, nothing changed).
int convert_lines(int kind);
// "Tab expandieren": aligns the fields of a table separated by tabs (or by
// 0x1C when a line to convert holds that byte) in columns of blanks.
int table_expand();
// "Tab komprimieren": fields of a table aligned by blanks back to fields
// separated by tabs.
int table_compress();
// A rule of another module's own, run through the same frame on the marked
// lines only: with no line marked nothing changes (the document is still
// flagged as changed and repainted). rule is one of the rules below in form.
using LineRule = int (*)(const char* in, char* out);
int convert_marked_lines(LineRule rule);
// "HTML optimieren": blank lines are removed, an indentation of 5 or more
// white-space characters before "<" goes; the view shows the document's start.
int html_optimize();

// The text of the box after "XOR 7" left lines unchanged (%d: how many); a
// line that would grow past 250 characters is told with linesLeftTooLongText
// of textops/block.h.
constexpr const char* convertXorKeptText =
    "Zeilen, die XOR 7 nicht wieder herstellen k\366nnte (Zeichen 7 oder Leerraum am "
    "Zeilenende), blieben unver\344ndert: %d.";

// --- The rules on one line -------------------------------------------------------
// Each takes a line's text (at most 250 characters) and writes the result,
// NUL-terminated and without trailing white space, into out (room for 251
// bytes). Result: the new length, or one of these:
constexpr int CONVERT_KEEP = -1;    // the line stays as it was (out is not used)
constexpr int CONVERT_REMOVE = -2;  // the line leaves the document

// Each tab becomes blanks, at least one, up to the next multiple of tabStep.
int detabText(const char* in, char* out, int tabStep);
// A run of two or more blanks that ends on a tab stop (a multiple of tabStep)
// before a non-blank becomes one tab; a run never reaches back past the
// previous tab stop. Columns are counted as character positions.
int entabText(const char* in, char* out, int tabStep);
// The seven German letters between the DOS code page and ANSI; every other
// byte stays.
int dosToAnsiChar(int ch);
int ansiToDosChar(int ch);
int pcToAnsiText(const char* in, char* out);
int ansiToPcText(const char* in, char* out);
// Bytes below 32, 127 and 128..160 become "<_XX_>" with their code in hex.
int visibleText(const char* in, char* out);
// The entities of the seven German letters to the letters, and back.
int htmlToAnsiText(const char* in, char* out);
int ansiToHtmlText(const char* in, char* out);
// Blank spacing of C code: "if(", "for(", "while(" get a blank; a blank after
// "(" and "," and before ")"; runs of three or more blanks inside a statement
// become one blank unless a comment follows on the line; casts such as
// "(char *)" stay tight. Text in quotes is left alone.
int cSpacingText(const char* in, char* out);
// Every byte XOR 7; CONVERT_KEEP when the result could not be stored and
// converted back (a byte 7, or white space at the result's end).
int xor7Text(const char* in, char* out);

// The tables: 100 column widths; fields beyond the 100th are neither measured
// nor padded.
constexpr int TABLE_FIELDS = 100;
constexpr int TABLE_MARKER = 0xB7;     // first character of a padded field that begins with a blank
constexpr int TABLE_SEPARATOR = 0x1C;  // the field separator used instead of the tab
struct TableWidths {
    int width[TABLE_FIELDS];  // the longest field i followed by a separator
};
// Widens widths by the fields of a line split at separator; the last field
// (after the last separator) is not measured.
void tableMeasureText(const char* text, int separator, TableWidths* widths);
// Each field followed by a separator is padded with blanks to width + 2 (a
// longer field is never cut), a padded field that begins with a blank gets
// the marker, the separator is dropped; the last field is appended as it is.
// Fields beyond the 100th keep their separator.
int tableExpandText(const char* in, char* out, int separator, const TableWidths& widths);
// Every field ended by two blanks becomes the field (a leading marker turned
// back into a blank) and a tab.
int tableCompressText(const char* in, char* out);
// CONVERT_REMOVE for a line of white space only; an indentation of 5 or more
// white-space characters before "<" is removed.
int htmlOptimizeText(const char* in, char* out);
