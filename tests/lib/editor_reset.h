// What tests and fuzz targets reset before each editor run: the view's and the
// tools' state back to the program's start, the options to their defaults.
#pragma once

#include "document/linestore.h"
#include "document/undelete.h"
#include "view/cursor.h"
#include "view/editing.h"
#include "view/keycommands.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/taste.h"

inline void editorStateReset() {
    positionsReset();
    undeleteCreate();
    recorderReset();
    optionsSetDefaults();
    keyDepth = 0;
    lineInsertCounter = 0;
    outdentWidth = 0;
    snapshotReset();
    markReset();
    statusFieldsReset();
}
