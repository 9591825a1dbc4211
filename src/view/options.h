// The editing options: process-wide flags (0/1) and two steps, set at start-up,
// changed by the options dialog and the Insert key, read by every editing module.
#pragma once

#include "document/docstate.h"  // keepFileTime: the document's own option

extern int insertMode;      // "Einfügen": insert (1) or overwrite (0) when typing
extern int columnKeep;      // "Spaltentreue": text after a double blank keeps its columns
extern int autoIndent;      // "Einrückhilfe": indentation after moving to the next line
extern int quoteOption;     // "Anf.Zeichen" (ini "Option"/"Klammer")
extern int lineInsertMode;  // "Zeilen einfügen": Enter opens a new line
extern int pasteWrap;       // "Umbruch bei ^V": pasted lines break at 80, not 250
extern int tabStep;         // "Tabulator": 2..16
extern int indentStep;      // "Einrücken": 2..8

// The flags as a new program starts: insert, "Spaltentreue" and "Einrückhilfe" on,
// "Zeilen einfügen", "Umbruch bei ^V" and "Dateizeit erhalten" off.
void optionsSetDefaults();
// From section "Option": "Klammer" (0 when absent), "TabStep" (below 2 gives 8, above
// 16 gives 16), "Indent" (below 2 gives 2, above 8 gives 8).
void optionsLoad();
// "Klammer", "TabStep" and "Indent" written to section "Option" as decimal numbers.
void optionsSave();
