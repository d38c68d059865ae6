#include "support/TestFolder.h"

#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "inventory/CoalImport.h"
#include "export/ListLayouts.h"
#include "export/ListExport.h"
#include "base/NumberText.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

Q_DECLARE_METATYPE(ExistingNames)
Q_DECLARE_METATYPE(FailureKind)

namespace {

// Rows of cells written "a|b|c"; a cell written "#12" is a numeric cell, "=?"
// a formula the file holds no result for.
CellTable Table(const QStringList& rows)
{
    CellTable table;
    for (const QString& row : rows) {
        TableRow cells;
        const QStringList texts = row.split(QLatin1Char('|'));
        for (int c = 0; c < texts.size(); ++c) {
            const bool number = texts[c].startsWith(QLatin1Char('#'));
            if (texts[c] == u"=?")
                cells.append(TableCell{c, QString(), false, true});
            else if (!texts[c].isEmpty())
                cells.append(TableCell{c, number ? texts[c].mid(1) : texts[c], number});
        }
        table.rows.append(cells);
    }
    return table;
}

// Every coal of the table in id order, as the inventory reads them back.
QVector<Mei> StoredCoals(const AppFolder& folder)
{
    auto connection = Expect(ConnectionScope::Open(folder));
    QSqlQuery query = Expect(RunQuery(QStringLiteral("select * from meitan order by id")));
    QVector<Mei> coals;
    while (query.next())
        coals.append(CoalFromRecord(query.record()));
    return coals;
}

Mei StoredCoal(const AppFolder& folder, const QString& name)
{
    for (const Mei& coal : StoredCoals(folder))
        if (coal.MingCheng == name)
            return coal;
    return Mei();
}

int SaveNew(const AppFolder& folder, const Mei& coal)
{
    Expect(SaveCoal(folder, coal));
    auto connection = Expect(ConnectionScope::Open(folder));
    QSqlQuery query = Expect(RunQuery(QStringLiteral("select max(id) from meitan")));
    query.next();
    return query.value(0).toInt();
}

QString DataFile(const QString& name)
{
    return QStringLiteral(VELMORA_SOURCE_DIR "/tests/data/") + name;
}

const QDateTime kSavedAt(QDate(2024, 3, 5), QTime(8, 30));

}  // namespace

class CoalImportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headers_data();
    void headers();
    void everyOwnCaptionNamesItsOwnValue();
    void columnsAndHeaderRow();
    void tablesWithoutCoals_data();
    void tablesWithoutCoals();
    void rowProblems_data();
    void rowProblems();
    void valuesAsTheEditorStoresThem_data();
    void valuesAsTheEditorStoresThem();
    void heatInMegajoules_data();
    void heatInMegajoules();
    void namesAlreadyInTheInventory();
    void updateKeepsWhatBlankCellsDoNotGive();
    void updateOrSkip_data();
    void updateOrSkip();
    void nothingImportedOnCancelOrFailure_data();
    void nothingImportedOnCancelOrFailure();
    void damagedFilesImportNothing();
    void filesFromOtherPrograms_data();
    void filesFromOtherPrograms();
    void formulasFromOtherPrograms_data();
    void formulasFromOtherPrograms();
    void ownExportRoundTrip_data();
    void ownExportRoundTrip();
};

void CoalImportTest::headers_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("value");  // the value's list caption; "" for none

    const QList<QPair<const char*, const char*>> cases = {
        {"名称", "名称"}, {"煤名称*", "名称"}, {" 煤 种 ", "名称"}, {"Name", "名称"},
        {"灰份", "灰分"}, {"Ad", "灰分"}, {"灰分(%)", "灰分"}, {"灰分Ad(%)", "灰分"}, {"ＡＤ", "灰分"},
        {"灰  份", "灰分"}, {"St,d", "硫分"}, {"硫分St，d(%)", "硫分"}, {"硫  份", "硫分"},
        {"挥发分", "挥发分"}, {"Vdaf", "挥vdaf"}, {"挥发分(Vdaf)", "挥vdaf"}, {"挥发分Vdaf(%)", "挥vdaf"},
        {"挥VDAF", "挥vdaf"}, {"发热量", "发热量"}, {"热量", "发热量"}, {"热  量", "发热量"},
        {"低  位", "发热量"}, {"Qnet,ar(MJ/kg)", "发热量"}, {"高位", "高位"}, {"Qgr,ad", "高位"},
        {"内  水", "内水"}, {"空干基水分(Mad)", "内水"}, {"全  水", "全水"}, {"Mt", "全水"},
        {"粘接 G", "粘结G"}, {"粘结指数", "粘结G"}, {"胶质 Y", "胶质Y"}, {"胶质层厚度Y(mm)", "胶质Y"},
        {"可模性", "可磨性"}, {"HGI", "可磨性"}, {"灰熔点", "灰熔点"}, {"回收率", "回收率"},
        {"价格*", "价格"}, {"单价", "价格"}, {"单价（元/吨）", "价格"}, {"库存", "库存"}, {"库 存", "库存"},
        {"库存吨", "库存"}, {"库存(吨)", "库存"}, {"每铲重", "每铲重量"}, {"每铲重量", "每铲重量"},
        {"铲重", "每铲重量"}, {"每铲等于", "每铲重量"}, {"编号", "编号"}, {"ID", "编号"},
        {"备注", ""}, {"化验日期", ""}, {"序号", ""}, {"灰分比", ""}, {"", ""},
    };
    for (const auto& [header, value] : cases)
        QTest::newRow(header[0] ? header : "empty") << QString::fromUtf8(header) << QString::fromUtf8(value);
}

