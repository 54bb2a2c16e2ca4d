#pragma once
// The window of one text report: the report's text in a fixed font, saved as
// a text file or printed. Shown modally; it reads the report's replay only
// while it is built, so the caller may free the replay afterwards.

#include "core/text/ShownText.h"

#include <QDialog>

#include <string>

class QPlainTextEdit;
class QPrinter;

namespace vra {

class Prompts;
class Report;

class ReportDlg : public QDialog {
    Q_OBJECT
public:
    ReportDlg(const Report& report, Prompts& prompts, QWidget* parent = nullptr);

    // The report's bytes: Windows-1252 text with "\r\n" line ends.
    std::string Text() const { return shown_.Bytes(); }
    QPlainTextEdit* TextBox() const { return box_; }
    // The file name the save dialog proposes.
    const std::string& DefaultFileName() const { return defaultName_; }

    // "Save As...": asks for the file, ".txt" appended when the name lacks it
    // (asking before that replaces a file), and writes the report's bytes; an
    // existing file is replaced only by a complete one.
    void OnSaveAs();
    // "Print...": the print dialog, then the text on as many pages as it takes.
    void OnPrint();
    void PrintTo(QPrinter& printer) const;

private:
    Prompts& prompts_;
    ShownText shown_;
    std::string defaultName_;
    QPlainTextEdit* box_ = nullptr;
};

}  // namespace vra
