#include "gui/reports/CAutoRichEditCtrl.h"

#include "core/reports/RtfRuns.h"

#include <QTextCharFormat>
#include <QTextCursor>

namespace vra {

CAutoRichEditCtrl::CAutoRichEditCtrl(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
}

CAutoRichEditCtrl::~CAutoRichEditCtrl() = default;

void CAutoRichEditCtrl::SetRTF(std::string_view rtf) {
    clear();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const RtfRun& run : RtfRuns(rtf)) {
        QTextCharFormat format;
        format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(run.italic);
        format.setFontUnderline(run.underline);
        // Paragraph breaks become blocks, so the text wraps as paragraphs.
        const QString text = QString::fromUcs4(run.text.data(), static_cast<qsizetype>(run.text.size()));
        const QStringList paragraphs = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            if (i > 0) cursor.insertBlock();
            if (!paragraphs[i].isEmpty()) cursor.insertText(paragraphs[i], format);
        }
    }
    cursor.endEditBlock();
    moveCursor(QTextCursor::Start);
}

}  // namespace vra
