// y8ddeclient <service> <topic> <count>: connects to the DDE service and topic, sends one
// XTYP_EXECUTE of count bytes 'a'..'z' repeated (no NUL) and prints what happened.
// Exit codes: 0 acknowledged (DDE_FACK), 1 usage, 2 no DDE, 3 refused (no server took the
// connection), 4 not acknowledged, 5 failed otherwise (timeout, no answer).
#include <windows.h>

#include <ddeml.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

HDDEDATA CALLBACK clientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The DDEML instance and its handles, released in reverse order.
struct DdeSession {
    DWORD instance = 0;
    HSZ service = nullptr, topic = nullptr;
    HCONV conversation = nullptr;
    ~DdeSession() {
        if (conversation) DdeDisconnect(conversation);
        if (topic) DdeFreeStringHandle(instance, topic);
        if (service) DdeFreeStringHandle(instance, service);
        if (instance) DdeUninitialize(instance);
    }
};

int execute(const char* serviceName, const char* topicName, long count) {
    DdeSession dde;
    if (DdeInitializeA(&dde.instance, clientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 2;
    dde.service = DdeCreateStringHandleA(dde.instance, serviceName, CP_WINANSI);
    dde.topic = DdeCreateStringHandleA(dde.instance, topicName, CP_WINANSI);
    if (!dde.service || !dde.topic) return 2;
    dde.conversation = DdeConnect(dde.instance, dde.service, dde.topic, nullptr);
    if (!dde.conversation) {
        std::printf("refused (error 0x%x)\n", DdeGetLastError(dde.instance));
        return 3;
    }
    std::vector<BYTE> data(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i) data[static_cast<size_t>(i)] = static_cast<BYTE>('a' + i % 26);
    DWORD result = 0;
    if (DdeClientTransaction(data.data(), static_cast<DWORD>(count), dde.conversation, nullptr, CF_TEXT,
                             XTYP_EXECUTE, 5000, &result)) {
        std::printf("%s (status 0x%lx)\n", result & DDE_FACK ? "acknowledged" : "not acknowledged", result);
        return result & DDE_FACK ? 0 : 4;
    }
    const UINT error = DdeGetLastError(dde.instance);
    std::printf("%s (error 0x%x)\n", error == DMLERR_NOTPROCESSED ? "not acknowledged" : "failed", error);
    return error == DMLERR_NOTPROCESSED ? 4 : 5;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    char* end = nullptr;
    const long count = argc == 4 ? std::strtol(argv[3], &end, 10) : -1;
    if (argc != 4 || end == argv[3] || *end != '\0' || count < 1 || count > 1000000) {
        std::fprintf(stderr, "usage: y8ddeclient <service> <topic> <bytes 1..1000000>\n");
        return 1;
    }
    const int outcome = execute(argv[1], argv[2], count);
    std::fflush(stdout);
    return outcome;
}
