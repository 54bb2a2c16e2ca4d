#include "gui/graphs/TractionCircle.h"

#include "core/document/DocumentColours.h"
#include "gui/graphs/CSelectionSliderCtrl.h"
#include "gui/graphs/TransparentBlit.h"
#include "gui/reports/CAutoRichEditCtrl.h"

#include "support/document/LapDocument.h"

#include "PictureProbe.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>

namespace vra::test {
namespace {

QColor GraphColour(int k) {
    const Rgb c = kGraphColours[std::size_t(k)];
    return QColor(c.red, c.green, c.blue);
}

TEST(TransparentBlit, LeavesOutTheKeyColour) {
    QImage target(40, 20, QImage::Format_RGB32);
    target.fill(Qt::red);
    QImage source(40, 20, QImage::Format_RGB32);
    source.fill(Qt::blue);
    {
        QPainter p(&target);
        TransparentBlit(p, target.rect(), source, source.rect(), Qt::blue);
    }
    EXPECT_EQ(CountColour(target, Qt::red), 800);
    QPainter(&source).fillRect(0, 0, 10, 20, Qt::green);
    {
        QPainter p(&target);
        TransparentBlit(p, target.rect(), source, source.rect(), Qt::blue);
    }
    EXPECT_EQ(ColourExtent(target, Qt::green), QRect(0, 0, 10, 20));
    EXPECT_EQ(CountColour(target, Qt::red), 600);
}

TEST(SelectionSlider, ShiftKeysSelectAndAPlainMoveClears) {
    CSelectionSliderCtrl slider;
    slider.resize(300, 24);
    slider.setRange(0, 1000);
    slider.setValue(100);
    bool shift = true;
    slider.SetShiftSource([&] { return shift; });
    slider.SetEnableSelRange(true);
    for (int k = 0; k < 20; ++k) QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(slider.SelectionStart(), 100);
    EXPECT_EQ(slider.SelectionEnd(), 120);
    // Each key press ends its move; with Shift still down the anchor holds.
    QTest::keyClick(&slider, Qt::Key_Left);
    QTest::keyClick(&slider, Qt::Key_Left);
    EXPECT_EQ(slider.SelectionStart(), 100);
    EXPECT_EQ(slider.SelectionEnd(), 118);
    shift = false;
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(slider.SelectionEnd(), -1);

    // Without the selection style the keys only move the thumb.
    CSelectionSliderCtrl plain;
    plain.setRange(0, 1000);
    plain.SetShiftSource([] { return true; });
    QTest::keyClick(&plain, Qt::Key_Right);
    EXPECT_EQ(plain.value(), 1);
    EXPECT_EQ(plain.SelectionEnd(), -1);
}

class TractionDialog : public ::testing::Test {
protected:
    void Open(bool withTrack = true) {
        lapDoc_ = std::make_unique<LapDocument>("traction", withTrack);
        lapDoc_->builder.desc.lateral = [](int, double ms) { return 4.0 * std::sin(ms / 2500.0) - 1.0; };
        lapDoc_->Open();
        lapDoc_->AddLap(0, 2);
        lapDoc_->AddLap(1, 3);
        ASSERT_EQ(lapDoc_->doc->LapCount(), 2);
        dialog_ = std::make_unique<TractionCircle>(*lapDoc_->doc);
        dialog_->Slider()->SetShiftSource([this] { return shift_; });
    }
    int Lap(int slot) const { return CountColour(dialog_->PlotPicture(), GraphColour(slot)); }

