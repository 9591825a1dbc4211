// The narrow seam between the portable core and the platform.
//
// The core (every source outside the *_win32.cpp files) reaches the outside world
// only through the functions declared here. Two hosts implement them:
//   - the Win32 layer (*_win32.cpp) for the product, with the system's boxes,
//     string table, private-profile functions, clipboard, status bar and title;
//   - the headless host (src/host) for native tests, benchmarks and fuzzing: boxes
//     answered from a queue a test fills, the clipboard in memory, ini values in a
//     real file, posted commands, repaints, status texts and titles recorded.
// The portable halves of these services (the text ring, the exact box styles, the
// formatting with its bounds, the command-line split) live in the core and call
// the plat_ primitives; the names without a prefix are the program's own services.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------- texts

// The raw string-table entry id into buf (at most max-1 characters and a NUL);
// false when the table has no such id.
bool plat_load_string(int id, char* buf, int max);

// ---------------------------------------------------------------- boxes

// Message box styles as the system knows them (OK, Yes/No, icons, defaults, task-modal).
namespace box_style {
constexpr unsigned kOk = 0x0000, kYesNoCancel = 0x0003, kYesNo = 0x0004;
constexpr unsigned kIconStop = 0x0010, kIconQuestion = 0x0020, kIconExclamation = 0x0030,
                   kIconInformation = 0x0040;
constexpr unsigned kDefault2 = 0x0100, kDefault3 = 0x0200;
constexpr unsigned kTaskModal = 0x2000;
}  // namespace box_style

// The buttons a box can answer with (the system's values).
namespace box_answer {
constexpr int kOk = 1, kCancel = 2, kYes = 6, kNo = 7;
}

// Whose box it is: it decides the owner and the caption.
enum class BoxOwner {
    ActiveWindow,  // no owner; captioned with the active window's caption (at most 79 characters)
    MainWindow,    // owned by the main window; captioned with the program title
};

// Shows a task-modal box with all program windows disabled meanwhile, and makes the
// window that was active before active again. Returns the button pressed
// (box_answer); closing the box with Escape or its close button gives kCancel
// (kOk for a box with only OK).
int plat_message_box(const char* text, unsigned style, BoxOwner owner);

// The system's box to choose a file to open (save = false) or to save under. name
// holds the start name on entry (directory part = start directory, file part =
// name field; both may be empty); pairs is the filter as NUL-separated description
// and pattern pairs ending in two NULs. Returns 1 and the chosen path in name (at
// most 200 characters), or 0 and name empty when cancelled. The current directory
// is the same afterwards.
int plat_file_box(bool save, char* name, const char* title, const char* pairs);

// ---------------------------------------------------------------- fatal end

// Shows text in a stop box owned by the main window, captioned with the program
// title, then ends the program at once with "Das Programm wird beendet.".
[[noreturn]] void plat_fatal(const char* text);

// Passes a line of the debug trace to the system's debug output.
void plat_debug_text(const char* text);

// ---------------------------------------------------------------- ini file

// The profile path all ini functions use; a name without a directory lies in the
// Windows directory.
void plat_ini_set_file(const char* path);
// The value of key in section into buf (at most size-1 characters; "" when the key
// is missing); returns its length. Sections and keys compare without case;
// surrounding quotes are removed.
int plat_ini_get(const char* section, const char* key, char* buf, int size);
// Writes the value (the spelling of an existing section and key is kept).
void plat_ini_put(const char* section, const char* key, const char* value);
// The directory in which the profile lies, with a trailing separator.
void plat_ini_dir(char* buf, int size);

// ---------------------------------------------------------------- commands and view

// Posts WM_COMMAND id to the main window (handled when the loop reaches it);
// lParam travels with it (command 1402 carries a text's token, never an address).
void plat_post_command(int id, std::intptr_t lParam);
// Posts WM_COMMAND id to an open modeless dialog; `dialog` is the handle its Win32
// side gave the core when it opened (0: nothing happens). Tool dialogs learn this
// way that they should show fresh values (command 2510).
void plat_post_dialog_command(std::intptr_t dialog, int id);

// ---------------------------------------------------------------- the text window
// The view's portable half (view/textview) decides what to paint; these carry it out.

// The text window repaints itself in full at the next opportunity (invalidation,
// no erase); every change of more than one row or a scroll asks for this.
void plat_repaint_view();
// A row-paint context: taken, used for one or more rows, released. Taking it hides
// the cursor, releasing it shows the cursor again. Contexts never nest.
void plat_row_paint_begin();
// Within a context: window row `row` painted afresh from the window rows.
void plat_row_paint_row(int row);
// Within a context: n characters of text drawn from cell (col, row) over the line
// background for markState (no in-line mark); n is already capped to the view.
void plat_row_paint_text(int col, int row, const char* text, int n, char markState);
void plat_row_paint_end();
// The caret or block cursor brought up to date with the cursor cell, focus and mode.
void plat_caret_refresh();
// The vertical scroll bar set to the range 0..max, page and position; disabled
// (not hidden) when no scrolling is possible.
void plat_scrollbar_set(int max, int page, int pos);
// Shows the first popup of the menu resource menuName at client point (x, y)
// of the text window and waits for the choice; returns the chosen command id,
// or 0 when the menu was dismissed (or could not be shown). Nothing is sent
// to the main window: the caller posts the command.
int plat_context_menu(const char* menuName, int x, int y);

// ---------------------------------------------------------------- keyboard

// The character virtual key vk gives without Shift, Ctrl or Alt in the active
// keyboard layout (Windows-1252; a letter may come in either case), or 0 when
// the key gives none or none of 1..255. Asking changes no keyboard state.
int plat_key_char(int vk);

// ---------------------------------------------------------------- status and title

// Sets the text of part `part` of the status bar.
void status_set(int part, const char* text);
// The caption of the main window.
void set_main_title(const char* text);

// ---------------------------------------------------------------- clipboard

// At most max characters of the clipboard text into buf (NUL-terminated); buf is
// empty when the clipboard holds no text.
void clip_get(char* buf, int max);
// Empties the clipboard and puts a copy of text on it. False when the
// clipboard could not be had or the copy not made.
bool clip_put(const char* text);

// ---------------------------------------------------------------- command line and programs

// The program's command line as it was started (word 0 is the program path as
// typed, perhaps relative or found through the search path).
const char* plat_command_line();
// The program's own file as the system knows it (its full path) into buf:
// false, buf empty, when it cannot be had in size - 1 characters.
bool plat_program_path(char* buf, int size);
// Starts a command line, shown normally; the system's result (above 31 is success).
int plat_start_program(const char* cmdline);
// Opens or starts file with the default verb (parameters and directory may be
// empty; main = owner is the main window, else the desktop); above 32 is success.
int plat_shell_execute(const char* file, const char* params, const char* dir, bool main);
