// Importing coals the way a user does it: "导入煤种" in the inventory window
// or the main menu, a file from the dialog, the preview in frmImport, the
// choice for names the inventory has, then import or cancel.
#include "data/CoalTable.h"
#include "export/ListExport.h"
#include "export/ListLayouts.h"
#include "inventory/ImportJob.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/ImportDialog.h"
#include "ui/windows/InventoryWindow.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTest>

#include <memory>

namespace {

// Closed windows delete themselves later; let that happen now.
void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray Gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

// Preview list columns (see the dialog's list): row, status, name, notes.
constexpr int kStatus = 1;
constexpr int kName = 2;
constexpr int kNotes = 3;

}  // namespace

class ImportDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void gbkCsvWithABadPrice();
    void existingNames_data();
    void existingNames();
    void updateShowsWhatChanges();
    void cancelImportsNothing_data();
    void cancelImportsNothing();
    void unreadableFiles_data();
    void unreadableFiles();
    void previewShows_data();
    void previewShows();
    void menuItemOpensInventoryAndImport();
    void readOnWorker_data();
    void readOnWorker();

private:
    QString write(const QString& name, const QByteArray& bytes);
    // Starts an import of the file from the inventory's toolbar and waits
    // until the file is read; the dialog, or nullptr when it went away.
    ImportDialog* importFrom(const QString& path);
    ImportDialog* waitForRead();
    InventoryWindow* inventory();
    QStringList inventoryNames();
    ReportList* preview(ImportDialog* dialog) { return Child<ReportList>(dialog, "lsvPreview"); }

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Windows> windows_;
};

void ImportDialogTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{folder_->folder()});
    Prompt::setTestMode(true);
    Prompt::clear();
}

void ImportDialogTest::cleanup()
{
    windows_.reset();
    Settle();
    folder_.reset();
}

QString ImportDialogTest::write(const QString& name, const QByteArray& bytes)
{
    const QString path = folder_->path(name);
    if (!WriteBytes(path, bytes))
        FailSetUp(QStringLiteral("cannot write ") + path);
    return path;
}

InventoryWindow* ImportDialogTest::inventory()
{
    InventoryWindow* window = windows_->inventory();
    window->show();
    return window;
}

QStringList ImportDialogTest::inventoryNames()
{
    return Child<ReportList>(inventory(), "ListView1")->columnCells(1);
}

ImportDialog* ImportDialogTest::waitForRead()
{
    QPointer<ImportDialog> dialog = windows_->existingImportDialog();
    if (!dialog)
        return nullptr;
    // The file is read on a worker; the dialog answers once control is back
    // in the event loop, so the spy cannot miss it.
    QSignalSpy read(dialog.data(), &ImportDialog::fileRead);
    if (!read.wait(20000))
        return nullptr;
    Settle();
    return read.constFirst().constFirst().toBool() ? dialog.data() : nullptr;
}

ImportDialog* ImportDialogTest::importFrom(const QString& path)
{
    Prompt::queueFileName(path);
    Child<QAction>(inventory(), "Toolbar1_7")->trigger();
    return waitForRead();
}

