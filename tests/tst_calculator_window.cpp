// The manual calculator window: its mode note, its grid's proportion column,
// the result box and its toolbar.
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/CalculatorWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

QLineEdit* Cell(QWidget* window, const char* column, int row)
{
    return Child<QLineEdit>(window, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
}

}  // namespace

class CalculatorWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void modeNote_data();
    void modeNote();
    void proportionColumnAfterShovelWeight();
    void resultAndFailedCheckKeepsIt_data();
    void resultAndFailedCheckKeepsIt();
    void toolbarClearsAndComputes();

private:
    void fillTwoCoals();
    std::unique_ptr<TestFolder> folder_;
    CalculatorWindow* window_ = nullptr;
};

void CalculatorWindowTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    Prompt::setTestMode(true);
    Prompt::clear();
    window_ = new CalculatorWindow(false);
    window_->show();
}

void CalculatorWindowTest::cleanup()
{
    window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    folder_.reset();
}

void CalculatorWindowTest::fillTwoCoals()
{
    const char* values[2][4] = {{"A", "1", "100", "10"}, {"B", "1", "200", "20"}};
    for (int row = 0; row < 2; ++row) {
        Cell(window_, "txtMingcheng", row)->setText(QString::fromUtf8(values[row][0]));
        Cell(window_, "txtKuCun", row)->setText(QString::fromUtf8(values[row][1]));
        Cell(window_, "txtJiage", row)->setText(QString::fromUtf8(values[row][2]));
        Cell(window_, "txtHuifen", row)->setText(QString::fromUtf8(values[row][3]));
    }
}

void CalculatorWindowTest::modeNote_data()
{
    QTest::addColumn<bool>("shovel");
    QTest::addColumn<QString>("note");
    QTest::newRow("weights") << false << "方式：重量配比";
    QTest::newRow("shovel counts") << true << "方式：铲数配比";
}

void CalculatorWindowTest::modeNote()
{
    QFETCH(bool, shovel);
    QFETCH(QString, note);
    window_->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window_ = new CalculatorWindow(shovel);
    QCOMPARE(window_->windowTitle(), QStringLiteral("手动配比"));
    QCOMPARE(Child<QLabel>(window_, QStringLiteral("lbNotice"))->text(), note);
    // Settings saved while the window is open: the note follows.
    window_->setShovelMode(!shovel);
    QVERIFY(Child<QLabel>(window_, QStringLiteral("lbNotice"))->text() != note);
}

void CalculatorWindowTest::proportionColumnAfterShovelWeight()
{
    QCOMPARE(Child<QLabel>(window_, QStringLiteral("lbKucun"))->text(), QStringLiteral("配比"));
    QCOMPARE(Child<QLabel>(window_, QStringLiteral("lbMingcheng"))->text(), QStringLiteral("煤名称"));
    QVERIFY(Cell(window_, "txtKuCun", 0)->x() > Cell(window_, "txtMeiChan", 0)->x());
    QVERIFY(Cell(window_, "txtKuCun", 0)->x() < Cell(window_, "txtJiage", 0)->x());
    QVERIFY(!window_->findChild<QWidget*>(QStringLiteral("chk_0")));
}

void CalculatorWindowTest::resultAndFailedCheckKeepsIt_data()
{
    QTest::addColumn<QString>("secondProportion");
    QTest::addColumn<QString>("message");
    QTest::newRow("all proportions 0") << "0" << "配比合计为0，无法计算混合后的指标，请修改配比";
    QTest::newRow("proportion missing") << "" << "第2行的配比没有填写，请你填写";
    QTest::newRow("proportion too large") << "99999" << "第2行的配比超出了范围，配比请填写-32768到32767之间的数";
}

void CalculatorWindowTest::resultAndFailedCheckKeepsIt()
{
    QFETCH(QString, secondProportion);
    QFETCH(QString, message);
    fillTwoCoals();
    QTest::mouseClick(Child<QPushButton>(window_, QStringLiteral("Command1")), Qt::LeftButton);
    auto* result = Child<QPlainTextEdit>(window_, QStringLiteral("txtResult"));
    QVERIFY2(result->toPlainText().contains(QStringLiteral("灰分：15.00")), qPrintable(result->toPlainText()));
    const QString previous = result->toPlainText();

    Cell(window_, "txtKuCun", 0)->setText(secondProportion == QLatin1String("0") ? QStringLiteral("0") : QStringLiteral("1"));
    Cell(window_, "txtKuCun", 1)->setText(secondProportion);
    QTest::mouseClick(Child<QPushButton>(window_, QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(Prompt::lastText(), message);
    QCOMPARE(result->toPlainText(), previous);
}

void CalculatorWindowTest::toolbarClearsAndComputes()
{
    fillTwoCoals();
    // Rows with a gap are closed up by the computation.
    Cell(window_, "txtMingcheng", 1)->clear();
    Cell(window_, "txtKuCun", 1)->clear();
    Cell(window_, "txtJiage", 1)->clear();
    Cell(window_, "txtHuifen", 1)->clear();
    Cell(window_, "txtMingcheng", 4)->setText(QStringLiteral("C"));
    Cell(window_, "txtKuCun", 4)->setText(QStringLiteral("3"));
    Cell(window_, "txtJiage", 4)->setText(QStringLiteral("200"));
    Cell(window_, "txtHuifen", 4)->setText(QStringLiteral("20"));
    Child<QAction>(window_, QStringLiteral("tbrMenu_4"))->trigger();
    QCOMPARE(Cell(window_, "txtMingcheng", 1)->text(), QStringLiteral("C"));
    QVERIFY(Child<QPlainTextEdit>(window_, QStringLiteral("txtResult"))->toPlainText().contains(QStringLiteral("灰分：17.50")));

    Child<QAction>(window_, QStringLiteral("tbrMenu_3"))->trigger();
    for (int row = 0; row < 10; ++row)
        QCOMPARE(Cell(window_, "txtMingcheng", row)->text(), QString());
}

QTEST_MAIN(CalculatorWindowTest)
#include "tst_calculator_window.moc"
