/* The program's resource ids: the command numbers of the menu, of the
 * accelerators and of the commands that modules post to the main window, the
 * dialog protocol and the controls of the about box. Their one home: no
 * module defines these numbers again. Read by the resource compiler as well: C
 * comments and #define only. */
#ifndef Y8_RESOURCES_RESOURCE_H
#define Y8_RESOURCES_RESOURCE_H

/* Files */
#define CMD_FILE_NEW          1000 /* A&nlegen, Ctrl+F7 */
#define CMD_FILE_OPEN         1001 /* &Oeffnen..., Shift+F7 */
#define CMD_FILE_INSERT       1002 /* E&infuegen... */
#define CMD_FILE_SAVE         1003 /* &Sichern, F8 */
#define CMD_FILE_SAVE_AS      1004 /* Sichern &als..., Shift+F8 */
#define CMD_FILE_BACK         1005 /* &Zurueck, F9 */
#define CMD_DIRECTORY_PANEL   1006 /* &Verzeichnis..., F5 */
#define CMD_PRINT             1007 /* &Drucken */
#define CMD_PLACE_WINDOW      1008 /* posted once at start-up */
#define CMD_OPEN_PENDING      1009 /* posted for each file of the command line */
#define CMD_OPEN_MODULE       1010 /* Shift+F5 */
#define CMD_BAUKASTEN_FILE    1011 /* &Baukasten... of the file menu */
#define CMD_RECENT_PANEL      1012 /* &Letzte Dateien..., F7 */
#define CMD_RECENT_FIRST      1050 /* 1050-1059: posted by the recent files panel */
#define CMD_RECENT_LAST       1059

/* Editing */
#define CMD_SEARCH            1100 /* &Suchen... */
#define CMD_COPY              1110 /* &Kopieren.. */
#define CMD_PASTE             1111 /* &Einfuegen.. */
#define CMD_CUT               1112 /* &Ausschneiden.. */
#define CMD_PLAY_0            1120 /* A&bspielen.., F2 */
#define CMD_RECORD_0          1121 /* Au&fzeichnen.., Shift+F2 */
#define CMD_PLAY_1            1122 /* F3 */
#define CMD_RECORD_1          1123 /* Shift+F3 */
#define CMD_PLAY_2            1124 /* F4 */
#define CMD_RECORD_2          1125 /* Shift+F4 */
#define CMD_CONVERT_DETAB     1130 /* 1130-1138: the conversions of &Uebersetzen */
#define CMD_CONVERT_ENTAB     1131
#define CMD_CONVERT_PC_ANSI   1132
#define CMD_CONVERT_ANSI_PC   1133
#define CMD_CONVERT_SPECIAL   1134
#define CMD_CONVERT_HTML_ANSI 1135
#define CMD_CONVERT_ANSI_HTML 1136
#define CMD_CONVERT_BLANKS    1137
#define CMD_CONVERT_XOR       1138
#define CMD_OVERVIEW          1200 /* &Uebersicht... */
#define CMD_STRUCTURE         1201 /* &Struktur... */
#define CMD_PRO_INFO          1210 /* &pro-Info... */
#define CMD_LIB_INFO_A        1211 /* &lib-Info A... */
#define CMD_LIB_INFO_B        1212
#define CMD_LIB_INFO_C        1213
#define CMD_LINT              1215 /* &Lint... */
#define CMD_ARCHIVE           1216 /* &Archivkopie... */
#define CMD_POSITION          1300 /* &Position... */
#define CMD_OPTIONS           1301 /* &Optionen... */
#define CMD_PROPERTIES        1302 /* &Eigenschaften... */

/* Tools */
#define CMD_BAUKASTEN         1400 /* &Baukasten..., F6 */
#define CMD_TYPE_PHRASE       1402 /* posted with a text's token */
#define CMD_FLOSKELN          1403 /* &Floskeln..., Shift+F6 */
#define CMD_FACETTE           1404 /* &Facette..., Ctrl+F6 */
#define CMD_ADDIERER          1410 /* &Addierer... */
#define CMD_ANSI_TABLE        1411 /* &ANSI... */
#define CMD_STRICH_TOP        1420 /* &Oben */
#define CMD_STRICH_MIDDLE     1421
#define CMD_STRICH_BOTTOM     1422 /* &Unten */

/* Block */
#define CMD_BLOCK_BEGIN       1500 /* &Anfang */
#define CMD_BLOCK_END         1501 /* &Ende */
#define CMD_BLOCK_UNMARK      1502 /* Ent&markieren */
#define CMD_BLOCK_COPY        1503 /* &Kopieren */
#define CMD_BLOCK_MOVE        1504 /* &Verschieben */
#define CMD_BLOCK_DELETE      1505 /* &Loeschen */
#define CMD_BLOCK_CLIPBOARD   1506 /* &Zwischenablage */
#define CMD_BLOCK_REPLACE     1507 /* &Tauschen */
#define CMD_BLOCK_FUNCTION    1508 /* &Funktion */
#define CMD_BLOCK_REFORM      1509 /* &Umformulieren */
#define CMD_TAB_EXPAND        1510 /* Tab expan&dieren */
#define CMD_TAB_COMPRESS      1511 /* Tab komp&rimieren */
#define CMD_HTML_OPTIMISE     1515 /* HTML optimieren */

/* Configuration */
#define CMD_CONF_DIRECTORIES  1600 /* &Verzeichnisse... */
#define CMD_CONF_TOOLS        1601 /* &Info/Baukasten... */
#define CMD_CONF_FLOSKELN     1602 /* F&loskeln... */
#define CMD_CONF_EXTENSIONS   1603 /* &Zusaetze... */
#define CMD_CONF_COLOURS      1604 /* &Farben, Fonts... */

/* Search keys */
#define CMD_REPLACE_AT_CURSOR 1800 /* F11 */
#define CMD_SEARCH_NEXT       1801 /* F12 */

/* Help and the frame */
#define CMD_HELP_CONTENTS     1991 /* &Inhalt... */
#define CMD_HELP_CONTEXT      1992 /* F1 */
#define CMD_EXIT              1998 /* E&xit */
#define CMD_ABOUT             1999 /* Ueber Y8... */

/* The dialog protocol: what every dialog of the dialog manager understands.
 * Its other buttons (from 2501) and fields (from 3000) are its own. */
#define DLG_CANCEL            2    /* Cancel (Escape, "Abbrechen", the close box): close */
#define DLG_ACTION            2500 /* the main action, the default button ("&Speichern",
                                      "&Setzen", "&F11/F12", choose the entry, ...) */
#define DLG_REFRESH           2510 /* posted to an open dialog: show fresh values */

/* The about box */
#define ABOUT_ICON            3000
#define ABOUT_VERSION         3010

#endif
