#pragma once
// The printed telemetry page: the dialog that picks up to three secondary
// graphs beside the primary one, the page itself on any painter, and the
// flow behind the dialog's "Print" button.

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QPainter;
class QPrinter;

namespace vra {

class CRpyGraphDoc;
class NewGraph;

class GraphPrint : public QDialog {
    Q_OBJECT
public:
    // primaryIndex: the print index of the graph on screen.
    GraphPrint(int primaryIndex, const QString& primaryText, QWidget* parent = nullptr);
    const std::array<int, 3>& Selections() const { return selections_; }
    QCheckBox* Box(int printIndex) const;
    void accept() override;
    // How the dialog tells the user (a message box unless replaced).
    std::function<void(const QString&)> warn;

private:
    std::array<int, 3> selections_{-1, -1, -1};
    std::array<QCheckBox*, 39> boxes_{};
};

// Draws the whole page, width x height device pixels, switching the
// dialog's graph to each secondary channel and back to the primary one.
void DrawTelemetryPage(QPainter& painter, int width, int height, NewGraph& dialog, CRpyGraphDoc& doc,
                       const std::array<int, 3>& selections);

// The "Print" button: choose, then print through the system's dialog.
void PrintTelemetryPage(NewGraph& dialog, CRpyGraphDoc& doc);
// What that button prints on: the printer before the system's dialog, with
// the chart's options (CXGraph::SetUpPrintDialog), sets it up, and the page
// printed on the printer it chose (false when the printer would not print).
std::unique_ptr<QPrinter> NewTelemetryPrinter();
bool PrintTelemetryPageOn(QPrinter& printer, NewGraph& dialog, CRpyGraphDoc& doc, const std::array<int, 3>& selections);

}  // namespace vra
