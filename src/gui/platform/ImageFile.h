#pragma once
// Pictures written to files the way every file is: encoded in memory first,
// then put in place by the atomic writer, so that a failure leaves the
// previous picture as it was instead of a truncated one.

#include <QImage>
#include <QString>

#include <string>

namespace vra {

// Writes image in format ("PNG", "BMP" ...) to path. False when it could not
// be encoded or written; reason, when given, receives why in words.
bool SaveImageFile(const QImage& image, const QString& path, const char* format, std::string* reason = nullptr);

}  // namespace vra
