// A private-profile file kept by the program itself. The whole file is read,
// the one line concerned is found or added, and the file is written back with
// every other byte unchanged.
#include "support/inifile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "support/files.h"
#include "support/strfunc.h"

namespace {

constexpr char CTRL_Z = 26;  // the system skips it like white space

// One line of the file: text [start, end), the next line begins at next.
struct Line {
    size_t start, end, next;
};

bool is_ini_space(char ch) { return is_white(static_cast<unsigned char>(ch)) || ch == CTRL_Z; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_ini_space(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_ini_space(s.back())) s.remove_suffix(1);
    return s;
}

// Equal without case (the program's own folding).
bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (upper_char(static_cast<unsigned char>(a[i])) != upper_char(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The file's bytes; false when it exists but cannot be read. A missing file is
// an empty one.
bool read_file(const char* path, std::string* text) {
    text->clear();
    int handle = file_open(path, 0);
    if (handle < 0) return file_attributes(path) < 0;
    char chunk[4096];
    int n;
    while ((n = file_read(handle, chunk, sizeof chunk)) > 0) text->append(chunk, static_cast<size_t>(n));
    file_close(handle);
    return n == 0;
}

bool write_file(const char* path, const std::string& text) {
    int handle = file_create(path);
    if (handle < 0) return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < text.size()) {
        int piece = static_cast<int>(std::min<size_t>(text.size() - done, 1 << 20));
        ok = file_write(handle, text.data() + done, piece) == piece;
        done += static_cast<size_t>(piece);
    }
    return file_close(handle) == 0 && ok;
}

std::vector<Line> split_lines(const std::string& text) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t lf = text.find('\n', pos);
        size_t next = lf == std::string::npos ? text.size() : lf + 1;
        size_t end = lf == std::string::npos ? text.size() : lf;
        if (end > pos && text[end - 1] == '\r') --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

// The name of a "[name]" line (white space inside the brackets ignored), or
// false for any other line.
bool section_header(std::string_view line, std::string_view* name) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[') return false;
    size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    *name = trimmed(line.substr(1, close - 1));
    return true;
}

// Splits a "key=value" line; a line without '=' is a key without a value.
// Comment lines (';') and blank lines are no keys.
bool key_line(std::string_view line, std::string_view* key, std::string_view* value) {
    line = trimmed(line);
    if (line.empty() || line.front() == ';') return false;
    size_t eq = line.find('=');
    *key = trimmed(line.substr(0, eq));
    *value = eq == std::string_view::npos ? std::string_view() : trimmed(line.substr(eq + 1));
    return true;
}

// Where a section lies: its header line and the lines up to the next header.
struct SectionSpan {
    bool found = false;
    size_t header = 0;      // index of the header line
    size_t end = 0;         // index of the first line after the section
    size_t lastFilled = 0;  // index of its last non-blank line (the header if none)
};

SectionSpan find_section(const std::string& text, const std::vector<Line>& lines, std::string_view section) {
    SectionSpan span;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string_view line(text.data() + lines[i].start, lines[i].end - lines[i].start);
        std::string_view name;
        bool header = section_header(line, &name);
        if (span.found) {
            if (header) break;
            if (!trimmed(line).empty()) span.lastFilled = i;
            span.end = i + 1;
        } else if (header && same_name(name, section)) {
            span.found = true;
            span.header = span.lastFilled = i;
            span.end = i + 1;
        }
    }
    return span;
}

// The index of key's line within the section, or npos.
size_t find_key(const std::string& text, const std::vector<Line>& lines, const SectionSpan& span,
                std::string_view key, std::string_view* value) {
    for (size_t i = span.header + 1; i < span.end; ++i) {
        std::string_view line(text.data() + lines[i].start, lines[i].end - lines[i].start);
        std::string_view name, found;
        if (key_line(line, &name, &found) && same_name(name, key)) {
            *value = found;
            return i;
        }
    }
    return std::string::npos;
}

bool has_line_break(const char* s) { return std::strpbrk(s, "\r\n") != nullptr; }

}  // namespace

int inifile_get(const char* path, const char* section, const char* key, char* buf, int size) {
    if (size < 1) return 0;
    buf[0] = '\0';
    if (!path || !section || !key) return 0;
    std::string text;
    if (!read_file(path, &text)) return 0;
    std::vector<Line> lines = split_lines(text);
    SectionSpan span = find_section(text, lines, trimmed(section));
    std::string_view value;
    if (!span.found || find_key(text, lines, span, trimmed(key), &value) == std::string::npos) return 0;
    // One pair of matching surrounding quotes is not part of the value.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    size_t n = std::min(value.size(), static_cast<size_t>(size - 1));
    if (n > 0) std::memcpy(buf, value.data(), n);
    buf[n] = '\0';
    return static_cast<int>(n);
}

int inifile_put(const char* path, const char* section, const char* key, const char* value) {
    if (!path || !section || !key || !value) return -1;
    std::string_view sectionName = trimmed(section), keyName = trimmed(key);
    // Anything that would end the line or be read back as another line or name.
    if (has_line_break(section) || has_line_break(key) || has_line_break(value)) return -1;
    if (sectionName.find(']') != std::string_view::npos) return -1;
    if (keyName.empty() || keyName.find('=') != std::string_view::npos || keyName.front() == '[' ||
        keyName.front() == ';') {
        return -1;
    }
    std::string text;
    if (!read_file(path, &text)) return -1;
    std::vector<Line> lines = split_lines(text);
    SectionSpan span = find_section(text, lines, sectionName);
    std::string_view oldValue;
    size_t keyIndex = span.found ? find_key(text, lines, span, keyName, &oldValue) : std::string::npos;

    if (keyIndex != std::string::npos) {
        // Keep the file's spelling of the key; the line gets the new value.
        const Line& line = lines[keyIndex];
        std::string_view lineText(text.data() + line.start, line.end - line.start);
        std::string_view spelling, ignored;
        key_line(lineText, &spelling, &ignored);
        std::string replacement = std::string(spelling) + "=" + value + "\r\n";
        text.replace(line.start, line.next - line.start, replacement);
    } else if (span.found) {
        // After the section's last non-blank line, so blank lines stay before the next section.
        const Line& after = lines[span.lastFilled];
        std::string entry = std::string(keyName) + "=" + value + "\r\n";
        if (after.next == after.end) entry.insert(0, "\r\n");  // that line ends the file unterminated
        text.insert(after.next, entry);
    } else {
        if (!text.empty() && text.back() != '\n') text += "\r\n";
        text += "[" + std::string(sectionName) + "]\r\n" + std::string(keyName) + "=" + value + "\r\n";
    }
    return write_file(path, text) ? 0 : -1;
}
