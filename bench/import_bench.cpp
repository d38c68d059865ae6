// Times importing 10,000 coals from the inventory's own .xlsx export into a
// fresh coal.dat: reading the file, building the preview, and the import
// transaction. The same rows exported as .xls and written as a UTF-8 .csv are
// imported the same way in the same run as baselines, so the ratios say what
// the .xlsx container and its XML cost over the simplest form of the same
// data. Each figure is the best of a few repetitions, each into a new
// database. The window reads a file on a worker thread (ImportReadJob); that
// road is timed against the same reading in place, to show what the thread
// and the hand-over cost. Run: build/bench/import_bench [folder to keep the
// files in]

#include "base/QualityIndex.h"
#include "inventory/CoalImport.h"
#include "inventory/ImportJob.h"
#include "export/ListLayouts.h"
#include "export/ListExport.h"
#include "support/TestFolder.h"
#include "base/NumberText.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr int kCoals = 10000;
constexpr int kRepetitions = 3;

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

ListData Inventory()
{
    ListData list;
    SetupCoalColumns(list);
    list.rows.reserve(kCoals);
    for (int j = 0; j < kCoals; ++j) {
        ListRow row;
        row.text = QString::number(j + 1);
        row.setCell(1, QStringLiteral("煤%1号").arg(j + 1));
        for (int i = 0; i < kIndexCount; ++i)
            row.setCell(2 + i, (i + j) % 11 == 0 ? QString() : FormatIndexValue(1 + (i * 37 + j) % 900 / 10.0));
        row.setCell(17, FormatIndexValue(100 + j % 2000));
        row.setCell(18, j % 7 == 0 ? QString() : QStringLiteral("1.50"));
        row.setCell(19, FormatIndexValue(400 + j % 300 + 0.25));
        list.rows.append(std::move(row));
    }
    return list;
}

QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool WriteCsv(const ListData& list, const QString& path)
{
    QString text;
    QStringList header;
    for (const ListColumn& column : list.columns)
        header << CsvField(column.header);
    text += header.join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (const ListRow& row : list.rows) {
        QStringList cells;
        for (int c = 0; c < list.columnCount(); ++c)
            cells << CsvField(row.cell(c));
        text += cells.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    QFile file(path);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Stages {
    double read = 1e300;
    double preview = 1e300;
    double import = 1e300;
    double total = 1e300;
};

// Best time of each stage over the repetitions, each into a new coal.dat.
bool TimeImport(const QString& path, Stages* best)
{
    for (int rep = 0; rep < kRepetitions; ++rep) {
        TestFolder target;
        const auto t0 = Clock::now();
        Result<CellTable> table = ReadTableFile(path);
        const auto t1 = Clock::now();
        if (!table) {
            std::fprintf(stderr, "%s\n", qPrintable(table.message()));
            return false;
        }
        Result<QHash<QString, int>> names = InventoryNames(target.folder());
        Result<ImportPreview> preview = names ? MakeImportPreview(*table, *names) : Result<ImportPreview>(names.failure());
        const auto t2 = Clock::now();
        if (!preview || preview->goodCount() != kCoals) {
            std::fprintf(stderr, "preview: %s\n", qPrintable(preview.message()));
            return false;
        }
        Result<ImportCounts> counts = ImportCoals(target.folder(), *preview, ExistingNames::Update,
                                                  QDateTime::currentDateTime(), [](qint64, qint64) { return true; });
        const auto t3 = Clock::now();
        if (!counts || counts->added != kCoals) {
            std::fprintf(stderr, "import: %s\n", qPrintable(counts.message()));
            return false;
        }
        best->read = std::min(best->read, Ms(t0, t1));
        best->preview = std::min(best->preview, Ms(t1, t2));
        best->import = std::min(best->import, Ms(t2, t3));
        best->total = std::min(best->total, Ms(t0, t3));
    }
    return true;
}

// Best time of reading the file and building its preview, in place and
// through the worker job (started, then waited for in an event loop as the
// window does).
bool TimeWorkerRead(const QString& path, double* inPlace, double* worker)
{
    *inPlace = *worker = 1e300;
    for (int rep = 0; rep < kRepetitions; ++rep) {
        const auto t0 = Clock::now();
        Result<CellTable> table = ReadTableFile(path);
        Result<ImportPreview> direct = table ? MakeImportPreview(*table, {}) : Result<ImportPreview>(table.failure());
        const auto t1 = Clock::now();
        ImportReadJob job(path, {});
        QEventLoop wait;
        QObject::connect(&job, &ImportReadJob::finished, &wait, &QEventLoop::quit);
        job.start();
        wait.exec();
        const auto t2 = Clock::now();
        if (!direct || !job.result() || job.result()->goodCount() != kCoals) {
            std::fprintf(stderr, "read: %s %s\n", qPrintable(direct.message()), qPrintable(job.result().message()));
            return false;
        }
        *inPlace = std::min(*inPlace, Ms(t0, t1));
        *worker = std::min(*worker, Ms(t1, t2));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestFolder source(false);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : source.folder().dir;
    QDir().mkpath(folder);
    const ListData list = Inventory();
    const QString xlsx = QDir(folder).filePath(QStringLiteral("coals.xlsx"));
    const QString xls = QDir(folder).filePath(QStringLiteral("coals.xls"));
    const QString csv = QDir(folder).filePath(QStringLiteral("coals.csv"));

    auto t0 = Clock::now();
    const Status xlsxWritten = ExportListToXlsx(source.folder(), list, xlsx);
    auto t1 = Clock::now();
    const Status xlsWritten = ExportListToExcel(source.folder(), list, xls);
    auto t2 = Clock::now();
    if (!xlsxWritten || !xlsWritten || !WriteCsv(list, csv)) {
        std::fprintf(stderr, "could not write the files: %s %s\n", qPrintable(xlsxWritten.message()),
                     qPrintable(xlsWritten.message()));
        return 1;
    }
    std::printf("%d coals; best of %d\n", kCoals, kRepetitions);
    std::printf("export   .xlsx %8.1f ms   .xls %8.1f ms   ratio %.2f\n", Ms(t0, t1), Ms(t1, t2),
                Ms(t0, t1) / Ms(t1, t2));

    Stages forms[3];
    const QString paths[3] = {xlsx, xls, csv};
    const char* names[3] = {".xlsx", ".xls", ".csv"};
    for (int f = 0; f < 3; ++f)
        if (!TimeImport(paths[f], &forms[f]))
            return 1;
    std::printf("import        read ms  preview ms  import ms   total ms   vs .csv   vs .xls\n");
    for (int f = 0; f < 3; ++f)
        std::printf("%-8s %10.1f %11.1f %10.1f %10.1f %9.2f %9.2f\n", names[f], forms[f].read, forms[f].preview,
                    forms[f].import, forms[f].total, forms[f].total / forms[2].total, forms[f].total / forms[1].total);
    double inPlace = 0;
    double worker = 0;
    if (!TimeWorkerRead(xlsx, &inPlace, &worker))
        return 1;
    std::printf(".xlsx read + preview  in place %8.1f ms   on the worker %8.1f ms   ratio %.2f\n", inPlace, worker,
                worker / inPlace);
    std::printf(".xlsx import of %d coals: %.2f s (target: under 3 s)\n", kCoals, forms[0].total / 1000.0);
    return 0;
}
