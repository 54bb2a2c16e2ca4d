#include "gui/chart/ChartDialogKit.h"

#include "core/chart/AxisPageRules.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

namespace vra {

ChartDialogHooks& ChartDialogs() {
    static ChartDialogHooks hooks{
        [](QWidget* parent, const QString& text) { QMessageBox::warning(parent, QString(), text); },
        [](QDialog& d) { return d.exec() == QDialog::Accepted; },
        [](QWidget* parent, QFont& font, QColor* colour) {
            bool ok = false;
            const QFont chosen = QFontDialog::getFont(&ok, font, parent);
            if (!ok) return false;
            font = chosen;
            // The font dialog has no colour: a text colour is asked for apart.
            if (colour) {
                const QColor c = QColorDialog::getColor(colour->isValid() ? *colour : Qt::black, parent);
                if (c.isValid()) *colour = c;
            }
            return true;
        }};
    return hooks;
}

QLineEdit* NumberEdit(QWidget* parent, int id) {
    return Named(new QLineEdit(parent), id);
}

bool ReadInteger(QWidget* page, QLineEdit* edit, long long lo, long long hi, long long& value) {
    if (const auto error = CheckInteger(edit->text().toStdString(), lo, hi, value)) {
        ChartDialogs().message(page, QString::fromStdString(*error));
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

bool ReadNumber(QWidget* page, QLineEdit* edit, double& value) {
    if (const auto error = CheckNumber(edit->text().toStdString(), value)) {
        ChartDialogs().message(page, QString::fromStdString(*error));
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

QIcon PenStyleIcon(int style) {
    QPixmap pm(100, 16);
    pm.fill(Qt::white);
    QPainter p(&pm);
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                               Qt::DashDotDotLine};
    p.setPen(QPen(Qt::black, 1, kStyles[style]));
    p.drawLine(0, 6, 99, 6);
    return QIcon(pm);
}

}  // namespace vra
