#include "app/ui/Forms.h"
#include "app/ui/Prompt.h"
#include "app/ui/SplashWindow.h"
#include "app/ui/Startup.h"
#include "data/Dbconnection.h"
#include "support/TestFolder.h"
#include "workspace/ui/WorkspaceWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

SplashWindow* Splash()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<SplashWindow*>(w))
            return s;
    return nullptr;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        Prompt::setTestMode(true);
        Prompt::clear();
    }
    void emptyFolderGetsDatabaseAndBackupFolder();
    void splashOpensMainWindowOnEighthTick();
    void existingBackupFolderIsUntouched();
    void secondCopyIsRefused();
    void badDatabaseFilesAreLeftAlone_data();
    void badDatabaseFilesAreLeftAlone();
};

void StartupTest::emptyFolderGetsDatabaseAndBackupFolder()
{
    TestFolder t(false);
    QDir(t.folder().dir).rmdir("bakup");
    QVERIFY(Main(t.folder()));
    QVERIFY(QFile::exists(t.path("coal.dat")));
    QVERIFY(QDir(t.path("bakup")).exists());
    QCOMPARE(CheckDatabaseFile(t.path("coal.dat")), DatabaseState::Ready);
    QVERIFY(Prompt::shown().isEmpty());
    delete Splash();
}

void StartupTest::splashOpensMainWindowOnEighthTick()
{
    TestFolder t;
    SingleInstance other(AppFolder{t.path("elsewhere")});  // unrelated folder, no conflict
    QVERIFY(Main(t.folder()));
    SplashWindow* splash = Splash();
    QVERIFY(splash);
    QCOMPARE(splash->windowTitle(), QStringLiteral("正在载入中，请稍后"));
    for (int tick = 1; tick < 8; ++tick) {
        splash->Timer1_Timer();
        QVERIFY(!WorkspaceWindow::existing() || !WorkspaceWindow::existing()->isVisible());
    }
    QSignalSpy finished(splash, &SplashWindow::finished);
    splash->Timer1_Timer();
    QCOMPARE(finished.count(), 1);
    QVERIFY(WorkspaceWindow::existing());
    QVERIFY(WorkspaceWindow::existing()->isVisible());
    QCOMPARE(WorkspaceWindow::existing()->windowTitle(), QStringLiteral("Velmora配煤软件5.0"));
    QTRY_VERIFY(!Splash());
    delete WorkspaceWindow::existing();
}

void StartupTest::existingBackupFolderIsUntouched()
{
    TestFolder t;
    QVERIFY(WriteBytes(t.path("bakup/2026-01-01.bak"), "old backup"));
    QVERIFY(Main(t.folder()));
    QCOMPARE(ReadBytes(t.path("bakup/2026-01-01.bak")), QByteArray("old backup"));
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files).size(), 1);
    delete Splash();
}

void StartupTest::secondCopyIsRefused()
{
    TestFolder t;
    SingleInstance running(t.folder());
    QVERIFY(running.acquired());
    QVERIFY(!Main(t.folder()));
    QCOMPARE(Prompt::shown().size(), 1);
    QCOMPARE(Prompt::shown()[0].text, QStringLiteral("程序已经运行！"));
    QCOMPARE(Prompt::shown()[0].title, QStringLiteral("错误！"));
    QCOMPARE(Prompt::shown()[0].icon, Prompt::Icon::Critical);
    QVERIFY(!Splash());
}

void StartupTest::badDatabaseFilesAreLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("text file") << QByteArray("this is not a database\n") << "不是本软件的数据库";
    QByteArray image("\x89PNG\r\n\x1a\n", 8);
    image += QByteArray(600, '\x07');
    QTest::newRow("image") << image << "不是本软件的数据库";
    QTest::newRow("empty file") << QByteArray() << "缺少数据表";
}

void StartupTest::badDatabaseFilesAreLeftAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, mentions);
    TestFolder t(false);
    QVERIFY(WriteBytes(t.path("coal.dat"), content));
    QVERIFY(!Main(t.folder()));
    QCOMPARE(ReadBytes(t.path("coal.dat")), content);
    QCOMPARE(Prompt::shown().size(), 1);
    QVERIFY2(Prompt::lastText().contains(mentions), qPrintable(Prompt::lastText()));
    QVERIFY(!Splash());
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
