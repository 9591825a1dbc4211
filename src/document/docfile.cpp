#include "document/docfile.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "document/docstate.h"
#include "document/filehist.h"
#include "document/linestore.h"
#include "framework/messages.h"
#include "resources/resource.h"
#include "support/platform.h"
#include "support/status.h"
#include "support/strfunc.h"

namespace {

constexpr int kTextUnnamed = 10;
constexpr int kTextFilter = 20, kTextOpenTitle = 21, kTextSaveFilter = 22, kTextSaveTitle = 23;
constexpr int kTextAskSave = 24, kTextInsertTitle = 25;
constexpr int kMsgCannotOpen = 100, kMsgTooLong = 101, kMsgCannotCreate = 102, kTextWriteError = 103,
              kMsgTimeChanged = 104;
constexpr int kHeadBytes = 250;        // the line ends are looked for in this many bytes
constexpr int kWriteBuffer = 2048;     // the output goes out in blocks of this size
constexpr int kDateChars = 10;         // "dd.mm.yyyy"
constexpr int kStampColumns[] = {3, 8, 16};
constexpr TimeRecord kNoTime = {};

constexpr const char* kTempKept =
    "Dateifehler: kann %s nicht ersetzen. Der neue Text steht in %s.";
constexpr const char* kNotSavedOver =
    " Unter diesem Namen wird nicht gesichert: bitte \"Sichern als\" mit einem anderen Namen w\344hlen.";
constexpr const char* kPartlyLoaded =
    "%s wurde nur zum Teil geladen. Unter diesem Namen gesichert w\344re die Datei gek\374rzt: "
    "bitte \"Sichern als\" mit einem anderen Namen w\344hlen.";

// What the line-end field and the properties dialog show now.
struct Shown {
    int crlf = -1;  // the line-end field (-1: not yet written)
    bool propertiesOpen = false;
    std::intptr_t propertiesDialog = 0;
    char name[kPathChars + 1] = "";
    char dir[kPathChars + 1] = "";
    long size = 0;
    TimeRecord time = {};
    int modified = 255;
    int crlfBox = 255;
};
Shown shown;

// A message whose text id holds one %s, shown with path.
void tellPath(int textId, const char* path) {
    char format[512];
    load_text_into(textId, format, sizeof format);
    message_box_fmt(format, path);
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// path made absolute against the current directory (a load followed by the
// change of directory must not leave a relative name behind).
void fullPath(const char* path, char* out) {
    str_ncopy(out, path, kPathChars);
    if (isSeparator(path[0]) || (path[0] && path[1] == ':')) return;
    char cwd[kPathChars + 1];
    if (get_cwd(cwd) != 0 || path_add_sep(cwd) != 0) return;
    if (std::strlen(cwd) + std::strlen(path) > static_cast<std::size_t>(kPathChars)) return;
    std::strcat(cwd, path);
    str_ncopy(out, cwd, kPathChars);
}

// Two names of one file: alike (separators alike, without regard to case),
// or naming one file by the system's identity of it ("sub/../x", a link).
bool samePath(const char* a, const char* b) {
    char x[kPathChars + 1], y[kPathChars + 1];
    fullPath(a, x);
    fullPath(b, y);
    for (char* p = x; *p; ++p) if (*p == '/') *p = '\\';
    for (char* p = y; *p; ++p) if (*p == '/') *p = '\\';
    return str_cmp_nocase(x, y) == 0 || file_same(x, y);
}

// A free name for the temporary file beside path. False when none fits.
bool tempName(const char* path, char* out) {
    char dir[kPathChars + 1];
    if (path_dir(dir, path) < 0) return false;
    for (int i = 0; i < 100; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Y8~%02d.TMP", i);
        if (std::strlen(dir) + std::strlen(name) > static_cast<std::size_t>(kPathChars)) return false;
        std::strcpy(out, dir);
        std::strcat(out, name);
        if (file_attributes(out) < 0) return true;
    }
    return false;
}

// --- Writing ---------------------------------------------------------------------

// One walk of the document into the output file.
struct SaveWalk {
    int handle;
    char buffer[kWriteBuffer];
    int used;
    int blankLines;  // blank lines not yet written: a document's trailing ones never are
    bool failed;
    long written;    // bytes the file has taken
    char today[DATE_TEXT_SIZE];
};

int bufferFlush(SaveWalk* w) {
    if (w->used == 0) return 0;
    const int n = w->used;
    w->used = 0;
    if (file_write(w->handle, w->buffer, n) != n) return -1;
    w->written += n;
    return 0;
}

int bufferPut(SaveWalk* w, const char* bytes, int n) {
    while (n > 0) {
        if (w->used == kWriteBuffer && bufferFlush(w) != 0) return -1;
        int part = kWriteBuffer - w->used;
        if (part > n) part = n;
        std::memcpy(w->buffer + w->used, bytes, static_cast<std::size_t>(part));
        w->used += part;
        bytes += part;
        n -= part;
    }
    return 0;
}

int lineEndPut(SaveWalk* w) { return bufferPut(w, crlfMode ? "\r\n" : "\n", crlfMode ? 2 : 1); }

// Brings the date in the document's third line up to today before a save.
struct StampWalk {
    int lineCount;
    const char* today;
};

int stampThirdLine(LineRecord* line, void* user) {
    auto* w = static_cast<StampWalk*>(user);
    if (++w->lineCount < 3) return 1;
    if (w->lineCount > 3) return 0;
    dateStampApply(line->text, w->today);
    return 1;
}

// The viewer of a save: one line written.
int saveLine(LineView* line, void* user) {
    SaveWalk* w = static_cast<SaveWalk*>(user);
    const int n = line->length;
    if (n == 0) {
        ++w->blankLines;
        return 1;
    }
    for (; w->blankLines > 0; --w->blankLines) {
        if (lineEndPut(w) != 0) break;
    }
    if (w->blankLines > 0 || bufferPut(w, line->text, n) != 0 || lineEndPut(w) != 0) {
        w->failed = true;
        return 0;
    }
    return 1;
}

// Writes every line into handle; 0 with the bytes written in *written, or -1
// after telling the user.
int documentWrite(int handle, const char* path, long* written) {
    static SaveWalk walk;  // the 2 KB buffer stays off the stack
    walk = SaveWalk{};
    walk.handle = handle;
    today_string(walk.today);
    if (flushWindowBelow() != 0) {
        tellPath(kMsgCannotCreate, path);
        return -1;
    }
    StampWalk stamp{0, walk.today};
    if (visitAbove(stampThirdLine, &stamp)) visitBelow(stampThirdLine, &stamp);
    const bool walked = viewAbove(saveLine, &walk) && viewBelow(saveLine, &walk);
    fillWindowFromBelow();
    topLine = aboveCountGet();
    if (!walked || walk.failed) {
        message_box(load_text(kTextWriteError));
        return -1;
    }
    if (bufferFlush(&walk) != 0) {
        tellPath(kMsgCannotCreate, path);
        return -1;
    }
    *written = walk.written;
    return 0;
}

// The new file takes the name in one step, so that the name always holds the
// old text or the whole new one, whenever the program stops. The old text
// stays as the backup: a second name of the old file (or a copy where the file
// system has none) made before. 0, or -1 with the old file under its name;
// *tempKept when the temporary file must stay (the user is told its name).
int replaceByTemp(const char* temp, const char* path, bool* tempKept) {
    if (file_attributes(path) < 0) return file_rename(temp, path);
    char bak[kPathChars + 1];
    if (!backupName(path, bak) || samePath(bak, path)) {
        if (file_replace(temp, path) == 0) return 0;
        *tempKept = true;
        return -1;
    }
    if (file_attributes(bak) >= 0) file_delete(bak);
    if (file_link(path, bak) != 0 && file_copy(path, bak) != 0) return -1;
    return file_replace(temp, path);
}

// --- Loading ---------------------------------------------------------------------

bool anyLoss(const LineLoss& l) {
    return l.cutLines > 0 || l.nulLines > 0 || l.loneCRs > 0 || l.afterEof > 0 || l.readFailed;
}

// True when the rest of the file after a full store holds more than blank
// lines: text the load did not take.
bool restHoldsText(LineFile* lf) {
    const LineLoss taken = lf->loss;
    lf->loss = LineLoss{};
    char text[kLineChars + 1];
    bool found = false;
    for (int n; !found && (n = lf_read_line(lf, text, kLineChars)) >= 0;) {
        for (int i = 0; i < n && !found; ++i) found = !is_white(static_cast<unsigned char>(text[i]));
    }
    found = found || anyLoss(lf->loss);
    lf->loss = taken;
    return found;
}

const char* plural(long n, const char* one, const char* many) { return n == 1 ? one : many; }

// Appends one item of the loss box, items separated by commas.
void lossItem(char* items, std::size_t size, const char* item) {
    const std::size_t used = std::strlen(items);
    std::snprintf(items + used, size - used, "%s%s", used > 0 ? ", " : "", item);
}

// Tells the user once what a load (whole) or an insert did not take of path.
// A full store alone keeps its own message 101.
void tellLoss(const LoadLoss& loss, const char* path, bool whole) {
    const LineLoss& r = loss.reader;
    if (!anyLoss(r)) {
        if (loss.leftOver) tellPath(kMsgTooLong, path);
        return;
    }
    char items[512] = "", item[96];
    struct Counted {
        long count;
        const char* format;  // the count, then the noun
        const char* one;
        const char* many;
    };
    const Counted counted[] = {
        {r.cutLines, "%ld %s l\344nger als 250 Zeichen gek\374rzt", "Zeile", "Zeilen"},
        {r.nulLines, "%ld %s mit NUL-Zeichen gek\374rzt", "Zeile", "Zeilen"},
        {r.loneCRs, "%ld %s CR-Zeichen entfernt", "einzelnes", "einzelne"},
        {r.afterEof, "%ld %s nach Strg+Z nicht geladen", "Byte", "Bytes"},
    };
    for (const Counted& c : counted) {
        if (c.count <= 0) continue;
        std::snprintf(item, sizeof item, c.format, c.count, plural(c.count, c.one, c.many));
        lossItem(items, sizeof items, item);
    }
    if (loss.leftOver) {
        std::snprintf(item, sizeof item, "zu lang f\374r den Speicher: ab Zeile %d nicht geladen", loss.firstLeftOver);
        lossItem(items, sizeof items, item);
    }
    if (r.readFailed) {
        std::snprintf(item, sizeof item, "Dateifehler beim Lesen: ab Byte %ld nicht geladen", loss.readFailedAt);
        lossItem(items, sizeof items, item);
    }
    char text[kPathChars + 768];
    std::snprintf(text, sizeof text, "%s wurde nicht vollst\344ndig %s: %s.%s", path,
                  whole ? "\374bernommen" : "eingef\374gt", items, whole ? kNotSavedOver : "");
    message_box(text);
}

// The view at the remembered position: the cursor stays within the window (a
// row beyond it moves the window down so that the same line stays under the
// cursor), and its column is brought into view.
void positionRestore(std::int32_t top, std::int32_t row, std::int32_t first, std::int32_t col) {
    const int rows = windowRows < 1 ? 1 : (windowRows > kWindowRowsMax ? kWindowRowsMax : windowRows);
    if (top < 0) top = 0;
    if (row < 0) row = 0;
    if (row > rows - 1) {
        top += row - (rows - 1);
        row = rows - 1;
    }
    LineRecord line;
    while (aboveCountGet() < top && popBelow(&line) == 0) {
        if (pushAbove(&line) != 0) {
            pushBelow(&line);
            break;
        }
    }
    topLine = aboveCountGet();
    cursorRow = row;
    if (first < 0) first = 0;
    if (first > kLineChars - 1) first = kLineChars - 1;
    std::int64_t column = static_cast<std::int64_t>(first) + (col < 0 ? 0 : col);
    if (column > kLineChars - 1) column = kLineChars - 1;
    firstCol = first;
    cursorCol = 0;
    fillWindowFromBelow();
    docNotify(DocEvent::ColumnWanted, static_cast<int>(column));
}

bool docNewDone() {
    if (hasName) historyStorePosition(fileName, topLine, cursorRow, firstCol, cursorCol);
    if (!askSave(1)) return false;
    fileName[0] = '\0';
    std::strcpy(titleName, "$");
    hasName = 0;
    modified = 0;
    titleModified = -1;
    fileSize = 0;
    fileTime = TimeRecord{};
    partlyLoaded = 0;
    topLine = cursorRow = firstCol = cursorCol = 0;
    storeReset();
    rowsClearAll();
    docNotify(DocEvent::Replacing);
    positionsReset();
    docNotify(DocEvent::Replaced);
    return true;
}

// "module" in the current directory, separators alike. False when too long.
bool moduleFilePath(char* out) {
    char cwd[kPathChars + 1];
    if (get_cwd(cwd) != 0 || std::strlen(cwd) + 7 > static_cast<std::size_t>(kPathChars)) return false;
    std::snprintf(out, kPathChars + 1, "%s/module", cwd);
    path_unify_seps(out);
    return true;
}

}  // namespace

// --- The portable rules ------------------------------------------------------------

int lineEndDetect(const char* bytes, int n, int current) {
    for (int i = 0; i < n; ++i) {
        if (bytes[i] == '\r') return 1;
        if (bytes[i] == '\n') return 0;
    }
    return current;
}

bool dateAt(const char* text) {
    static constexpr const char* kForms[] = {"##.##.####", "####-##-##"};
    for (const char* form : kForms) {
        int i = 0;
        for (; i < kDateChars; ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (form[i] == '#' ? !std::isdigit(c) : c != static_cast<unsigned char>(form[i])) break;
        }
        if (i == kDateChars) return true;
    }
    return false;
}

bool dateStampApply(char* text, const char* today) {
    const int length = static_cast<int>(std::strlen(text));
    for (int column : kStampColumns) {
        if (column + kDateChars > length || !dateAt(text + column)) continue;
        std::memcpy(text + column, today, kDateChars);
        return true;
    }
    return false;
}

void fileSizeText(long size, char* buf) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%ld", size);
    const int n = static_cast<int>(std::strlen(digits));
    const bool negative = digits[0] == '-';
    if (n - (negative ? 1 : 0) < 4) {
        std::memcpy(buf, digits, static_cast<std::size_t>(n) + 1);
        return;
    }
    std::memcpy(buf, digits, static_cast<std::size_t>(n - 3));
    buf[n - 3] = '.';
    std::memcpy(buf + n - 2, digits + n - 3, 4);
}

