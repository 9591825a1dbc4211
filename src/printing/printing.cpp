#include "printing/printing.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/messages.h"
#include "support/devices.h"
#include "support/profile.h"
#include "view/editing.h"
#include "view/textview.h"

namespace {

PrintDevice device{};
bool haveDevice = false;

// The user pressed OK, so nothing printed must not pass for a cancel.
constexpr const char* kPrinterUnreachable = "Der Drucker kann nicht angesprochen werden: es wird nichts gedruckt.";

// The job and the printer chosen for it.
struct Job {
    bool chosen = false;
    int copies = 1;
    int collated = 1;
    PrintMeasures measures{};
    bool started = false;  // StartDoc done
    bool stopped = false;  // cancelled, or a page call failed
};
Job job;

// The one font made for printing and what it was made for.
struct FontCache {
    bool valid = false;
    int height = 0;
    char face[kPrintFaceChars + 1] = {};
    int bold = 0;
    int style = 0;
};
FontCache font;

char printFace[kPrintFaceChars + 1];

// Millimetres per point: 1 / 2.849.
constexpr long double kMmPerPoint = 0.351000351000351L;

}  // namespace

void printDeviceSet(const PrintDevice* d) {
    haveDevice = d != nullptr;
    device = d ? *d : PrintDevice{};
}

int printPageCount(long lines) { return lines > 0 ? static_cast<int>((lines + kPrintLinesPerPage - 1) / kPrintLinesPerPage) : 0; }

void printHeaderText(char* out, std::size_t size, const char* name, int page) {
    std::snprintf(out, size, "%s  %d", name, page);
}

int printFontHeight(int vertRes, int vertSize, int sizePt) {
    if (vertSize <= 0) return 0;
    const long double height = vertRes * (sizePt * kMmPerPoint) / vertSize;
    return -static_cast<int>(std::lround(height));  // lround: halves away from zero
}

int printToDevice(int res, int size, double mm, int offset) {
    if (size <= 0) return -offset;
    return static_cast<int>(std::lround(res * mm / size)) - offset;
}

int printer_setup() {
    job = Job{};
    if (!haveDevice || !device.choose) return 0;
    int copies = 1;
    bool collated = false;
    const int chosen = device.choose(&copies, &collated);
    if (chosen <= 0) return chosen;
    if (copies < 1) copies = 1;
    job.chosen = true;
    (collated ? job.collated : job.copies) = copies;
    return 1;
}

void print_begin() {
    job.measures = PrintMeasures{};
    job.started = job.stopped = false;
    if (job.chosen) device.begin(&job.measures);
}

void print_page(void (*draw)(void* user), void* user, int) {
    if (!job.chosen || job.stopped) return;
    if (!job.started) {
        if (!device.startDoc()) {
            job.stopped = true;
            if (!device.cancelled()) message_box_fmt("%s", kPrinterUnreachable);
            return;
        }
        job.started = true;
    }
    for (int copy = 0; copy < job.copies; ++copy) {
        if (device.cancelled() || !device.startPage()) {
            job.stopped = true;
            return;
        }
        draw(user);
        if (!device.endPage()) {
            job.stopped = true;
            return;
        }
    }
}

void print_text(double x, double y, double w, double h, const char* text, const char* face, int sizePt,
                int bold, int style, int align) {
    if (!job.chosen) return;
    const PrintMeasures& m = job.measures;
    const int height = printFontHeight(m.vertRes, m.vertSize, sizePt);
    if (!font.valid || font.height != height || std::strcmp(font.face, face) != 0 || font.bold != bold ||
        font.style != style) {
        if (!device.makeFont(height, face, bold, style)) {
            message_box_fmt("Kann Font %s %d nicht herstellen.", face, height);
        }
        // Remembered either way: the warning comes once per change of font.
        font.valid = true;
        font.height = height;
        std::snprintf(font.face, sizeof font.face, "%s", face);
        font.bold = bold;
        font.style = style;
    }
    const double refX = align == 1 ? x + w : align == 2 ? x + w / 2 : x;
    device.textOut(printToDevice(m.horzRes, m.horzSize, refX, m.offsetX),
                   printToDevice(m.vertRes, m.vertSize, y + h, m.offsetY), align, text);
}

void print_end() {
    if (!job.chosen) return;
    if (job.started) device.endDoc();
    job.started = false;
    font.valid = false;
    device.end();
}

void printer_release() {
    if (job.chosen) device.release();
    job = Job{};
}

namespace {

struct PageWalk {
    long counter;
    long first;
    long end;
};

int printLine(LineRecord* line, void* user) {
    auto& walk = *static_cast<PageWalk*>(user);
    if (walk.counter >= walk.end) return 0;
    if (walk.counter >= walk.first) {
        print_text(20, 20 + 4.0 * static_cast<double>(walk.counter - walk.first), 200, 4, line->text, printFace,
                   10, 0, 0, 0);
    }
    ++walk.counter;
    return 1;
}

struct PageDraw {
    int page;
};

void drawPage(void* user) {
    const int page = static_cast<PageDraw*>(user)->page;
    char header[kPathChars + 16];
    printHeaderText(header, sizeof header, fileName, page + 1);
    print_text(20, 14, 180, 4, header, printFace, 8, 0, 0, 1);
    PageWalk walk{0, static_cast<long>(page) * kPrintLinesPerPage,
                  static_cast<long>(page + 1) * kPrintLinesPerPage};
    if (visitAbove(printLine, &walk)) visitBelow(printLine, &walk);
}

}  // namespace

void printDocument() {
    const int chosen = printer_setup();
    if (chosen < 0) message_box_fmt("%s", kPrinterUnreachable);
    if (chosen <= 0) return;
    std::snprintf(printFace, sizeof printFace, "%s", kPrintDefaultFace);
    char value[INI_BUF_SIZE];
    if (ini_read("Global", "PrintFont", value) > 0 && value[0]) {
        std::snprintf(printFace, sizeof printFace, "%s", value);
    }
    // The store must hold the whole document, or only part of it would print.
    if (flushWindowBelow() != 0) {
        printer_release();
        editRefused();
        return;
    }
    const int pages = printPageCount(static_cast<long>(aboveCountGet()) + belowCountGet());
    print_begin();
    for (int round = 0; round < job.collated; ++round) {
        for (int page = 0; page < pages; ++page) {
            PageDraw draw{page};
            print_page(drawPage, &draw, page);
        }
    }
    print_end();
    fillWindowFromBelow();
    printer_release();
    invalidateAll();
}
