// Times a blending run over ten coals with the proportion count 1000 (999
// models written, solved and stored in one transaction), from the checks to
// the committed plan; with "window", the same run started from the workspace
// window's button, progress dialog included (offscreen unless QT_QPA_PLATFORM says otherwise).
// Usage: run_bench [repeats] [window]
#include "../tests/support/TestFolder.h"
#include "RunInputs.h"
#include "base/QualityIndex.h"
#include "ui/widgets/IndexCaptions.h"
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
        const QString box = QLatin1String(IndexViews()[i].boundBox);
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
        WorkspaceInput input = bench::TenCoals();
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