bool backupName(const char* path, char* bak) {
    str_ncopy(bak, path, kPathChars);
    if (path_set_ext(bak, "bak") == 0) return true;
    bak[0] = '\0';
    return false;
}

// --- Loading -------------------------------------------------------------------------

LoadLoss linesLoad(LineFile* lf) {
    LoadLoss loss = {};
    char text[kLineChars + 1];
    for (int taken = 0;; ++taken) {
        const int nulLines = lf->loss.nulLines;
        int n = lf_read_line(lf, text, kLineChars);
        if (n < 0) break;
        // A NUL ends the text (the reader counted the line); then trimmed, the
        // store's form, whether or not the line passes the window.
        if (lf->loss.nulLines != nulLines) n = static_cast<int>(std::strlen(text));
        n = str_trim_right_n(text, n);
        loss.firstLeftOver = taken + 1;
        if (pushTextAbove(text, n) != 0) {
            loss.leftOver = true;  // this line did not fit
            break;
        }
        if (!storeHasRoom(kLoadMargin)) {
            loss.firstLeftOver = taken + 2;
            loss.leftOver = restHoldsText(lf);
            break;
        }
    }
    loss.reader = lf->loss;
    loss.readFailedAt = lf_tell(lf);
    return loss;
}

int docLoad(const char* path, bool whole) {
    char full[kPathChars + 1];
    fullPath(path, full);
    LineFile lf;
    if (lf_open(&lf, full) < 0) {
        tellPath(kMsgCannotOpen, path);
        return -1;
    }
    if (whole) {
        if (hasName) historyStorePosition(fileName, topLine, cursorRow, firstCol, cursorCol);
        str_ncopy(fileName, full, kPathChars);
        path_dir(lastDir, full);
        modified = 0;
        hasName = 1;
        fileSize = file_size(full);
        file_time(full, &fileTime);
        partlyLoaded = 0;
        topLine = cursorRow = firstCol = cursorCol = 0;
        storeReset();
        rowsClearAll();
        docNotify(DocEvent::Replacing);  // no line of the new document carries the old mark
        positionsReset();
    } else {
        docNotify(DocEvent::Inserting);
        if (flushRowsAbove(cursorRow) != 0) {
            lf_close(&lf);
            docNotify(DocEvent::InsertRefused);
            return -1;
        }
        if (flushRowsBelow(cursorRow) != 0) {
            fillRowsFromAbove(cursorRow);
            lf_close(&lf);
            docNotify(DocEvent::InsertRefused);
            return -1;
        }
        modified = 1;
    }

    char head[kHeadBytes] = {};
    lf_read(&lf, head, kHeadBytes);  // bytes past the end stay 0: no line end
    crlfMode = lineEndDetect(head, kHeadBytes, crlfMode);
    lf_seek(&lf, 0);

    const LoadLoss loss = linesLoad(&lf);
    lf_close(&lf);

    if (whole) {
        partlyLoaded = loss.leftOver || anyLoss(loss.reader) ? 1 : 0;
        moveAllBelow();
        std::int32_t top, row, first, col;
        historyPosition(fileName, &top, &row, &first, &col);
        positionRestore(top, row, first, col);
        change_dir(lastDir);
    } else {
        fillRowsFromAbove(cursorRow);
        fillRowsFromBelow(cursorRow);
    }
    topLine = aboveCountGet();
    positionsReset();
    docNotify(DocEvent::Replaced);
    tellLoss(loss, path, whole);
    return 0;
}