void CoalImportTest::headers()
{
    QFETCH(QString, header);
    QFETCH(QString, value);
    const int field = MatchColumnHeader(header);
    const QString got = field == kRecordNumberColumn ? QStringLiteral("编号") : ImportFieldLabel(field);
    QCOMPARE(got, value);
}

// The inventory list's headers and the editor's and workspace's captions:
// none of them may be taken by another value.
void CoalImportTest::everyOwnCaptionNamesItsOwnValue()
{
    ListData list;
    SetupCoalColumns(list);
    for (int c = 1; c < list.columnCount(); ++c)
        QCOMPARE(MatchColumnHeader(list.columns[c].header), c - 1);
    QCOMPARE(MatchColumnHeader(list.columns[0].header), kRecordNumberColumn);
}

void CoalImportTest::columnsAndHeaderRow()
{
    const CellTable table = Table({
        "2024年3月化验结果",
        "",
        "编号|名称|灰分|备注|灰份|价格|",
        "7|煤A|#10|好煤|99|#350",
        "",
        "8||||||",
        "9|煤B||||#400",
    });
    Result<ImportPreview> preview = MakeImportPreview(table, {});
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QCOMPARE(preview->headerRow, 3);
    QCOMPARE(preview->unknownHeaders(), (QStringList{"编号", "备注", "灰份"}));
    QCOMPARE(preview->columns[4].note, QStringLiteral("与第 3 列重复，不导入"));
    QVERIFY(preview->hasField[ImportIndexField(6)]);
    QVERIFY(!preview->hasField[ImportIndexField(5)]);
    // Blank rows, and a row holding only a record number, are not rows.
    QCOMPARE(preview->rows.size(), 2);
    QCOMPARE(preview->rows[0].fileRow, 4);
    QCOMPARE(preview->rows[0].coal.HuiFen, QStringLiteral("10.00"));
    QCOMPARE(preview->rows[1].fileRow, 7);
    QCOMPARE(preview->goodCount(), 2);
}

void CoalImportTest::tablesWithoutCoals_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name column") << QStringList{"煤|灰分", "煤A|10"} << "找不到煤名称列";
    QTest::newRow("title mentioning a name is no header") << QStringList{"煤名称一览", "煤A"} << "找不到煤名称列";
    QTest::newRow("header only") << QStringList{"名称|价格", "|", ""} << "只有表头";
    QTest::newRow("nothing at all") << QStringList{} << "找不到煤名称列";
}

void CoalImportTest::tablesWithoutCoals()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, message);
    Result<ImportPreview> preview = MakeImportPreview(Table(rows), {});
    QVERIFY(!preview.ok());
    QCOMPARE(preview.kind(), FailureKind::Invalid);
    QVERIFY2(preview.message().contains(message), qPrintable(preview.message()));
}

