#include "support/TestFolder.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/TopLevel.h"
#include "ui/windows/ImportDialog.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QToolBar>
#include <QtTest>

#include <memory>

// Every window opens inside the screen's available area, and shows every
// one-line caption whole. CTest runs this on a 1366 x 768 screen and on a
// 1920 x 1080 screen at scale 1.5.
class WindowFitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fit_data();
    void opensInsideTheScreen_data() { fit_data(); }
    void opensInsideTheScreen();
    void captionsShowWhole_data() { fit_data(); }
    void captionsShowWhole();
    void placeIsKept();
    void placeRules_data();
    void placeRules();

private:
    QWidget* open(const QString& name);

    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Windows> windows_;
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

}  // namespace

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
                             "frmImport", "frmAbout", "frmShujuku"})
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
