#pragma once
// The handicap calculator's window: it can only say why there are no
// handicaps to show.

#include <QDialog>

class QLabel;

namespace vra {

class OrlRank : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kText =
        "Handicaps cannot be calculated: the simulation's player records they need are not read by this program.";

    explicit OrlRank(QWidget* parent = nullptr);

    QLabel* Text() const { return text_; }

private:
    QLabel* text_ = nullptr;
};

}  // namespace vra