void CoalImportTest::rowProblems_data()
{
    QTest::addColumn<QString>("row");         // under the header 名称|价格|灰分|库存|每铲重|Vdaf
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<QStringList>("notes");

    QTest::newRow("good") << "煤A|350|10|100|1.5|20" << QStringList{} << QStringList{};
    QTest::newRow("no name") << "|350|10" << QStringList{"没有煤名称"} << QStringList{};
    QTest::newRow("name of blanks only") << "   |350" << QStringList{"没有煤名称"} << QStringList{};
    QTest::newRow("price missing") << "煤A||10" << QStringList{"没有价格"} << QStringList{};
    QTest::newRow("price not a number") << "煤A|350元" << QStringList{"价格不是数字：350元"} << QStringList{};
    QTest::newRow("index not a number") << "煤A|350|十" << QStringList{"灰分不是数字：十"} << QStringList{};
    QTest::newRow("stock not a number") << "煤A|350||很多" << QStringList{"库存不是数字：很多"} << QStringList{};
    QTest::newRow("shovel weight not a number") << "煤A|350|||1.5吨" << QStringList{"每铲重量不是数字：1.5吨"}
                                                << QStringList{};
    QTest::newRow("dry ash-free volatile matter not a number")
        << "煤A|350|||| 二十" << QStringList{"挥vdaf不是数字：二十"} << QStringList{};
    QTest::newRow("date in a value column") << "煤A|350|2024-03-05" << QStringList{"灰分不是数字：2024-03-05"}
                                            << QStringList{};
    QTest::newRow("every problem at once")
        << "|x|y|z|w|v"
        << QStringList{"没有煤名称", "价格不是数字：x", "灰分不是数字：y", "挥vdaf不是数字：v", "库存不是数字：z",
                       "每铲重量不是数字：w"}
        << QStringList{};
    QTest::newRow("percent signs dropped and noted") << "煤A|350|12.3 %||| 20％"
                                                     << QStringList{} << QStringList{"灰分去掉了百分号", "挥vdaf去掉了百分号"};
    QTest::newRow("blanks around a name dropped and noted") << " 煤A |350" << QStringList{}
                                                            << QStringList{"去掉了煤名称前后的空格"};
    QTest::newRow("percent sign alone is no number") << "煤A|350|%" << QStringList{"灰分不是数字：%"} << QStringList{};

    // The coal editor's rule: each value within its field's range, every name sound.
    QTest::newRow("stock below zero") << "煤A|350||-5" << QStringList{"库存 -5 超出了范围 0～1亿吨"}
                                      << QStringList{};
    QTest::newRow("shovel weight of zero") << "煤A|350|||0" << QStringList{"每铲重量 0 超出了范围 0～1000吨（不含0）"}
                                           << QStringList{};
    QTest::newRow("shovel weight below zero") << "煤A|350|||-5"
                                              << QStringList{"每铲重量 -5 超出了范围 0～1000吨（不含0）"} << QStringList{};
    QTest::newRow("price of 1e15") << "煤A|1e15" << QStringList{"价格 1e+15 超出了范围 -100万～100万元/吨"}
                                   << QStringList{};
    QTest::newRow("ash of 1e300") << "煤A|350|1e300" << QStringList{"灰分 1e+300 超出了范围 0～100%"} << QStringList{};
    QTest::newRow("ash above 100") << "煤A|350|250" << QStringList{"灰分 250 超出了范围 0～100%"} << QStringList{};
    QTest::newRow("unusual ash is noted") << "煤A|350|75" << QStringList{} << QStringList{"灰分 75 不在常见范围 0～60% 内"};
    QTest::newRow("unusual price is noted") << "煤A|-5" << QStringList{}
                                            << QStringList{"价格 -5 不在常见范围 0～10000元/吨 内"};
    const auto nameRow = [](const QString& name, const QString& problem) {
        return QStringList{name + QStringLiteral("|350")} << problem;
    };
    const QList<QPair<const char*, QStringList>> names = {
        {"zero-width space", nameRow(QStringLiteral("煤\u200BA"), "煤名称含有看不见的字符 U+200B（第 2 个字符），请删去")},
        {"right-to-left override", nameRow(QStringLiteral("\u202E煤A"), "煤名称含有看不见的字符 U+202E（第 1 个字符），请删去")},
        {"byte order mark", nameRow(QStringLiteral("\uFEFF煤A"), "煤名称含有看不见的字符 U+FEFF（第 1 个字符），请删去")},
        {"NUL (_x0000_ in a workbook)", nameRow(QStringLiteral("煤") + QChar(0) + "A", "煤名称含有控制字符 U+0000（第 2 个字符），请删去")},
        {"line feed", nameRow(QStringLiteral("煤\nA"), "煤名称含有控制字符 U+000A（第 2 个字符），请删去")},
        {"tab", nameRow(QStringLiteral("煤\tA"), "煤名称含有控制字符 U+0009（第 2 个字符），请删去")},
        {"101 characters", nameRow(QString(101, QChar(u'煤')), "煤名称太长：有 101 个字符，最多 100 个")},
        {"100 characters, one outside the first plane", nameRow(QString(99, QChar(u'煤')) + QStringLiteral("\U0002000B"), "")},
    };
    for (const auto& [what, row] : names)
        QTest::newRow(what) << row[0] << (row[1].isEmpty() ? QStringList{} : QStringList{row[1]}) << QStringList{};
    QTest::newRow("control character in a value, named with its column")
        << QStringLiteral("煤A|35\x01" "0") << QStringList{"价格（第 2 列）含有控制字符或看不见的字符：35<U+0001>0"}
        << QStringList{};
    QTest::newRow("formula without its result")
        << "煤A|350|=?" << QStringList{"灰分（第 3 列）是公式，文件中没有它的计算结果，请用表格程序打开、保存后再导入"}
        << QStringList{};
}

