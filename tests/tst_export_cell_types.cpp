// The workbook exports read back by readers that are not the program's own:
// FreeXL for .xls, openpyxl (Debian python3-openpyxl, run as a separate
// process) for .xlsx. A cell that holds a number is a number cell, shown
// with the decimals the list showed; a cell of text stays text, even when it
// looks like a number in a column of names.
#include "support/TestFolder.h"

#include "base/NumberText.h"
#include "export/ListExport.h"
#include "export/ListLayouts.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

#include <freexl.h>

namespace {

// Each cell as "n|value|format" (format only from .xlsx), "s|text" or "".
using SheetText = QVector<QStringList>;

SheetText ReadWithFreeXl(const QString& path)
{
    SheetText sheet;
    const void* handle = nullptr;
    if (freexl_open(QFile::encodeName(path).constData(), &handle) != FREEXL_OK)
        return sheet;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(handle, 0) == FREEXL_OK
        && freexl_worksheet_dimensions(handle, &rows, &columns) == FREEXL_OK) {
        for (unsigned int r = 0; r < rows; ++r) {
            QStringList cells;
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK)
                    cells << QStringLiteral("?");
                else if (value.type == FREEXL_CELL_INT)
                    cells << QStringLiteral("n|%1").arg(value.value.int_value);
                else if (value.type == FREEXL_CELL_DOUBLE)
                    cells << QStringLiteral("n|") + ShortestNumberText(value.value.double_value);
                else if (value.type == FREEXL_CELL_TEXT || value.type == FREEXL_CELL_SST_TEXT)
                    cells << QStringLiteral("s|") + QString::fromUtf8(value.value.text_value);
                else
                    cells << QString();
            }
            sheet << cells;
        }
    }
    freexl_close(handle);
    return sheet;
}

const char* kOpenpyxlDump = R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
for row in ws.iter_rows():
    cells = []
    for c in row:
        if c.value is None: cells.append('')
        elif c.data_type == 'n': cells.append('n|%s|%s' % (format(c.value, 'g'), c.number_format))
        else: cells.append('s|%s' % c.value)
    print('\t'.join(cells))
)";

SheetText ReadWithOpenpyxl(const QString& path)
{
    QProcess python;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    python.setProcessEnvironment(environment);
    // Debian's interpreter, which has the packaged module, before any other on the path.
    const QString debian = QStringLiteral("/usr/bin/python3");
    python.start(QFile::exists(debian) ? debian : QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kOpenpyxlDump), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning().noquote() << "openpyxl could not read the workbook (python3-openpyxl is installed by"
                             << "scripts/install-deps.sh):" << QString::fromUtf8(python.readAllStandardError());
        return {};
    }
    SheetText sheet;
    for (const QString& line : QString::fromUtf8(python.readAllStandardOutput()).split(u'\n'))
        sheet << line.split(u'\t');
    return sheet;
}

// The sheet's row whose first cell holds the number, trailing empty cells
// left out.
QStringList RowWithKey(const SheetText& sheet, const QString& key)
{
    for (QStringList row : sheet) {
        if (row.value(0).section(u'|', 0, 1) != QStringLiteral("n|") + key)
            continue;
        while (!row.isEmpty() && row.constLast().isEmpty())
            row.removeLast();
        return row;
    }
    return {QStringLiteral("no row with key ") + key};
}

}  // namespace

class ExportCellTypesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void typesReadBack_data();
    void typesReadBack();
};

void ExportCellTypesTest::typesReadBack_data()
{
    QTest::addColumn<bool>("plan");
    QTest::addColumn<QString>("extension");
    // The cells of one row, and each as the reader sees it (numbers with
    // their .xlsx number format).
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("read");

    // Coal layout: number, name, fifteen indices, stock, shovel weight, price.
    const QStringList coal{"7",      "007",  "12.50", "0", "", "5600.00", "0.5", "12.5%", "1e5", "-3.25",
                           "", "", "", "", "", "", "", "350.00", "1.50", "650.00"};
    const QStringList coalRead{"n|7|General", "s|007", "n|12.5|0.00", "n|0|General", "", "n|5600|0.00",
                               "n|0.5|0.0", "s|12.5%", "s|1e5", "n|-3.25|0.00", "", "", "", "", "", "", "",
                               "n|350|0.00", "n|1.5|0.00", "n|650|0.00"};
    // Proportion layout with tons: row number, D1 ... D10, indices, price.
    const QStringList blend{"41", "300.00", "200.00", "0", "", "", "", "", "", "", "", "12.34"};
    const QStringList blendRead{"n|41|General", "n|300|0.00", "n|200|0.00", "n|0|General", "", "", "", "", "",
                                "", "", "n|12.34|0.00"};
    for (const char* extension : {"xls", "xlsx"}) {
        QTest::addRow("coal list, .%s", extension) << false << extension << coal << coalRead;
        QTest::addRow("plan, .%s", extension) << true << extension << blend << blendRead;
    }
}

void ExportCellTypesTest::typesReadBack()
{
    QFETCH(bool, plan);
    QFETCH(QString, extension);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, read);
    TestFolder folder(false);
    const QString path = folder.path(QStringLiteral("out.") + extension);

    ListRow row{cells.value(0), cells.mid(1), false};
    ShownPlan shown;
    shown.information = QStringLiteral("1500");  // the plan's text: text, though it looks like a number
    SetupCoalColumns(shown.coals);
    SetupBlendColumns(shown.blends, 1366);
    NameBlendColumns(shown.blends, {QStringLiteral("2024")});
    if (plan) {
        shown.blends.rows << row;
        QVERIFY(ExportPlanToWorkbook(folder.folder(), shown, path).ok());
    } else {
        shown.coals.rows << row;
        QVERIFY(ExportListToWorkbook(folder.folder(), shown.coals, path).ok());
    }

    const bool xlsx = extension == QLatin1String("xlsx");
    const SheetText sheet = xlsx ? ReadWithOpenpyxl(path) : ReadWithFreeXl(path);
    QVERIFY(!sheet.isEmpty());
    QStringList want = read;
    if (!xlsx)
        for (QString& cell : want)
            cell = cell.section(u'|', 0, 1);
    QCOMPARE(RowWithKey(sheet, cells.value(0)), want);

    // Headers and captions stay text: a coal named 2024 titles its column.
    QStringList texts;
    for (const QStringList& r : sheet)
        for (const QString& cell : r)
            if (cell == QStringLiteral("s|2024") || cell == QStringLiteral("s|1500") || cell == QStringLiteral("s|名称"))
                texts << cell;
    QCOMPARE(texts.size(), plan ? 3 : 1);
}

QTEST_GUILESS_MAIN(ExportCellTypesTest)
#include "tst_export_cell_types.moc"
