// The full refresh after every key and every command: caret, line snapshot, title,
// status fields, open tool dialogs and scroll bar, in that order. Defined with the
// status fields and the snapshot in view/cursor.cpp.
#pragma once

void refreshAll();

// The tools above the view that show live values (the adder) register here at
// start-up; refreshAll calls them after the status fields, before the scroll
// bar, in the order registered. A listener registered twice is called once.
// False when the table (8 listeners) is full.
bool refreshListenerAdd(void (*listener)());