// --- Writing -------------------------------------------------------------------------

int writeFile(const char* path, bool keepTime) {
    char target[kPathChars + 1];
    fullPath(path, target);
    if (partlyLoaded && samePath(target, fileName)) {
        message_box_fmt(kPartlyLoaded, target);
        return -1;
    }
    const int attributes = file_attributes(target);
    if (attributes >= 0 && (attributes & FILE_ATTR_DIRECTORY)) {
        tellPath(kMsgCannotCreate, target);  // a directory is never put aside for a file
        return -1;
    }
    TimeRecord oldTime = {};
    const bool restoreTime = keepTime && keepFileTime && file_time(target, &oldTime) == 0 &&
                             std::memcmp(&oldTime, &kNoTime, sizeof oldTime) != 0;

    char temp[kPathChars + 1];
    const int handle = tempName(target, temp) ? file_create(temp) : -1;
    if (handle < 0) {
        tellPath(kMsgCannotCreate, target);
        return -1;
    }
    long written = 0;
    int result = documentWrite(handle, target, &written);
    // On the disk before it takes the name: a power cut then leaves the old
    // text or the whole new one under it, never a part.
    if (result == 0 && file_flush(handle) != 0) {
        tellPath(kMsgCannotCreate, target);
        result = -1;
    }
    if (file_close(handle) != 0 && result == 0) {
        tellPath(kMsgCannotCreate, target);
        result = -1;
    }
    bool tempKept = false;
    if (result == 0 && replaceByTemp(temp, target, &tempKept) != 0) {
        if (tempKept) message_box_fmt(kTempKept, target, temp);
        else tellPath(kMsgCannotCreate, target);
        result = -1;
    }
    if (result != 0) {
        if (!tempKept) file_delete(temp);
        return -1;
    }

    if (restoreTime) set_file_time(target, &oldTime);
    str_ncopy(fileName, target, kPathChars);
    path_dir(lastDir, target);
    modified = 0;
    hasName = 1;
    partlyLoaded = 0;
    fileSize = file_size(target);
    if (fileSize < 0) fileSize = written;  // the file is there; only its size could not be read
    file_time(target, &fileTime);
    return 0;
}

