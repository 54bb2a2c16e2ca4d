#include "core/export/PersonalBests.h"

#include "core/laps/LapFinder.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

namespace vra {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

PersonalBests::PersonalBests(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox)
    : doc_(doc), volumes_(volumes), waitBox_(waitBox) {}

void PersonalBests::Scan() {
    LapFinder finder(doc_, volumes_, waitBox_);
    finder.SetFilter(LapFinder::Filter::OnlyLocal);
    finder.ScanEveryTrack();
    unreadable_ = finder.UnreadableFiles();

    // Track names come from replay headers typed by hand: one track is one
    // group whatever its case.
    std::map<std::tuple<std::string, std::string, std::string>, std::size_t> groups;
    rows_.clear();
    for (const LapFinderRow& lap : finder.Rows()) {
        const auto key = std::make_tuple(lap.text[0], Lower(lap.Track()), lap.text[6]);
        const auto [it, added] = groups.emplace(key, rows_.size());
        if (!added && rows_[it->second].lapMs <= lap.lapMs) continue;
        PersonalBest best;
        best.text = {lap.text[0], lap.Track(), lap.text[6], lap.text[1], lap.text[3], lap.text[4], lap.text[5]};
        best.lapMs = lap.lapMs;
        if (added)
            rows_.push_back(std::move(best));
        else
            rows_[it->second] = std::move(best);
    }
    std::stable_sort(rows_.begin(), rows_.end(), [](const PersonalBest& a, const PersonalBest& b) {
        return std::make_tuple(Lower(a.text[1]), Lower(a.text[2]), a.lapMs) <
               std::make_tuple(Lower(b.text[1]), Lower(b.text[2]), b.lapMs);
    });
}

std::string PersonalBests::UnreadableText() const {
    if (unreadable_ == 0) return {};
    return std::to_string(unreadable_) + " replay files could not be read.";
}

}  // namespace vra
