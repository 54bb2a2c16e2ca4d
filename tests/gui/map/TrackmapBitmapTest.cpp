// The map written as a picture file: what it shows, where it is offered and
// what happens when it cannot be written.

#include "gui/map/TrackmapBitmap.h"

#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/TrackmapExport.h"
#include "core/settings/AppSettings.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/ViewDialog.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/DemoTrack.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "PictureProbe.h"

#include <QImage>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

namespace vra::test {
namespace {

using ::testing::ElementsAre;

QColor MapColour(int index) {
    const Rgb c = kMapPalette[std::size_t(index)];
    return QColor(c.red, c.green, c.blue);
}

QRect NonWhiteExtent(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) != QColor(Qt::white)) box |= QRect(x, y, 1, 1);
    return box;
}

std::string Bytes(const std::filesystem::path& p) {
    auto b = ReadWholeFile(p, 1 << 24);
    return b ? std::string(b->begin(), b->end()) : std::string("<none>");
}

class TrackmapExport : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(root_ / "VELMAR.exe") << "exe";
        ASSERT_TRUE(simkit::WriteDemoTrack(root_));
        simkit::ReplayBuilder b;
        b.drivers(2).session(3, 3, 46000).trackLength(simkit::kDemoTrackLength);
        b.desc.settings.trackName = std::string(simkit::kDemoTrackName);
        std::filesystem::create_directories(root_ / "Replay");
        ASSERT_TRUE(b.writeFile(root_ / "Replay" / "Map.rpy"));
        store_.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", root_.string());
        settings_ = std::make_unique<AppSettings>(store_);
        doc_ = std::make_unique<CRpyGraphDoc>(*settings_, prompts_, waitBox_);
        for (int driver = 0; driver < 2; ++driver) {
            prompts_.lapAnswer(LapChoice{driver, 3, 1});
            doc_->OnOpenDocument(root_ / "Replay" / "Map.rpy");
        }
        ASSERT_EQ(doc_->LapCount(), 2);
        doc_->SetBMPSizeInPixel(300);
        bar_.UpdateLapControls({{0, "lap 1", {}}, {1, "lap 2", {}}});
        bar_.SetLapTicked(1, true);
        view_.SetDocument(doc_.get());
        view_.SetViewBar(&bar_);
    }

    const ScratchDir scratch_{"trackmap"};
    const std::filesystem::path root_ = scratch_.path();
    MemorySettingsStore store_;
    std::unique_ptr<AppSettings> settings_;
    ScriptedPrompts prompts_;
    RecordingWaitBox waitBox_;
    std::unique_ptr<CRpyGraphDoc> doc_;
    ViewDialog bar_;
    CRpyGraphView view_;
};

TEST_F(TrackmapExport, WritesTheTrackWithTheTickedLapsFittedIntoTheSquare) {
    doc_->SetMapFitted(true);
    doc_->SetFullRedraw(false);
    const auto file = root_ / "map.bmp";
    ASSERT_TRUE(view_.RenderTrackmapToBmp(file));
    EXPECT_EQ(std::filesystem::file_size(file), 45718u);
    const QImage picture(QString::fromStdString(file.string()));
    ASSERT_EQ(picture.size(), QSize(300, 300));
    const QRect extent = NonWhiteExtent(picture);
    const bool wide = extent.width() >= extent.height();
    const int from = wide ? extent.left() : extent.top();
    const int to = wide ? extent.right() : extent.bottom();
    EXPECT_NEAR(from, 5, 1);
    EXPECT_NEAR(to, 295, 1);
    EXPECT_GT(CountColour(picture, QColor(255, 0, 0)), 200);  // lap 1 in red
    EXPECT_EQ(CountColour(picture, MapColour(2)), 0);         // lap 2 not ticked
    // The window's map is fitted and drawn again from scratch.
    EXPECT_FALSE(doc_->MapFitted());
    EXPECT_TRUE(doc_->NeedsFullRedraw());

    // n = 768 gives the other size of the file.
    doc_->SetBMPSizeInPixel(768);
    ASSERT_TRUE(view_.RenderTrackmapToBmp(file));
    EXPECT_EQ(std::filesystem::file_size(file), 295030u);
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(TrackmapExport, OffersTheReplayFolderAndTheTrackName) {
    const std::string folder = doc_->SimFolder();
    prompts_.saveFileAnswer(root_ / "map").saveFileAnswer(root_ / "X.BMP").saveFileAnswer(std::nullopt);
    EXPECT_EQ(AskTrackmapBmpPath(*doc_, prompts_), root_ / "map.bmp");
    EXPECT_EQ(AskTrackmapBmpPath(*doc_, prompts_), root_ / "X.BMP");
    EXPECT_EQ(AskTrackmapBmpPath(*doc_, prompts_), std::nullopt);
    const SaveFileRequest& r = prompts_.saveFileRequests()[0];
    EXPECT_EQ(r.initialFolder, root_ / "Replay");
    EXPECT_EQ(r.defaultName, doc_->Title() + ".bmp");
    ASSERT_EQ(r.filters.size(), 1u);
    EXPECT_EQ(r.filters[0].label, "Bitmap files (*.bmp)");
    EXPECT_EQ(doc_->SimFolder(), folder);

    doc_->OnNewDocument();
    ScriptedPrompts empty;
    EXPECT_EQ(AskTrackmapBmpPath(*doc_, empty), std::nullopt);
    EXPECT_FALSE(RenderTrackmapToBmp(*doc_, {}, root_ / "none.bmp", empty));
    EXPECT_THAT(empty.log(), ElementsAre("message: No track loaded!", "message: No track loaded!"));
    EXPECT_FALSE(std::filesystem::exists(root_ / "none.bmp"));
}

TEST_F(TrackmapExport, APictureThatCannotBeMadeOrWrittenLeavesTheOldFile) {
    const auto file = root_ / "old.bmp";
    std::ofstream(file, std::ios::binary) << "old picture";
    // Beyond the file's size fields, beyond any memory, and no size at all.
    for (int n : {100000, 2147483647, -3}) {
        doc_->SetBMPSizeInPixel(n);
        EXPECT_FALSE(view_.RenderTrackmapToBmp(file)) << n;
    }
    doc_->SetBMPSizeInPixel(300);
    {
        FileSizeLimit diskFull(1000);
        ASSERT_TRUE(diskFull.active());
        EXPECT_FALSE(view_.RenderTrackmapToBmp(file));
    }
    EXPECT_EQ(Bytes(file), "old picture");
    const std::string memory = "Not enough memory to zoom more!\r\nPlease zoom out.";
    EXPECT_THAT(prompts_.messages(), ElementsAre(memory, memory, memory, "Error creating file!"));
}

}  // namespace
}  // namespace vra::test
