// String and character functions
//
// The program's own string library for 8-bit text in the Windows ANSI code
// page (Windows-1252). All strings are NUL-terminated byte arrays owned by
// the caller; no function allocates, and the caller guarantees room for any
// growth. Every character is taken as an unsigned byte: characters 128-255
// are never white space or digits. Pointers must be valid (not NULL).
#pragma once

// --- Character classes and case folding -----------------------------------

// True for blank, tab (9), LF (10), VT (11), FF (12) and CR (13) only.
inline bool is_white(int ch) {  // inline: every row trim asks it per character
    ch &= 0xFF;
    return ch == ' ' || (ch >= 9 && ch <= 13);
}
// True for '0'..'9' only.
inline bool is_digit(int ch) {
    ch &= 0xFF;
    return ch >= '0' && ch <= '9';
}

// a-z to A-Z and 224-254 to 192-222 (subtract 32); all else, also 255,
// unchanged. ch is taken as ch & 0xFF, so a negative char value is safe.
int upper_char(int ch);
// A-Z to a-z and 192-222 to 224-254 (add 32); all else unchanged.
int lower_char(int ch);

// The collation weight 0..255 of a character (ch & 0xFF): its position in
// the name order of sorted lists (codes 0-64, capitals with their accented
// forms, 91-96, small letters with theirs, 123-191, then x-sign, THORN,
// division sign, thorn).
int collation_weight(int ch);

// --- Small numeric functions ----------------------------------------------

int min_int(int a, int b);  // the smaller
int max_int(int a, int b);  // the larger
int abs_int(int n);         // the absolute value (INT_MIN stays INT_MIN)

// Skips leading white space, then reads hexadecimal digits (0-9, A-F, a-f)
// up to the first other character; 0 when there is no hex digit there.
// Too many digits wrap around silently.
long hex_to_int(const char* s);

// --- Memory ---------------------------------------------------------------

// Copies n bytes from src to dst (note: source first); the areas may
// overlap. Returns dst + n. Nothing is copied when n < 1 (returns dst).
char* mem_move(const void* src, void* dst, int n);
// Sets n bytes at p to ch (nothing when n < 1).
void mem_fill(void* p, int n, int ch);
// The first q in from..to-2 where s[q] and s[q + 1] are both ch, or -1.
// Looks at s[from] to s[to - 1] only; eight positions a step.
int mem_find_pair(const char* s, int from, int to, int ch);
// The first i below n where p[i] is a control character (below 32), or -1;
// eight bytes a step.
int mem_find_control(const char* p, int n);
// Writes n characters ch and a terminator into s (n < 1: s becomes empty).
void str_fill(char* s, int n, int ch);

// --- Inspecting -----------------------------------------------------------

// Pointer to the terminator of s.
char* str_end(char* s);
const char* str_end(const char* s);
// Position of the first ch (ch & 0xFF) in s, -1 if none (the terminator is
// never found).
int str_index(const char* s, int ch);
// Position of the first occurrence of sub in s, -1 if none; an empty sub is
// found at 0.
int str_find(const char* s, const char* sub);
// The same, characters compared after upper_char.
int str_find_nocase(const char* s, const char* sub);
// Position of the last occurrence of sub, searching from length(s) -
// length(sub) down to 0; -1 if none and -1 whenever sub is not shorter
// than s.
int str_rfind(const char* s, const char* sub);
// True when s is empty or white space only.
bool str_is_blank(const char* s);
// True when n < 1 or the first n characters of s are all white space (the
// terminator is not white space).
bool is_blank_n(const char* s, int n);
// Compares after upper_char: the difference of the folded characters at
// the first mismatch (the terminator counts as 0), 0 if equal.
int str_cmp_nocase(const char* a, const char* b);
// The same over at most n characters (0 when n < 1).
int str_ncmp_nocase(const char* a, const char* b, int n);
// The name order for sorted lists: digit runs compare as numbers (file9
// before file10), other characters by collation_weight; a prefix sorts
// first. Negative, 0 or positive.
int str_cmp_numeric(const char* a, const char* b);

// --- Changing in place ----------------------------------------------------

// Removes leading and trailing white space; 0 (s empty) when nothing is
// left, else 1.
int str_trim(char* s);
// Removes trailing white space; 0 when s is then empty, else 1.
int str_trim_right(char* s);
// The same for the first n bytes of s (no NUL among them): the length left,
// where a NUL is put.
int str_trim_right_n(char* s, int n);
// upper_char on every character of s.
void str_upper(char* s);
// dst becomes exactly width characters: src cut to width or filled up with
// blanks (width < 1: dst empty). dst may be src.
void str_pad(char* dst, const char* src, int width);
// Removes n characters at pos (fewer when s ends first); nothing when pos
// is at or beyond the end, pos < 0 or n < 1.
void str_delete(char* s, int pos, int n);
// Inserts ins into s before position pos, pos clamped to 0..length(s).
void str_insert(const char* ins, char* s, int pos);
// Copies at most n characters of src to dst and always terminates dst
// (dst needs n + 1 bytes); returns the number copied.
int str_ncopy(char* dst, const char* src, int n);
// Writes the decimal digits of n (n >= 0; below 0 as 0) at p, without a NUL;
// the position after them. For texts built on every key or every line, where
// a formatted print would cost more than the rest.
char* str_put_number(char* p, long n);
// Where both strings still have characters and dst has a blank, dst takes
// src's character (fills a blank template such as a date mask).
void str_overlay(char* dst, const char* src);
// Trims s, moves its first white-space-delimited word into word, removes
// it from s and trims s again; returns the word's length (0: none left).
int str_next_word(char* word, char* s);
// s starts with a delimiter d: field gets the characters after it up to
// the next d (or the end), and s becomes the rest starting at that next d
// (empty when there is none). An empty s gives an empty field.
void str_cut_field(char* field, char* s);

// --- Patterns -------------------------------------------------------------

// True when s matches pattern as a whole: '*' any run (also none), '?'
// exactly one character, '#' exactly one digit, others themselves.
// Iterative; at most length(pattern) * length(s) steps.
bool wild_match(const char* pattern, const char* s);
// The same, literal characters compared after upper_char (file names).
bool wild_match_nocase(const char* pattern, const char* s);
// True when s has the length of mask and, position by position, '#' stands
// against a digit, '?' against any character, others against themselves.
bool mask_match(const char* mask, const char* s);

// --- Sorting --------------------------------------------------------------

// Shell's sort of n elements of size bytes in place: gaps n/2, n/4, ..., 1;
// neighbours gap apart are swapped while cmp(left, right) > 0. Not stable.
// Nothing happens when n < 2 or size < 1.
void shell_sort(void* base, int n, int size, int (*cmp)(const void*, const void*));
