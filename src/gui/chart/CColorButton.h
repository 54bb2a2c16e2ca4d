#pragma once
// A push button that shows a colour and opens the colour grid when clicked;
// it tells its parent about every step of the choice.

#include "gui/chart/CColourPopup.h"

#include <QColor>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include <functional>

namespace vra {

class CColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit CColorButton(QWidget* parent = nullptr);

    // An invalid colour is the automatic one, painted in the default colour.
    QColor GetColour() const { return colour_; }
    void SetColour(const QColor& c);
    QColor defaultColour;
    QString defaultText = QStringLiteral("Automatic");
    QString customText = QStringLiteral("More Colors...");
    bool trackSelection = false;
    int id() const { return objectName().toInt(); }
    CColourPopup* popup() const { return popup_; }
    bool popupActive() const { return popupActive_; }

    // The popup reports here.
    void OnSelEndOK(const QColor& c);
    void OnSelEndCancel(const QColor& c);
    void OnSelChange(const QColor& c);

    // The system colour dialog of "More Colors...": the chosen colour, or an
    // invalid one when cancelled.
    std::function<QColor(const QColor& initial, QWidget* owner)> colourDialog;

signals:
    void colourChanged(QColor colour, int id);
    void dropDown(QColor colour, int id);
    void closeUp(QColor colour, int id);
    void selectionAccepted(QColor colour, int id);
    void selectionCancelled(QColor colour, int id);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void OnClicked();
    QColor colour_;
    bool popupActive_ = false;
    QPointer<CColourPopup> popup_;
};

}  // namespace vra
