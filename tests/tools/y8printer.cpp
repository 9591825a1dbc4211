// Adds the PostScript printer "TestPS" (C:\print.ps) as the default printer; exit code 0 when it is there.
#include "../lib/test_printer.h"

int main() { return testPrinterAdd() ? 0 : 1; }
