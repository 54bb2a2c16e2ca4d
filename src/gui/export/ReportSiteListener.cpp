#include "gui/export/ReportSiteListener.h"

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/NoTrackText.h"
#include "core/replay/Header.h"
#include "core/settings/AppSettings.h"
#include "gui/export/SitePicture.h"
#include "gui/platform/Cp1252.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vra {

namespace {

std::filesystem::path ReplayFolder(const std::string& simFolder) {
    const std::filesystem::path base(simFolder);
    if (auto found = ResolveCaseInsensitive(base, "replay")) return *found;
    return base / "replay";
}

constexpr std::string_view kSiteCreatedPrefix = ": Report site created in ";

// Texts of the replay and the program are Windows-1252; file names are the
// system's.
QString LineText(const std::string& line) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos) return Cp1252ToQString(line);
    const QString file = QFile::decodeName(QByteArray::fromStdString(line.substr(0, colon)));
    const std::string rest = line.substr(colon);
    if (rest.starts_with(kSiteCreatedPrefix))
        return file + QString::fromLatin1(kSiteCreatedPrefix.data(), qsizetype(kSiteCreatedPrefix.size())) +
               QFile::decodeName(QByteArray::fromStdString(rest.substr(kSiteCreatedPrefix.size())));
    return file + Cp1252ToQString(rest).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

}  // namespace

ReportSiteListener::ReportSiteListener(CRpyGraphDoc& doc)
    : ReportSiteListener(
          doc, [folder = ReplayFolder(doc.SimFolder())] { return ListReplays(folder); }, FileClockNowNs()) {}

ReportSiteListener::ReportSiteListener(CRpyGraphDoc& doc, ReplayWatch::ListFolder list, std::int64_t openedNs)
    : QDialog(nullptr), doc_(doc) {
    // Each replay's own track is decoded for its site: the document's track
    // and laps stay as they are.
    watch_ = std::make_unique<ReplayWatch>(
        std::move(list),
        [this](const Header& header, std::string& error) -> std::unique_ptr<ReportMapPort> {
            std::string why;
            auto picture = DecodedTrackPicture::Decode(doc_.SimFolder(), header.trackName, doc_.BMPSizeInPixel(), why);
            // The line starts with the replay's name; the rest of it is the
            // replay's text.
            if (!picture) error = NoTrackText(why, header.trackName).Bytes();
            return picture;
        },
        openedNs);
    build();
    timer_.setInterval(kPollMs);
    connect(&timer_, &QTimer::timeout, this, &ReportSiteListener::Poll);
    timer_.start();
}

ReportSiteListener::~ReportSiteListener() = default;

void ReportSiteListener::build() {
    setWindowTitle(tr("Report Site Listener"));
    status_ = new QLabel(tr("Listening for new replays..."), this);
    status_->setWordWrap(true);
    list_ = new QListWidget(this);
    close_ = new QPushButton(tr("Close"), this);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(480, 300);
}

void ReportSiteListener::Poll() {
    watch_->SetReportSettings(ReportSettings::FromDocument(doc_));
    const ReplayWatch::Result result = watch_->Poll(doc_.Settings().RecordsPath());
    status_->setText(result.status.empty() ? tr("Listening for new replays...") : LineText(result.status));
    for (const std::string& line : result.lines) list_->addItem(LineText(line));
}

void ReportSiteListener::done(int result) {
    // Escape and reject() hide the window without a close event, and the
    // frame's close ends in reject(): the polls stop and the idle commands
    // come back here, whichever way it went.
    timer_.stop();
    QDialog::done(result);
    emit closed();
}

}  // namespace vra
