// The optimisation engine: its model language, its script commands and cells,
// damaged models, hostile files, and the velmora-engine command.

#include "blend/Engine.h"
#include "blend/EngineModel.h"
#include "blend/LinearSolver.h"
#include "blend/ModelText.h"
#include "base/QualityIndex.h"
#include "support/TestFolder.h"
#include "support/ModelTexts.h"
#include "base/NumberText.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <functional>

Q_DECLARE_METATYPE(EngineStatus)
Q_DECLARE_METATYPE(LinearStatus)

namespace {

constexpr double kUntouched = -7.0;

struct Outcome {
    EngineStatus status;
    QVector<double> cells;
    EngineReport report;
};

// Runs a script with `cells` registered cells, each starting at kUntouched.
Outcome RunScript(const QByteArray& script, int cells)
{
    EngineHandle env = EngineCreateEnv();
    QVector<double> values(cells, kUntouched);
    int counter = 0;
    for (int i = 0; i < cells; ++i)
        EngineSetPointer(env, &values[i], &counter);
    EngineExecuteScript(env, script.constData());
    Outcome outcome{EngineLastReport(env).status, {}, EngineLastReport(env)};
    EngineCloseLogFile(env);
    EngineDeleteEnv(env);
    outcome.cells = values;
    return outcome;
}

// A model written into the script itself, then solved.
Outcome RunModel(const QByteArray& model, int cells)
{
    return RunScript(model + "\nGO\nQUIT\n", cells);
}

QString EngineProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/velmora-engine");
}

struct CommandRun {
    int exitCode = -1;
    QByteArray output;
    QByteArray error;
};

// Runs velmora-engine on one argument in folder. `input`, when given, is
// written to its standard input, which is then closed; `endless` keeps
// writing blanks until the command stops reading.
CommandRun RunCommand(const QString& argument, const QString& folder, const QByteArray& input = {},
                      bool endless = false)
{
    CommandRun run;
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(EngineProgram(), {argument});
    if (!process.waitForStarted(60000))
        return run;
    if (endless) {
        // Far more than any file the engine takes in, a mebibyte at a time.
        const QByteArray blanks(1 << 20, ' ');
        for (int i = 0; i < 100 && process.state() == QProcess::Running; ++i) {
            process.write(blanks);
            while (process.bytesToWrite() > 0 && process.state() == QProcess::Running)
                process.waitForBytesWritten(1000);
        }
    } else {
        process.write(input);
    }
    process.closeWriteChannel();
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(120000);
    if (process.state() != QProcess::NotRunning || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.output = process.readAllStandardOutput();
    run.error = process.readAllStandardError();
    return run;
}

// "第 L 行第 C 列" of the first NUL byte in text.
QByteArray PlaceOfNul(const QByteArray& text)
{
    const int at = text.indexOf('\0');
    const int line = text.left(at).count('\n') + 1;
    const int column = at - (text.lastIndexOf('\n', at) + 1) + 1;
    return "第 " + QByteArray::number(line) + " 行第 " + QByteArray::number(column) + " 列";
}

// The characters of a message that no one could read, or that would play
// tricks on a terminal: C0 and C1 controls and DEL.
bool HasControlCharacters(const std::string& text)
{
    const QString decoded = QString::fromUtf8(text);
    for (const QChar c : decoded)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return true;
    return false;
}

// n variables X1 ... Xn, each held in by a line of its own: GLPK's
// presolver resolves all of it before any simplex step.
LinearProgram PresolvableProgram(int n, bool integer)
{
    LinearProgram program;
    for (int j = 0; j < n; ++j) {
        LinearColumn column;
        column.cost = 1.0;
        column.integer = integer;
        const int c = program.addColumn(column);
        program.addTerm(program.addRow(LinearRow{j % 2 == 0 ? 1.0 : 0.0, kNoBound}), c, 1.0);
    }
    return program;
}

}  // namespace

