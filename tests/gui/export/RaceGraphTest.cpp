// The race graphics of a built four-car race with a pace car, painted
// offscreen, and their BMP file.
#include "core/document/CRpyGraphDoc.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/settings/AppSettings.h"
#include "gui/export/RaceGraphDialog.h"
#include "gui/export/RaceGraphPainter.h"

#include "simkit/replay/ReplayBuilder.h"
#include "support/ScratchDir.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <QImage>
#include <gtest/gtest.h>

namespace vra::testing {
namespace {

QColor Of(const RaceGraphSeries& s) {
    return QColor(s.colour.red, s.colour.green, s.colour.blue);
}

// Whether a pixel of colour lies within a pixel of at.
bool Near(const QImage& image, QPointF at, const QColor& colour) {
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (image.pixelColor(int(at.x()) + dx, int(at.y()) + dy) == colour) return true;
    return false;
}

class RaceGraphPicture : public ::testing::Test {
protected:
    void SetUp() override {
        simkit::ReplayBuilder b;
        b.drivers(5);
        b.desc.drivers[4].carNumber = 65535;
        b.desc.drivers[4].type = 0;
        b.session(3, 3, 40000);
        b.desc.sessions[0].cars[3].laps = {40750, 39000, 40000};
        b.desc.sessions[0].cars[4].laps = {30000, 30000, 30000};
        ASSERT_TRUE(b.writeFile(replay));
        ASSERT_EQ(header.Read(replay), Header::Ok);
        ASSERT_EQ(drivers.Load(replay), Drivers::LoadResult::Ok);
    }

    const test::ScratchDir scratch{"graphs"};
    const std::filesystem::path replay = scratch.path() / "race.rpy";
    test::MemorySettingsStore store;
    AppSettings settings{store};
    test::ScriptedPrompts prompts;
    test::RecordingWaitBox waitBox;
    CRpyGraphDoc doc{settings, prompts, waitBox};
    Header header;
    Drivers drivers;
};

TEST_F(RaceGraphPicture, GapLinesRunFromTheZeroLineDownwardsAndPositionsCross) {
    RelativeRaceGraph gaps(doc, header, drivers, prompts);
    gaps.Face()->resize(800, 500);
    const QImage image = gaps.Picture();
    const RaceGraph& g = gaps.Graph();
    ASSERT_EQ(g.series.size(), 4u);  // no pace car
    const RaceGraphLayout layout(image.rect(), g);
    // The first car over line 1 holds the zero line until the overtake.
    EXPECT_TRUE(Near(image, layout.PointAt(0.5, 0.0), Of(g.series[1])));
    // Driver 1 falls 0.25 s a lap behind him.
    EXPECT_TRUE(Near(image, layout.PointAt(0.5, -0.125), Of(g.series[2])));
    EXPECT_FALSE(Near(image, layout.PointAt(0.5, -0.125), Of(g.series[1])));
    EXPECT_TRUE(Near(image, layout.PointAt(2.5, 0.0), Of(g.series[0])));

    GraphicalRaceReport places(doc, header, drivers, prompts);
    places.Face()->resize(800, 500);
    const QImage p = places.Picture();
    const RaceGraphLayout at(p.rect(), places.Graph());
    const RaceGraph& pg = places.Graph();
    // The overtaker climbs from fourth to first between lines 1 and 2.
    EXPECT_TRUE(Near(p, at.PointAt(1.0, 4.0), Of(pg.series[0])));
    EXPECT_TRUE(Near(p, at.PointAt(2.5, 1.0), Of(pg.series[0])));
    EXPECT_TRUE(Near(p, at.PointAt(2.5, 2.0), Of(pg.series[1])));
}

TEST_F(RaceGraphPicture, SavedBmpReloadsAsThePicture) {
    GraphicalRaceReport places(doc, header, drivers, prompts);
    places.Face()->resize(333, 401);  // rows that need padding
    const std::filesystem::path file = scratch.path() / "places.bmp";
    prompts.saveFileAnswer(scratch.path() / "places");
    places.OnSaveAsBmp();
    ASSERT_TRUE(std::filesystem::exists(file));
    const QImage back(QString::fromStdString(file.string()));
    EXPECT_EQ(back.depth(), 32);  // Qt reads 24-bit files into 32-bit images
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), places.Picture());

    prompts.saveFileAnswer(scratch.path() / "missing" / "x.bmp");
    places.OnSaveAsBmp();
    EXPECT_EQ(prompts.messages().back(), "Error creating file!");
}

}  // namespace
}  // namespace vra::testing