void CoalImportTest::rowProblems()
{
    QFETCH(QString, row);
    QFETCH(QStringList, problems);
    QFETCH(QStringList, notes);
    Result<ImportPreview> preview = MakeImportPreview(Table({"名称|价格|灰分|库存|每铲重|Vdaf", row}), {});
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QCOMPARE(preview->rows.size(), 1);
    QCOMPARE(preview->rows[0].problems, problems);
    QCOMPARE(preview->rows[0].notes, notes);
    QCOMPARE(preview->goodCount(), problems.isEmpty() ? 1 : 0);
}

void CoalImportTest::valuesAsTheEditorStoresThem_data()
{
    QTest::addColumn<QString>("ash");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("storedAsh");
    QTest::addColumn<double>("storedPrice");
    QTest::newRow("empty stays empty") << "" << "350" << "" << 350.0;
    QTest::newRow("zero") << "0.0" << "0" << "0" << 0.0;
    QTest::newRow("two decimals") << "12.3" << "350.456" << "12.30" << 350.46;
    QTest::newRow("halves away from zero") << "12.345" << "350.455" << "12.35" << 350.46;
    QTest::newRow("numeric cells") << "#10.25" << "#1350.5" << "10.25" << 1350.5;
    QTest::newRow("exponent, blanks, signs") << " 1.5e1 " << "+3.5E2" << "15.00" << 350.0;
    QTest::newRow("negative price") << "0.5" << "-12" << "0.50" << -12.0;
    QTest::newRow("percent") << "12.3%" << "350" << "12.30" << 350.0;
}

void CoalImportTest::valuesAsTheEditorStoresThem()
{
    QFETCH(QString, ash);
    QFETCH(QString, price);
    QFETCH(QString, storedAsh);
    QFETCH(double, storedPrice);
    TestFolder t;
    Result<ImportPreview> preview = MakeImportPreview(Table({"名称|灰分|价格", "煤A|" + ash + "|" + price}), {});
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QVERIFY(preview->rows[0].ok());
    Result<ImportCounts> counts = ImportCoals(t.folder(), *preview, ExistingNames::Skip, kSavedAt);
    QVERIFY2(counts.ok(), qPrintable(counts.message()));
    const Mei stored = StoredCoal(t.folder(), QStringLiteral("煤A"));
    QCOMPARE(stored.HuiFen, storedAsh);
    QCOMPARE(stored.JiaGe, storedPrice);
    QCOMPARE(stored.Liu, QString());
}

void CoalImportTest::heatInMegajoules_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("cells");    // the column's cells, one coal each
    QTest::addColumn<QStringList>("stored");   // the values stored
    QTest::addColumn<QString>("firstNote");    // the first row's note; "" for none

    QTest::newRow("header says MJ/kg") << "Qnet,ar(MJ/kg)" << QStringList{"25.10", "21.8"}
                                       << QStringList{"5995.03", "5206.84"} << "发热量由 25.1 MJ/kg 换算";
    QTest::newRow("header says 兆焦, numbers large") << "低位发热量（兆焦/千克）" << QStringList{"25.1", "60"}
                                                << QStringList{"5995.03", ""} << "发热量由 25.1 MJ/kg 换算";
    QTest::newRow("no unit, every value below 50") << "发热量" << QStringList{"25.1", "23"}
                                                   << QStringList{"5995.03", "5493.46"}
                                                   << "发热量由 25.1 MJ/kg 换算";
    QTest::newRow("gross heat in MJ") << "高位" << QStringList{"30", ""} << QStringList{"7165.38", ""}
                                      << "高位由 30 MJ/kg 换算";
    QTest::newRow("no unit, one value in kcal/kg: nothing converted")
        << "发热量" << QStringList{"25.1", "5600"} << QStringList{"25.10", "5600.00"}
        << "发热量 25.1 不在常见范围 1000～8000 kcal/kg 内";
    QTest::newRow("header says kcal") << "发热量(kcal/kg)" << QStringList{"25.1", "23"} << QStringList{"25.10", "23.00"}
                                      << "发热量 25.1 不在常见范围 1000～8000 kcal/kg 内";
    QTest::newRow("ash below 50 stays ash") << "灰分" << QStringList{"25.1", "23"} << QStringList{"25.10", "23.00"} << "";
}

