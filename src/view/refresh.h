// The full refresh after every key and every command: caret, line snapshot, title,
// status fields, open tool dialogs and scroll bar, in that order. Defined with the
// status fields and the snapshot in view/cursor.cpp.
#pragma once

void refreshAll();
