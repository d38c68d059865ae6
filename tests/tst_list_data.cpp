#include "support/TestFolder.h"

#include "base/Mei.h"
#include "base/Settings.h"
#include "data/Dbconnection.h"
#include "export/ListLayouts.h"
#include "history/PlanHistory.h"

#include <QtTest>

class ListDataTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void coalCells_data();
    void coalCells();
    void proportionCells_data();
    void proportionCells();
    void layouts();
    void blendWidth_data();
    void blendWidth();
    void nameBlendColumns_data();
    void nameBlendColumns();
    void fillKeepsColumnsAndReplacesRows();
    void connectionClosedAfterLoad();
    void hideUnusedColumns_data();
    void hideUnusedColumns();
    void planListAndDelete();
};

void ListDataTest::coalCells_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << QVariant(QStringLiteral("0")) << "0";
    QTest::newRow("zero with decimals") << QVariant(QStringLiteral("0.00")) << "0";
    QTest::newRow("empty") << QVariant(QString()) << "";
    QTest::newRow("null") << QVariant() << "";
    QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << "";
    QTest::newRow("three decimals") << QVariant(QStringLiteral("1.234")) << "1.23";
    QTest::newRow("whole") << QVariant(QStringLiteral("2")) << "2.00";
    QTest::newRow("half up") << QVariant(QStringLiteral("12.345")) << "12.35";
}

// The sulphur cell of the coal layout follows the number-to-text rule.
void ListDataTest::coalCells()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    TestFolder tf;
    auto scope = Expect(ConnectionScope::Open(tf.folder()));
    Expect(Execute(QStringLiteral("insert into Lishi_meitan (followid, Name, Liu, JiaGe) values (1, ?, ?, 650)"),
            {QStringLiteral("甲煤"), stored.isValid() ? stored : QVariant(QMetaType::fromType<QString>())}));
    ListData list;
    SetupCoalColumns(list);
    FillCoalRows(list, Expect(LoadPlanView(tf.folder(), 1)).coals);
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(list.cell(0, 1), QStringLiteral("甲煤"));
    QCOMPARE(list.cell(0, list.findColumn(QStringLiteral("硫分"))), shown);
    QCOMPARE(list.cell(0, list.findColumn(QStringLiteral("价格"))), QStringLiteral("650.00"));
}

void ListDataTest::proportionCells_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("33.5 to even") << QVariant(33.5) << "34";
    QTest::newRow("32.5 to even") << QVariant(32.5) << "32";
    QTest::newRow("null") << QVariant() << "0";
    QTest::newRow("whole") << QVariant(60.0) << "60";
}

void ListDataTest::proportionCells()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    TestFolder tf;
    auto scope = Expect(ConnectionScope::Open(tf.folder()));
    Expect(Execute(QStringLiteral("insert into Lishi_Peibibiao (followid, d1, d7, Liu, JiaGe) values (1, 10, ?, '0.5', 612.345)"),
            {stored.isValid() ? stored : QVariant(QMetaType::fromType<double>())}));
    ListData list;
    SetupBlendColumns(list, 1366);
    FillBlendRows(list, Expect(LoadPlanView(tf.folder(), 1)).blends);
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(list.cell(0, 1), QStringLiteral("10"));
    QCOMPARE(list.cell(0, 7), shown);
    QCOMPARE(list.cell(0, 2), QStringLiteral("0"));
    QCOMPARE(list.cell(0, list.findColumn(QStringLiteral("硫分"))), QStringLiteral("0.50"));
    QCOMPARE(list.cell(0, 26), QStringLiteral("612.35"));
}

void ListDataTest::layouts()
{
    ListData coal;
    SetupCoalColumns(coal);
    QCOMPARE(coal.columnCount(), kCoalColumnCount);
    QCOMPARE(coal.columns[0].header, QStringLiteral("编号"));
    QCOMPARE(coal.columns[0].width, 800);
    QCOMPARE(coal.columns[1].width, 1800);
    QCOMPARE(coal.columns[10].header, QStringLiteral("挥vdaf"));
    QCOMPARE(coal.columns[11].header, QStringLiteral("粘结G"));
    QCOMPARE(coal.columns[18].header, QStringLiteral("每铲重量"));
    QCOMPARE(coal.columns[19].header, QStringLiteral("价格"));

    ListData blend;
    SetupCoalColumns(blend);  // set-up replaces what was there
    SetupBlendColumns(blend, 1024);
    QCOMPARE(blend.columnCount(), kBlendColumnCount);
    QCOMPARE(blend.columns[0].header, QStringLiteral("序"));
    QCOMPARE(blend.columns[0].width, 0);
    QCOMPARE(blend.columns[1].header, QStringLiteral("D1"));
    QCOMPARE(blend.columns[10].header, QStringLiteral("D10"));
    QCOMPARE(blend.columns[11].header, QStringLiteral("内水"));
    QCOMPARE(blend.columns[26].header, QStringLiteral("价格"));
}

void ListDataTest::blendWidth_data()
{
    QTest::addColumn<int>("screen");
    QTest::addColumn<int>("width");
    QTest::newRow("1024") << 1024 << 700;
    QTest::newRow("1279") << 1279 << 700;
    QTest::newRow("1280") << 1280 << 810;
    QTest::newRow("1366") << 1366 << 810;
    QTest::newRow("1440") << 1440 << 900;
    QTest::newRow("1600") << 1600 << 1000;
    QTest::newRow("1919") << 1919 << 1000;
    QTest::newRow("1920") << 1920 << 1200;
    QTest::newRow("3840") << 3840 << 1200;
}

