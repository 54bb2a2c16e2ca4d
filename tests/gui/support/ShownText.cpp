#include "ShownText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTextDocument>

namespace vra::test {

namespace {

QString WithoutMnemonic(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

}  // namespace

QString ShownText(const QAbstractButton& button) {
    return WithoutMnemonic(button.text());
}

QString ShownText(const QGroupBox& group) {
    return WithoutMnemonic(group.title());
}

QString ShownText(const QLabel& label) {
    const Qt::TextFormat format = label.textFormat();
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(label.text()))) {
        QTextDocument document;
        document.setHtml(label.text());
        return document.toPlainText();
    }
    return label.buddy() ? WithoutMnemonic(label.text()) : label.text();
}

}  // namespace vra::test
