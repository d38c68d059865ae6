#include "workspace/BlendRun.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "blend/BlendRecord.h"
#include "blend/LinearSolver.h"
#include "blend/SolverCall.h"


#include <limits>

namespace {

const QString kNothingSaved = QStringLiteral("本次配煤没有完成，没有保存任何结果。");

Failure Cancelled()
{
    return Fail(QStringLiteral("配煤已被取消，没有保存任何结果。"), FailureKind::Cancelled);
}

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
    if (input.weighting.on)
        text += QStringLiteral("[按基准加权] ");
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

ModelInput MakeModelInput(const WorkspaceInput& input, const QVector<Mei>& coals)
{
    ModelInput model;
    model.coals = coals;
    model.lower = input.lower;
    model.upper = input.upper;
    model.tonnage = input.tonnage;
    model.shovelMode = input.shovelMode;
    model.weighting = input.weighting;
    for (int row = 0; row < coals.size(); ++row)
        model.mustInclude << input.grid.rows[row].checked;
    return model;
}

Status PrepareRun(WorkspaceInput& input)
{
    CompactRows(input.grid);
    if (Status checked = CheckNamesAndPrices(input.grid); !checked)
        return checked;
    return CheckInput(input);
}

Result<RunSolution> SolveRun(const AppFolder& folder, const WorkspaceInput& input, const RunProgress& progress)
{
    RunSolution run;
    run.coals = BuildCoalList(input.grid);
    run.model = MakeModelInput(input, run.coals);
    run.description = DescribePlan(input);
    run.proportionCount = input.proportionCount;
    run.last = ProportionCount(input.proportionCount);
    const int k = int(run.coals.size());

    Result<ModelFile> modelFile = ModelFile::Create(folder);
    if (!modelFile)
        return Fail(modelFile.message() + QStringLiteral("，") + kNothingSaved);
    const ModelWriter writer(run.model);
    const CoalNumbers numbers(run.coals, input.shovelMode, input.weighting);
    QVector<PlanBlendRow> found;
    for (int n = 2; n <= run.last; ++n) {
        if (progress && !progress(n, run.last))
            return Cancelled();
        if (Status written = modelFile->WriteModelFile(writer, n); !written)
            return Fail(written.message() + QStringLiteral("，") + kNothingSaved);
        const auto result = SolveModel(modelFile->Path(), k);
        if (!result)
            return Fail(result.message() + QStringLiteral("\n") + kNothingSaved);
        if (!result->has_value())
            continue;
        ++run.solutions;
        const QVector<double>& values = **result;
        PlanBlendRow row;
        for (int j = 0; j < k && j < kProportionColumnCount; ++j)
            row.parts[j] = values[j];
        row.blend = ComputeBlend(numbers, values);
        found << row;
    }
    run.rows = DistinctPriceRows(found, AllPricesEqual(input.grid));
    return run;
}

PlanTargets RunTargets(const RunSolution& solution)
{
    PlanTargets targets;
    targets.lower = solution.model.lower;
    targets.upper = solution.model.upper;
    targets.tonnage = solution.model.tonnage;
    targets.proportionCount = solution.proportionCount;
    targets.shovelMode = solution.model.shovelMode;
    targets.mustInclude = solution.model.mustInclude;
    targets.weighting = solution.model.weighting;
    return targets;
}

Result<int> StoreRun(const AppFolder& folder, const RunSolution& solution)
{
    const Result<int> stored =
        StorePlan(folder, NewPlan{solution.description, solution.coals, solution.rows, RunTargets(solution)});
    if (!stored)
        return Fail(QStringLiteral("保存配煤方案时数据库出错，") + kNothingSaved + QLatin1Char('\n') + stored.message());
    return stored;
}

BlendJob::BlendJob(const AppFolder& folder, const WorkspaceInput& prepared, QObject* parent)
    : QObject(parent), folder_(folder), input_(prepared), outcome_(Fail(QStringLiteral("配煤还没有结束")))
{
}

BlendJob::~BlendJob() = default;

void BlendJob::start()
{
    worker_.start(
        this,
        [this] {
            Result<RunSolution> solved = SolveRun(folder_, input_, [this](int total, int last) {
                if (worker_.cancelled())
                    return false;
                Q_EMIT progressed(total, last);
                return true;
            });
            ReleaseSolverForThread();
            return solved;
        },
        [this] { onSolved(); });
}

void BlendJob::onSolved()
{
    Result<RunSolution>& solved = worker_.value();
    // A cancel that came after the last total was solved but before anything
    // was stored still holds: the user asked for nothing to be kept.
    if (worker_.cancelled()) {
        outcome_ = Cancelled();
    } else if (!solved.ok()) {
        outcome_ = solved.failure();
    } else {
        RunOutcome outcome;
        outcome.solution = std::move(solved.value());
        if (outcome.solution.solutions > 0) {
            const Result<int> planId = StoreRun(folder_, outcome.solution);
            if (planId) {
                outcome.kind = RunOutcome::Kind::Stored;
                outcome.planId = *planId;
            }
            outcome_ = planId ? Result<RunOutcome>(std::move(outcome)) : Result<RunOutcome>(planId.failure());
        } else {
            outcome_ = std::move(outcome);
        }
    }
    Q_EMIT finished();
}
