// Writes the seed corpus of the chart fuzz target into the folder given on
// the command line: short scripts that load curves with ordinary and odd
// values, lay them out at several sizes and click, zoom, pan and step.
#include "ChartScript.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace vra::fuzz;
using Script = std::vector<std::uint8_t>;

namespace {

void U16(Script& s, int v) {
    s.push_back(static_cast<std::uint8_t>(v & 0xFF));
    s.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

Script Curve(std::vector<std::uint8_t> values, int curve = 0, int ax = 0, int ay = 0) {
    Script s{kSetData, static_cast<std::uint8_t>(values.size() / 2), static_cast<std::uint8_t>(curve),
             static_cast<std::uint8_t>(ax), static_cast<std::uint8_t>(ay)};
    s.insert(s.end(), values.begin(), values.end());
    return s;
}

Script Layout(int w, int h) {
    Script s{kLayout};
    U16(s, w);
    U16(s, h);
    return s;
}

Script Button(int which, int x, int y) {
    Script s{kButton, static_cast<std::uint8_t>(which)};
    U16(s, x + 50);
    U16(s, y + 50);
    return s;
}

Script Move(int x, int y, bool left) {
    Script s{kMove};
    U16(s, x + 50);
    U16(s, y + 50);
    s.push_back(left ? 1 : 0);
    return s;
}

Script Join(std::initializer_list<Script> parts) {
    Script out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chart_model_seeds <corpus folder>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const Script line = Curve({0, 0, 4, 4, 15, 3, 19, 20});
    const std::vector<std::pair<std::string, Script>> seeds = {
        {"layout.bin", Join({line, Layout(400, 300)})},
        {"odd-values.bin", Join({Curve({254, 1, 253, 2, 8, 9, 7, 252, 6, 6}), Layout(400, 300), Layout(1, 1)})},
        {"zoom.bin", Join({line,
                           Layout(400, 300),
                           {kCommand, 2},
                           Button(0, 100, 50),
                           Move(200, 150, true),
                           Button(1, 200, 150),
                           Layout(400, 300)})},
        {"pan-cursor.bin", Join({line,
                                 Layout(400, 300),
                                 {kCommand, 4},
                                 Button(0, 100, 100),
                                 Move(249, 100, true),
                                 Button(1, 249, 100),
                                 {kCommand, 11},
                                 Move(200, 155, false),
                                 Button(0, 200, 155),
                                 Button(1, 200, 155),
                                 Layout(39, 39)})},
        {"keys-delete.bin", Join({line,
                                  Curve({0, 1, 1, 2}, 1, 0, 1),
                                  Layout(400, 300),
                                  {kKey, 1},
                                  {kKey, 2},
                                  {kKey, 0},
                                  {kObjects, 0, 100, 100},
                                  Layout(400, 300),
                                  Button(0, 120, 110),
                                  Button(1, 120, 110),
                                  {kDeleteKey},
                                  {kDeleteCurve, 0},
                                  Layout(400, 300)})},
        {"time-format.bin", Join({Curve({10, 10, 11, 4}),
                                  {kLook, 3, 1},
                                  {kFormat, 0, 0, 5, '%', 'H', '\n', '%', 'n'},
                                  Layout(600, 400),
                                  {kSetRange, 1, 0, 0, 4, 2}})},
        {"derived.bin", Join({line,
                              {kDerived, 0, 2, 3, 0},
                              {kDerived, 0, 6, 3, 0},
                              {kDerived, 0, 0, 0xFF, 0x7F},
                              Layout(400, 300),
                              {kResetAll},
                              Layout(400, 300)})},
    };
    for (const auto& [name, bytes] : seeds) {
        std::ofstream out(dir / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) return 1;
    }
    return 0;
}
