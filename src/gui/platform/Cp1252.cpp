#include "gui/platform/Cp1252.h"

#include <QFile>

#include <array>

namespace vra {

namespace {

// 0x80..0x9F; the five bytes without a character keep the C1 control of the
// same value, as Windows does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t ToUnicode(unsigned char b) {
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char16_t{b};
}

}  // namespace

QString Cp1252ToQString(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) out.append(QChar(ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

std::string QStringToCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (std::size_t i = 0; i < kHigh.size(); ++i) {
            if (kHigh[i] == u) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

QString FileNameToQString(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string QStringToFileName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

QString ShownTextToQString(const ShownText& text) {
    QString out;
    for (const ShownText::Part& p : text.Parts())
        out += p.fileName ? FileNameToQString(p.bytes) : Cp1252ToQString(p.bytes);
    return out;
}

}  // namespace vra
