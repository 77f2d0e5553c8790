// The platform's text encoding: UTF-8, with any byte outside a well-formed sequence kept
// as a character of its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/utf8.h"

namespace {

using platform::utf8::Decode;

// The boundaries Next walks through, from the start to the end.
std::vector<size_t> Boundaries(const std::string& s) {
    std::vector<size_t> out{0};
    for (size_t at = 0; at < s.size();) {
        at = platform::utf8::Next(s, at);
        out.push_back(at);
    }
    return out;
}

// Catches a decoder that takes a malformed sequence as a character (an overlong '/', a
// surrogate, a code point past U+10FFFF, a lead byte whose sequence is cut short) or
// that refuses a well-formed one.
TEST(Utf8, DecodesWellFormedSequencesAndOnlyThose) {
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t code;
        size_t length;
        bool wellFormed;
    };
    const Case cases[] = {
        {"ASCII", "a", 'a', 1, true},
        {"two bytes", "\xC4\x8D", 0x010D, 2, true},        // č
        {"three bytes", "\xE2\x82\xAC", 0x20AC, 3, true},  // €
        {"four bytes", "\xF0\x9F\x98\x80", 0x1F600, 4, true},
        {"overlong slash", "\xC0\xAF", 0xC0, 1, false},
        {"overlong three", "\xE0\x80\xAF", 0xE0, 1, false},
        {"surrogate", "\xED\xA0\x80", 0xED, 1, false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", 0xF4, 1, false},
        {"cut short", "\xE2\x82", 0xE2, 1, false},
        {"stray continuation", "\x80", 0x80, 1, false},
        {"Latin-1 byte before ASCII", "\xFCx", 0xFC, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::utf8::Char got = Decode(c.bytes, 0);
        EXPECT_EQ(got.code, c.code);
        EXPECT_EQ(got.length, c.length);
        EXPECT_EQ(got.wellFormed, c.wellFormed);
    }
}

// Catches a caret or a cut that lands inside a character: walking forwards and backwards
// meets the same boundaries, a malformed byte is a step of its own, and Floor never
// splits a sequence.
TEST(Utf8, BoundariesNeverSplitACharacter) {
    const std::string mixed = "s\xC4\x9B\xE2\x82\xAC\xFC\xE2\x82x\xF0\x9F\x98\x80";
    const std::vector<size_t> forward = Boundaries(mixed);
    EXPECT_EQ(forward, (std::vector<size_t>{0, 1, 3, 6, 7, 8, 9, 10, 14}));
    std::vector<size_t> backward{mixed.size()};
    for (size_t at = mixed.size(); at > 0;) {
        at = platform::utf8::Previous(mixed, at);
        backward.insert(backward.begin(), at);
    }
    EXPECT_EQ(backward, forward);
    const size_t floors[] = {0, 1, 1, 3, 3, 3, 6, 7, 8, 9, 10, 10, 10, 10, 14, 14};
    for (size_t at = 0; at < std::size(floors); ++at)
        EXPECT_EQ(platform::utf8::Floor(mixed, at), floors[at]) << "at " << at;
}

// Catches code points encoded into the wrong number of bytes, and a non-character
// encoded as it stands instead of as U+FFFD.
TEST(Utf8, AppendEncodesEachRangeAndReplacesNonCharacters) {
    std::string out;
    for (uint32_t code : {0x41u, 0x17Eu, 0x20ACu, 0x1F600u, 0xD800u, 0x110000u})
        platform::utf8::Append(out, code);
    EXPECT_EQ(out, "A\xC5\xBE\xE2\x82\xAC\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD");
    for (size_t at = 0; at < out.size(); at = platform::utf8::Next(out, at))
        EXPECT_TRUE(Decode(out, at).wellFormed) << "at " << at;
}

// Catches a typed letter that finds its name only in the same case: capitals and small
// letters of ASCII, Latin-1 and Latin Extended-A (whose pairs run even-odd and, in two
// stretches, odd-even) fold together, and letters without a pair stay as they are.
TEST(Utf8, FoldCasePairsLatinCapitalsWithTheirSmallLetters) {
    const std::pair<uint32_t, uint32_t> pairs[] = {
        {'A', 'a'},     {0xC0, 0xE0},   {0xDC, 0xFC},   {0x10C, 0x10D}, {0x11A, 0x11B},
        {0x139, 0x13A}, {0x147, 0x148}, {0x158, 0x159}, {0x160, 0x161}, {0x16E, 0x16F},
        {0x179, 0x17A}, {0x17D, 0x17E}, {0x178, 0xFF},  {0x130, 'i'},
    };
    for (auto [capital, small] : pairs) {
        EXPECT_EQ(platform::utf8::FoldCase(capital), small) << std::hex << capital;
        EXPECT_EQ(platform::utf8::FoldCase(small), small) << std::hex << small;
    }
    for (uint32_t alone : {0xD7u, 0xDFu, 0x131u, 0x138u, 0x149u, 0x17Fu, 0x416u, uint32_t('1')})
        EXPECT_EQ(platform::utf8::FoldCase(alone), alone) << std::hex << alone;
}

}  // namespace
