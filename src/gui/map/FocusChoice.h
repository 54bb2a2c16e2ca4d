#pragma once
// The focus settings both playback bars offer: "Manual", "Focus Leader" and
// "Focus Driver:" above the list of drivers, the leader chosen and the list
// off until a driver is.

#include <QBoxLayout>
#include <QComboBox>
#include <QRadioButton>

#include <tuple>

namespace vra {

// Adds the three choices and the list to layout: manual, leader, driver, list.
inline std::tuple<QRadioButton*, QRadioButton*, QRadioButton*, QComboBox*> AddFocusChoice(QBoxLayout& layout) {
    auto* manual = new QRadioButton(QObject::tr("Manual"));
    auto* leader = new QRadioButton(QObject::tr("Focus Leader"));
    auto* driver = new QRadioButton(QObject::tr("Focus Driver:"));
    auto* list = new QComboBox;
    list->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(manual), static_cast<QWidget*>(leader), static_cast<QWidget*>(driver),
                       static_cast<QWidget*>(list)})
        layout.addWidget(w);
    leader->setChecked(true);
    return {manual, leader, driver, list};
}

}  // namespace vra
