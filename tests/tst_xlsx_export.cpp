#include "support/TableText.h"
#include "support/TestFolder.h"

#include "base/Files.h"
#include "export/ListExport.h"
#include "export/ListLayouts.h"
#include "export/XlsxFile.h"
#include "export/XlsxWriter.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>

namespace {

QByteArray ReadPart(const QString& path, const QString& part)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip) || !zip.setCurrentFile(part))
        return {};
    QuaZipFile file(&zip);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a spreadsheet program shows beyond the cells: bold rows, frozen rows,
// column widths (in characters, by column from 0).
struct Dress {
    QSet<int> boldRows;
    int frozenRows = 0;
    QMap<int, double> widths;
};

Dress ReadDress(const QString& path)
{
    Dress dress;
    QVector<bool> boldFont;
    QVector<bool> boldXf;
    QXmlStreamReader styles(ReadPart(path, QStringLiteral("xl/styles.xml")));
    bool inCellXfs = false;
    while (!styles.atEnd()) {
        styles.readNext();
        if (styles.isEndElement() && styles.name() == u"cellXfs")
            inCellXfs = false;
        if (!styles.isStartElement())
            continue;
        if (styles.name() == u"font")
            boldFont.append(false);
        else if (styles.name() == u"b" && !boldFont.isEmpty())
            boldFont.last() = true;
        else if (styles.name() == u"cellXfs")
            inCellXfs = true;
        else if (styles.name() == u"xf" && inCellXfs)
            boldXf.append(boldFont.value(styles.attributes().value(QLatin1String("fontId")).toInt()));
    }
    QXmlStreamReader sheet(ReadPart(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    while (!sheet.atEnd()) {
        sheet.readNext();
        if (!sheet.isStartElement())
            continue;
        const QXmlStreamAttributes a = sheet.attributes();
        if (sheet.name() == u"pane" && a.value(QLatin1String("state")) == u"frozen") {
            dress.frozenRows = a.value(QLatin1String("ySplit")).toInt();
        } else if (sheet.name() == u"col") {
            for (int c = a.value(QLatin1String("min")).toInt(); c <= a.value(QLatin1String("max")).toInt(); ++c)
                dress.widths[c - 1] = a.value(QLatin1String("width")).toDouble();
        } else if (sheet.name() == u"c" && boldXf.value(a.value(QLatin1String("s")).toInt())) {
            const QString ref = a.value(QLatin1String("r")).toString();
            dress.boldRows.insert(ref.mid(ref.indexOf(QRegularExpression(QStringLiteral("\\d")))).toInt() - 1);
        }
    }
    return dress;
}

// A written sheet in the same compact text as a read table.
QString Render(const XlsSheet& sheet)
{
    CellTable table;
    for (const XlsRow& row : sheet.rows) {
        TableRow cells;
        for (int c = 0; c < row.size(); ++c)
            if (!row[c].displayText().isEmpty())
                cells.append(TableCell{c, row[c].displayText(), row[c].kind == XlsCell::Kind::Number});
        table.rows.append(cells);
    }
    return Render(table);
}

QString ReadBackXlsx(const QString& path)
{
    Result<CellTable> table = ReadXlsxFile(path);
    return table.ok() ? Render(*table) : QStringLiteral("failed: ") + table.message();
}

ListData CoalList()
{
    ListData list;
    SetupCoalColumns(list);
    list.columns[0].width = 0;  // hidden: exported all the same
    ListRow row{QStringLiteral("7"), {}, false};
    row.setCell(1, QStringLiteral("山西焦煤"));
    row.setCell(8, QStringLiteral("10.25"));
    row.setCell(19, QStringLiteral("350.00"));
    list.rows << row << ListRow{QStringLiteral("8"), {QStringLiteral("=煤\"<&>")}, false};
    return list;
}

}  // namespace

class XlsxExportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cellsReadBack();
    void dress();
    void failuresLeaveTheOldFile_data();
    void failuresLeaveTheOldFile();
    void replacesAnOldFile();
    void exportsMatchTheXlsExports_data();
    void exportsMatchTheXlsExports();
    void missingTemplate();
};

void XlsxExportTest::cellsReadBack()
{
    XlsSheet sheet;
    sheet.name = QStringLiteral("煤种");
    sheet.appendTextRow({QStringLiteral("Velmora配煤软件 煤种列表")});
    sheet.appendEmptyRow();
    sheet.rows.append({XlsCell::fromText(QStringLiteral("0012")), XlsCell::fromNumber(12.5), XlsCell::fromText(QString()),
                       XlsCell::fromNumber(-3), XlsCell::fromText(QStringLiteral("=SUM(A1)"))});
    sheet.rows.append({XlsCell::fromNumber(1e-7), XlsCell::fromText(QString(5000, QChar(0x7164)))});
    // Blanks kept at both ends; characters XML cannot carry, and a text that
    // looks like their escape, come back as they were.
    sheet.rows.append({XlsCell::fromText(QStringLiteral("  两端空格 ")), XlsCell::fromText(QStringLiteral("a\x01" "b\rc")),
                       XlsCell::fromText(QStringLiteral("_x0041_")), XlsCell::fromNumber(12.5, 2)});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("导出.xlsx"));
    QVERIFY(WriteXlsxFile(path, sheet).ok());
    QCOMPARE(ReadBackXlsx(path), Render(sheet));
    QVERIFY(ReadPart(path, QStringLiteral("xl/workbook.xml")).contains(QStringLiteral("煤种").toUtf8()));
}

