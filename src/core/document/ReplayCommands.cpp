// The document's commands that write a loaded lap or its replay into a new
// file: the saved lap, the telemetry text, the merged replay, the compressed
// replay and the ride-height fix.

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/ReplayFiles.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/LapReplayWriter.h"
#include "core/replay/MergedReplay.h"
#include "core/replay/ReplayRewrite.h"
#include "core/replay/ReplaySource.h"
#include "core/replay/TelemetryText.h"
#include "core/text/LapTime.h"

#include <fmt/format.h>

namespace vra {

namespace {

constexpr std::string_view kNoReplayText = "No replay file loaded!";
constexpr std::string_view kSaveWhichLapTitle = "Choose lap to extract and save in new replay file";
constexpr std::string_view kSaveErrorText = "Error while saving replay file!";
constexpr std::string_view kTextErrorText = "Error creating file!";
constexpr std::string_view kMixedPhysicsText = "Merging of replays with mixed physics not possible";
constexpr std::string_view kCompressErrorText = "Error while compressing replay file!";
constexpr std::string_view kFixErrorText = "Error while processing replay file!";
constexpr std::string_view kNotTransAmText = "This replay does not use the PTA (Trans Am) physics";
constexpr std::string_view kFixedText = "Trans Am ride height fixed!";
constexpr std::string_view kOneLapText = "Only 1 lap loaded, will extract that to a new replay file.";

const FileFilter kReplayFilter{"Replay files (*.rpy)", "*.rpy"};
const FileFilter kTextFilter{"Text files (*.txt)", "*.txt"};

const Drivers::Driver& DriverOf(const LapSlot& slot) {
    return slot.drivers->drivers.at(static_cast<std::size_t>(slot.driver));
}

std::uint32_t LapWordOf(const LapSlot& slot) {
    return slot.drivers->LapWordAt(slot.session, slot.driver, slot.lap);
}

// First three characters of the names, the track and the lap time.
std::string LapFileStem(const LapSlot& slot) {
    const Drivers::Driver& d = DriverOf(slot);
    return d.firstName.substr(0, 3) + "_" + d.lastName.substr(0, 3) + "_" + slot.header->trackName + "_" +
           FormatLapTime(LapWordOf(slot));
}

}  // namespace

bool CRpyGraphDoc::MixedPhysics() const {
    int physics = -1;
    for (const LapSlot& s : slots_) {
        if (!s.used || !s.drivers) continue;
        const int p = DriverOf(s).physics;
        if (physics >= 0 && p != physics) return true;
        physics = p;
    }
    return false;
}

int CRpyGraphDoc::ChooseLapToSave() {
    if (lapCount_ == 0) {
        prompts_.alert(kNoReplayText);
        return -1;
    }
    if (lapCount_ == 1) {
        for (int i = 0; i < kSlotMaximum; ++i)
            if (IsSlotUsed(i)) return i;
        return -1;
    }
    LoadedLapChoiceRequest request;
    request.title = kSaveWhichLapTitle;
    for (int i = 0; i < kSlotMaximum; ++i) {
        if (!IsSlotUsed(i)) continue;
        const LapSlot& s = Slot(i);
        const Drivers::Driver& d = DriverOf(s);
        request.texts[static_cast<std::size_t>(i)] = d.firstName + " " + d.lastName + " " + FormatLapTime(LapWordOf(s));
    }
    const int chosen = prompts_.chooseLoadedLap(request);
    // A button of an empty slot chooses nothing.
    return IsSlotUsed(chosen) ? chosen : -1;
}

void CRpyGraphDoc::OnSaveReplayLap() {
    const int slotIndex = ChooseLapToSave();
    if (slotIndex < 0) return;
    const LapSlot& slot = Slot(slotIndex);
    std::string name = LapFileStem(slot);
    if (slot.header->weatherFlag == 1) name += fmt::format("_{}F", slot.header->temperature);
    name += ".rpy";

    const auto destination = AskDestination(prompts_, ReplayFolder(simFolder_), name, kReplayFilter, ".rpy");
    if (!destination) return;
    const std::filesystem::path& source = slot.drivers->path;
    if (IsSameFile(source, *destination)) {
        prompts_.alert(kSameFileText);
        return;
    }
    const LapFrameRange range = LapRangeOf(*slot.drivers, *slot.info);
    const bool written = WriteThroughFile(*destination, [&](OutputSink& out) {
        ReplaySource src(source);
        return WriteLapReplay(src, range, out) == 0;
    });
    if (!written) prompts_.alert(kSaveErrorText);
}

void CRpyGraphDoc::OnSaveTelemetryText() {
    const int slotIndex = ChooseLapToSave();
    if (slotIndex < 0) return;
    const LapSlot& slot = Slot(slotIndex);
    const auto destination =
        AskDestination(prompts_, ReplayFolder(simFolder_), LapFileStem(slot) + ".txt", kTextFilter, ".txt");
    if (!destination) return;
    if (IsSameFile(slot.drivers->path, *destination)) {
        prompts_.alert(kSameFileText);
        return;
    }
    const std::uint32_t lapWord = LapWordOf(slot);
    const bool written =
        WriteThroughFile(*destination, [&](OutputSink& out) { return WriteTelemetryText(*slot.info, lapWord, out); });
    if (!written) prompts_.alert(kTextErrorText);
}

void CRpyGraphDoc::OnMergeLaps() {
    if (lapCount_ == 0) {
        prompts_.alert(kNoReplayText);
        return;
    }
    if (MixedPhysics()) {
        prompts_.alert(kMixedPhysicsText);
        return;
    }
    MergeAdvantages advantages{};
    if (lapCount_ > 1) {
        MergeParametersRequest request;
        for (int i = 0; i < kSlotMaximum; ++i) {
            if (!IsSlotUsed(i)) continue;
            const LapSlot& s = Slot(i);
            const Drivers::Driver& d = DriverOf(s);
            request.rows[static_cast<std::size_t>(i)] = MergeLapRow{true, d.firstName, d.lastName, LapWordOf(s)};
        }
        auto answer = prompts_.mergeParameters(request);
        if (!answer) return;
        advantages = *answer;
    } else {
        prompts_.alert(kOneLapText);
    }

    MergeInput input;
    input.distanceUnit = TrackDistanceUnit();
    const LapSlot* first = nullptr;
    for (int i = 0; i < kSlotMaximum; ++i) {
        if (!IsSlotUsed(i)) continue;
        const LapSlot& s = Slot(i);
        if (!first) first = &s;
        const Drivers::Driver& d = DriverOf(s);
        MergedLap lap;
        lap.info = s.info.get();
        lap.firstName = d.firstName;
        lap.lastName = d.lastName;
        lap.fourthText = d.fourthText;
        lap.driverByte1 = d.bytes[0];
        lap.physics = d.physics;
        lap.lapWord = LapWordOf(s);
        lap.advantageMs = advantages[static_cast<std::size_t>(i)];
        input.laps.push_back(std::move(lap));
    }
    // The first loaded lap's replay names the track (the first slot may have
    // been emptied by the arranger).
    input.trackName = first->header->trackName;
    input.secondText = first->header->secondText;
    input.physics = DriverOf(*first).physics;

    const auto destination = AskDestination(prompts_, ReplayFolder(simFolder_),
                                            first->header->trackName + "_VELMRRA_merged.rpy", kReplayFilter, ".rpy");
    if (!destination) return;
    if (!WriteThroughFile(*destination, [&](OutputSink& out) { return WriteMergedReplay(input, out); }))
        prompts_.alert(kSaveErrorText);
}

void CRpyGraphDoc::OnCompressReplay() {
    const int slotIndex = ChooseLapToSave();
    if (slotIndex < 0) return;
    const LapSlot& slot = Slot(slotIndex);
    const auto destination = AskDestination(prompts_, ReplayFolder(simFolder_), "Compressed_", kReplayFilter, ".rpy");
    if (!destination) return;
    const std::filesystem::path& source = slot.drivers->path;
    if (IsSameFile(source, *destination)) {
        prompts_.alert(kSameFileText);
        return;
    }
    std::uint64_t sourceSize = 0;
    CompressResult result;
    const bool written = WriteThroughFile(*destination, [&](OutputSink& out) {
        ReplaySource src(source);
        sourceSize = src.size();
        result = CompressReplayFile(src, slot.drivers->frameChunkOffset, out);
        return result.result == 0;
    });
    if (!written) {
        prompts_.alert(kCompressErrorText);
        return;
    }
    const double mb = 1048576.0;
    const double percent =
        sourceSize ? static_cast<double>(result.bytesOut) / static_cast<double>(sourceSize) * 100 : 0;
    prompts_.message(
        fmt::format("Original size: {:.2f}MB\r\nCompressed size: {:.2f}MB\r\nPercent of original: {:.2f}",
                    static_cast<double>(sourceSize) / mb, static_cast<double>(result.bytesOut) / mb, percent),
        {}, Icon::Information, Buttons::Ok);
}

void CRpyGraphDoc::OnFixTransAmRideHeight() {
    const int slotIndex = ChooseLapToSave();
    if (slotIndex < 0) return;
    const LapSlot& slot = Slot(slotIndex);
    // The saving player's car is the one whose records are fixed; driver 0
    // may be a pace car of another physics.
    const auto& drivers = slot.drivers->drivers;
    const auto player = static_cast<std::size_t>(slot.drivers->savingPlayer);
    if (player >= drivers.size() || drivers[player].physics != 4) {
        prompts_.alert(kNotTransAmText);
        return;
    }
    const std::filesystem::path& source = slot.drivers->path;
    const auto destination = AskDestination(prompts_, ReplayFolder(simFolder_),
                                            ShownText("RHfix_").FileName(source.filename()), kReplayFilter, ".rpy");
    if (!destination) return;
    if (IsSameFile(source, *destination)) {
        prompts_.alert(kSameFileText);
        return;
    }
    const bool written = WriteThroughFile(*destination, [&](OutputSink& out) {
        ReplaySource src(source);
        return FixTransAmRideHeight(src, slot.drivers->frameChunkOffset, out) == 0;
    });
    if (!written) {
        prompts_.alert(kFixErrorText);
        return;
    }
    prompts_.message(kFixedText, {}, Icon::Information, Buttons::Ok);
}

}  // namespace vra
