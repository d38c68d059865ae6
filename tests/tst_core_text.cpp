// What the core says as Text: its values fill the source text in one pass,
// and a translation reaches every nested source text.
#include "base/Files.h"
#include "base/Text.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

namespace {

// A translation of two core texts, as a translation file would give them.
class TwoTexts : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "CoreText") != 0)
            return QString();
        const QString text = QString::fromUtf8(source);
        if (text == QStringLiteral("无法写入文件 %1：%2"))
            return QStringLiteral("Cannot write the file %1: %2");
        if (text == QStringLiteral("磁盘空间不足"))
            return QStringLiteral("the disk is full");
        return QString();
    }
};

}  // namespace

Q_DECLARE_METATYPE(Text)

class CoreTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fillsInOnePass_data();
    void fillsInOnePass();
    void wordsTranslateNestedTexts();
};

void CoreTextTest::fillsInOnePass_data()
{
    QTest::addColumn<Text>("text");
    QTest::addColumn<QString>("chinese");
    QTest::newRow("a value holding %1 stays") << CoreText::tr("%1 和 %2", QStringLiteral("%2"), QStringLiteral("甲"))
                                              << QStringLiteral("%2 和 甲");
    QTest::newRow("a value used twice") << CoreText::tr("%1=%1", QStringLiteral("5")) << QStringLiteral("5=5");
    QTest::newRow("nested texts") << CoreText::tr("第%1行的%2", QStringLiteral("3"),
                                                  CoreText::tr("%1（%2）", QStringLiteral("灰分"), QStringLiteral("%1")))
                                  << QStringLiteral("第3行的灰分（%1）");
    QTest::newRow("%n beyond the values stays") << CoreText::tr("%1 %3 %10", QStringLiteral("甲"))
                                                << QStringLiteral("甲 %3 %10");
    QTest::newRow("a datum is no pattern") << Text(QStringLiteral("100%1")) << QStringLiteral("100%1");
}

void CoreTextTest::fillsInOnePass()
{
    QFETCH(Text, text);
    QFETCH(QString, chinese);
    QCOMPARE(text.chinese(), chinese);
    QCOMPARE(text.words(), chinese);  // no translation installed
}

void CoreTextTest::wordsTranslateNestedTexts()
{
    TwoTexts english;
    const Text full = WriteFailedMessage(QStringLiteral("/yard/a.xls"), CoreText::tr("磁盘空间不足"));
    QVERIFY(QCoreApplication::installTranslator(&english));
    const QString words = full.words();
    QCoreApplication::removeTranslator(&english);
    QCOMPARE(full.chinese(), QStringLiteral("无法写入文件 /yard/a.xls：磁盘空间不足"));
    QCOMPARE(words, QStringLiteral("Cannot write the file /yard/a.xls: the disk is full"));
}

QTEST_GUILESS_MAIN(CoreTextTest)
#include "tst_core_text.moc"