// --- Opening, saving, asking --------------------------------------------------------

void docNew() { docNewDone(); }

void openWithBox() {
    if (!askSave(1)) return;
    char name[kPathChars + 1] = "*.*";
    char title[128], filter[256];
    load_text_into(kTextOpenTitle, title, sizeof title);
    load_text_into(kTextFilter, filter, sizeof filter);
    if (file_open_box(name, title, filter)) docLoad(name, true);
}

void openPath(const char* path) {
    if (!path || !path[0]) return;
    if (!file_exists(path)) {
        // No file of that name: a directory, listed by the directory panel.
        change_dir(path);
        str_ncopy(lastDir, path, kPathChars);
        path_add_sep(lastDir);
        plat_post_command(CMD_DIRECTORY_PANEL, 0);
        return;
    }
    if (askSave(1)) docLoad(path, true);
}

void insertWithBox() {
    char name[kPathChars + 1] = "*.*";
    char title[128], filter[256];
    load_text_into(kTextInsertTitle, title, sizeof title);
    load_text_into(kTextFilter, filter, sizeof filter);
    if (file_open_box(name, title, filter)) docLoad(name, false);
}

namespace {

// fileName becomes lastDir + "NAMENLOS" for a document without a name.
void unnamedDefault() {
    char name[kPathChars + 1];
    str_ncopy(name, lastDir, kPathChars);
    path_add_sep(name);
    if (std::strlen(name) + 8 <= static_cast<std::size_t>(kPathChars)) std::strcat(name, "NAMENLOS");
    str_ncopy(fileName, name, kPathChars);
}

int saveWithBox() {
    char name[kPathChars + 1];
    str_ncopy(name, fileName, kPathChars);
    char title[128], filter[256];
    load_text_into(kTextSaveTitle, title, sizeof title);
    load_text_into(kTextSaveFilter, filter, sizeof filter);
    if (!file_save_box(name, title, filter)) return 0;
    return writeFile(name, false) == 0 ? 1 : 0;
}

}  // namespace