class TestEngine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void language_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<EngineStatus>("status");
        QTest::addColumn<QVector<double>>("pointers");

        const EngineStatus ok = EngineStatus::Optimal;
        QTest::newRow("at least, at most") << QByteArray("model:\n[o] min=2*X1+3*X2;\nX1>2;\nX2<5;\nX1+X2>4;\n"
                                                         "data:\n@pointer(1)=X1;\n@pointer(2)=X2;\n@pointer(3)=o;\nenddata\nend")
                                           << ok << QVector<double>{4, 0, 8};
        QTest::newRow(">= and whole numbers") << QByteArray("model: [cost] min=X1+1.01*X2; 2*X1+2*X2>=3; @gin(X1); @gin(X2);"
                                                            " data: @pointer(1)=X1; @pointer(2)=cost; enddata end")
                                              << ok << QVector<double>{2, 2};
        QTest::newRow("plus then minus") << QByteArray("model: [o] max=X1+-1*X2; X1<3+-1; X2>=1; data: @pointer(1)=o; enddata end")
                                         << ok << QVector<double>{1};
        QTest::newRow("products and constants on the right")
            << QByteArray("model: [o] min=500.00*2*X1; 1000*X1>300*5; data: @pointer(1)=X1; @pointer(2)=o; enddata end")
            << ok << QVector<double>{1.5, 1500};
        QTest::newRow("variables on both sides") << QByteArray("model: [o] max=X1; X1=2*X2+1; X2<=3; data: @pointer(1)=o; enddata end")
                                                 << ok << QVector<double>{7};
        QTest::newRow("quotient and unary minus") << QByteArray("model: [o] min=X1/2; -X1<=-3; data: @pointer(1)=o; enddata end")
                                                  << ok << QVector<double>{1.5};
        QTest::newRow("letter case and blanks") << QByteArray("MODEL:\n  [O] MIN = 3 * x1 ;\n X1 > 1 ;\n DATA:\n @POINTER( 1 ) = o ;\n ENDDATA\nEND")
                                                << ok << QVector<double>{3};
        QTest::newRow("variables are non-negative") << QByteArray("model: [o] min=X1; X1>-5; data: @pointer(1)=X1; enddata end")
                                                    << ok << QVector<double>{0};
        QTest::newRow("@free and @bnd") << QByteArray("model: [o] min=X1-X2; @free(X1); X1>-4; @bnd(1,X2,3); data: @pointer(1)=o; enddata end")
                                        << ok << QVector<double>{-7};
        QTest::newRow("@bin") << QByteArray("model: [o] max=2*X1; @bin(X1); data: @pointer(1)=X1; enddata end")
                              << ok << QVector<double>{1};
        QTest::newRow("constant in the objective") << QByteArray("model: [o] min=X1+10; X1>1; data: @pointer(1)=o; enddata end")
                                                   << ok << QVector<double>{11};
        QTest::newRow("pointer to a constraint row") << QByteArray("model: [o] min=X1+X2; [r] X1+2*X2>4; X1<1; data: @pointer(1)=r; enddata end")
                                                     << ok << QVector<double>{4};
        QTest::newRow("an optimum of zero") << QByteArray("model: [o] min=0*X1+0*X2; X1+X2=2; @gin(X1); data: @pointer(1)=o; enddata end")
                                            << ok << QVector<double>{0};
        QTest::newRow("no objective") << QByteArray("model: X1+X2=2; X1>=2; data: @pointer(1)=X1; enddata end")
                                      << ok << QVector<double>{2};
        QTest::newRow("contradicting bounds") << QByteArray("model: min=X1; X1>3; X1<2; end")
                                              << EngineStatus::Infeasible << QVector<double>{};
        QTest::newRow("no whole-number point") << QByteArray("model: min=X1; 2*X1=1; @gin(X1); end")
                                               << EngineStatus::Infeasible << QVector<double>{};
        QTest::newRow("false constant line") << QByteArray("model: min=X1; 3<2; end")
                                             << EngineStatus::Infeasible << QVector<double>{};
        QTest::newRow("unbounded") << QByteArray("model: max=X1; end")
                                   << EngineStatus::Unbounded << QVector<double>{};
        // Terms of one variable and constants are added without rounding on the way.
        QTest::newRow("repeated terms of a variable") << QByteArray("model: [o] min=X1; 1e16*X1+X1-1e16*X1>1; data: @pointer(1)=X1; enddata end")
                                                      << ok << QVector<double>{1};
        QTest::newRow("repeated terms across the relation") << QByteArray("model: [o] min=X1; 1e16*X1+X1>1e16*X1+2; data: @pointer(1)=X1; enddata end")
                                                             << ok << QVector<double>{2};
        QTest::newRow("large constants that cancel") << QByteArray("model: [o] min=X1; X1>1e16+1-1e16; data: @pointer(1)=X1; enddata end")
                                                     << ok << QVector<double>{1};
        QTest::newRow("objective of repeated terms") << QByteArray("model: [o] min=1e16*X1+X1-1e16*X1+1e16-1e16; X1>3; data: @pointer(1)=o; enddata end")
                                                     << ok << QVector<double>{3};
        QTest::newRow("row value of repeated terms") << QByteArray("model: [o] min=X1; [r] 1e16*X1+X1-1e16*X1>2; data: @pointer(1)=r; enddata end")
                                                     << ok << QVector<double>{2};
        QTest::newRow("repeated terms that cancel") << QByteArray("model: [o] max=X1; 0.1*X1+0.2*X1-0.3*X1<1; X1<4; data: @pointer(1)=o; enddata end")
                                                    << ok << QVector<double>{4};
    }

    void language()
    {
        QFETCH(QByteArray, model);
        QFETCH(EngineStatus, status);
        QFETCH(QVector<double>, pointers);

        const Outcome outcome = RunModel(model, 3);
        QCOMPARE(outcome.status, status);
        for (int i = 0; i < pointers.size(); ++i)
            QVERIFY2(std::fabs(outcome.cells[i] - pointers[i]) < 1e-9,
                     qPrintable(QStringLiteral("pointer %1: %2").arg(i + 1).arg(outcome.cells[i])));
        if (status != EngineStatus::Optimal)
            QCOMPARE(outcome.cells, QVector<double>(3, kUntouched));
    }

    void parseErrors_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");

        QTest::newRow("missing semicolon") << QByteArray("model:\r\n[rObj] min=X1\r\nend") << 3 << 1;
        QTest::newRow("strange character") << QByteArray("model:\nmin=X1;\nX1 ? 3;\nend") << 3 << 4;
        QTest::newRow("two variables in a term") << QByteArray("model:\nmin=X1*X2;\nend") << 2 << 8;
        QTest::newRow("unknown name in a pointer")
            << QByteArray("model:\nmin=X1;\ndata:\n@pointer(1)=Y;\nenddata\nend") << 4 << 13;
        QTest::newRow("pointer number twice")
            << QByteArray("model:\nmin=X1;\ndata:\n@pointer(1)=X1;\n@pointer(1)=X1;\nenddata\nend") << 5 << 10;
        QTest::newRow("no end") << QByteArray("model:\nmin=X1;\n") << 3 << 1;
        QTest::newRow("number out of range") << QByteArray("model:\nmin=1e999*X1;\nend") << 2 << 5;
        QTest::newRow("unknown function") << QByteArray("model:\nmin=X1;\n@pointer(1)=X1;\nend") << 3 << 1;
        QTest::newRow("second objective") << QByteArray("model:\nmin=X1;\nmax=X1;\nend") << 3 << 1;
        QTest::newRow("relation missing") << QByteArray("model:\nX1+X2;\nend") << 2 << 6;
        QTest::newRow("doubled equals") << QByteArray("model:\nmin=X1;\nX1==5;\nend") << 3 << 4;
        QTest::newRow("relation twice") << QByteArray("model:\nmin=X1;\nX1<3<4;\nend") << 3 << 5;
    }

    void parseErrors()
    {
        QFETCH(QByteArray, model);
        QFETCH(int, line);
        QFETCH(int, column);

        // Read from a file, as the program does, so nothing follows the text.
        TestFolder temp(false);
        const QString path = temp.path(QStringLiteral("m.txt"));
        QVERIFY(WriteBytes(path, model));
        const Outcome outcome = RunScript("TAKE " + path.toLocal8Bit() + "\nGO\n", 2);
        QCOMPARE(outcome.status, EngineStatus::ParseError);
        QCOMPARE(QString::fromStdString(outcome.report.file), path);
        QCOMPARE(outcome.report.line, line);
        QCOMPARE(outcome.report.column, column);
        QVERIFY(!outcome.report.message.empty());
        QCOMPARE(outcome.cells, QVector<double>(2, kUntouched));
    }

    void scriptCommands()
    {
        TestFolder temp(false);
        const QString model = temp.path(QStringLiteral("m.txt"));
        QVERIFY(WriteBytes(model, "model: [o] min=X1; X1>2; data: @pointer(1)=X1; @pointer(2)=o; @pointer(3)=o; enddata end\r\n"));
        const QByteArray path = model.toLocal8Bit();

        // Commands in any letter case; pointers beyond the registered cells are skipped.
        Outcome run = RunScript("set echoin 1\ntake " + path + "\ngo\nquit\n", 2);
        QCOMPARE(run.status, EngineStatus::Optimal);
        QCOMPARE(run.cells, (QVector<double>{2, 2}));
        QCOMPARE(static_cast<int>(run.report.pointers.size()), 3);

        // QUIT ends the script: the GO after it is never run.
        run = RunScript("TAKE " + path + "\nQUIT\nGO\n", 2);
        QCOMPARE(run.status, EngineStatus::NotSolved);
        QCOMPARE(run.cells, QVector<double>(2, kUntouched));

        run = RunScript("GO\n", 1);
        QCOMPARE(run.status, EngineStatus::ScriptError);
        run = RunScript("SET ECHOIN 1\nFLY\nGO\n", 1);
        QCOMPARE(run.status, EngineStatus::ScriptError);
        QCOMPARE(run.report.line, 2);
        run = RunScript("TAKE " + path + ".missing\nGO\n", 1);
        QCOMPARE(run.status, EngineStatus::ReadError);
        QCOMPARE(run.cells, QVector<double>(1, kUntouched));

        // A script file may take a model; one that takes itself stops.
        const QString script = temp.path(QStringLiteral("s.txt"));
        QVERIFY(WriteBytes(script, "! a comment\r\nTAKE " + path + "\r\nGO\r\n"));
        run = RunScript("TAKE " + script.toLocal8Bit() + "\n", 1);
        QCOMPARE(run.status, EngineStatus::Optimal);
        QCOMPARE(run.cells[0], 2.0);
        QVERIFY(WriteBytes(script, "TAKE " + script.toLocal8Bit() + "\n"));
        run = RunScript("TAKE " + script.toLocal8Bit() + "\n", 1);
        QCOMPARE(run.status, EngineStatus::ScriptError);

        // An empty script does nothing.
        EngineHandle env = EngineCreateEnv();
        QCOMPARE(EngineExecuteScript(env, ""), static_cast<int>(kEngineOk));
        QCOMPARE(EngineLastReport(env).status, EngineStatus::NotSolved);
        EngineDeleteEnv(env);
    }

    void blanksChangeNothing()
    {
        // The model text as the program writes it has no blanks; blanks
        // around every operator must give the same model.
        QRandomGenerator random(99);
        for (int round = 0; round < 100; ++round) {
            ModelInput input = WorkedExample();
            for (Mei& coal : input.coals) {
                coal.JiaGe = random.bounded(100000) / 100.0 - 100;
                coal.HuiFen = FormatIndexValue(random.bounded(100000) / 1000.0 - 10);
            }
            input.lower[IndexOf("HuiFen")] = QString::number(random.bounded(1000) / 7.0, 'g', 6);
            input.mustInclude = {random.bounded(2) == 1, true};
            input.tonnage = random.bounded(2) ? QStringLiteral("1000") : QString();
            input.shovelMode = round % 2 == 1;
            const QByteArray text = ModelFileBytesOf(input, 2 + random.bounded(999));
            QByteArray spaced = text;
            for (const char* op : {"*", "+", "<", ">", "=", ";", "(", ")"})
                spaced.replace(op, QByteArray(" ") + op + " ");
            spaced.replace("=  -", "= -");

            EngineModel asWritten;
            EngineModel withBlanks;
            EngineParseError error;
            QVERIFY(ParseEngineModel(std::string_view(text.constData(), text.size()), asWritten, error));
            QVERIFY2(ParseEngineModel(std::string_view(spaced.constData(), spaced.size()), withBlanks, error),
                     error.message.c_str());
            QCOMPARE(asWritten.rows.size(), withBlanks.rows.size());
            for (std::size_t r = 0; r < asWritten.rows.size(); ++r) {
                QCOMPARE(asWritten.rows[r].sense, withBlanks.rows[r].sense);
                QCOMPARE(asWritten.rows[r].rhs, withBlanks.rows[r].rhs);
                const auto a = RowTerms(asWritten, asWritten.rows[r]);
                const auto b = RowTerms(withBlanks, withBlanks.rows[r]);
                QCOMPARE(a.size(), b.size());
                for (std::size_t t = 0; t < a.size(); ++t) {
                    QCOMPARE(a[t].variable, b[t].variable);
                    QCOMPARE(a[t].coefficient, b[t].coefficient);
                }
            }
            QCOMPARE(asWritten.objective.size(), withBlanks.objective.size());
            for (std::size_t t = 0; t < asWritten.objective.size(); ++t)
                QCOMPARE(asWritten.objective[t].coefficient, withBlanks.objective[t].coefficient);
            QCOMPARE(asWritten.variables.size(), withBlanks.variables.size());
            for (std::size_t v = 0; v < asWritten.variables.size(); ++v)
                QCOMPARE(asWritten.variables[v].integer, withBlanks.variables[v].integer);
            QCOMPARE(asWritten.pointers.size(), withBlanks.pointers.size());
            for (std::size_t p = 0; p < asWritten.pointers.size(); ++p) {
                QCOMPARE(asWritten.pointers[p].number, withBlanks.pointers[p].number);
                QCOMPARE(asWritten.pointers[p].kind, withBlanks.pointers[p].kind);
                QCOMPARE(asWritten.pointers[p].index, withBlanks.pointers[p].index);
            }
        }
    }

    void damagedModelsNeverCrash()
    {
        ModelInput input = WorkedExample();
        input.mustInclude[0] = true;
        input.tonnage = QStringLiteral("1000");
        input.coals[0].Kucun = QStringLiteral("3000");
        input.upper[IndexOf("HuiFen")] = QStringLiteral("13");
        const QByteArray plain = ModelTextOf(input, 5).toLatin1();
        input.shovelMode = true;
        const QByteArray shovel = ModelFileBytesOf(input, 5);

        for (const QByteArray& model : {plain, shovel}) {
            // Every cut before "end" is complete is refused as unreadable.
            for (int length = 0; length < model.size() - 1; ++length) {
                const Outcome outcome = RunModel(model.left(length), 3);
                QVERIFY2(outcome.status == EngineStatus::ParseError || outcome.status == EngineStatus::ScriptError,
                         qPrintable(QString::fromLatin1(model.left(length))));
                QCOMPARE(outcome.cells, QVector<double>(3, kUntouched));
            }
            QCOMPARE(RunModel(model, 3).status, EngineStatus::Optimal);

            // Any one character garbled: an answer of some kind, never a crash or a hang.
            const QByteArray garbage = "X9;<=@(-.e )*+[:";
            for (int at = 0; at < model.size(); ++at) {
                for (const char c : garbage) {
                    QByteArray damaged = model;
                    damaged[at] = c;
                    const Outcome outcome = RunModel(damaged, 3);
                    if (outcome.status != EngineStatus::Optimal)
                        QCOMPARE(outcome.cells, QVector<double>(3, kUntouched));
                    else
                        for (const double v : outcome.cells)
                            QVERIFY(std::isfinite(v));
                }
            }
        }
    }

    void timeLimitCoversEveryPhase_data()
    {
        QTest::addColumn<bool>("integer");
        QTest::addColumn<int>("timeLimitMs");
        QTest::addColumn<LinearStatus>("status");

        // With no time left, no phase may run, not even one that would
        // resolve the whole programme on its own.
        QTest::newRow("continuous, no time left") << false << 0 << LinearStatus::TimeLimit;
        QTest::newRow("whole numbers, no time left") << true << 0 << LinearStatus::TimeLimit;
        QTest::newRow("continuous, time enough") << false << 60000 << LinearStatus::Optimal;
        QTest::newRow("whole numbers, time enough") << true << 60000 << LinearStatus::Optimal;
    }

    void timeLimitCoversEveryPhase()
    {
        QFETCH(bool, integer);
        QFETCH(int, timeLimitMs);
        QFETCH(LinearStatus, status);

        LinearOptions options;
        options.timeLimitMs = timeLimitMs;
        const LinearSolution solution = SolveLinearProgram(PresolvableProgram(1000, integer), options);
        QCOMPARE(solution.status, status);
        if (status == LinearStatus::Optimal)
            QCOMPARE(solution.objective, 500.0);
        else
            QVERIFY(solution.values.empty());
    }

    void refusesFilesWithoutEnd_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("reason");  // part of the message

        QTest::newRow("device") << QStringLiteral("device") << QByteArray("不是普通文件");
        QTest::newRow("named pipe") << QStringLiteral("fifo") << QByteArray("不是普通文件");
        QTest::newRow("folder") << QStringLiteral("folder") << QByteArray("不是普通文件");
        QTest::newRow("larger than the limit") << QStringLiteral("large") << QByteArray("64 MiB");
    }

    void refusesFilesWithoutEnd()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, reason);

        TestFolder temp(false);
        QString path;
        if (kind == QLatin1String("device")) {
            path = QStringLiteral("/dev/zero");
            if (!QFile::exists(path))
                QSKIP("no /dev/zero here");
        } else if (kind == QLatin1String("fifo")) {
            path = temp.path(QStringLiteral("pipe"));
            if (QProcess::execute(QStringLiteral("mkfifo"), {path}) != 0)
                QSKIP("no mkfifo here");
        } else if (kind == QLatin1String("folder")) {
            path = temp.path(QStringLiteral("template"));
        } else {
            // A sparse file: as large as it says, without the disk work.
            path = temp.path(QStringLiteral("large.txt"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write("model:") == 6);
            QVERIFY(file.resize(64 * 1024 * 1024 + 1));
        }

        const Outcome outcome = RunScript("TAKE " + QFile::encodeName(path) + "\nGO\n", 1);
        QCOMPARE(outcome.status, EngineStatus::ReadError);
        QCOMPARE(outcome.cells, QVector<double>(1, kUntouched));
        const std::string message = EngineDescribe(outcome.report);
        QVERIFY2(QByteArray::fromStdString(message).contains(reason), message.c_str());

        // The command line refuses the same files, except a named pipe, which
        // it reads like any command-line reader once a writer comes.
        if (kind == QLatin1String("fifo") || !QFile::exists(EngineProgram()))
            return;
        const CommandRun run = RunCommand(path, temp.folder().dir);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.error.contains(reason), run.error.constData());
    }

    void commandRefusesEndlessInput()
    {
        if (!QFile::exists(EngineProgram()) || !QFile::exists(QStringLiteral("/dev/stdin")))
            QSKIP("velmora-engine or /dev/stdin is not here");
        TestFolder temp(false);
        const CommandRun run = RunCommand(QStringLiteral("/dev/stdin"), temp.folder().dir, {}, true);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.error.contains("64 MiB"), run.error.left(200).constData());
        QVERIFY(run.error.size() < 1000);
    }

    void commandReadsNamedFileOnce_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QByteArray>("input");  // standard input
        QTest::addColumn<QByteArray>("output");

        // Beside the file named, "m.txt" holds a model whose optimum is 2.
        QTest::newRow("name ending in a blank") << QStringLiteral("m.txt ") << QByteArray() << QByteArray("1\to\t5\n");
        QTest::newRow("name starting with a blank") << QStringLiteral(" m.txt") << QByteArray() << QByteArray("1\to\t7\n");
        QTest::newRow("model on standard input")
            << QStringLiteral("/dev/stdin")
            << QByteArray("model: [o] min=X1; X1>3; data: @pointer(1)=o; enddata end\n") << QByteArray("1\to\t3\n");
        QTest::newRow("script on standard input")
            << QStringLiteral("/dev/stdin")
            << QByteArray("SET ECHOIN 1\nmodel: [o] max=X1; X1<4; data: @pointer(1)=o; enddata end\nGO\nQUIT\n")
            << QByteArray("1\to\t4\n");
    }

    void commandReadsNamedFileOnce()
    {
        QFETCH(QString, argument);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, output);

        if (!QFile::exists(EngineProgram()))
            QSKIP("velmora-engine is not built in this build folder");
