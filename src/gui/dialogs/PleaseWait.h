#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;

namespace vra {
class CGradientProgressCtrl;

// The small box without a title bar that asks the user to wait while the
// program works on the user-interface thread: one line of text and a
// gradient progress bar that stays hidden until ShowProgress(). Enter and
// Escape cannot close it; its owner hides it.
class PleaseWait : public QDialog {
    Q_OBJECT
public:
    explicit PleaseWait(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;
    void SetRange(std::int32_t lower, std::int32_t upper);
    void SetPos(std::int32_t position);
    void ShowProgress();
    // Paints the box now: its owner goes on working without a message loop.
    void PaintNow();

    QLabel* TextLabel() const { return text_; }
    CGradientProgressCtrl* Progress() const { return progress_; }

public slots:
    void accept() override {}
    void reject() override {}

private:
    QLabel* text_;
    CGradientProgressCtrl* progress_;
};

}  // namespace vra
