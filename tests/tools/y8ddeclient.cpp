// y8ddeclient: a DDE client for the tests of the program's DDE service.
//
//   y8ddeclient <service> <topic> <execute-bytes-count>
//
// Connects to service and topic and sends one XTYP_EXECUTE whose data are that many
// bytes 'a'..'z' repeated (no terminating NUL), then prints what happened.
//
// Exit codes, one for each outcome:
//   0 "acknowledged"       the server answered the execute with DDE_FACK
//   1 wrong arguments
//   2 DDE could not be initialised
//   3 "refused"            no server accepted the connection
//   4 "not acknowledged"   the server answered, but without DDE_FACK
//   5 "failed"             the transaction failed otherwise (timeout, no answer)
#include <windows.h>

#include <ddeml.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kAcknowledged = 0, kUsage = 1, kNoDde = 2, kRefused = 3, kNotAcknowledged = 4, kFailed = 5;
constexpr DWORD kTimeoutMs = 5000;
constexpr long kMaxBytes = 1000000;

HDDEDATA CALLBACK clientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The DDEML instance and its string handles, released in reverse order.
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
    if (DdeInitializeA(&dde.instance, clientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        std::printf("no DDE\n");
        return kNoDde;
    }
    dde.service = DdeCreateStringHandleA(dde.instance, serviceName, CP_WINANSI);
    dde.topic = DdeCreateStringHandleA(dde.instance, topicName, CP_WINANSI);
    if (!dde.service || !dde.topic) {
        std::printf("no DDE\n");
        return kNoDde;
    }
    dde.conversation = DdeConnect(dde.instance, dde.service, dde.topic, nullptr);
    if (!dde.conversation) {
        std::printf("refused (error 0x%x)\n", DdeGetLastError(dde.instance));
        return kRefused;
    }

    std::vector<BYTE> data(static_cast<size_t>(count) + 1);  // + 1: never a zero-sized vector
    for (long i = 0; i < count; ++i) data[static_cast<size_t>(i)] = static_cast<BYTE>('a' + i % 26);
    DWORD result = 0;
    HDDEDATA answer = DdeClientTransaction(data.data(), static_cast<DWORD>(count), dde.conversation, nullptr,
                                           CF_TEXT, XTYP_EXECUTE, kTimeoutMs, &result);
    if (answer) {
        if (result & DDE_FACK) {
            std::printf("acknowledged\n");
            return kAcknowledged;
        }
        std::printf("not acknowledged (status 0x%lx)\n", static_cast<unsigned long>(result));
        return kNotAcknowledged;
    }
    const UINT error = DdeGetLastError(dde.instance);
    if (error == DMLERR_NOTPROCESSED) {
        std::printf("not acknowledged (error 0x%x)\n", error);
        return kNotAcknowledged;
    }
    std::printf("failed (error 0x%x)\n", error);
    return kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    char* end = nullptr;
    const long count = argc == 4 ? std::strtol(argv[3], &end, 10) : -1;
    if (argc != 4 || end == argv[3] || *end != '\0' || count < 1 || count > kMaxBytes) {
        std::fprintf(stderr, "usage: y8ddeclient <service> <topic> <execute-bytes-count 1..%ld>\n", kMaxBytes);
        return kUsage;
    }
    const int outcome = execute(argv[1], argv[2], count);
    std::fflush(stdout);
    return outcome;
}
