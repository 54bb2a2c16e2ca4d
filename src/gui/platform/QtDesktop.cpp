#include "gui/platform/QtDesktop.h"

#include "gui/platform/Cp1252.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>

namespace vra {

bool QtClipboard::setText(std::string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setText(Cp1252ToQString(text));
    return true;
}

bool QtClipboard::setShownText(const ShownText& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setText(ShownTextToQString(text));
    return true;
}

bool QtShell::open(std::string_view target) {
    if (target.empty()) return false;
    const QString text = Cp1252ToQString(target);
    const bool isAddress = text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
                           text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
                           text.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive);
    // Paths on disk are bytes of the local encoding, not Windows-1252 text.
    const QUrl url = isAddress
                         ? QUrl(text)
                         : QUrl::fromLocalFile(QFile::decodeName(QByteArray(target.data(), qsizetype(target.size()))));
    return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace vra
