#include "gui/map/MapPlayback.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/document/LapLinePlotter.h"
#include "core/document/LoadedLapChoice.h"
#include "core/platform/Prompts.h"
#include "core/replay/GetRpyInfo.h"
#include "core/settings/AppSettings.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/MeterBar.h"
#include "gui/map/RaceReplay.h"
#include "gui/map/ViewDialog.h"

#include <QComboBox>
#include <QLabel>

namespace vra {

MapPlayback::MapPlayback(CRpyGraphView& view) : QObject(&view), view_(view) {
    // A true 55 ms: the coarse system timer the playback rates were first
    // tuned against fired about every 62.5 ms, so laps and races play about
    // an eighth faster here than there, at the rates of the samples.
    // Qt's coarse timers may fire up to 5% early, which would run the clock
    // fast: the tick is a precise one.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kPlaybackTickMs);
    connect(&timer_, &QTimer::timeout, this, &MapPlayback::OnTimer);
}

MapPlayback::~MapPlayback() = default;

void MapPlayback::OnTimer() {
    // A full redraw asked for since the last step clears what the playback
    // drew before this step draws on.
    view_.TakeFullRedraw();
    controller_.Tick();
}

void MapPlayback::StartTimer() {
    timer_.start();
}

void MapPlayback::StopTimer() {
    timer_.stop();
}

void MapPlayback::RequestFullRedraw() {
    view_.RequestFullRedraw();
}

void MapPlayback::Invalidate() {
    view_.PlaybackDrew();
}

void MapPlayback::ZoomToolOff() {
    view_.SetZoomMode(ZoomMode::Off);
}

void MapPlayback::PanOff() {
    view_.SetSecondaryMode(false);
}

void MapPlayback::ZoomFull() {
    view_.ZoomFull();
}

void MapPlayback::ZoomIn(const ZoomRect& r) {
    view_.DoZoomIn(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
}

void MapPlayback::CenterOn(DevicePoint p) {
    view_.CenterOnLogicalPoint(QPoint(p.x, p.y));
}

ZoomSize MapPlayback::Canvas() {
    return {CRpyGraphView::kCanvas, CRpyGraphView::kCanvas};
}

CoreDisplay& MapPlayback::Display() {
    return view_.LiveDisplay();
}

void MapPlayback::Message(std::string_view text, bool information) {
    CRpyGraphDoc* doc = view_.Document();
    if (!doc) return;
    doc->GetPrompts().message(text, {}, information ? Icon::Information : Icon::Warning, Buttons::Ok);
}

const GetRpyInfo* MapPlayback::Lap(int slot) {
    const CRpyGraphDoc* doc = view_.Document();
    return doc && doc->IsSlotUsed(slot) ? doc->Slot(slot).info.get() : nullptr;
}

LapLinePlotter* MapPlayback::Plotter(int slot) {
    const CRpyGraphDoc* doc = view_.Document();
    return doc && doc->IsSlotUsed(slot) ? doc->Slot(slot).plotter.get() : nullptr;
}

bool MapPlayback::HasTrack() {
    return view_.HasTrackMap();
}

bool MapPlayback::SpeedInMiles() {
    const CRpyGraphDoc* doc = view_.Document();
    return doc && doc->SpeedUnit() != 0;
}

int MapPlayback::BoxOfSlot(int slot) const {
    const ViewDialog* bar = view_.ViewBar();
    for (int box = 1; bar && box <= ViewDialog::kLapBoxes; ++box)
        if (bar->SlotOfBox(box) == slot) return box;
    return 0;
}

bool MapPlayback::LapTicked(int slot) {
    const int box = BoxOfSlot(slot);
    return box > 0 && view_.ViewBar()->IsLapTicked(box);
}

LinesFollow MapPlayback::Follow() {
    const ViewDialog* bar = view_.ViewBar();
    if (!bar) return LinesFollow::Manual;
    switch (bar->FollowChoice()) {
        case 0:
            return LinesFollow::Manual;
        case 2:
            return LinesFollow::Driver;
        default:
            return LinesFollow::Leader;
    }
}

int MapPlayback::FollowedLap() {
    const ViewDialog* bar = view_.ViewBar();
    if (!bar) return -1;
    const int index = bar->LapCombo()->currentIndex();
    return index < 0 ? -1 : bar->SlotOfBox(index + 1);
}

void MapPlayback::SetLapControlsEnabled(bool on) {
    ViewDialog* bar = view_.ViewBar();
    if (!bar) return;
    if (on)
        bar->EnableLapControls();
    else
        bar->DisableLapControls();
}

void MapPlayback::SetPlayingIndicator(bool on) {
    if (ViewDialog* bar = view_.ViewBar()) bar->SetPlaying(on);
}

void MapPlayback::SetElapsed(std::string_view text) {
    if (ViewDialog* bar = view_.ViewBar()) bar->ElapsedValue()->setText(QString::fromLatin1(text));
}

void MapPlayback::SetReadouts(int slot, std::string_view speed, std::string_view revs, std::string_view gear) {
    const int box = BoxOfSlot(slot);
    if (box == 0) return;
    ViewDialog* bar = view_.ViewBar();
    bar->SpeedValue(box)->setText(QString::fromLatin1(speed));
    bar->RevsValue(box)->setText(QString::fromLatin1(revs));
    bar->GearValue(box)->setText(QString::fromLatin1(gear));
}

void MapPlayback::SetSplitShown(int slot, int split, bool shown) {
    const int box = BoxOfSlot(slot);
    if (box == 0 || split < 0 || split > 2) return;
    view_.ViewBar()->SplitValue(box, split)->setVisible(shown);
}

void MapPlayback::SetSector(int slot, int sector) {
    const int box = BoxOfSlot(slot);
    if (box > 0) view_.ViewBar()->SetOrientation(box, sector);
}

bool MapPlayback::MetersSwitch() {
    CRpyGraphDoc* doc = view_.Document();
    return doc && doc->Settings().ShowMetersBar() != 0;
}

void MapPlayback::SetupMeters() {
    if (!meters_) return;
    meters_->SetDocument(view_.Document());
    meters_->SetViewBar(view_.ViewBar());
    meters_->SetupMeters();
}

void MapPlayback::ShowMeters(bool shown) {
    emit metersShown(shown);
}

void MapPlayback::UpdateMeters(std::uint32_t position) {
    if (meters_) meters_->UpdateMeters(position);
}

int MapPlayback::ChooseRaceLap() {
    return view_.ChooseLoadedLap();
}

void MapPlayback::ShowRaceBar(bool shown) {
    emit raceBarShown(shown);
}

bool MapPlayback::LoadRace(int slot) {
    CRpyGraphDoc* doc = view_.Document();
    if (!doc || !doc->IsSlotUsed(slot)) return false;
    const LapSlot& lap = doc->Slot(slot);
    if (!lap.drivers || !lap.header) return false;
    const bool loaded =
        race_.Load(*lap.drivers, *lap.header, doc->GetTrackPath(), doc->TrackDistanceUnit(), doc->GetPrompts(), wait_);
    if (raceBar_) raceBar_->InitControls();
    return loaded;
}

void MapPlayback::StateChanged() {
    emit stateChanged();
}

void MapPlayback::RaceChanged() {
    if (raceBar_) raceBar_->ShowTexts();
    view_.viewport()->update();
}

}  // namespace vra
