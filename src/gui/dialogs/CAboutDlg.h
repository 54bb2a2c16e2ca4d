#pragma once

#include <QDialog>
#include <QTimer>

#include <array>

class QLabel;

namespace vra {
class CHyperLink;
class Prompts;
class Shell;

// The About box: a black panel with the program's name and version, who made
// it, two small waving flags and two links. A click on the panel closes it.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kAnimationMs = 133;
    static constexpr int kLastCounter = 254;

    explicit CAboutDlg(vra::Shell& shell, vra::Prompts* prompts = nullptr, QWidget* parent = nullptr);

    int Counter() const { return counter_; }
    const QTimer& AnimationTimer() const { return timer_; }
    // The three pictures of each flag, stacked at one place; one shows at a time.
    const std::array<QLabel*, 3>& LeftFlag() const { return left_; }
    const std::array<QLabel*, 3>& RightFlag() const { return right_; }
    CHyperLink* MailLink() const { return mail_; }
    CHyperLink* WebLink() const { return web_; }

public slots:
    // One step of the animation.
    void OnTimer();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* AddText(const QString& name, const QString& text, const QRect& place);
    void ShowPhase(int phase);

    QTimer timer_;
    int counter_ = 0;
    std::array<QLabel*, 3> left_{};
    std::array<QLabel*, 3> right_{};
    CHyperLink* mail_ = nullptr;
    CHyperLink* web_ = nullptr;
};

}  // namespace vra
