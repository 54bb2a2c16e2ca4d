#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

namespace vra {
class Prompts;
class Shell;

// A text that behaves like a link on a web page: drawn underlined in link
// colours, with a pointing-hand cursor and its target as tooltip; a click
// opens the target (a web address, a mail address or a file) through the
// desktop shell.
class CHyperLink : public QLabel {
    Q_OBJECT
public:
    enum StyleFlag {
        Underline = 1,         // underline the text
        UseHover = 2,          // hover colour while the mouse is over it
        AutoSize = 4,          // size the control to its text
        DownClick = 8,         // open on button down (else on button up)
        GetFocusOnClick = 16,  // take the keyboard focus when clicked
        NoHandCursor = 32,     // keep the normal cursor
        IgnoreActive = 64,     // leave the active state out of the colour
    };
    static constexpr int kDefaultStyle = Underline | AutoSize | GetFocusOnClick;

    static constexpr QRgb kLinkColour = qRgb(0, 0, 255);
    static constexpr QRgb kVisitedColour = qRgb(128, 0, 128);
    static constexpr QRgb kActiveColour = qRgb(0, 128, 128);
    static constexpr QRgb kHoverColour = qRgb(255, 0, 0);

    explicit CHyperLink(const QString& text = {}, QWidget* parent = nullptr);

    // The shell that opens targets and the prompts that report a failure
    // (without prompts a message box does).
    void SetShell(vra::Shell* shell) { shell_ = shell; }
    void SetPrompts(vra::Prompts* prompts) { prompts_ = prompts; }

    // Sets the target; an empty text shows the target instead.
    void SetURL(const QString& target);
    QString GetURL() const { return target_; }
    void SetLinkStyle(int flags);
    int GetLinkStyle() const { return style_; }

    // A text colour the parent paints over the link's own colours; the link
    // keeps following its states, they just no longer show.
    void SetParentTextColour(const QColor& colour);

    bool Visited() const { return visited_; }
    bool Over() const { return over_; }
    bool Active() const { return active_; }
    QColor CurrentColour() const;

    // Opens the target through the shell; true when something took it.
    bool OpenURL(const QString& target);
    // "Can't open link:" and the reason for the error code.
    void ShowOpenError(int code);
    static QString OpenErrorText(int code);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Open();
    void ApplyStyle();
    void SizeToText();
    void UpdateColour();

    vra::Shell* shell_ = nullptr;
    vra::Prompts* prompts_ = nullptr;
    QString target_;
    int style_ = kDefaultStyle;
    QColor parentTextColour_;
    bool active_ = false;
    bool over_ = false;
    bool visited_ = false;
};

}  // namespace vra
