#include "gui/graphs/Grafpages.h"

#include "gui/widgets/DialogUnits.h"

#include <QLabel>
#include <QRadioButton>

namespace vra {

Grafpage::Grafpage(ChannelPage page, QWidget* parent) : QWidget(parent), page_(page), group_(this) {
    const DialogUnits Dlu(*this);
    // Not exclusive, so that every button can be unticked at once.
    group_.setExclusive(false);
    int y = 0;
    for (int id : PageControls(page)) {
        const ChannelInfo* c = ChannelByControl(page, id);
        auto* b = new QRadioButton(QString::fromUtf8(c->text.data(), static_cast<int>(c->text.size())), this);
        b->setAutoExclusive(false);
        if (page == ChannelPage::Basic && id == 1254) y = 171;
        b->setGeometry(Dlu(3, y, 99, 8).adjusted(0, 0, 0, 2));
        y += 9;
        group_.addButton(b, id);
        // The hidden suspension button: the channel is reached only by printing.
        if (id == 1251) {
            b->hide();
            b->setEnabled(false);
        }
    }
    if (page == ChannelPage::Advanced) {
        auto* note = new QLabel(tr("*=Value per corner of car"), this);
        note->setGeometry(Dlu(3, 180, 89, 8).adjusted(0, 0, 0, 2));
    }
    connect(&group_, &QButtonGroup::idClicked, this, [this](int id) {
        for (QAbstractButton* b : group_.buttons()) b->setChecked(group_.id(b) == id);
        if (chosen_)
            if (const ChannelInfo* c = ChannelByControl(page_, id)) chosen_(c->code);
    });
}

QRadioButton* Grafpage::Button(int controlId) const {
    return static_cast<QRadioButton*>(group_.button(controlId));
}

void Grafpage::UncheckAll() {
    for (QAbstractButton* b : group_.buttons()) b->setChecked(false);
}

void Grafpage::OnSetActive(int activePage) {
    const int other = page_ == ChannelPage::Basic ? 2 : 1;
    if (activePage == other) UncheckAll();
}

}  // namespace vra
