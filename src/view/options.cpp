#include "view/options.h"

#include "support/profile.h"

int insertMode = 1;
int columnKeep = 1;
int autoIndent = 1;
int quoteOption = 0;
int lineInsertMode = 0;
int pasteWrap = 0;
int tabStep = 8;
int indentStep = 2;

namespace {
constexpr const char* kSection = "Option";
}

void optionsSetDefaults() {
    insertMode = 1;
    columnKeep = 1;
    autoIndent = 1;
    lineInsertMode = 0;
    pasteWrap = 0;
    keepFileTime = 0;
}

void optionsLoad() {
    quoteOption = ini_read_int(kSection, "Klammer");
    tabStep = ini_read_int(kSection, "TabStep");
    if (tabStep < 2) tabStep = 8;
    if (tabStep > 16) tabStep = 16;  // a hand-edited ini never takes a step past the dialog's range
    indentStep = ini_read_int(kSection, "Indent");
    if (indentStep < 2) indentStep = 2;
    if (indentStep > 8) indentStep = 8;
}

void optionsSave() {
    ini_write_int(kSection, "Klammer", quoteOption);
    ini_write_int(kSection, "TabStep", tabStep);
    ini_write_int(kSection, "Indent", indentStep);
}