// A heat column in MJ/kg is converted to kcal/kg, noted on each row; a value
// converted beyond the range is refused like any other.
void CoalImportTest::heatInMegajoules()
{
    QFETCH(QString, header);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, stored);
    QFETCH(QString, firstNote);
    Result<ImportPreview> preview = MakeImportPreview(
        Table({"名称|价格|" + header, "煤A|1|" + cells[0], "煤B|1|" + cells[1]}), {});
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    const int field = MatchColumnHeader(header);
    const bool converted = firstNote.contains(QStringLiteral("换算"));
    QCOMPARE(preview->megajoules[field], converted);
    QCOMPARE(preview->columnNotes.size(), converted ? 1 : 0);
    QCOMPARE(preview->rows[0].notes.value(0), firstNote);
    for (int r = 0; r < 2; ++r) {
        QCOMPARE(preview->rows[r].ok(), !(converted && cells[r] == u"60"));
        if (preview->rows[r].ok())
            QCOMPARE(IndexValue(preview->rows[r].coal, field - 1), stored[r]);
    }
}

void CoalImportTest::namesAlreadyInTheInventory()
{
    TestFolder t;
    const int first = SaveNew(t.folder(), MakeCoal(QStringLiteral("煤A"), 1));
    SaveNew(t.folder(), MakeCoal(QStringLiteral("煤A"), 2));  // a name used twice: the first coal counts
    const int b = SaveNew(t.folder(), MakeCoal(QStringLiteral("煤'B"), 3));
    const QString path = t.path(QStringLiteral("in.csv"));
    QVERIFY(WriteBytes(path, QStringLiteral("名称,价格\n煤A,1\n煤C,2\n煤'B,3\n煤A,4\n").toUtf8()));

    Result<ImportPreview> preview = ReadImportFile(t.folder(), path);
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QCOMPARE(preview->rows[0].existingId, first);
    QCOMPARE(preview->rows[1].existingId, 0);
    QCOMPARE(preview->rows[2].existingId, b);
    QCOMPARE(preview->rows[3].problems, QStringList{QStringLiteral("与第 2 行的煤名称重复")});
    QCOMPARE(preview->existingCount(), 2);

    // A name is one name however its accent is composed.
    const int accented = SaveNew(t.folder(), MakeCoal(QStringLiteral("e\u0301煤"), 4));
    QVERIFY(WriteBytes(path, QStringLiteral("名称,价格\n\u00E9煤,1\ne\u0301煤,2\n").toUtf8()));
    preview = ReadImportFile(t.folder(), path);
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QCOMPARE(preview->rows[0].existingId, accented);
    QCOMPARE(preview->rows[1].problems, QStringList{QStringLiteral("与第 2 行的煤名称重复")});
}

