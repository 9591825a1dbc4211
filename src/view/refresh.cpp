// Placeholder until the cursor and status module lands.
#include "view/refresh.h"

void refreshAll() {}
