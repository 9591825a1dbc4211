// "Umformulieren": the marked lines rewritten by a short list of rules the
// user types (or a rule file of the Baukasten gives).
//
// A rule line, trimmed and cut to 80 characters:
//   s<d>search<d>replacement<d>  every occurrence of search (exact) becomes the
//                                replacement, going on behind it; the delimiter
//                                d is any character; a missing last delimiter
//                                lets the replacement run to the line's end;
//   d<d>pattern<d>               the line goes when it matches the pattern as a
//                                whole ("*" any run, "?" one character, "#" one
//                                digit);
//   anything else                a comment.
// The rules run in order on every marked line; a later rule sees what the
// earlier ones made. A line that would grow past 250 characters is left as it
// was and counted in one box; what the rules add is measured before anything
// moves, and a full store refuses the whole command (textops/convert.h).
#pragma once

#include "support/files.h"

constexpr int REFORM_RULES_MAX = 4000;     // characters of the rule text
constexpr int REFORM_RULE_MAX = 80;        // characters of one rule line used
constexpr int REFORM_FILE_LINE_MAX = 100;  // characters of a rule file's line kept

// The rule text (lines ended by CR LF as an edit control gives them); kept for
// the program run, empty at start.
extern char reformRules[REFORM_RULES_MAX + 1];
// The rule file handed to the dialog when it opens; empty from the menu.
extern char reformFile[FILE_PATH_MAX + 1];

// What "Muster" shows.
constexpr const char* reformTemplate =
    "s/..von../..nach../ ersetzt (exakt)\r\nd/..gesucht../ l\366scht (match)\r\n";

// The rule file's lines (each cut to 100 characters, followed by CR LF)
// become reformRules, which stops growing at 4000 characters. A file that
// does not open leaves reformRules as it was (false).
bool reformRulesRead(const char* path);

// One line through reformRules, in the form of the conversion rules: the new
// length with the result in out (251 bytes), CONVERT_REMOVE when a "d" rule
// matched, CONVERT_KEEP when the line would not fit 250 characters.
int reform_line(const char* in, char* out);

// The marked lines rewritten (the view keeps its place). 0, or -1 when the
// store cannot take what the rules add (the user told, nothing changed).
int reform_apply();
