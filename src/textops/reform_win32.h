// The dialog "Block umformulieren" (DB1102): the rule text in a multi-line
// field, "&Start" applies it to the marked lines, "Muster" shows the
// template. The procedures only move the text between the field and
// textops/reform.h.
#pragma once

constexpr int REFORM_FIELD = 3000;     // the rules
constexpr int REFORM_TEMPLATE = 2501;  // "Muster"; DLG_ACTION is "&Start"

// Opens the dialog; a rule file's path (the Baukasten's "Umform:" entries)
// replaces the rules by the file's lines, the empty text (the menu) shows
// the rules used last.
void reform_open(const char* path);
