#include "support/Controls.h"
#include "support/TestFolder.h"

#include "export/XlsxFile.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/ScheduleWindow.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// Three coals: A cheap and ashy, B clean and short of stock, C dear. Ash at
// most 11 wants half A and half B (50 t each of a 100 t day), so B runs out
// on the second day unless a delivery comes.
WorkspaceInput Yard(const QString& stockB = QStringLiteral("60"))
{
    WorkspaceInput input;
    struct Coal {
        const char* name;
        const char* price;
        const char* ash;
        QString stock;
    };
    const Coal coals[] = {{"甲煤", "400", "14", QStringLiteral("1000")},
                          {"乙煤", "500", "8", stockB},
                          {"丙煤", "700", "10", QStringLiteral("1000")}};
    for (int r = 0; r < 3; ++r) {
        GridRow& row = input.grid.rows[r];
        row.cells[kNameCell] = QString::fromUtf8(coals[r].name);
        row.cells[kPriceCell] = QLatin1String(coals[r].price);
        row.cells[IndexCell(6)] = QLatin1String(coals[r].ash);
        row.cells[kStockCell] = coals[r].stock;
    }
    input.upper[6] = QStringLiteral("11");
    input.proportionCount = QStringLiteral("10");
    return input;
}

void Type(QWidget* window, const char* box, const QString& text)
{
    Child<QLineEdit>(window, QLatin1String(box))->setText(text);
}

void Click(QWidget* window, const char* button)
{
    QTest::mouseClick(Child<QPushButton>(window, QLatin1String(button)), Qt::LeftButton);
}

}  // namespace

class ScheduleWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { Prompt::setTestMode(true); }
    void init()
    {
        Prompt::clear();
        folder_ = std::make_unique<TestFolder>();
        yard_ = Yard();
        window_ = new ScheduleWindow(WindowContext{folder_->folder()});
        window_->setInputSource([this] { return yard_; });
        window_->show();
    }
    void cleanup()
    {
        delete window_.data();
        folder_.reset();
    }

    void threeDaysWithADelivery();
    void storedPlanReopensAndGoes();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void shortStockIsNamed_data();
    void shortStockIsNamed();

private:
    void planThreeDays();

    std::unique_ptr<TestFolder> folder_;
    WorkspaceInput yard_;
    QPointer<ScheduleWindow> window_;
};

void ScheduleWindowTest::planThreeDays()
{
    Type(window_, "txtTianshu", "3");
    Type(window_, "txtMeitian", "100");
    QComboBox* coal = Child<QComboBox>(window_, "cboDaohuoMei");
    QCOMPARE(coal->count(), 3);
    // A delivery entered by mistake goes again.
    coal->setCurrentText(QStringLiteral("丙煤"));
    Type(window_, "txtDaohuoTian", "1");
    Type(window_, "txtDaohuoDun", "500");
    Click(window_, "btnAddDaohuo");
    ReportList* deliveries = Child<ReportList>(window_, "lsvDaohuo");
    deliveries->selectRow(0);
    Click(window_, "btnDelDaohuo");
    QCOMPARE(deliveries->rowCount(), 0);
    coal->setCurrentText(QStringLiteral("乙煤"));
    Type(window_, "txtDaohuoTian", "2");
    Type(window_, "txtDaohuoDun", "50");
    Click(window_, "btnAddDaohuo");
    QCOMPARE(deliveries->rowCount(), 1);
    QCOMPARE(deliveries->cellText(0, 0), QStringLiteral("乙煤"));
    QSignalSpy done(window_.data(), &ScheduleWindow::computeFinished);
    Click(window_, "btnJisuan");
    QVERIFY(done.wait(20000));
    QVERIFY2(Prompt::shown().isEmpty(), qPrintable(Prompt::lastText()));
}

