// The coal selection dialog: ticking rows, the ten-coal limit, and the coals
// landing in the free rows of the window that opened it.
#include "data/CoalTable.h"
#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/CalculatorWindow.h"
#include "ui/windows/SelectDialog.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

QString Cell(QWidget* window, const char* column, int row)
{
    return Child<QLineEdit>(window, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row))->text();
}

QStringList Names(QWidget* window)
{
    QStringList names;
    for (int row = 0; row < 10; ++row)
        names << Cell(window, "txtMingcheng", row);
    return names;
}

void Settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class SelectDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void rowClickAndSelectAllFlipBoxes();
    void twelveTickedFillTenRows();
    void firstFreeRowFirst();
    void fromTheCalculator();
    void nothingTickedDoesNothing();

private:
    // The dialog as the workspace's toolbar opens it.
    SelectDialog* openDialog();
    void tick(SelectDialog* dialog, const QList<int>& rows);
    ReportList* list(SelectDialog* dialog) { return Child<ReportList>(dialog, QStringLiteral("lsvTop")); }

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Windows> windows_;
};

void SelectDialogTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{folder_->folder()});
    Prompt::setTestMode(true);
    Prompt::clear();
    for (int i = 1; i <= 12; ++i) {
        Mei coal = MakeCoal(QStringLiteral("煤%1").arg(i, 2, 10, QLatin1Char('0')), 600 + i);
        coal.Kucun = i == 2 ? QStringLiteral("0") : QStringLiteral("1200");
        coal.MeiChan = i == 2 ? QString() : QStringLiteral("1.5");
        Expect(SaveCoal(folder_->folder(), coal));
    }
}

void SelectDialogTest::cleanup()
{
    windows_.reset();
    Settle();
    folder_.reset();
}

SelectDialog* SelectDialogTest::openDialog()
{
    Child<QAction>(windows_->workspace(), QStringLiteral("tbrMenu_2"))->trigger();
    SelectDialog* dialog = windows_->existingSelectDialog();
    if (!dialog || !dialog->isVisible() || dialog->windowModality() != Qt::NonModal)
        qFatal("the workspace's selection dialog is not open, or modal");
    return dialog;
}

void SelectDialogTest::tick(SelectDialog* dialog, const QList<int>& rows)
{
    QAbstractItemModel* model = list(dialog)->model();
    for (int row : rows)
        model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
}

void SelectDialogTest::rowClickAndSelectAllFlipBoxes()
{
    SelectDialog* dialog = openDialog();
    ReportList* lsvTop = list(dialog);
    QCOMPARE(lsvTop->rowCount(), 12);
    QVERIFY(lsvTop->checkedRows().isEmpty());

    // A click on a row's name flips its box; a click on the box flips it once.
    const QRect nameCell = lsvTop->visualRect(lsvTop->model()->index(3, 1));
    QTest::mouseClick(lsvTop->viewport(), Qt::LeftButton, {}, nameCell.center());
    QCOMPARE(lsvTop->checkedRows(), QVector<int>{3});
    QTest::mouseClick(lsvTop->viewport(), Qt::LeftButton, {}, nameCell.center());
    QVERIFY(lsvTop->checkedRows().isEmpty());

    QStyleOptionViewItem option;
    option.initFrom(lsvTop);
    option.rect = lsvTop->visualRect(lsvTop->model()->index(5, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = lsvTop->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, lsvTop);
    QTest::mouseClick(lsvTop->viewport(), Qt::LeftButton, {}, box.center());
    QCOMPARE(lsvTop->checkedRows(), QVector<int>{5});

    // Select-all flips every box: a mixed list is inverted, twice gives it back.
    auto* all = Child<QPushButton>(dialog, QStringLiteral("btnCheckAll"));
    all->click();
    QCOMPARE(lsvTop->checkedRows().size(), 11);
    QVERIFY(!lsvTop->checkedRows().contains(5));
    all->click();
    QCOMPARE(lsvTop->checkedRows(), QVector<int>{5});
}

void SelectDialogTest::twelveTickedFillTenRows()
{
    WorkspaceWindow* workspace = windows_->workspace();
    SelectDialog* dialog = openDialog();
    QPointer<SelectDialog> guard(dialog);
    tick(dialog, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
    Child<QPushButton>(dialog, QStringLiteral("Command1"))->click();

    QCOMPARE(Prompt::shown().size(), 1);
    QCOMPARE(Prompt::lastText(), QStringLiteral("最多只能选择10种煤"));
    QStringList expected;
    for (int i = 1; i <= 10; ++i)
        expected << QStringLiteral("煤%1").arg(i, 2, 10, QLatin1Char('0'));
    QCOMPARE(Names(workspace), expected);
    Settle();
    QVERIFY(!guard);
}

void SelectDialogTest::firstFreeRowFirst()
{
    WorkspaceWindow* workspace = windows_->workspace();
    Child<QLineEdit>(workspace, QStringLiteral("txtMingcheng_0"))->setText(QStringLiteral("甲"));
    Child<QLineEdit>(workspace, QStringLiteral("txtMingcheng_2"))->setText(QStringLiteral("乙"));
    SelectDialog* dialog = openDialog();
    tick(dialog, {0, 1});
    Child<QPushButton>(dialog, QStringLiteral("Command1"))->click();

    QCOMPARE(Names(workspace).mid(0, 5), (QStringList{"甲", "煤01", "乙", "煤02", ""}));
    // Stock 0 arrives as 0, a missing shovel weight as nothing, prices with two decimals.
    QCOMPARE(Cell(workspace, "txtKuCun", 1), QStringLiteral("1200.00"));
    QCOMPARE(Cell(workspace, "txtKuCun", 3), QStringLiteral("0"));
    QCOMPARE(Cell(workspace, "txtMeiChan", 1), QStringLiteral("1.50"));
    QCOMPARE(Cell(workspace, "txtMeiChan", 3), QString());
    QCOMPARE(Cell(workspace, "txtJiage", 3), QStringLiteral("602.00"));
}

void SelectDialogTest::fromTheCalculator()
{
    WorkspaceWindow* workspace = windows_->workspace();
    CalculatorWindow* calculator = windows_->calculator();
    calculator->show();
    Child<QAction>(calculator, QStringLiteral("tbrMenu_2"))->trigger();
    SelectDialog* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<SelectDialog*>(w); d && d->isVisible())
            dialog = d;
    QVERIFY(dialog);
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    tick(dialog, {0, 1});
    Child<QPushButton>(dialog, QStringLiteral("Command1"))->click();

    QCOMPARE(Names(calculator).mid(0, 3), (QStringList{"煤01", "煤02", ""}));
    // Stocks land in the calculator's proportion column.
    QCOMPARE(Cell(calculator, "txtKuCun", 0), QStringLiteral("1200.00"));
    QCOMPARE(Cell(calculator, "txtKuCun", 1), QStringLiteral("0"));
    QCOMPARE(Names(workspace), QStringList(10, QString()));
}

void SelectDialogTest::nothingTickedDoesNothing()
{
    SelectDialog* dialog = openDialog();
    Child<QPushButton>(dialog, QStringLiteral("Command1"))->click();
    QVERIFY(dialog->isVisible());
    QVERIFY(Prompt::shown().isEmpty());
}

QTEST_MAIN(SelectDialogTest)
#include "tst_select_dialog.moc"
