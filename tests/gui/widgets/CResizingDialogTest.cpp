#include "gui/widgets/CResizingDialog.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <gtest/gtest.h>

namespace vra {

namespace {

// Counts the moves and resizes a control receives.
class MoveCounter : public QObject {
public:
    int moves = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) ++moves;
        return false;
    }
};

// A 300 x 200 dialog with one control per rule.
class SampleDialog : public CResizingDialog {
public:
    SampleDialog() {
        edit = new QLineEdit(this);
        edit->setGeometry(10, 10, 200, 24);
        ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setGeometry(220, 160, 70, 30);
        third = new QLabel(QStringLiteral("third"), this);
        third->setGeometry(100, 50, 60, 20);  // left edge at a third of 300
        fixed = new QLabel(QStringLiteral("fixed"), this);
        fixed->setGeometry(10, 100, 60, 20);
        list = new QLabel(this);
        list->setGeometry(10, 130, 180, 20);
        resize(300, 200);
        OnInitDialog();
        SetControlInfo(edit, Mode::Stretch, Mode::Fixed);
        SetControlInfo(ok, Mode::Move, Mode::Move);
        SetControlInfo(third, Mode::Proportional, Mode::Proportional);
        SetControlInfo(fixed, Mode::Fixed, Mode::Fixed);
        SetControlInfo(list, Mode::Stretch, Mode::Stretch, true);
        fixed->installEventFilter(&fixedMoves);
    }

    void RegisterProportional(QWidget* control) { SetControlInfo(control, Mode::Proportional, Mode::Fixed); }

    QLineEdit* edit;
    QPushButton* ok;
    QLabel* third;
    QLabel* fixed;
    QLabel* list;
    MoveCounter fixedMoves;
};

void ExpectGripInCorner(const CResizingDialog& dialog) {
    const QRect grip = dialog.Grip()->geometry();
    EXPECT_EQ(grip.right(), dialog.width() - 1);
    EXPECT_EQ(grip.bottom(), dialog.height() - 1);
}

}  // namespace

TEST(CResizingDialog, ControlsFollowTheNewSizeByTheirRulesButNeverBelowTheFirstSize) {
    SampleDialog dialog;
    dialog.show();
    EXPECT_TRUE(dialog.Initialised());
    ExpectGripInCorner(dialog);
    dialog.fixedMoves.moves = 0;  // showing places every control once

    dialog.resize(340, 230);
    EXPECT_EQ(dialog.edit->geometry(), QRect(10, 10, 240, 24)) << "stretched by 40";
    EXPECT_EQ(dialog.ok->geometry(), QRect(260, 190, 70, 30)) << "moved by 40 and 30";
    EXPECT_EQ(dialog.list->geometry(), QRect(10, 130, 220, 50)) << "stretched both ways";
    EXPECT_EQ(dialog.fixed->geometry(), QRect(10, 100, 60, 20));
    EXPECT_EQ(dialog.fixedMoves.moves, 0) << "an unchanged control is not touched";
    ExpectGripInCorner(dialog);

    EXPECT_EQ(dialog.minimumSize(), QSize(300, 200));
    dialog.resize(150, 90);
    EXPECT_EQ(dialog.size(), QSize(300, 200));
    EXPECT_EQ(dialog.ok->geometry(), QRect(220, 160, 70, 30));
}

TEST(CResizingDialog, ProportionalControlsKeepTheirFractionAndSize) {
    SampleDialog dialog;
    auto* farEdge = new QLabel(&dialog);
    farEdge->setGeometry(300, 0, 5, 5);
    dialog.RegisterProportional(farEdge);
    dialog.show();
    // The top edge's ratio is 50 / 150; 400 x ratio / (ratio + 1) comes out
    // just under 100 in doubles, so the edge truncates to 99, and to 49 back
    // at the first height.
    const struct {
        QSize size;
        QPoint third;
    } steps[] = {{{600, 400}, {200, 99}}, {{451, 333}, {150, 83}}, {{300, 200}, {100, 49}}};
    for (const auto& step : steps) {
        dialog.resize(step.size);
        EXPECT_EQ(dialog.third->pos(), step.third) << step.size.width();
        EXPECT_EQ(dialog.third->size(), QSize(60, 20));
        EXPECT_EQ(farEdge->x(), step.size.width()) << "a control on the far edge stays on it";
        ExpectGripInCorner(dialog);
    }
    EXPECT_EQ(dialog.edit->geometry(), QRect(10, 10, 200, 24)) << "back at the first size, back in place";
}

}  // namespace vra
