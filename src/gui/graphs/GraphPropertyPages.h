#pragma once
// The graph window's "Properties" sheet and its pages: the panel's
// "General" page (range and display checks), "Axis" (names, units and
// decimals of both axes) and "Graphs" (colour, name and visibility of each
// series, edited on copies that OK writes back).

#include "core/graphs/GraphModel.h"
#include "core/graphs/PanelRange.h"

#include <QComboBox>
#include <QDialog>
#include <QStyledItemDelegate>
#include <QWidget>

#include <memory>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace vra {

class GraphPropertyPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // False (after telling the user) keeps the sheet open.
    virtual bool Validate() { return true; }
};

class GraphPropertySheet : public QDialog {
    Q_OBJECT
public:
    explicit GraphPropertySheet(QWidget* parent);
    // The sheet takes the page.
    void AddPage(GraphPropertyPage* page, const QString& title);
    QTabWidget* Tabs() const { return tabs_; }
    void accept() override;

private:
    QTabWidget* tabs_;
    std::vector<GraphPropertyPage*> pages_;
};

class CGraphPropertyPage : public GraphPropertyPage {
    Q_OBJECT
public:
    CGraphPropertyPage(const GraphRange& range, int flags);
    GraphRange Range() const;
    // flags with the point-mark, read-out and grid bits from the checks.
    int ApplyTo(int flags) const;
    bool Validate() override;

private:
    QLineEdit *x1_, *x2_, *y1_, *y2_;
    QCheckBox *marks_, *coordinates_, *grid_;
};

class CAxisPropertyPage : public GraphPropertyPage {
    Q_OBJECT
public:
    CAxisPropertyPage(const GraphAxisInfo& x, const GraphAxisInfo& y);
    bool Validate() override;
    std::string XName() const;
    std::string XUnit() const;
    int XDecimals() const;
    std::string YName() const;
    std::string YUnit() const;
    int YDecimals() const;

private:
    QLineEdit *xDecimals_, *xName_, *xUnit_, *yDecimals_, *yName_, *yUnit_;
};

// A combo of series, each entry a colour swatch and a name, 20 pixels high.
class SeriesItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
// Sets an entry's swatch colour and name.
void SetSeriesEntry(QComboBox& combo, int entry, const CGraphProps& g);

class CGraphicsPropertyPage : public GraphPropertyPage {
    Q_OBJECT
public:
    explicit CGraphicsPropertyPage(GraphModel& graph);
    const std::vector<std::unique_ptr<CGraphProps>>& Copies() const { return copies_; }
    QComboBox* Combo() const { return combo_; }
    void ChooseColour();
    void EditTitle();
    void ToggleHidden();
    void ShowAll();

private:
    void Refresh();
    CGraphProps* Current();

    std::vector<std::unique_ptr<CGraphProps>> copies_;
    QComboBox* combo_;
    QLineEdit* title_;
    QPushButton* hide_;
};

}  // namespace vra
