// Status bar widths, control value texts, dates and the help target: the
// portable rules behind the status bar, the dialog value functions and the
// help command. The Win32 side (support/status_win32.h) only moves these
// values between the system and the controls.
#pragma once

#include "support/files.h"

// --- Dates and times -----------------------------------------------------------

// Room for any date text below, whatever bytes the record holds: every field
// of a TimeRecord has at most three digits, the year at most four.
constexpr int DATE_TEXT_SIZE = 24;

// The current local date and time from the C runtime. All zero when the
// runtime cannot tell it or the year does not fit the record (1900-2155).
void current_time(TimeRecord* t);

// "dd.mm.yyyy" of the current local date into buf (DATE_TEXT_SIZE bytes).
void today_string(char* buf);
// "dd.mm.yyyy hh:mm" of t into buf (DATE_TEXT_SIZE bytes).
void format_datetime(char* buf, const TimeRecord* t);
// "dd.mm.yyyy  hh:mm" (two blanks) of t into buf (DATE_TEXT_SIZE bytes).
void format_datetime_wide(char* buf, const TimeRecord* t);
// In all three the year is the record's year + 1900, or 0 when its year byte
// is 0 (a record that holds no time shows as 00.00.0000).

// --- Control value texts -----------------------------------------------------

// The longest text the value readers of the dialog fields look at.
constexpr int FIELD_TEXT_MAX = 80;

// Room for format_fixed's text: a field's length.
constexpr int FIXED_TEXT_SIZE = FIELD_TEXT_MAX + 1;

// value with two decimals ("%.2f") into buf (size bytes, at least 32). A value
// that rounds to zero shows without a minus ("0.00", never "-0.00"). A value
// whose fixed text would not fit in buf is written with 15 significant digits
// ("%.15g", "1e+300") instead, so a field never shows a cut-off number.
void format_fixed(char* buf, int size, double value);

// A decimal integer at the start of s: leading white space, an optional sign,
// digits up to the first other character; 0 when there is no digit there.
// Values beyond the type's range give its limit.
int read_int(const char* s);
long read_long(const char* s);

// A decimal floating-point number at the start of s: leading white space, an
// optional sign, digits with an optional decimal point, an optional exponent
// ("e" or "E", optional sign, digits); 0 when there is no digit there. Only
// this decimal form counts (no "inf", "nan" or hex); an exponent without digits
// is not part of the number ("1e" reads as 1). Overflow gives +-HUGE_VAL.
double read_double(const char* s);

// --- Status bar widths and dialog units --------------------------------------

constexpr int STATUS_MAX_WIDTHS = 10;                    // widths a status text may give
constexpr int STATUS_MAX_PARTS = STATUS_MAX_WIDTHS + 1;  // plus the part filling the rest
constexpr int STATUS_MAX_WIDTH = 32767;                  // a larger width counts as this

// Reads up to STATUS_MAX_WIDTHS blank-separated decimal widths (dialog units)
// from text and stores the right edge of each part, the running sum of the
// widths so far, into edges. The list ends at the end of the text, after the
// tenth width, or at the first word that is not an unsigned decimal number.
// Returns the count of widths read (0 for an empty text).
int parse_status_widths(const char* text, int edges[STATUS_MAX_WIDTHS]);

// n dialog units in pixels for a dialog base height of baseHeight pixels:
// n * baseHeight / 8, rounded to the nearest integer (halves away from zero).
int units_to_pixels(int n, int baseHeight);

// --- Help --------------------------------------------------------------------------

// Room for a help target: a path, "::/", a topic of a field's length and ".html".
constexpr int HELP_TARGET_SIZE = FILE_PATH_MAX + 3 + FIELD_TEXT_MAX + 5 + 1;

// The text handed to the help viewer into buf (size bytes): file, or when file
// is null or empty the program path with its extension replaced by "chm";
// then, when topic is neither null nor empty, "::/", topic and ".html".
// 0, or -1 (buf empty) when there is no path or the result does not fit.
int help_target(char* buf, int size, const char* file, const char* programPath,
                const char* topic);
