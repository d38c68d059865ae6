#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/DiagnoseDialog.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

using Texts = QMap<QString, QString>;

// Three coals: ash 8.5, 9.2, 10 and heat 5200, 5800, 5500. 乙 beats 丙 on both,
// so low ash and high heat pull toward different coals.
struct Form {
    bool shovel = false;
    QString tonnage;
    QStringList stock{QStringLiteral("100"), QStringLiteral("100"), QStringLiteral("100")};
    QStringList weight{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
    int mustUse = -1;
    QString count = QStringLiteral("10");
    Texts bounds;  // bound box -> text
};

// What the dialog must say about a form.
struct Expected {
    QStringList conflict;
    QStringList stock;
    bool canApply = false;
    QStringList row;     // one list row: 指标, 可达最低, 可达最高, 下限, 上限, 建议下限, 建议上限
    Texts after;         // bound boxes after btnApply (or after the dialog closes)
    QStringList alternatives;  // a larger count or a smaller tonnage alone
};

// Presses the run button and waits until the run has ended.
void Run(WorkspaceWindow* window)
{
    QSignalSpy finished(window, &WorkspaceWindow::runFinished);
    Child<QPushButton>(window, QStringLiteral("Command1"))->click();
    if (finished.isEmpty() && !finished.wait(60000))
        qFatal("the run did not end");
}

void WaitDiagnosed(DiagnoseDialog* dialog)
{
    QSignalSpy done(dialog, &DiagnoseDialog::diagnosisFinished);
    if (!dialog->isFinished() && !done.wait(60000))
        qFatal("the diagnosis did not end");
}

QStringList Lines(QLabel* label)
{
    return label->isHidden() || label->text().isEmpty() ? QStringList() : label->text().split(QLatin1Char('\n'));
}

}  // namespace

Q_DECLARE_METATYPE(Form)
Q_DECLARE_METATYPE(Expected)

class DiagnoseDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void explainsAndApplies_data();
    void explainsAndApplies();
    void closeLeavesTheBounds();

private:
    void fill(const Form& form);
    DiagnoseDialog* runWithoutPlan();

    std::unique_ptr<TestFolder> test_;
    std::unique_ptr<Windows> windows_;
    WorkspaceWindow* window_ = nullptr;
};

void DiagnoseDialogTest::initTestCase()
{
    Prompt::setTestMode(true);
}

void DiagnoseDialogTest::init()
{
    Prompt::clear();
    test_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{test_->folder()});
    window_ = windows_->workspace();
}

void DiagnoseDialogTest::cleanup()
{
    windows_.reset();
    test_.reset();
}

