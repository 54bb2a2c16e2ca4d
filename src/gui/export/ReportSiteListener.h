#pragma once
// The report-site listener: a window without parent that watches the
// simulation's replay folder every two seconds and makes the report site of
// each new race replay, listing what it did. While it is open the program's
// idle commands stay off; closing it gives them back.

#include "core/export/ReplayWatch.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace vra {

class CRpyGraphDoc;

class ReportSiteListener : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 2000;

    // Watches the replay folder of the document's simulation folder; opened
    // now: only replays written from now on are handled.
    explicit ReportSiteListener(CRpyGraphDoc& doc);
    // For tests: the folder listing and the opening time given.
    ReportSiteListener(CRpyGraphDoc& doc, ReplayWatch::ListFolder list, std::int64_t openedNs);
    ~ReportSiteListener() override;

    // One poll at once, as the timer runs it.
    void Poll();

    QLabel* Status() const { return status_; }
    QListWidget* Handled() const { return list_; }
    QPushButton* CloseButton() const { return close_; }
    QTimer& Timer() { return timer_; }

signals:
    // The window was closed: the program's idle commands may come back.
    void closed();

public slots:
    // Every way the window goes ends here: Escape, Close, the window's frame.
    void done(int result) override;

private:
    void build();

    CRpyGraphDoc& doc_;
    std::unique_ptr<ReplayWatch> watch_;
    QTimer timer_;
    QLabel* status_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace vra