// Three coals in a GBK file as Chinese spreadsheet programs save it, one of
// them with a price that is no number: two come in, the third is named with
// its reason and stays out.
void ImportDialogTest::gbkCsvWithABadPrice()
{
    const QByteArray bytes = Gbk(QStringLiteral("名称,灰分,硫分,价格\r\n"
                                                "山西焦煤,9.8,0.52,820\r\n"
                                                "神木原煤,13.8,0.86,约500\r\n"
                                                "大同精煤,8.5%,0.61,640\r\n"));
    QVERIFY(!bytes.isEmpty());
    QVERIFY(QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter));  // really not UTF-8
    ImportDialog* dialog = importFrom(write(QStringLiteral("三种煤.csv"), bytes));
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->objectName(), QStringLiteral("frmImport"));

    const ListData& rows = preview(dialog)->listData();
    QCOMPARE(rows.columnCells(kName), (QStringList{"山西焦煤", "神木原煤", "大同精煤"}));
    QCOMPARE(rows.columnCells(kStatus), (QStringList{"新增", "有问题", "新增"}));
    QCOMPARE(rows.columnCells(0), (QStringList{"2", "3", "4"}));
    QCOMPARE(rows.cell(1, kNotes), QStringLiteral("价格不是数字：约500"));
    QCOMPARE(rows.cell(2, kNotes), QStringLiteral("灰分去掉了百分号"));
    QCOMPARE(rows.cell(2, rows.findColumn(QStringLiteral("灰分(%)"))), QStringLiteral("8.50"));
    QVERIFY(Child<QLabel>(dialog, "lbSummary")->text().startsWith(QStringLiteral("共 3 行：2 行可以导入，1 行有问题不导入。")));
    QVERIFY(Child<QPushButton>(dialog, "btnImport")->isEnabled());
    QVERIFY(Prompt::shown().isEmpty());

    QTest::mouseClick(Child<QPushButton>(dialog, "btnImport"), Qt::LeftButton);
    QCOMPARE(Prompt::lastText(), QStringLiteral("导入 2 种煤，更新 0 种，跳过 1 行"));
    Settle();
    QVERIFY(!windows_->existingImportDialog());
    // The open inventory shows them without being asked.
    QCOMPARE(inventoryNames(), (QStringList{"山西焦煤", "大同精煤"}));
    QCOMPARE(Child<QLabel>(inventory(), "labCONUT")->text(), QStringLiteral("2 种"));
    const QVector<Mei> stored = Expect(LoadCoals(folder_->folder()));
    QCOMPARE(stored[1].HuiFen, QStringLiteral("8.50"));
    QCOMPARE(stored[1].JiaGe, 640.0);
}

void ImportDialogTest::existingNames_data()
{
    QTest::addColumn<QString>("option");  // the radio button to click; "" leaves the default
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("ash");
    QTest::newRow("update") << "optExisting_0" << "更新" << "导入 1 种煤，更新 1 种，跳过 0 行" << 900.0 << "11.00";
    QTest::newRow("skip") << "optExisting_1" << "跳过" << "导入 1 种煤，更新 0 种，跳过 1 行" << 100.0 << "10.00";
    QTest::newRow("default: nothing overwritten") << "" << "跳过" << "导入 1 种煤，更新 0 种，跳过 1 行" << 100.0
                                                  << "10.00";
}

void ImportDialogTest::existingNames()
{
    QFETCH(QString, option);
    QFETCH(QString, status);
    QFETCH(QString, message);
    QFETCH(double, price);
    QFETCH(QString, ash);
    Mei kept = MakeCoal(QStringLiteral("甲煤"), 100);
    kept.HuiFen = QStringLiteral("10.00");
    kept.Liu = QStringLiteral("0.50");
    Expect(SaveCoal(folder_->folder(), kept));

    ImportDialog* dialog = importFrom(write(QStringLiteral("coals.csv"), "名称,灰分,价格\n甲煤,11,900\n乙煤,9,700\n"));
    QVERIFY(dialog);
    QVERIFY(Child<QGroupBox>(dialog, "fraExisting")->isEnabled());
    QVERIFY(Child<QGroupBox>(dialog, "fraExisting")->title().contains(QStringLiteral("1 种")));
    if (!option.isEmpty())
        QTest::mouseClick(Child<QRadioButton>(dialog, option), Qt::LeftButton);
    // The list says what will happen before anything does.
    QCOMPARE(preview(dialog)->listData().columnCells(kStatus), (QStringList{status, "新增"}));

    QTest::mouseClick(Child<QPushButton>(dialog, "btnImport"), Qt::LeftButton);
    QCOMPARE(Prompt::lastText(), message);
    const QVector<Mei> stored = Expect(LoadCoals(folder_->folder()));
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored[0].MingCheng, QStringLiteral("甲煤"));
    QCOMPARE(stored[0].JiaGe, price);
    QCOMPARE(stored[0].HuiFen, ash);
    QCOMPARE(stored[0].Liu, QStringLiteral("0.50"));  // the file has no sulphur column
    QCOMPARE(inventoryNames(), (QStringList{"甲煤", "乙煤"}));
}

