// A disk that fills up: on a small file system made for the test, every
// write that cannot finish says the disk is full, and leaves the file it was
// to replace as it was (or no file at all). Needs the right to mount a file
// system (root); skipped otherwise. The same failures through the file seam,
// without a real disk, are in the settings and export tests.

#include "base/Settings.h"
#include "data/Backup.h"
#include "data/Dbconnection.h"
#include "export/ListExport.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Writes until the file system takes no more.
void FillUp(const QString& folder)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    for (int size = 65536; size >= 1; size /= 2) {
        const QByteArray block(size, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
}

ListData SomeCoals(int rows)
{
    ListData list;
    list.addColumn(QStringLiteral("编号"), 0);
    list.addColumn(QStringLiteral("名称"), 1800);
    for (int i = 0; i < rows; ++i)
        list.rows.append(ListRow{QString::number(i + 1), {QStringLiteral("煤种%1").arg(i)}, false});
    return list;
}

}  // namespace

class FullDiskTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void writesOnAFullDisk_data();
    void writesOnAFullDisk();

private:
    QTemporaryDir mount_;
    bool mounted_ = false;
};

void FullDiskTest::init()
{
    mounted_ = Run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                             QStringLiteral("size=512k"), QStringLiteral("tmpfs"), mount_.path()});
    if (!mounted_)
        QSKIP("a small file system cannot be mounted here (it needs root); the file seam tests cover the same failures");
    // The program's folder on the small disk: templates, and settings of its own.
    const QString templates = QDir(mount_.path()).filePath(QStringLiteral("template"));
    QVERIFY(QDir().mkpath(templates));
    for (const char* name : {"list1.xls", "list2.xls", "list1.html", "list2.html"})
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/template/") + QLatin1String(name),
                            QDir(templates).filePath(QLatin1String(name))));
}

void FullDiskTest::cleanup()
{
    if (mounted_)
        Run(QStringLiteral("umount"), {QStringLiteral("-l"), mount_.path()});
    mounted_ = false;
}

void FullDiskTest::writesOnAFullDisk_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("replacing");  // an older file of that name is there
    for (const char* what : {"xls", "xlsx", "html", "plan xls", "plan xlsx", "plan html", "settings", "backup"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, new file").arg(QLatin1String(what))))
            << QString::fromLatin1(what) << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, replacing a file").arg(QLatin1String(what))))
            << QString::fromLatin1(what) << true;
    }
}

void FullDiskTest::writesOnAFullDisk()
{
    QFETCH(QString, what);
    QFETCH(bool, replacing);
    const AppFolder folder{mount_.path()};
    QString path = folder.File(QStringLiteral("out.") + what.section(QLatin1Char(' '), -1));
    if (what == QLatin1String("settings"))
        path = folder.ConfigPath();
    if (what == QLatin1String("backup")) {
        Expect(EnsureDatabase(folder));
        QVERIFY(QDir(folder.dir).mkdir(QStringLiteral("bakup")));
        path = folder.File(QStringLiteral("bakup/2026-12-08.bak"));
    }
    const QByteArray before("[config]\r\nchan=1\r\nkemoxing=1\r\n");
    if (replacing)
        QVERIFY(WriteBytes(path, before));
    FillUp(folder.dir);

    Status written;
    ShownPlan plan{QStringLiteral("方案"), SomeCoals(3), SomeCoals(200)};
    if (what == QLatin1String("xls"))
        written = ExportListToExcel(folder, SomeCoals(2000), path);
    else if (what == QLatin1String("xlsx"))
        written = ExportListToXlsx(folder, SomeCoals(2000), path);
    else if (what == QLatin1String("html"))
        written = ExportListToHtml(folder, SomeCoals(2000), path);
    else if (what == QLatin1String("plan xls"))
        written = ExportPlanToExcel(folder, plan, path);
    else if (what == QLatin1String("plan xlsx"))
        written = ExportPlanToXlsx(folder, plan, path);
    else if (what == QLatin1String("plan html"))
        written = ExportPlanToHtml(folder, plan, path);
    else if (what == QLatin1String("settings"))
        written = SaveSettings(folder, Settings{false, {QStringLiteral("G")}});
    else
        written = BackupData(folder, QDate(2026, 12, 8)).status();

    QVERIFY(!written.ok());
    QVERIFY2(written.message().contains(QStringLiteral("磁盘空间不足")), qPrintable(written.message()));
    if (replacing)
        QCOMPARE(ReadBytes(path), before);
    else
        QVERIFY(!QFileInfo::exists(path));
    // Nothing half written is left beside it either.
    QStringList left = QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files);
    left.removeAll(QStringLiteral("filler"));
    left.removeAll(QStringLiteral("coal.dat"));
    QCOMPARE(left, replacing ? QStringList{QFileInfo(path).fileName()} : QStringList());
}

QTEST_GUILESS_MAIN(FullDiskTest)
#include "tst_full_disk.moc"
