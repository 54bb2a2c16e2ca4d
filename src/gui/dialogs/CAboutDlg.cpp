#include "gui/dialogs/CAboutDlg.h"

#include "gui/widgets/CHyperLink.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace vra {

namespace {

constexpr QSize kPanel(327, 254);
constexpr QSize kFlagSize(24, 21);

// A chequered flag on a pole, in white on black; lean -1, 0 or 1 tips the
// cloth up or down so that three pictures make it wave.
QPixmap FlagPicture(int lean) {
    QPixmap picture(kFlagSize);
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setPen(Qt::white);
    p.drawLine(3, 1, 3, 20);
    for (int col = 0; col < 6; ++col) {
        // Each column of the cloth is shifted a little more the further it
        // is from the pole.
        const int shift = lean * col / 2;
        for (int row = 0; row < 4; ++row) {
            if ((row + col) % 2 != 0) continue;
            p.fillRect(QRect(4 + col * 3, 2 + shift + row * 3, 3, 3), Qt::white);
        }
    }
    return picture;
}

// Which of the three pictures shows at each step: both flags swing through
// their pictures and back, in opposite order to each other.
constexpr int kLeftPhase[4] = {0, 1, 2, 1};
constexpr int kRightPhase[4] = {2, 1, 0, 1};

}  // namespace

CAboutDlg::CAboutDlg(vra::Shell& shell, vra::Prompts* prompts, QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(kPanel);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, Qt::black);
    panel.setColor(QPalette::WindowText, Qt::white);
    setPalette(panel);
    setAutoFillBackground(true);

    QLabel* title = AddText(QStringLiteral("title"), QStringLiteral("Velmar Replay Analyzer Version 2.32"),
                            QRect(0, 14, kPanel.width(), 20));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    AddText(QStringLiteral("components"),
            QStringLiteral("Built on the Qt 6 toolkit and the {fmt} formatting library, with tests on "
                           "GoogleTest."),
            QRect(20, 44, kPanel.width() - 40, 56));
    AddText(QStringLiteral("by"), QStringLiteral("by"), QRect(0, 106, kPanel.width(), 16));
    AddText(QStringLiteral("authors"), QStringLiteral("The Velmar Replay Analyzer developers"),
            QRect(0, 124, kPanel.width(), 16));
    AddText(QStringLiteral("thanks"),
            QStringLiteral("Thanks to every driver who sent in replays, bug reports and ideas."),
            QRect(20, 146, kPanel.width() - 40, 36));

    const std::array<QPixmap, 3> pictures{FlagPicture(-1), FlagPicture(0), FlagPicture(1)};
    for (int i = 0; i < 3; ++i) {
        left_[i] = new QLabel(this);
        left_[i]->setPixmap(pictures[i]);
        left_[i]->setGeometry(QRect(QPoint(28, 200), kFlagSize));
        right_[i] = new QLabel(this);
        right_[i]->setPixmap(pictures[i]);
        right_[i]->setGeometry(QRect(QPoint(kPanel.width() - 28 - kFlagSize.width(), 200), kFlagSize));
    }
    ShowPhase(0);

    mail_ = new CHyperLink(QStringLiteral("Write to the developers"), this);
    mail_->setObjectName(QStringLiteral("mailLink"));
    mail_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    mail_->setGeometry(0, 194, kPanel.width(), 18);
    web_ = new CHyperLink(QStringLiteral("Visit the home page"), this);
    web_->setObjectName(QStringLiteral("webLink"));
    web_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    web_->setGeometry(0, 216, kPanel.width(), 18);
    for (CHyperLink* link : {mail_, web_}) {
        link->SetShell(&shell);
        link->SetPrompts(prompts);
    }
    // The panel colours the mail link's text white like its other texts,
    // after the link has chosen its own colour; the web link keeps the link
    // colours.
    mail_->SetParentTextColour(Qt::white);
    mail_->SetURL(QStringLiteral("mailto:replay-analyzer@example.org"));
    web_->SetURL(QStringLiteral("https://example.org/velmar-replay-analyzer/"));

    timer_.setInterval(kAnimationMs);
    connect(&timer_, &QTimer::timeout, this, &CAboutDlg::OnTimer);
}

QLabel* CAboutDlg::AddText(const QString& name, const QString& text, const QRect& place) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(place);
    return label;
}

void CAboutDlg::ShowPhase(int phase) {
    for (int i = 0; i < 3; ++i) {
        left_[i]->setVisible(i == kLeftPhase[phase]);
        right_[i]->setVisible(i == kRightPhase[phase]);
    }
}

void CAboutDlg::OnTimer() {
    ShowPhase(counter_ % 4);
    counter_ = counter_ >= kLastCounter ? 0 : counter_ + 1;
}

void CAboutDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    timer_.start();
}

void CAboutDlg::hideEvent(QHideEvent* event) {
    timer_.stop();
    QDialog::hideEvent(event);
}

void CAboutDlg::mousePressEvent(QMouseEvent* event) {
    // The texts and pictures pass their clicks on to the panel; only the
    // links keep theirs.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

}  // namespace vra
