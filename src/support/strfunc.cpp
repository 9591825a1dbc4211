// String and character functions
#include "strfunc.h"

#include <cstdint>
#include <cstring>

namespace {

inline int byte_of(int ch) { return ch & 0xFF; }

// Eight bytes as one word, in whatever order the machine keeps them: the
// word tests below only say whether some byte qualifies, never which.
std::uint64_t word_at(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Nonzero exactly when some byte of w is 0.
inline std::uint64_t has_zero_byte(std::uint64_t w) { return (w - kOnes) & ~w & kHighs; }
// Nonzero exactly when some byte of w is below 32.
inline std::uint64_t has_byte_below_32(std::uint64_t w) { return (w - kOnes * 32) & ~w & kHighs; }
inline int ubyte(const char* p) { return static_cast<unsigned char>(*p); }

// The collation order: the character codes listed from weight 65 on
// (codes 0-64 are their own weights). Windows-1252 letters are written as
// numeric codes.
constexpr unsigned char kOrderFrom65[256 - 65] = {
    // Capitals, each followed by its accented forms
    'A', 192, 193, 194, 195, 196, 197, 198,  // A À Á Â Ã Ä Å Æ
    'B', 'C', 199,                           // B C Ç
    'D', 208,                                // D Ð
    'E', 200, 201, 202, 203,                 // E È É Ê Ë
    'F', 'G', 'H', 'I', 204, 205, 206, 207,  // F G H I Ì Í Î Ï
    'J', 'K', 'L', 'M', 'N', 209,            // J K L M N Ñ
    'O', 210, 211, 212, 213, 214, 216,       // O Ò Ó Ô Õ Ö Ø
    'P', 'Q', 'R', 'S', 'T', 'U', 217, 218, 219, 220,  // P Q R S T U Ù Ú Û Ü
    'V', 'W', 'X', 'Y', 221, 'Z',            // V W X Y Ý Z
    // [ \ ] ^ _ `
    91, 92, 93, 94, 95, 96,
    // Small letters, each followed by its accented forms
    'a', 224, 225, 226, 227, 228, 229, 230,  // a à á â ã ä å æ
    'b', 'c', 231,                           // b c ç
    'd', 240,                                // d ð
    'e', 232, 233, 234, 235,                 // e è é ê ë
    'f', 'g', 'h', 'i', 236, 237, 238, 239,  // f g h i ì í î ï
    'j', 'k', 'l', 'm', 'n', 241,            // j k l m n ñ
    'o', 242, 243, 244, 245, 246, 248,       // o ò ó ô õ ö ø
    'p', 'q', 'r', 's', 223, 't',            // p q r s ß t
    'u', 249, 250, 251, 252,                 // u ù ú û ü
    'v', 'w', 'x', 'y', 253, 255, 'z',       // v w x y ý ÿ z
    // { | } ~ DEL
    123, 124, 125, 126, 127,
    // 128-191 in code order
    128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143,
    144, 145, 146, 147, 148, 149, 150, 151, 152, 153, 154, 155, 156, 157, 158, 159,
    160, 161, 162, 163, 164, 165, 166, 167, 168, 169, 170, 171, 172, 173, 174, 175,
    176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191,
    // last: × Þ ÷ þ
    215, 222, 247, 254,
};

struct WeightTable {
    unsigned char w[256];
};

constexpr WeightTable build_weights() {
    WeightTable t{};
    for (int c = 0; c < 65; ++c) t.w[c] = static_cast<unsigned char>(c);
    for (int i = 0; i < 256 - 65; ++i) t.w[kOrderFrom65[i]] = static_cast<unsigned char>(65 + i);
    return t;
}

constexpr WeightTable kWeights = build_weights();

// Compile-time proof that the table is a permutation of 0..255.
constexpr bool weights_are_permutation() {
    bool seen[256] = {};
    for (int c = 0; c < 256; ++c) {
        if (seen[kWeights.w[c]]) return false;
        seen[kWeights.w[c]] = true;
    }
    return true;
}
static_assert(weights_are_permutation(), "collation table must be a permutation of 0..255");

// One pattern character against one string character.
inline bool pattern_char_matches(int pc, int sc, bool nocase) {
    if (pc == '?') return true;
    if (pc == '#') return is_digit(sc);
    if (nocase) return upper_char(pc) == upper_char(sc);
    return pc == sc;
}

// Iterative matcher: on a mismatch, return to the last '*' and let it take
// one more character. No recursion, O(length(pattern) * length(s)).
bool wild_match_impl(const char* pattern, const char* s, bool nocase) {
    const char* p = pattern;
    const char* starP = nullptr;  // pattern position just after the last '*'
    const char* starS = nullptr;  // string position that '*' has reached
    while (*s) {
        if (*p == '*') {
            while (*p == '*') ++p;
            starP = p;
            starS = s;
            continue;
        }
        if (*p && pattern_char_matches(ubyte(p), ubyte(s), nocase)) {
            ++p;
            ++s;
            continue;
        }
        if (starP) {
            p = starP;
            s = ++starS;
            continue;
        }
        return false;
    }
    while (*p == '*') ++p;
    return *p == '\0';
}

int str_length(const char* s) { return static_cast<int>(std::strlen(s)); }

bool match_at(const char* s, const char* sub, bool nocase) {
    for (; *sub; ++s, ++sub) {
        if (!*s) return false;
        if (nocase ? upper_char(ubyte(s)) != upper_char(ubyte(sub)) : *s != *sub) return false;
    }
    return true;
}

int find_impl(const char* s, const char* sub, bool nocase) {
    for (int i = 0; s[i]; ++i) {
        if (match_at(s + i, sub, nocase)) return i;
    }
    return *sub ? -1 : 0;
}

}  // namespace

// --- Character classes and case folding -----------------------------------

int upper_char(int ch) {
    ch = byte_of(ch);
    if ((ch >= 'a' && ch <= 'z') || (ch >= 224 && ch <= 254)) return ch - 32;
    return ch;
}

int lower_char(int ch) {
    ch = byte_of(ch);
    if ((ch >= 'A' && ch <= 'Z') || (ch >= 192 && ch <= 222)) return ch + 32;
    return ch;
}

int collation_weight(int ch) { return kWeights.w[byte_of(ch)]; }

// --- Small numeric functions ----------------------------------------------

int min_int(int a, int b) { return a < b ? a : b; }
int max_int(int a, int b) { return a > b ? a : b; }

int abs_int(int n) {
    // Negating through unsigned avoids undefined behaviour for INT_MIN.
    return n < 0 ? static_cast<int>(0u - static_cast<unsigned>(n)) : n;
}

long hex_to_int(const char* s) {
    while (is_white(ubyte(s))) ++s;
    unsigned long v = 0;  // unsigned: overflow wraps instead of being undefined
    for (;; ++s) {
        int c = ubyte(s);
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else break;
        v = v * 16u + static_cast<unsigned long>(d);
    }
    return static_cast<long>(v);
}

// --- Memory ---------------------------------------------------------------

char* mem_move(const void* src, void* dst, int n) {
    char* d = static_cast<char*>(dst);
    if (n < 1) return d;
    std::memmove(d, src, static_cast<size_t>(n));  // handles overlap either way
    return d + n;
}

void mem_fill(void* p, int n, int ch) {
    if (n < 1) return;
    std::memset(p, byte_of(ch), static_cast<size_t>(n));
}

int mem_find_pair(const char* s, int from, int to, int ch) {
    const char c = static_cast<char>(byte_of(ch));
    const std::uint64_t pattern = kOnes * static_cast<std::uint64_t>(byte_of(ch));
    int q = from < 0 ? 0 : from;
    // A word of s at q and one at q + 1: a pair at q + i makes byte i of
    // their combined difference from the pattern zero.
    for (; q + 9 <= to; q += 8) {
        if (has_zero_byte((word_at(s + q) ^ pattern) | (word_at(s + q + 1) ^ pattern))) break;
    }
    for (; q + 1 < to; ++q) {
        if (s[q] == c && s[q + 1] == c) return q;
    }
    return -1;
}

int mem_find_control(const char* p, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        if (has_byte_below_32(word_at(p + i))) break;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) < 32) return i;
    }
    return -1;
}

