#include "core/export/RaceGraphs.h"

#include "core/document/CarNumberText.h"
#include "core/document/DocumentColours.h"
#include "core/replay/Drivers.h"
#include "core/replay/ReplayFormat.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace vra {

namespace {

constexpr std::uint64_t kNone = UINT64_MAX;

bool Competing(const Drivers::Driver& d) {
    return d.type != DriverNonCompeting && d.carNumber != kPaceCarNumber;
}

// Crossing times per competing driver: row L is the line at the end of lap
// L, row 0 the start stamp; kNone past his laps.
struct Table {
    std::vector<int> drivers;
    std::vector<int> laps;
    std::vector<std::vector<std::uint64_t>> crossings;  // [driver slot][lap]
    int lastLap = 0;
};

Table Crossings(const Drivers& table) {
    Table t;
    for (std::size_t i = 0; i < table.drivers.size(); ++i) {
        const Drivers::Driver& d = table.drivers[i];
        if (!Competing(d)) continue;
        const Drivers::SessionLaps& race = d.sessions[Race];
        // A damaged count cannot run past the table.
        const int laps = std::clamp(race.count, 0, kMaxLaps);
        if (laps == 0 && race.times[0] == kLapTableFill) continue;
        std::vector<std::uint64_t> row(static_cast<std::size_t>(laps) + 1);
        std::uint64_t at = race.times[0] & LapWord::TimeMask;
        row[0] = at;
        for (int L = 1; L <= laps; ++L) {
            at += race.times[static_cast<std::size_t>(L)] & LapWord::TimeMask;
            row[static_cast<std::size_t>(L)] = at;
        }
        t.drivers.push_back(static_cast<int>(i));
        t.laps.push_back(laps);
        t.crossings.push_back(std::move(row));
        t.lastLap = std::max(t.lastLap, laps);
    }
    return t;
}

std::uint64_t At(const Table& t, std::size_t slot, int lap) {
    return lap <= t.laps[slot] ? t.crossings[slot][static_cast<std::size_t>(lap)] : kNone;
}

// Slots in finishing order: more laps first, then the earlier last crossing,
// then the table's order.
std::vector<std::size_t> FinishingOrder(const Table& t) {
    std::vector<std::size_t> order(t.drivers.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (t.laps[a] != t.laps[b]) return t.laps[a] > t.laps[b];
        return At(t, a, t.laps[a]) < At(t, b, t.laps[b]);
    });
    return order;
}

RaceGraph Build(const Drivers& table, RaceGraph::Kind kind) {
    const Table t = Crossings(table);
    RaceGraph graph;
    graph.kind = kind;
    graph.lastLap = t.lastLap;
    const std::vector<std::size_t> order = FinishingOrder(t);
    if (kind == RaceGraph::Kind::Positions) {
        graph.minValue = 1.0;
        graph.maxValue = static_cast<double>(std::max<std::size_t>(t.drivers.size(), 1));
    }
    for (std::size_t place = 0; place < order.size(); ++place) {
        const std::size_t slot = order[place];
        const Drivers::Driver& d = table.drivers[static_cast<std::size_t>(t.drivers[slot])];
        RaceGraphSeries s;
        s.driver = t.drivers[slot];
        s.legend = std::to_string(place + 1) + ". #" + CarNumberText(static_cast<std::int16_t>(d.carNumber)) + " " +
                   d.firstName + " " + d.lastName;
        s.colour = kMapPalette[d.carNumber % 5];
        for (int L = 0; L <= t.laps[slot]; ++L) {
            const std::uint64_t mine = t.crossings[slot][static_cast<std::size_t>(L)];
            std::uint64_t first = mine;
            int ahead = 0;
            for (std::size_t o = 0; o < t.drivers.size(); ++o) {
                const std::uint64_t c = At(t, o, L);
                if (c == kNone) continue;
                first = std::min(first, c);
                if (c < mine || (c == mine && o < slot)) ++ahead;
            }
            const double value = kind == RaceGraph::Kind::Gaps ? -static_cast<double>(mine - first) / 1000.0
                                                               : static_cast<double>(ahead + 1);
            if (kind == RaceGraph::Kind::Gaps) graph.minValue = std::min(graph.minValue, value);
            s.points.push_back({L, value});
        }
        graph.series.push_back(std::move(s));
    }
    return graph;
}

}  // namespace

RaceGraph RaceGapSeries(const Drivers& drivers) {
    return Build(drivers, RaceGraph::Kind::Gaps);
}

RaceGraph RacePositionSeries(const Drivers& drivers) {
    return Build(drivers, RaceGraph::Kind::Positions);
}

}  // namespace vra
