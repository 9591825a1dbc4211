#include "document/docstate.h"

char fileName[kPathChars + 1] = "";
int hasName = 0;
int modified = 0;
long fileSize = 0;
TimeRecord fileTime = {};
int crlfMode = 1;

char lastDir[kPathChars + 1] = "";
char titleName[kPathChars + 1] = "$";
int titleModified = -1;
int partlyLoaded = 0;
char backList[kBackEntries][kPathChars + 1] = {};
