// The benchmarks' document: deterministic C-like lines of varied length (some
// empty), as many as fit into packedLimit bytes of packed records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::string> cLikeLines(std::uint32_t packedLimit) {
    static const char* const kPieces[] = {
        "if (", "count", " = ", "buffer[i]", "->next", " && ", "++", ";", "return ", "(void)",
        "while (p != NULL)", " {", "}", "/* keep the old value */", "printf(\"%d\\n\", value)",
        "static int ", "const char* name", ", ", "size_t n", "memcpy(dst, src, n)", " + 1", ")",
    };
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    std::vector<std::string> lines;
    std::uint32_t packed = 0;
    for (;;) {
        std::string text(4 * (next() % 4), ' ');
        const unsigned pieces = next() % 10;  // 0: an empty line
        for (unsigned i = 0; i < pieces; ++i) text += kPieces[next() % (sizeof kPieces / sizeof *kPieces)];
        if (text.size() > 250) text.resize(250);
        while (!text.empty() && text.back() == ' ') text.pop_back();
        const auto size = static_cast<std::uint32_t>(text.size() + 5);  // a packed record
        if (packed + size > packedLimit) break;
        packed += size;
        lines.push_back(text);
    }
    return lines;
}
