#include "decode/DclExplode.h"
#include "track/DclBitWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

// What a stream of literals and copies expands to, worked out from the tokens.
struct Expected {
    std::string text;
    Expected& lit(char c) { text += c; return *this; }
    Expected& lits(const std::string& s) { text += s; return *this; }
    Expected& copy(std::size_t length, std::size_t distance) {
        for (std::size_t i = 0; i < length; ++i) text += text[text.size() - distance];
        return *this;
    }
};

DclBitWriter& Literals(DclBitWriter& w, const std::string& s) {
    for (char c : s) w.literal(static_cast<std::uint8_t>(c));
    return w;
}

std::string Varied(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

}  // namespace

TEST(Implode, DecodesThePublishedVector) {
    const Bytes vector = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8f, 0x80, 0x7f};
    const Outcome o = Explode(vector, 100);
    EXPECT_EQ(o.result, Result::EndMarker);
    EXPECT_EQ(o.text, "AIAIAIAIAIAIA");

    // The test kit writes the same bytes for the same tokens.
    DclBitWriter w(0, 4);
    EXPECT_EQ(w.literal('A').literal('I').copy(11, 2).end().bytes(), vector);
}

TEST(Implode, CopiesLongerThanTheirDistanceRepeatTheLastBytes) {
    DclBitWriter w(0, 6);
    Literals(w, "xy").copy(10, 1);
    Literals(w, "12").copy(7, 3).copy(2, 2).end();
    const Outcome o = Explode(w.bytes(), 1000);
    EXPECT_EQ(o.result, Result::EndMarker);
    EXPECT_EQ(o.text, "xy" "yyyyyyyyyy" "12" "y12y12y" "2y");
}

TEST(Implode, EveryLengthAndDistanceSymbolAtEachDictionarySize) {
    const unsigned lengths[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 23, 24, 39, 40, 71, 72, 135, 136, 263, 264, 518};
    for (std::uint8_t dict : {4, 5, 6}) {
        const unsigned window = 64u << dict;
        const std::string text = Varied(window, 7 + dict);
        DclBitWriter w(0, dict);
        Literals(w, text);
        Expected e;
        e.lits(text);
        auto copy = [&](unsigned length, unsigned d) {
            w.copy(length, d);
            e.copy(length, d);
        };
        for (unsigned symbol = 0; symbol < 64; ++symbol)  // the first and the last distance of each symbol
            for (unsigned d : {(symbol << dict) + 1, ((symbol + 1) << dict)}) copy(lengths[(symbol + d) % std::size(lengths)], d);
        for (unsigned length : lengths) copy(length, window);
        // Two-byte copies reach 1..256 with 2 low bits, whatever the dictionary.
        for (unsigned d : {1u, 2u, 3u, 4u, 5u, 8u, 9u, 100u, 255u, 256u}) copy(2, d);
        const Outcome o = Explode(w.end().bytes(), 1 << 20);
        EXPECT_EQ(o.result, Result::EndMarker) << int(dict);
        EXPECT_EQ(o.text, e.text) << int(dict);
    }
}

TEST(Implode, StopsExactlyAtTheLimit) {
    DclBitWriter w(0, 4);
    Literals(w, "abc").copy(20, 3).literal('z').end();
    Expected e;
    e.lits("abc").copy(20, 3).lit('z');
    for (std::size_t limit : {0u, 1u, 3u, 4u, 22u, 23u}) {
        const Outcome o = Explode(w.bytes(), limit);
        EXPECT_EQ(o.result, Result::LimitReached) << limit;
        EXPECT_EQ(o.text, e.text.substr(0, limit)) << limit;
    }
    // Room for everything: the end marker decides.
    EXPECT_EQ(Explode(w.bytes(), e.text.size()).result, Result::LimitReached);
    EXPECT_EQ(Explode(w.bytes(), e.text.size() + 1).result, Result::EndMarker);
}

TEST(Implode, RefusesHeadersAndCopiesItCannotDecode) {
    for (std::uint8_t dict : {0, 1, 3, 7, 8, 255}) {
        DclBitWriter w(0, dict);
        EXPECT_EQ(Explode(w.literal('a').end().bytes(), 10).result, Result::BadHeader) << int(dict);
    }
    // Coded literals (mode 1) and unknown modes.
    for (std::uint8_t mode : {1, 2, 255}) {
        DclBitWriter w(mode, 6);
        const Outcome o = Explode(w.literal('a').end().bytes(), 10);
        EXPECT_EQ(o.result, Result::BadHeader) << int(mode);
        EXPECT_EQ(o.text, "");
    }
    // Copies reaching before the first byte produced.
    DclBitWriter first(0, 6);
    EXPECT_EQ(Explode(first.copy(3, 1).end().bytes(), 10).result, Result::BadDistance);
    DclBitWriter later(0, 6);
    const Outcome o = Explode(Literals(later, "abc").copy(2, 3).copy(4, 6).end().bytes(), 100);
    EXPECT_EQ(o.result, Result::BadDistance);
    EXPECT_EQ(o.text, "abcab");
}

TEST(Implode, StopsWhereTheInputEnds) {
    DclBitWriter w(0, 5);
    Literals(w, "track").copy(30, 5).literal('!').copy(2, 1);
    Expected e;
    e.lits("track").copy(30, 5).lit('!').copy(2, 1);
    const Bytes full = w.end().bytes();
    ASSERT_EQ(Explode(full, 1000).text, e.text);

    // Every cut before the end marker gives a short, refused output; the
    // output never holds more than the tokens that were complete.
    for (std::size_t cut = 0; cut + 2 < full.size(); ++cut) {
        const Bytes part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
        const Outcome o = Explode(part, 1000);
        EXPECT_EQ(o.result, Result::Truncated) << cut;
        EXPECT_LT(o.text.size(), e.text.size()) << cut;
        EXPECT_EQ(o.text, e.text.substr(0, o.text.size())) << cut;
    }
}