// An update takes what the file gives and keeps what a blank cell does not
// give; the preview says which values change, from what to what.
void CoalImportTest::updateKeepsWhatBlankCellsDoNotGive()
{
    TestFolder t;
    Mei shanxi = MakeCoal(QStringLiteral("山西煤"), 400);
    shanxi.Liu = QStringLiteral("0.80");
    shanxi.HuiFen = QStringLiteral("10.00");
    SaveNew(t.folder(), shanxi);
    Mei datong = MakeCoal(QStringLiteral("大同煤"), 300);
    datong.HuiFen = QStringLiteral("9.00");
    SaveNew(t.folder(), datong);
    const QString path = t.path(QStringLiteral("update.csv"));
    QVERIFY(WriteBytes(path, QStringLiteral("名称,硫分,灰分,价格\n山西煤,,12,500\n大同煤,0.5,9,\n新煤,,,\n").toUtf8()));

    Result<ImportPreview> preview = ReadImportFile(t.folder(), path);
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    using Changes = QVector<FieldChange>;
    const int sulphur = ImportIndexField(5);
    const int ash = ImportIndexField(6);
    QCOMPARE(preview->rows[0].changes, (Changes{{ash, "10.00", "12.00"}, {kImportPrice, "400.00", "500.00"}}));
    QCOMPARE(preview->rows[1].changes, (Changes{{sulphur, "", "0.50"}}));
    QVERIFY(preview->rows[1].ok());  // a price the inventory has already
    QCOMPARE(preview->rows[2].problems, QStringList{QStringLiteral("没有价格")});

    Result<ImportCounts> counts = ImportCoals(t.folder(), *preview, ExistingNames::Update, kSavedAt);
    QVERIFY2(counts.ok(), qPrintable(counts.message()));
    QCOMPARE(counts->message(), QStringLiteral("导入 0 种煤，更新 2 种，跳过 1 行"));
    const Mei a = StoredCoal(t.folder(), QStringLiteral("山西煤"));
    QCOMPARE(a.Liu, QStringLiteral("0.80"));
    QCOMPARE(a.HuiFen, QStringLiteral("12.00"));
    QCOMPARE(a.JiaGe, 500.0);
    const Mei b = StoredCoal(t.folder(), QStringLiteral("大同煤"));
    QCOMPARE(b.Liu, QStringLiteral("0.50"));
    QCOMPARE(b.JiaGe, 300.0);
}

void CoalImportTest::updateOrSkip_data()
{
    QTest::addColumn<ExistingNames>("choice");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("ash");
    QTest::addColumn<double>("price");
    // Three rows to import (煤A exists, 煤B, 煤C new), two problem rows.
    QTest::newRow("update") << ExistingNames::Update << "导入 2 种煤，更新 1 种，跳过 2 行" << "9.50" << 500.0;
    QTest::newRow("skip") << ExistingNames::Skip << "导入 2 种煤，更新 0 种，跳过 3 行" << "20.00" << 400.0;
}

void CoalImportTest::updateOrSkip()
{
    QFETCH(ExistingNames, choice);
    QFETCH(QString, message);
    QFETCH(QString, ash);
    QFETCH(double, price);
    TestFolder t;
    Mei a = MakeCoal(QStringLiteral("煤A"), 400);
    a.HuiFen = QStringLiteral("20.00");
    a.Liu = QStringLiteral("0.60");
    a.Kucun = QStringLiteral("100.00");
    const int id = SaveNew(t.folder(), a);
    SaveNew(t.folder(), MakeCoal(QStringLiteral("煤Z"), 1));

    const CellTable table = Table({"名称|灰分|价格", "煤A|9.5|500", "煤B||300", "|1|1", "煤C|1|2", "煤D|x|1"});
    Result<ImportPreview> preview = MakeImportPreview(table, *InventoryNames(t.folder()));
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    Result<ImportCounts> counts = ImportCoals(t.folder(), *preview, choice, kSavedAt);
    QVERIFY2(counts.ok(), qPrintable(counts.message()));
    QCOMPARE(counts->message(), message);

    QCOMPARE(CountRows(t.folder(), QStringLiteral("meitan")), 4);
    const Mei stored = StoredCoal(t.folder(), QStringLiteral("煤A"));
    QCOMPARE(stored.HuiFen, ash);
    QCOMPARE(stored.JiaGe, price);
    // Values the file has no column for stay as they were.
    QCOMPARE(stored.Liu, QStringLiteral("0.60"));
    QCOMPARE(stored.Kucun, QStringLiteral("100.00"));
    auto connection = Expect(ConnectionScope::Open(t.folder()));
    QSqlQuery query = Expect(RunQuery(QStringLiteral("select riqi from meitan where id=?"), {id}));
    QVERIFY(query.next());
    QCOMPARE(DateTimeValue(query.value(0)) == kSavedAt, choice == ExistingNames::Update);
    QSqlQuery added = Expect(RunQuery(QStringLiteral("select riqi from meitan where Name=?"), {QStringLiteral("煤C")}));
    QVERIFY(added.next());
    QCOMPARE(DateTimeValue(added.value(0)), kSavedAt);
}

void CoalImportTest::nothingImportedOnCancelOrFailure_data()
{
    QTest::addColumn<int>("cancelAfter");   // rows; -1 = never
    QTest::addColumn<bool>("failOnRow");    // the database refuses the third coal
    QTest::addColumn<FailureKind>("kind");
    QTest::newRow("cancel at the start") << 0 << false << FailureKind::Cancelled;
    QTest::newRow("cancel half-way") << 200 << false << FailureKind::Cancelled;
    QTest::newRow("cancel after the last row") << 300 << false << FailureKind::Cancelled;
    QTest::newRow("database refuses a coal") << -1 << true << FailureKind::Error;
}

