#include "document/docstate.h"

char fileName[kPathChars + 1] = "";
int hasName = 0;
int modified = 0;
long fileSize = 0;
TimeRecord fileTime = {};
int crlfMode = 1;
