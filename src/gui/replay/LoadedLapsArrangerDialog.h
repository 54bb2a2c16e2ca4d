#pragma once
// Reorders and removes the loaded laps; the document changes only on OK.

#include "core/laps/LoadedLapsArranger.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace vra {

class CRpyGraphDoc;

class LoadedLapsArrangerDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoadedLapsArrangerDialog(CRpyGraphDoc& doc, QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* UpButton() const { return up_; }
    QPushButton* DownButton() const { return down_; }

public slots:
    void accept() override;

private:
    std::optional<int> Selected() const;
    void Fill(std::optional<int> select);

    LoadedLapsArranger arranger_;
    QTreeWidget* list_;
    QPushButton* remove_;
    QPushButton* up_;
    QPushButton* down_;
};

}  // namespace vra
