#pragma once
// A whole race played back on the map: the race session's frames read once
// from the replay (per frame its session time and race-control state, per car
// its place on the track), the lap tables built from the driver table, and
// for any frame the cars' device points, the running order, the followed car
// and the race-bar texts. It draws nothing itself: the map view paints the
// poses of the last drawn frame over its static picture.

#include "core/base/Point2D.h"
#include "core/document/CarMarker.h"
#include "core/mapping/MapTransform.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vra {

class CoreDisplay;
class Drivers;
class Header;
class Prompts;
class ReplaySource;
class TrackPath;
class WaitBox;

// Message texts are Windows-1252 bytes, as the prompts read them.
inline constexpr std::string_view kRaceNoStartValueText = "0x0d utan 0x0e. Ngt \xE4r knas!";
inline constexpr std::string_view kRaceReadErrorText = "RpyDataClass: Error reading file!";
inline constexpr std::string_view kRaceSearchText = "Searching for start of race...";
inline constexpr std::string_view kRaceLoadText = "Loading race information...";
inline constexpr std::string_view kAllCarsFinishedText = "All cars finished";

class RaceModel {
public:
    // How the cars are drawn: the bar's three radio buttons.
    enum class CarDraw { Scale = 1, Oversized = 2, Circle = 3 };
    // Which car the map keeps in sight: the bar's three focus radios.
    enum class Focus { Manual, Leader, Driver };
    // What DrawFrame did.
    enum class DrawResult { Nothing, Drawn, PastEnd };

    static constexpr int kNoDriver = -2;
    static constexpr std::uint64_t kNoCrossing = UINT64_MAX;
    static constexpr std::uint32_t kSliderPage = 2160;  // 60 s at 36 frames a second

    // One car in the last drawn frame.
    struct CarPose {
        bool present = false;
        DevicePoint device;  // (0, 0) when absent
        double heading = 0.0;
        std::int32_t colour = 0;  // map palette index
    };

    // The race bar's texts; a text not touched by a status call keeps its value.
    struct Texts {
        std::string status, elapsed, currentLap, scheduledLaps, leader;
        std::string name, position, driverLap, gapAhead, gapBehind, lastLap;
    };

    // Reads the race of the replay that drivers describes (its path, frame
    // chunk, saving player and lap tables). distanceUnit is the step of the
    // other cars' 24-bit distances; trackPath maps track positions (not
    // owned, may be null). On failure the model is unloaded and the user has
    // been told; returns whether it loaded.
    bool Load(const Drivers& drivers, const Header& header, const TrackPath* trackPath, double distanceUnit,
              Prompts& prompts, WaitBox* wait);
    // The same over an open replay.
    bool Load(ReplaySource& src, const Drivers& drivers, const Header& header, const TrackPath* trackPath,
              double distanceUnit, Prompts& prompts, WaitBox* wait);
    void Unload();
    bool Loaded() const { return loaded_; }
    // Whether a load reads the cars' places (on by default). Without them a
    // load reads only the frames' times and flags and the lap tables, as the
    // flag report needs, at a fraction of the cost; no car can be drawn.
    void SetCarsWanted(bool wanted) { carsWanted_ = wanted; }

    std::uint32_t FrameCount() const { return frameCount_; }
    std::uint32_t CurrentFrame() const { return current_; }
    std::uint32_t FrameTime(std::uint32_t f) const { return f < frameCount_ ? times_[f] : 0; }
    std::uint16_t FrameState(std::uint32_t f) const { return f < frameCount_ ? states_[f] : 0; }
    // The race-start value of the last type-14 record before the race.
    std::uint32_t RaceStartValue() const { return raceStartValue_; }
    std::uint64_t RaceStartOffset() const { return raceStartOffset_; }
    int DriverCount() const { return static_cast<int>(names_.size()); }
    const std::string& DriverName(int d) const { return names_.at(static_cast<std::size_t>(d)); }

    struct CarSample {
        double distance = 0.0, lateral = 0.0, heading = 0.0;
        bool present = false;
    };
    CarSample Sample(int driver, std::uint32_t f) const;

    // Lap tables: the session time at which a driver crossed the line at the
    // end of lap L (row 0: the start stamp), kNoCrossing past its laps.
    int MaxLaps() const { return maxLaps_; }
    std::uint64_t Crossing(int lap, int driver) const;
    std::uint64_t LapLeaderTime(int lap) const;
    int LapLeader(int lap) const;
    std::uint64_t FinishTime() const { return finishTime_; }

    // The bar's controls as the model reads them.
    void SetCarDraw(CarDraw mode) { carDraw_ = mode; }
    CarDraw GetCarDraw() const { return carDraw_; }
    // The car draw mode of the last drawn frame; 0 before the first.
    int DrawMode() const { return drawMode_; }
    void SetFocus(Focus focus);
    Focus GetFocus() const { return focus_; }
    void SelectDriver(int driver) { selected_ = driver; }
    int SelectedDriver() const { return selected_; }

