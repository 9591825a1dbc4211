// The line file: the line rules, reads, seeks and write-back.
#include "files_fixture.h"

#include <string>
#include <vector>

namespace {

class LineFiles : public Files {};

// What the reader reports lost, as one comparable text.
std::string loss_text(const LineLoss& l) {
    return "cut " + std::to_string(l.cutLines) + " nul " + std::to_string(l.nulLines) + " cr " +
           std::to_string(l.loneCRs) + " eof " + std::to_string(l.afterEof) + (l.readFailed ? " read failed" : "");
}

// Every line of a file (NUL bytes kept), read with max characters a line;
// checks that the end of the file stays the end. *loss: what the reader dropped.
std::vector<std::string> read_lines(const std::string& file, int max, int expectedBlockSize = LF_BLOCK_SIZE,
                                    std::string* loss = nullptr) {
    std::vector<std::string> lines;
    LineFile lf;
    EXPECT_GE(lf_open(&lf, file.c_str()), 0);
    EXPECT_EQ(lf.blockSize, expectedBlockSize);
    if (expectedBlockSize == LF_RESERVE_SIZE) {
        EXPECT_EQ(lf.buffer, lf.reserve);
    }
    std::vector<char> buf(static_cast<size_t>(max) + 1);
    int n;
    while ((n = lf_read_line(&lf, buf.data(), max)) >= 0) {
        EXPECT_EQ(buf[static_cast<size_t>(n)], '\0');
        lines.emplace_back(buf.data(), static_cast<size_t>(n));
    }
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(lf_read_line(&lf, buf.data(), max), -1);
    if (loss) *loss = loss_text(lf.loss);
    EXPECT_EQ(lf_close(&lf), 0);
    return lines;
}

using Lines = std::vector<std::string>;

// --- Line rules -------------------------------------------------------------------

TEST_F(LineFiles, LineEndsCrAndCtrlZ) {
    struct Case {
        std::string bytes;
        Lines lines;
        const char* loss;  // what the rules dropped beyond the lossless ones
    };
    const std::vector<Case> cases = {
        {"a\r\nb", {"a", "b"}, "cut 0 nul 0 cr 0 eof 0"},              // no line end after the last line
        {"a\nb\x1A" "c\n", {"a", "b"}, "cut 0 nul 0 cr 0 eof 2"},      // Ctrl-Z ends line and file
        {"\x1A" "abc\n", {}, "cut 0 nul 0 cr 0 eof 4"},                // Ctrl-Z first: nothing at all
        {"one\r\ntwo\r\n\x1A" "three\r\nfour\r\n", {"one", "two"}, "cut 0 nul 0 cr 0 eof 13"},
        {"a\r\nb\r\n\x1A", {"a", "b"}, "cut 0 nul 0 cr 0 eof 0"},       // Ctrl-Z as the last byte
        {"\n", {""}, "cut 0 nul 0 cr 0 eof 0"},                        // an empty line
        {"", {}, "cut 0 nul 0 cr 0 eof 0"},                            // an empty file
        {"a\rb\r\nc\n\rd\r", {"ab", "c", "d"}, "cut 0 nul 0 cr 3 eof 0"},  // lone CR vanishes, LF CR ends a line
        {"one\rtwo\rthree\r", {"onetwothree"}, "cut 0 nul 0 cr 3 eof 0"},
        {"a\r\x1A", {"a"}, "cut 0 nul 0 cr 1 eof 0"},                  // a CR before the Ctrl-Z is lone
        {"x\ny  \t\n\n", {"x", "y  \t", ""}, "cut 0 nul 0 cr 0 eof 0"},
        {std::string("n\0l\0\nz", 6), {std::string("n\0l\0", 4), "z"}, "cut 0 nul 1 cr 0 eof 0"},  // NUL is a character
        {std::string("a\0b", 3), {std::string("a\0b", 3)}, "cut 0 nul 1 cr 0 eof 0"},
    };
    for (const Case& c : cases) {
        write("t.txt", c.bytes);
        std::string loss;
        EXPECT_EQ(read_lines(path("t.txt"), 250, LF_BLOCK_SIZE, &loss), c.lines)
            << "file: " << testing::PrintToString(c.bytes);
        EXPECT_EQ(loss, c.loss) << "file: " << testing::PrintToString(c.bytes);
    }
}

TEST_F(LineFiles, CtrlZIsNeverConsumed) {
    write("z.txt", "a\nb\x1A" "c\n");
    LineFile lf;
    char buf[251];
    ASSERT_GE(lf_open(&lf, path("z.txt").c_str()), 0);
    EXPECT_EQ(lf_read_line(&lf, buf, 250), 1);
    EXPECT_EQ(lf_read_line(&lf, buf, 250), 1);
    EXPECT_STREQ(buf, "b");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(lf_read_line(&lf, buf, 250), -1);
    EXPECT_EQ(lf_tell(&lf), 3);  // still standing on the Ctrl-Z
    char rest[3] = {};
    EXPECT_EQ(lf_read(&lf, rest, 2), 0);  // raw reads do pass it
    EXPECT_EQ(std::string(rest), "\x1A" "c");
    EXPECT_EQ(lf_close(&lf), 0);
}

TEST_F(LineFiles, OverlongLinesAreCutAndTheirRestDropped) {
    std::string longLine;
    for (int i = 0; i < 300; ++i) longLine += static_cast<char>('a' + i % 26);
    write("long.txt", longLine + "\r\nnext\n");
    std::string loss;
    EXPECT_EQ(read_lines(path("long.txt"), 250, LF_BLOCK_SIZE, &loss), (Lines{longLine.substr(0, 250), "next"}));
    EXPECT_EQ(loss, "cut 1 nul 0 cr 0 eof 0");
    // Only white space past the cut: nothing the trimmed line would keep is lost.
    write("blanks.txt", longLine.substr(0, 250) + " \t \r\n" + longLine.substr(0, 251) + "\n");
    read_lines(path("blanks.txt"), 250, LF_BLOCK_SIZE, &loss);
    EXPECT_EQ(loss, "cut 1 nul 0 cr 0 eof 0");

    std::string huge(10000, 'h');
    huge[0] = 'A';
    huge[9999] = 'Z';
    write("huge.txt", "x\n" + huge + "\ny");
    EXPECT_EQ(read_lines(path("huge.txt"), 250), (Lines{"x", huge.substr(0, 250), "y"}));
    EXPECT_EQ(read_lines(path("huge.txt"), 10000), (Lines{"x", huge, "y"}));  // over five blocks
    EXPECT_EQ(read_lines(path("huge.txt"), 0), (Lines{"", "", ""}));

    // The cut counts the characters kept: CRs inside the line take no room.
    write("cr.txt", "a\rb\r\rc\rd\r\nxy\n");
    EXPECT_EQ(read_lines(path("cr.txt"), 3, LF_BLOCK_SIZE, &loss), (Lines{"abc", "xy"}));
    EXPECT_EQ(loss, "cut 1 nul 0 cr 4 eof 0");
    EXPECT_EQ(read_lines(path("cr.txt"), 250), (Lines{"abcd", "xy"}));

    write("list.txt", std::string(100, 'q') + "\nshort\n");
    LineFile lf;
    char buf[79];
    ASSERT_GE(lf_open(&lf, path("list.txt").c_str()), 0);
    EXPECT_EQ(lf_gets(&lf, buf), 78);
    EXPECT_EQ(lf_gets(&lf, buf), 5);
    EXPECT_EQ(lf_gets(&lf, buf), -1);
    EXPECT_EQ(lf_close(&lf), 0);
}

TEST_F(LineFiles, LinesAcrossBlockBoundaries) {
    // Lines of every length 0..130 with the lossless line end styles, so that
    // CR, LF and text fall on both sides of many 100- and 2048-byte boundaries:
    // a CR LF split by a block boundary is no lone CR.
    Lines lines;
    std::string bytes;
    const char* ends[] = {"\n", "\r\n"};
    for (int i = 0; i < 400; ++i) {
        std::string line(static_cast<size_t>(i * 37 % 131), static_cast<char>('A' + i % 26));
        lines.push_back(line);
        bytes += line + ends[i % 2];
    }
    write("blocks.txt", bytes + "\x1A");
    std::string loss;
    EXPECT_EQ(read_lines(path("blocks.txt"), 250, LF_BLOCK_SIZE, &loss), lines);
    EXPECT_EQ(loss, "cut 0 nul 0 cr 0 eof 0");
    files_test_fail_alloc(true);  // the built-in 100-byte reserve serves as block
    EXPECT_EQ(read_lines(path("blocks.txt"), 250, LF_RESERVE_SIZE, &loss), lines);
    EXPECT_EQ(loss, "cut 0 nul 0 cr 0 eof 0");
    // A lone CR that a block boundary parts from the next line's text, and one at the file's end.
    write("lone.txt", std::string(99, 'c') + "\rd\n" + std::string(95, 'e') + "\r");
    EXPECT_EQ(read_lines(path("lone.txt"), 250, LF_RESERVE_SIZE, &loss),
              (Lines{std::string(99, 'c') + "d", std::string(95, 'e')}));
    EXPECT_EQ(loss, "cut 0 nul 0 cr 2 eof 0");
    // A failed read ends the file and is reported.
    files_test_fail_reads_after(2);
    EXPECT_EQ(read_lines(path("blocks.txt"), 250, LF_RESERVE_SIZE, &loss).size(), 4u);  // the fourth one cut short
    EXPECT_EQ(loss, "cut 0 nul 0 cr 0 eof 0 read failed");
    files_test_fail_reads_after(-1);
    files_test_fail_alloc(false);

    // The file ends exactly at a block end: the empty next block ends it.
    write("exact.txt", std::string(2047, 'e') + "\n");
    EXPECT_EQ(read_lines(path("exact.txt"), 3000), (Lines{std::string(2047, 'e')}));
    write("exact2.txt", std::string(4096, 'f'));
    EXPECT_EQ(read_lines(path("exact2.txt"), 5000), (Lines{std::string(4096, 'f')}));
}

// --- Raw reads, seeks and write-back ---------------------------------------------

TEST_F(LineFiles, ReadAndSeekAcrossBlocks) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i % 251);
    write("b.bin", bytes);
    for (bool reserve : {false, true}) {
        files_test_fail_alloc(reserve);
        LineFile lf;
        ASSERT_GE(lf_open(&lf, path("b.bin").c_str()), 0);
        std::string got(3000, '\0');
        EXPECT_EQ(lf_read(&lf, &got[0], 3000), 0);
        EXPECT_EQ(got, bytes.substr(0, 3000));
        EXPECT_EQ(lf_seek(&lf, 4990), 0);
        EXPECT_EQ(lf_tell(&lf), 4990);
        std::string tail(20, '#');
        EXPECT_EQ(lf_read(&lf, &tail[0], 20), -1);  // the file ends first ...
        EXPECT_EQ(tail.substr(0, 10), bytes.substr(4990));  // ... but the rest is delivered
        EXPECT_EQ(lf_seek(&lf, 7), 0);
        char one = 0;
        EXPECT_EQ(lf_read(&lf, &one, 1), 0);
        EXPECT_EQ(one, bytes[7]);
        EXPECT_EQ(lf_seek(&lf, -1), -1);
        EXPECT_EQ(lf_close(&lf), 0);
    }
}

