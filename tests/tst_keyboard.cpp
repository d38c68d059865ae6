#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/IndexCaptions.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/CalculatorWindow.h"
#include "ui/windows/CoalEditor.h"
#include "ui/windows/ConfigWindow.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/InventoryWindow.h"
#include "ui/windows/SelectDialog.h"
#include "ui/windows/WorkspaceWindow.h"
#include "workspace/GridRows.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The keyboard road: Enter runs, Tab goes along a coal's row, the commands
// have keys shown in the menus, and Esc closes what it can close safely.
class KeyboardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void enterRuns_data();
    void enterRuns();
    void tabGoesAlongTheRow_data();
    void tabGoesAlongTheRow();
    void shortcuts_data();
    void shortcuts();
    void escapeCloses_data();
    void escapeCloses();

private:
    QWidget* activate(QWidget* window);

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Windows> windows_;
    WorkspaceWindow* main_ = nullptr;
};

void KeyboardTest::init()
{
    Prompt::setTestMode(true);
    Prompt::clear();
    folder_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{folder_->folder()});
    main_ = windows_->workspace();
    main_->show();
    activate(main_);
}

void KeyboardTest::cleanup()
{
    windows_.reset();
    QApplication::processEvents();
    folder_.reset();
}

QWidget* KeyboardTest::activate(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        qWarning("%s did not become active", qPrintable(window->objectName()));
    return window;
}

void KeyboardTest::enterRuns_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::newRow("Command1 Return") << "Command1" << int(Qt::Key_Return);
    QTest::newRow("Command1 Enter") << "Command1" << int(Qt::Key_Enter);
    QTest::newRow("吨数") << "txtZhongliang" << int(Qt::Key_Return);
    QTest::newRow("比例数") << "txtChanshu" << int(Qt::Key_Return);
    QTest::newRow("比例数 keypad") << "txtChanshu" << int(Qt::Key_Enter);
    for (const char* box : {"txtHuifenMax", "txtLiuMin", "txtReliangMin", "txtReliangMax", "txtHuiShouMin"})
        QTest::newRow(box) << box << int(Qt::Key_Return);
}

// A key starts the same run as a click: with nothing in the grid the run
// stops at its first check, and says so in the same words.
void KeyboardTest::enterRuns()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QSignalSpy finished(main_, &WorkspaceWindow::runFinished);
    Child<QPushButton>(main_, QStringLiteral("Command1"))->click();
    QCOMPARE(finished.size(), 1);
    const QString clicked = Prompt::lastText();
    QVERIFY(!clicked.isEmpty());
    Prompt::clear();

    // Precision control lets every bound box take input.
    Child<QCheckBox>(main_, QStringLiteral("chkJingque"))->setChecked(true);
    QWidget* target = Child<QWidget>(main_, control);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QTRY_COMPARE(finished.size(), 2);
    QCOMPARE(Prompt::lastText(), clicked);

    // Other keys in the box only type.
    if (qobject_cast<QLineEdit*>(target)) {
        QTest::keyClick(target, Qt::Key_5);
        QTest::keyClick(target, Qt::Key_Tab);
        QCOMPARE(finished.size(), 2);
    }
}

void KeyboardTest::tabGoesAlongTheRow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    QStringList rows;
    // The workspace: each row's must-use box, then its cells left to right.
    for (int row = 0; row < 2; ++row) {
        rows << QStringLiteral("chk_%1").arg(row);
        for (int cell = 0; cell < kGridCells; ++cell)
            rows << GridCellName(cell) + QStringLiteral("_%1").arg(row);
    }
    QTest::newRow("frmMain") << "frmMain" << rows.mid(1);
    // The calculator shows the proportion after the shovel weight.
    QStringList calculator;
    for (int row = 0; row < 2; ++row) {
        QList<int> cells{kNameCell};
        for (int i = 0; i < kIndexCount; ++i)
            cells << IndexCell(i);
        cells << kShovelCell << kStockCell << kPriceCell;
        for (int cell : cells)
            calculator << GridCellName(cell) + QStringLiteral("_%1").arg(row);
    }
    QTest::newRow("frmTest") << "frmTest" << calculator;
}

