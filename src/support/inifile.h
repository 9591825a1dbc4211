// A private-profile file kept by the program itself, with the rules the program
// relies on from the system's own functions:
//   - a file of "[section]" lines followed by "key=value" lines;
//   - sections and keys compare without case, white space around them ignored;
//   - rewriting a key keeps the existing spelling of section and key; a new key
//     goes after the last line of its section, a new section at the end;
//   - every other line (comments, blank lines, odd lines) stays as it was;
//   - lines written end in CR LF; lines read may end in LF alone;
//   - on reading, one pair of matching surrounding quotes (" or ') is removed
//     and a value longer than the buffer is cut;
//   - a missing file, section or key reads as "".
// The headless host keeps its ini values in a real file through this module.
#pragma once

// The value of key in section of the file at path into buf (at most size - 1
// characters and a NUL; "" when missing). Returns the length; 0 and nothing
// written when size < 1.
int inifile_get(const char* path, const char* section, const char* key, char* buf, int size);

// Writes value as the value of key in section, creating the file, the section
// or the key when missing. 0, or -1 when the file cannot be read or written or
// when a name or value cannot be stored on one line (a line break in it, ']'
// in the section name, '=' in the key, an empty key).
int inifile_put(const char* path, const char* section, const char* key, const char* value);