int save() {
    if (!hasName) {
        unnamedDefault();
        return saveWithBox();
    }
    if (partlyLoaded) {
        message_box_fmt(kPartlyLoaded, fileName);
        return 0;
    }
    TimeRecord now;
    file_time(fileName, &now);
    if (std::memcmp(&now, &fileTime, sizeof now) == 0) return writeFile(fileName, true) == 0 ? 1 : 0;
    tellPath(kMsgTimeChanged, fileName);
    return saveAs();
}

int saveAs() {
    if (!hasName) unnamedDefault();
    return saveWithBox();
}

int askSave(int withCancel) {
    if (!modified) return 1;
    char question[128];
    load_text_into(kTextAskSave, question, sizeof question);
    if (withCancel) {
        const int answer = ask_yes_no_cancel(question, 1);
        if (answer == 2) return 0;
        if (answer == 0) return 1;
        return save();  // what could not be written must not be dropped
    }
    return ask_yes_no(question, 0) ? save() : 1;  // "Ja" that could not be carried out holds the caller
}

void saveIfModified() {
    if (modified) save();
}

void back() {
    saveIfModified();
    char name[kPathChars + 1];
    backPop(name);
    if (name[0]) {
        openPath(name);
        return;
    }
    char module[kPathChars + 1];
    if (moduleFilePath(module) && file_exists(module)) openPath(module);
    else plat_post_command(CMD_DIRECTORY_PANEL, 0);
}

