// The same figures on both backends in one run: coal.dat, and a PostgreSQL
// server over its Unix socket. Start it beside a server of its own that syncs
// its writes to disk as a real one does:
//   VELMORA_PG_DURABLE=1 bash scripts/pg-server.sh build/bench/backend_bench
// - opening the inventory window on 10,000 coals;
// - opening the history window on a plan of 999 proportion rows;
// - a blending run with the proportion count 1000, stored (the solving is the
//   same on both, so the store alone is timed as well).
// Each figure is the median of several runs; the ratio is the server's
// figure over the file's.

#include "../tests/support/TestFolder.h"
#include "../tests/support/TestServer.h"
#include "RunInputs.h"

#include "base/NumberText.h"
#include "data/CoalTable.h"
#include "data/Dbconnection.h"
#include "history/PlanHistory.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/HistoryWindow.h"
#include "ui/windows/InventoryWindow.h"
#include "workspace/BlendRun.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A folder on coal.dat, or on a new database of the test server.
struct Backend {
    explicit Backend(bool server)
    {
        if (server) {
            database = NewTestDatabase();
            UseDatabase(test.folder(), TestServerSettings(database));
        }
        Expect(EnsureDatabase(test.folder()));
    }
    ~Backend() { CloseConnection(); }
    const AppFolder& folder() const { return test.folder(); }

    TestFolder test{false};
    QString database;
};

void FillCoals(const AppFolder& folder, int count)
{
    Expect(InTransaction(folder, [&]() -> Status {
        for (int j = 0; j < count; ++j) {
            Mei coal = MakeCoal(QStringLiteral("煤%1").arg(j + 1), 400 + (j % 300) + 0.25);
            coal.Kucun = FormatIndexValue(100 + j % 2000);
            coal.MeiChan = QStringLiteral("1.50");
            for (int i = 0; i < kIndexCount; ++i)
                IndexValue(coal, i) = FormatIndexValue(1 + (i * 37 + j) % 900 / 10.0);
            if (Result<int> saved = SaveCoal(folder, coal); !saved)
                return saved.failure();
        }
        return {};
    }));
}

int StoreBigPlan(const AppFolder& folder)
{
    for (int p = 0; p < 20; ++p)
        Expect(StorePlan(folder, NewPlan{QStringLiteral("较早的方案%1").arg(p), {}, {}}));
    NewPlan plan{QStringLiteral("硫分<=0.8 灰分<=10 配1000吨"), {}, {}};
    for (int j = 0; j < 10; ++j) {
        Mei coal = MakeCoal(QStringLiteral("煤种%1").arg(j + 1), 400 + 13.7 * j);
        for (int i = 0; i < kIndexCount; ++i)
            IndexValue(coal, i) = FormatIndexValue(3.0 + i * 1.7 + j * 0.31);
        plan.coals << coal;
    }
    for (int r = 0; r < 999; ++r) {
        PlanBlendRow row;
        for (int j = 0; j < 10; ++j)
            row.parts[j] = double((r * (j + 3)) % 97);
        for (int i = 0; i < kIndexCount; ++i)
            IndexValue(row.blend, i) = FormatIndexValue(5 + (r + i) % 50 / 7.0);
        row.blend.JiaGe = 500 + r * 0.01;
        plan.rows << row;
    }
    return Expect(StorePlan(folder, plan));
}

struct Figures {
    double inventory = 0;
    double history = 0;
    double run = 0;
    double store = 0;
    int storedRows = 0;
};

Figures Measure(bool server, const RunSolution& solved)
{
    Figures figures;
    {
        Backend backend(server);
        FillCoals(backend.folder(), 10000);
        figures.inventory = MedianMs(5, [&] {
            auto* window = new InventoryWindow(WindowContext{backend.folder()});
            window->show();
            QApplication::processEvents();
            delete window;
        });
    }
    {
        Backend backend(server);
        StoreBigPlan(backend.folder());
        figures.history = MedianMs(7, [&] {
            auto* window = new HistoryWindow(WindowContext{backend.folder()}, Settings{});
            window->show();
            QApplication::processEvents();
            delete window;
        });
    }
    {
        Backend backend(server);
        figures.run = MedianMs(2, [&] {
            WorkspaceInput input = bench::TenCoals();
            Expect(PrepareRun(input));
            const RunSolution run = Expect(SolveRun(backend.folder(), input));
            Expect(StoreRun(backend.folder(), run));
        });
        figures.store = MedianMs(9, [&] { Expect(StoreRun(backend.folder(), solved)); });
        figures.storedRows = static_cast<int>(solved.rows.size());
    }
    return figures;
}

void Row(const char* what, double file, double server)
{
    std::printf("%-46s %9.1f ms %9.1f ms   %5.2f\n", what, file, server, server / file);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Prompt::setTestMode(true);
    if (!TestServerGiven()) {
        std::fprintf(stderr, "no server: run it as  bash scripts/pg-server.sh build/bench/backend_bench\n");
        return 1;
    }
    // The run solved once: its store is what differs between the backends.
    RunSolution solved;
    {
        Backend scratch(false);
        WorkspaceInput input = bench::TenCoals();
        Expect(PrepareRun(input));
        solved = Expect(SolveRun(scratch.folder(), input));
    }
    const Figures file = Measure(false, solved);
    const Figures server = Measure(true, solved);
    std::printf("%-46s %12s %12s   %s\n", "", "coal.dat", "server", "server / coal.dat");
    Row("inventory window opened, 10,000 coals", file.inventory, server.inventory);
    Row("history window opened, a plan of 999 rows", file.history, server.history);
    Row("run with proportion count 1000, stored", file.run, server.run);
    char what[80];
    std::snprintf(what, sizeof what, "  of it the store alone (%d rows)", file.storedRows);
    Row(what, file.store, server.store);
    return 0;
}