void ListDataTest::blendWidth()
{
    QFETCH(int, screen);
    QFETCH(int, width);
    ListData list;
    SetupBlendColumns(list, screen);
    for (int c = 1; c <= 25; ++c)
        QCOMPARE(list.columns[c].width, width);
    QCOMPARE(list.columns[26].width, width + 100);
}

void ListDataTest::nameBlendColumns_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("three coals") << QStringList{"A", "B", "C"}
                                 << QStringList{"A", "B", "C", "d4", "d5", "d6", "d7", "d8", "d9", "d10"};
    QTest::newRow("none") << QStringList{}
                          << QStringList{"d1", "d2", "d3", "d4", "d5", "d6", "d7", "d8", "d9", "d10"};
    // Each column takes its own coal's whole name, whatever it holds.
    QTest::newRow("names with commas") << QStringList{"甲,乙", "丙煤", "1,2"}
                                       << QStringList{"甲,乙", "丙煤", "1,2", "d4", "d5", "d6", "d7", "d8", "d9", "d10"};
    QTest::newRow("eleven names") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}
                                  << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
}

void ListDataTest::nameBlendColumns()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, titles);
    ListData list;
    SetupBlendColumns(list, 1366);
    NameBlendColumns(list, {"X", "Y", "Z", "W"});  // a previous plan's names go
    NameBlendColumns(list, names);
    QStringList got;
    for (int c = 1; c <= 10; ++c)
        got << list.columns[c].header;
    QCOMPARE(got, titles);
    QCOMPARE(list.columns[11].header, QStringLiteral("内水"));
}

void ListDataTest::fillKeepsColumnsAndReplacesRows()
{
    TestFolder tf;
    const int plan = Expect(StorePlan(tf.folder(), NewPlan{QStringLiteral("方案"),
                                                           {MakeCoal(QStringLiteral("甲"), 1), MakeCoal(QStringLiteral("乙"), 2)},
                                                           {}}));
    ListData list;
    SetupCoalColumns(list);
    list.columns[3].width = 0;
    list.rows.append(ListRow{QStringLiteral("old"), {}, false});
    FillCoalRows(list, Expect(LoadPlanView(tf.folder(), plan)).coals);
    QCOMPARE(list.rowCount(), 2);
    QCOMPARE(list.columns[3].width, 0);
    QCOMPARE(list.rows[0].subItems.size(), kCoalColumnCount - 1);
    QCOMPARE(list.columnCells(1), (QStringList{"甲", "乙"}));
}

void ListDataTest::connectionClosedAfterLoad()
{
    TestFolder tf;
    Expect(LoadPlanView(tf.folder(), 1));
    QVERIFY(NothingHeldOpen());
}

void ListDataTest::hideUnusedColumns_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("hiddenBlendHeaders");
    QTest::newRow("neishui") << "neishui" << QStringList{"内水"};
    QTest::newRow("G by letter") << "G" << QStringList{"Gao煤", "粘结G"};
    QTest::newRow("Y by letter") << "Y" << QStringList{"胶质Y"};
    QTest::newRow("huishoulv") << "huishoulv" << QStringList{"回收率"};
    QTest::newRow("not 1") << "" << QStringList{};
}

void ListDataTest::hideUnusedColumns()
{
    QFETCH(QString, key);
    QFETCH(QStringList, hiddenBlendHeaders);
    TestFolder tf;
    QByteArray ini("[config]\r\nfenxiji=2\r\n");
    if (!key.isEmpty())
        ini += key.toLatin1() + "=1\r\n";
    QVERIFY(WriteBytes(tf.folder().ConfigPath(), ini));
    ListData list;
    SetupBlendColumns(list, 1366);
    NameBlendColumns(list, {"Gao煤", "gy煤"});
    HideUnusedColumns(list, ReadSettings(tf.folder()));
    QStringList hidden;
    for (int c = 1; c < list.columnCount(); ++c)
        if (list.columns[c].width == 0)
            hidden << list.columns[c].header;
    QCOMPARE(hidden, hiddenBlendHeaders);
}

void ListDataTest::planListAndDelete()
{
    TestFolder tf;
    const int first = Expect(StorePlan(tf.folder(), NewPlan{QStringLiteral("一\r\n二"), {}, {}}));
    const int second = Expect(StorePlan(tf.folder(), NewPlan{QStringLiteral("三"), {}, {}}));
    ListData plans;
    SetupPlanListColumns(plans);
    FillPlanList(plans, Expect(LoadPlanList(tf.folder(), 1)));
    QCOMPARE(plans.rowCount(), 1);
    QCOMPARE(plans.cell(0, 0), QString::number(second));
    FillPlanList(plans, Expect(LoadPlanList(tf.folder())));
    QCOMPARE(plans.cell(1, 1), QStringLiteral("一二"));
    QVERIFY(!plans.cell(1, 2).isEmpty());
    Expect(DeletePlan(tf.folder(), first));
    Expect(DeletePlan(tf.folder(), second));
    FillPlanList(plans, Expect(LoadPlanList(tf.folder())));
    QCOMPARE(plans.rowCount(), 0);
    QVERIFY(NothingHeldOpen());
}

QTEST_GUILESS_MAIN(ListDataTest)
#include "tst_list_data.moc"
