#include "gui/graphs/NewGraph.h"

#include "core/document/CRpyGraphDoc.h"
#include "gui/graphs/CGraphPanel.h"
#include "gui/graphs/CGraphWnd.h"
#include "gui/graphs/Grafpages.h"
#include "gui/graphs/GraphPrint.h"
#include "gui/graphs/TimeDiffForGraph.h"
#include "gui/graphs/TrackMapDialog.h"
#include "gui/platform/Cp1252.h"
#include "gui/widgets/DialogUnits.h"
#include "gui/widgets/LiteralText.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSizeGrip>
#include <QTabWidget>

#include <algorithm>

namespace vra {

namespace {

QColor ToQColor(const Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

// A box's text in its lap's colour while it can be used; switched off it
// keeps the style's colour, so that it reads as switched off.
void SetTextColour(QWidget* w, const Rgb& c) {
    QPalette p = w->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, ToQColor(c));
        p.setColor(group, QPalette::ButtonText, ToQColor(c));
    }
    w->setPalette(p);
}

}  // namespace

NewGraph::NewGraph(CRpyGraphDoc* doc, QWidget* parent) : QDialog(parent), doc_(doc) {
    const DialogUnits Dlu(*this);
    setWindowTitle(tr("Telemetry Graph"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QApplication::windowIcon());
    resize(Dlu(0, 0, 504, 335).size());

    lapGroup_ = new QGroupBox(tr("Select lap(s) to plot"), this);
    lapGroup_->setGeometry(Dlu(7, 0, 109, 65));
    for (int k = 0; k < 5; ++k) {
        lapBoxes_[k] = new QCheckBox(this);
        lapBoxes_[k]->setGeometry(Dlu(11, 10 + 9 * k, 101, 8).adjusted(0, 0, 0, 2));
    }
    timeDiffBox_ = new QCheckBox(tr("Time difference"), this);
    timeDiffBox_->setGeometry(Dlu(22, 55, 81, 8).adjusted(0, 0, 0, 2));
    timeDiffBox_->setEnabled(false);
    SetTextColour(timeDiffBox_, CRpyGraphDoc::GraphColours()[5]);

    // The sheet of channel pages stands 7 pixels up and left of its frame.
    const QRect frame = Dlu(7, 71, 118, 210);
    sheet_ = new QTabWidget(this);
    sheet_->setGeometry(frame.translated(-7, -7));
    basic_ = new Grafpage_Basic(sheet_);
    advanced_ = new Grafpage_Advanced(sheet_);
    sheet_->addTab(basic_, tr("Basic"));
    sheet_->addTab(advanced_, tr("Advanced"));

    const char* wheels[] = {"Left front", "Right front", "Left rear", "Right rear"};
    for (int w = 0; w < 4; ++w) {
        wheelBoxes_[w] = new QCheckBox(tr(wheels[w]), this);
        wheelBoxes_[w]->setGeometry(Dlu(14, 279 + 9 * w, 86, 8).adjusted(0, 0, 0, 2));
        wheelBoxes_[w]->setEnabled(false);
    }
    close_ = new QPushButton(tr("Close"), this);
    close_->setGeometry(Dlu(7, 318, 30, 14));
    close_->setDefault(true);
    print_ = new QPushButton(tr("Print"), this);
    print_->setGeometry(Dlu(46, 318, 30, 14));
    map_ = new QPushButton(tr("Map"), this);
    map_->setGeometry(Dlu(85, 318, 30, 14));
    auto* hint = new QLabel(
        tr("Rightclick in graph for graph options. Hold down shift while moving mouse with left button pressed to pan"),
        this);
    hint->setGeometry(Dlu(153, 2, 329, 8).adjusted(0, 0, 0, 2));
    grip_ = new QSizeGrip(this);
    grip_->resize(16, 16);

    graph_ = new CGraphWnd(32, this);
    graph_->setObjectName(QStringLiteral("Graph Window"));
    graph_->setGeometry(static_cast<int>(LapGroupRight() * 1.1), 20, 2500, 2500);

    controller_ = std::make_unique<TelemetryGraphController>(GraphInputFromDocument(*doc_), graph_->Model(), *this);
    for (int k = 0; k < 5; ++k) {
        const int slot = controller_->BoxSlot(k);
        if (slot < 0) {
            lapBoxes_[k]->hide();
            lapBoxes_[k]->setEnabled(false);
            continue;
        }
        lapBoxes_[k]->setText(LiteralCaption(Cp1252ToQString(controller_->LapBoxText(k))));
        SetTextColour(lapBoxes_[k], CRpyGraphDoc::GraphColours()[static_cast<std::size_t>(slot)]);
        connect(lapBoxes_[k], &QCheckBox::clicked, this, [this, k] { controller_->OnLapBox(k); });
    }
    for (int w = 0; w < 4; ++w)
        connect(wheelBoxes_[w], &QCheckBox::clicked, this, [this, w] { controller_->OnWheelBox(w); });
    connect(timeDiffBox_, &QCheckBox::clicked, this, [this] { controller_->OnTimeDifference(); });
    basic_->SetChosen([this](int code) {
        controller_->OnChannel(code);
        controller_->SetActivePage(1);
    });
    advanced_->SetChosen([this](int code) {
        controller_->OnChannel(code);
        controller_->SetActivePage(2);
    });
    connect(sheet_, &QTabWidget::currentChanged, this, [this](int index) {
        (index == 0 ? static_cast<Grafpage*>(basic_) : static_cast<Grafpage*>(advanced_))
            ->OnSetActive(controller_->ActivePage());
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(map_, &QPushButton::clicked, this, &NewGraph::OnMap);
    connect(print_, &QPushButton::clicked, this, &NewGraph::OnPrint);

    // The panel asks for the time difference under the cursor on every move.
    graph_->Panel()->SetHost([this](double x, double y) { return controller_->TimeDiffText(x, y); });

    // The hint keeps its margin to the right edge when it grew to its text.
    WidenToTexts(*this);
    resize(std::max(width(), hint->geometry().right() + 1 + Dlu.X(504 - (153 + 329))), height());

    basic_->Button(1032)->setChecked(true);
    for (QCheckBox* b : wheelBoxes_) b->setChecked(true);
    controller_->InitialState();
}

NewGraph::~NewGraph() {
    // The map clears its mark on the track before the graph goes.
    delete trackMap_;
    trackMap_ = nullptr;
}

int NewGraph::LapGroupRight() const {
    return lapGroup_->geometry().left() + lapGroup_->geometry().width();
}

void NewGraph::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const double left = LapGroupRight() * 1.1;
    graph_->setGeometry(static_cast<int>(left), 20, static_cast<int>((width() - 10) - left), height() - 40);
    grip_->move(width() - grip_->width(), height() - grip_->height());
    grip_->raise();
}

void NewGraph::OnMap() {
    if (!doc_->TrackLoaded()) return;
    if (!trackMap_) trackMap_ = new TrackMapDialog(doc_, this);
    trackMap_->show();
    activateWindow();
}

bool NewGraph::LapBoxTicked(int box) const {
    return lapBoxes_[box]->isChecked();
}
bool NewGraph::WheelBoxTicked(int wheel) const {
    return wheelBoxes_[wheel]->isChecked();
}
bool NewGraph::TimeDiffTicked() const {
    return timeDiffBox_->isChecked();
}

void NewGraph::EnableWheelBoxes(bool enable) {
    for (QCheckBox* b : wheelBoxes_) b->setEnabled(enable);
}

void NewGraph::EnableTimeDiffBox(bool enable) {
    timeDiffBox_->setEnabled(enable);
}

void NewGraph::ShowTimeDiffWindow(const std::string& groupText) {
    if (!timeDiff_) timeDiff_ = new TimeDiffForGraph(this);
    timeDiff_->show();
    activateWindow();
    timeDiff_->SetGroupText(LiteralCaption(Cp1252ToQString(groupText)));
}

void NewGraph::HideTimeDiffWindow() {
    if (timeDiff_) timeDiff_->hide();
}

bool NewGraph::TimeDiffWindowExists() const {
    return timeDiff_ != nullptr;
}

void NewGraph::SetTimeDiffTexts(const std::string& finish, const std::string& ahead, const std::string& behind,
                                const std::string& spread) {
    if (!timeDiff_) return;
    timeDiff_->SetText(1037, QString::fromStdString(finish));
    timeDiff_->SetText(1038, QString::fromStdString(ahead));
    timeDiff_->SetText(1039, QString::fromStdString(behind));
    timeDiff_->SetText(1040, QString::fromStdString(spread));
}

void NewGraph::SetPositionText(const std::string& text) {
    if (timeDiff_) timeDiff_->SetText(1041, QString::fromStdString(text));
}

bool NewGraph::TrackMapExists() const {
    return trackMap_ != nullptr;
}

void NewGraph::SetMapCursor(double distance, unsigned percent) {
    if (trackMap_) trackMap_->SetCursorDistance(distance, percent);
}

void NewGraph::WaitCursor(bool on) {
    if (on) {
        if (waiting_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (waiting_ > 0 && --waiting_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void NewGraph::OnPrint() {
    PrintTelemetryPage(*this, *doc_);
}

}  // namespace vra