void ScheduleWindowTest::threeDaysWithADelivery()
{
    planThreeDays();
    // Per 10 t part the clean coal costs 1000 more than the ashy one, the
    // dear one 3000 more; each day needs 6 clean + 4 dear parts >= 30 (ash
    // at most 11) and the clean coal gives 11 parts over the days with its
    // delivery: the least extra is 2900 a part-set, so 3 x 40000 + 29000.
    QVERIFY2(Child<QLabel>(window_, "lbZongjia")->text().contains(QStringLiteral("149000.00")),
             qPrintable(Child<QLabel>(window_, "lbZongjia")->text()));
    ReportList* plan = Child<ReportList>(window_, "lsvJihua");
    QCOMPARE(plan->rowCount(), 3);
    double cleanUsed = 0;
    for (int d = 0; d < 3; ++d) {
        QCOMPARE(plan->cellText(d, 2).toDouble() + plan->cellText(d, 4).toDouble() + plan->cellText(d, 6).toDouble(), 100.0);
        if (d < 2)
            cleanUsed += plan->cellText(d, 4).toDouble();
    }
    // Each coal's stock over the days, from the opening stock.
    const QList<QAbstractSeries*> series = Child<QChartView>(window_, "chartKucun")->chart()->series();
    QCOMPARE(series.size(), 3);
    const QList<QPointF> clean = static_cast<QLineSeries*>(series[1])->points();
    QCOMPARE(clean.size(), 4);
    QCOMPARE(clean[0].y(), 60.0);
    QCOMPARE(clean[2].y(), 60.0 + 50.0 - cleanUsed);
    for (const QPointF& p : clean)
        QVERIFY(p.y() >= 0.0);

    // Exported with its numbers as numbers.
    const QString path = folder_->path(QStringLiteral("plan.xlsx"));
    Prompt::queueFileName(path);
    Prompt::queueAnswer(QMessageBox::Cancel);
    Click(window_, "btnDaochu");
    QVERIFY(Prompt::lastText().startsWith(QStringLiteral("导出成功")));
    const CellTable table = Expect(ReadXlsxFile(path));
    QVERIFY(table.cell(2, 0) && table.cell(2, 0)->number);
    QCOMPARE(table.cell(2, 0)->text, QStringLiteral("1"));
    QVERIFY(table.cell(3, 2) && table.cell(3, 2)->number);
    QCOMPARE(table.cell(3, 2)->text.toDouble(), plan->cellText(1, 2).toDouble());

    // The loader sheets of all days in one PDF, a page each, with each day's
    // coals adding up to its tons.
    const QString pdf = folder_->path(QStringLiteral("sheets.pdf"));
    Prompt::queueFileName(pdf);
    Prompt::queueAnswer(QMessageBox::Cancel);
    Click(window_, "btnZhuangche");
    QVERIFY(Prompt::lastText().startsWith(QStringLiteral("导出成功")));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    for (int d = 0; d < 3; ++d) {
        QVERIFY2(pages[d].contains(QStringLiteral("第%1天").arg(d + 1)), qPrintable(pages[d]));
        QVERIFY(pages[d].contains(QStringLiteral("甲煤")) && pages[d].contains(QStringLiteral("乙煤")));
        QVERIFY(pages[d].contains(QStringLiteral("100.00")));
        QVERIFY(pages[d].contains(plan->cellText(d, 4)));
    }
}

