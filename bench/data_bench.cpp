// Years of data, on files make_history writes (one and ten years at twenty
// plans a day; made beside the benchmark's folder when missing):
// - the first opening of an older file: the followid indexes it gains;
// - the history window opened, and plans selected, on that file once opened,
//   against the same file without the followid indexes, as it was before
//   opening added them;
// - the history search over every plan, against the list of the newest 500;
// - the backup and the restore on a worker while the window's event loop
//   runs: their time, and the longest the loop waited between two turns,
//   against the old way (the file copied, or checked and copied twice, on the
//   window's thread, which waits that long);
// - compaction after half a year of plans was deleted.
// Usage: data_bench [FOLDER] [--one-year]

#include "../tests/support/TestFolder.h"

#include "data/Backup.h"
#include "data/DataJob.h"
#include "data/Dbconnection.h"
#include "history/PlanHistory.h"
#include "history/PlanSearch.h"
#include "ui/widgets/ReportList.h"
#include "ui/windows/HistoryWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
}

double TimeMs(const std::function<void()>& work, int runs = 1)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void CopyFresh(const QString& from, const QString& to)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(to + QLatin1String(suffix));
    if (!QFile::copy(from, to))
        FailSetUp(QStringLiteral("cannot copy ") + from);
}

// Runs work on a DataJob while the event loop turns every millisecond; the
// work's time and the longest wait between two turns, in seconds.
struct Answering {
    double total = 0;
    double longestGap = 0;
    int turns = 0;
};

Answering RunAnswering(DataJob::Work work)
{
    DataJob job(std::move(work));
    QElapsedTimer total;
    QElapsedTimer sinceTurn;
    Answering result;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        result.longestGap = std::max(result.longestGap, Seconds(sinceTurn));
        sinceTurn.start();
        ++result.turns;
    });
    QEventLoop loop;
    QObject::connect(&job, &DataJob::finished, &loop, &QEventLoop::quit);
    total.start();
    sinceTurn.start();
    tick.start();
    job.start();
    loop.exec();
    result.total = Seconds(total);
    if (!job.status())
        FailSetUp(job.status().message());
    return result;
}

void DropFollowidIndexes(const QString& path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("drop"));
    db.setDatabaseName(path);
    db.open();
    {
        QSqlQuery q(db);
        q.exec(QStringLiteral("DROP INDEX idx_lishi_meitan_followid"));
        q.exec(QStringLiteral("DROP INDEX idx_lishi_peibibiao_followid"));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("drop"));
}

// The window opened on a file, and the time of each of `clicks` plan
// selections (spread over the list), in milliseconds.
std::pair<double, double> HistoryTimes(const AppFolder& folder, int clicks)
{
    const double open = TimeMs(
        [&] {
            auto* w = new HistoryWindow(WindowContext{folder}, Settings{});
            w->show();
            QApplication::processEvents();
            delete w;
        },
        3);
    auto* w = new HistoryWindow(WindowContext{folder}, Settings{});
    w->show();
    QApplication::processEvents();
    auto* plans = w->findChild<ReportList*>(QStringLiteral("lsvLeft"));
    QElapsedTimer t;
    t.start();
    for (int c = 0; c < clicks; ++c) {
        plans->selectRow(1 + c * (plans->rowCount() - 2) / std::max(1, clicks - 1));
        QApplication::processEvents();
    }
    const double select = t.nsecsElapsed() / 1e6 / clicks;
    delete w;
    return {open, select};
}

