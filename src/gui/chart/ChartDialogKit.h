#pragma once
// What the chart's dialogs share: how they show a message, run a nested
// dialog and ask for a font (replaceable, so the dialogs can be driven
// without a user), and the typed-number checks that keep a page open with
// a message instead of writing a value out of range.

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QLineEdit>
#include <QString>

#include <functional>

namespace vra {

struct ChartDialogHooks {
    std::function<void(QWidget* parent, const QString& text)> message;
    std::function<bool(QDialog& dialog)> run;
    // The chosen font and, when asked for, its colour; false when cancelled.
    std::function<bool(QWidget* parent, QFont& font, QColor* colour)> font;
};

ChartDialogHooks& ChartDialogs();

// A line edit named after its control id.
QLineEdit* NumberEdit(QWidget* parent, int id);
template <typename T>
T* Named(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

// Reads an integer in lo .. hi, or says the range and gives the edit the focus.
bool ReadInteger(QWidget* page, QLineEdit* edit, long long lo, long long hi, long long& value);
bool ReadNumber(QWidget* page, QLineEdit* edit, double& value);

// A sample of line style 0 (solid) to 4 (dash-dot-dot) for the style lists.
QIcon PenStyleIcon(int style);

}  // namespace vra