void openModuleFile() {
    char module[kPathChars + 1];
    if (!moduleFilePath(module) || !file_exists(module)) return;
    saveIfModified();
    if (docNewDone()) openPath(module);
}

void openKeepingBack(const char* path) {
    saveIfModified();
    backPush(fileName);
    if (docNewDone()) openPath(path);
    docNotify(DocEvent::ShowWanted);
}

// --- The back list -------------------------------------------------------------------

void backPush(const char* name) {
    std::memmove(backList[1], backList[0], sizeof backList[0] * (kBackEntries - 1));
    str_ncopy(backList[0], name ? name : "", kPathChars);
}

void backPop(char* out) {
    if (out) str_ncopy(out, backList[0], kPathChars);
    if (!backList[1][0]) return;  // the oldest entry stays
    std::memmove(backList[0], backList[1], sizeof backList[0] * (kBackEntries - 1));
    backList[kBackEntries - 1][0] = '\0';
}

void backReduce() {
    for (int i = 0; i < kBackEntries; ++i) backPop(nullptr);
}

// --- Steps of the full refresh -----------------------------------------------------------

void titleUpdate() {
    const bool nameChanged = std::strcmp(fileName, titleName) != 0;
    if (nameChanged) historyAdd(fileName);
    if (nameChanged || modified != titleModified) {
        if (!fileName[0]) load_text_into(kTextUnnamed, fileName, kPathChars + 1);
        char caption[kPathChars + 8];
        std::snprintf(caption, sizeof caption, "%s%s%s", modified ? "< " : "", path_short(fileName),
                      modified ? " >" : "");
        set_main_title(caption);
    }
    if (nameChanged) str_ncopy(titleName, fileName, kPathChars);
    titleModified = modified;
}

