// The keystroke recorder: three recording slots, and the last two keystrokes by
// which some Ctrl commands recognise that they are being repeated.
#pragma once

// True when the keystroke before the current one had Ctrl down and its code,
// folded with upper_char, equals letter.
bool previousKeyWas(int letter);
