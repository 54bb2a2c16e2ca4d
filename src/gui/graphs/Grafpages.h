#pragma once
// The two pages of channel buttons in the telemetry graph dialog. A page
// that becomes visible while the other page chose the channel shows no
// button ticked, so only the page that chose it shows a tick.

#include "core/graphs/ChannelTable.h"

#include <QButtonGroup>
#include <QWidget>

#include <functional>

class QRadioButton;

namespace vra {

class Grafpage : public QWidget {
    Q_OBJECT
public:
    // code: the channel of the button clicked.
    using Chosen = std::function<void(int code)>;
    Grafpage(ChannelPage page, QWidget* parent);
    void SetChosen(Chosen chosen) { chosen_ = std::move(chosen); }
    QRadioButton* Button(int controlId) const;
    ChannelPage Page() const { return page_; }
    // The dialog's active page: 1 Basic, 2 Advanced.
    void OnSetActive(int activePage);
    void UncheckAll();

private:
    ChannelPage page_;
    QButtonGroup group_;
    Chosen chosen_;
};

class Grafpage_Basic : public Grafpage {
    Q_OBJECT
public:
    explicit Grafpage_Basic(QWidget* parent) : Grafpage(ChannelPage::Basic, parent) {}
};

class Grafpage_Advanced : public Grafpage {
    Q_OBJECT
public:
    explicit Grafpage_Advanced(QWidget* parent) : Grafpage(ChannelPage::Advanced, parent) {}
};

}  // namespace vra
