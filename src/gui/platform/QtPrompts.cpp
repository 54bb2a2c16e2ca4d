#include "gui/platform/QtPrompts.h"

#include "gui/platform/Cp1252.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace vra {

namespace {

QMessageBox::Icon ToQt(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQt(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// Closing the box without a button counts as its way out: Cancel where there
// is one, else No, else OK.
Button Escape(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel:
            return Button::Cancel;
        case Buttons::YesNo:
            return Button::No;
        case Buttons::Ok:
            break;
    }
    return Button::Ok;
}

// "*.rpy" -> "*.[rR][pP][yY]": letters match either case.
QString AnyCase(const QString& pattern) {
    if (pattern == QLatin1String("*.*")) return QStringLiteral("*");
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

}  // namespace

QString QtPrompts::displayText(std::string_view text) {
    QString s = Cp1252ToQString(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

QString QtPrompts::displayText(const ShownText& text) {
    QString s = ShownTextToQString(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

QString QtPrompts::nameFilters(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const auto& f : filters) {
        QStringList patterns;
        for (const QString& p : Cp1252ToQString(f.pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << AnyCase(p.trimmed());
        // The dialog hides this last group and shows the label as written.
        parts << Cp1252ToQString(f.label) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return parts.join(QStringLiteral(";;"));
}

Button QtPrompts::message(std::string_view text, std::string_view caption, Icon icon, Buttons buttons) {
    return messageBox(displayText(text), caption, icon, buttons);
}

Button QtPrompts::messageText(const ShownText& text, std::string_view caption, Icon icon, Buttons buttons) {
    return messageBox(displayText(text), caption, icon, buttons);
}

Button QtPrompts::messageBox(const QString& text, std::string_view caption, Icon icon, Buttons buttons) {
    QMessageBox box(parent_);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setWindowTitle(caption.empty() ? QApplication::applicationDisplayName() : Cp1252ToQString(caption));
    box.setIcon(ToQt(icon));
    box.setStandardButtons(ToQt(buttons));
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Button::Ok;
        case QMessageBox::Cancel:
            return Button::Cancel;
        case QMessageBox::Yes:
            return Button::Yes;
        case QMessageBox::No:
            return Button::No;
        case QMessageBox::Retry:
            return Button::Retry;
        default:
            return Escape(buttons);
    }
}

std::optional<std::filesystem::path> QtPrompts::openFile(const OpenFileRequest& request) {
    const QString folder = QFile::decodeName(QByteArray::fromStdString(request.initialFolder.string()));
    const QString chosen = QFileDialog::getOpenFileName(
        parent_, Cp1252ToQString(request.title), QDir(folder).exists() ? folder : QString(),
        nameFilters(request.filters), nullptr, QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}

std::optional<LapChoice> QtPrompts::chooseLap(const LapChoiceRequest&) {
    return std::nullopt;
}

SettingsDialogResult QtPrompts::editSettings(const SettingsDialogRequest& request) {
    return settingsDialog_ ? settingsDialog_(request) : SettingsDialogResult{};
}

std::optional<std::filesystem::path> QtPrompts::saveFile(const SaveFileRequest& request) {
    const QString folder = QFile::decodeName(QByteArray::fromStdString(request.initialFolder.string()));
    const QDir dir(QDir(folder).exists() ? folder : QDir::currentPath());
    // The default name is replay text, or a file name where it takes one over.
    const QString proposed = dir.filePath(ShownTextToQString(request.defaultName));
    const QString chosen = QFileDialog::getSaveFileName(parent_, QString(), proposed, nameFilters(request.filters),
                                                        nullptr, QFileDialog::HideNameFilterDetails);
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFile::encodeName(chosen).toStdString());
}

int QtPrompts::chooseLoadedLap(const LoadedLapChoiceRequest&) {
    return -1;
}

std::optional<MergeAdvantages> QtPrompts::mergeParameters(const MergeParametersRequest&) {
    return std::nullopt;
}

}  // namespace vra
