// The dialog manager: the table of open dialogs, their message routing, the
// current-dialog stack, the activation record and the control functions.
#include "framework/dialog_win32.h"

#include "framework/messages.h"
#include "support/app_win32.h"
#include "support/status.h"
#include "support/strfunc.h"

#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <utility>

// The shell's run state. It belongs beside App and stands here only until the
// shell module defines it (then this line goes).

namespace {

constexpr const char* kModule = "dialog";  // source name in the assertion boxes

// Life of one opening: created -> initialising -> initialised -> closing -> closed.
// Created is 0 so that a zero-filled slot starts there.
enum class Life : int { Created = 0, Initialising, Initialised, Closing, Closed };

// One open dialog. A slot is free while its window is 0.
struct dlgbox {
    char name[DLG_NAME_MAX + 1];  // template name, cut to 20 characters
    DlgInitProc init;
    DlgExitProc exit;
    DlgMsgProc proc;  // cleared first when the dialog goes, so the module sees no more
    HWND window;
    HWND opener;      // dlg_hwnd() when it was opened: another dialog or the main window
    Life life;
    bool initRan;     // the init procedure was called in this opening
};

// The manager's state.
struct DialogState {
    dlgbox* box = nullptr;  // DLGSUP slots from fmalloc
    // Slots whose messages are being handled, innermost on top; entry 0 is -1 (none).
    std::array<int, 2 * DLGSUP> stack{{-1}};
    int idxtop = 0;
    // Activation record: the boxes activated last and before that, and the name
    // of the box that is active now ("" when none of them is).
    HWND lastActive = nullptr;
    HWND previousActive = nullptr;
    char activeName[DLG_NAME_MAX + 1] = "";
};

DialogState S;

// ---------------------------------------------------------------- slot table helpers

bool isOpen(int k) { return S.box && S.box[k].window != nullptr; }

// The slot of an open dialog with window w, -1 when w is none of them.
int slotOf(HWND w) {
    if (!S.box || !w) return -1;
    for (int k = 0; k < DLGSUP; ++k)
        if (S.box[k].window == w) return k;
    return -1;
}

bool isOpenAndEnabled(HWND w) { return slotOf(w) >= 0 && IsWindowEnabled(w); }

// A template name into a buffer of DLG_NAME_MAX + 1 bytes, cut to fit.
void copyName(char* dst, const char* src) {
    std::size_t n = 0;
    if (src)
        while (n < static_cast<std::size_t>(DLG_NAME_MAX) && src[n]) ++n;
    std::memcpy(dst, src ? src : "", n);
    dst[n] = '\0';
}

// ---------------------------------------------------------------- current-dialog stack

void push(int k) {
    Y8_ASSERT(kModule, 228, ++S.idxtop < 2 * DLGSUP, "++idxtop < 2*DLGSUP");
    S.stack[S.idxtop] = k;
}

void pop() { Y8_ASSERT(kModule, 240, --S.idxtop >= 0, "--idxtop >= 0"); }

// ---------------------------------------------------------------- destruction

// Runs the module's exit procedure once per opening, with the dialog current.
void runExitStage(int k) {
    dlgbox& d = S.box[k];
    push(k);
    if (d.life != Life::Closing && d.life != Life::Closed) {
        d.life = Life::Closing;
        if (d.exit) d.exit();
        d.life = Life::Closed;
    }
    pop();
}

// Dialogs opened from w now count as opened from w's opener. Returns the last
// of them in slot order (the candidate for the focus), or 0.
HWND spliceOpeners(HWND w, HWND opener) {
    HWND candidate = nullptr;
    for (int k = 0; k < DLGSUP; ++k) {
        dlgbox& d = S.box[k];
        if (d.window && d.window != w && d.opener == w) {
            d.opener = opener;
            candidate = d.window;
        }
    }
    return candidate;
}

// After a dialog went: a dialog it had opened, else its opener, else the box that
// was active last or before; when none of them can take it, the main window.
void giveFocusAfterClose(HWND candidate, HWND opener) {
    HWND choice = nullptr;
    if (candidate && IsWindowEnabled(candidate))
        choice = candidate;
    else if (isOpenAndEnabled(opener))
        choice = opener;
    if (!choice || choice == App.mainWindow) {
        if (isOpenAndEnabled(S.lastActive))
            choice = S.lastActive;
        else if (isOpenAndEnabled(S.previousActive))
            choice = S.previousActive;
    }
    if (choice) {
        BringWindowToTop(choice);
        SetFocus(choice);
    } else if (App.mainWindow) {
        SetFocus(App.mainWindow);
    }
}

void destroyDialog(int k) {
    dlgbox& d = S.box[k];
    HWND w = d.window;
    if (!w) return;
    d.proc = nullptr;  // WM_DESTROY, WM_NCDESTROY ... never reach the module
    runExitStage(k);
    if (d.window != w) return;  // the exit procedure took it down itself
    HWND opener = d.opener;
    HWND candidate = spliceOpeners(w, opener);
    DestroyWindow(w);
    d.window = nullptr;
    giveFocusAfterClose(candidate, opener);
}

// The window was destroyed without the manager (its owner went, or someone called
// DestroyWindow): free the slot all the same, so that it never names a dead
// window, and close the opening for the module.
void forgetLostWindow(int k) {
    dlgbox& d = S.box[k];
    d.proc = nullptr;
    if (d.life == Life::Created)
        d.life = Life::Closed;  // never initialised: nothing to close for the module
    else
        runExitStage(k);
    spliceOpeners(d.window, d.opener);
    d.window = nullptr;
}

// ---------------------------------------------------------------- message handling

void noteActivation(const dlgbox& d, WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) {
        if (d.window != S.lastActive) {
            S.previousActive = S.lastActive;
            S.lastActive = d.window;
        }
        copyName(S.activeName, d.name);
    } else {
        S.activeName[0] = '\0';
    }
}