void CoalImportTest::nothingImportedOnCancelOrFailure()
{
    QFETCH(int, cancelAfter);
    QFETCH(bool, failOnRow);
    QFETCH(FailureKind, kind);
    TestFolder t;
    Mei a = MakeCoal(QStringLiteral("煤1"), 7);
    SaveNew(t.folder(), a);
    if (failOnRow)
        t.refuseInserts(QStringLiteral("meitan"), QStringLiteral("refused"), QStringLiteral("new.Name = '煤3'"));
    QStringList rows{"名称|价格"};
    for (int i = 1; i <= 300; ++i)
        rows << QStringLiteral("煤%1|%2").arg(i).arg(i);
    Result<ImportPreview> preview = MakeImportPreview(Table(rows), {});
    QVERIFY(preview.ok());

    qint64 lastDone = -1;
    qint64 lastTotal = -1;
    Result<ImportCounts> counts = ImportCoals(t.folder(), *preview, ExistingNames::Update, kSavedAt,
                                              [&](qint64 done, qint64 total) {
                                                  lastDone = done;
                                                  lastTotal = total;
                                                  return cancelAfter < 0 || done < cancelAfter;
                                              });
    QVERIFY(!counts.ok());
    QCOMPARE(counts.kind(), kind);
    QVERIFY(!counts.message().isEmpty());
    if (cancelAfter >= 0) {
        QCOMPARE(lastDone, qint64(cancelAfter));
        QCOMPARE(lastTotal, qint64(300));
    }
    QCOMPARE(StoredCoals(t.folder()).size(), 1);
    QCOMPARE(StoredCoal(t.folder(), QStringLiteral("煤1")).JiaGe, 7.0);
}

void CoalImportTest::damagedFilesImportNothing()
{
    TestFolder t;
    const QString path = t.path(QStringLiteral("坏.xlsx"));
    QVERIFY(WriteBytes(path, QByteArray("PK\x03\x04", 4) + QByteArray(300, 'x')));
    Result<ImportPreview> preview = ReadImportFile(t.folder(), path);
    QVERIFY(!preview.ok());
    QVERIFY2(preview.message().contains(QStringLiteral("已损坏或不完整")), qPrintable(preview.message()));
    QCOMPARE(CountRows(t.folder(), QStringLiteral("meitan")), 0);
}

void CoalImportTest::filesFromOtherPrograms_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("percentNote");
    QTest::newRow("xlsx written by gnumeric") << "independent.xlsx" << true;
    QTest::newRow("xls written by gnumeric") << "independent.xls" << false;
    QTest::newRow("csv in UTF-8") << "independent-source.csv" << true;
    QTest::newRow("csv in GBK written by iconv") << "independent-gbk.csv" << false;
}

void CoalImportTest::filesFromOtherPrograms()
{
    QFETCH(QString, file);
    QFETCH(bool, percentNote);
    TestFolder t;
    Result<ImportPreview> preview = ReadImportFile(t.folder(), DataFile(file));
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QCOMPARE(preview->headerRow, 2);
    QCOMPARE(preview->unknownHeaders(), (QStringList{"序号", "化验日期"}));
    QCOMPARE(preview->rows.size(), 4);
    QCOMPARE(preview->rows[3].problems, QStringList{QStringLiteral("没有价格")});
    // The heat column is headed MJ/kg: every value is converted, and noted.
    QCOMPARE(preview->rows[1].notes.size(), (percentNote ? 1 : 0) + 1);
    QCOMPARE(preview->columnNotes.size(), 1);

    Result<ImportCounts> counts = ImportCoals(t.folder(), *preview, ExistingNames::Update, kSavedAt);
    QVERIFY2(counts.ok(), qPrintable(counts.message()));
    QCOMPARE(counts->message(), QStringLiteral("导入 3 种煤，更新 0 种，跳过 1 行"));

    const QVector<Mei> coals = StoredCoals(t.folder());
    QCOMPARE(coals.size(), 3);
    const Mei& a = coals[0];
    QCOMPARE(a.MingCheng, QStringLiteral("山西焦煤"));
    QCOMPARE(a.HuiFen, QStringLiteral("10.25"));
    QCOMPARE(a.Liu, QStringLiteral("0.68"));
    QCOMPARE(a.HuiFaFenVdaf, QStringLiteral("22.10"));
    QCOMPARE(a.ReLiang, QStringLiteral("6329.42"));
    QCOMPARE(a.G, QStringLiteral("85.00"));
    QCOMPARE(a.JiaGe, 1350.5);
    QCOMPARE(a.Kucun, QStringLiteral("1200.00"));
    QCOMPARE(a.HuiFaFen, QString());
    QCOMPARE(coals[1].MingCheng, QStringLiteral("内蒙古动力煤"));
    QCOMPARE(coals[1].HuiFen, QStringLiteral("12.30"));
    QCOMPARE(coals[1].G, QString());
    QCOMPARE(coals[2].MingCheng, QStringLiteral("低硫,主焦"));
    QCOMPARE(coals[2].Kucun, QStringLiteral("0"));
}