void KeyboardTest::tabGoesAlongTheRow()
{
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    QWidget* w = main_;
    if (window == QLatin1String("frmTest")) {
        windows_->openCalculator();
        w = activate(windows_->calculator());
    }
    QWidget* first = Child<QWidget>(w, order.first());
    first->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), first);
    QStringList visited{order.first()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
}

void KeyboardTest::shortcuts_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("opens");
    QTest::newRow("开始配煤") << "munKaishi" << QKeySequence(Qt::Key_F5) << "";
    QTest::newRow("库存情况") << "munCangKu" << QKeySequence(Qt::CTRL | Qt::Key_K) << "frmKucun";
    QTest::newRow("历史配比") << "munLishi" << QKeySequence(Qt::CTRL | Qt::Key_H) << "frmLishi";
    QTest::newRow("手动配比") << "munShoudong" << QKeySequence(Qt::CTRL | Qt::Key_M) << "frmTest";
    QTest::newRow("导入煤种") << "munDaoru" << QKeySequence(Qt::CTRL | Qt::Key_I) << "frmKucun";
}

void KeyboardTest::shortcuts()
{
    QFETCH(QString, action);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, opens);
    auto* command = main_->findChild<QAction*>(action);
    QVERIFY(command);
    // The menu shows the key beside the command.
    QCOMPARE(command->shortcut(), keys);

    QSignalSpy finished(main_, &WorkspaceWindow::runFinished);
    const QKeyCombination key = keys[0];
    QTest::keyClick(main_, key.key(), key.keyboardModifiers());
    if (opens.isEmpty()) {
        QTRY_COMPARE(finished.size(), 1);
        return;
    }
    QWidget* opened = nullptr;
    QTRY_VERIFY((opened = [&]() -> QWidget* {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == opens && w->isVisible())
                return w;
        return nullptr;
    }()));
    if (action == QLatin1String("munDaoru")) {
        // The import asks for its file (the test's dialog answers none).
        QVERIFY(!Prompt::fileRequests().isEmpty());
        QCOMPARE(Prompt::fileRequests().last().title, QStringLiteral("导入煤种"));
    }
}

void KeyboardTest::escapeCloses_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("typeInto");
    QTest::addColumn<bool>("closes");
    QTest::newRow("inventory") << "frmKucun" << "" << true;
    QTest::newRow("history") << "frmLishi" << "" << true;
    QTest::newRow("empty calculator") << "frmTest" << "" << true;
    QTest::newRow("calculator with input") << "frmTest" << "txtMingcheng_0" << false;
    QTest::newRow("editor as opened") << "frmUpdate" << "" << true;
    QTest::newRow("editor with input") << "frmUpdate" << "txtName" << false;
    QTest::newRow("settings as opened") << "frmConfig" << "" << true;
    QTest::newRow("settings changed") << "frmConfig" << "txtBakupDays" << false;
    QTest::newRow("coal selection") << "frmSelect" << "" << true;
}

void KeyboardTest::escapeCloses()
{
    QFETCH(QString, window);
    QFETCH(QString, typeInto);
    QFETCH(bool, closes);
    QWidget* w = nullptr;
    if (window == QLatin1String("frmKucun")) {
        windows_->openInventory();
        w = windows_->existingInventory();
    } else if (window == QLatin1String("frmLishi")) {
        windows_->openHistory();
        w = windows_->existingHistory();
    } else if (window == QLatin1String("frmTest")) {
        w = windows_->calculator();
    } else if (window == QLatin1String("frmUpdate")) {
        windows_->addCoal();
        w = windows_->existingEditor();
    } else if (window == QLatin1String("frmConfig")) {
        w = windows_->config();
    } else {
        w = windows_->selectForWorkspace();
    }
    QVERIFY(w);
    QPointer<QWidget> guard(w);
    activate(w);
    if (!typeInto.isEmpty()) {
        auto* box = Child<QLineEdit>(w, typeInto);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("9"));
    }
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_Escape);
    QApplication::processEvents();
    QCOMPARE(!guard || !guard->isVisible(), closes);
}

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
