#include "gui/reports/ReportDlg.h"

#include "core/base/AtomicFile.h"
#include "core/document/ReplayFiles.h"
#include "core/platform/Prompts.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "gui/platform/Cp1252.h"

#include <QAbstractTextDocumentLayout>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace vra {

namespace {

QFont ReportFont() {
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    return font;
}

// The text for display: each part decoded as what it is, line ends as Qt
// keeps them.
QString DisplayText(const ShownText& shown) {
    QString text = ShownTextToQString(shown);
    text.remove(QLatin1Char('\r'));
    return text;
}

}  // namespace

ReportDlg::ReportDlg(const Report& report, Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), shown_(report.Shown()) {
    setWindowTitle(Cp1252ToQString(Report::Title(report.kind)));
    const std::string base = report.header ? Report::BaseName(report.header->path.string()) : std::string();
    defaultName_ = base.empty() ? std::string("Report.txt") : base + Report::FileSuffix(report.kind);

    box_ = new QPlainTextEdit;
    box_->setReadOnly(true);
    box_->setLineWrapMode(QPlainTextEdit::NoWrap);
    box_->setFont(ReportFont());
    box_->setPlainText(DisplayText(shown_));

    auto* buttons = new QDialogButtonBox;
    QPushButton* save = buttons->addButton(tr("Save As..."), QDialogButtonBox::ActionRole);
    QPushButton* print = buttons->addButton(tr("Print..."), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    save->setObjectName(QStringLiteral("SaveAs"));
    print->setObjectName(QStringLiteral("Print"));
    connect(save, &QPushButton::clicked, this, &ReportDlg::OnSaveAs);
    connect(print, &QPushButton::clicked, this, &ReportDlg::OnPrint);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box_);
    layout->addWidget(buttons);
    resize(720, 520);
}

void ReportDlg::OnSaveAs() {
    SaveFileRequest request;
    // The proposed name is the replay's file name, in the system's encoding.
    request.defaultName = ShownText().FileName(defaultName_);
    request.filters = {{"Text files (*.txt)", "*.txt"}};
    const auto path = AskSavePath(prompts_, std::move(request), ".txt");
    if (!path) return;
    if (!WriteFileAtomic(*path, Text())) prompts_.alert(kReportFileErrorText);
}

void ReportDlg::OnPrint() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void ReportDlg::PrintTo(QPrinter& printer) const {
    QTextDocument document;
    document.setPlainText(DisplayText(shown_));
    document.documentLayout()->setPaintDevice(&printer);
    // A report's rows are columns: a row that wrapped would break them. The
    // page prints in the window's font unless the longest line would not fit
    // the width QTextDocument::print leaves between its 2-cm margins; then in
    // the size at which it fits, down to a size still easily read.
    constexpr double kSmallestPoints = 6;
    const double width = printer.width() - 2 * 2 / 2.54 * printer.logicalDpiX();
    QFont font = ReportFont();
    document.setDefaultFont(font);
    for (double ideal = document.idealWidth(); ideal > width && font.pointSizeF() > kSmallestPoints;
         ideal = document.idealWidth()) {
        // By the overshoot, then in tenths while the margins, which do not
        // shrink with the font, keep the line too long.
        const double size = std::min(font.pointSizeF() * width / ideal, font.pointSizeF() - 0.1);
        font.setPointSizeF(std::max(size, kSmallestPoints));
        document.setDefaultFont(font);
    }
    document.print(&printer);
}

}  // namespace vra
