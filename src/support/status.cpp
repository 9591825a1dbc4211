// Status bar widths, control value texts, dates and the help target.
#include "support/status.h"

#include "support/strfunc.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// --- Dates and times -----------------------------------------------------------

void current_time(TimeRecord* t) {
    *t = TimeRecord{};
    std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);  // one thread: the shared result is safe
    if (!local || local->tm_year < 0 || local->tm_year > 255) return;
    t->year = static_cast<unsigned char>(local->tm_year);
    t->month = static_cast<unsigned char>(local->tm_mon + 1);
    t->day = static_cast<unsigned char>(local->tm_mday);
    t->hour = static_cast<unsigned char>(local->tm_hour);
    t->minute = static_cast<unsigned char>(local->tm_min);
    // A leap second (60) is kept: the record has room for it.
    t->second = static_cast<unsigned char>(local->tm_sec);
}

namespace {

// The year a date text shows: a zero year byte means no time known, not 1900.
int shown_year(const TimeRecord* t) { return t->year == 0 ? 0 : t->year + 1900; }

}  // namespace

void today_string(char* buf) {
    TimeRecord now;
    current_time(&now);
    std::snprintf(buf, DATE_TEXT_SIZE, "%02d.%02d.%04d", now.day, now.month, shown_year(&now));
}

void format_datetime(char* buf, const TimeRecord* t) {
    std::snprintf(buf, DATE_TEXT_SIZE, "%02d.%02d.%04d %02d:%02d", t->day, t->month,
                  shown_year(t), t->hour, t->minute);
}

void format_datetime_wide(char* buf, const TimeRecord* t) {
    std::snprintf(buf, DATE_TEXT_SIZE, "%02d.%02d.%04d  %02d:%02d", t->day, t->month,
                  shown_year(t), t->hour, t->minute);
}

// --- Control value texts -----------------------------------------------------

namespace {

// True when text is "-" followed only by zeros and the decimal point: a
// negative value that rounded to zero. "-inf" and "-nan" are no such text.
bool is_negative_zero_text(const char* text) {
    if (text[0] != '-' || text[1] == '\0') return false;
    for (const char* p = text + 1; *p; ++p) {
        if (*p != '0' && *p != '.') return false;
    }
    return true;
}

// Skips white space and reads an optional sign: the first character after them.
const char* skip_blanks_and_sign(const char* s, bool* negative) {
    while (is_white(*s)) ++s;
    *negative = *s == '-';
    if (*s == '-' || *s == '+') ++s;
    return s;
}

// The decimal digits at s as a magnitude, saturating at limit.
unsigned long long read_magnitude(const char* s, unsigned long long limit) {
    unsigned long long n = 0;
    for (; is_digit(*s); ++s) {
        unsigned digit = static_cast<unsigned>(*s - '0');
        if (n > (limit - digit) / 10) return limit;  // checked before it could wrap
        n = n * 10 + digit;
    }
    return n;
}

// A signed decimal number at the start of s, clamped to [low, high].
long long read_clamped(const char* s, long long low, long long high) {
    bool negative;
    s = skip_blanks_and_sign(s, &negative);
    if (negative) {
        // |low| is one more than high: count it without overflowing long long.
        unsigned long long lowMagnitude = static_cast<unsigned long long>(-(low + 1)) + 1;
        unsigned long long magnitude = read_magnitude(s, lowMagnitude);
        return magnitude == 0 ? 0 : -static_cast<long long>(magnitude - 1) - 1;
    }
    return static_cast<long long>(read_magnitude(s, static_cast<unsigned long long>(high)));
}

}  // namespace

void format_fixed(char* buf, int size, double value) {
    if (size < 1) return;
    int length = std::snprintf(buf, static_cast<size_t>(size), "%.2f", value);
    if (length < 0 || length >= size) {
        std::snprintf(buf, static_cast<size_t>(size), "%.15g", value);
        return;
    }
    if (is_negative_zero_text(buf)) std::memmove(buf, buf + 1, static_cast<size_t>(length));
}

int read_int(const char* s) { return static_cast<int>(read_clamped(s, INT_MIN, INT_MAX)); }

long read_long(const char* s) { return static_cast<long>(read_clamped(s, LONG_MIN, LONG_MAX)); }

double read_double(const char* s) {
    bool negative;
    const char* start = s;
    while (is_white(*start)) ++start;
    const char* p = skip_blanks_and_sign(start, &negative);

    // Measure the decimal number by hand, so that strtod sees nothing else
    // ("inf", "nan", hex) and an exponent without digits stays outside.
    int digits = 0;
    while (is_digit(*p)) ++p, ++digits;
    if (*p == '.') {
        ++p;
        while (is_digit(*p)) ++p, ++digits;
    }
    if (digits == 0) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (is_digit(*q)) {
            while (is_digit(*q)) ++q;
            p = q;
        }
    }

    char number[FIELD_TEXT_MAX + 1];
    size_t length = static_cast<size_t>(p - start);
    if (length > sizeof number - 1) length = sizeof number - 1;
    std::memcpy(number, start, length);
    number[length] = '\0';
    return std::strtod(number, nullptr);
}

// --- Status bar widths and dialog units --------------------------------------

int parse_status_widths(const char* text, int edges[STATUS_MAX_WIDTHS]) {
    int count = 0;
    int sum = 0;
    const char* p = text;
    while (count < STATUS_MAX_WIDTHS) {
        while (is_white(*p)) ++p;
        if (!is_digit(*p)) break;  // the end, or a word that is no width
        unsigned long long width = read_magnitude(p, STATUS_MAX_WIDTH);
        while (is_digit(*p)) ++p;
        if (*p != '\0' && !is_white(*p)) break;  // "12abc" is no width either
        sum += static_cast<int>(width);
        edges[count++] = sum;
    }
    return count;
}

int units_to_pixels(int n, int baseHeight) {
    long long scaled = static_cast<long long>(n) * baseHeight;
    long long pixels = scaled >= 0 ? (scaled + 4) / 8 : -((-scaled + 4) / 8);
    if (pixels > INT_MAX) return INT_MAX;
    if (pixels < INT_MIN) return INT_MIN;
    return static_cast<int>(pixels);
}

// --- Help --------------------------------------------------------------------------

int help_target(char* buf, int size, const char* file, const char* programPath,
                const char* topic) {
    if (size < 1) return -1;
    buf[0] = '\0';
    char path[FILE_PATH_MAX + 1];
    if (file && *file) {
        if (std::strlen(file) > static_cast<size_t>(FILE_PATH_MAX)) return -1;
        std::strcpy(path, file);
    } else {
        if (!programPath || !*programPath) return -1;
        if (std::strlen(programPath) > static_cast<size_t>(FILE_PATH_MAX)) return -1;
        std::strcpy(path, programPath);
        if (path_set_ext(path, "chm") != 0) return -1;
    }

    int length;
    if (topic && *topic) {
        length = std::snprintf(buf, static_cast<size_t>(size), "%s::/%s.html", path, topic);
    } else {
        length = std::snprintf(buf, static_cast<size_t>(size), "%s", path);
    }
    if (length < 0 || length >= size) {
        buf[0] = '\0';
        return -1;
    }
    return 0;
}
