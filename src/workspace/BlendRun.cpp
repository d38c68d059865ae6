#include "workspace/BlendRun.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "blend/BlendRecord.h"
#include "blend/LinearSolver.h"
#include "blend/SolverCall.h"


#include <limits>

namespace {

const char* const kNothingSaved = QT_TRANSLATE_NOOP("CoreText", "本次配煤没有完成，没有保存任何结果。");

Failure Cancelled()
{
    return Fail(CoreText::tr("配煤已被取消，没有保存任何结果。"), FailureKind::Cancelled);
}

// What stopped the run, then that nothing was saved.
Failure NothingSaved(const Text& why, bool onNewLine = false)
{
    return Fail(onNewLine ? Text::Source("%1\n%2", {why, CoreText::tr(kNothingSaved)})
                          : CoreText::tr("%1，%2", why, CoreText::tr(kNothingSaved)));
}

Text DescribeRangeText(const QString& lower, const QString& upper, const Text& label)
{
    if (!lower.isEmpty() && !upper.isEmpty())
        return Text::Source("%1<=%2<=%3 ", {lower, label, upper});
    if (!lower.isEmpty())
        return Text::Source("%1=>%2 ", {label, lower});
    if (!upper.isEmpty())
        return Text::Source("%1<=%2 ", {label, upper});
    return QString();
}

// Each piece follows the one before it.
Text Joined(const Text& text, const Text& piece)
{
    return Text::Source("%1%2", {text, piece});
}

}  // namespace

QString DescribeRange(const QString& lower, const QString& upper, const QString& label)
{
    return DescribeRangeText(lower, upper, label).chinese();
}

QString DescribePlan(const WorkspaceInput& input)
{
    Text text = QString();
    if (input.shovelMode)
        text = CoreText::tr("[铲数配比] ");
    if (input.weighting.on)
        text = Joined(text, CoreText::tr("[按基准加权] "));
    for (int i = 0; i < kIndexCount; ++i)
        text = Joined(text, DescribeRangeText(input.lower[i], input.upper[i],
                                              Text::Source(QualityIndices()[i].describeLabel)));
    if (!input.tonnage.isEmpty())
        text = Joined(text, CoreText::tr(" 配%1吨", input.tonnage));
    const int last = LastCoalRow(input.grid);
    for (int row = 0; row <= last; ++row) {
        const GridRow& r = input.grid.rows[row];
        if (r.checked)
            text = Joined(text, CoreText::tr(" %1必选", r.name()));
    }
    // The title is kept with the plan: written in the language of the run.
    return text.words();
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
        return NothingSaved(modelFile.said());
    const ModelWriter writer(run.model);
    const CoalNumbers numbers(run.coals, input.shovelMode, input.weighting);
    QVector<PlanBlendRow> found;
    for (int n = 2; n <= run.last; ++n) {
        if (progress && !progress(n, run.last))
            return Cancelled();
        if (Status written = modelFile->WriteModelFile(writer, n); !written)
            return NothingSaved(written.said());
        const auto result = SolveModel(modelFile->Path(), k);
        if (!result)
            return NothingSaved(result.said(), true);
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
        return Fail(CoreText::tr("保存配煤方案时数据库出错，%1\n%2", CoreText::tr(kNothingSaved), stored.said()));
    return stored;
}

BlendJob::BlendJob(const AppFolder& folder, const WorkspaceInput& prepared, QObject* parent)
    : QObject(parent), folder_(folder), input_(prepared), outcome_(Fail(CoreText::tr("配煤还没有结束")))
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
