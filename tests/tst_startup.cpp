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

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

SplashWindow* Splash()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<SplashWindow*>(w))
            return s;
    return nullptr;
}

// Root writes into any folder whatever its mode, so a test of a folder the user
// cannot write runs, while this lives, with the effective ids of "nobody".
class Unprivileged {
public:
    Unprivileged()
    {
#ifdef Q_OS_UNIX
        if (::geteuid() != 0)
            return;
        const passwd* nobody = ::getpwnam("nobody");
        groupDropped_ = nobody && ::setegid(nobody->pw_gid) == 0;
        userDropped_ = groupDropped_ && ::seteuid(nobody->pw_uid) == 0;
#endif
    }
    ~Unprivileged()
    {
#ifdef Q_OS_UNIX
        if ((userDropped_ && ::seteuid(0) != 0) || (groupDropped_ && ::setegid(0) != 0))
            qFatal("cannot take back the ids of root");
#endif
    }
    bool ok() const
    {
#ifdef Q_OS_UNIX
        return ::geteuid() != 0;
#else
        return true;
#endif
    }

private:
    bool groupDropped_ = false;
    bool userDropped_ = false;
};

bool SetWritable(const QString& folder, bool writable)
{
    const QFileDevice::Permissions read = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    return QFile::setPermissions(folder, writable ? read | QFileDevice::WriteOwner : read);
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
    void folderChoice_data();
    void folderChoice();
    void readOnlyProgramFolderKeepsDataInUserFolder();
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

void StartupTest::folderChoice_data()
{
    QTest::addColumn<QString>("layout");  // where the templates are
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("inUserData");
    QTest::newRow("unpacked, writable: as always") << "beside" << true << false;
    QTest::newRow("unpacked, read-only") << "beside" << false << true;
    QTest::newRow("installed, read-only") << "share" << false << true;
    QTest::newRow("installed, writable") << "share" << true << true;
    QTest::newRow("no templates anywhere, writable") << "none" << true << false;
}

void StartupTest::folderChoice()
{
    QFETCH(QString, layout);
    QFETCH(bool, writable);
    QFETCH(bool, inUserData);
    Unprivileged user;
    QVERIFY(user.ok());
    QTemporaryDir root;
    const QString program = root.filePath("usr/bin");
    const QString share = root.filePath("usr/share/velmora");
    const QString data = root.filePath("home/.local/share/velmora");
    QVERIFY(QDir().mkpath(program));
    if (layout == "beside")
        QVERIFY(QDir().mkpath(program + "/template"));
    if (layout == "share")
        QVERIFY(QDir().mkpath(share + "/template"));
    QVERIFY(SetWritable(program, writable));

    const AppFolder folder = ChooseAppFolder(program, data);
    QVERIFY(SetWritable(program, true));
    QCOMPARE(folder.userData, inUserData);
    QCOMPARE(folder.dir, inUserData ? data : program);
    QCOMPARE(folder.ResourceDir(), layout == "share" ? share : program);
    QCOMPARE(QDir(data).exists(), inUserData);
    QCOMPARE(QDir(program).entryList(QDir::Files | QDir::Hidden), QStringList());  // no probe left behind
}

// A program folder the user cannot write: the program used to refuse to start;
// now it reads its templates there and keeps everything it writes in the
// user's data folder.
void StartupTest::readOnlyProgramFolderKeepsDataInUserFolder()
{
    Unprivileged user;
    QVERIFY(user.ok());
    QTemporaryDir root;
    const QString program = root.filePath("program");
    const QString data = root.filePath("home/velmora");
    QVERIFY(QDir().mkpath(program + "/template") && QDir().mkpath(program + "/help"));
    QVERIFY(WriteBytes(program + "/template/list1.xls", "template"));
    QVERIFY(WriteBytes(program + "/help/index.html", "help"));
    const QStringList shipped = QDir(program).entryList(QDir::AllEntries | QDir::Hidden);
    QVERIFY(SetWritable(program, false));

    QVERIFY(!Main(AppFolder{program}));
    QVERIFY2(Prompt::lastText().startsWith(QStringLiteral("无法在程序文件夹 ")), qPrintable(Prompt::lastText()));
    Prompt::clear();

    const AppFolder folder = ChooseAppFolder(program, data);
    {
        const auto windows = Main(folder);
        QVERIFY2(windows, qPrintable(Prompt::lastText()));
        QVERIFY(folder.userData);
        QVERIFY(Prompt::shown().isEmpty());
        for (const char* name : {"coal.dat", "bakup", "velmora.lock"})
            QVERIFY2(QFileInfo::exists(data + "/" + name), name);
        QCOMPARE(ReadBytes(folder.TemplatePath("list1.xls")), QByteArray("template"));
        QCOMPARE(ReadBytes(folder.HelpPath()), QByteArray("help"));
        delete Splash();
    }
    CloseConnection();
    QVERIFY(SetWritable(program, true));
    QCOMPARE(QDir(program).entryList(QDir::AllEntries | QDir::Hidden), shipped);
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