void XlsxExportTest::dress()
{
    XlsSheet sheet;
    for (int r = 0; r < 5; ++r)
        sheet.appendTextRow({QStringLiteral("a"), QStringLiteral("b")});
    sheet.columnWidths = {0, 2560, 0, 512};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.xlsx"));
    QVERIFY(WriteXlsxFile(path, sheet, XlsxLayout{{2, 4}, 3}).ok());
    const Dress dress = ReadDress(path);
    QCOMPARE(dress.boldRows, (QSet<int>{2, 4}));
    QCOMPARE(dress.frozenRows, 3);
    QCOMPARE(dress.widths.keys(), (QList<int>{1, 3}));
    QVERIFY(dress.widths[1] >= 10 && dress.widths[1] < 11);
    QVERIFY(dress.widths[3] >= 2 && dress.widths[3] < 3);

    QVERIFY(WriteXlsxFile(path, sheet).ok());
    QCOMPARE(ReadDress(path).frozenRows, 0);
    QVERIFY(ReadDress(path).boldRows.isEmpty());
}

void XlsxExportTest::failuresLeaveTheOldFile_data()
{
    QTest::addColumn<QString>("target");   // relative to a temporary folder
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("too many rows") << "old.xlsx" << kXlsxMaxRows + 1 << "超过了工作表的上限" << false;
    QTest::newRow("folder missing") << "missing/new.xlsx" << 1 << "不存在" << false;
    QTest::newRow("target is a folder") << "folder" << 1 << "这是一个文件夹" << false;
    QTest::newRow("disk full") << "old.xlsx" << 1 << "磁盘空间不足" << true;
}

void XlsxExportTest::failuresLeaveTheOldFile()
{
    QFETCH(QString, target);
    QFETCH(int, rows);
    QFETCH(QString, message);
    QFETCH(bool, fullDisk);
    QTemporaryDir dir;
    const QString path = dir.filePath(target);
    QVERIFY(WriteBytes(dir.filePath(QStringLiteral("old.xlsx")), "old content"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    XlsSheet sheet;
    sheet.rows.resize(rows);
    sheet.rows[0] = {XlsCell::fromText(QStringLiteral("名称"))};
    SimulateFullDiskForWrites(fullDisk ? 1 : 0);
    const Status written = WriteXlsxFile(path, sheet);
    SimulateFullDiskForWrites(0);
    QVERIFY(!written.ok());
    QVERIFY2(written.message().contains(message), qPrintable(written.message()));
    QCOMPARE(ReadBytes(dir.filePath(QStringLiteral("old.xlsx"))), QByteArray("old content"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.xlsx")});
}

void XlsxExportTest::replacesAnOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.xlsx"));
    QVERIFY(WriteBytes(path, "old content"));
    XlsSheet sheet;
    sheet.appendTextRow({QStringLiteral("名称")});
    QVERIFY(WriteXlsxFile(path, sheet).ok());
    QCOMPARE(ReadBackXlsx(path), QStringLiteral("名称"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.xlsx")});
}

void XlsxExportTest::exportsMatchTheXlsExports_data()
{
    QTest::addColumn<bool>("plan");
    QTest::newRow("coal list") << false;
    QTest::newRow("plan") << true;
}

// The same rows as the .xls export; the lists' header rows bold; a coal
// list's header frozen.
void XlsxExportTest::exportsMatchTheXlsExports()
{
    QFETCH(bool, plan);
    TestFolder t(false);
    const QString xls = t.path(QStringLiteral("e.xls"));
    const QString xlsx = t.path(QStringLiteral("e.xlsx"));
    ShownPlan view;
    view.information = QStringLiteral("方案1：山西焦煤");
    view.coals = CoalList();
    SetupBlendColumns(view.blends, 1366);
    view.blends.rows << ListRow{QStringLiteral("1"), {QStringLiteral("3"), QStringLiteral("2")}, false};
    if (plan) {
        Expect(ExportPlanToExcel(t.folder(), view, xls));
        QVERIFY(ExportPlanToXlsx(t.folder(), view, xlsx).ok());
    } else {
        Expect(ExportListToExcel(t.folder(), view.coals, xls));
        QVERIFY(ExportListToXlsx(t.folder(), view.coals, xlsx).ok());
    }
    const XlsSheet fromXls = Expect(ReadXlsFile(xls));
    QCOMPARE(ReadBackXlsx(xlsx), Render(fromXls));

    auto rowStarting = [&fromXls](const QString& text) {
        for (int r = 0; r < fromXls.rows.size(); ++r)
            if (fromXls.rows[r].value(0).text == text)
                return r;
        return -1;
    };
    const Dress dress = ReadDress(xlsx);
    const int coalHeader = rowStarting(QStringLiteral("编号"));
    QVERIFY(coalHeader > 0);
    if (plan) {
        QCOMPARE(dress.boldRows, (QSet<int>{coalHeader, rowStarting(QStringLiteral("序"))}));
        QCOMPARE(dress.frozenRows, 0);
    } else {
        QCOMPARE(dress.boldRows, QSet<int>{coalHeader});
        QCOMPARE(dress.frozenRows, coalHeader + 1);
        QVERIFY(!dress.widths.contains(0));                      // hidden: default width
        QVERIFY(dress.widths.value(1) > dress.widths.value(2));  // the name column is the widest
    }
}

void XlsxExportTest::missingTemplate()
{
    TestFolder t(false);
    QVERIFY(QFile::remove(t.path(QStringLiteral("template/list1.xls"))));
    const Status exported = ExportListToXlsx(t.folder(), CoalList(), t.path(QStringLiteral("e.xlsx")));
    QVERIFY(!exported.ok());
    QVERIFY2(exported.message().contains(QStringLiteral("找不到模板文件")), qPrintable(exported.message()));
    QVERIFY(!QFile::exists(t.path(QStringLiteral("e.xlsx"))));
}

QTEST_GUILESS_MAIN(XlsxExportTest)
#include "tst_xlsx_export.moc"