INT_PTR passToModule(const dlgbox& d, UINT msg, WPARAM wParam, LPARAM lParam) {
    return d.proc ? d.proc(msg, wParam, lParam) : 0;
}

// Every message of the dialog in slot k, with the dialog current.
INT_PTR handleMessage(int k, HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!S.box) return 0;
    dlgbox& d = S.box[k];
    if (d.life == Life::Created) d.window = w;  // the dialog's first message
    if (!d.window || d.window != w) return 0;   // after destruction
    push(k);
    INT_PTR result = 0;
    switch (msg) {
    case WM_INITDIALOG:
        if (d.life == Life::Created) {
            d.life = Life::Initialising;
            d.initRan = true;
            if (d.init) d.init(0, nullptr);
            if (d.life == Life::Initialising) d.life = Life::Initialised;  // unless closed meanwhile
        }
        result = 1;  // the system focuses the first tab stop
        break;
    case WM_ACTIVATE:
        noteActivation(d, wParam);
        result = passToModule(d, msg, wParam, lParam);
        break;
    case WM_CLOSE:
        destroyDialog(k);
        result = 1;
        break;
    case WM_DESTROY:
        if (d.life != Life::Closing && d.life != Life::Closed) forgetLostWindow(k);
        break;
    default:
        result = passToModule(d, msg, wParam, lParam);
        break;
    }
    pop();
    return result;
}

// One window procedure per slot, so the slot is known from the first message on.
template <int K>
INT_PTR CALLBACK slotProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    return handleMessage(K, w, msg, wParam, lParam);
}

template <std::size_t... K>
constexpr std::array<DLGPROC, sizeof...(K)> makeSlotProcs(std::index_sequence<K...>) {
    return {{&slotProc<static_cast<int>(K)>...}};
}

constexpr std::array<DLGPROC, DLGSUP> kSlotProcs = makeSlotProcs(std::make_index_sequence<DLGSUP>{});

// ---------------------------------------------------------------- control helpers

LRESULT sendItem(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(dlg_hwnd(), id, msg, wParam, lParam);
}

LPARAM textParam(const char* text) { return reinterpret_cast<LPARAM>(text ? text : ""); }

void setProgramFont(HWND control) {
    if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(App.font), TRUE);
}