TEST_F(LineFiles, ChangedBytesGoBackWhenTheBlockChanges) {
    for (bool reserve : {false, true}) {
        const long size = 5000;
        write("w.bin", std::string(size, '.'));
        files_test_fail_alloc(reserve);
        LineFile lf;
        ASSERT_GE(lf_open(&lf, path("w.bin").c_str()), 0);
        const long edge = lf.blockSize;  // the end of block 0
        ASSERT_EQ(lf_seek(&lf, edge - 8), 0);
        EXPECT_EQ(lf_write(&lf, "0123456789ABCDEF", 16), 0);  // crosses into block 1
        EXPECT_EQ(read("w.bin").substr(edge - 8, 16), "01234567........");
        ASSERT_EQ(lf_seek(&lf, 2), 0);  // leaving block 1 writes it back
        EXPECT_EQ(read("w.bin").substr(edge - 8, 16), "0123456789ABCDEF");
        EXPECT_EQ(lf_write(&lf, "xy", 2), 0);
        EXPECT_EQ(read("w.bin").substr(0, 4), "....");  // still in the buffer
        ASSERT_EQ(lf_seek(&lf, 0), 0);                   // same block: nothing written yet
        char seen[5] = {};
        EXPECT_EQ(lf_read(&lf, seen, 4), 0);
        EXPECT_STREQ(seen, "..xy");  // reads see the buffer
        ASSERT_EQ(lf_seek(&lf, size + 3), 0);  // writing beyond the end leaves zeros between
        EXPECT_EQ(lf_write(&lf, "END", 3), 0);
        EXPECT_EQ(lf_close(&lf), 0);
        std::string expected(size, '.');
        expected.replace(2, 2, "xy");
        expected.replace(static_cast<size_t>(edge - 8), 16, "0123456789ABCDEF");
        expected += std::string(3, '\0') + "END";
        EXPECT_EQ(read("w.bin"), expected) << "reserve " << reserve;
        files_test_fail_alloc(false);
    }
}

TEST_F(LineFiles, FailedWriteBackIsReported) {
    write("f.bin", std::string(5000, '.'));
    LineFile lf;
    ASSERT_GE(lf_open(&lf, path("f.bin").c_str()), 0);
    EXPECT_EQ(lf_write(&lf, "abc", 3), 0);
    files_test_fail_writes_after(0);
    EXPECT_EQ(lf_seek(&lf, 3000), -1);
    EXPECT_EQ(lf_close(&lf), -1);

    // A failure while reading on across a block is not forgotten either.
    files_test_fail_writes_after(-1);
    ASSERT_GE(lf_open(&lf, path("f.bin").c_str()), 0);
    EXPECT_EQ(lf_write(&lf, "abc", 3), 0);
    files_test_fail_writes_after(0);
    char buf[3000];
    EXPECT_EQ(lf_read(&lf, buf, 3000), 0);
    EXPECT_EQ(lf_close(&lf), -1);
    EXPECT_EQ(lf_close(&lf), -1);  // a second close does nothing
    files_test_fail_writes_after(-1);
    EXPECT_EQ(read("f.bin"), std::string(5000, '.'));
}

}  // namespace
