// Messages, texts, assertions and memory blocks: the small services through which
// every module speaks to the user and reacts to an impossible state.
//
// Portable: the boxes reach the system through plat_message_box/plat_file_box
// (support/platform.h); the texts through plat_load_string.
#pragma once

// ---------------------------------------------------------------- texts

// The string-table text id in the next of ten ring buffers (at most 500
// characters); "Text %d fehlt." when the id is missing. Valid until ten further calls.
const char* load_text(int id);
// The same into the caller's buffer of max bytes.
void load_text_into(int id, char* buf, int max);
// Releases the text ring (at program end); the next load_text allocates it again.
void free_texts();

// ---------------------------------------------------------------- boxes

void message_box(const char* text);                  // OK, information; caption of the active window
void message_box_fmt(const char* fmt, ...)           // OK, exclamation; main window, program title
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
int ask_yes_no(const char* text, int default_no);    // 1 Yes, else 0
int ask_yes(const char* text);                       // ask_yes_no(text, 0)
int ask_yes_no_cancel(const char* text, int mode);   // 1 Yes, 0 No, 2 Cancel (and Escape)

// The system's boxes to choose a file to open or to save under; filter is a
// separator-delimited list whose last character is the separator ("A|*.*||").
// 1 and the path in name_io (200 characters of room), or 0 and name_io empty.
int file_open_box(char* name_io, const char* title, const char* filter);
int file_save_box(char* name_io, const char* title, const char* filter);

// The steps of the file boxes that need no system.
constexpr int FILE_BOX_PATH_MAX = 200;    // the longest path a file box takes or gives
constexpr int FILE_BOX_FILTER_MAX = 200;  // the longest filter text used
// The system's filter list from filter: at most FILE_BOX_FILTER_MAX characters
// are used, and every occurrence of the filter's last character (the separator)
// becomes a NUL. Only complete description and pattern pairs are kept (a filter
// cut at the limit loses its cut pair), and the list always ends in two NULs
// within pairs, which holds FILE_BOX_FILTER_MAX + 2 bytes.
void file_box_filter(const char* filter, char* pairs);
// Splits a start name (at most FILE_BOX_PATH_MAX characters of it are used) into
// the start directory (up to and with the last '\', '/' or ':'; empty when there
// is none, and then the box starts in the current directory) and the name field
// (the rest); a blank name gives two empty parts. dir and file hold
// FILE_BOX_PATH_MAX + 1 bytes each.
void file_box_split(const char* name, char* dir, char* file);

// ---------------------------------------------------------------- assertions and memory

// Shows "ASSERT ERROR\n<file>.<line>\n<expr>" and ends the program at once.
[[noreturn]] void assert_fail(const char* file, int line, const char* expr);

// A zero-filled block of n * size bytes, or NULL: also when n or size is below 1,
// when n * size exceeds 2^31 - 1 (a 32-bit long), or when FMALLOC_BLOCKS blocks
// are outstanding. Released with ffree.
constexpr int FMALLOC_BLOCKS = 1024;
void* fmalloc(long n, long size);
// 0, or -1 when p is no block of fmalloc (nothing is freed then).
int ffree(void* p);
// The count of outstanding blocks: +1 per request, -1 per release, successful or not.
int fmalloc_count();
// Test seam: after n more granted requests every request fails; n < 0: never.
void fmalloc_test_fail_after(int n);
// A scratch block for one command: fmalloc(n, size), or NULL after the box
// memoryShortText has told the user that the command was not carried out.
// A command that cannot have its block changes nothing: the text stays as it was.
void* fmalloc_scratch(long n, long size);
constexpr const char* memoryShortText = "Zu wenig Arbeitsspeicher: der Befehl wurde nicht ausgef\374hrt.";
// clip_put(text), or false after the box clipboardRefusedText has told the user.
// A command whose text the clipboard does not take changes nothing.
bool clip_put_or_tell(const char* text);
constexpr const char* clipboardRefusedText =
    "Die Zwischenablage nimmt den Text nicht an: der Befehl wurde nicht ausgef\374hrt.";

// An assertion as the program writes them: the module's source name, the line and
// the expression's text exactly as shown to the user.
#define Y8_ASSERT(module, line, expr, text) \
    ((expr) ? (void)0 : assert_fail((module), (line), (text)))

// ---------------------------------------------------------------- debug trace

// Formats (at most 511 characters, cut beyond) and passes the text to the debug output.
void debug_out(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
