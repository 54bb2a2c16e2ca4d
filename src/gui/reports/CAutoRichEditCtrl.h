#pragma once
// A read-only rich-text control that takes its content as RTF: the text is
// read by the program's own reader into styled runs, so whatever bytes the
// text holds, the control shows only characters and bold, italic and
// underline.

#include <QTextEdit>

#include <string_view>

namespace vra {

class CAutoRichEditCtrl : public QTextEdit {
    Q_OBJECT
public:
    explicit CAutoRichEditCtrl(QWidget* parent = nullptr);
    ~CAutoRichEditCtrl() override;

    // Replaces the content with the runs of an RTF text.
    void SetRTF(std::string_view rtf);
};

}  // namespace vra
