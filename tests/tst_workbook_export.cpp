// The workbook exports of both list windows: the save dialog offers .xls
// and .xlsx (.xls first), the chosen filter or the typed extension decides
// the format, a name without one gets the filter's, and the file read back
// holds the rows the window shows.
#include "data/CoalTable.h"
#include "export/ListExport.h"
#include "export/XlsxFile.h"
#include "history/PlanHistory.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/InventoryWindow.h"

#include <QAction>
#include <QDir>
#include <QTest>

#include <memory>

namespace {

constexpr QLatin1String kInventory("inventory");
constexpr QLatin1String kHistory("history");

// The sheet as rows of cell texts, whichever format it is in.
QVector<QStringList> ReadBack(const QString& path, bool xlsx)
{
    QVector<QStringList> rows;
    if (xlsx) {
        for (const TableRow& row : Expect(ReadXlsxFile(path)).rows) {
            QStringList cells;
            for (const TableCell& cell : row) {
                while (cells.size() < cell.column)
                    cells << QString();
                cells << cell.text;
            }
            rows << cells;
        }
    } else {
        for (const XlsRow& row : Expect(ReadXlsFile(path, QString())).rows) {
            QStringList cells;
            for (const XlsCell& cell : row)
                cells << cell.displayText();
            rows << cells;
        }
    }
    return rows;
}

// Rows of the sheet from the one whose cell in the column holds the text.
QVector<QStringList> RowsFrom(const QVector<QStringList>& rows, int column, const QString& text)
{
    for (int r = 0; r < rows.size(); ++r)
        if (rows[r].value(column) == text)
            return rows.mid(r);
    return {};
}

}  // namespace

class WorkbookExportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void formatFollowsFilterAndName_data();
    void formatFollowsFilterAndName();
    void failureShowsTheReason_data();
    void failureShowsTheReason();

private:
    // The window with two coals (inventory) or a plan of two coals (history).
    QWidget* open(const QString& which);
    void exportWorkbook(const QString& which, QWidget* window);

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<QWidget> window_;
};

void WorkbookExportTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    Prompt::setTestMode(true);
    Prompt::clear();
}

void WorkbookExportTest::cleanup()
{
    window_.reset();
    folder_.reset();
}

QWidget* WorkbookExportTest::open(const QString& which)
{
    Mei a = MakeCoal(QStringLiteral("甲<煤"), 650);
    a.HuiFen = QStringLiteral("12.30");
    const Mei b = MakeCoal(QStringLiteral("乙煤"), 480.5);
    const WindowContext context{folder_->folder()};
    if (which == kInventory) {
        Expect(SaveCoal(folder_->folder(), a));
        Expect(SaveCoal(folder_->folder(), b));
        auto* window = new InventoryWindow(context);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window_.reset(window);
    } else {
        PlanBlendRow row;
        row.parts[0] = 3;
        row.parts[1] = 1;
        row.blend = MakeCoal(QString(), 607.63);
        Expect(StorePlan(folder_->folder(), NewPlan{QStringLiteral("灰分<=12"), {a, b}, {row}}));
        auto* window = new HistoryWindow(context, ReadSettings(folder_->folder()));
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window_.reset(window);
    }
    window_->show();
    return window_.get();
}

void WorkbookExportTest::exportWorkbook(const QString& which, QWidget* window)
{
    Child<QAction>(window, which == kInventory ? "Toolbar1_5" : "Toolbar1_4")->trigger();
}

void WorkbookExportTest::formatFollowsFilterAndName_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");  // "" = left as offered
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("xlsx");

    const QString xlsx = XlsxFilter();
    for (const QString& window : {QString(kInventory), QString(kHistory)}) {
        auto row = [&](const char* name) { return &QTest::newRow(qPrintable(window + QStringLiteral(": ") + QString::fromUtf8(name))); };
        *row("no extension, filter as offered") << window << "list" << "" << "list.xls" << false;
        *row("no extension, .xlsx chosen") << window << "list" << xlsx << "list.xlsx" << true;
        *row("typed .xlsx under the .xls filter") << window << "list.xlsx" << "" << "list.xlsx" << true;
        *row("typed .XLS under the .xlsx filter") << window << "list.XLS" << xlsx << "list.XLS" << false;
        *row("other extension gets the filter's") << window << "方案1.5吨" << xlsx << "方案1.5吨.xlsx" << true;
        *row("trailing dot") << window << "list." << xlsx << "list.xlsx" << true;
    }
}

