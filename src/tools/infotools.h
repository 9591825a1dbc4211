// The info tools: the word at the cursor handed to an information viewer
// ("lib-Info A" to "C", "pro-Info") through a command-line template of the
// settings, and the project's batch file "lint.bat" started with the current
// file's name. The dialog "Info/Baukasten" (DB1601, tools/infotools_win32.h)
// edits the templates and the other tool paths of the section "Installation".
//
// No word and no file name can add a command, redirect output or choose
// another program: the template's own first word is the program, a word goes
// in as one argument (support/profile.h, program_line), and a word or name
// that cannot be passed safely starts nothing and the user is told.
#pragma once

#include <array>

constexpr int INFO_KINDS = 4;            // LibInfoA, LibInfoB, LibInfoC, ProInfo
constexpr int INFO_PRO = 3;              // the kind of pro-Info
constexpr int INFO_TEMPLATE_MAX = 80;    // characters of a template and of a dialog field
constexpr int INFO_WORD_MAX = 250;       // characters of a word taken from the line

using InfoTemplates = std::array<std::array<char, INFO_TEMPLATE_MAX + 1>, INFO_KINDS>;
// The four templates, read from the settings on first use.
extern InfoTemplates infoTemplates;
// Forgets them: the next use reads them again.
void infoTemplatesForget();

// lib-Info kind 0..2 (A..C): the template with word (cut before its first
// "(" unless that is its first character) for its "%s", started. pro-Info:
// "Projekt.ufo" or "info/Projekt.ufo" looked for from the current directory
// upwards (never in the root); when found, the "ProInfo" template with its
// path and word, started; else nothing. An empty word starts nothing. The
// system's result; 0 when nothing was started (a refusal is told the user).
int lib_info(int kind, const char* word);
int pro_info(const char* word);
// "lint.bat" looked for from the current directory upwards while the path has
// at least 6 characters, else the batch file of "LintBAT": started through the
// shell with the current document's name as its one parameter, in the current
// directory. Nothing when neither exists; a name that cannot be passed safely
// is refused with a box. The shell's result, 0 when nothing was started.
int lint_run();

// The callers. Commands 1211-1213 and Ctrl+I: the marked text of the line,
// else the word at the cursor. Ctrl+4/5/6: the word at the cursor (the key
// dispatcher removes the mark first). Command 1210 and Ctrl+O: pro-Info with
// the marked text, else the word. Command 1215: lint.
void infoCommand(int kind);
void infoKeyA();
void infoKeyB();
void infoKeyC();
void infoKeyMarked();  // Ctrl+I
void infoKeyProject(); // Ctrl+O
void lintCommand();

// --- The dialog "Info/Baukasten" --------------------------------------------------
constexpr int INFO_FIELDS = 8;           // fields 3000, 3010, ... 3070
constexpr int INFO_FIELD_FIRST = 3000;
constexpr int INFO_FIELD_LINT = 3060;    // "Standard" leaves it as it is
// DLG_ACTION is "&Speichern".
constexpr int INFO_STANDARD = 2501;      // "Standard"
using InfoFields = std::array<std::array<char, INFO_TEMPLATE_MAX + 1>, INFO_FIELDS>;
// Every field from the settings (at most 80 characters).
void infoFieldsLoad(InfoFields* fields);
// Every field trimmed and stored; the templates in memory take the new values.
void infoFieldsSave(const InfoFields& fields);
// The standard values into every field but that of "LintBAT".
void infoFieldsStandard(InfoFields* fields);
