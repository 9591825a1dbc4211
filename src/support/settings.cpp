#include "support/settings.h"

#include <cstdio>

void configKeyName(char* key, const char* format, int n) {
    std::snprintf(key, CFG_KEY_MAX + 1, format, n);
}