// With "update" chosen, each value that changes shows old and new, a blank
// cell the stored value it keeps; each value column names its unit and, on
// its header, its ranges.
void ImportDialogTest::updateShowsWhatChanges()
{
    Mei kept = MakeCoal(QStringLiteral("山西煤"), 400);
    kept.Liu = QStringLiteral("0.80");
    kept.HuiFen = QStringLiteral("10.00");
    Expect(SaveCoal(folder_->folder(), kept));
    ImportDialog* dialog = importFrom(write(QStringLiteral("coals.csv"), "名称,硫分,灰分,价格\n山西煤,,12,500\n"));
    QVERIFY(dialog);
    QTest::mouseClick(Child<QRadioButton>(dialog, "optExisting_0"), Qt::LeftButton);
    const ListData& rows = preview(dialog)->listData();
    QCOMPARE(rows.rows[0].subItems.mid(kNotes - 1),
             (QStringList{"", "0.80", "10.00 → 12.00", "400.00 → 500.00"}));
    const QAbstractItemModel* model = preview(dialog)->model();
    QCOMPARE(model->headerData(kNotes + 2, Qt::Horizontal).toString(), QStringLiteral("灰分(%)"));
    QCOMPARE(model->headerData(kNotes + 2, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("灰分，单位 %\n可填 0～100%，常见 0～60%"));

    QTest::mouseClick(Child<QPushButton>(dialog, "btnImport"), Qt::LeftButton);
    const Mei stored = Expect(LoadCoals(folder_->folder())).constFirst();
    QCOMPARE(stored.Liu, QStringLiteral("0.80"));
    QCOMPARE(stored.HuiFen, QStringLiteral("12.00"));
}

void ImportDialogTest::cancelImportsNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("btnCancel") << "btnCancel";
    QTest::newRow("window closed") << "close";
    QTest::newRow("update chosen, then cancelled") << "optExisting_0";
}

void ImportDialogTest::cancelImportsNothing()
{
    QFETCH(QString, how);
    Expect(SaveCoal(folder_->folder(), MakeCoal(QStringLiteral("甲煤"), 100)));
    ImportDialog* dialog = importFrom(write(QStringLiteral("coals.csv"), "名称,价格\n甲煤,900\n乙煤,700\n"));
    QVERIFY(dialog);
    if (how == QLatin1String("close")) {
        dialog->close();
    } else {
        if (how != QLatin1String("btnCancel"))
            QTest::mouseClick(Child<QRadioButton>(dialog, how), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
    }
    Settle();
    QVERIFY(!windows_->existingImportDialog());
    QVERIFY(Prompt::shown().isEmpty());
    const QVector<Mei> stored = Expect(LoadCoals(folder_->folder()));
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored[0].JiaGe, 100.0);

    // A file dialog left with "cancel" starts nothing either.
    Child<QAction>(inventory(), "Toolbar1_7")->trigger();
    QVERIFY(!windows_->existingImportDialog());
    QVERIFY(Prompt::shown().isEmpty());
}

void ImportDialogTest::unreadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");

    // A workbook the program wrote, cut off half way.
    TestFolder scratch(false);
    ListData list;
    SetupCoalColumns(list);
    ListRow row;
    row.text = QStringLiteral("1");
    row.setCell(1, QStringLiteral("山西焦煤"));
    list.rows << row;
    const QString whole = scratch.path(QStringLiteral("whole.xlsx"));
    Expect(ExportListToXlsx(scratch.folder(), list, whole));
    const QByteArray workbook = ReadBytes(whole);

    QTest::newRow("truncated zip") << "cut.xlsx" << workbook.left(workbook.size() / 2) << "cut.xlsx 已损坏";
    QTest::newRow("text named .xlsx") << "text.xlsx" << QByteArray("名称,价格\nA,1\n") << "text.xlsx 不是 Excel 工作簿";
    QTest::newRow("binary junk named .csv") << "junk.csv" << QByteArray("\x00\x01\x02\xff\xfe名称", 9)
                                            << "不是有效的 CSV 文件";
    QTest::newRow("empty file") << "empty.csv" << QByteArray() << "empty.csv 是空的";
    QTest::newRow("no name column") << "lab.csv" << QByteArray("灰分,价格\n9.8,820\n") << "找不到煤名称列";
    QTest::newRow("header only") << "header.csv" << QByteArray("名称,价格\n") << "只有表头";
}

