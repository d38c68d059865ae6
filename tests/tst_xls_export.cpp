#include "support/TestFolder.h"

#include "base/Files.h"
#include "export/ListExport.h"
#include "export/ListLayouts.h"
#include "export/XlsFile.h"

#include <QFile>
#include <QtTest>

namespace {

// The sheet's cells as texts, row by row, without trailing empty cells.
QVector<QStringList> ReadBack(const QString& path)
{
    const Result<XlsSheet> read = ReadXlsFile(path);
    if (!read)
        qWarning() << read.message();
    const XlsSheet sheet = read ? *read : XlsSheet();
    QVector<QStringList> rows;
    for (const XlsRow& row : sheet.rows) {
        QStringList cells;
        for (const XlsCell& cell : row)
            cells << cell.displayText();
        while (!cells.isEmpty() && cells.constLast().isEmpty())
            cells.removeLast();
        rows << cells;
    }
    return rows;
}

ListData SmallList(int rows)
{
    ListData list;
    list.addColumn(QStringLiteral("编号"), 0);  // hidden, still exported
    list.addColumn(QStringLiteral("名称"), 1800);
    list.addColumn(QStringLiteral("硫分"), 900);
    for (int i = 0; i < rows; ++i)
        list.rows.append(ListRow{QString::number(i + 1), {QStringLiteral("煤<%1>&").arg(i), QStringLiteral("0.5%1").arg(i % 10)}, false});
    return list;
}

QVector<QStringList> TemplateRows(const TestFolder& tf, const QString& name)
{
    return ReadBack(tf.path(QStringLiteral("template/") + name));
}

}  // namespace

class XlsExportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void tooManyRows();
    void listBeyondTheFormat_data();
    void listBeyondTheFormat();
    void templatesHaveTitleAndSheet1();
    void listExport_data();
    void listExport();
    void planExport();
    void overwritesAndReportsFailures();
};

// Sheets of every size class the container handles: the mini stream, regular
// sectors, a string table continued over several records (with strings cut at
// a record boundary), and a file large enough to need extra FAT index sectors.
void XlsExportTest::roundTrip_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("textLength");
    QTest::newRow("mini stream") << 3 << 3 << 4;
    QTest::newRow("regular sectors") << 200 << 5 << 6;
    QTest::newRow("continued strings") << 600 << 4 << 1500;
    QTest::newRow("FAT beyond the header") << 40000 << 20 << 3;
}

void XlsExportTest::roundTrip()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, textLength);
    XlsSheet sheet;
    sheet.appendTextRow({QStringLiteral("Velmora配煤软件")});
    sheet.appendEmptyRow();
    for (int r = 0; r < rows; ++r) {
        XlsRow row;
        for (int c = 0; c < columns; ++c) {
            if (c == 1)
                row.append(XlsCell::fromNumber(r + 0.25));
            else
                row.append(XlsCell::fromText(QString(textLength, QChar(0x7164 + c)) + QString::number(r * columns + c)));
        }
        sheet.rows.append(row);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.xls"));
    Expect(WriteXlsFile(path, sheet));

    const XlsSheet back = Expect(ReadXlsFile(path));
    QCOMPARE(back.name, QStringLiteral("Sheet1"));
    QCOMPARE(back.rows.size(), sheet.rows.size());
    QCOMPARE(back.rows[0][0].text, QStringLiteral("Velmora配煤软件"));
    QVERIFY(back.rows[1].isEmpty());
    for (int r = 2; r < sheet.rows.size(); ++r) {
        QCOMPARE(back.rows[r].size(), columns);
        for (int c = 0; c < columns; ++c) {
            const XlsCell& want = sheet.rows[r][c];
            const XlsCell& got = back.rows[r][c];
            if (want.kind == XlsCell::Kind::Number)
                QCOMPARE(got.number, want.number);
            else
                QCOMPARE(got.text, want.text);
        }
    }
}

void XlsExportTest::tooManyRows()
{
    XlsSheet sheet;
    sheet.rows.resize(kXlsMaxRows + 1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.xls"));
    QVERIFY(!WriteXlsFile(path, sheet).ok());
    QVERIFY(!QFile::exists(path));
}

namespace {

// A list of that many rows that fails the test when read: a list too long
// for the format must be refused before any row is read.
class CountedRows : public ListRows {
public:
    explicit CountedRows(int rows) : rows_(rows) { SetupCoalColumns(layout_); }
    const QVector<ListColumn>& columns() const override { return layout_.columns; }
    int rowCount() const override { return rows_; }
    Status forEachRow(const RowSink& sink) const override
    {
        ++reads;
        for (int r = 0; r < rows_; ++r)
            if (Status taken = sink(ListRow{QString::number(r + 1), {QStringLiteral("煤")}, false}); !taken)
                return taken;
        return {};
    }
    mutable int reads = 0;

private:
    int rows_;
    ListData layout_;
};

}  // namespace

void XlsExportTest::listBeyondTheFormat_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("fits");
    // The template's title row, two empty rows and the header come first.
    QTest::newRow("last row that fits") << kXlsMaxRows - 4 << true;
    QTest::newRow("one row more") << kXlsMaxRows - 3 << false;
    QTest::newRow("a hundred thousand coals") << 100000 << false;
}

