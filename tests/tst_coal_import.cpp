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

// Rows of cells written "a|b|c"; a cell written "#12" is a numeric cell.
CellTable Table(const QStringList& rows)
{
    CellTable table;
    for (const QString& row : rows) {
        TableRow cells;
        for (const QString& cell : row.split(QLatin1Char('|'))) {
            const bool number = cell.startsWith(QLatin1Char('#'));
            cells.append(TableCell{number ? cell.mid(1) : cell, number});
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
private slots:
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
    void namesAlreadyInTheInventory();
    void updateOrSkip_data();
    void updateOrSkip();
    void nothingImportedOnCancelOrFailure_data();
    void nothingImportedOnCancelOrFailure();
    void damagedFilesImportNothing();
    void filesFromOtherPrograms_data();
    void filesFromOtherPrograms();
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
    for (int i = 0; i < kIndexCount; ++i) {
        const QualityIndex& index = QualityIndices()[i];
        QCOMPARE(MatchColumnHeader(QString::fromUtf8(index.editorLabel)), ImportIndexField(i));
        QCOMPARE(MatchColumnHeader(QString::fromUtf8(index.workspaceLabel)), ImportIndexField(i));
    }
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
    QTest::newRow("negative") << "-0.5" << "-12" << "-0.50" << -12.0;
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
    QCOMPARE(preview->rows[1].notes.size(), percentNote ? 1 : 0);

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
    QCOMPARE(a.ReLiang, QStringLiteral("26.50"));
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
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(full, i) = FormatIndexValue(i * 7.25 - 3);
    full.Kucun = QStringLiteral("1200.00");
    full.MeiChan = QStringLiteral("1.50");
    coals << full << MakeCoal(QStringLiteral("0012"), 0) << MakeCoal(QStringLiteral("煤,\"引号\"<&>"), 1e6)
          << MakeCoal(QStringLiteral("=SUM(A1)"), 0.01);
    Mei zeros = MakeCoal(QStringLiteral("零值煤"), 12);
    zeros.HuiFen = zeros.Kucun = zeros.MeiChan = QStringLiteral("0");
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
