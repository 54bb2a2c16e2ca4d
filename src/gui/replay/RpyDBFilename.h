#pragma once
// Asks for the name of a new CD database; the name also tells the user later
// which disc holds the replays.

#include <QDialog>

#include <string>

class QLineEdit;

namespace vra {

class RpyDBFilename : public QDialog {
    Q_OBJECT
public:
    // proposal: shown in the edit at first (Windows-1252 bytes).
    explicit RpyDBFilename(const std::string& proposal, QWidget* parent = nullptr);

    // The edit's text after OK (Windows-1252 bytes).
    const std::string& Name() const { return name_; }
    QLineEdit* Edit() const { return edit_; }

public slots:
    void accept() override;

private:
    QLineEdit* edit_;
    std::string name_;
};

}  // namespace vra