    // Maps the cars of frame f through display, orders them and picks the
    // followed car, then shows f's status. PastEnd asks the view to stop.
    DrawResult DrawFrame(std::uint32_t f, CoreDisplay& display);
    // Draws the cars of the last drawn frame.
    void PaintCars(CoreDisplay& display);
    const std::vector<CarPose>& Poses() const { return poses_; }
    const std::vector<int>& Order() const { return order_; }
    const std::vector<std::uint32_t>& OrderKeys() const { return keys_; }
    int FollowedDriver() const { return followed_; }
    DevicePoint FollowedPoint() const { return followedPoint_; }

    void UpdateStatus(std::uint32_t f);
    void ClearStatus();
    const Texts& GetTexts() const { return texts_; }
    int ShownLap() const { return shownLap_; }

    // Targets of the bar's buttons. A driver target selects that driver and
    // turns the focus to "Focus Driver:"; a frame target is where the view
    // steps to (its status already shown).
    std::optional<int> DriverAhead();
    std::optional<int> DriverBehind();
    std::optional<int> ClosestFight();
    std::optional<std::uint32_t> NextLap(bool fastReverse);
    std::optional<std::uint32_t> PreviousLap(bool fastReverse);
    // The slider moved to frame position: its status when it differs from
    // the current frame; true when the view must step there.
    bool SliderMoved(std::uint32_t position);

private:
    bool findRaceStart(ReplaySource& src, const Drivers& drivers, std::uint64_t first, std::uint64_t end,
                       bool& raceFound);
    bool readFrames(ReplaySource& src, const Drivers& drivers, std::uint64_t end, double distanceUnit, WaitBox* wait);
    void fillGaps();
    void buildLapTables(const Drivers& drivers);
    int placeOf(int driver) const;
    std::optional<int> focusOn(int driver);
    std::optional<std::uint32_t> lapTarget(bool next, bool fastReverse);

    bool loaded_ = false;
    bool carsWanted_ = true;
    std::uint32_t frameCount_ = 0, current_ = 0;
    std::uint32_t raceStartValue_ = 0;
    std::uint64_t raceStartOffset_ = 0;
    std::vector<std::uint32_t> times_;
    std::vector<std::uint16_t> states_;
    // The cars read, frame after frame: frame f's cars are places_[firstPlace_[f]
    // .. firstPlace_[f + 1]), so memory grows with the records read, not with
    // frames times drivers.
    // Distance, lateral offset and heading stay raw codes until a frame is
    // drawn: the load reads a whole race, a tick only its cars. Eight bytes a
    // car keep the load's writes to memory small. Bit 63 tells the compact
    // record of another car from the saving player's full record:
    //   compact: distance 0-23, driver 24-31, heading 32-43, lateral 44-60
    //   full:    distance 0-25, heading 26-37, lateral 38-57; driver fullDriver_
    // Heading and lateral keep their records' two's complement codes.
    struct Placed {
        // Left unset: the load sizes the list for a record's cars before it
        // writes them, and zeroing them first would be a pass of its own.
        Placed() {}
        Placed(std::uint64_t b) : bits(b) {}
        std::uint64_t bits;
    };
    static Placed PlaceCompact(std::uint32_t distance, std::uint8_t driver, std::int32_t heading, std::int32_t lateral);
    // By car-id byte: the driver bits of a compact record's Placed (never 0),
    // or 0 for an id that names no driver.
    using CompactKeys = std::array<std::uint64_t, 256>;
    static CompactKeys CompactKeysOf(const Drivers& drivers);
    // Places the cars of a compact-cars body from out on; returns the end.
    static Placed* PlaceCompactCars(std::span<const std::uint8_t> body, const CompactKeys& keys, Placed* out);
    static Placed PlaceFull(std::uint32_t distance, std::int32_t heading, std::int32_t lateral);
    std::uint8_t DriverOf(Placed p) const;
    CarSample SampleOf(Placed p) const;
    float unit_ = 0.0f;            // the step of the compact records' distances
    std::uint8_t fullDriver_ = 0;  // the saving player
    std::vector<Placed> places_;
    std::vector<std::size_t> firstPlace_;
    std::size_t driverCount_ = 0;
    std::vector<std::string> names_;
    std::vector<int> kinds_;
    std::vector<int> laps_;
    std::vector<std::uint32_t> lapWords_;  // (maxLaps + 2) x drivers, row-major
    std::vector<std::int32_t> colours_;

    int maxLaps_ = 0;
    std::vector<std::uint64_t> crossings_;  // (maxLaps + 2) x drivers
    std::vector<std::uint64_t> leaderTime_;
    std::vector<int> leader_;
    std::uint64_t finishTime_ = kNoCrossing;

    std::unique_ptr<CarMarker> marker_;
    const TrackPath* trackPath_ = nullptr;
    CarDraw carDraw_ = CarDraw::Scale;
    int drawMode_ = 0;
    Focus focus_ = Focus::Leader;
    int selected_ = 0;
    std::vector<CarPose> poses_;
    std::vector<int> order_;
    std::vector<std::uint32_t> keys_;
    int followed_ = kNoDriver;
    DevicePoint followedPoint_;
    Texts texts_;
    int shownLap_ = 0;
};

// "m:ss" of a session time rounded to the second.
std::string FormatRaceElapsed(std::uint64_t ms);
// "m:ss.mmm" of a gap or lap time.
std::string FormatRaceGap(std::uint64_t ms);
// The status text of a frame's flag state; null for a state without one.
const char* FlagStateText(std::uint16_t state);

}  // namespace vra
