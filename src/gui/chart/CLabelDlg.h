#pragma once
// "Properties" of a text label: colours, font, alignment, border,
// transparency and the curve it points at.

#include "gui/chart/CColorButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>

namespace vra {

class CXGraph;
class CXGraphLabel;

class CLabelDlg : public QDialog {
    Q_OBJECT
public:
    CLabelDlg(CXGraphLabel& label, CXGraph& chart, QWidget* parent = nullptr);
    void Apply();

    CColorButton* background;
    CColorButton* textColour;
    QPushButton* font;
    QComboBox* alignment;
    QComboBox* curve;
    QCheckBox* transparent;
    QCheckBox* border;
    QPushButton *apply, *ok, *cancel;

private:
    CXGraphLabel& label_;
    CXGraph& chart_;
};

}  // namespace vra
