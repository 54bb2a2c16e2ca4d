#pragma once
// The view bar docked beside the map: one check box per loaded lap choosing
// which driving lines the map draws, the focus settings of the lines
// playback and each lap's split times. Its numbers and captions are written
// in the lap colours, so the bar is also the legend of the map.

#include "core/document/DocumentColours.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QPainter;
class QComboBox;
class QLabel;
class QRadioButton;

namespace vra {
class CHyperLink;
class OrientationStrip;
class Shell;

class ViewDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLapBoxes = 5;

    // One loaded lap as the bar shows it.
    struct LapEntry {
        int slot = 0;                           // the document's slot, 0..4; also its colour
        std::string caption;                    // driver and lap time (Windows-1252)
        std::array<std::int64_t, 3> splitMs{};  // at 25, 50 and 75 % of the lap
    };

    explicit ViewDialog(QWidget* parent = nullptr);

    void SetShell(vra::Shell* shell);
    // What the link at the foot of the bar opens (the program's readme).
    void SetLinkTarget(const QString& target);
    CHyperLink* Link() const { return link_; }
    void SetPalette(const std::array<vra::Rgb, vra::kMapPaletteSize>& palette);

    // Refills the boxes: the n-th lap fills box n, the boxes after the last
    // lap are hidden. Ticks are left as they are.
    void UpdateLapControls(const std::vector<LapEntry>& laps);
    // Unticks every box (a new or emptied document).
    void UntickAll();

    // n = 0 flips the race line; 1..5 flips box n.
    void ToggleLap(int n);
    bool IsLapTicked(int box) const;
    void SetLapTicked(int box, bool ticked);
    bool IsLapShown(int box) const;
    // The slot of the lap in box 1..5, or -1 when the box holds none.
    int SlotOfBox(int box) const;
    bool RaceLineOn() const { return raceLine_; }
    void SetRaceLine(bool on) { raceLine_ = on; }

    QCheckBox* LapBox(int box) const { return boxes_[std::size_t(box - 1)]; }
    QLabel* NumberLabel(int box) const { return numbers_[std::size_t(box - 1)]; }
    QLabel* SplitValue(int row, int column) const { return splits_[std::size_t(row - 1)][std::size_t(column)]; }
    QComboBox* LapCombo() const { return combo_; }
    // How the lines playback keeps a lap in sight: 0 "Manual", 1 "Focus
    // Leader", 2 "Focus Driver:" (the lap combo's choice).
    int FollowChoice() const;

    // While laps play the boxes are locked and the live read-outs of the
    // ticked laps replace the split times; afterwards the idle layout returns.
    void DisableLapControls();
    void EnableLapControls();
    void SetPlaying(bool playing);
    bool IsPlaying() const { return playing_; }
    // The heading picture (0..15) of lap box n, drawn while playing; -1 (a
    // heading in no sector) shows none.
    void SetOrientation(int box, int index);
    int Orientation(int box) const;
    QWidget* RealtimeGroup() const { return realtime_; }
    QLabel* ElapsedValue() const { return elapsed_; }
    QLabel* SpeedValue(int box) const { return speed_[std::size_t(box - 1)]; }
    QLabel* RevsValue(int box) const { return revs_[std::size_t(box - 1)]; }
    QLabel* GearValue(int box) const { return gear_[std::size_t(box - 1)]; }
    QLabel* ColumnHead(int box) const { return heads_[std::size_t(box - 1)]; }
    QWidget* OrientStrip() const { return orientStrip_; }

    // "5:03.123s" from milliseconds.
    static std::string FormatSplitTime(std::int64_t ms);

signals:
    // A lap box was clicked or toggled by a command; the map redraws.
    void linesChanged();

private:
    void ColourLabels();
    void PaintOrientations(QPainter& painter) const;
    friend class OrientationStrip;

    std::array<vra::Rgb, vra::kMapPaletteSize> palette_ = vra::kMapPalette;
    std::array<QCheckBox*, kLapBoxes> boxes_{};
    std::array<QLabel*, kLapBoxes> numbers_{};
    std::array<QLabel*, kLapBoxes> rowLabels_{};
    std::array<std::array<QLabel*, 3>, kLapBoxes> splits_{};
    std::array<int, kLapBoxes> slots_{-1, -1, -1, -1, -1};
    QRadioButton* manual_ = nullptr;
    QRadioButton* leader_ = nullptr;
    QRadioButton* driver_ = nullptr;
    QComboBox* combo_ = nullptr;
    CHyperLink* link_ = nullptr;
    bool raceLine_ = false;
    bool playing_ = false;
    std::array<int, kLapBoxes> orientation_{};
    QWidget* realtime_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* orientLabel_ = nullptr;
    QWidget* orientStrip_ = nullptr;
    std::array<QLabel*, kLapBoxes> heads_{};
    std::array<QLabel*, kLapBoxes> speed_{};
    std::array<QLabel*, kLapBoxes> revs_{};
    std::array<QLabel*, kLapBoxes> gear_{};
};

}  // namespace vra