void str_fill(char* s, int n, int ch) {
    if (n < 0) n = 0;
    mem_fill(s, n, ch);
    s[n] = '\0';
}

// --- Inspecting -----------------------------------------------------------

char* str_end(char* s) { return s + std::strlen(s); }
const char* str_end(const char* s) { return s + std::strlen(s); }

int str_index(const char* s, int ch) {
    ch = byte_of(ch);
    for (int i = 0; s[i]; ++i) {
        if (ubyte(s + i) == ch) return i;
    }
    return -1;
}

int str_find(const char* s, const char* sub) { return find_impl(s, sub, false); }
int str_find_nocase(const char* s, const char* sub) { return find_impl(s, sub, true); }

int str_rfind(const char* s, const char* sub) {
    int ls = str_length(s);
    int lsub = str_length(sub);
    if (lsub >= ls) return -1;
    for (int i = ls - lsub; i >= 0; --i) {
        if (std::memcmp(s + i, sub, static_cast<size_t>(lsub)) == 0) return i;
    }
    return -1;
}

bool str_is_blank(const char* s) {
    for (; *s; ++s) {
        if (!is_white(ubyte(s))) return false;
    }
    return true;
}

bool is_blank_n(const char* s, int n) {
    for (int i = 0; i < n; ++i) {
        if (!is_white(ubyte(s + i))) return false;  // also stops at the terminator
    }
    return true;
}

