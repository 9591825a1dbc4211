#include "tools/phrases_win32.h"

#include <windows.h>

#include "framework/dialog_win32.h"
#include "support/status_win32.h"
#include "tools/phrases.h"

namespace {

int fieldId(int i) { return PHRASE_FIELD_FIRST + 10 * i; }

void fieldsShow(const PhraseTexts& texts) {
    for (int i = 0; i < PHRASE_FIELDS; ++i) dlg_set_text(fieldId(i), texts[i].data());
}

void phrasesInit(int, char**) {
    PhraseTexts texts;
    phraseFieldsLoad(&texts);
    for (int i = 0; i < PHRASE_FIELDS; ++i) {
        SendMessageA(dlg_item(fieldId(i)), EM_LIMITTEXT, static_cast<WPARAM>(PHRASE_MAX), 0);
    }
    fieldsShow(texts);
}

// "&Speichern" stores every field and closes; "Standard" only shows the
// standard phrases; Cancel closes without storing.
INT_PTR phrasesProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    switch (LOWORD(wParam)) {
    case DLG_ACTION: {
        PhraseTexts texts;
        for (int i = 0; i < PHRASE_FIELDS; ++i) dlg_get_text(fieldId(i), texts[i].data(), PHRASE_MAX);
        phraseFieldsSave(texts);
        dlg_close();
        break;
    }
    case PHRASE_STANDARD: {
        PhraseTexts texts;
        phraseFieldsStandard(&texts);
        fieldsShow(texts);
        break;
    }
    case DLG_CANCEL:
        dlg_close();
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace

void floskeln_dialog() { dlg_open("DB1602", phrasesInit, nullptr, phrasesProc); }