// The full text of item index of a combo box (CB_) or list box (LB_); false when
// there is no such item.
bool itemText(HWND control, bool combo, int index, std::string& out) {
    out.clear();
    if (!control || index < 0) return false;
    LRESULT len = SendMessageA(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (len < 0) return false;  // CB_ERR, LB_ERR
    out.assign(static_cast<std::size_t>(len) + 1, '\0');
    LRESULT got = SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                               reinterpret_cast<LPARAM>(&out[0]));
    if (got < 0) {
        out.clear();
        return false;
    }
    out.resize(static_cast<std::size_t>(got < len ? got : len));
    return true;
}

// At most max characters of text into buf (max + 1 bytes); the length copied.
int copyCut(const std::string& text, char* buf, int max) {
    std::size_t n = text.size() < static_cast<std::size_t>(max) ? text.size() : static_cast<std::size_t>(max);
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<int>(n);
}

bool fromControl(int id, WPARAM wParam) { return static_cast<int>(LOWORD(wParam)) == id; }

}  // namespace

// ---------------------------------------------------------------- lifecycle

void dlg_init() {
    if (S.box) return;  // set up once
    void* table = nullptr;
    Y8_ASSERT(kModule, 97, (table = fmalloc(DLGSUP, sizeof(struct dlgbox))) != nullptr,
              "(box=fmalloc( DLGSUP, sizeof(struct dlgbox))) != NULL");
    S.box = static_cast<dlgbox*>(table);
    for (int k = 0; k < DLGSUP; ++k) new (&S.box[k]) dlgbox{};
    S.stack[0] = -1;
    S.idxtop = 0;
}

void dlg_exit() {
    if (!S.box) return;
    ffree(S.box);
    S.box = nullptr;
    S.idxtop = 0;
    S.lastActive = S.previousActive = nullptr;
    S.activeName[0] = '\0';
}

int dlg_is_message(MSG* msg) {
    if (!S.box || !msg) return 0;
    for (int k = 0; k < DLGSUP; ++k) {
        HWND w = S.box[k].window;
        if (w && IsDialogMessageA(w, msg)) return 1;
    }
    return 0;
}

void dlg_close_all() {
    if (!S.box) return;
    for (int k = DLGSUP - 1; k >= 0; --k)
        if (isOpen(k)) destroyDialog(k);
}

// ---------------------------------------------------------------- opening and closing

HWND dlg_open(const char* name, DlgInitProc init, DlgExitProc exit, DlgMsgProc proc) {
    if (!S.box) return nullptr;
    if (!name) name = "";
    // Already open: a module cannot open two copies of its dialog.
    for (int k = 0; proc && k < DLGSUP; ++k) {
        HWND w = S.box[k].window;
        if (!w || S.box[k].proc != proc) continue;
        if (!IsWindowEnabled(w)) {
            MessageBeep(1);
        } else {
            BringWindowToTop(w);
            SetFocus(w);
        }
        return w;
    }
    if (runState != 2) return nullptr;  // the message loop is not running

    int k = 0;
    while (k < DLGSUP && S.box[k].window) ++k;
    if (k == DLGSUP) {
        MessageBeep(1);
        message_box_fmt("Sie haben bereits %d Dialogboxen ge\366ffnet.", DLGSUP);
        return nullptr;
    }

    dlgbox& d = S.box[k];
    d = dlgbox{};
    copyName(d.name, name);
    d.init = init;
    d.exit = exit;
    d.proc = proc;
    d.opener = dlg_hwnd();

    HWND w = CreateDialogParamA(App.instance, name, App.mainWindow, kSlotProcs[k], 0);
    // Closed again during its own initialisation: the module knows; no warning.
    bool closedByItself = d.initRan && (d.life == Life::Closing || d.life == Life::Closed);
    if (!w || closedByItself || !IsWindow(w)) {
        d.window = nullptr;  // the slot stays free
        d.proc = nullptr;
        if (!closedByItself) {
            dlg_enable_all(1);
            message_box_fmt("Kann Dialogbox %s nicht herstellen.", name);
        }
        return nullptr;
    }
    d.window = w;
    return w;
}

