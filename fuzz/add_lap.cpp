// The whole add-lap run over a simulation folder built once, with one of its
// files taken from the input: the first byte picks which (AddLapInput), the
// rest is the file. The run reads the header and the driver table, loads the
// track, extracts and converts the laps, reports their quality, checks their
// lap times and derives their channels; every lap the document keeps must be
// whole, and nothing may crash, hang or read out of bounds on the way.
#include "core/document/CRpyGraphDoc.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/settings/AppSettings.h"

#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "AddLapFolder.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

using namespace vra;

// Chooses, one run after the other, the counting laps of the table in order
// (driver, session, lap), so that a damaged table still has its laps tried.
class ChoosingPrompts : public test::ScriptedPrompts {
public:
    std::optional<LapChoice> chooseLap(const LapChoiceRequest& request) override {
        test::ScriptedPrompts::chooseLap(request);
        if (!request.drivers) return std::nullopt;
        const Drivers& d = *request.drivers;
        int seen = 0;
        for (int driver = 0; driver < static_cast<int>(d.drivers.size()) && driver < 8; ++driver)
            for (int kind = 0; kind < kSessionKinds; ++kind)
                for (int lap = 1; lap <= d.LapCount(kind, driver); ++lap)
                    if (d.IsLapValid(kind, driver, lap) && seen++ == next_) {
                        ++next_;
                        return LapChoice{driver, kind, lap};
                    }
        return std::nullopt;
    }

private:
    int next_ = 0;
};

// Every per-sample array of a kept lap holds its samples and sample 0.
void CheckKeptLaps(const CRpyGraphDoc& doc) {
    for (int i = 0; i < CRpyGraphDoc::kSlotMaximum; ++i) {
        if (!doc.IsSlotUsed(i)) continue;
        const GetRpyInfo& l = *doc.Slot(i).info;
        const std::size_t n = static_cast<std::size_t>(l.sampleCount) + 1;
        if (!l.channelsReady || l.sampleCount < 1) std::abort();
        for (std::size_t size : {l.distance.size(), l.lateral.size(), l.heading.size(), l.distanceM.size(),
                                 l.lateralM.size(), l.revolutions.size(), l.wheelDelta[0].size(), l.speed.size(),
                                 l.mapHeading.size(), l.accelTotal.size(), l.mapX.size() - 2, l.oilTemperature.size()})
            if (size != n) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const fuzz::AddLapFolder& folder = fuzz::AddLapFolder::Instance();
    const std::filesystem::path replay = folder.Place(data[0], std::span(data + 1, size - 1));
    if (replay.empty()) return 0;

    test::MemorySettingsStore store;
    AppSettings settings(store);
    settings.SetSimFolder(folder.Root().string());
    settings.SetDontShowQualReport(0);
    ChoosingPrompts prompts;
    test::RecordingWaitBox waitBox;
    {
        CRpyGraphDoc doc(settings, prompts, waitBox);
        // Two laps through the chooser, two as the lap finder gives them.
        doc.OnOpenDocument(replay);
        doc.OnOpenDocument(replay);
        doc.AddLapFromLapFinder(replay, 1, 3, 1);
        doc.AddLapFromLapFinder(replay, 0, 3, 2);
        CheckKeptLaps(doc);
        doc.OnNewDocument();
    }
    return 0;
}
