#include "gui/platform/Cp1252.h"

#include <gtest/gtest.h>

using namespace vra;

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = Cp1252ToQString(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(QStringToCp1252(text), all);
}

TEST(Cp1252, TheWindowsCharactersAboveAscii) {
    EXPECT_EQ(Cp1252ToQString("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(Cp1252ToQString("\x93Qual\x94"), QString::fromUtf8("\u201CQual\u201D"));
    EXPECT_EQ(Cp1252ToQString("caf\xE9"), QString::fromUtf8("caf\u00E9"));
    EXPECT_EQ(Cp1252ToQString("\x9F"), QString(QChar(0x0178)));
    EXPECT_EQ(QStringToCp1252(QString::fromUtf8("\u20AC 5 \u2013 6")), "\x80 5 \x96 6");
}

TEST(Cp1252, CharactersItLacksBecomeQuestionMarks) {
    EXPECT_EQ(QStringToCp1252(QString::fromUtf8("\u65E5\u672C x \u0394")), "?? x ?");
    EXPECT_EQ(QStringToCp1252(QString::fromUtf8("\U0001F600")), "??") << "one per UTF-16 unit";
}
