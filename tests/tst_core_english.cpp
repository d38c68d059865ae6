// What the core says reaches the user in the interface language: each source
// text, nested ones too, is looked up, values stay as they are, and lists
// that find their columns by header still find them once the headers are
// translated.

#include "base/QualityIndex.h"
#include "blend/Diagnose.h"
#include "export/ListLayouts.h"
#include "history/PlanAnalysis.h"

#include <QCoreApplication>
#include <QHash>
#include <QTest>
#include <QTranslator>

#include <functional>

namespace {

// A translation of a few of the core's texts.
class English : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char* = nullptr, int = -1) const override
    {
        return QLatin1String(context) == QLatin1String("CoreText") ? words_.value(QString::fromUtf8(source)) : QString();
    }
    bool isEmpty() const override { return false; }

private:
    QHash<QString, QString> words_{
        {QStringLiteral("灰分"), QStringLiteral("Ash")},
        {QStringLiteral("差一铲"), QStringLiteral("One shovel off")},
        {QStringLiteral("%1时%2%3"), QStringLiteral("%1: %2%3")},
        {QStringLiteral("%1可达 %2，比上限 %3 高 %4"), QStringLiteral("%1 can reach %2, %4 above the upper bound %3")},
        {QStringLiteral("%1；%2"), QStringLiteral("%1; %2")},
        {QStringLiteral("%1上限 %2"), QStringLiteral("%1 upper bound %2")},
        {QStringLiteral("%1 低于所选煤能达到的最低值 %2"),
         QStringLiteral("%1 is below the lowest value the chosen coals can reach, %2")},
        {QStringLiteral("每铲重量"), QStringLiteral("Tons per shovel")},
    };
};

Mei Coal(const char* name, const char* ash, double price)
{
    Mei coal;
    coal.MingCheng = QString::fromUtf8(name);
    coal.HuiFen = QString::fromUtf8(ash);
    coal.JiaGe = price;
    return coal;
}

int ShovelColumn()
{
    ListData list;
    SetupCoalColumns(list);
    return FindShovelColumn(list);
}

}  // namespace

using Speech = std::function<QString()>;
Q_DECLARE_METATYPE(Speech)

class CoreEnglishTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saysItInEnglish_data();
    void saysItInEnglish();
};

void CoreEnglishTest::saysItInEnglish_data()
{
    QTest::addColumn<Speech>("say");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("english");

    const std::vector<OffBreak> breaks{
        {6, BoundSide::Upper, 12.0, 14.0, 2.0, {}},
        {6, BoundSide::Upper, 12.0, 13.5, 1.5, {}},
    };
    QTest::newRow("nested texts, values as they stand")
        << Speech([breaks] { return OffSentence(breaks).words(); })
        << QStringLiteral("差一铲时灰分可达 14.00，比上限 12 高 2.00；灰分可达 13.50，比上限 12 高 1.50")
        << QStringLiteral("One shovel off: Ash can reach 14.00, 2.00 above the upper bound 12; "
                          "Ash can reach 13.50, 1.50 above the upper bound 12");

    ModelInput input;
    input.coals = {Coal("甲", "8.5", 500), Coal("乙", "9.2", 600)};
    input.upper[6] = QStringLiteral("8.0");
    QTest::newRow("diagnosis")
        << Speech([input] {
               const Result<NoPlanDiagnosis> d = DiagnoseNoPlan(input, 10);
               return d && !d->conflictSentences.empty() ? d->conflictSentences.front().words() : d.message();
           })
        << QStringLiteral("灰分上限 8.0 低于所选煤能达到的最低值 8.50")
        << QStringLiteral("Ash upper bound 8.0 is below the lowest value the chosen coals can reach, 8.50");

    // The shovel column is found by its header, in either language.
    const int shovel = 2 + kIndexCount + 1;
    QTest::newRow("column found by its translated header")
        << Speech([] { return QString::number(ShovelColumn()); })
        << QString::number(shovel) << QString::number(shovel);
}

void CoreEnglishTest::saysItInEnglish()
{
    QFETCH(Speech, say);
    QFETCH(QString, chinese);
    QFETCH(QString, english);
    QCOMPARE(say(), chinese);
    English translator;
    QCoreApplication::installTranslator(&translator);
    const QString said = say();
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(said, english);
    QCOMPARE(say(), chinese);
}

QTEST_GUILESS_MAIN(CoreEnglishTest)
#include "tst_core_english.moc"
