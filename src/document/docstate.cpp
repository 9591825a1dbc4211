#include "document/docstate.h"

char fileName[kPathChars + 1] = "";
int hasName = 0;
int modified = 0;
long fileSize = 0;
TimeRecord fileTime = {};
int crlfMode = 1;
int keepFileTime = 0;

char lastDir[kPathChars + 1] = "";
char titleName[kPathChars + 1] = "$";
int titleModified = -1;
int partlyLoaded = 0;
char backList[kBackEntries][kPathChars + 1] = {};

namespace {
DocListener listeners[kDocListenersMax] = {};
int listenerCount = 0;
}  // namespace

bool docListen(DocListener listener) {
    for (int i = 0; i < listenerCount; ++i) {
        if (listeners[i] == listener) return true;
    }
    if (listenerCount == kDocListenersMax) return false;
    listeners[listenerCount++] = listener;
    return true;
}

void docListenersClear() { listenerCount = 0; }

void docNotify(DocEvent event, int column) {
    const DocNotice notice = {event, column};
    for (int i = 0; i < listenerCount; ++i) listeners[i](notice);
}
