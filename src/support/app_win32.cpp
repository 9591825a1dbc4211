#include "support/app_win32.h"

AppRecord App;  // the one application record
int runState = 0;
