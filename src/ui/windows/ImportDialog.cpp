#include "ui/windows/ImportDialog.h"

#include "inventory/ImportJob.h"
#include "inventory/ImportPreviewList.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Say.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The size the preview opens at, where the screen has room; the list takes
// whatever the window grows or shrinks by.
constexpr QSize kDesignSize(960, 560);

// Work shorter than this shows no progress dialog.
constexpr int kProgressDelayMs = 500;

// Rows that will not be imported stand out in red.
class ProblemRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.siblingAtColumn(kPreviewStatus).data().toString() == Say(ImportProblemStatus()))
            option->palette.setColor(QPalette::Text, QColor(0xb7, 0x1c, 0x1c));
    }
};

QProgressDialog* MakeProgress(QWidget* parent, const QString& label, Qt::WindowModality modality)
{
    auto* progress = new QProgressDialog(parent);
    progress->setObjectName(QStringLiteral("dlgProgress"));
    progress->setWindowTitle(ApplicationTitle());
    progress->setLabelText(label);
    progress->setCancelButtonText(ImportDialog::tr("取消"));
    progress->setWindowModality(modality);
    progress->setMinimumDuration(kProgressDelayMs);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setRange(0, 100);
    return progress;
}

}  // namespace

ImportDialog::ImportDialog(const WindowContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("frmImport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("导入煤种"));
    setWindowIcon(Artwork::AppIcon());
    // The inventory waits while its import is previewed; other windows stay usable.
    setWindowModality(Qt::WindowModal);

    lbFile_ = new QLabel(this);
    lbFile_->setObjectName(QStringLiteral("lbFile"));
    lbFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut at the window's edge rather than widening it.
    lbFile_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lbSummary_ = new QLabel(this);
    lbSummary_->setObjectName(QStringLiteral("lbSummary"));
    lbSummary_->setWordWrap(true);
    lbUnknown_ = new QLabel(this);
    lbUnknown_->setObjectName(QStringLiteral("lbUnknown"));
    lbUnknown_->setWordWrap(true);
    lbUnknown_->hide();

    lsvPreview_ = new ReportList(this);
    lsvPreview_->setObjectName(QStringLiteral("lsvPreview"));
    // The file's order is the order the user knows the rows by; choosing
    // update or skip refills the list in it.
    lsvPreview_->setSortOnHeaderClick(false);
    lsvPreview_->setItemDelegate(new ProblemRowDelegate(lsvPreview_));
    // However small the window, a few rows of the file show.
    lsvPreview_->setMinimumHeight(lsvPreview_->fontMetrics().lineSpacing() * 8);

    fraExisting_ = new QGroupBox(tr("库存中已有同名煤种时"), this);
    fraExisting_->setObjectName(QStringLiteral("fraExisting"));
    auto* choices = new QHBoxLayout(fraExisting_);
    const char* captions[] = {QT_TR_NOOP("更新：库存中的煤种改为文件中的数值"),
                              QT_TR_NOOP("跳过：保留库存中的煤种，不导入这些行")};
    for (int i = 0; i < 2; ++i) {
        optExisting_[i] = new QRadioButton(tr(captions[i]), fraExisting_);
        optExisting_[i]->setObjectName(QStringLiteral("optExisting_%1").arg(i));
        choices->addWidget(optExisting_[i]);
        connect(optExisting_[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                optExisting_Click();
        });
    }
    choices->addStretch();
    // Nothing in the inventory is overwritten unless the user asks for it.
    optExisting_[1]->setChecked(true);

    btnImport_ = new QPushButton(tr("导入"), this);
    btnImport_->setObjectName(QStringLiteral("btnImport"));
    btnImport_->setDefault(true);
    btnCancel_ = new QPushButton(tr("取消"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    connect(btnImport_, &QPushButton::clicked, this, &ImportDialog::btnImport_Click);
    connect(btnCancel_, &QPushButton::clicked, this, &ImportDialog::btnCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnImport_);
    buttons->addWidget(btnCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbFile_);
    layout->addWidget(lbSummary_);
    layout->addWidget(lbUnknown_);
    layout->addWidget(lsvPreview_, 1);
    layout->addWidget(fraExisting_);
    layout->addLayout(buttons);

    resize(kDesignSize.expandedTo(minimumSizeHint()));
}

ImportDialog::~ImportDialog()
{
    // The worker goes first (it waits for its thread), then its progress.
    delete job_;
    delete progress_;
}

bool ImportDialog::reading() const
{
    return job_ != nullptr;
}

ExistingNames ImportDialog::existingChoice() const
{
    return optExisting_[0]->isChecked() ? ExistingNames::Update : ExistingNames::Skip;
}

void ImportDialog::readFile(const QString& path)
{
    if (job_ || preview_)
        return;
    path_ = path;
    // The names are looked up here: the database belongs to this thread.
    Result<QHash<QString, int>> names = InventoryNames(context_.folder);
    if (!names) {
        const Failure failure = names.failure();
        QTimer::singleShot(0, this, [this, failure] { readFailed(failure); });
        return;
    }
    progress_ = MakeProgress(parentWidget(), tr("正在读取 %1 ……").arg(QFileInfo(path).fileName()),
                             Qt::WindowModal);
    job_ = new ImportReadJob(path, std::move(*names));
    connect(job_, &ImportReadJob::progressed, progress_, &QProgressDialog::setValue);
    connect(progress_, &QProgressDialog::canceled, job_, &ImportReadJob::cancel);
    connect(job_, &ImportReadJob::finished, this, &ImportDialog::onReadFinished);
    // Starts the half-second clock after which the progress dialog appears.
    progress_->setValue(0);
    job_->start();
}

void ImportDialog::closeProgress()
{
    if (progress_) {
        // Closing a progress dialog also reports a cancel; nobody needs it now.
        progress_->disconnect(this);
        if (job_)
            progress_->disconnect(job_);
        progress_->close();
        progress_->deleteLater();
    }
}

void ImportDialog::onReadFinished()
{
    closeProgress();
    // The job is still inside its own signal: it goes once control is back
    // in the event loop.
    ImportReadJob* job = job_;
    job_ = nullptr;
    job->deleteLater();
    const Result<ImportPreview>& read = job->result();
    if (!read) {
        readFailed(read.failure());
        return;
    }
    preview_ = std::make_unique<ImportPreview>(read.value());
    // What an update would change is read here: the database belongs to this thread.
    if (Status attached = AttachStoredCoals(context_.folder, *preview_); !attached) {
        preview_.reset();
        readFailed(attached.failure());
        return;
    }
    showPreview();
    show();
    raise();
    activateWindow();
    Q_EMIT fileRead(true);
}

void ImportDialog::readFailed(const Failure& failure)
{
    // A reading the user stopped needs no message.
    if (failure.kind != FailureKind::Cancelled)
        Prompt::show(parentWidget(), Say(failure), QString(), Prompt::Icon::Warning);
    Q_EMIT fileRead(false);
    deleteLater();
}

void ImportDialog::showPreview()
{
    const ImportPreview& preview = *preview_;
    lbFile_->setText(tr("文件：%1（表头在第 %2 行）")
                         .arg(QDir::toNativeSeparators(path_), QString::number(preview.headerRow)));
    lbFile_->setToolTip(QDir::toNativeSeparators(path_));
    lbSummary_->setText(Say(ImportSummaryText(preview)));
    const QString unknown = Say(UnknownColumnsText(preview));
    lbUnknown_->setText(unknown);
    lbUnknown_->setVisible(!unknown.isEmpty());
    const int existing = preview.existingCount();
    fraExisting_->setTitle(tr("库存中已有同名煤种时（%1 种）").arg(existing));
    fraExisting_->setEnabled(existing > 0);
    btnImport_->setEnabled(preview.goodCount() > 0);
    lsvPreview_->setListData(ImportPreviewList(preview, existingChoice()));
}

void ImportDialog::optExisting_Click()
{
    // Only the status column changes with the choice.
    if (preview_)
        lsvPreview_->setRows(ImportPreviewList(*preview_, existingChoice()).rows);
}

void ImportDialog::btnImport_Click()
{
    if (!preview_ || preview_->goodCount() == 0)
        return;
    // The rows are written on this thread, which owns the database
    // connection; the progress dialog keeps every other window still meanwhile.
    QPointer<QProgressDialog> progress =
        MakeProgress(this, tr("正在导入煤种……"), Qt::ApplicationModal);
    progress->setValue(0);
    const Result<ImportCounts> counts =
        ImportCoals(context_.folder, *preview_, existingChoice(), context_.now(), [progress](qint64 done, qint64 total) {
            if (!progress)
                return false;
            progress->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 0);
            return !progress->wasCanceled();
        });
    delete progress;
    if (!counts) {
        // Nothing was written; the preview stays for another try.
        Prompt::show(this, Say(counts), QString(),
                     counts.kind() == FailureKind::Cancelled ? Prompt::Icon::Information : Prompt::Icon::Warning);
        return;
    }
    Q_EMIT coalsImported();
    Prompt::show(this, Say(counts->said()), QString(), Prompt::Icon::Information);
    accept();
}

void ImportDialog::btnCancel_Click()
{
    reject();
}
