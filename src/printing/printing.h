// Printing: the whole document on the printer chosen in the print dialog, 65
// lines a page under a header with the file name and the page number, at fixed
// millimetre positions from the paper's edge. The layout, the job's page and
// copy rules and the font cache are here; the printer itself is reached through
// the PrintDevice table (support/devices.h) that the Win32 layer installs.
#pragma once

#include <cstddef>

constexpr int kPrintLinesPerPage = 65;
constexpr int kPrintFaceChars = 80;
constexpr const char* kPrintDefaultFace = "Monospace 821 BT";

// Pages for a document of lines lines: (lines + 64) / 65; 0 for none.
int printPageCount(long lines);
// The header "<name>  <page>" into out (always terminated).
void printHeaderText(char* out, std::size_t size, const char* name, int page);
// The font height in device units for size points: the negative character
// height, VERTRES * (points in mm) / VERTSIZE rounded half away from zero.
int printFontHeight(int vertRes, int vertSize, int sizePt);
// Millimetres from the paper's edge to device units on one axis: res pixels
// over size mm, less the printable area's offset in pixels.
int printToDevice(int res, int size, double mm, int offset);

// The printing service.
// 1 when a printer is chosen and printing may go on, 0 when there is none or
// the user cancelled the print dialog, -1 when the chosen printer cannot be
// reached (its device context cannot be made).
int printer_setup();
void print_begin();
// Prints one page by calling draw(user) once per copy; the document is started
// at the first page printed (the user is told when the printer refuses it).
// Once the job is cancelled or a page call fails, no further page is printed.
void print_page(void (*draw)(void* user), void* user, int page_index);
// One line of text in the box x, y, w, h (millimetres), on the box's bottom
// edge as its baseline. style bits 1 italic, 2 underline, 4 strikeout; align
// 0 left, 1 right, 2 centre.
void print_text(double x, double y, double w, double h, const char* text, const char* face, int sizePt,
                int bold, int style, int align);
void print_end();
void printer_release();

// Command 1007: the whole document printed, as many times as collated copies
// were asked for; then the window is refilled and repainted.
void printDocument();