void CoalImportTest::formulasFromOtherPrograms_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("xls written by gnumeric") << "independent-formula.xls";
    QTest::newRow("xlsx written by gnumeric") << "independent-formula.xlsx";
}

// Values that are formulas come in as the results the workbook keeps.
void CoalImportTest::formulasFromOtherPrograms()
{
    QFETCH(QString, file);
    TestFolder t;
    Result<ImportPreview> preview = ReadImportFile(t.folder(), DataFile(file));
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QCOMPARE(preview->goodCount(), 2);
    Expect(ImportCoals(t.folder(), *preview, ExistingNames::Skip, kSavedAt));
    const Mei a = StoredCoal(t.folder(), QStringLiteral("公式煤"));
    QCOMPARE(a.HuiFen, QStringLiteral("10.50"));
    QCOMPARE(a.Liu, QStringLiteral("0.80"));
    QCOMPARE(a.JiaGe, 450.0);
    QCOMPARE(StoredCoal(t.folder(), QStringLiteral("文字煤")).HuiFen, QStringLiteral("7.50"));
}

void CoalImportTest::ownExportRoundTrip_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("xls") << "xls";
    QTest::newRow("xlsx") << "xlsx";
}

// The inventory exported by the program and imported into an empty inventory
// gives the same coals, value for value.
void CoalImportTest::ownExportRoundTrip()
{
    QFETCH(QString, format);
    TestFolder source;
    QVector<Mei> coals;
    Mei full = MakeCoal(QStringLiteral("山西焦煤"), 350.46);
    const double values[kIndexCount] = {5, 8.1, 5500, 6100, 3, 0.6, 10.25, 28, 31, 85, 16, 60, 70, 1350, 62};
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(full, i) = FormatIndexValue(values[i]);
    full.Kucun = QStringLiteral("1200.00");
    full.MeiChan = QStringLiteral("1.50");
    coals << full << MakeCoal(QStringLiteral("0012"), 0) << MakeCoal(QStringLiteral("煤,\"引号\"<&>"), 9876.5)
          << MakeCoal(QStringLiteral("=SUM(A1)"), 0.01);
    Mei zeros = MakeCoal(QStringLiteral("零值煤"), 12);
    zeros.HuiFen = zeros.Kucun = QStringLiteral("0");  // a shovel weighs more than nothing
    coals << zeros;
    for (const Mei& coal : coals)
        Expect(SaveCoal(source.folder(), coal));

    ListData list;
    SetupCoalColumns(list);
    FillCoalRows(list, Expect(LoadCoals(source.folder())));
    const QString path = source.path(QStringLiteral("库存.") + format);
    if (format == u"xls")
        Expect(ExportListToExcel(source.folder(), list, path));
    else
        QVERIFY(ExportListToXlsx(source.folder(), list, path).ok());

    TestFolder target;
    Result<ImportPreview> preview = ReadImportFile(target.folder(), path);
    QVERIFY2(preview.ok(), qPrintable(preview.message()));
    QCOMPARE(preview->unknownHeaders(), QStringList{QStringLiteral("编号")});
    for (const ImportRow& row : preview->rows) {
        QVERIFY2(row.ok(), qPrintable(row.problems.join(QLatin1Char(';'))));
        QVERIFY(row.notes.isEmpty());
    }
    Result<ImportCounts> counts = ImportCoals(target.folder(), *preview, ExistingNames::Skip, kSavedAt);
    QVERIFY2(counts.ok(), qPrintable(counts.message()));
    QCOMPARE(counts->added, coals.size());
    QCOMPARE(StoredCoals(target.folder()), StoredCoals(source.folder()));
}

QTEST_GUILESS_MAIN(CoalImportTest)
#include "tst_coal_import.moc"
