// Times a blending run over ten coals with the proportion count 1000 (999
// models written, solved and stored in one transaction), from the checks to
// the committed plan; with "window", the same run started from the workspace
// window's button, progress dialog included (offscreen unless QT_QPA_PLATFORM says otherwise).
// Usage: run_bench [repeats] [window]
#include "../tests/support/TestFolder.h"
#include "base/QualityIndex.h"
#include "ui/widgets/Prompt.h"
#include "ui/windows/WorkspaceWindow.h"
#include "workspace/BlendRun.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>

#include <cstdio>

namespace {

WorkspaceInput TenCoals()
{
    struct Row {
        const char* name;
        const char* price;
        const char* reliang;
        const char* liu;
        const char* huifen;
        const char* huifafen;
        const char* g;
        const char* kucun;
    };
    const Row rows[] = {
        {"大同", "620", "5800", "0.60", "9.5", "28", "20", "3000"},
        {"神木", "580", "5600", "0.40", "8.0", "33", "5", "2500"},
        {"准格尔", "430", "4600", "0.55", "18.0", "35", "0", "4000"},
        {"阳泉", "660", "6100", "0.90", "11.0", "9", "0", "1500"},
        {"晋城", "700", "6300", "0.45", "10.5", "7", "0", "1800"},
        {"平顶山", "540", "5200", "1.20", "14.0", "30", "60", "2200"},
        {"淮南", "520", "5000", "0.70", "16.5", "36", "40", "2600"},
        {"兖州", "600", "5700", "0.85", "10.0", "38", "70", "2000"},
        {"开滦", "560", "5400", "0.95", "13.0", "32", "75", "2400"},
        {"乌海", "480", "4900", "1.60", "15.5", "26", "85", "3500"},
    };
    WorkspaceInput input;
    for (int r = 0; r < 10; ++r) {
        GridRow& row = input.grid.rows[r];
        row.cells[kNameCell] = QString::fromUtf8(rows[r].name);
        row.cells[kPriceCell] = QLatin1String(rows[r].price);
        row.cells[IndexCell(2)] = QLatin1String(rows[r].reliang);
        row.cells[IndexCell(5)] = QLatin1String(rows[r].liu);
        row.cells[IndexCell(6)] = QLatin1String(rows[r].huifen);
        row.cells[IndexCell(7)] = QLatin1String(rows[r].huifafen);
        row.cells[IndexCell(9)] = QLatin1String(rows[r].g);
        row.cells[kStockCell] = QLatin1String(rows[r].kucun);
    }
    input.lower[2] = QStringLiteral("5300");  // calorific value
    input.upper[5] = QStringLiteral("0.8");   // sulphur
    input.upper[6] = QStringLiteral("12");    // ash
    input.lower[7] = QStringLiteral("22");    // volatile matter
    input.upper[7] = QStringLiteral("32");
    input.lower[9] = QStringLiteral("30");    // caking index
    input.tonnage = QStringLiteral("5000");
    input.grid.rows[7].checked = true;
    input.proportionCount = QStringLiteral("1000");
    return input;
}

// The run as the user starts it: the input typed into the window, Command1 pressed.
qint64 TimeWindowRun(const TestFolder& test, const WorkspaceInput& input)
{
    Prompt::setTestMode(true);
    WorkspaceWindow window(WindowContext{test.folder()}, false);
    window.show();
    for (int r = 0; r < kGridRows; ++r) {
        window.findChild<QCheckBox*>(QStringLiteral("chk_%1").arg(r))->setChecked(input.grid.rows[r].checked);
        for (int cell = 0; cell < kGridCells; ++cell) {
            window.findChild<QLineEdit*>(QStringLiteral("%1_%2").arg(GridCellName(cell)).arg(r))
                ->setText(input.grid.rows[r].cells[cell]);
        }
    }
    for (int i = 0; i < kIndexCount; ++i) {
        const QString box = QLatin1String(QualityIndices()[i].boundBox);
        window.findChild<QLineEdit*>(box + QStringLiteral("Min"))->setText(input.lower[i]);
        window.findChild<QLineEdit*>(box + QStringLiteral("Max"))->setText(input.upper[i]);
    }
    window.findChild<QLineEdit*>(QStringLiteral("txtZhongliang"))->setText(input.tonnage);
    window.findChild<QLineEdit*>(QStringLiteral("txtChanshu"))->setText(input.proportionCount);
    QEventLoop wait;
    QObject::connect(&window, &WorkspaceWindow::runFinished, &wait, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    wait.exec();
    const qint64 ms = clock.elapsed();
    if (!Prompt::shown().isEmpty())
        std::printf("message: %s\n", Prompt::lastText().toUtf8().constData());
    return ms;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The window run needs no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? QByteArray(argv[1]).toInt() : 3;
    const bool throughWindow = argc > 2 && QByteArray(argv[2]) == "window";
    for (int i = 0; i < repeats; ++i) {
        TestFolder test;
        WorkspaceInput input = TenCoals();
        if (throughWindow) {
            std::printf("window run %d: %lld ms\n", i + 1, static_cast<long long>(TimeWindowRun(test, input)));
            continue;
        }
        QElapsedTimer clock;
        clock.start();
        QString message;
        int solutions = 0;
        int stored = 0;
        if (Status prepared = PrepareRun(input); !prepared) {
            message = prepared.message();
        } else if (Result<RunSolution> solved = SolveRun(test.folder(), input); !solved) {
            message = solved.message();
        } else {
            solutions = solved->solutions;
            stored = static_cast<int>(solved->rows.size());
            if (Result<int> plan = StoreRun(test.folder(), *solved); !plan)
                message = plan.message();
        }
        const qint64 ms = clock.elapsed();
        std::printf("run %d: %lld ms, totals solved 2..1000, %d with a solution, %d proportion rows stored %s\n",
                    i + 1, static_cast<long long>(ms), solutions, stored, message.toUtf8().constData());
    }
    return 0;
}