void lineEndStatusUpdate() {
    const int mode = crlfMode ? 1 : 0;
    if (mode != shown.crlf) {
        status_set(0, mode ? "crlf" : " lf");
        shown.crlf = mode;
    }
    if (shown.propertiesOpen) plat_post_dialog_command(shown.propertiesDialog, DLG_REFRESH);
}

void docShownReset() {
    shown.crlf = -1;
    std::strcpy(titleName, "$");
    titleModified = -1;
}

// --- The properties dialog ------------------------------------------------------------------

void propertiesDialogOpened(std::intptr_t dialog) {
    shown.propertiesOpen = true;
    shown.propertiesDialog = dialog;
    shown.name[0] = shown.dir[0] = '\0';
    shown.size = 0;
    shown.time = TimeRecord{};
    shown.modified = shown.crlfBox = 255;
    plat_post_dialog_command(dialog, DLG_REFRESH);
}

void propertiesDialogClosed() {
    shown.propertiesOpen = false;
    shown.propertiesDialog = 0;
}

bool propertiesDialogIsOpen() { return shown.propertiesOpen; }

PropertiesView propertiesDialogView() {
    PropertiesView view = {};
    const char* name = fileName + path_name_pos(fileName);
    if (std::strcmp(name, shown.name) != 0) {
        str_ncopy(shown.name, name, kPathChars);
        str_ncopy(view.name, name, kPathChars);
        view.nameChanged = true;
    }
    char dir[kPathChars + 1];
    path_dir(dir, fileName);
    if (std::strcmp(dir, shown.dir) != 0) {
        str_ncopy(shown.dir, dir, kPathChars);
        str_ncopy(view.dir, dir, kPathChars);
        view.dirChanged = true;
    }
    if (fileSize != shown.size) {
        shown.size = fileSize;
        fileSizeText(fileSize, view.size);
        view.sizeChanged = true;
    }
    if (std::memcmp(&fileTime, &shown.time, 5) != 0) {  // to the minute
        shown.time = fileTime;
        format_datetime(view.time, &fileTime);
        view.timeChanged = true;
    }
    const int isModified = modified ? 1 : 0;
    if (isModified != shown.modified) {
        shown.modified = view.modified = isModified;
        view.modifiedChanged = true;
    }
    const int isCrlf = crlfMode ? 1 : 0;
    if (isCrlf != shown.crlfBox) {
        shown.crlfBox = view.crlf = isCrlf;
        view.crlfChanged = true;
    }
    return view;
}

bool propertiesBoxClicked(int id, int checked) {
    if (id == PROP_MODIFIED) modified = checked ? 1 : 0;
    else if (id == PROP_CRLF) crlfMode = checked ? 1 : 0;
    else return false;
    docNotify(DocEvent::ShowWanted);
    return true;
}
