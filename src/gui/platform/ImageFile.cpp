#include "gui/platform/ImageFile.h"

#include "core/base/AtomicFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>

#include <filesystem>
#include <span>
#include <system_error>

namespace vra {

bool SaveImageFile(const QImage& image, const QString& path, const char* format, std::string* reason) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) {
        if (reason) *reason = "the picture cannot be encoded";
        return false;
    }
    std::error_code ec;
    const std::span data(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    if (!WriteFileAtomic(std::filesystem::path(QFile::encodeName(path).toStdString()), data, &ec)) {
        if (reason) *reason = ec.message();
        return false;
    }
    return true;
}

}  // namespace vra
