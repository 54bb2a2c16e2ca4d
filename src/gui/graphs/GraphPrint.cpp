#include "gui/graphs/GraphPrint.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/graphs/ChannelTable.h"
#include "core/graphs/TelemetryPageLayout.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"
#include "gui/chart/CXGraph.h"
#include "gui/graphs/CGraphWnd.h"
#include "gui/graphs/NewGraph.h"
#include "gui/map/MFCDisplay.h"
#include "gui/platform/Cp1252.h"
#include "gui/widgets/DialogUnits.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace vra {

namespace {

QString Name(int printIndex) {
    const PrintChannel* p = PrintByIndex(printIndex);
    return p ? QString::fromUtf8(p->name.data(), static_cast<int>(p->name.size())) : QString();
}

QRect ToQRect(const PageRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

// A raised edge: blue above and left, red below and right.
void Frame(QPainter& p, const PageRect& r) {
    p.setPen(QPen(QColor(0, 0, 255), 0));
    p.drawLine(r.left, r.top, r.right - 1, r.top);
    p.drawLine(r.left, r.top, r.left, r.bottom - 1);
    p.setPen(QPen(QColor(255, 0, 0), 0));
    p.drawLine(r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
    p.drawLine(r.right - 1, r.top, r.right - 1, r.bottom - 1);
}

// The layout's sizes are tenths of a point on a page of 600 dots per inch,
// the resolution its proportions were set for. On any other device a font
// keeps its share of the page: the title of an A4 page stays 17.1 points
// on a printer of 1200.
QFont Font(int tenths, const QPaintDevice& device) {
    QFont f;
    f.setPointSizeF((tenths > 0 ? tenths / 10.0 : 1.0) * 600.0 / device.logicalDpiY());
    return f;
}

}  // namespace

GraphPrint::GraphPrint(int primaryIndex, const QString& primaryText, QWidget* parent) : QDialog(parent) {
    const DialogUnits Dlu(*this);
    setWindowTitle(tr("Select graphs to print"));
    setFixedSize(Dlu(0, 0, 301, 202).size());
    warn = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setGeometry(Dlu(244, 7, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setGeometry(Dlu(244, 24, 50, 14));
    connect(ok, &QPushButton::clicked, this, &GraphPrint::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* primary = new QGroupBox(tr("Primary graph"), this);
    primary->setGeometry(Dlu(7, 7, 197, 35));
    auto* text = new QLabel(primaryText, this);
    text->setObjectName(QStringLiteral("1285"));
    text->setWordWrap(true);
    text->setGeometry(Dlu(13, 17, 188, 22));
    auto* group = new QGroupBox(tr("Select up to three secondary graphs"), this);
    group->setGeometry(Dlu(7, 44, 287, 152));
    for (const PrintChannel& c : PrintChannels()) {
        if (c.boxId == 0) continue;
        const int id = c.boxId;
        const int column = id <= 1278 ? 0 : id <= 1293 ? 1 : 2;
        const int first = column == 0 ? 1265 : column == 1 ? 1279 : 1294;
        // The second column skips 1285, the primary graph's text.
        const int row = id - first - (column == 1 && id > 1285 ? 1 : 0);
        auto* b = new QCheckBox(Name(c.printIndex), this);
        b->setGeometry(Dlu(14 + 93 * column, 54 + 10 * row, 83, 8).adjusted(0, 0, 0, 2));
        b->setEnabled(c.printIndex != primaryIndex);
        boxes_[static_cast<std::size_t>(c.printIndex)] = b;
    }
}

QCheckBox* GraphPrint::Box(int printIndex) const {
    return printIndex >= 1 && printIndex <= 38 ? boxes_[static_cast<std::size_t>(printIndex)] : nullptr;
}

void GraphPrint::accept() {
    std::vector<int> ticked;
    std::vector<std::pair<int, int>> order;  // box id, print index
    for (const PrintChannel& c : PrintChannels())
        if (c.boxId != 0) order.emplace_back(c.boxId, c.printIndex);
    std::sort(order.begin(), order.end());
    for (auto [id, index] : order)
        if (boxes_[static_cast<std::size_t>(index)]->isChecked()) ticked.push_back(index);
    const SecondarySelection s = SelectSecondaryGraphs(ticked);
    selections_ = s.selections;
    if (s.TooMany()) {
        warn(tr("Max three secondary graphs can be selected"));
        return;
    }
    QDialog::accept();
}

void DrawTelemetryPage(QPainter& p, int width, int height, NewGraph& dialog, CRpyGraphDoc& doc,
                       const std::array<int, 3>& selections) {
    const TelemetryPageLayout l(width, height);
    TelemetryGraphController& c = dialog.Controller();
    const int primary = PrintIndexOfCode(c.ChannelCode());
    p.save();
    for (int a = 0; a < 8; ++a)
        if (l.Framed(a)) Frame(p, l.areas[static_cast<std::size_t>(a)]);
    p.setPen(Qt::black);
    p.setBackgroundMode(Qt::TransparentMode);

    p.setFont(Font(l.titleFont, *p.device()));
    p.drawText(ToQRect(l.Content(kTitleArea)), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Velmar Telemetry Graph"));
    p.setFont(Font(l.footerFont, *p.device()));
    p.drawText(ToQRect(l.Content(kFooterArea)), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("Printed with Velmar Replay Analyzer"));

    const PageRect table = l.Content(kLapTableArea);
    const int halfTable = table.Width() / 2;
    p.setFont(Font(l.headingFont, *p.device()));
    const int h0 = QFontMetrics(p.font(), p.device()).height();
    p.drawText(QPoint(table.left, table.top + QFontMetrics(p.font(), p.device()).ascent()),
               QStringLiteral("Driver Name"));
    p.drawText(QPoint(table.left + halfTable, table.top + QFontMetrics(p.font(), p.device()).ascent()),
               QStringLiteral("Laptime(Speed)"));
    p.setFont(Font(l.rowFont, *p.device()));
    const QFontMetrics rows(p.font(), p.device());
    int offset = h0;
    const TelemetryGraphInput& in = c.Input();
    for (int box = 0; box < 5; ++box) {
        const int slot = c.BoxSlot(box);
        if (slot < 0 || slot >= doc.LapCount() || !dialog.LapBoxTicked(box)) continue;
        const auto& lap = *in.laps[static_cast<std::size_t>(slot)];
        const Rgb colour = CRpyGraphDoc::Palette()[static_cast<std::size_t>(slot)];
        p.setPen(QColor(colour.red, colour.green, colour.blue));
        const int y = table.top + offset + rows.ascent();
        p.drawText(QPoint(table.left, y), Cp1252ToQString(lap.firstName + " " + lap.lastName));
        p.drawText(QPoint(table.left + halfTable, y),
                   QString::fromStdString(LapTableTimeText(lap.lapWord, doc.TrackLength(), doc.SpeedUnit())));
        offset += rows.height();
    }
    p.setPen(Qt::black);

    CGraphWnd* graph = dialog.Graph();
    graph->setUpdatesEnabled(false);
    p.setFont(Font(l.graphTitleFont, *p.device()));
    const QFontMetrics titles(p.font(), p.device());
    auto plot = [&](int area, int printIndex) {
        PageRect r = l.Content(area);
        p.drawText(ToQRect(r), Qt::AlignHCenter | Qt::AlignTop, Name(printIndex));
        r.top += titles.height() + 1;
        graph->DrawToDC(p, QRect(r.left, r.top, r.Width(), r.Height()));
    };
    plot(kPrimaryArea, primary);
    bool switched = false;
    for (int i = 0; i < 3; ++i) {
        const int s = selections[static_cast<std::size_t>(i)];
        if (s == -1) continue;
        c.SelectChannelForPrint(s);
        switched = true;
        plot(kSecondary1 + i, s);
    }
    if (switched) c.SelectChannelForPrint(primary);

    PageRect map = l.Content(kMapArea);
    QString title = Cp1252ToQString(doc.Title());
    const bool track = doc.TrackLoaded() && doc.GetTrackPath();
    if (track) title += QStringLiteral(" (%1 meters)").arg(static_cast<long long>(doc.TrackLength()));
    p.drawText(ToQRect(map), Qt::AlignHCenter | Qt::AlignTop, title);
    map.top += titles.height() + 1;
    if (track && map.Width() > 2 && map.Height() > 2) {
        TrackPath* path = doc.GetTrackPath();
        MFCDisplay display;
        display.SetDC(&p);
        if (display.FitToTrackBounds(path->Bounds(), 1, 1, static_cast<std::uint32_t>(map.Width()),
                                     static_cast<std::uint32_t>(map.Height()))) {
            path->ClearHighlight();
            p.save();
            p.translate(map.left, map.top);
            path->Draw(display);
            p.restore();
        }
    }
    graph->setUpdatesEnabled(true);
    p.restore();
}

std::unique_ptr<QPrinter> NewTelemetryPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QStringLiteral("Replay Analyzer Telemetry Page"));
    return printer;
}

bool PrintTelemetryPageOn(QPrinter& printer, NewGraph& dialog, CRpyGraphDoc& doc,
                          const std::array<int, 3>& selections) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    DrawTelemetryPage(painter, page.width(), page.height(), dialog, doc, selections);
    return painter.end();
}

void PrintTelemetryPage(NewGraph& dialog, CRpyGraphDoc& doc) {
    const int primary = PrintIndexOfCode(dialog.Controller().ChannelCode());
    GraphPrint choose(primary,
                      QStringLiteral("Currently selected and primary graph in the printed page is : ") + Name(primary),
                      &dialog);
    if (choose.exec() != QDialog::Accepted) return;
    const std::unique_ptr<QPrinter> printer = NewTelemetryPrinter();
    QPrintDialog print(printer.get(), &dialog);
    // One page, printed whole, as the chart's.
    CXGraph::SetUpPrintDialog(print);
    if (print.exec() != QDialog::Accepted) return;
    if (!PrintTelemetryPageOn(*printer, dialog, doc, choose.Selections()))
        QMessageBox::warning(&dialog, dialog.windowTitle(), QObject::tr("The telemetry page could not be printed."));
}

}  // namespace vra
