// The headless host's message services (see headless_messages.h).
#include "host/headless_messages.h"

#include "resources/texts.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

namespace {

// The program's string table, from the same texts as the resource script.
const std::map<int, const char*> kTexts = {
    {10, Y8_TEXT_10},   {11, Y8_TEXT_11},   {20, Y8_TEXT_20},   {21, Y8_TEXT_21},   {22, Y8_TEXT_22},
    {23, Y8_TEXT_23},   {24, Y8_TEXT_24},   {25, Y8_TEXT_25},   {26, Y8_TEXT_26},   {100, Y8_TEXT_100},
    {101, Y8_TEXT_101}, {102, Y8_TEXT_102}, {103, Y8_TEXT_103}, {104, Y8_TEXT_104},
};

// What the tests queued and what the core asked for.
struct MessagesRecord {
    std::deque<int> answers;
    std::vector<HeadlessBox> boxes;
    std::deque<std::string> paths;
    std::vector<HeadlessFileBox> fileBoxes;
    std::map<int, std::string> extraTexts;
    std::vector<std::string> debugLines;
};
MessagesRecord rec;

constexpr int kPathMax = 200;  // the room of a file box's path

// The filter list up to and with its double NUL (never past it).
std::string pair_list(const char* pairs) {
    size_t n = 0;
    while (pairs[n] != '\0' || pairs[n + 1] != '\0') ++n;
    return std::string(pairs, n + 2);
}

void copy_cut(char* dst, const char* src, int max) {
    if (max < 1) return;
    size_t n = std::strlen(src);
    if (n > static_cast<size_t>(max - 1)) n = static_cast<size_t>(max - 1);
    std::memcpy(dst, src, n);
    dst[n] = '\0';
}

}  // namespace

void headless_messages_reset() { rec = MessagesRecord{}; }

void headless_box_answer(int answer) { rec.answers.push_back(answer); }
const std::vector<HeadlessBox>& headless_boxes() { return rec.boxes; }

void headless_file_answer(const char* path) { rec.paths.emplace_back(path ? path : ""); }
const std::vector<HeadlessFileBox>& headless_file_boxes() { return rec.fileBoxes; }

void headless_set_text(int id, const char* text) {
    if (text)
        rec.extraTexts[id] = text;
    else
        rec.extraTexts.erase(id);
}

const std::vector<std::string>& headless_debug_lines() { return rec.debugLines; }

// ---------------------------------------------------------------- the platform's side

bool plat_load_string(int id, char* buf, int max) {
    if (!buf || max < 1) return false;
    buf[0] = '\0';
    auto extra = rec.extraTexts.find(id);
    if (extra != rec.extraTexts.end()) {
        copy_cut(buf, extra->second.c_str(), max);
        return true;
    }
    auto text = kTexts.find(id);
    if (text == kTexts.end()) return false;
    copy_cut(buf, text->second, max);
    return true;
}

int plat_message_box(const char* text, unsigned style, BoxOwner owner) {
    rec.boxes.push_back(HeadlessBox{text ? text : "", style, owner});
    if (!rec.answers.empty()) {
        int answer = rec.answers.front();
        rec.answers.pop_front();
        return answer;
    }
    return (style & 0xFu) == box_style::kOk ? box_answer::kOk : box_answer::kCancel;
}

int plat_file_box(bool save, char* name, const char* title, const char* pairs) {
    rec.fileBoxes.push_back(HeadlessFileBox{save, name, title ? title : "", pair_list(pairs)});
    std::string path;
    if (!rec.paths.empty()) {
        path = rec.paths.front();
        rec.paths.pop_front();
    }
    copy_cut(name, path.c_str(), kPathMax + 1);
    return name[0] != '\0' ? 1 : 0;
}

void plat_fatal(const char* text) {
    std::fprintf(stderr, "%s\nDas Programm wird beendet.\n", text ? text : "");
    std::fflush(stderr);
    std::abort();
}

void plat_debug_text(const char* text) {
    if (rec.debugLines.size() == static_cast<size_t>(HEADLESS_DEBUG_LINES))
        rec.debugLines.erase(rec.debugLines.begin());
    rec.debugLines.emplace_back(text ? text : "");
}