void DiagnoseDialogTest::fill(const Form& form)
{
    const char* names[] = {"甲", "乙", "丙"};
    const char* prices[] = {"500", "480", "450"};
    const char* ash[] = {"8.5", "9.2", "10"};
    const char* heat[] = {"5200", "5800", "5500"};
    auto cell = [&](const char* column, int row) {
        return Child<QLineEdit>(window_, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
    };
    for (int r = 0; r < 3; ++r) {
        cell("txtMingcheng", r)->setText(QString::fromUtf8(names[r]));
        cell("txtJiage", r)->setText(QLatin1String(prices[r]));
        cell("txtHuifen", r)->setText(QLatin1String(ash[r]));
        cell("txtReliang", r)->setText(QLatin1String(heat[r]));
        cell("txtKuCun", r)->setText(form.stock[r]);
        cell("txtMeiChan", r)->setText(form.weight[r]);
        Child<QCheckBox>(window_, QStringLiteral("chk_%1").arg(r))->setChecked(r == form.mustUse);
    }
    window_->setShovelMode(form.shovel);
    Child<QLineEdit>(window_, QStringLiteral("txtZhongliang"))->setText(form.tonnage);
    Child<QLineEdit>(window_, QStringLiteral("txtChanshu"))->setText(form.count);
    for (auto it = form.bounds.begin(); it != form.bounds.end(); ++it)
        Child<QLineEdit>(window_, it.key())->setText(it.value());
}

// Runs the filled workspace, which must find no plan, and returns the
// dialog once its diagnosis is shown.
DiagnoseDialog* DiagnoseDialogTest::runWithoutPlan()
{
    Run(window_);
    if (!Prompt::shown().isEmpty())
        qFatal("the run showed a message: %s", qPrintable(Prompt::lastText()));
    DiagnoseDialog* dialog = windows_->existingDiagnose();
    if (!dialog)
        qFatal("no dialog opened after a run without a plan");
    WaitDiagnosed(dialog);
    return dialog;
}

void DiagnoseDialogTest::explainsAndApplies_data()
{
    QTest::addColumn<Form>("form");
    QTest::addColumn<Expected>("expected");
    const QString ashMax = QStringLiteral("txtHuifenMax");
    const QString heatMin = QStringLiteral("txtReliangMin");
    const QStringList threeOnes{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
    const QStringList heavyFirst{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")};
    auto ash = [](const char* lowest, const char* highest, const char* upper, const char* suggested) {
        return QStringList{QStringLiteral("灰分"), QLatin1String(lowest), QLatin1String(highest), QString(),
                           QLatin1String(upper), QString(), QLatin1String(suggested)};
    };
    auto below = [](const char* reach) {
        return QStringList{QStringLiteral("灰分上限 8.0 低于所选煤能达到的最低值 ") + QLatin1String(reach)};
    };

    // Every coal's ash is above the bound: the lowest ash a mix reaches is
    // 甲 alone, 8.5.
    QTest::newRow("plain") << Form{false, {}, {"100", "100", "100"}, threeOnes, -1, "10", {{ashMax, "8.0"}}}
                           << Expected{below("8.50"), {}, true, ash("8.50", "10.00", "8.0", "8.5"), {{ashMax, "8.5"}}};
    // Every coal's heat is below the bound: the highest is 乙 alone.
    QTest::newRow("heat above every coal")
        << Form{false, {}, {"100", "100", "100"}, threeOnes, -1, "10", {{heatMin, "6000"}}}
        << Expected{{QStringLiteral("热量下限 6000 高于所选煤能达到的最高值 5800.00")},
                    {},
                    true,
                    {"热量", "5200.00", "5800.00", "6000", "", "5800", ""},
                    {{heatMin, "5800"}}};
    // Shovels of 3, 2 and 1 t: one shovel of 甲 alone is a total of 3 t,
    // which a run up to 10 tries.
    QTest::newRow("shovel counts")
        << Form{true, {}, {"100", "100", "100"}, heavyFirst, -1, "10", {{ashMax, "8.0"}}}
        << Expected{below("8.50"), {}, true, ash("8.50", "10.00", "8.0", "8.5"), {{ashMax, "8.5"}}};
    // 100 t from 50 t of 甲: at most half of it, the rest best from 乙.
    QTest::newRow("stock") << Form{false, "100", {"50", "100", "100"}, threeOnes, -1, "10", {{ashMax, "8.0"}}}
                           << Expected{below("8.85"), {}, true, ash("8.85", "10.00", "8.0", "8.85"), {{ashMax, "8.85"}}};
    // 60 t of 甲 at 30 t per shovel of 100 t over 10: two shovels; the other
    // 4 t best as two shovels of 乙.
    QTest::newRow("shovel counts with stock")
        << Form{true, "100", {"60", "100", "100"}, heavyFirst, -1, "10", {{ashMax, "8.0"}}}
        << Expected{below("8.78"), {}, true, ash("8.78", "10.00", "8.0", "8.78"), {{ashMax, "8.78"}}};
    // Each bound alone can be met, not both. Moving ash up by 0.17 (of a
    // spread of 1.5) with one part of 甲 and two of 乙 (total 3, heat 5600,
    // ash 8.967) costs less than any move of heat, and less than the 0.19 of
    // the best mix of total 10 (3 of 甲, 7 of 乙).
    QTest::newRow("ash and heat together")
        << Form{false, {}, {"100", "100", "100"}, threeOnes, -1, "10", {{ashMax, "8.8"}, {heatMin, "5600"}}}
        << Expected{{QStringLiteral("所选煤在比例数2到10下都没有同时满足热量下限 5600 和灰分上限 8.8 的配比")},
                    {},
                    true,
                    ash("8.50", "10.00", "8.8", "8.97"),
                    {{ashMax, "8.97"}, {heatMin, "5600"}}};
    // No change of the bounds helps: the lines say why, the bounds stay.
    // 105 t in stock for 100 t, but in whole parts of any total up to 6 the
    // coals give too few: at 6, two parts each of 甲 and 乙 and none of 丙.
    // At 7 they give three, three and one; 90 t fit one part each of 甲 and
    // 乙 at total 2.
    QTest::newRow("stock short in whole parts")
        << Form{false, "100", {"45", "45", "15"}, threeOnes, -1, "6", {{ashMax, "12"}}}
        << Expected{{}, {QStringLiteral("配100吨、比例数2到6时，按整份计各煤的库存合起来都不够")}, false,
                    ash("", "", "12", ""), {{ashMax, "12"}},
                    {QStringLiteral("建议：不改指标范围，只把比例数改为7，也有配比方案（比例数小，整份太粗，配不出来）。"),
                     QStringLiteral("建议：不改指标范围，只把配多少吨改为90吨或更少，也有配比方案（所选煤的库存不够配100吨）。")}};
    QTest::newRow("must-use coal without stock")
        << Form{false, "100", {"100", "0", "100"}, threeOnes, 1, "10", {{ashMax, "12"}}}
        << Expected{{},
                    {QStringLiteral("必选的第2种煤（乙）库存只有0吨，配100吨、比例数10时至少用1份也要10吨")},
                    false,
                    ash("", "", "12", ""),
                    {{ashMax, "12"}}};
}

// A run without a plan opens the dialog instead of a message and stores
// nothing; the dialog names the bounds, lists what the coals reach, and its
// suggestion, written into the boxes, gives a plan on the next run.
void DiagnoseDialogTest::explainsAndApplies()
{
    QFETCH(Form, form);
    QFETCH(Expected, expected);
    fill(form);
    DiagnoseDialog* dialog = runWithoutPlan();
    QCOMPARE(HistoryRows(test_->folder()), 0);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("没有配比方案"));

    QCOMPARE(Lines(Child<QLabel>(dialog, QStringLiteral("lbConflict"))), expected.conflict);
    QCOMPARE(Lines(Child<QLabel>(dialog, QStringLiteral("lbStock"))), expected.stock);
    // A suggestion, or the word that no change of the bounds can help.
    QCOMPARE(Lines(Child<QLabel>(dialog, QStringLiteral("lbSuggestion"))).isEmpty(), !expected.canApply);
    QCOMPARE(Lines(Child<QLabel>(dialog, QStringLiteral("lbRules"))).isEmpty(), expected.stock.isEmpty());
    QCOMPARE(Lines(Child<QLabel>(dialog, QStringLiteral("lbAlternative"))), expected.alternatives);

    auto* list = Child<ReportList>(dialog, QStringLiteral("lsvReason"));
    const ListData& reasons = list->listData();
    QStringList headers;
    for (const ListColumn& column : reasons.columns)
        headers << column.header;
    QCOMPARE(headers, (QStringList{"指标", "可达最低", "可达最高", "下限", "上限", "建议下限", "建议上限"}));
    QCOMPARE(reasons.rowCount(), int(form.bounds.size()));
    int row = -1;
    for (int r = 0; r < reasons.rowCount(); ++r)
        if (reasons.cell(r, 0) == expected.row.first())
            row = r;
    QVERIFY(row >= 0);
    QStringList cells;
    for (int c = 0; c < reasons.columnCount(); ++c)
        cells << reasons.cell(row, c);
    QCOMPARE(cells, expected.row);

    auto* apply = Child<QPushButton>(dialog, QStringLiteral("btnApply"));
    QCOMPARE(apply->text(), QStringLiteral("按建议修改指标范围"));
    QCOMPARE(apply->isEnabled(), expected.canApply);
    QPointer<DiagnoseDialog> open(dialog);
    (expected.canApply ? apply : Child<QPushButton>(dialog, QStringLiteral("btnClose")))->click();
    QTRY_VERIFY(!open);
    for (auto it = expected.after.begin(); it != expected.after.end(); ++it)
        QCOMPARE(Child<QLineEdit>(window_, it.key())->text(), it.value());
    if (!expected.canApply)
        return;

    QSignalSpy stored(window_, &WorkspaceWindow::planStored);
    Run(window_);
    QCOMPARE(stored.size(), 1);
    QVERIFY(!windows_->existingDiagnose());
    QVERIFY(HistoryRows(test_->folder()) > 0);
}

// Closing without applying leaves every box as typed; a second run without a
// plan opens a fresh dialog.
void DiagnoseDialogTest::closeLeavesTheBounds()
{
    Form form;
    form.bounds = {{QStringLiteral("txtHuifenMax"), QStringLiteral("8.0")}};
    fill(form);
    DiagnoseDialog* first = runWithoutPlan();
    QVERIFY(Child<QPushButton>(first, QStringLiteral("btnApply"))->isEnabled());
    QPointer<DiagnoseDialog> open(first);
    Child<QPushButton>(first, QStringLiteral("btnClose"))->click();
    QTRY_VERIFY(!open);
    QCOMPARE(Child<QLineEdit>(window_, QStringLiteral("txtHuifenMax"))->text(), QStringLiteral("8.0"));

    DiagnoseDialog* second = runWithoutPlan();
    QVERIFY(second->isVisible());
    QCOMPARE(HistoryRows(test_->folder()), 0);
}

QTEST_MAIN(DiagnoseDialogTest)
#include "tst_diagnose_dialog.moc"