void ScheduleWindowTest::storedPlanReopensAndGoes()
{
    planThreeDays();
    ReportList* plan = Child<ReportList>(window_, "lsvJihua");
    const ListData computed = plan->listData();
    Click(window_, "btnSaveJihua");
    ReportList* list = Child<ReportList>(window_, "lsvJihuaList");
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(CountRows(folder_->folder(), QStringLiteral("Jihua_ri")), 9);

    // A fresh window reopens it as it was, deliveries and all.
    delete window_.data();
    window_ = new ScheduleWindow(WindowContext{folder_->folder()});
    window_->setInputSource([this] { return yard_; });
    window_->show();
    list = Child<ReportList>(window_, "lsvJihuaList");
    QCOMPARE(list->rowCount(), 1);
    list->selectRow(0);
    Click(window_, "btnOpenJihua");
    plan = Child<ReportList>(window_, "lsvJihua");
    QCOMPARE(plan->listData().rows.size(), computed.rows.size());
    for (int r = 0; r < computed.rowCount(); ++r)
        QCOMPARE(plan->listData().rows[r].subItems, computed.rows[r].subItems);
    QCOMPARE(Child<ReportList>(window_, "lsvDaohuo")->rowCount(), 1);
    QCOMPARE(Child<QLineEdit>(window_, "txtTianshu")->text(), QStringLiteral("3"));

    Prompt::queueAnswer(QMessageBox::Yes);
    Click(window_, "btnDelJihua");
    QCOMPARE(list->rowCount(), 0);
    QCOMPARE(CountRows(folder_->folder(), QStringLiteral("Jihua")), 0);
    QCOMPARE(CountRows(folder_->folder(), QStringLiteral("Jihua_ri")), 0);
}

void ScheduleWindowTest::badInputIsRefused_data()
{
    QTest::addColumn<QString>("days");
    QTest::addColumn<QString>("tons");
    QTest::addColumn<QString>("stockB");
    QTest::addColumn<QString>("message");
    QTest::newRow("no days") << "0" << "100" << "60" << "天数必须是1到31之间的整数";
    QTest::newRow("too many days") << "32" << "100" << "60" << "天数必须是1到31之间的整数";
    QTest::newRow("days not a number") << "七" << "100" << "60" << "天数必须是1到31之间的整数";
    QTest::newRow("no tons") << "3" << "" << "60" << "每天配煤的吨数必须是大于0的数字";
    QTest::newRow("negative tons") << "3" << "-5" << "60" << "每天配煤的吨数必须是大于0的数字";
    QTest::newRow("no stock") << "3" << "100" << "" << "第2种煤（乙煤）的库存没有填写";
}

void ScheduleWindowTest::badInputIsRefused()
{
    QFETCH(QString, days);
    QFETCH(QString, tons);
    QFETCH(QString, stockB);
    QFETCH(QString, message);
    yard_ = Yard(stockB);
    Type(window_, "txtTianshu", days);
    Type(window_, "txtMeitian", tons);
    Click(window_, "btnJisuan");
    QVERIFY(!window_->computing());
    QVERIFY2(Prompt::lastText().contains(message), qPrintable(Prompt::lastText()));
}

// Without the delivery the clean coal runs out on the second day, and the
// dear coal cannot stand in alone when the must-use ticks keep it out. The
// coal's name is shown as it stands, even where it looks like a placeholder
// of the sentence around it.
void ScheduleWindowTest::shortStockIsNamed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("said");
    QTest::newRow("plain name") << QStringLiteral("乙煤") << QStringLiteral("第2天无法配煤，因为乙煤的库存不够");
    QTest::newRow("name like a placeholder")
        << QStringLiteral("乙%3煤") << QStringLiteral("因为乙%3煤的库存不够。到第2天为止乙%3煤一共只有60.00吨");
}

void ScheduleWindowTest::shortStockIsNamed()
{
    QFETCH(QString, name);
    QFETCH(QString, said);
    yard_.grid.rows[1].cells[kNameCell] = name;
    yard_.grid.rows[1].cells[kStockCell] = QStringLiteral("60");
    yard_.grid.rows[2].cells[kStockCell] = QStringLiteral("0");
    Type(window_, "txtTianshu", "3");
    Type(window_, "txtMeitian", "100");
    QSignalSpy done(window_.data(), &ScheduleWindow::computeFinished);
    Click(window_, "btnJisuan");
    QVERIFY(done.wait(20000));
    const QString text = Prompt::lastText();
    QVERIFY2(text.contains(said), qPrintable(text));
    QCOMPARE(Child<ReportList>(window_, "lsvJihua")->rowCount(), 0);
    QVERIFY(!Child<QPushButton>(window_, "btnSaveJihua")->isEnabled());
}

QTEST_MAIN(ScheduleWindowTest)
#include "tst_schedule_window.moc"
