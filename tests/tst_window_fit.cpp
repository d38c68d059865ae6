#include "support/Controls.h"
#include "support/TestFolder.h"
#include "ui/app/Startup.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/TopLevel.h"
#include "ui/windows/DiagnoseDialog.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/ImportDialog.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QToolBar>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QChartView>
#include <QtTest>

#include <memory>

// Every window opens inside the screen's available area, and shows every
// one-line caption whole. CTest runs this on a 1366 x 768 screen and on a
// 1920 x 1080 screen at scale 1.5, in Chinese and in English
// (VELMORA_TEST_LANGUAGE=en); in English no text a window shows holds a
// Chinese character.
class WindowFitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void fit_data();
    void opensInsideTheScreen_data() { fit_data(); }
    void opensInsideTheScreen();
    void captionsShowWhole_data() { fit_data(); }
    void captionsShowWhole();
    void speaksOnlyEnglish_data() { fit_data(); }
    void speaksOnlyEnglish();
    void mainRoadSpeaksOnlyEnglish();
    void placeIsKept();
    void placeRules_data();
    void placeRules();

private:
    QWidget* open(const QString& name);

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Windows> windows_;
    bool english_ = false;
};

namespace {

// The height of the tallest title bar a window manager is expected to add.
constexpr int kTitleBar = 32;

QString Plain(QString text)
{
    // An access key's ampersand is not drawn.
    text.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
    return text;
}

// What a one-line caption needs beside its text, and where it is drawn.
int Needed(QWidget* w, const QString& text)
{
    const int advance = w->fontMetrics().horizontalAdvance(Plain(text));
    if (auto* box = qobject_cast<QCheckBox*>(w))
        return advance + box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)
               + box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
    if (auto* option = qobject_cast<QRadioButton*>(w))
        return advance + option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, option)
               + option->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, option);
    if (qobject_cast<QPushButton*>(w))
        return advance + 4;
    return advance;
}

bool HasChinese(const QString& text)
{
    static const QRegularExpression han(QStringLiteral("[\\x{3000}-\\x{303f}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(han);
}

// Every text of a window that is not data: its title, captions, buttons,
// group titles, tabs, column headers, hints, tooltips, menus and toolbars.
// What lists hold is data, and so are the items of a list the user fills.
QStringList ChineseTexts(QWidget* window)
{
    QStringList found;
    auto add = [&](QObject* o, const char* what, const QString& text) {
        // A language is offered under its own name, so that a reader of
        // Chinese finds the way back.
        if (o->objectName() == QLatin1String("optLanguage_0"))
            return;
        if (HasChinese(text))
            found << QStringLiteral("%1 %2: %3").arg(o->objectName(), QLatin1String(what), text);
    };
    auto actions = [&](QWidget* owner) {
        for (QAction* a : owner->actions()) {
            add(a, "action", a->text());
            add(a, "action tooltip", a->toolTip());
            if (a->menu())
                for (QAction* item : a->menu()->actions()) {
                    add(item, "menu item", item->text());
                    add(item, "menu item tooltip", item->statusTip());
                }
        }
    };
    add(window, "title", window->windowTitle());
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(window) || qobject_cast<QAbstractItemView*>(c->parentWidget()))
            continue;
        add(c, "tooltip", c->toolTip());
        if (auto* label = qobject_cast<QLabel*>(c))
            add(c, "label", label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(c))
            add(c, "button", button->text());
        else if (auto* frame = qobject_cast<QGroupBox*>(c))
            add(c, "group", frame->title());
        else if (auto* edit = qobject_cast<QLineEdit*>(c))
            add(c, "hint", edit->placeholderText());
        else if (auto* tabs = qobject_cast<QTabWidget*>(c)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(c, "tab", tabs->tabText(i));
        } else if (auto* view = qobject_cast<QAbstractItemView*>(c); view && view->model()) {
            for (int i = 0; i < view->model()->columnCount(); ++i)
                add(c, "header", view->model()->headerData(i, Qt::Horizontal).toString());
        } else if (auto* combo = qobject_cast<QComboBox*>(c); combo && !combo->isEditable()) {
            for (int i = 0; i < combo->count(); ++i)
                add(c, "choice", combo->itemText(i));
        } else if (qobject_cast<QMenuBar*>(c) || qobject_cast<QToolBar*>(c)) {
            actions(c);
        } else if (auto* chart = qobject_cast<QChartView*>(c)) {
            for (const QAbstractSeries* series : chart->chart()->series())
                add(c, "series", series->name());
        }
    }
    return found;
}

}  // namespace

void WindowFitTest::initTestCase()
{
    english_ = qEnvironmentVariable("VELMORA_TEST_LANGUAGE") == QLatin1String("en");
    if (english_)
        QVERIFY(InstallLanguage(QStringLiteral("en")));
}

void WindowFitTest::init()
{
    Prompt::setTestMode(true);
    Prompt::clear();
    folder_ = std::make_unique<TestFolder>();
    windows_ = std::make_unique<Windows>(WindowContext{folder_->folder()});
    WorkspaceWindow* main = windows_->workspace();
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main));
}