int dlg_close() {
    int k = dlg_current();
    if (k < 0 || !isOpen(k)) return -1;
    PostMessageA(S.box[k].window, WM_CLOSE, 0, 0);
    return 0;
}

void dlg_enable_all(int on) {
    BOOL enable = on ? TRUE : FALSE;
    if (App.mainWindow) EnableWindow(App.mainWindow, enable);
    if (!S.box) return;
    for (int k = 0; k < DLGSUP; ++k)
        if (S.box[k].window) EnableWindow(S.box[k].window, enable);
}

// ---------------------------------------------------------------- queries

int dlg_current() { return S.box ? S.stack[S.idxtop] : -1; }

HWND dlg_hwnd() {
    int k = dlg_current();
    return k >= 0 ? S.box[k].window : App.mainWindow;
}

void dlg_active_name(char* buf) {
    if (buf) copyName(buf, S.activeName);
}

void dlg_set_title(const char* text) {
    int k = dlg_current();
    if (k >= 0 && isOpen(k)) SetWindowTextA(S.box[k].window, text ? text : "");
}

// ---------------------------------------------------------------- controls

HWND dlg_item(int id) { return GetDlgItem(dlg_hwnd(), id); }

void dlg_enable_item(int id, int on) {
    if (HWND c = dlg_item(id)) EnableWindow(c, on ? TRUE : FALSE);
}

void dlg_update_item(int id) {
    if (HWND c = dlg_item(id)) {
        InvalidateRect(c, nullptr, TRUE);
        UpdateWindow(c);
    }
}

void dlg_focus_item(int id) {
    if (HWND c = dlg_item(id)) SetFocus(c);
}

int dlg_focus_id() {
    HWND f = GetFocus();
    return f ? GetDlgCtrlID(f) : 0;
}

void dlg_set_check(int id, int state) { sendItem(id, BM_SETCHECK, static_cast<WPARAM>(state)); }

int dlg_get_check(int id) { return static_cast<int>(sendItem(id, BM_GETCHECK)); }

void combo_reset(int id) {
    HWND c = dlg_item(id);
    setProgramFont(c);
    if (c) SendMessageA(c, CB_RESETCONTENT, 0, 0);
}

int combo_add(int id, const char* text) {
    return static_cast<int>(sendItem(id, CB_ADDSTRING, 0, textParam(text)));
}

int combo_insert(int id, const char* text, int index) {
    return static_cast<int>(sendItem(id, CB_INSERTSTRING, static_cast<WPARAM>(index), textParam(text)));
}

int combo_delete(int id, int index) {
    return static_cast<int>(sendItem(id, CB_DELETESTRING, static_cast<WPARAM>(index)));
}

int combo_get_item(int id, int index, char* buf, int max) {
    if (!buf || max < 0) return 0;
    buf[0] = '\0';
    std::string text;
    if (!itemText(dlg_item(id), true, index, text)) return 0;
    copyCut(text, buf, max);
    return 1;
}

int combo_get_sel_text(int id, char* buf, int max) {
    if (!buf || max < 0) return 0;
    buf[0] = '\0';
    int sel = static_cast<int>(sendItem(id, CB_GETCURSEL));
    return sel >= 0 ? combo_get_item(id, sel, buf, max) : 0;
}

void combo_get_text(int id, char* buf, int max) {
    if (!buf || max < 0) return;
    buf[0] = '\0';
    // What the user sees: the list keeps an item selected after the first
    // edit of its text (a drop-down list's text is its selected item).
    if (HWND c = dlg_item(id)) GetWindowTextA(c, buf, max < INT_MAX ? max + 1 : max);
}

