/* The texts of the program's string table: the one source of their wording.
 * Included by the resource script (strings.rc) and by the headless host, so the
 * product and the tests read the very same texts. Windows-1252; 8-bit characters
 * are octal escapes (\344 a-umlaut, \366 o-umlaut, \374 u-umlaut).
 * C comments only: the resource compiler's preprocessor reads this file too. */
#ifndef Y8_RESOURCES_TEXTS_H
#define Y8_RESOURCES_TEXTS_H

/* The filter of the open and save boxes; its last character, '|', separates the
 * descriptions and patterns. */
#define Y8_TEXT_FILTER \
    "Alle Dateien|*.*|Quellen|*.c*;*.h*;*.l*;*.d*;*.rc;*.g*;*.txt;*.ini;makefile|" \
    "Textdateien|*.txt|Klartexte|*.c*|Definitionen|*.h*||"

#define Y8_TEXT_10 "C:\\Y8.txt"                 /* default file name */
#define Y8_TEXT_11 "NAMENLOS"                   /* a document without a file */
#define Y8_TEXT_20 Y8_TEXT_FILTER               /* filter of the open box */
#define Y8_TEXT_21 "Datei \366ffnen"            /* title of the open box */
#define Y8_TEXT_22 Y8_TEXT_FILTER               /* filter of the save box */
#define Y8_TEXT_23 "Datei speichern"            /* title of the save box */
#define Y8_TEXT_24 "Ge\344ndert, speichern?"    /* before a changed document is dropped */
#define Y8_TEXT_25 "Datei einf\374gen"          /* open box for inserting a file */
#define Y8_TEXT_26 "Baukastendatei einf\374gen" /* open box for a building-block file */

#define Y8_TEXT_100 "Dateifehler: kann %s nicht \366ffnen."      /* %s = path */
#define Y8_TEXT_101 "%s ist zu lang."                          /* too long for the store */
#define Y8_TEXT_102 "Dateifehler: kann %s nicht herstellen."   /* cannot be created */
#define Y8_TEXT_103 "Schreibfehler"                            /* write error */
#define Y8_TEXT_104 "Datum/Zeit der Datei wurden ge\344ndert." /* changed on disk */

#endif
