#include "ui/windows/DiagnoseDialog.h"

#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Say.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A progress dialog appears only for a diagnosis that takes longer than this.
constexpr int kProgressDelayMs = 500;
// The list keeps room for this many rows however small the dialog gets.
constexpr int kMinimumRows = 4;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& style = QString())
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!style.isEmpty())
        label->setStyleSheet(style);
    return label;
}

void ShowLines(QLabel* label, const std::vector<Text>& lines)
{
    QStringList said;
    for (const Text& line : lines)
        said << Say(line);
    label->setText(said.join(QLatin1Char('\n')));
    label->setVisible(!said.isEmpty());
}

}  // namespace

DiagnoseDialog::DiagnoseDialog(const ModelInput& model, int total, QWidget* parent)
    : QDialog(parent), model_(model), total_(total)
{
    setObjectName(QStringLiteral("frmDiagnose"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("没有配比方案"));
    // The suggestion is for the bounds the run used: the workspace waits.
    setWindowModality(Qt::WindowModal);

    lbSummary_ = MakeLabel(this, "lbSummary");

    fraReason_ = new QGroupBox(tr("原因"), this);
    fraReason_->setObjectName(QStringLiteral("fraReason"));
    lbConflict_ = MakeLabel(fraReason_, "lbConflict", QStringLiteral("color: #b00000;"));
    lbStock_ = MakeLabel(fraReason_, "lbStock", QStringLiteral("color: #b00000;"));
    lbRules_ = MakeLabel(fraReason_, "lbRules");
    auto* reasonLayout = new QVBoxLayout(fraReason_);
    reasonLayout->addWidget(lbConflict_);
    reasonLayout->addWidget(lbStock_);
    reasonLayout->addWidget(lbRules_);

    lbSuggestion_ = MakeLabel(this, "lbSuggestion", QStringLiteral("color: #1e6b2e; font-weight: bold;"));
    lbAlternative_ = MakeLabel(this, "lbAlternative", QStringLiteral("color: #1e6b2e;"));

    lsvReason_ = new ReportList(this);
    lsvReason_->setObjectName(QStringLiteral("lsvReason"));
    lsvReason_->setSortOnHeaderClick(false);
    lsvReason_->setListData(ReasonColumns());
    // Seven short columns share the width the dialog gives them.
    lsvReason_->header()->setSectionResizeMode(QHeaderView::Stretch);

    lbNote_ = MakeLabel(this, "lbNote", QStringLiteral("color: #555555;"));
    lbNote_->setText(tr("建议值使各指标改动之和最小，每个指标的改动按它在所选煤中最高值与最低值之差折算；"
                        "可达最低、可达最高是按现有的煤、比例数、必选煤和库存所能配到的范围。"));

    btnApply_ = new QPushButton(tr("按建议修改指标范围"), this);
    btnApply_->setObjectName(QStringLiteral("btnApply"));
    btnApply_->setEnabled(false);
    btnClose_ = new QPushButton(tr("关闭"), this);
    btnClose_->setObjectName(QStringLiteral("btnClose"));
    btnClose_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnApply_);
    buttons->addWidget(btnClose_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbSummary_);
    layout->addWidget(fraReason_);
    layout->addWidget(lbSuggestion_);
    layout->addWidget(lbAlternative_);
    layout->addWidget(lsvReason_, 1);
    layout->addWidget(lbNote_);
    layout->addLayout(buttons);

    connect(btnApply_, &QPushButton::clicked, this, &DiagnoseDialog::btnApply_Click);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::close);

    resize(760, 420);

    showReport(PendingNoPlanReport(model_));

    if (total_ < 2) {
        // Nothing was tried: there is nothing to work out.
        onJobFinished();
        return;
    }
    job_ = std::make_unique<DiagnoseJob>(model_, total_);
    progress_ = new QProgressDialog(this);
    progress_->setObjectName(QStringLiteral("dlgDiagnoseProgress"));
    progress_->setWindowTitle(ApplicationTitle());
    progress_->setLabelText(Say(DiagnosingText()));
    progress_->setCancelButtonText(tr("取消"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(kProgressDelayMs);
    progress_->setRange(0, 0);
    // Shown after the delay even while one long solve reports nothing.
    QTimer::singleShot(kProgressDelayMs, progress_, [this] {
        if (progress_ && !finished_ && !progress_->wasCanceled())
            progress_->show();
    });
    connect(progress_, &QProgressDialog::canceled, job_.get(), [job = job_.get()] { job->cancel(); });
    connect(job_.get(), &DiagnoseJob::progressed, this, &DiagnoseDialog::onProgress);
    connect(job_.get(), &DiagnoseJob::finished, this, &DiagnoseDialog::onJobFinished);
    job_->start();
}

DiagnoseDialog::~DiagnoseDialog() = default;

void DiagnoseDialog::onProgress(int done, int steps)
{
    if (!progress_)
        return;
    if (progress_->maximum() != steps)
        progress_->setRange(0, steps);
    progress_->setValue(done);
}

void DiagnoseDialog::onJobFinished()
{
    if (progress_) {
        progress_->close();
        progress_->deleteLater();
    }
    report_ = job_ ? MakeNoPlanReport(model_, total_, job_->outcome())
                   : MakeNoPlanReport(model_, total_, Fail(QString()));
    showReport(report_);
    finished_ = true;
    Q_EMIT diagnosisFinished();
}

void DiagnoseDialog::showReport(const NoPlanReport& report)
{
    lbSummary_->setText(Say(report.summary));
    ShowLines(lbConflict_, report.conflictLines);
    ShowLines(lbStock_, report.stockLines);
    ShowLines(lbRules_, report.rulesLine.isEmpty() ? std::vector<Text>() : std::vector<Text>{report.rulesLine});
    fraReason_->setVisible(!report.conflictLines.empty() || !report.stockLines.empty()
                           || !report.rulesLine.isEmpty());
    ShowLines(lbSuggestion_, report.suggestionLine.isEmpty() ? std::vector<Text>() : std::vector<Text>{report.suggestionLine});
    ShowLines(lbAlternative_, report.alternativeLines);
    lsvReason_->setRows(report.reasons.rows);
    fitRows();
    // How the suggestion was chosen, only beside one.
    lbNote_->setVisible(report.canApply);
    btnApply_->setEnabled(report.canApply);
    btnApply_->setDefault(report.canApply);
    btnClose_->setDefault(!report.canApply);
}

void DiagnoseDialog::fitRows()
{
    // Every row in sight (as far as the screen allows): the height the
    // layout asks for with room for all rows; a few rows at least when the
    // user makes the dialog smaller.
    const int rows = lsvReason_->rowCount();
    const int rowHeight = rows > 0 ? lsvReason_->sizeHintForRow(0) : lsvReason_->fontMetrics().height() + 4;
    const int chrome = lsvReason_->header()->sizeHint().height() + 2 * lsvReason_->frameWidth() + 2;
    lsvReason_->setMinimumHeight(chrome + qMax(rows, kMinimumRows) * rowHeight);
    layout()->invalidate();
    const int fit = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width())
                                                   : layout()->totalMinimumSize().height();
    lsvReason_->setMinimumHeight(chrome + kMinimumRows * rowHeight);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().height() - 60 : fit;
    if (fit > height())
        resize(width(), qMin(fit, room));
}

void DiagnoseDialog::btnApply_Click()
{
    if (!report_.canApply)
        return;
    Q_EMIT boundsChosen(report_.edits);
    close();
}
