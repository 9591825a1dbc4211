// Placeholder until the key dispatcher lands: keys are accepted and do nothing.
#include "view/taste.h"

void keyDown(int, bool, bool, bool) {}
void keyChar(int, bool, bool, bool) {}