void XlsExportTest::listBeyondTheFormat()
{
    QFETCH(int, rows);
    QFETCH(bool, fits);
    TestFolder tf;
    const QString path = tf.path(QStringLiteral("big.xls"));
    const CountedRows list(rows);
    const Status exported = ExportListToExcel(tf.folder(), list, path);
    QCOMPARE(exported.ok(), fits);
    QCOMPARE(QFile::exists(path), fits);
    if (fits)
        return;
    QCOMPARE(list.reads, 0);
    QVERIFY2(exported.message().contains(QStringLiteral("Excel 97-2003 工作表的上限 65536 行")), qPrintable(exported.message()));
    QVERIFY2(exported.message().contains(QStringLiteral(".xlsx")), qPrintable(exported.message()));
}

void XlsExportTest::templatesHaveTitleAndSheet1()
{
    TestFolder tf;
    for (const QString& name : {QStringLiteral("list1.xls"), QStringLiteral("list2.xls")}) {
        const XlsSheet sheet = Expect(ReadXlsFile(tf.path(QStringLiteral("template/") + name)));
        QCOMPARE(sheet.name, QStringLiteral("Sheet1"));
        QVERIFY(sheet.rows.value(0).value(0).text.contains(QStringLiteral("Velmora配煤软件")));
    }
}

void XlsExportTest::listExport_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("empty list") << 0;
    QTest::newRow("three rows") << 3;
    QTest::newRow("ten thousand coals") << 10000;
}

// The template's rows, two empty rows, the header row, then exactly the list's
// rows, hidden first column included.
void XlsExportTest::listExport()
{
    QFETCH(int, rows);
    TestFolder tf;
    const ListData list = SmallList(rows);
    const QString path = tf.path(QStringLiteral("out.xls"));
    Expect(ExportListToExcel(tf.folder(), list, path));

    QVector<QStringList> want = TemplateRows(tf, QStringLiteral("list1.xls"));
    want << QStringList() << QStringList() << QStringList{"编号", "名称", "硫分"};
    for (const ListRow& row : list.rows)
        want << (QStringList{row.text} + row.subItems);
    QCOMPARE(ReadBack(path), want);
}

void XlsExportTest::planExport()
{
    TestFolder tf;
    ShownPlan plan;
    plan.information = QStringLiteral("[铲数配比] 硫分<1.0 灰分>&9");
    SetupCoalColumns(plan.coals);
    plan.coals.rows.append(ListRow{QStringLiteral("7"), {QStringLiteral("大同煤")}, false});
    SetupBlendColumns(plan.blends, 1366);
    NameBlendColumns(plan.blends, {QStringLiteral("大同煤")});
    plan.blends.rows.append(ListRow{QStringLiteral("41"), {QStringLiteral("300.00"), QStringLiteral("0")}, false});
    const QString path = tf.path(QStringLiteral("plan.xls"));
    Expect(ExportPlanToExcel(tf.folder(), plan, path));

    auto headers = [](const ListData& list) {
        QStringList h;
        for (const ListColumn& c : list.columns)
            h << c.header;
        return h;
    };
    // A number reads back in its shortest form ("300.00" as 300).
    auto cells = [](const ListData& list, int r) {
        QStringList c;
        for (int k = 0; k < list.columnCount(); ++k)
            c << SheetCell(list.cell(r, k), list.columns[k].numeric).displayText();
        while (!c.isEmpty() && c.constLast().isEmpty())
            c.removeLast();
        return c;
    };
    QVector<QStringList> want = TemplateRows(tf, QStringLiteral("list2.xls"));
    want << QStringList() << QStringList() << QStringList{plan.information} << QStringList()
         << QStringList{"参与配比的煤"} << headers(plan.coals) << cells(plan.coals, 0) << QStringList()
         << QStringList{"方案列表"} << headers(plan.blends) << cells(plan.blends, 0);
    QCOMPARE(ReadBack(path), want);
    QCOMPARE(want[want.size() - 2].value(0), QStringLiteral("序"));  // the hidden column is there
}

void XlsExportTest::overwritesAndReportsFailures()
{
    TestFolder tf;
    const QString path = tf.path(QStringLiteral("out.xls"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    Expect(ExportListToExcel(tf.folder(), SmallList(1), path));
    const QByteArray exported = ReadBytes(path);
    QCOMPARE(ReadBack(path).size(), TemplateRows(tf, QStringLiteral("list1.xls")).size() + 4);

    // A full disk: the message says so, and the file written before stays whole.
    SimulateFullDiskForWrites(1);
    const Status full = ExportListToExcel(tf.folder(), SmallList(3), path);
    SimulateFullDiskForWrites(0);
    QVERIFY(full.message().contains(QStringLiteral("磁盘空间不足")));
    QCOMPARE(ReadBytes(path), exported);

    const Status missing = ExportListToExcel(tf.folder(), SmallList(1), tf.path(QStringLiteral("no/such/dir/out.xls")));
    QVERIFY(missing.message().contains(QStringLiteral("不存在")));
    QFile::remove(tf.path(QStringLiteral("template/list1.xls")));
    const QString other = tf.path(QStringLiteral("other.xls"));
    QVERIFY(ExportListToExcel(tf.folder(), SmallList(1), other).message().contains(QStringLiteral("模板")));
    QVERIFY(!QFile::exists(other));
}

QTEST_GUILESS_MAIN(XlsExportTest)
#include "tst_xls_export.moc"
