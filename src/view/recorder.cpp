// Placeholder until the keystroke recorder lands: no keystroke is remembered yet.
#include "view/recorder.h"

bool previousKeyWas(int) { return false; }