void ImportDialogTest::unreadableFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    Expect(SaveCoal(folder_->folder(), MakeCoal(QStringLiteral("原有的煤"), 100)));
    QVERIFY(!importFrom(write(name, bytes)));
    Settle();
    QVERIFY(!windows_->existingImportDialog());
    QCOMPARE(Prompt::shown().size(), 1);
    QVERIFY2(Prompt::lastText().contains(says), qPrintable(Prompt::lastText()));
    QCOMPARE(Prompt::shown().constFirst().icon, Prompt::Icon::Warning);
    QCOMPARE(inventoryNames(), QStringList{"原有的煤"});
    QCOMPARE(Expect(CountCoals(folder_->folder())), 1);
}

void ImportDialogTest::previewShows_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("headers");      // after row, status, name, notes
    QTest::addColumn<QStringList>("notes");        // the notes column, top to bottom
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("unknown");          // "" = the label is hidden
    QTest::addColumn<bool>("canImport");

    QTest::newRow("columns not imported are listed")
        << QByteArray("编号,名称,备注,价格\n7,A,好煤,500\n") << QStringList{"价格(元/吨)"} << QStringList{""}
        << "共 1 行：1 行可以导入，0 行有问题不导入。"
        << "不导入的列：第 1 列“编号”：编号列，不导入；第 3 列“备注”：无法识别的列，不导入" << true;
    QTest::newRow("every row has a problem: nothing to import")
        << QByteArray("名称,灰分,价格\nA,,\n,9,5\nB,九,6\n") << QStringList{"灰分(%)", "价格(元/吨)"}
        << QStringList{"没有价格", "没有煤名称", "灰分不是数字：九"}
        << "共 3 行：0 行可以导入，3 行有问题不导入。" << "" << false;
    QTest::newRow("percent signs dropped and counted")
        << QByteArray("名称,灰分,硫分,价格\nA,12.3%,1%,500\nB,9,1,600\n")
        << QStringList{"硫分(%)", "灰分(%)", "价格(元/吨)"}
        << QStringList{"硫分去掉了百分号；灰分去掉了百分号", ""}
        << "共 2 行：2 行可以导入，0 行有问题不导入。1 行的数值去掉了百分号，见“问题或说明”列。" << "" << true;
    QTest::newRow("heat in MJ/kg converted, unusual values noted")
        << QByteArray("名称,发热量(MJ/kg),灰分,价格\nA,25.1,75,500\nB,22,10,600\n")
        << QStringList{"发热量(kcal/kg)", "灰分(%)", "价格(元/吨)"}
        << QStringList{"发热量由 25.1 MJ/kg 换算；灰分 75 不在常见范围 0～60% 内",
                       "发热量由 22 MJ/kg 换算"}
        << "共 2 行：2 行可以导入，0 行有问题不导入。发热量一列按 MJ/kg 换算为 kcal/kg（乘以 238.846），"
           "因为表头写的是 MJ/kg。1 行有数值不在常见范围内，请核对。"
        << "" << true;
}

void ImportDialogTest::previewShows()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, notes);
    QFETCH(QString, summary);
    QFETCH(QString, unknown);
    QFETCH(bool, canImport);
    ImportDialog* dialog = importFrom(write(QStringLiteral("coals.csv"), csv));
    QVERIFY(dialog);
    const ListData& rows = preview(dialog)->listData();
    QStringList shownHeaders;
    for (int c = 4; c < rows.columnCount(); ++c)
        shownHeaders << rows.columns[c].header;
    QCOMPARE(shownHeaders, headers);
    QCOMPARE(rows.columnCells(kNotes), notes);
    QCOMPARE(Child<QLabel>(dialog, "lbSummary")->text(), summary);
    QCOMPARE(Child<QLabel>(dialog, "lbUnknown")->isVisible(), !unknown.isEmpty());
    if (!unknown.isEmpty())
        QCOMPARE(Child<QLabel>(dialog, "lbUnknown")->text(), unknown);
    QCOMPARE(Child<QPushButton>(dialog, "btnImport")->isEnabled(), canImport);
    // No name of the file is in the inventory: there is nothing to choose.
    QVERIFY(!Child<QGroupBox>(dialog, "fraExisting")->isEnabled());
}

