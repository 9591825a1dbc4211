// The headless host's profile, clipboard, command line and starters: ini values
// in a real file, the clipboard in memory, the command line set by a test, and
// the programs started, documents opened and commands posted recorded (nothing
// is run).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One start through the shell (plat_shell_execute).
struct HeadlessShellCall {
    std::string file;
    std::string params;
    std::string dir;
    bool mainOwner;  // owned by the main window (else the desktop)
};

// One command posted to the main window (dialog 0) or to a dialog.
struct HeadlessPostedCommand {
    int id;
    std::intptr_t lParam;
    std::intptr_t dialog = 0;
};

// Forgets every record, empties the clipboard and the command line (the words
// are split again on their next use), sets the
// profile path to none (reads give "", writes are dropped), the ini directory
// back to this process's own and the start results to success.
void headless_profile_reset();

// The directory in which a profile name without a directory lies (a separator
// is added when missing). By default a directory of this process's own in the
// system's temporary directory, removed when the process ends.
void headless_set_ini_dir(const char* dir);
// The file the ini values go to: "" when no profile path is set.
const char* headless_ini_path();

// The program's command line as plat_command_line gives it; the command-line
// words are split from it again on their next use.
void headless_set_command_line(const char* line);
// The program's own path as plat_program_path gives it ("": none to be had).
void headless_set_program_path(const char* path);

// Clipboard: true when it holds text; emptying it as another program would;
// refusing every clip_put (as when another program holds it open) until reset.
bool headless_clipboard_has_text();
void headless_clipboard_clear();
void headless_clipboard_refuse(bool refuse);

// What plat_start_program and plat_shell_execute answer (33 and 42 by default:
// success).
void headless_set_start_result(int result);
void headless_set_shell_result(int result);

// Every command line started, oldest first.
const std::vector<std::string>& headless_started_programs();
// Every start through the shell, oldest first.
const std::vector<HeadlessShellCall>& headless_shell_calls();
// Every command posted to the main window, oldest first.
const std::vector<HeadlessPostedCommand>& headless_posted_commands();
// Every command posted to a dialog (plat_post_dialog_command), oldest first.
const std::vector<HeadlessPostedCommand>& headless_dialog_commands();