void WorkbookExportTest::formatFollowsFilterAndName()
{
    QFETCH(QString, window);
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(bool, xlsx);
    QWidget* shown = open(window);
    const QDir out(folder_->path(QStringLiteral("out")));
    QVERIFY(QDir().mkpath(out.path()));
    Prompt::queueFileName(out.filePath(typed), filter);
    Prompt::queueAnswer(QMessageBox::Ok);
    exportWorkbook(window, shown);

    QCOMPARE(Prompt::fileRequests().size(), 1);
    QCOMPARE(Prompt::fileRequests()[0].filter, ExcelFilter() + QStringLiteral(";;") + XlsxFilter());
    QCOMPARE(Prompt::lastText(), QStringLiteral("导出成功，是否打开文件？点确定打开，点取消不打开"));
    QCOMPARE(Prompt::openedDocuments(), QStringList{out.filePath(written)});
    QCOMPARE(out.entryList(QDir::Files), QStringList{written});
    const QByteArray head = ReadBytes(out.filePath(written)).left(4);
    QCOMPARE(head == QByteArray("PK\x03\x04"), xlsx);

    const QVector<QStringList> sheet = ReadBack(out.filePath(written), xlsx);
    if (window == kInventory) {
        const QVector<QStringList> rows = RowsFrom(sheet, 1, QStringLiteral("名称"));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[1].value(1), QStringLiteral("甲<煤"));
        QCOMPARE(rows[2].value(1), QStringLiteral("乙煤"));
        QCOMPARE(rows[0].value(8), QStringLiteral("灰分"));
        QCOMPARE(rows[1].value(8).toDouble(), 12.3);
        QCOMPARE(rows[2].value(19).toDouble(), 480.5);
    } else {
        const QVector<QStringList> coals = RowsFrom(sheet, 0, QStringLiteral("参与配比的煤"));
        QVERIFY(coals.size() > 3);
        QCOMPARE(coals[2].value(1), QStringLiteral("甲<煤"));
        QCOMPARE(coals[3].value(1), QStringLiteral("乙煤"));
        const QVector<QStringList> blends = RowsFrom(sheet, 0, QStringLiteral("方案列表"));
        QCOMPARE(blends.size(), 3);
        QCOMPARE(blends[1].value(1), QStringLiteral("甲<煤"));
        QCOMPARE(blends[2].value(1).toDouble(), 3.0);
        QCOMPARE(blends[2].value(2).toDouble(), 1.0);
    }
}

void WorkbookExportTest::failureShowsTheReason_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("filter");
    for (const QString& window : {QString(kInventory), QString(kHistory)}) {
        QTest::newRow(qPrintable(window + QStringLiteral(": .xls"))) << window << ExcelFilter();
        QTest::newRow(qPrintable(window + QStringLiteral(": .xlsx"))) << window << XlsxFilter();
    }
}

void WorkbookExportTest::failureShowsTheReason()
{
    QFETCH(QString, window);
    QFETCH(QString, filter);
    QWidget* shown = open(window);
    const QString path = folder_->path(QStringLiteral("no/such/folder/list"));
    Prompt::queueFileName(path, filter);
    exportWorkbook(window, shown);
    QCOMPARE(Prompt::shown().size(), 1);
    QVERIFY(Prompt::lastText().startsWith(ExcelExportFailedMessage()));
    QVERIFY(Prompt::lastText().size() > ExcelExportFailedMessage().size());
    QVERIFY(Prompt::openedDocuments().isEmpty());
    QVERIFY(!QFileInfo::exists(folder_->path(QStringLiteral("no"))));
}

QTEST_MAIN(WorkbookExportTest)
#include "tst_workbook_export.moc"
