#include "gui/graphs/TimeDiffForGraph.h"

#include "gui/widgets/DialogUnits.h"

#include <QGroupBox>
#include <QLabel>

namespace vra {

TimeDiffForGraph::TimeDiffForGraph(QWidget* owner) : QDialog(owner) {
    // The small window's texts in the small dialog font its layout was made for.
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);
    const DialogUnits Dlu(*this);
    setWindowTitle(tr("Time Difference Info"));
    setWindowFlag(Qt::Tool);
    setFixedSize(Dlu(0, 0, 121, 71).size());
    group_ = new QGroupBox(QStringLiteral(" "), this);
    group_->setGeometry(Dlu(4, 3, 114, 61));
    const char* names[] = {"At finish line:", "Max ahead:", "Max behind:", "Spread:", "At current pos:"};
    for (int i = 0; i < 5; ++i) {
        auto* name = new QLabel(tr(names[i]), this);
        name->setGeometry(Dlu(8, 13 + 10 * i, i == 4 ? 56 : 55, 8));
        values_[i] = new QLabel(this);
        values_[i]->setGeometry(Dlu(i == 4 ? 65 : 64, 13 + 10 * i, 46, 8));
    }
}

void TimeDiffForGraph::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placed_ || !parentWidget()) return;
    placed_ = true;
    const QRect owner = parentWidget()->frameGeometry();
    const QRect mine = frameGeometry();
    move(owner.right() - mine.width() + 1, owner.bottom() - mine.height() + 1);
}

void TimeDiffForGraph::SetGroupText(const QString& text) {
    group_->setTitle(text);
}
QString TimeDiffForGraph::GroupText() const {
    return group_->title();
}

void TimeDiffForGraph::SetText(int id, const QString& text) {
    if (id >= 1037 && id <= 1041) values_[id - 1037]->setText(text);
}

QString TimeDiffForGraph::Text(int id) const {
    return id >= 1037 && id <= 1041 ? values_[id - 1037]->text() : QString();
}

}  // namespace vra
