// The full refresh after every key and every command: caret, line snapshot, title,
// status fields, open tool dialogs and scroll bar, in that order.
#pragma once

void refreshAll();
