// The tools "Addierer", "ANSI" and "Strich": their portable halves.
//
// The adder keeps a running sum for the program's run: a 32-bit integer sum
// and a real sum, changed together. The user edits it in the small box
// "Addierer" (DB1410) or, with its check box "0+-=$_ im Text" on, feeds it from
// the text: the keys + - 0 = $ _ typed in the text window then act on the sum
// instead of being typed. The integer sum keeps the 32-bit arithmetic: a sum
// beyond its range wraps around, and the real sum keeps the true value.
//
// The ANSI table (DB1411) shows the codes 32-127 or 128-255 with their
// characters; "Strich" puts a ruling line of 72 characters before the cursor
// line.
//
// The dialog procedures (tools/adder_win32.h) only move values between their
// controls and the functions below. An open adder is told to show fresh values
// by posting it command 2510 (plat_post_dialog_command); command 2520 closes it.
#pragma once

#include <cstdint>

#include "resources/resource.h"
#include "support/status.h"

// --- Commands and controls -------------------------------------------------------

// DLG_ACTION rebuilds the ANSI table; DLG_REFRESH shows fresh values; DLG_CANCEL closes.
constexpr int ADDER_CLOSE_COMMAND = 2520;

// "Addierer" (DB1410): the sum in decimal, in hexadecimal, the real sum with
// two decimals, and the check box "0+-=$_ im Text".
constexpr int ADDER_DECIMAL = 3000, ADDER_HEX = 3010, ADDER_IN_TEXT_BOX = 3020, ADDER_REAL = 3100;

// "ANSI" (DB1411): the check boxes "Dezimal", "Codes >= 128", "Benutzt" and the table.
constexpr int ANSI_DECIMAL = 3000, ANSI_UPPER = 3010, ANSI_FONT_USED = 3020, ANSI_TABLE = 3100;

// --- The adder's state ----------------------------------------------------------------

extern std::int32_t sumInt;  // the integer sum
extern double sumReal;       // the real sum
extern int adderInText;      // "0+-=$_ im Text": the keys in the text act on the sum

// Everything as at start-up: sums 0, the check box off, no dialog, no refocus.
void adderReset();

// --- The dialog's life ------------------------------------------------------------------

// Before the dialog opens (or is brought forward): refocus set means the main
// window comes back to the front after the next display update.
void adderOpening(int refocus);
// The dialog was opened (dialog: its handle for posted commands): every field
// counts as not shown yet, and the dialog is told to show its values.
void adderOpened(std::intptr_t dialog);
// The dialog was closed.
void adderClosed();
bool adderIsOpen();

// The dialog is open and "0+-=$_ im Text" is on: the keys go to the adder.
bool adder_active();
// When the dialog is open, posts it command 2510 (part of the full refresh).
void adder_refresh();
// Start-up: adder_refresh becomes a listener of the full refresh.
void adderInstall();
// Ctrl+minus: with the adder taking the keys, it closes (command 2520);
// otherwise it opens with refocus (command 1410 posted with lParam 1).
void adderShortcut();

// --- Command 2510 ----------------------------------------------------------------------

// Room for the number texts of the fields.
constexpr int ADDER_TEXT_SIZE = FIXED_TEXT_SIZE;

// What an update writes: each field pair only when its sum changed since it
// was shown last; refocus when the main window is to come to the front.
struct AdderView {
    bool intChanged;
    char decimal[ADDER_TEXT_SIZE];  // "%ld"
    char hex[ADDER_TEXT_SIZE];      // "%lX" of the 32 bits
    bool realChanged;
    char real[ADDER_TEXT_SIZE];     // two decimals, never "-0.00"
    bool refocus;
};
// The values to show; they count as shown from now on, and the refocus
// request is used up.
AdderView adderView();

// The integer sum as the fields show it: decimal and upper-case hexadecimal
// digits of its 32 bits (negative sums in two's complement, no prefix).
void adderDecimalText(std::int32_t n, char* buf);  // ADDER_TEXT_SIZE bytes
void adderHexText(std::int32_t n, char* buf);      // ADDER_TEXT_SIZE bytes

// --- Typing into the fields -----------------------------------------------------------
// A field's text is at most a field's length; text that is no number counts 0.

// Field 3000 typed: the integer sum takes its decimal value (beyond the 32-bit
// range: the limit); the hexadecimal text for field 3010 into hexOut.
void adderDecimalTyped(const char* text, char* hexOut);
// Field 3010 typed: the integer sum takes its hexadecimal value (its last
// eight digits count); the decimal text for field 3000 into decimalOut.
void adderHexTyped(const char* text, char* decimalOut);
// Field 3100 typed: the real sum takes its value. The integer sum stays.
void adderRealTyped(const char* text);
// The check box was clicked.
void adderInTextSet(int checked);

// --- The keys in the text ---------------------------------------------------------------

// True for the characters the adder takes while active: + - 0 = $ _.
bool isAdderKey(int ch);
// One key acting on the sum instead of being typed:
//   "0" both sums 0;
//   "+" / "-" the number at the start of the word under the cursor (delimited
//       by blanks, apostrophes and double quotes; German "1.234,5" reads as
//       1234.5) added to or taken from both sums, then the cursor one line
//       down as the Down key; a word without a number adds 0;
//   "$" both sums become the sum of the integers of the blank-separated words
//       of the cursor line (its first 200 characters);
//   "=" the result text typed at the cursor, then the adder closes (it stays
//       open when the store refused the text);
//   "_" the adder closes.
void adderKey(int ch);
// A character typed in the text: while the adder is active and ch is one of
// its keys, adderKey(ch) and true; otherwise false (the text takes it).
bool adderTakesKey(int ch);

// The number of a word as "+" and "-" read it: the leading run of digits,
// signs, commas and periods, in German form when it has a comma after its
// first character. Its integer part (limited to 32 bits) and its real value.
struct AdderNumber {
    std::int32_t integer;
    double real;
};
AdderNumber adderNumberOf(const char* word);
// The text "=" types: the integer sum when the real sum with two decimals is
// exactly that integer followed by ".00", else the real sum with two
// decimals. buf holds ADDER_TEXT_SIZE bytes.
void adderResultText(char* buf);
// The integer sum of the blank-separated words of a line ("$"), at most its
// first 200 characters looked at.
std::int32_t adderLineSum(const char* text);

// --- The ANSI table ---------------------------------------------------------------------

// Room for the table's text: 16 rows of at most 8 cells of 7 characters and CR LF.
constexpr int ANSI_TEXT_SIZE = 16 * (8 * 7 + 2) + 1;

// The table into buf (ANSI_TEXT_SIZE bytes): upper, the codes 128-255 in 8
// columns, else 32-127 in 6; 16 rows; the cell of row r and column c holds the
// code c * 16 + r plus the half's first code, as "%3d %c  " with decimal, else
// "%02X %c   "; each row ends with CR LF. Returns the text's length.
int ansiTableText(bool upper, bool decimal, char* buf);

// --- Strich -------------------------------------------------------------------------------

constexpr int STRICH_LENGTH = 72;

// A ruling line of 72 equal characters (0xAF for kind 0, 0xAD for 1, "_" for
// 2) inserted before the cursor line; the cursor stays on its line, which
// moves down by one. 0; -1 when the store cannot take the line (the user is
// told, nothing changed) or kind is no kind.
int strich(int kind);
