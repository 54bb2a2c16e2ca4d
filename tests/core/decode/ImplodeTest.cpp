#include "core/decode/DclExplode.h"

#include "simkit/track/DclBitWriter.h"

#include <gtest/gtest.h>

#include <random>

using vra::DclBitReader;
using vra::DclExplode;
using vra::simkit::DclBitWriter;
using Result = DclExplode::Result;
using Bytes = std::vector<std::uint8_t>;

namespace {

struct Outcome {
    Result result;
    std::string text;
};

Outcome Explode(const Bytes& stream, std::size_t limit) {
    DclBitReader reader(stream);
    DclExplode explode(reader);
    std::string out(limit, '\0');
    std::size_t produced = 12345;
    const Result r = explode.Explode({reinterpret_cast<std::uint8_t*>(out.data()), out.size()}, produced);
    out.resize(produced);
    return {r, out};
}

// A stream of literals and copies written with the test kit beside the text
// it expands to, worked out from the tokens.
struct Tokens {
    DclBitWriter w;
    std::string text;
    Tokens(std::uint8_t mode, std::uint8_t dict) : w(mode, dict) {}
    Tokens& lits(const std::string& s) {
        for (char c : s) w.literal(static_cast<std::uint8_t>(c));
        text += s;
        return *this;
    }
    Tokens& copy(std::size_t length, std::size_t distance) {
        w.copy(static_cast<unsigned>(length), static_cast<unsigned>(distance));
        for (std::size_t i = 0; i < length; ++i) text += text[text.size() - distance];
        return *this;
    }
    Bytes end() { return w.end().bytes(); }
};

}  // namespace

TEST(Implode, DecodesThePublishedVector) {
    const Bytes vector = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8f, 0x80, 0x7f};
    const Outcome o = Explode(vector, 100);
    EXPECT_EQ(o.result, Result::EndMarker);
    EXPECT_EQ(o.text, "AIAIAIAIAIAIA");
    // The test kit writes the same bytes for the same tokens.
    EXPECT_EQ(DclBitWriter(0, 4).literal('A').literal('I').copy(11, 2).end().bytes(), vector);
}

TEST(Implode, EveryLengthAndDistanceSymbolAtEachDictionarySize) {
    const unsigned lengths[] = {3,  4,  5,  6,  7,  8,  9,   10,  11,  12,  15, 16,
                                23, 24, 39, 40, 71, 72, 135, 136, 263, 264, 518};
    for (std::uint8_t dict : {4, 5, 6}) {
        const unsigned window = 64u << dict;
        std::mt19937 rng(7 + dict);
        std::string varied(window, '\0');
        for (char& c : varied) c = static_cast<char>(rng() & 0xFF);
        Tokens t(0, dict);
        t.lits(varied);
        for (unsigned symbol = 0; symbol < 64; ++symbol)  // the first and the last distance of each symbol
            for (unsigned d : {(symbol << dict) + 1, ((symbol + 1) << dict)})
                t.copy(lengths[(symbol + d) % std::size(lengths)], d);
        for (unsigned length : lengths) t.copy(length, window);
        // Two-byte copies reach 1..256 with 2 low bits, whatever the dictionary;
        // short distances make copies longer than their distance.
        for (unsigned d : {1u, 2u, 3u, 4u, 5u, 8u, 9u, 100u, 255u, 256u}) t.copy(2, d).copy(10, d);
        const Outcome o = Explode(t.end(), 1 << 20);
        EXPECT_EQ(o.result, Result::EndMarker) << int(dict);
        EXPECT_EQ(o.text, t.text) << int(dict);
    }
}

TEST(Implode, RefusesHeadersAndCopiesItCannotDecode) {
    for (std::uint8_t dict : {0, 1, 3, 7, 8, 255})
        EXPECT_EQ(Explode(DclBitWriter(0, dict).literal('a').end().bytes(), 10).result, Result::BadHeader) << int(dict);
    // Coded literals (mode 1) and unknown modes.
    for (std::uint8_t mode : {1, 2, 255}) {
        const Outcome o = Explode(DclBitWriter(mode, 6).literal('a').end().bytes(), 10);
        EXPECT_EQ(o.result, Result::BadHeader) << int(mode);
        EXPECT_EQ(o.text, "");
    }
    // Copies reaching before the first byte produced.
    EXPECT_EQ(Explode(DclBitWriter(0, 6).copy(3, 1).end().bytes(), 10).result, Result::BadDistance);
    Tokens later(0, 6);
    later.lits("abc").copy(2, 3).w.copy(4, 6);
    const Outcome o = Explode(later.end(), 100);
    EXPECT_EQ(o.result, Result::BadDistance);
    EXPECT_EQ(o.text, "abcab");
}

TEST(Implode, StopsExactlyAtTheLimitOrWhereTheInputEnds) {
    Tokens t(0, 5);
    const Bytes full = t.lits("track").copy(30, 5).lits("!").copy(2, 1).end();
    for (std::size_t limit : {0u, 1u, 5u, 6u, 34u, 35u, 36u, 38u}) {
        const Outcome o = Explode(full, limit);
        EXPECT_EQ(o.result, Result::LimitReached) << limit;  // room for everything: still the limit
        EXPECT_EQ(o.text, t.text.substr(0, limit)) << limit;
    }
    ASSERT_EQ(Explode(full, t.text.size() + 1).result, Result::EndMarker);
    // Every cut before the end marker gives a short, refused output; the
    // output never holds more than the tokens that were complete.
    for (std::size_t cut = 0; cut + 2 < full.size(); ++cut) {
        const Outcome o = Explode(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)), 1000);
        EXPECT_EQ(o.result, Result::Truncated) << cut;
        EXPECT_LT(o.text.size(), t.text.size()) << cut;
        EXPECT_EQ(o.text, t.text.substr(0, o.text.size())) << cut;
    }
}
