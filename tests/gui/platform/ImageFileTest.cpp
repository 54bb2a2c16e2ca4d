#include "gui/platform/ImageFile.h"

#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vra;

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A picture no encoder shrinks much, so that it is large on the disk.
QImage Noise(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    quint32 x = 12345;
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < w; ++i) {
            x = x * 1664525u + 1013904223u;
            image.setPixel(i, y, x >> 8);
        }
    return image;
}

}  // namespace

TEST(ImageFile, APictureIsReplacedWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    const QImage small = Noise(8, 8);
    ASSERT_TRUE(SaveImageFile(small, path, "PNG"));
    EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), small) << "what was written reads back";
    const QByteArray before = Bytes(path);

    // The disk fills while the large picture is written: the earlier one stays.
    std::string why;
    {
        vra::test::FileSizeLimit diskFull(std::uint64_t(before.size()) + 1000);
        ASSERT_TRUE(diskFull.active());
        EXPECT_FALSE(SaveImageFile(Noise(400, 400), path, "PNG", &why));
    }
    EXPECT_EQ(why, std::make_error_code(std::errc::file_too_large).message());
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("shot.png")});

    EXPECT_FALSE(SaveImageFile(QImage(), path, "PNG", &why)) << "nothing to write";
    EXPECT_EQ(Bytes(path), before);
}