int str_cmp_nocase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int ca = upper_char(ubyte(a));
        int cb = upper_char(ubyte(b));
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
}

int str_ncmp_nocase(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        int ca = upper_char(ubyte(a + i));
        int cb = upper_char(ubyte(b + i));
        if (ca != cb) return ca - cb;
        if (ca == 0) return 0;
    }
    return 0;
}

int str_cmp_numeric(const char* a, const char* b) {
    while (*a && *b) {
        if (is_digit(ubyte(a)) && is_digit(ubyte(b))) {
            // Skip leading zeros; a run of zeros only keeps one 0.
            while (*a == '0' && is_digit(ubyte(a + 1))) ++a;
            while (*b == '0' && is_digit(ubyte(b + 1))) ++b;
            int la = 0;
            int lb = 0;
            while (is_digit(ubyte(a + la))) ++la;
            while (is_digit(ubyte(b + lb))) ++lb;
            if (la != lb) return la - lb;  // the longer number sorts later
            for (int i = 0; i < la; ++i) {
                if (a[i] != b[i]) return collation_weight(ubyte(a + i)) - collation_weight(ubyte(b + i));
            }
            a += la;
            b += lb;
            int d = collation_weight(ubyte(a)) - collation_weight(ubyte(b));
            if (d != 0) return d;
            continue;  // the walk goes on from the characters after the runs
        }
        if (*a != *b) return collation_weight(ubyte(a)) - collation_weight(ubyte(b));
        ++a;
        ++b;
    }
    return collation_weight(ubyte(a)) - collation_weight(ubyte(b));  // terminator weighs 0
}

// --- Changing in place ----------------------------------------------------

int str_trim_right(char* s) { return str_trim_right_n(s, str_length(s)) > 0 ? 1 : 0; }

int str_trim_right_n(char* s, int n) {
    if (n < 0) n = 0;
    while (n > 0 && is_white(ubyte(s + n - 1))) --n;
    s[n] = '\0';
    return n;
}

int str_trim(char* s) {
    int lead = 0;
    while (is_white(ubyte(s + lead))) ++lead;
    if (lead > 0) std::memmove(s, s + lead, std::strlen(s + lead) + 1);
    return str_trim_right(s);
}

void str_upper(char* s) {
    for (; *s; ++s) *s = static_cast<char>(upper_char(ubyte(s)));
}

void str_pad(char* dst, const char* src, int width) {
    if (width < 0) width = 0;
    const void* nul = std::memchr(src, '\0', static_cast<size_t>(width));
    const int n = nul ? static_cast<int>(static_cast<const char*>(nul) - src) : width;
    if (dst != src) std::memmove(dst, src, static_cast<size_t>(n));  // padding in place is common
    mem_fill(dst + n, width - n, ' ');
    dst[width] = '\0';
}

