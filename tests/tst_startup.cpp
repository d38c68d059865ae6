#include "base/SingleInstance.h"
#include "data/Dbconnection.h"
#include "support/TestFolder.h"
#include "ui/app/Startup.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/SplashWindow.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <cstdio>

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
    void backupFolderThatIsAFileIsReported();
    void twentyCopiesAtOnceRunOnce();
};

void StartupTest::emptyFolderGetsDatabaseAndBackupFolder()
{
    TestFolder t(false);
    QDir(t.folder().dir).rmdir("bakup");
    const auto windows = Main(t.folder());
    QVERIFY(windows);
    QVERIFY(QFile::exists(t.path("coal.dat")));
    QVERIFY(QDir(t.path("bakup")).exists());
    Expect(CheckDatabaseFile(t.path("coal.dat"), true));
    QVERIFY(Prompt::shown().isEmpty());
    delete Splash();
}

void StartupTest::splashOpensMainWindowOnEighthTick()
{
    TestFolder t;
    QVERIFY(QDir(t.folder().dir).mkdir("elsewhere"));
    SingleInstance other(AppFolder{t.path("elsewhere")});  // unrelated folder, no conflict
    const auto windows = Main(t.folder());
    QVERIFY(windows);
    SplashWindow* splash = Splash();
    QVERIFY(splash);
    QCOMPARE(splash->windowTitle(), QStringLiteral("正在载入中，请稍后"));
    for (int tick = 1; tick < 8; ++tick) {
        splash->Timer1_Timer();
        QVERIFY(!windows->existingWorkspace() || !windows->existingWorkspace()->isVisible());
    }
    QSignalSpy finished(splash, &SplashWindow::finished);
    splash->Timer1_Timer();
    QCOMPARE(finished.count(), 1);
    QVERIFY(windows->existingWorkspace());
    QVERIFY(windows->existingWorkspace()->isVisible());
    QCOMPARE(windows->existingWorkspace()->windowTitle(), QStringLiteral("Velmora配煤软件5.0"));
    QTRY_VERIFY(!Splash());
}

void StartupTest::existingBackupFolderIsUntouched()
{
    TestFolder t;
    QVERIFY(WriteBytes(t.path("bakup/2026-01-01.bak"), "old backup"));
    const auto windows = Main(t.folder());
    QVERIFY(windows);
    QCOMPARE(ReadBytes(t.path("bakup/2026-01-01.bak")), QByteArray("old backup"));
    QCOMPARE(QDir(t.path("bakup")).entryList(QDir::Files).size(), 1);
    delete Splash();
}

void StartupTest::secondCopyIsRefused()
{
    TestFolder t;
    SingleInstance running(t.folder());
    QVERIFY(running.acquired());
    QVERIFY(QFile::exists(t.path(SingleInstance::lockFileName())));  // in the folder, not the temporary one
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

void StartupTest::backupFolderThatIsAFileIsReported()
{
    TestFolder t;
    QVERIFY(QDir(t.path("bakup")).removeRecursively());
    QVERIFY(WriteBytes(t.path("bakup"), "not a folder"));
    const auto windows = Main(t.folder());
    QVERIFY(windows);  // the program still runs
    QCOMPARE(Prompt::shown().size(), 1);
    QVERIFY2(Prompt::lastText().contains(QStringLiteral("不是文件夹")), qPrintable(Prompt::lastText()));
    QCOMPARE(ReadBytes(t.path("bakup")), QByteArray("not a folder"));
    delete Splash();
}

// Twenty copies started at the same moment on one folder, each with a
// temporary folder of its own: exactly one runs, every other one is told the
// program runs already and ends.
void StartupTest::twentyCopiesAtOnceRunOnce()
{
    TestFolder t;
    QTemporaryDir temporaries;
    QList<QProcess*> copies;
    for (int i = 0; i < 20; ++i) {
        auto* copy = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString temporary = temporaries.filePath(QString::number(i));
        QDir().mkpath(temporary);
        environment.insert(QStringLiteral("TMPDIR"), temporary);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        copy->setProcessEnvironment(environment);
        copy->setProgram(QCoreApplication::applicationFilePath());
        copy->setArguments({QStringLiteral("--start-copy"), t.folder().dir});
        copies << copy;
    }
    for (QProcess* copy : copies)
        copy->start();
    int running = 0;
    int refused = 0;
    for (QProcess* copy : copies) {
        QVERIFY(copy->waitForFinished(60000));
        const QString said = QString::fromUtf8(copy->readAllStandardOutput()).trimmed();
        if (said == QStringLiteral("running"))
            ++running;
        else if (said == QStringLiteral("程序已经运行！"))
            ++refused;
        else
            QFAIL(qPrintable(QStringLiteral("a copy said: ") + said));
    }
    QCOMPARE(running, 1);
    QCOMPARE(refused, 19);
    qDeleteAll(copies);
}

namespace {

// One copy of the program started on a folder, for the test above: it says
// "running" and holds on for a moment, or says what it was told and ends.
int StartCopy(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Prompt::setTestMode(true);
    const auto windows = Main(AppFolder{QString::fromLocal8Bit(argv[2])});
    std::printf("%s\n", windows ? "running" : Prompt::lastText().toUtf8().constData());
    std::fflush(stdout);
    if (windows)
        QThread::msleep(3000);  // every other copy starts while this one runs
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--start-copy") == 0)
        return StartCopy(argc, argv);
    QApplication app(argc, argv);
    StartupTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