    std::unique_ptr<LapDocument> lapDoc_;
    std::unique_ptr<TractionCircle> dialog_;
    bool shift_ = false;
};

TEST_F(TractionDialog, PlotsTheTickedLapsOverTheChosenStretch) {
    Open();
    const int length = dialog_->Slider()->maximum();
    EXPECT_GT(length, 1000);
    EXPECT_EQ(dialog_->EndValue()->text().toInt(), length);
    EXPECT_TRUE(dialog_->LapBox(1)->text().startsWith("A Morgan "));
    EXPECT_EQ(dialog_->LapBox(1)->palette().color(QPalette::WindowText), GraphColour(0));
    for (int lap = 1; lap <= 5; ++lap) EXPECT_FALSE(dialog_->LapBox(lap)->isChecked());
    EXPECT_TRUE(dialog_->LapBox(2)->isEnabled());
    for (int lap = 3; lap <= 5; ++lap) EXPECT_TRUE(dialog_->LapBox(lap)->isHidden());

    // Nothing ticked: the cross only.
    const QColor cross(66, 0, 0);
    const int crossOnly = CountColour(dialog_->PlotPicture(), cross);
    EXPECT_GT(crossOnly, 0);
    const int labels = Lap(0);  // the labels are red like lap 1
    EXPECT_EQ(Lap(1), 0);
    dialog_->CirclesBox()->setChecked(true);
    EXPECT_GT(CountColour(dialog_->PlotPicture(), cross), crossOnly + 1000);

    dialog_->LapBox(1)->setChecked(true);
    dialog_->LapBox(2)->setChecked(true);
    EXPECT_GT(Lap(0), labels);
    EXPECT_GT(Lap(1), 0);
    EXPECT_FALSE(dialog_->TimeValue(1)->isHidden());
    // The whole lap takes about its lap time.
    EXPECT_NEAR(dialog_->TimeValue(1)->text().toDouble(), 46.0, 0.1);
    const QImage car = dialog_->PlotPicture();
    dialog_->TravelFrameButton()->setChecked(true);
    EXPECT_NE(car, dialog_->PlotPicture());

    // A Shift drag of the thumb from the start to 600 m: it anchors at the
    // first position it tracks.
    dialog_->Slider()->setValue(0);
    shift_ = true;
    dialog_->Slider()->setSliderDown(true);
    dialog_->Slider()->setSliderPosition(1);
    dialog_->Slider()->setSliderPosition(600);
    dialog_->Slider()->setSliderDown(false);
    EXPECT_EQ(dialog_->StartValue()->text(), "1");
    EXPECT_EQ(dialog_->EndValue()->text(), "600");
    EXPECT_EQ(dialog_->LengthValue()->text(), "599");
    const double part = dialog_->TimeValue(1)->text().toDouble();
    EXPECT_GT(part, 1.0);
    EXPECT_LT(part, 40.0);
    // Without Shift the metre before the thumb.
    shift_ = false;
    dialog_->Slider()->setSliderPosition(700);
    EXPECT_EQ(dialog_->StartValue()->text(), "699");
    EXPECT_EQ(dialog_->EndValue()->text(), "700");

    dialog_->LapBox(2)->setChecked(false);
    EXPECT_TRUE(dialog_->TimeValue(2)->isHidden());
}

TEST_F(TractionDialog, TrackMapMarksTheStretchAndShowsNoBlue) {
    Open();
    const int white = CountColour(dialog_->TrackPicture(), Qt::white);
    EXPECT_GT(white, 0);  // all of the track is marked
    shift_ = true;
    dialog_->Slider()->setValue(0);
    dialog_->Slider()->setSliderDown(true);
    dialog_->Slider()->setSliderPosition(1);
    dialog_->Slider()->setSliderPosition(200);
    dialog_->Slider()->setSliderDown(false);
    EXPECT_LT(CountColour(dialog_->TrackPicture(), Qt::white), white / 2);
    EXPECT_GT(CountColour(dialog_->TrackPicture(), Qt::black), 0);

    // A stretch of no length at the track's very end marks what it can and
    // never throws out of the drawing.
    const int length = dialog_->Slider()->maximum();
    dialog_->Slider()->SetSelection(length, length);
    EXPECT_NO_THROW(emit dialog_->Slider()->scrolled());
    EXPECT_EQ(dialog_->StartValue()->text().toInt(), length);
    EXPECT_EQ(dialog_->LengthValue()->text(), "0");

    dialog_->resize(900, 700);
    dialog_->show();
    QApplication::processEvents();
    const QImage shown = dialog_->TrackFrame()->grab().toImage();
    EXPECT_EQ(CountColour(shown, QColor(0, 0, 255)), 0);
    EXPECT_EQ(dialog_->TrackPicture().size(), dialog_->TrackFrame()->size());
    EXPECT_EQ(dialog_->PlotPicture().size(), dialog_->PlotFrame()->size());
}

TEST_F(TractionDialog, OpensWithoutATrackAndHelpOpensOnce) {
    Open(false);
    EXPECT_GT(dialog_->Slider()->maximum(), 1000);
    EXPECT_EQ(CountColour(dialog_->TrackPicture(), QColor(0, 0, 255)),
              dialog_->TrackPicture().width() * dialog_->TrackPicture().height());
    dialog_->LapBox(1)->setChecked(true);
    EXPECT_FALSE(dialog_->TimeValue(1)->text().isEmpty());

    EXPECT_EQ(dialog_->Help(), nullptr);
    dialog_->HelpButton()->click();
    TractionCircleHelp* help = dialog_->Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    // The page is the program's own rich text: its heading in bold.
    auto* page = help->findChild<CAutoRichEditCtrl*>(QStringLiteral("HelpText"));
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->toPlainText().startsWith(QStringLiteral("Reading the traction circle\n")));
    QTextCursor at(page->document());
    at.setPosition(3);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    help->hide();
    dialog_->HelpButton()->click();
    EXPECT_EQ(dialog_->Help(), help);
    EXPECT_TRUE(help->isVisible());
}

}  // namespace
}  // namespace vra::test