void str_delete(char* s, int pos, int n) {
    if (pos < 0 || n < 1) return;
    int len = str_length(s);
    if (pos >= len) return;
    if (n > len - pos) n = len - pos;
    std::memmove(s + pos, s + pos + n, static_cast<size_t>(len - pos - n + 1));
}

void str_insert(const char* ins, char* s, int pos) {
    int ls = str_length(s);
    int li = str_length(ins);
    if (pos < 0) pos = 0;
    if (pos > ls) pos = ls;
    if (li == 0) return;
    // Move the tail (with its terminator) up, then copy ins into the gap.
    std::memmove(s + pos + li, s + pos, static_cast<size_t>(ls - pos + 1));
    if (ins >= s && ins <= s + ls) {
        // ins lies inside s: its part at or after pos has moved up by li.
        int before = static_cast<int>((s + pos) - ins);  // bytes of ins still in place
        if (before < 0) before = 0;
        if (before > li) before = li;
        std::memmove(s + pos, ins, static_cast<size_t>(before));
        if (before < li) std::memmove(s + pos + before, ins + before + li, static_cast<size_t>(li - before));
    } else {
        std::memcpy(s + pos, ins, static_cast<size_t>(li));
    }
}

char* str_put_number(char* p, long n) {
    char digits[20];
    int count = 0;
    if (n < 0) n = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n > 0);
    while (count > 0) *p++ = digits[--count];
    return p;
}

int str_ncopy(char* dst, const char* src, int n) {
    int i = 0;
    for (; i < n && src[i]; ++i) dst[i] = src[i];
    dst[i] = '\0';
    return i;
}

void str_overlay(char* dst, const char* src) {
    for (; *dst && *src; ++dst, ++src) {
        if (*dst == ' ') *dst = *src;
    }
}

int str_next_word(char* word, char* s) {
    str_trim(s);
    int n = 0;
    while (s[n] && !is_white(ubyte(s + n))) ++n;
    std::memcpy(word, s, static_cast<size_t>(n));
    word[n] = '\0';
    std::memmove(s, s + n, std::strlen(s + n) + 1);
    str_trim(s);
    return n;
}

void str_cut_field(char* field, char* s) {
    if (!*s) {
        field[0] = '\0';
        return;
    }
    char d = s[0];
    int i = 1;
    while (s[i] && s[i] != d) ++i;
    int n = i - 1;
    std::memmove(field, s + 1, static_cast<size_t>(n));
    field[n] = '\0';
    std::memmove(s, s + i, std::strlen(s + i) + 1);
}

// --- Patterns -------------------------------------------------------------

bool wild_match(const char* pattern, const char* s) { return wild_match_impl(pattern, s, false); }
bool wild_match_nocase(const char* pattern, const char* s) { return wild_match_impl(pattern, s, true); }

bool mask_match(const char* mask, const char* s) {
    for (; *mask; ++mask, ++s) {
        if (!*s) return false;
        int m = ubyte(mask);
        if (m == '#') {
            if (!is_digit(ubyte(s))) return false;
        } else if (m != '?' && m != ubyte(s)) {
            return false;
        }
    }
    return *s == '\0';
}

// --- Sorting --------------------------------------------------------------

void shell_sort(void* base, int n, int size, int (*cmp)(const void*, const void*)) {
    if (n < 2 || size < 1) return;
    char* b = static_cast<char*>(base);
    const size_t sz = static_cast<size_t>(size);
    for (int gap = n / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < n; ++i) {
            for (int j = i - gap; j >= 0; j -= gap) {
                char* left = b + static_cast<size_t>(j) * sz;
                char* right = left + static_cast<size_t>(gap) * sz;
                if (cmp(left, right) <= 0) break;
                for (size_t k = 0; k < sz; ++k) {  // swap byte by byte, no buffer
                    char t = left[k];
                    left[k] = right[k];
                    right[k] = t;
                }
            }
        }
    }
}
