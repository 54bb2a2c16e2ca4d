#pragma once
// "Stint Analyzer": reads the stints of the player's replays among the
// loaded laps for the chosen session kinds, lists them, and plots the
// chosen curves of every ticked stint against the time since its start.

#include "core/graphs/StintReader.h"
#include "gui/chart/CXGraph.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSizeGrip;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace vra {

class CRpyGraphDoc;
class Prompts;
class WaitBox;

class StintAnalyzer : public QDialog {
    Q_OBJECT
public:
    StintAnalyzer(CRpyGraphDoc& doc, Prompts& prompts, WaitBox& wait, QWidget* parent = nullptr);
    ~StintAnalyzer() override;

    CXGraph* Chart() const { return chart_; }
    QCheckBox* ReplayBox(int slot) const { return replays_[std::size_t(slot)]; }
    QCheckBox* SessionBox(int kind) const { return sessions_[std::size_t(kind)]; }
    QCheckBox* OptionBox(int option) const { return options_[std::size_t(option)]; }
    QSpinBox* MinLaps() const { return minLaps_; }
    QPushButton* ReadButton() const { return read_; }
    QPushButton* PrintButton() const { return print_; }
    QTreeWidget* StintList() const { return list_; }
    const StintReader& Reader() const { return reader_; }
    // The chart's popup of its own commands, as the right button shows it.
    QMenu* ChartMenu();

    void OnReadStints();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowHint(const char* text);
    void EnterPlotMode();
    void Replot(int option, int stint);
    void OnItemChanged(QTreeWidgetItem* item);
    void PlaceChart();

    CRpyGraphDoc& doc_;
    Prompts& prompts_;
    WaitBox& wait_;
    StintReader reader_;
    CXGraph* chart_;
    QGroupBox* optionsGroup_;
    QGroupBox* readGroup_;
    std::array<QCheckBox*, StintReader::kOptions> options_{};
    std::array<QCheckBox*, 5> replays_{};
    std::array<QCheckBox*, 4> sessions_{};
    QSpinBox* minLaps_;
    QPushButton* read_;
    QPushButton* print_;
    QPushButton* close_;
    QLabel* loaded_;
    QLabel* starNote_;
    QTreeWidget* list_;
    QSizeGrip* grip_;
    QMenu* menu_ = nullptr;
    std::vector<bool> ticks_;
    std::uint8_t telemetryMask_ = 0;
};

}  // namespace vra
