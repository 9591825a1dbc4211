// Fuzzes what the editor reads from outside besides files and keys; the first
// byte chooses the reader, the rest is its input:
//   0  an ini value as the window placement reads it: read, written and read
//      again it gives the same values; refused, it changes none;
//   1  the start-up configuration's resource bytes: every text option stays
//      terminated within its size, the colours within 0..255;
//   2  a DDE execute's data and topic: both taken terminated, within 200 and
//      80 characters, never past the data's size;
//   3  the command line: every queued file name is one of its words (quotes
//      removed) and at most 200 characters long, never a cut one;
//   4  the adder's number parsing: no word is read as more than its digits
//      allow, and a number the adder writes reads back as itself;
//   5  the whole settings file: the options stay within their ranges, every
//      settings dialog's text within its field, the colours are read.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>  // access, getpid

#include "host/headless.h"
#include "host/headless_profile.h"
#include "shell/config.h"
#include "shell/startup.h"
#include "support/profile.h"
#include "tools/adder.h"
#include "view/options.h"
#include "view/textview.h"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_words: %s\n", what);
        std::abort();
    }
}

bool terminatedWithin(const char* s, std::size_t size) { return std::memchr(s, 0, size) != nullptr; }

// An ini value as the window placement reads it: what is read is written back
// and reads again as the same values; what is refused leaves them untouched.
void iniValue(const std::string& text) {
    if (text.find('\0') != std::string::npos) return;
    PlacementValues values{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const PlacementValues before = values;
    if (!placement_parse(text.c_str(), &values)) {
        check(std::memcmp(&values, &before, sizeof values) == 0, "a refused placement changed the values");
        return;
    }
    char written[128];
    check(placement_format(values, written, sizeof written) > 0, "a placement read cannot be written");
    PlacementValues again{};
    check(placement_parse(written, &again) && std::memcmp(&again, &values, sizeof values) == 0,
          "a placement written does not read back as itself");
}

void configBytes(const std::string& bytes) {
    StartConfig config;
    configDefaults(&config);
    configApply(&config, bytes.data(), bytes.size());
    check(terminatedWithin(config.className, sizeof config.className) &&
              terminatedWithin(config.title, sizeof config.title) &&
              terminatedWithin(config.font, sizeof config.font) &&
              terminatedWithin(config.bgBitmap, sizeof config.bgBitmap) &&
              terminatedWithin(config.wpFile, sizeof config.wpFile),
          "a configuration text is not terminated within its size");
    check(config.red >= 0 && config.red <= 255 && config.green >= 0 && config.green <= 255 && config.blue >= 0 &&
              config.blue <= 255,
          "a colour lies outside 0..255");
}

void ddeExecute(const std::string& bytes) {
    const std::size_t split = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % (bytes.size());
    const std::string data = bytes.substr(0, split);
    const std::string topic = bytes.substr(split);
    char text[DDE_DATA_MAX + 1], topicOut[DDE_TOPIC_MAX + 1];
    std::memset(text, 'x', sizeof text);
    std::memset(topicOut, 'x', sizeof topicOut);
    ddeExecuteTake(data.data(), data.size(), topic.c_str(), text, topicOut);
    check(terminatedWithin(text, sizeof text) && terminatedWithin(topicOut, sizeof topicOut),
          "a DDE text is not terminated within its size");
    check(std::strlen(text) <= data.size() && data.compare(0, std::strlen(text), text) == 0,
          "the DDE data taken is not the start of the data");
}

void commandLine(const std::string& line) {
    if (line.find('\0') != std::string::npos) return;
    headless_reset();
    startupReset();
    headless_set_command_line(("y8.exe " + line).c_str());
    commandLineProcess();
    char name[256];
    while (pendingFileTake(name)) {
        const std::size_t n = std::strlen(name);
        check(n > 0 && n <= 200, "a queued file name is empty or longer than 200 characters");
        check(line.find(name) != std::string::npos, "a queued file name is not a piece of the command line");
        const std::size_t at = line.find(name);
        const char after = at + n < line.size() ? line[at + n] : ' ';
        check(std::strchr(" \t\r\n\v\f\"'", after) != nullptr || line.find(name, at + 1) != std::string::npos,
              "a queued file name was cut out of a longer word");
    }
}

void adderWords(const std::string& word) {
    if (word.find('\0') != std::string::npos || word.size() > 200) return;
    const AdderNumber n = adderNumberOf(word.c_str());
    check(std::isfinite(n.real), "a word was read as a number that is not finite");
    char text[ADDER_TEXT_SIZE];
    adderDecimalText(n.integer, text);
    check(adderNumberOf(text).integer == n.integer, "a number the adder writes does not read back as itself");
}

void iniText(const std::string& text) {
    // In memory where the system has it: every run writes the file and reads it a few dozen times.
    static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                    "/y8-fuzz-words-" + std::to_string(getpid()) + ".ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    ini_set_file(path.c_str());
    optionsLoad();
    check(tabStep >= 2 && tabStep <= 16 && indentStep >= 2 && indentStep <= 8, "an option lies outside its range");
    coloursLoaded = 0;
    coloursLoad();
    for (const ConfigDialog* dialog : {&configDirectories, &configExtensions, &configColours}) {
        ConfigTexts texts;
        configFieldsLoad(*dialog, &texts);
        for (int i = 0; i < dialog->count; ++i) {
            const std::size_t size = static_cast<std::size_t>(std::min(dialog->fields[i].shown, CFG_FIELD_MAX)) + 1;
            check(terminatedWithin(texts[static_cast<std::size_t>(i)].data(), size),
                  "a settings text is longer than its field");
        }
    }
    ini_set_file(nullptr);
    std::remove(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 6) {
        case 0: iniValue(rest); break;
        case 1: configBytes(rest); break;
        case 2: ddeExecute(rest); break;
        case 3: commandLine(rest); break;
        case 4: adderWords(rest); break;
        default: iniText(rest); break;
    }
    return 0;
}
