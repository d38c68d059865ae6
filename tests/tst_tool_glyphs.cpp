#include "base/Settings.h"
#include "ui/app/Startup.h"
#include "ui/widgets/Artwork.h"

#include <QtTest>

// The characters drawn on the toolbar tiles: Chinese ones in Chinese, and in
// English never a Chinese character, whichever glyph a window asks for.
class ToolGlyphsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void glyphInEachLanguage_data();
    void glyphInEachLanguage();
};

namespace {

bool HoldsHan(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.script() == QChar::Script_Han; });
}

}  // namespace

void ToolGlyphsTest::cleanup()
{
    InstallLanguage(Settings::kChinese);
}

void ToolGlyphsTest::glyphInEachLanguage_data()
{
    QTest::addColumn<QString>("glyph");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");  // "?": any Latin letter or sign
    // Every glyph the toolbars and the inventory's side panel draw.
    for (const char* glyph : {"库", "史", "算", "退", "计", "选", "清", "配", "添", "编", "删", "导", "网", "表", "装",
                              "印", "原", "精"}) {
        QTest::addRow("%s zh", glyph) << QString::fromUtf8(glyph) << Settings::kChinese << QString::fromUtf8(glyph);
        QTest::addRow("%s en", glyph) << QString::fromUtf8(glyph) << Settings::kEnglish << QStringLiteral("?");
    }
    QTest::newRow("Latin stays in English") << QStringLiteral("X") << Settings::kEnglish << QStringLiteral("X");
    // A glyph added without its English leaves the tile plain rather than Chinese.
    QTest::newRow("unknown in English") << QStringLiteral("新") << Settings::kEnglish << QString();
    QTest::newRow("unknown in Chinese") << QStringLiteral("新") << Settings::kChinese << QStringLiteral("新");
}

void ToolGlyphsTest::glyphInEachLanguage()
{
    QFETCH(QString, glyph);
    QFETCH(QString, language);
    QFETCH(QString, expected);
    QVERIFY(InstallLanguage(language));
    const QString shown = Artwork::ToolGlyph(glyph);
    if (expected == QLatin1String("?"))
        QVERIFY2(!shown.isEmpty() && !HoldsHan(shown), qPrintable(shown));
    else
        QCOMPARE(shown, expected);
    QVERIFY(!Artwork::ToolIcon(glyph, Qt::darkBlue).isNull());
}

QTEST_MAIN(ToolGlyphsTest)
#include "tst_tool_glyphs.moc"
