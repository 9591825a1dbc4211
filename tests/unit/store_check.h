// The line store's bookkeeping checked against its bytes, for the tests of everything that edits through it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "document/linestore.h"
#include "support/strfunc.h"

// Size at both ends of every record, the counts and the free bytes agree with the bytes.
inline ::testing::AssertionResult storeIsSound() {
    const StoreLayout s = storeLayout();
    if (s.aboveTop > s.belowStart || s.belowStart > s.lineAreaSize) return ::testing::AssertionFailure() << "overlap";
    if (storeFreeBytes() != s.belowStart - s.aboveTop) return ::testing::AssertionFailure() << "free bytes";
    const std::uint32_t ends[2][2] = {{0, s.aboveTop}, {s.belowStart, s.lineAreaSize}};
    const std::int32_t counts[2] = {s.aboveCount, s.belowCount};
    for (int k = 0; k < 2; ++k) {
        std::int32_t n = 0;
        for (std::uint32_t at = ends[k][0]; at < ends[k][1]; ++n) {
            const std::uint32_t size = s.lineArea[at] + 2u;
            if (size < 5 || size > 255 || at + size > ends[k][1] || s.lineArea[at + size - 1] != s.lineArea[at])
                return ::testing::AssertionFailure() << "bad record at " << at;
            at += size;
        }
        if (n != counts[k]) return ::testing::AssertionFailure() << "count " << counts[k] << " walk " << n;
    }
    std::uint32_t rowBytes = 0;  // the edit guard's sum of the rows, measured here
    for (int r = 0; r < kWindowRowsMax; ++r) {
        LineRecord rec;
        rowGetRaw(r, &rec);
        const void* nul = std::memchr(rec.text, '\0', kLineChars);
        int n = nul != nullptr ? static_cast<int>(static_cast<const char*>(nul) - rec.text) : kLineChars;
        while (n > 0 && is_white(static_cast<unsigned char>(rec.text[n - 1]))) --n;
        if (storeWindowBytes() != 0 && rowTrimmedLength(r) != n)
            return ::testing::AssertionFailure() << "row " << r << " kept " << rowTrimmedLength(r) << " measured " << n;
        rowBytes += static_cast<std::uint32_t>(n) + 5u;
    }
    if (storeWindowBytes() != 0 && storeWindowBytes() != rowBytes)
        return ::testing::AssertionFailure() << "window bytes " << storeWindowBytes() << " measured " << rowBytes;
    return ::testing::AssertionSuccess();
}

// Everything the store holds, byte for byte.
inline std::string storeSnapshot() {
    const StoreLayout s = storeLayout();
    std::string bytes = std::to_string(s.aboveTop) + " " + std::to_string(s.belowStart) + " " +
                        std::to_string(s.aboveCount) + " " + std::to_string(s.belowCount);
    if (s.lineArea) bytes.append(reinterpret_cast<const char*>(s.lineArea), s.lineAreaSize);
    for (int r = 0; r < kWindowRowsMax; ++r) {
        LineRecord rec;
        rowGetRaw(r, &rec);
        bytes.append(reinterpret_cast<const char*>(&rec), sizeof rec);
    }
    return bytes;
}
