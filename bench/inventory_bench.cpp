// Times the inventory window on a table of 10,000 coals: opening the window
// (count, list filled, window shown and laid out) and one name search, each
// against the bare read of the same rows through SQL in the same run, so the
// ratio says what the window adds to the database's own work. Each figure is
// the best of a few repetitions, so that other work on the machine disturbs
// it less.

#include "../tests/support/TestFolder.h"
#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "export/ListLayouts.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/InventoryWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int kCoals = 10000;
constexpr int kRepetitions = 5;
const QString kSearchText = QStringLiteral("煤5");  // about one coal in nine

using Clock = std::chrono::steady_clock;

double BestMs(const std::function<void()>& work)
{
    double best = 1e300;
    for (int i = 0; i < kRepetitions; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

void FillTable(const AppFolder& folder)
{
    auto connection = Expect(ConnectionScope::Open(folder));
    auto transaction = Expect(Transaction::Begin());
    for (int j = 0; j < kCoals; ++j) {
        Mei coal;
        coal.MingCheng = QStringLiteral("煤%1").arg(j + 1);
        coal.JiaGe = 400 + (j % 300);
        coal.Kucun = FormatIndexValue(100 + j % 2000);
        coal.MeiChan = j % 7 == 0 ? QString() : QStringLiteral("1.50");
        for (int i = 0; i < kIndexCount; ++i)
            IndexValue(coal, i) = (i + j) % 11 == 0 ? QString() : FormatIndexValue(1 + (i * 37 + j) % 900 / 10.0);
        Expect(SaveCoal(folder, coal));
    }
    Expect(transaction.Commit());
}

// Every row and every column read as the database gives them: the floor under
// any list of the table.
int BareRead(const AppFolder& folder, const QString& sql, const QVariantList& values = {})
{
    auto connection = Expect(ConnectionScope::Open(folder));
    QSqlQuery query = Expect(RunQuery(sql, values));
    int rows = 0;
    while (query.next()) {
        const QSqlRecord record = query.record();
        for (int c = 0; c < record.count(); ++c)
            (void)record.value(c).toString();
        ++rows;
    }
    return rows;
}

// limit 0: a part of the figure above it, without a target of its own.
void Report(const char* what, double ms, double baseline, double limit = 0)
{
    std::printf("%-42s %8.1f ms  %5.1f x the bare SQL read (%.1f ms)", what, ms, ms / baseline, baseline);
    if (limit > 0)
        std::printf("  target < %.0f ms: %s", limit, ms < limit ? "met" : "NOT MET");
    std::printf("\n");
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Prompt::setTestMode(true);

    TestFolder folder;
    const WindowContext context{folder.folder()};
    FillTable(folder.folder());
    std::printf("inventory of %d coals, best of %d runs\n", Expect(CountCoals(folder.folder())), kRepetitions);

    const QString all = QStringLiteral("select * from meitan");
    const double bareAll = BestMs([&] { BareRead(folder.folder(), all); });
    const double fill = BestMs([&] {
        ListData list;
        SetupCoalColumns(list);
        FillCoalRows(list, Expect(LoadCoals(folder.folder())));
    });
    const double count = BestMs([&] { Expect(CountCoals(folder.folder())); });
    const double open = BestMs([&] {
        auto* window = new InventoryWindow(context);
        window->show();
        QApplication::processEvents();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });

    const QString search = QStringLiteral("select * from meitan where name like ? escape '\\'");
    const QVariantList pattern{QStringLiteral("%") + kSearchText + QStringLiteral("%")};
    const int found = BareRead(folder.folder(), search, pattern);
    const double bareSearch = BestMs([&] { BareRead(folder.folder(), search, pattern); });
    auto* window = new InventoryWindow(context);
    window->show();
    QApplication::processEvents();
    window->findChild<QLineEdit*>(QStringLiteral("txtSearch"))->setText(kSearchText);
    auto* cmdSearch = window->findChild<QPushButton*>(QStringLiteral("cmdSearch"));
    const double searching = BestMs([&] {
        cmdSearch->click();
        QApplication::processEvents();
    });

    Report("opening the inventory window", open, bareAll, 500);
    Report("  for comparison: the count alone", count, bareAll);
    Report("  for comparison: the list data alone", fill, bareAll);
    char what[80];
    std::snprintf(what, sizeof what, "search (%d of %d coals found)", found, kCoals);
    Report(what, searching, bareSearch, 100);
    window->close();
    return 0;
}
