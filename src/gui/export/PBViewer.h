#pragma once
// The user's personal bests per track and physics, read from every replay
// he keeps; the records export shows the same table with its export button.

#include "core/export/PersonalBests.h"

#include <QDialog>

class QLabel;
class QTreeWidget;
class QVBoxLayout;

namespace vra {

class CRpyGraphDoc;
class Volumes;
class WaitBox;

class PBViewer : public QDialog {
    Q_OBJECT
public:
    // Scans the replays before the dialog is shown.
    PBViewer(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    QLabel* Unreadable() const { return unreadable_; }
    const PersonalBests& Bests() const { return bests_; }

protected:
    CRpyGraphDoc& doc_;
    PersonalBests bests_;
    QVBoxLayout* layout_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* unreadable_ = nullptr;
};

}  // namespace vra
