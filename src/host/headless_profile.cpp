// The headless host's profile, clipboard, command line and starters.
#include "host/headless_profile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "support/platform.h"
#include "support/files.h"
#include "support/inifile.h"
#include "support/profile.h"

#ifdef _WIN32
#include <process.h>
#define Y8_PROCESS_ID _getpid()
#else
#include <unistd.h>
#define Y8_PROCESS_ID getpid()
#endif

namespace {

constexpr int kStartSuccess = 33;  // above 31: WinExec started the program
constexpr int kShellSuccess = 42;  // above 32: ShellExecute succeeded

// A directory of this process's own for profile names without a directory,
// so that test processes running side by side never share a profile. Made on
// first use, removed with everything in it when the process ends.
class OwnDirectory {
public:
    const std::string& path() {
        if (path_.empty()) create();
        return path_;
    }
    ~OwnDirectory() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }

private:
    void create() {
        std::error_code error;
        std::filesystem::path base = std::filesystem::temp_directory_path(error);
        if (error) base = ".";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::filesystem::path dir =
                base / ("y8-headless-" + std::to_string(Y8_PROCESS_ID) + "-" + std::to_string(attempt));
            if (std::filesystem::create_directory(dir, error)) {
                path_ = dir.string();
                path_ += static_cast<char>(std::filesystem::path::preferred_separator);
                return;
            }
        }
        path_ = std::string(".") + static_cast<char>(std::filesystem::path::preferred_separator);
    }
    std::string path_;
};

// What the core asked of this part of the platform since the last reset.
struct ProfileHost {
    std::string iniDir;   // set by a test; empty: the process's own directory
    std::string iniFile;  // the profile path as the core set it
    std::string iniPath;  // where that profile lies
    std::string commandLine;
    std::string programPath;
    std::string clipboard;
    bool clipboardHasText = false;
    bool clipboardRefuses = false;
    int startResult = kStartSuccess;
    int shellResult = kShellSuccess;
    std::vector<std::string> started;
    std::vector<HeadlessShellCall> shellCalls;
    std::vector<HeadlessPostedCommand> posted;
    std::vector<HeadlessPostedCommand> dialogPosted;
};

ProfileHost host;
OwnDirectory ownDirectory;

const std::string& ini_dir() { return host.iniDir.empty() ? ownDirectory.path() : host.iniDir; }

void resolve_ini_path() {
    const char* file = host.iniFile.c_str();
    if (!*file) {
        host.iniPath.clear();
    } else if (path_name_pos(file) == 0) {
        host.iniPath = ini_dir() + host.iniFile;  // a bare name lies in the ini directory
    } else {
        host.iniPath = host.iniFile;
    }
}

}  // namespace

// ---------------------------------------------------------------- test interface

void headless_profile_reset() {
    host = ProfileHost{};
    arg_reset();
    ini_set_file(nullptr);  // the profile module forgets its file with the host
}

void headless_set_ini_dir(const char* dir) {
    host.iniDir = dir ? dir : "";
    if (!host.iniDir.empty()) {
        char last = host.iniDir.back();
        if (last != '/' && last != '\\' && last != ':') host.iniDir += '/';
    }
    resolve_ini_path();
}

const char* headless_ini_path() { return host.iniPath.c_str(); }

void headless_set_program_path(const char* path) { host.programPath = path ? path : ""; }

void headless_set_command_line(const char* line) {
    host.commandLine = line ? line : "";
    arg_reset();
}

bool headless_clipboard_has_text() { return host.clipboardHasText; }

void headless_clipboard_clear() {
    host.clipboard.clear();
    host.clipboardHasText = false;
}

void headless_clipboard_refuse(bool refuse) { host.clipboardRefuses = refuse; }

void headless_set_start_result(int result) { host.startResult = result; }
void headless_set_shell_result(int result) { host.shellResult = result; }

const std::vector<std::string>& headless_started_programs() { return host.started; }
const std::vector<HeadlessShellCall>& headless_shell_calls() { return host.shellCalls; }
const std::vector<HeadlessPostedCommand>& headless_posted_commands() { return host.posted; }

// ---------------------------------------------------------------- ini file

void plat_ini_set_file(const char* path) {
    host.iniFile = path ? path : "";
    resolve_ini_path();
}

int plat_ini_get(const char* section, const char* key, char* buf, int size) {
    if (size < 1) return 0;
    buf[0] = '\0';
    if (host.iniPath.empty()) return 0;
    return inifile_get(host.iniPath.c_str(), section, key, buf, size);
}

void plat_ini_put(const char* section, const char* key, const char* value) {
    if (!host.iniPath.empty()) inifile_put(host.iniPath.c_str(), section, key, value);
}

void plat_ini_dir(char* buf, int size) {
    if (size < 1) return;
    buf[0] = '\0';
    std::string dir;
    if (!host.iniPath.empty() && path_name_pos(host.iniPath.c_str()) > 0) {
        dir = host.iniPath.substr(0, static_cast<size_t>(path_name_pos(host.iniPath.c_str())));
    } else {
        dir = ini_dir();
    }
    if (dir.size() < static_cast<size_t>(size)) std::memcpy(buf, dir.c_str(), dir.size() + 1);
}

// ---------------------------------------------------------------- commands, clipboard, programs

void plat_post_command(int id, std::intptr_t lParam) { host.posted.push_back({id, lParam}); }

void plat_post_dialog_command(std::intptr_t dialog, int id) {
    if (dialog != 0) host.dialogPosted.push_back({id, 0, dialog});
}

const std::vector<HeadlessPostedCommand>& headless_dialog_commands() { return host.dialogPosted; }

void clip_get(char* buf, int max) {
    if (max < 0) max = 0;
    size_t n = host.clipboardHasText ? std::min(host.clipboard.size(), static_cast<size_t>(max)) : 0;
    std::memcpy(buf, host.clipboard.data(), n);
    buf[n] = '\0';
}

bool clip_put(const char* text) {
    if (host.clipboardRefuses) return false;
    host.clipboard = text ? text : "";
    host.clipboardHasText = true;
    return true;
}

const char* plat_command_line() { return host.commandLine.c_str(); }

bool plat_program_path(char* buf, int size) {
    if (size < 1) return false;
    buf[0] = '\0';
    if (host.programPath.empty() || host.programPath.size() >= static_cast<size_t>(size)) return false;
    std::strcpy(buf, host.programPath.c_str());
    return true;
}

int plat_start_program(const char* cmdline) {
    host.started.emplace_back(cmdline ? cmdline : "");
    return host.startResult;
}

int plat_shell_execute(const char* file, const char* params, const char* dir, bool main) {
    host.shellCalls.push_back({file ? file : "", params ? params : "", dir ? dir : "", main});
    return host.shellResult;
}
