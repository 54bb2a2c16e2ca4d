#include "gui/replay/ChooserSound.h"

#include <QFile>
#include <gtest/gtest.h>

namespace vra {

TEST(ChooserSound, IsAShortWaveOfOurOwnAndPlaysWithoutAnAudioDevice) {
    QFile file(QString::fromLatin1(kChooserSoundResource));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    ASSERT_GT(wav.size(), 44);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(wav.mid(8, 4), "WAVE");
    EXPECT_LT(wav.size(), 64 * 1024) << "a short sound, not a recording";

    // The test machine has no sound card: playing must neither fail nor block.
    PlayChooserSound();
    PlayChooserSound();
}

}  // namespace vra
