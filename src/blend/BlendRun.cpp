#include "blend/BlendRun.h"

#include "blend/BlendRecord.h"
#include "blend/SolverCall.h"
#include "data/Dbconnection.h"
#include "history/PlanHistory.h"
#include "workspace/CommonFunction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace {

const QString kNothingSaved = QStringLiteral("本次配煤没有完成，没有保存任何结果。");

// A run that ends without a plan: whatever it solved was rolled back.
RunOutcome& Abandon(RunOutcome& outcome, RunOutcome::Kind kind, const QString& message)
{
    outcome.kind = kind;
    outcome.message = message;
    outcome.planId = 0;
    outcome.stored = 0;
    return outcome;
}

// Removes the model file however the run ends; it only lives during a run.
class ModelFileGuard {
public:
    explicit ModelFileGuard(QString path) : path_(std::move(path)) {}
    ~ModelFileGuard()
    {
        if (QFileInfo(path_).isFile())
            QFile::remove(path_);
    }

private:
    QString path_;
};

}  // namespace

QString DescribeRange(const QString& lower, const QString& upper, const QString& label)
{
    const QString le = QStringLiteral("<=");
    if (!lower.isEmpty() && !upper.isEmpty())
        return lower + le + label + le + upper + QLatin1Char(' ');
    if (!lower.isEmpty())
        return label + QStringLiteral("=>") + lower + QLatin1Char(' ');
    if (!upper.isEmpty())
        return label + le + upper + QLatin1Char(' ');
    return QString();
}

QString DescribePlan(const WorkspaceInput& input)
{
    QString text;
    if (input.shovelMode)
        text = QStringLiteral("[铲数配比] ");
    for (int i = 0; i < kIndexCount; ++i)
        text += DescribeRange(input.lower[i], input.upper[i], QString::fromUtf8(QualityIndices()[i].describeLabel));
    if (!input.tonnage.isEmpty())
        text += QStringLiteral(" 配") + input.tonnage + QStringLiteral("吨");
    const int last = LastCoalRow(input.grid);
    for (int row = 0; row <= last; ++row) {
        const GridRow& r = input.grid.rows[row];
        if (r.checked)
            text += QLatin1Char(' ') + r.name() + QStringLiteral("必选");
    }
    return text;
}

int ProportionCount(const QString& text)
{
    const auto number = ToNumber(text);
    if (!number)
        return 100;
    // Anything outside the 16-bit range was either refused by the checks (above
    // 1000) or tries no total at all (below 2).
    const double rounded = RoundHalfEven(*number);
    if (rounded > std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    if (rounded < std::numeric_limits<qint16>::min())
        return std::numeric_limits<qint16>::min();
    return int(rounded);
}

ModelInput MakeModelInput(const WorkspaceInput& input, const QVector<Mei>& coals)
{
    ModelInput model;
    model.coals = coals;
    model.lower = input.lower;
    model.upper = input.upper;
    model.tonnage = input.tonnage;
    model.shovelMode = input.shovelMode;
    for (int row = 0; row < coals.size(); ++row)
        model.mustInclude << input.grid.rows[row].checked;
    return model;
}

QString PrepareRun(WorkspaceInput& input)
{
    CompactRows(input.grid);
    QString message = CheckNamesAndPrices(input.grid);
    if (message.isEmpty())
        message = CheckInput(input);
    return message;
}

RunOutcome ExecuteRun(const AppFolder& folder, const WorkspaceInput& input, const RunProgress& progress)
{
    RunOutcome outcome;
    const bool allPricesEqual = AllPricesEqual(input.grid);
    outcome.coals = BuildCoalList(input.grid);
    const ModelInput model = MakeModelInput(input, outcome.coals);
    const int k = int(outcome.coals.size());
    const QString description = DescribePlan(input);
    const int last = ProportionCount(input.proportionCount);

    ModelFileGuard modelFile(folder.ModelPath());
    try {
        ConnectionScope connection(folder);
        Transaction transaction;
        const int planId = SavePlanHeader(folder, description);
        for (int n = 2; n <= last; ++n) {
            if (progress && !progress(n, last))
                return Abandon(outcome, RunOutcome::Kind::Cancelled, QStringLiteral("配煤已被取消，没有保存任何结果。"));
            const QString path = WriteModelFile(folder, model, n);
            if (path.isEmpty()) {
                return Abandon(outcome, RunOutcome::Kind::Failed,
                               QStringLiteral("无法写入模型文件 %1，").arg(QDir::toNativeSeparators(folder.ModelPath()))
                                   + kNothingSaved);
            }
            const auto result = SolveModel(path, k);
            if (!result)
                continue;
            ++outcome.solutions;
            const Mei blend = ComputeBlend(outcome.coals, *result, input.shovelMode);
            if (SavePlanBlend(folder, planId, result->mid(0, k), blend, allPricesEqual))
                ++outcome.stored;
        }
        // Rolling back removes the header as well.
        if (outcome.solutions == 0)
            return Abandon(outcome, RunOutcome::Kind::NoPlan, QStringLiteral("没有配比方案"));
        SavePlanCoals(folder, planId, outcome.coals);
        transaction.commit();
        outcome.kind = RunOutcome::Kind::Stored;
        outcome.planId = planId;
    } catch (const DbError& error) {
        Abandon(outcome, RunOutcome::Kind::Failed,
                QStringLiteral("保存配煤方案时数据库出错，") + kNothingSaved + QLatin1Char('\n') + error.text);
    }
    return outcome;
}

RunOutcome RunBlending(const AppFolder& folder, WorkspaceInput& input, const RunProgress& progress)
{
    const QString message = PrepareRun(input);
    if (!message.isEmpty()) {
        RunOutcome outcome;
        outcome.kind = RunOutcome::Kind::Rejected;
        outcome.message = message;
        return outcome;
    }
    return ExecuteRun(folder, input, progress);
}
