#include "gui/replay/ChooserSound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace vra {

void PlayChooserSound() {
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    // One effect for the program's life, so that a second click does not
    // load the sound again; the application owns and deletes it.
    static QSoundEffect* effect = [] {
        auto* e = new QSoundEffect(QCoreApplication::instance());
        e->setSource(QUrl(QStringLiteral("qrc") + QString::fromLatin1(kChooserSoundResource)));
        e->setVolume(0.6f);
        return e;
    }();
    effect->play();
}

}  // namespace vra
