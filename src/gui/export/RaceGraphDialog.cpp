#include "gui/export/RaceGraphDialog.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/document/ReplayFiles.h"
#include "core/document/TrackmapExport.h"
#include "core/export/DibSection.h"
#include "core/platform/Prompts.h"
#include "core/replay/Drivers.h"
#include "gui/export/RaceGraphPainter.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vra {

namespace {

class GraphFace : public QWidget {
public:
    GraphFace(const RaceGraph& graph, QWidget* parent) : QWidget(parent), graph_(graph) { setMinimumSize(640, 400); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintRaceGraph(painter, rect(), graph_);
    }

private:
    const RaceGraph& graph_;
};

}  // namespace

RaceGraphDialog::RaceGraphDialog(CRpyGraphDoc& doc, const Drivers& drivers, RaceGraph graph, Prompts& prompts,
                                 const QString& title, QWidget* parent)
    : QDialog(parent), doc_(doc), prompts_(prompts), replay_(drivers.path), graph_(std::move(graph)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    face_ = new GraphFace(graph_, this);
    layout->addWidget(face_, 1);
    auto* buttons = new QDialogButtonBox(this);
    save_ = buttons->addButton(tr("Save as BMP..."), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    connect(save_, &QPushButton::clicked, this, &RaceGraphDialog::OnSaveAsBmp);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(860, 520);
}

QImage RaceGraphDialog::Picture() const {
    QImage image(face_->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintRaceGraph(painter, image.rect(), graph_);
    return image;
}

bool RaceGraphDialog::SaveAsBmp(const std::filesystem::path& path) const {
    const QImage image = Picture();
    BitmapInfoHeader header;
    header.biWidth = image.width();
    header.biHeight = image.height();
    header.biBitCount = 24;
    DibSection dib;
    if (!dib.SetBitmap(header, {})) return false;
    const std::size_t stride = static_cast<std::size_t>(BytesPerLine(std::uint64_t(image.width()), 24));
    std::span<std::uint8_t> bits = dib.Bits();
    for (int y = 0; y < image.height(); ++y) {
        // Rows are stored bottom-up, each pixel blue, green, red.
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(image.height() - 1 - y));
        std::uint8_t* out = bits.data() + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < image.width(); ++x) {
            *out++ = static_cast<std::uint8_t>(qBlue(line[x]));
            *out++ = static_cast<std::uint8_t>(qGreen(line[x]));
            *out++ = static_cast<std::uint8_t>(qRed(line[x]));
        }
    }
    return dib.Save(path);
}

void RaceGraphDialog::OnSaveAsBmp() {
    SaveFileRequest request;
    request.initialFolder = ReplayFolder(doc_.SimFolder());
    request.defaultName = SafeFileName(replay_.stem().string() + ".bmp");
    request.filters = {{"Bitmap files (*.bmp)", "*.bmp"}};
    const auto chosen = AskSavePath(prompts_, std::move(request), ".bmp");
    if (chosen && !SaveAsBmp(*chosen)) prompts_.alert(kErrorCreatingFileText);
}

RelativeRaceGraph::RelativeRaceGraph(CRpyGraphDoc& doc, const Header&, const Drivers& drivers, Prompts& prompts,
                                     QWidget* parent)
    : RaceGraphDialog(doc, drivers, RaceGapSeries(drivers), prompts, tr("Race History Graph"), parent) {}

GraphicalRaceReport::GraphicalRaceReport(CRpyGraphDoc& doc, const Header&, const Drivers& drivers, Prompts& prompts,
                                         QWidget* parent)
    : RaceGraphDialog(doc, drivers, RacePositionSeries(drivers), prompts, tr("Graphical Race Report"), parent) {}

}  // namespace vra