#ifdef Q_OS_WIN
        QSKIP("names with outer blanks and /dev/stdin are not on this system");
#endif
        TestFolder temp(false);
        QVERIFY(WriteBytes(temp.path(QStringLiteral("m.txt")), "model: [o] min=X1; X1>2; data: @pointer(1)=o; enddata end\n"));
        QVERIFY(WriteBytes(temp.path(QStringLiteral("m.txt ")), "model: [o] min=X1; X1>5; data: @pointer(1)=o; enddata end\n"));
        QVERIFY(WriteBytes(temp.path(QStringLiteral(" m.txt")), "model: [o] min=X1; X1>7; data: @pointer(1)=o; enddata end\n"));

        const CommandRun run = RunCommand(argument, temp.folder().dir, input);
        QVERIFY2(run.exitCode == 0, run.error.constData());
        QCOMPARE(run.output, output);
    }

    void takeReadsBoundedNumberOfFiles_data()
    {
        QTest::addColumn<QList<int>>("fanOut");  // TAKE lines of each level of script files
        QTest::addColumn<EngineStatus>("status");

        // The script itself takes the first file: 1 + 999 files in all.
        QTest::newRow("one thousand files") << QList<int>{999} << EngineStatus::Optimal;
        QTest::newRow("one file more") << QList<int>{1000} << EngineStatus::ScriptError;
        QTest::newRow("three levels of a thousand lines") << QList<int>{1000, 1000} << EngineStatus::ScriptError;
    }

    void takeReadsBoundedNumberOfFiles()
    {
        QFETCH(QList<int>, fanOut);
        QFETCH(EngineStatus, status);

        TestFolder temp(false);
        auto level = [&](int i) { return QFile::encodeName(temp.path(QStringLiteral("level%1.txt").arg(i))); };
        for (int i = 0; i < fanOut.size(); ++i) {
            QByteArray lines;
            for (int n = 0; n < fanOut[i]; ++n)
                lines += "TAKE " + level(i + 1) + "\n";
            QVERIFY(WriteBytes(QFile::decodeName(level(i)), lines));
        }
        QVERIFY(WriteBytes(QFile::decodeName(level(fanOut.size())),
                          "model: [o] min=X1; X1>2; data: @pointer(1)=o; enddata end"));

        const Outcome outcome = RunScript("TAKE " + level(0) + "\nGO\n", 1);
        QCOMPARE(outcome.status, status);
        if (status == EngineStatus::Optimal) {
            QCOMPARE(outcome.cells[0], 2.0);
        } else {
            QCOMPARE(outcome.cells[0], kUntouched);
            QVERIFY2(outcome.report.message.find("1000") != std::string::npos, outcome.report.message.c_str());
        }
    }

    void nulBytesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("content");  // "@M" stands for the path of a model file
        QTest::addColumn<EngineStatus>("status");

        auto withNul = [](const char* before, const char* after) {
            return QByteArray(before) + QByteArray(1, '\0') + QByteArray(after);
        };
        QTest::newRow("after the end of a model")
            << withNul("model: [o] min=X1; X1>2; data: @pointer(1)=o; enddata end\r\n", "") << EngineStatus::ParseError;
        QTest::newRow("inside a model") << withNul("model:\n[o] min=X1;\nX1>", " 2;\nend\n") << EngineStatus::ParseError;
        QTest::newRow("in the name a script takes") << withNul("TAKE @M", ".old\nGO\n") << EngineStatus::ScriptError;
        QTest::newRow("on a line of its own in a script")
            << withNul("TAKE @M\nGO\n", "\nGO FAST\n") << EngineStatus::ScriptError;
    }

    void nulBytesAreRefused()
    {
        QFETCH(QByteArray, content);
        QFETCH(EngineStatus, status);

        TestFolder temp(false);
        const QString model = temp.path(QStringLiteral("m.txt"));
        QVERIFY(WriteBytes(model, "model: [o] min=X1; X1>2; data: @pointer(1)=o; enddata end\n"));
        content.replace("@M", QFile::encodeName(model));
        const QString file = temp.path(QStringLiteral("nul.txt"));
        QVERIFY(WriteBytes(file, content));
        const QByteArray place = PlaceOfNul(content);

        const Outcome outcome = RunScript("TAKE " + QFile::encodeName(file) + "\nGO\n", 1);
        QCOMPARE(outcome.status, status);
        QCOMPARE(outcome.cells, QVector<double>(1, kUntouched));
        const QByteArray description = QByteArray::fromStdString(EngineDescribe(outcome.report));
        QVERIFY2(description.contains(place), description.constData());

        if (!QFile::exists(EngineProgram()))
            return;
        const CommandRun run = RunCommand(file, temp.folder().dir);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.error.contains(place), run.error.constData());
    }

    void messagesQuoteInputSafely_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QByteArray>("quoted");  // how the quoted input begins in the message

        const QByteArray longName = "V" + QByteArray(500, 'w');
        QTest::newRow("unknown command")
            << QByteArray("FLY\x1b[2J\x07" + QByteArray(500, 'A') + "\n") << QByteArray("FLY[2JAAAA");
        QTest::newRow("C1 control in a command")
            << QByteArray("FLY\xc2\x9b" "31m\n") << QByteArray("FLY31m");
        QTest::newRow("unknown name in a pointer")
            << QByteArray("model: min=X1; data: @pointer(1)=" + longName + "; enddata end\nGO\n") << QByteArray("Vwww");
        QTest::newRow("contradicting bounds of a long name")
            << QByteArray("model: min=" + longName + "; @bnd(3," + longName + ",2); end\nGO\n") << QByteArray("Vwww");
        QTest::newRow("file name with control characters")
            << QByteArray("TAKE /nonexistent/\x1b]0;x\x07" + QByteArray(300, 'b') + "\n") << QByteArray("/nonexistent/]0;xbbb");
        QTest::newRow("long file name beyond ASCII")
            << QByteArray("TAKE /nonexistent/" + QString(200, QChar(0x7164)).toUtf8() + "\n") << QByteArray("/nonexistent/煤煤");
    }

    void messagesQuoteInputSafely()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, quoted);

        const Outcome outcome = RunScript(script, 1);
        QVERIFY(outcome.status != EngineStatus::Optimal);
        const std::string message = EngineDescribe(outcome.report);
        QVERIFY2(!HasControlCharacters(message), message.c_str());
        QVERIFY2(QByteArray::fromStdString(message).contains(quoted), message.c_str());
        // The quoted input is cut; what remains is whole characters.
        const QString decoded = QString::fromUtf8(message);
        QVERIFY2(decoded.size() < 160, message.c_str());
        QCOMPARE(decoded.toUtf8(), QByteArray::fromStdString(message));
    }

    void engineCommand_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QByteArray>("error");  // part of the message on standard error

        QTest::newRow("model") << QByteArray("model:\r\n[rObj] min=500.00*X1+450.00*X2;\r\n10.50*X1+14.00*X2<60;\r\n"
                                             "X1+X2=5;\r\n@gin(X1);\r\n@gin(X2);\r\ndata:\r\n@pointer(2)=X2;\r\n"
                                             "@pointer(1)=X1;\r\n@pointer(3)=rObj;\r\nenddata\r\nend\r\n")
                               << 0 << QByteArray("1\tX1\t3\n2\tX2\t2\n3\trObj\t2400\n") << QByteArray();
        QTest::newRow("shortest text") << QByteArray("model: [o] min=X1; 10*X1>1; data: @pointer(1)=o; enddata end")
                                       << 0 << QByteArray("1\to\t0.1\n") << QByteArray();
        QTest::newRow("script") << QByteArray("SET ECHOIN 1\nmodel: [o] max=X1; X1<4; data: @pointer(1)=o; enddata end\nGO\nQUIT\n")
                                << 0 << QByteArray("1\to\t4\n") << QByteArray();
        QTest::newRow("infeasible") << QByteArray("model: min=X1; X1>3; X1<2; end") << 1 << QByteArray() << QByteArray();
        QTest::newRow("unbounded") << QByteArray("model: max=X1; end") << 1 << QByteArray() << QByteArray();
        QTest::newRow("parse error") << QByteArray("model:\nmin=X1;\nX1 ? 3;\nend") << 2 << QByteArray()
                                     << QByteArray("第 3 行第 4 列");
        QTest::newRow("unknown command") << QByteArray("GO FAST\n") << 2 << QByteArray() << QByteArray("第 1 行");
    }

    void engineCommand()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QFETCH(QByteArray, error);

        if (!QFile::exists(EngineProgram()))
            QSKIP("velmora-engine is not built in this build folder");
        TestFolder temp(false);
        const QString path = temp.path(QStringLiteral("model.txt"));
        QVERIFY(WriteBytes(path, file));

        const CommandRun run = RunCommand(path, temp.folder().dir);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.output, output);
        QCOMPARE(run.error.isEmpty(), exitCode == 0);
        QVERIFY2(run.error.contains(error), run.error.constData());

        QCOMPARE(RunCommand(temp.path(QStringLiteral("missing.txt")), temp.folder().dir).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