void Bench(const QString& name, const QString& older)
{
    std::printf("\n== %s: %s, %.0f MB\n", qPrintable(name), qPrintable(older), QFileInfo(older).size() / 1e6);
    TestFolder work(false);
    const AppFolder folder = work.folder();

    // The first opening of the older file.
    CopyFresh(older, folder.DbPath());
    QElapsedTimer upgrade;
    upgrade.start();
    Expect(EnsureDatabase(folder));
    std::printf("first opening (followid indexes and targets' tables added): %.2f s; opening again: %.1f ms\n",
                Seconds(upgrade), TimeMs([&] { Expect(EnsureDatabase(folder)); }, 3));

    // The history window on it, and without the indexes.
    const auto [open, select] = HistoryTimes(folder, 40);
    TestFolder without(false);
    CopyFresh(folder.DbPath(), without.folder().DbPath());
    DropFollowidIndexes(without.folder().DbPath());
    const auto [openBefore, selectBefore] = HistoryTimes(without.folder(), 5);
    std::printf("history window open: %.1f ms (without the indexes %.1f ms, %.0fx)\n", open, openBefore,
                openBefore / open);
    std::printf("plan selected: %.1f ms each (without the indexes %.1f ms, %.0fx)\n", select, selectBefore,
                selectBefore / select);

    // The search over every plan.
    const double newest = TimeMs([&] { Expect(LoadPlanList(folder)); }, 5);
    std::printf("baseline, the newest 500 plans listed: %.1f ms\n", newest);
    const QDate last = QDate::currentDate();
    struct Search {
        const char* what;
        PlanQuery query;
        int page;
    };
    const Search searches[] = {
        {"every plan, first page", PlanQuery{}, 1},
        {"every plan, last page", PlanQuery{}, 1000000},
        {"a common word (大同)", PlanQuery{{QStringLiteral("大同")}, {}, {}}, 1},
        {"two words, last page", PlanQuery{{QStringLiteral("大同"), QStringLiteral("配1000吨")}, {}, {}}, 1000000},
        {"a word found nowhere", PlanQuery{{QStringLiteral("没有的词")}, {}, {}}, 1},
        {"a month, a year ago", PlanQuery{{}, last.addYears(-1), last.addYears(-1).addMonths(1)}, 1},
        {"a word in the first month", PlanQuery{{QStringLiteral("神木")}, last.addYears(-10), last.addYears(-10).addMonths(1)}, 1},
    };
    for (const Search& s : searches) {
        int total = 0;
        const double ms = TimeMs([&] { total = Expect(SearchPlans(folder, s.query, s.page)).total; }, 5);
        std::printf("search, %s: %.1f ms (%.1fx the newest 500), %d plans match\n", s.what, ms, ms / newest, total);
    }
    CloseConnection();

    // Backup: the old way is a file copy on the window's thread.
    const QString copy = folder.File(QStringLiteral("copy.bak"));
    QElapsedTimer old;
    old.start();
    QFile::remove(copy);
    QFile::copy(folder.DbPath(), copy);
    const double oldBackup = Seconds(old);
    QFile::remove(copy);
    const Answering backup = RunAnswering([&](const DataProgressFn& progress) {
        return BackupData(folder, QDate::currentDate(), {}, progress).status();
    });
    std::printf("backup on a worker: %.2f s, the window's loop waited at most %.1f ms (%d turns); "
                "old way (file copy on the window's thread): %.2f s frozen (%.0fx the longest wait)\n",
                backup.total, backup.longestGap * 1000, backup.turns, oldBackup,
                oldBackup / std::max(1e-6, backup.longestGap));

    // Restore of that backup: the old way checked it and copied twice.
    const QString chosen = folder.File(QStringLiteral("bakup/") + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                                       + QStringLiteral(".bak"));
    old.restart();
    Expect(CheckDatabaseFile(chosen, true));
    QFile::copy(folder.DbPath(), copy);
    QFile::remove(copy + QStringLiteral("2"));
    QFile::copy(chosen, copy + QStringLiteral("2"));
    const double oldRestore = Seconds(old);
    QFile::remove(copy);
    QFile::remove(copy + QStringLiteral("2"));
    const Answering restore = RunAnswering([&](const DataProgressFn& progress) {
        return RestoreData(folder, chosen, QDateTime::currentDateTime(), {}, progress).status();
    });
    std::printf("restore on a worker: %.2f s, the window's loop waited at most %.1f ms (%d turns); "
                "old way (check and two copies on the window's thread): %.2f s frozen (%.0fx the longest wait)\n",
                restore.total, restore.longestGap * 1000, restore.turns, oldRestore,
                oldRestore / std::max(1e-6, restore.longestGap));

    // Compaction after the oldest half year of plans was deleted.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("delete"));
        db.setDatabaseName(folder.DbPath());
        db.open();
        {
            QSqlQuery q(db);
            const QString cut = QStringLiteral("(select min(id) + 20 * 182 from Lishi_fangan)");
            for (const QString& table : {QStringLiteral("Lishi_Peibibiao"), QStringLiteral("Lishi_meitan")})
                q.exec(QStringLiteral("delete from %1 where followid < %2").arg(table, cut));
            q.exec(QStringLiteral("delete from Lishi_fangan where id < %1").arg(cut));
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("delete"));
    }
    CompactOutcome compacted;
    const Answering compact = RunAnswering([&](const DataProgressFn& progress) -> Status {
        Result<CompactOutcome> done = CompactDatabase(folder, QDate::currentDate(), {}, progress);
        if (done)
            compacted = *done;
        return done.status();
    });
    std::printf("compaction after half a year deleted (backup included): %.2f s, %.0f MB -> %.0f MB, "
                "the window's loop waited at most %.1f ms\n",
                compact.total, compacted.sizeBefore / 1e6, compacted.sizeAfter / 1e6, compact.longestGap * 1000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString root = QDir::temp().filePath(QStringLiteral("velmora-data-bench"));
    bool oneYear = false;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--one-year"))
            oneYear = true;
        else
            root = arg;
    }
    const QString maker = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("make_history"));
    QList<int> years{1};
    if (!oneYear)
        years << 10;
    for (int y : years) {
        const QString file = QDir(root).filePath(QStringLiteral("%1y/coal.dat").arg(y));
        if (!QFileInfo::exists(file)) {
            std::printf("writing %s ...\n", qPrintable(file));
            std::fflush(stdout);
            if (QProcess::execute(maker, {file, QString::number(y)}) != 0)
                FailSetUp(QStringLiteral("make_history failed"));
        }
        Bench(QStringLiteral("%1 year%2 of plans").arg(y).arg(y > 1 ? QStringLiteral("s") : QString()), file);
    }
    return 0;
}
