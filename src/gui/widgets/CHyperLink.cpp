#include "gui/widgets/CHyperLink.h"

#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>

#include <string>

namespace vra {

namespace {

// The desktop reports no reason when nothing opens a target; the nearest
// reason of the list is that nothing is associated with it.
constexpr int kNoAssociation = 31;

}  // namespace

CHyperLink::CHyperLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    target_ = text;
    ApplyStyle();
}

void CHyperLink::SetURL(const QString& target) {
    target_ = target;
    if (text().isEmpty()) setText(target_);
    setToolTip(target_);
    SizeToText();
}

void CHyperLink::SetLinkStyle(int flags) {
    style_ = flags;
    ApplyStyle();
}

void CHyperLink::ApplyStyle() {
    QFont linkFont = font();
    linkFont.setUnderline((style_ & Underline) != 0);
    setFont(linkFont);
    if (style_ & NoHandCursor)
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
    setFocusPolicy((style_ & GetFocusOnClick) ? Qt::ClickFocus : Qt::NoFocus);
    setToolTip(target_);
    SizeToText();
    UpdateColour();
}

void CHyperLink::SizeToText() {
    if (!(style_ & AutoSize)) return;
    const QRect old = geometry();
    const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text()) +
                       QSize(2 * frameWidth() + 2 * margin(), 2 * frameWidth() + 2 * margin());
    QRect r(old.topLeft(), text);
    if (alignment() & Qt::AlignHCenter)
        r.moveLeft(old.left() + (old.width() - text.width()) / 2);
    else if (alignment() & Qt::AlignRight)
        r.moveRight(old.right());
    if (alignment() & Qt::AlignVCenter) r.moveTop(old.top() + (old.height() - text.height()) / 2);
    setGeometry(r);
}

QColor CHyperLink::CurrentColour() const {
    if (over_ && (style_ & UseHover)) return QColor::fromRgb(kHoverColour);
    if (!(style_ & IgnoreActive) && active_) return QColor::fromRgb(kActiveColour);
    return QColor::fromRgb(visited_ ? kVisitedColour : kLinkColour);
}

void CHyperLink::SetParentTextColour(const QColor& colour) {
    parentTextColour_ = colour;
    UpdateColour();
}

void CHyperLink::UpdateColour() {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, parentTextColour_.isValid() ? parentTextColour_ : CurrentColour());
    setPalette(p);
    update();
}

bool CHyperLink::OpenURL(const QString& target) {
    if (!shell_) return false;
    // Targets are ours (web and mail addresses) or paths the program knows;
    // the shell takes the program's single-byte text.
    const QByteArray bytes = target.toLatin1();
    return shell_->open(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void CHyperLink::Open() {
    if (OpenURL(target_)) {
        visited_ = true;
        UpdateColour();
        return;
    }
    QApplication::beep();
    ShowOpenError(kNoAssociation);
}

QString CHyperLink::OpenErrorText(int code) {
    switch (code) {
        case 0:
            return QStringLiteral("The operating system is out\nof memory or resources.");
        case 2:
            return QStringLiteral("The specified file was not found.");
        case 3:
            return QStringLiteral("The specified path was not found.");
        case 5:
            return QStringLiteral("The operating system denied\naccess to the specified file.");
        case 8:
            return QStringLiteral("There was not enough memory to complete the operation.");
        case 11:
            return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
        case 26:
            return QStringLiteral("A sharing violation occurred. ");
        case 27:
            return QStringLiteral("The filename association is\nincomplete or invalid.");
        case 28:
            return QStringLiteral("The DDE transaction could not\nbe completed because the request timed out.");
        case 29:
            return QStringLiteral("The DDE transaction failed.");
        case 30:
            return QStringLiteral(
                "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.");
        case 31:
            return QStringLiteral("There is no application associated\nwith the given filename extension.");
        case 32:
            return QStringLiteral("The specified dynamic-link library was not found.");
        default:
            return QStringLiteral("Unknown Error (%1) occurred.").arg(code);
    }
}

void CHyperLink::ShowOpenError(int code) {
    const QString text = QStringLiteral("Can't open link:\n\n") + OpenErrorText(code);
    if (prompts_) {
        const QByteArray bytes = text.toLatin1();
        prompts_->message(std::string_view(bytes.constData(), std::size_t(bytes.size())), {}, vra::Icon::Warning,
                          vra::Buttons::Ok);
        return;
    }
    QMessageBox::warning(this, QApplication::applicationDisplayName(), text);
}

void CHyperLink::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    over_ = true;
    UpdateColour();
}

void CHyperLink::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    over_ = false;
    UpdateColour();
}

void CHyperLink::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    event->accept();
    if (style_ & GetFocusOnClick) setFocus(Qt::MouseFocusReason);
    if (style_ & DownClick) Open();
    active_ = true;
    UpdateColour();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    // Only the active state counts, so a press on the link released beside
    // it still opens the link.
    if (active_ && !(style_ & DownClick)) Open();
}

void CHyperLink::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        event->accept();
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CHyperLink::focusInEvent(QFocusEvent* event) {
    QLabel::focusInEvent(event);
    active_ = true;
    UpdateColour();
}

void CHyperLink::focusOutEvent(QFocusEvent* event) {
    QLabel::focusOutEvent(event);
    active_ = false;
    over_ = false;
    UpdateColour();
}

}  // namespace vra