void combo_set_text(int id, const char* text) {
    HWND c = dlg_item(id);
    if (!c) return;
    if (!text) text = "";
    setProgramFont(c);
    // CB_FINDSTRINGEXACT ignores case; the item must match exactly.
    int found = -1;
    int count = static_cast<int>(SendMessageA(c, CB_GETCOUNT, 0, 0));
    std::string item;
    for (int i = 0; i < count && found < 0; ++i)
        if (itemText(c, true, i, item) && item == text) found = i;
    SendMessageA(c, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    SetWindowTextA(c, text);
}

bool combo_dropdown(int id, WPARAM wParam) {
    return fromControl(id, wParam) && HIWORD(wParam) == CBN_DROPDOWN;
}

bool combo_changed(int id, WPARAM wParam) {
    if (!fromControl(id, wParam)) return false;
    WORD code = HIWORD(wParam);
    return code == CBN_SELCHANGE || code == CBN_DBLCLK || code == CBN_EDITUPDATE;
}

void list_reset(int id) {
    HWND c = dlg_item(id);
    setProgramFont(c);
    if (c) SendMessageA(c, LB_RESETCONTENT, 0, 0);
}

int list_add(int id, const char* text) {
    return static_cast<int>(sendItem(id, LB_ADDSTRING, 0, textParam(text)));
}

int list_get_text(int id, int index, char* buf, int max) {
    if (!buf || max < 0) return -1;
    buf[0] = '\0';
    std::string text;
    if (!itemText(dlg_item(id), false, index, text)) return -1;
    return copyCut(text, buf, max);
}

void list_set_top(int id, int index) { sendItem(id, LB_SETTOPINDEX, static_cast<WPARAM>(index)); }

int list_get_sel(int id) {
    HWND c = dlg_item(id);
    return c ? static_cast<int>(SendMessageA(c, LB_GETCURSEL, 0, 0)) : -1;
}

void list_set_sel(int id, int index) { sendItem(id, LB_SETCURSEL, static_cast<WPARAM>(index)); }

int list_count(int id) { return static_cast<int>(sendItem(id, LB_GETCOUNT)); }

int list_event(int id, WPARAM wParam) {
    if (!fromControl(id, wParam)) return 0;
    switch (HIWORD(wParam)) {
    case LBN_SETFOCUS: return 1;
    case LBN_SELCHANGE: return 2;
    case LBN_DBLCLK: return 3;
    default: return 0;
    }
}

bool edit_changed(int id, WPARAM wParam) {
    if (!fromControl(id, wParam) || HIWORD(wParam) != EN_CHANGE) return false;
    HWND c = dlg_item(id);
    return c && GetFocus() == c;
}

// ---------------------------------------------------------------- control values

void dlg_set_font(int id, HFONT font) {
    SendDlgItemMessageA(dlg_hwnd(), id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void dlg_set_text(int id, const char* text) {
    // Without a program font yet the control keeps its own rather than the system font.
    if (App.font) dlg_set_font(id, App.font);
    dlg_put_text(id, text);
}

void dlg_put_text(int id, const char* text) { SetDlgItemTextA(dlg_hwnd(), id, text ? text : ""); }

int dlg_get_text(int id, char* buf, int max) {
    if (!buf || max < 0) return 0;
    buf[0] = '\0';  // the system leaves buf as it was when there is no control
    int n = static_cast<int>(GetDlgItemTextA(dlg_hwnd(), id, buf, max + 1));
    if (n <= 0) {
        buf[0] = '\0';
        return 0;
    }
    return n;
}

namespace {

// At most a field's length of the control's text.
struct FieldText {
    char text[FIELD_TEXT_MAX + 1];
    explicit FieldText(int id) { dlg_get_text(id, text, FIELD_TEXT_MAX); }
};

}  // namespace

void dlg_set_int(int id, int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", n);
    dlg_set_text(id, buf);
}

int dlg_get_int(int id) { return read_int(FieldText(id).text); }

void dlg_set_long(int id, long n) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%ld", n);
    dlg_set_text(id, buf);
}

long dlg_get_long(int id) { return read_long(FieldText(id).text); }

void dlg_set_hex(int id, long n) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%lX", static_cast<unsigned long>(n));
    dlg_set_text(id, buf);
}

long dlg_get_hex(int id) { return hex_to_int(FieldText(id).text); }

void dlg_set_fixed(int id, double value) {
    char buf[FIXED_TEXT_SIZE];
    format_fixed(buf, sizeof buf, value);
    dlg_set_text(id, buf);
}

double dlg_get_double(int id) { return read_double(FieldText(id).text); }
