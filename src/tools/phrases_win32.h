// The dialog "Floskeln" (DB1602): the phrases of Ctrl+Shift+A to Z edited in
// 26 fields. The procedures only move texts between the fields and the
// portable functions of tools/phrases.h.
#pragma once

// Command 1602: opens "Floskeln", or brings the open one forward.
void floskeln_dialog();
