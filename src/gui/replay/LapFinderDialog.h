#pragma once
// The lap finder: choose a track, filter and sort every valid lap of it from
// the replay folders and the CD databases, copy the table, and load the
// chosen laps into the document.

#include "core/laps/LapFinder.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QMenu;
class QRadioButton;
class QTreeWidget;

namespace vra {

class Clipboard;
class CRpyGraphDoc;
class Volumes;
class WaitBox;

class LapFinderDialog : public QDialog {
    Q_OBJECT
public:
    enum Role { RowRole = Qt::UserRole + 1 };

    LapFinderDialog(CRpyGraphDoc& doc, Volumes& volumes, WaitBox& waitBox, Clipboard& clipboard,
                    QWidget* parent = nullptr);

    QComboBox* Tracks() const { return tracks_; }
    QTreeWidget* List() const { return list_; }
    QLabel* Count() const { return count_; }
    QLabel* Status() const { return status_; }
    QRadioButton* FilterButton(LapFinder::Filter f) const { return filters_[static_cast<std::size_t>(f)]; }
    // The button of a sort mode (1 unsorted .. 8 physics).
    QRadioButton* SortButton(int mode) const { return sorts_[static_cast<std::size_t>(mode - 1)]; }
    // The list's pop-up menu (built on first use).
    QMenu* PopupMenu();
    const LapFinder& Finder() const { return finder_; }

    void OnTrackChosen();
    void OnSort(int mode);
    void OnColumnClick(int column);
    void CopyTableToClipboard();

public slots:
    void accept() override;

private:
    void FillList();
    void CheckSortButton();

    CRpyGraphDoc& doc_;
    Clipboard& clipboard_;
    LapFinder finder_;
    QComboBox* tracks_;
    std::array<QRadioButton*, 3> filters_{};
    std::array<QRadioButton*, 8> sorts_{};
    QLabel* count_;
    QLabel* status_;
    QTreeWidget* list_;
    QMenu* popup_ = nullptr;
};

}  // namespace vra
