// Writes a coal.dat with years of plan history, for the data benchmarks:
// twenty plans a day (by default), each with ten participating coals and 104
// proportion rows, saved at half-hour steps from eight o'clock, up to today.
// The file is an older one: the four tables only, without the followid
// indexes and the targets' tables, as files made before them are; opening it
// brings it up to date. Ten years are 73,000 plans, 8.4 million rows, about
// 1.4 GB. Usage: make_history FILE YEARS [PLANS_A_DAY]

#include "data/Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {

constexpr int kCoalsPerPlan = 10;
constexpr int kRowsPerPlan = 104;

bool Run(QSqlQuery& query, const QString& sql)
{
    if (query.exec(sql))
        return true;
    std::fprintf(stderr, "%s\n%s\n", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}

// A two-decimal text of a value that wanders with the plan (i) and the row (k).
QString Value(double base, double spread, int a, int b)
{
    return QStringLiteral("printf('%.2f', %1 + %2 * (((i * %3 + k * %4) % 97) / 97.0))")
        .arg(base)
        .arg(spread)
        .arg(a)
        .arg(b);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_history FILE YEARS [PLANS_A_DAY]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int years = QByteArray(argv[2]).toInt();
    const int perDay = argc > 3 ? QByteArray(argv[3]).toInt() : 20;
    const int days = years * 365;
    const int plans = days * perDay;
    if (plans <= 0 || perDay > 32) {
        std::fprintf(stderr, "nothing to write\n");
        return 2;
    }
    QFile::remove(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QElapsedTimer timer;
    timer.start();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(path);
        if (!db.open())
            return 1;
        QSqlQuery query(db);
        Run(query, QStringLiteral("PRAGMA journal_mode=OFF"));
        Run(query, QStringLiteral("PRAGMA synchronous=OFF"));
        Run(query, QStringLiteral("PRAGMA cache_size=-200000"));
        // The four tables as the program makes them, nothing after them.
        for (const QString& statement : SchemaStatements()) {
            bool older = false;
            for (const TableColumns& table : RequiredTables())
                older = older || statement.startsWith(QStringLiteral("CREATE TABLE %1 ").arg(table.table));
            if (older && !Run(query, statement))
                return 1;
        }
        QStringList indexColumns;
        for (const TableColumns& table : RequiredTables())
            if (table.table == QLatin1String("Lishi_meitan"))
                indexColumns = table.columns.mid(3, 15);
        QStringList values;
        for (int c = 0; c < indexColumns.size(); ++c)
            values << Value(5 + 7 * c, 3 + c, 13 + c, 7 + 3 * c);
        const QString valueList = values.join(QStringLiteral(", "));
        const QString columnList = indexColumns.join(QStringLiteral(", "));
        const QDate first = QDate::currentDate().addDays(-days + 1);

        Run(query, QStringLiteral("BEGIN"));
        Run(query, QStringLiteral("INSERT INTO meitan (Name, %1, Meichan, kucun, JiaGe, riqi) "
                                  "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<60), "
                                  "m(i, k) AS (SELECT i, 0 FROM n) "
                                  "SELECT printf('煤种%d', i), %2, '2.50', printf('%d', 300 + i * 17), 400 + i * 3.5, "
                                  "'2026-01-01 08:00:00' FROM m")
                       .arg(columnList, valueList));
        // The plans, a day's at a time so that memory stays small.
        const int chunk = 20000;
        for (int from = 1; from <= plans; from += chunk) {
            const int to = std::min(plans, from + chunk - 1);
            const QString planRange =
                QStringLiteral("WITH RECURSIVE p(i) AS (SELECT %1 UNION ALL SELECT i+1 FROM p WHERE i<%2)").arg(from).arg(to);
            const bool headers = Run(
                query,
                QStringLiteral("INSERT INTO Lishi_fangan (id, xinxi, riqi) %1 "
                               "SELECT i, (CASE WHEN i %% 7 = 0 THEN '[铲数配比] ' ELSE '' END) || "
                               "printf('%%d<=发热量 硫分<=%%.2f 灰分<=%%.2f 配%%d吨 必选：', 5000 + i %% 500, "
                               "0.6 + (i %% 40) / 100.0, 10 + (i %% 30) / 10.0, 500 + (i %% 20) * 50) || "
                               "substr('大同神木平朔晋城阳泉府谷', 1 + 2 * (i %% 6), 2) || '精煤', "
                               "datetime('%3', '+' || ((i - 1) / %4) || ' days', "
                               "'+' || (480 + ((i - 1) %% %4) * 30) || ' minutes') FROM p")
                    .arg(planRange, first.toString(QStringLiteral("yyyy-MM-dd")))
                    .arg(perDay)
                    .replace(QStringLiteral("%%"), QStringLiteral("%")));
            const bool coals = Run(
                query,
                QStringLiteral("INSERT INTO Lishi_meitan (followid, Name, %1, kucun, meichan, JiaGe) %2, "
                               "c(k) AS (SELECT 1 UNION ALL SELECT k+1 FROM c WHERE k<%3) "
                               "SELECT i, printf('煤种%%d', 1 + (i * 7 + k) %% 60), %4, printf('%%d', 300 + k * 17), "
                               "'2.50', 400 + ((i * 7 + k) %% 60) * 3.5 FROM p, c ORDER BY i, k")
                    .arg(columnList, planRange)
                    .arg(kCoalsPerPlan)
                    .arg(valueList)
                    .replace(QStringLiteral("%%"), QStringLiteral("%")));
            QStringList parts;
            for (int d = 1; d <= kCoalsPerPlan; ++d)
                parts << QStringLiteral("(i + k * %1) %% 9").arg(d);
            const bool blends = Run(
                query,
                QStringLiteral("INSERT INTO Lishi_Peibibiao (followid, d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, Name, "
                               "%1, kucun, meichan, JiaGe) %2, "
                               "c(k) AS (SELECT 1 UNION ALL SELECT k+1 FROM c WHERE k<%3) "
                               "SELECT i, %4, '', %5, '', '', 450 + ((i * 31 + k * 17) %% 2000) / 10.0 "
                               "FROM p, c ORDER BY i, k")
                    .arg(columnList, planRange)
                    .arg(kRowsPerPlan)
                    .arg(parts.join(QStringLiteral(", ")), valueList)
                    .replace(QStringLiteral("%%"), QStringLiteral("%")));
            if (!headers || !coals || !blends)
                return 1;
            std::fprintf(stderr, "\r%d of %d plans", to, plans);
        }
        Run(query, QStringLiteral("COMMIT"));
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    std::fprintf(stderr, "\n");
    std::printf("%s: %d plans, %lld rows, %.0f MB, written in %.1f s\n", qPrintable(path), plans,
                static_cast<long long>(plans) * (1 + kCoalsPerPlan + kRowsPerPlan),
                QFileInfo(path).size() / 1e6, timer.elapsed() / 1000.0);
    return 0;
}