void WindowFitTest::cleanup()
{
    windows_.reset();
    QApplication::processEvents();
    folder_.reset();
}

void WindowFitTest::fit_data()
{
    QTest::addColumn<QString>("window");
    for (const char* name : {"frmMain", "frmKucun", "frmLishi", "frmUpdate", "frmTest", "frmConfig", "frmSelect",
                             "frmImport", "frmAbout", "frmShujuku", "frmJihua"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

QWidget* WindowFitTest::open(const QString& name)
{
    if (name == QLatin1String("frmKucun"))
        windows_->openInventory();
    else if (name == QLatin1String("frmLishi"))
        windows_->openHistory();
    else if (name == QLatin1String("frmUpdate"))
        windows_->addCoal();
    else if (name == QLatin1String("frmTest"))
        windows_->openCalculator();
    else if (name == QLatin1String("frmConfig"))
        windows_->openSettings();
    else if (name == QLatin1String("frmSelect"))
        windows_->selectForWorkspace();
    else if (name == QLatin1String("frmAbout"))
        windows_->showAbout();
    else if (name == QLatin1String("frmShujuku"))
        windows_->openDatabase();
    else if (name == QLatin1String("frmJihua"))
        windows_->openSchedule();
    else if (name == QLatin1String("frmImport")) {
        const QString path = folder_->path(QStringLiteral("coals.csv"));
        if (!WriteBytes(path, "名称,内水,价格\n煤0,5.50,600\n"))
            return nullptr;
        Prompt::queueFileName(path);
        windows_->importCoals();
        QDeadlineTimer deadline(20000);
        while (!(windows_->existingImportDialog() && windows_->existingImportDialog()->isVisible())
               && !deadline.hasExpired())
            QTest::qWait(20);
    }
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

void WindowFitTest::opensInsideTheScreen()
{
    QFETCH(QString, window);
    QWidget* w = open(window);
    QVERIFY2(w, qPrintable(window + QStringLiteral(" did not open")));
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QRect area = w->screen()->availableGeometry();
    QVERIFY2(area.contains(w->frameGeometry()),
             qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 outside %6x%7")
                            .arg(window)
                            .arg(w->frameGeometry().x())
                            .arg(w->frameGeometry().y())
                            .arg(w->frameGeometry().width())
                            .arg(w->frameGeometry().height())
                            .arg(area.width())
                            .arg(area.height())));
    // Smaller than its layout's minimum, a window cuts off its controls; and
    // a window manager's title bar must fit above the least height.
    const QSize least = w->minimumSizeHint();
    QVERIFY2(w->width() >= least.width() && w->height() >= least.height()
                 && least.height() + kTitleBar <= area.height() && least.width() <= area.width(),
             qPrintable(QStringLiteral("%1 is %2x%3, its controls need %4x%5")
                            .arg(window)
                            .arg(w->width())
                            .arg(w->height())
                            .arg(least.width())
                            .arg(least.height())));
}

void WindowFitTest::captionsShowWhole()
{
    QFETCH(QString, window);
    QWidget* w = open(window);
    QVERIFY2(w, qPrintable(window + QStringLiteral(" did not open")));
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QStringList problems;
    auto check = [&](QWidget* control, const QString& text, int width) {
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const int needed = Needed(control, line);
            if (needed > width)
                problems << QStringLiteral("%1 \"%2\": needs %3 px, has %4")
                                .arg(control->objectName(), line)
                                .arg(needed)
                                .arg(width);
        }
    };
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(w))
            continue;
        if (auto* label = qobject_cast<QLabel*>(c)) {
            if (!label->wordWrap() && !label->text().isEmpty() && label->textFormat() != Qt::RichText
                && !Qt::mightBeRichText(label->text()))
                check(label, label->text(), label->contentsRect().width() - 2 * label->margin());
        } else if (auto* button = qobject_cast<QAbstractButton*>(c)) {
            if (qobject_cast<QPushButton*>(c) || qobject_cast<QCheckBox*>(c) || qobject_cast<QRadioButton*>(c))
                check(button, button->text(), button->width());
        } else if (auto* frame = qobject_cast<QGroupBox*>(c)) {
            check(frame, frame->title(), frame->width());
        } else if (auto* toolbar = qobject_cast<QToolBar*>(c)) {
            // Buttons that do not fit go behind the toolbar's extension arrow.
            if (auto* more = toolbar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")); more && more->isVisible())
                problems << toolbar->objectName() + QStringLiteral(" hides buttons behind its arrow");
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void WindowFitTest::speaksOnlyEnglish()
{
    if (!english_)
        QSKIP("the interface is in Chinese");
    QFETCH(QString, window);
    QWidget* w = open(window);
    QVERIFY2(w, qPrintable(window + QStringLiteral(" did not open")));
    const QStringList found = ChineseTexts(w);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    for (const Prompt::Shown& shown : Prompt::shown())
        QVERIFY2(!HasChinese(shown.text + shown.title), qPrintable(shown.text));
}

// The main road in English: a run that is refused, one that finds no plan and
// is explained, one that stores a plan and shows it.
void WindowFitTest::mainRoadSpeaksOnlyEnglish()
{
    if (!english_)
        QSKIP("the interface is in Chinese");
    WorkspaceWindow* main = windows_->workspace();
    auto cell = [&](const char* column, int row) {
        return Child<QLineEdit>(main, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(row));
    };
    auto run = [&] {
        QSignalSpy finished(main, &WorkspaceWindow::runFinished);
        Child<QPushButton>(main, QStringLiteral("Command1"))->click();
        QVERIFY(!finished.isEmpty() || finished.wait(60000));
    };
    run();  // an empty grid is refused
    const char* names[] = {"A", "B", "C"};
    const char* ash[] = {"8.5", "9.2", "10"};
    for (int r = 0; r < 3; ++r) {
        cell("txtMingcheng", r)->setText(QLatin1String(names[r]));
        cell("txtHuifen", r)->setText(QLatin1String(ash[r]));
        cell("txtKuCun", r)->setText(QStringLiteral("100"));
        cell("txtMeiChan", r)->setText(QStringLiteral("1"));
        cell("txtJiage", r)->setText(QString::number(500 - 20 * r));
    }
    Child<QLineEdit>(main, QStringLiteral("txtHuifenMax"))->setText(QStringLiteral("8"));
    Child<QLineEdit>(main, QStringLiteral("txtChanshu"))->setText(QStringLiteral("6"));
    run();
    QStringList found;
    DiagnoseDialog* diagnose = windows_->existingDiagnose();
    QVERIFY(diagnose);
    QTRY_VERIFY_WITH_TIMEOUT(diagnose->isFinished(), 60000);
    found << ChineseTexts(diagnose);
    diagnose->close();
    Child<QLineEdit>(main, QStringLiteral("txtHuifenMax"))->setText(QStringLiteral("9.5"));
    run();
    HistoryWindow* history = windows_->existingHistory();
    QVERIFY(history && history->isVisible());
    found << ChineseTexts(history);
    for (const Prompt::Shown& shown : Prompt::shown())
        if (HasChinese(shown.text + shown.title))
            found << QStringLiteral("message: ") + shown.text;
    QVERIFY2(Prompt::shown().size() >= 1, "the empty grid was not refused");
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

// A window opens next time where it was left, unless that place is no
// longer on a screen.
void WindowFitTest::placeIsKept()
{
    QWidget* inventory = open(QStringLiteral("frmKucun"));
    QVERIFY(inventory);
    const QRect area = inventory->screen()->availableGeometry();
    inventory->move(area.topLeft() + QPoint(20, 10));
    QApplication::processEvents();
    const QRect left = inventory->geometry();
    inventory->close();
    QApplication::processEvents();
    QCOMPARE(TopLevel::ParsePlace(ReadIni(folder_->folder(), TopLevel::kPlacesSection, QStringLiteral("frmKucun"))),
             left);

    // The next session finds it there.
    windows_ = std::make_unique<Windows>(WindowContext{folder_->folder()});
    windows_->workspace()->show();
    inventory = open(QStringLiteral("frmKucun"));
    QVERIFY(inventory);
    QCOMPARE(inventory->geometry(), left);
}

void WindowFitTest::placeRules_data()
{
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QRect>("placed");
    const QRect anchor(100, 100, 800, 600);
    QTest::newRow("nothing saved: centred on the anchor") << QRect() << anchor << QSize(400, 200)
                                                          << QRect(300, 300, 400, 200);
    QTest::newRow("no anchor: centred on the area") << QRect() << QRect() << QSize(400, 200)
                                                    << QRect(483, 284, 400, 200);
    QTest::newRow("larger than the area: shrunk to it") << QRect() << anchor << QSize(1600, 1000)
                                                        << QRect(0, 0, 1366, 768);
    QTest::newRow("centre near an edge: moved inside") << QRect() << QRect(1200, 600, 100, 100) << QSize(400, 300)
                                                       << QRect(966, 468, 400, 300);
    QTest::newRow("saved on the screen: kept") << QRect(50, 60, 500, 400) << anchor << QSize(400, 200)
                                               << QRect(50, 60, 500, 400);
    QTest::newRow("saved partly off: moved inside") << QRect(1000, 600, 300, 300) << anchor << QSize(400, 200)
                                                    << QRect(1000, 468, 300, 300);
    QTest::newRow("saved on a screen that is gone: centred") << QRect(5000, 60, 500, 400) << anchor
                                                             << QSize(400, 200) << QRect(300, 300, 400, 200);
    QTest::newRow("saved on the second screen") << QRect(1500, 100, 300, 200) << anchor << QSize(400, 200)
                                                << QRect(1500, 100, 300, 200);
}

void WindowFitTest::placeRules()
{
    QFETCH(QRect, saved);
    QFETCH(QRect, anchor);
    QFETCH(QSize, wanted);
    QFETCH(QRect, placed);
    const QList<QRect> areas{QRect(0, 0, 1366, 768), QRect(1366, 0, 1920, 1080)};
    QCOMPARE(TopLevel::Fit(saved, anchor, wanted, areas), placed);
}

QTEST_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