void ImportDialogTest::menuItemOpensInventoryAndImport()
{
    WorkspaceWindow* main = windows_->workspace();
    const QString path = write(QStringLiteral("coals.csv"), "名称,价格\n甲煤,900\n");
    Prompt::queueFileName(path);
    Child<QAction>(main, "munDaoru")->trigger();
    QVERIFY(windows_->existingInventory() && windows_->existingInventory()->isVisible());
    QCOMPARE(Prompt::fileRequests().size(), 1);
    QCOMPARE(Prompt::fileRequests()[0].title, QStringLiteral("导入煤种"));
    for (const char* pattern : {"*.xlsx", "*.xls", "*.csv"})
        QVERIFY(Prompt::fileRequests()[0].filter.contains(QLatin1String(pattern)));
    // Asked again while the file is being read: no second file, and no
    // empty preview.
    QVERIFY(windows_->existingImportDialog() && windows_->existingImportDialog()->reading());
    Child<QAction>(main, "munDaoru")->trigger();
    QCOMPARE(Prompt::fileRequests().size(), 1);
    QVERIFY(!windows_->existingImportDialog()->isVisible());
    ImportDialog* dialog = waitForRead();
    QVERIFY(dialog);
    QCOMPARE(dialog->parentWidget(), windows_->existingInventory());

    // While a preview is open the command brings it forward, asking for no
    // second file.
    Child<QAction>(main, "munDaoru")->trigger();
    QCOMPARE(windows_->existingImportDialog(), dialog);
    QCOMPARE(Prompt::fileRequests().size(), 1);
}

void ImportDialogTest::readOnWorker_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow(".xlsx read") << "coals.xlsx" << false;
    QTest::newRow(".xls read") << "coals.xls" << false;
    QTest::newRow(".csv read") << "coals.csv" << false;
    QTest::newRow(".xlsx cancelled") << "coals.xlsx" << true;
    QTest::newRow(".xls cancelled") << "coals.xls" << true;
    QTest::newRow(".csv cancelled") << "coals.csv" << true;
}

// The worker reads every format to the same preview as reading in place
// would, names of the inventory included, and a cancel ends it as cancelled.
void ImportDialogTest::readOnWorker()
{
    QFETCH(QString, name);
    QFETCH(bool, cancelled);
    ListData list;
    SetupCoalColumns(list);
    for (int i = 0; i < 3; ++i) {
        ListRow row;
        row.text = QString::number(i + 1);
        row.setCell(1, QStringLiteral("煤%1").arg(i));
        row.setCell(2, QStringLiteral("%1.50").arg(i + 5));
        row.setCell(19, QStringLiteral("600.00"));
        list.rows << row;
    }
    const QString path = folder_->path(name);
    if (name.endsWith(QLatin1String(".csv")))
        QVERIFY(WriteBytes(path, "名称,内水,价格\n煤0,5.50,600\n煤1,6.50,600\n煤2,7.50,600\n"));
    else
        Expect(ExportListToWorkbook(folder_->folder(), list, path));
    Expect(SaveCoal(folder_->folder(), MakeCoal(QStringLiteral("煤1"), 1)));
    const QHash<QString, int> names = Expect(InventoryNames(folder_->folder()));

    ImportReadJob job(path, names);
    QSignalSpy finished(&job, &ImportReadJob::finished);
    if (cancelled)
        job.cancel();
    job.start();
    QVERIFY(finished.wait(20000));
    const Result<ImportPreview>& read = job.result();
    if (cancelled) {
        QVERIFY(!read);
        QCOMPARE(read.kind(), FailureKind::Cancelled);
        return;
    }
    QVERIFY2(read.ok(), qPrintable(read.message()));
    const ImportPreview direct = Expect(ReadImportFile(folder_->folder(), path));
    QCOMPARE(read->rows.size(), 3);
    QCOMPARE(read->goodCount(), 3);
    QCOMPARE(read->existingCount(), 1);
    for (int r = 0; r < 3; ++r) {
        QCOMPARE(read->rows[r].coal.MingCheng, direct.rows[r].coal.MingCheng);
        QCOMPARE(read->rows[r].coal.neishui, direct.rows[r].coal.neishui);
        QCOMPARE(read->rows[r].existingId, direct.rows[r].existingId);
    }
    QCOMPARE(read->rows[2].coal.neishui, QStringLiteral("7.50"));
}

QTEST_MAIN(ImportDialogTest)
#include "tst_import_dialog.moc"
