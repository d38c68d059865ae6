#include "ui/windows/WorkspaceWindow.h"

#include "base/QualityIndex.h"
#include "base/Settings.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/CoalGridWidget.h"
#include "ui/widgets/IndexCaptions.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The workspace's size when it first opens, where the screen has room.
constexpr int kDesignWidth = 1160;
constexpr int kDesignHeight = 574;

// The banner keeps its size at any window size.
constexpr QSize kBannerSize(500, 45);

// How long the workspace waits after a change before it is written down.
constexpr int kKeepDelayMs = 1500;

// Left-to-right order of the target panel's columns (indices of the quality
// index table): the plastic layer stands after the ash fusion point there.
constexpr std::array<int, kIndexCount> kTargetOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 10, 14};

// A box for a number of up to five digits and two decimals, as wide as it
// needs and sharing any extra width.
void SizeNumberBox(QLineEdit* box, const QString& widest)
{
    box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(widest) + 12);
}

void SetBoxBackground(QLineEdit* box, bool enabled)
{
    const QPalette standard = QApplication::palette();
    QPalette palette = box->palette();
    const QColor colour = standard.color(enabled ? QPalette::Base : QPalette::Button);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    box->setPalette(palette);
    box->setEnabled(enabled);
}

}  // namespace

QSize WorkspaceWindow::designClientSize() { return QSize(kDesignWidth, kDesignHeight); }

WorkspaceWindow::WorkspaceWindow(const WindowContext& context, bool shovelMode, QWidget* parent)
    : QMainWindow(parent), context_(context), shovelMode_(shovelMode)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(Artwork::AppIcon());

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("workspace"));
    setCentralWidget(client_);
    auto* layout = new QVBoxLayout(client_);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    buildToolbar(client_, top);
    layout->addLayout(top);
    buildGridFrame(client_, layout);
    buildTargetFrame(client_, layout);
    buildOptionsFrame(client_, layout);
    layout->addStretch(1);

    Form_Load();
}

QSize WorkspaceWindow::sizeHint() const
{
    // The workspace opens at its design size where its layout asks for less.
    const QSize client = client_->sizeHint();
    return QMainWindow::sizeHint() + (client.expandedTo(designClientSize()) - client);
}

void WorkspaceWindow::buildToolbar(QWidget* parent, QBoxLayout* layout)
{
    tbrMenu_ = new QToolBar(parent);
    tbrMenu_->setObjectName(QStringLiteral("tbrMenu"));
    tbrMenu_->setMovable(false);
    tbrMenu_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbrMenu_->setIconSize(QSize(24, 24));

    // Button 1 is an empty placeholder; the others as the user knows them.
    auto* placeholder = tbrMenu_->addAction(QString());
    placeholder->setObjectName(QStringLiteral("tbrMenu_1"));
    placeholder->setVisible(false);
    struct Button {
        const char* caption;
        const char* tip;
        QString glyph;
        QColor colour;
    };
    // An icon's glyph is a word as well: each language has its own.
    const Button buttons[] = {
        {QT_TR_NOOP("选煤配比"), QT_TR_NOOP("从仓库中选择煤种导入下面的列表"), tr("选"), QColor(40, 110, 170)},
        {QT_TR_NOOP("清空列表"), QT_TR_NOOP("将下面列表内的数据全部清空"), tr("清"), QColor(170, 90, 40)},
        {QT_TR_NOOP("开始配煤"), QT_TR_NOOP("点击配煤"), tr("配"), QColor(40, 140, 70)},
    };
    for (int i = 0; i < 3; ++i) {
        const int index = i + 2;
        auto* action =
            tbrMenu_->addAction(Artwork::ToolIcon(buttons[i].glyph, buttons[i].colour), tr(buttons[i].caption));
        action->setObjectName(QStringLiteral("tbrMenu_%1").arg(index));
        action->setToolTip(tr(buttons[i].tip));
        connect(action, &QAction::triggered, this, [this, index] { tbrMenu_ButtonClick(index); });
    }
    layout->addWidget(tbrMenu_);
    layout->addStretch(1);

    picBanner_ = new QLabel(parent);
    picBanner_->setObjectName(QStringLiteral("picBanner"));
    picBanner_->setPixmap(Artwork::Banner(kBannerSize));
    picBanner_->setScaledContents(true);
    // The banner gives way before anything the user works with.
    picBanner_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    picBanner_->setMaximumSize(kBannerSize);
    picBanner_->setFixedHeight(kBannerSize.height());
    layout->addWidget(picBanner_, 1);
}

void WorkspaceWindow::buildGridFrame(QWidget* parent, QBoxLayout* layout)
{
    auto* fraTop = new QFrame(parent);
    fraTop->setObjectName(QStringLiteral("fraTop"));
    fraTop->setFrameShape(QFrame::StyledPanel);
    auto* frame = new QVBoxLayout(fraTop);
    frame->setContentsMargins(6, 4, 6, 4);
    frame->setSpacing(4);

    chkAll_ = new QCheckBox(tr("全选 煤前面√则表示此种煤必选"), fraTop);
    chkAll_->setObjectName(QStringLiteral("chkAll"));
    connect(chkAll_, &QCheckBox::toggled, this, [this] { chkAll_Click(); });
    frame->addWidget(chkAll_);

    grid_ = new CoalGridWidget(CoalGridWidget::Options{}, fraTop);
    grid_->setObjectName(QStringLiteral("grdCoal"));
    frame->addWidget(grid_);

    auto* label1 = new QLabel(
        tr("注意：用精煤配煤，不要填写回收率。用原煤配煤，所有的指标要填写成试验后的指标，回收率也为经过试验后得到精煤的回收率"),
        fraTop);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setStyleSheet(QStringLiteral("color: #b00000;"));
    label1->setWordWrap(true);
    frame->addWidget(label1);

    auto* label2 = new QLabel(
        tr("说明：带*号的煤名称和价格必须填写；百分数不要输入百分号，例如全水12.3%请填写成12.3"),
        fraTop);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setWordWrap(true);
    frame->addWidget(label2);
    layout->addWidget(fraTop);
}

void WorkspaceWindow::buildTargetFrame(QWidget* parent, QBoxLayout* layout)
{
    auto* fraMid = new QGroupBox(tr("指标范围"), parent);
    fraMid->setObjectName(QStringLiteral("fraMid"));
    auto* grid = new QGridLayout(fraMid);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);

    auto* lbMax = new QLabel(tr("最大值"), fraMid);
    lbMax->setObjectName(QStringLiteral("lbMax"));
    grid->addWidget(lbMax, 1, 0);
    auto* lbMin = new QLabel(tr("最小值"), fraMid);
    lbMin->setObjectName(QStringLiteral("lbMin"));
    grid->addWidget(lbMin, 2, 0);

    for (int column = 0; column < kIndexCount; ++column) {
        const int i = kTargetOrder[column];
        const IndexView& index = IndexViews()[i];
        const QString box = QLatin1String(index.boundBox);
        auto* caption = new QLabel(IndexCaption(index.targetCaption), fraMid);
        caption->setObjectName(QStringLiteral("lbRange_%1").arg(column));
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 0, column + 1);
        maxBoxes_[i] = new QLineEdit(fraMid);
        maxBoxes_[i]->setObjectName(box + QStringLiteral("Max"));
        SizeNumberBox(maxBoxes_[i], QStringLiteral("5800.00"));
        grid->addWidget(maxBoxes_[i], 1, column + 1);
        minBoxes_[i] = new QLineEdit(fraMid);
        minBoxes_[i]->setObjectName(box + QStringLiteral("Min"));
        SizeNumberBox(minBoxes_[i], QStringLiteral("5800.00"));
        grid->addWidget(minBoxes_[i], 2, column + 1);
        grid->setColumnStretch(column + 1, 1);
    }
    // Tab runs along the upper row, then the lower one; Enter in any box runs.
    QWidget* previous = nullptr;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < kIndexCount; ++column) {
            QLineEdit* box = (row == 0 ? maxBoxes_ : minBoxes_)[kTargetOrder[column]];
            connect(box, &QLineEdit::returnPressed, this, [this] { RunBlending(); });
            if (previous)
                setTabOrder(previous, box);
            previous = box;
        }
    }
    layout->addWidget(fraMid);
}

void WorkspaceWindow::buildOptionsFrame(QWidget* parent, QBoxLayout* layout)
{
    auto* fraBottom = new QGroupBox(tr("其他选项(可不填，操作不熟练者慎用)"), parent);
    fraBottom->setObjectName(QStringLiteral("fraBottom"));
    auto* row = new QHBoxLayout(fraBottom);
    row->setContentsMargins(6, 4, 6, 4);

    auto label = [&](const char* name, const char* text) {
        auto* l = new QLabel(tr(text), fraBottom);
        l->setObjectName(QLatin1String(name));
        row->addWidget(l);
    };
    label("lbZhongliang", QT_TR_NOOP("必须根据库存配"));
    txtZhongliang_ = new QLineEdit(fraBottom);
    txtZhongliang_->setObjectName(QStringLiteral("txtZhongliang"));
    txtZhongliang_->setFixedWidth(txtZhongliang_->fontMetrics().horizontalAdvance(QStringLiteral("100000.00")) + 12);
    row->addWidget(txtZhongliang_);
    label("lbDun", QT_TR_NOOP("吨"));
    row->addSpacing(16);
    label("lbChanshu", QT_TR_NOOP("比例数"));
    txtChanshu_ = new QLineEdit(fraBottom);
    txtChanshu_->setObjectName(QStringLiteral("txtChanshu"));
    txtChanshu_->setFixedWidth(txtChanshu_->fontMetrics().horizontalAdvance(QStringLiteral("10000")) + 12);
    row->addWidget(txtChanshu_);
    row->addSpacing(16);
    for (QLineEdit* box : {txtZhongliang_, txtChanshu_})
        connect(box, &QLineEdit::returnPressed, this, [this] { RunBlending(); });

    chkJingque_ = new QCheckBox(tr("精确控制"), fraBottom);
    chkJingque_->setObjectName(QStringLiteral("chkJingque"));
    connect(chkJingque_, &QCheckBox::toggled, this, [this] { chkJingque_Click(); });
    row->addWidget(chkJingque_);

    chkJizhun_ = new QCheckBox(tr("按基准加权"), fraBottom);
    chkJizhun_->setObjectName(QStringLiteral("chkJizhun"));
    chkJizhun_->setToolTip(tr("各指标按其基准（收到基、空干基、干基、干燥无灰基）的煤量加权平均，"
                                          "而不是按装入的吨数；各指标的基准在“系统配置”中设定"));
    connect(chkJizhun_, &QCheckBox::toggled, this, [this] { chkJizhun_Click(); });
    row->addWidget(chkJizhun_);
    row->addSpacing(16);

    Command1_ = new QPushButton(tr("计算配煤配方"), fraBottom);
    Command1_->setObjectName(QStringLiteral("Command1"));
    // Enter on the focused button runs, as a click does.
    Command1_->setAutoDefault(true);
    Command1_->setMinimumHeight(Command1_->sizeHint().height() + 8);
    connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    row->addWidget(Command1_);
    row->addStretch(1);

    // Target sets: a name typed or chosen, saved and deleted beside it.
    auto* lbMuban = new QLabel(tr("指标方案"), fraBottom);
    lbMuban->setObjectName(QStringLiteral("lbMuban"));
    row->addWidget(lbMuban);
    cboMuban_ = new QComboBox(fraBottom);
    cboMuban_->setObjectName(QStringLiteral("cboMuban"));
    cboMuban_->setEditable(true);
    cboMuban_->setInsertPolicy(QComboBox::NoInsert);
    cboMuban_->setMaxVisibleItems(20);
    cboMuban_->setToolTip(tr("选择一个指标方案，填入指标范围、比例数、吨数和按基准加权；"
                             "或填写名称后点“保存指标”保存当前的这些设置"));
    cboMuban_->setMinimumWidth(cboMuban_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 12);
    connect(cboMuban_, &QComboBox::activated, this, &WorkspaceWindow::cboMuban_Click);
    row->addWidget(cboMuban_, 1);
    btnSaveMuban_ = new QPushButton(tr("保存指标"), fraBottom);
    btnSaveMuban_->setObjectName(QStringLiteral("btnSaveMuban"));
    connect(btnSaveMuban_, &QPushButton::clicked, this, &WorkspaceWindow::btnSaveMuban_Click);
    row->addWidget(btnSaveMuban_);
    btnDelMuban_ = new QPushButton(tr("删除指标"), fraBottom);
    btnDelMuban_->setObjectName(QStringLiteral("btnDelMuban"));
    connect(btnDelMuban_, &QPushButton::clicked, this, &WorkspaceWindow::btnDelMuban_Click);
    row->addWidget(btnDelMuban_);
    layout->addWidget(fraBottom);
}

void WorkspaceWindow::Form_Load()
{
    setWindowTitle(tr("Velmora配煤软件5.0"));
    chkJingque_Click();
    loadTargetSets();
    if (const std::optional<WorkspaceState> kept = LoadWorkspaceState(context_.folder))
        restoreWorkspace(*kept);
    watchForChanges();
}

void WorkspaceWindow::watchForChanges()
{
    keepTimer_ = new QTimer(this);
    keepTimer_->setSingleShot(true);
    keepTimer_->setInterval(kKeepDelayMs);
    connect(keepTimer_, &QTimer::timeout, this, [this] {
        // Written again at the next change or on closing: a failure here
        // is not worth a box in the middle of typing.
        (void)SaveWorkspaceState(context_.folder, workspaceState());
    });
    const auto changed = [this] {
        if (!restoring_)
            keepTimer_->start();
    };
    for (QLineEdit* box : client_->findChildren<QLineEdit*>())
        connect(box, &QLineEdit::textChanged, this, changed);
    for (QCheckBox* box : client_->findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, changed);
}

void WorkspaceWindow::closeEvent(QCloseEvent* event)
{
    keepWorkspace();
    QMainWindow::closeEvent(event);
}

WorkspaceState WorkspaceWindow::workspaceState() const
{
    WorkspaceState state;
    state.grid = grid_->grid();
    for (int i = 0; i < kIndexCount; ++i) {
        state.lower[i] = minBoxes_[i]->text();
        state.upper[i] = maxBoxes_[i]->text();
    }
    state.tonnage = txtZhongliang_->text();
    state.proportionCount = txtChanshu_->text();
    state.precise = chkJingque_->isChecked();
    state.selectAll = chkAll_->isChecked();
    state.targetSet = cboMuban_->currentText();
    return state;
}

void WorkspaceWindow::keepWorkspace()
{
    if (keepTimer_)
        keepTimer_->stop();
    if (Status kept = SaveWorkspaceState(context_.folder, workspaceState()); !kept)
        Prompt::show(this, tr("无法保存工作区，下次启动时不能恢复：") + Say(kept), QString(), Prompt::Icon::Warning);
}

void WorkspaceWindow::restoreWorkspace(const WorkspaceState& state)
{
    restoring_ = true;
    grid_->setGrid(state.grid);
    for (int i = 0; i < kIndexCount; ++i) {
        minBoxes_[i]->setText(state.lower[i]);
        maxBoxes_[i]->setText(state.upper[i]);
    }
    txtZhongliang_->setText(state.tonnage);
    txtChanshu_->setText(state.proportionCount);
    {
        // The rows keep their own marks: select-all only shows how it was left.
        const QSignalBlocker quiet(chkAll_);
        chkAll_->setChecked(state.selectAll);
    }
    chkJingque_->setChecked(state.precise);
    chkJingque_Click();
    cboMuban_->setCurrentIndex(cboMuban_->findText(state.targetSet));
    cboMuban_->setEditText(state.targetSet);
    restoring_ = false;
}

void WorkspaceWindow::loadTargetSets()
{
    const QString typed = cboMuban_->currentText();
    const Result<QVector<TargetSet>> sets = LoadTargetSets(context_.folder);
    // Without the database the workspace still works; the sets come back
    // with the next save or delete, which say what is wrong.
    targetSets_ = sets ? *sets : QVector<TargetSet>();
    const QSignalBlocker quiet(cboMuban_);
    cboMuban_->clear();
    for (const TargetSet& set : std::as_const(targetSets_))
        cboMuban_->addItem(set.name);
    cboMuban_->setCurrentIndex(cboMuban_->findText(typed));
    cboMuban_->setEditText(typed);
}

void WorkspaceWindow::applyTargetSet(const TargetSet& set)
{
    for (int i = 0; i < kIndexCount; ++i) {
        minBoxes_[i]->setText(set.lower[i]);
        maxBoxes_[i]->setText(set.upper[i]);
    }
    txtZhongliang_->setText(set.tonnage);
    txtChanshu_->setText(set.proportionCount);
    // Ticking the box keeps the choice in config.ini, as a click does.
    chkJizhun_->setChecked(set.basisWeighting);
}

void WorkspaceWindow::cboMuban_Click(int index)
{
    if (index < 0 || index >= targetSets_.size())
        return;
    applyTargetSet(targetSets_[index]);
}

void WorkspaceWindow::btnSaveMuban_Click()
{
    TargetSet set;
    set.name = cboMuban_->currentText().trimmed();
    for (int i = 0; i < kIndexCount; ++i) {
        set.lower[i] = minBoxes_[i]->text();
        set.upper[i] = maxBoxes_[i]->text();
    }
    set.tonnage = txtZhongliang_->text();
    set.proportionCount = txtChanshu_->text();
    set.basisWeighting = chkJizhun_->isChecked();

    Result<TargetSetSave> saved = SaveTargetSet(context_.folder, set, false);
    if (saved && *saved == TargetSetSave::Exists) {
        if (Prompt::show(this, tr("指标方案“%1”已存在，要用当前的指标替换它吗？").arg(set.name), QString(),
                         Prompt::Icon::Question, QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
            return;
        saved = SaveTargetSet(context_.folder, set, true);
    }
    if (!saved) {
        Prompt::show(this, Say(saved), QString(),
                     saved.kind() == FailureKind::Invalid ? Prompt::Icon::None : Prompt::Icon::Critical);
        return;
    }
    cboMuban_->setEditText(set.name.normalized(QString::NormalizationForm_C));
    loadTargetSets();
    Prompt::show(this, tr("指标方案“%1”已保存").arg(cboMuban_->currentText()), QString(), Prompt::Icon::Information);
}

void WorkspaceWindow::btnDelMuban_Click()
{
    const QString name = cboMuban_->currentText().trimmed();
    if (name.isEmpty()) {
        Prompt::message(this, tr("请先在“指标方案”中选择要删除的方案"));
        return;
    }
    if (Prompt::show(this, tr("确认要删除指标方案“%1”吗？").arg(name), QString(), Prompt::Icon::Question,
                     QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const Result<bool> deleted = DeleteTargetSet(context_.folder, name);
    if (!deleted) {
        Prompt::show(this, Say(deleted), QString(), Prompt::Icon::Critical);
        return;
    }
    if (!*deleted)
        Prompt::message(this, tr("没有名为“%1”的指标方案").arg(name));
    cboMuban_->setEditText(QString());
    loadTargetSets();
}

WorkspaceWindow::~WorkspaceWindow() = default;

void WorkspaceWindow::chkJingque_Click()
{
    const bool precise = chkJingque_->isChecked();
    for (int i = 0; i < kIndexCount; ++i) {
        const IndexView& index = IndexViews()[i];
        SetBoxBackground(minBoxes_[i], precise || index.lowerEnabled);
        SetBoxBackground(maxBoxes_[i], precise || index.upperEnabled);
    }
}

void WorkspaceWindow::setBasisWeighting(const BasisWeighting& weighting)
{
    weighting_ = weighting;
    const QSignalBlocker quiet(chkJizhun_);
    chkJizhun_->setChecked(weighting.on);
}

void WorkspaceWindow::chkJizhun_Click()
{
    const bool on = chkJizhun_->isChecked();
    // The box says what config.ini keeps: a switch that could not be saved
    // goes back, and the user is told.
    if (Status saved = SaveBasisWeightingOn(context_.folder, on); !saved) {
        const QSignalBlocker quiet(chkJizhun_);
        chkJizhun_->setChecked(!on);
        Prompt::show(this, Say(saved), QString(), Prompt::Icon::Warning);
        return;
    }
    weighting_.on = on;
    Q_EMIT basisWeightingChanged(weighting_);
}

void WorkspaceWindow::chkAll_Click()
{
    for (int row = 0; row < kGridRows; ++row) {
        if (!grid_->cell(row, kNameCell)->text().isEmpty())
            grid_->check(row)->setChecked(chkAll_->isChecked());
    }
}

void WorkspaceWindow::tbrMenu_ButtonClick(int index)
{
    switch (index) {
    case 2:
        Q_EMIT selectCoalsRequested();
        break;
    case 3:
        ClearGrid();
        break;
    case 4:
        RunBlending();
        break;
    default:
        break;
    }
}

void WorkspaceWindow::ClearGrid()
{
    Grid grid = grid_->grid();
    ::ClearGrid(grid);
    grid_->setGrid(grid);
}

void WorkspaceWindow::SetTxtValue(const QVector<Mei>& coals)
{
    Grid grid = grid_->grid();
    ::SetTxtValue(grid, coals);
    grid_->setGrid(grid);
}

WorkspaceInput WorkspaceWindow::readInput() const
{
    WorkspaceInput input;
    input.grid = grid_->grid();
    for (int i = 0; i < kIndexCount; ++i) {
        input.lower[i] = minBoxes_[i]->text();
        input.upper[i] = maxBoxes_[i]->text();
    }
    input.tonnage = txtZhongliang_->text();
    input.proportionCount = txtChanshu_->text();
    input.shovelMode = shovelMode_;
    input.weighting = weighting_;
    input.weighting.on = chkJizhun_->isChecked();
    return input;
}

void WorkspaceWindow::setBounds(const BoundEdits& edits)
{
    for (int i = 0; i < kIndexCount; ++i) {
        if (edits.lower[i])
            minBoxes_[i]->setText(*edits.lower[i]);
        if (edits.upper[i])
            maxBoxes_[i]->setText(*edits.upper[i]);
    }
}

void WorkspaceWindow::RunBlending()
{
    if (job_)
        return;  // one run at a time

    WorkspaceInput input = readInput();
    const Status prepared = PrepareRun(input);
    grid_->setGrid(input.grid);
    if (!prepared) {
        Prompt::message(this, Say(prepared));
        Q_EMIT runFinished();
        return;
    }

    const int last = ProportionCount(input.proportionCount);
    progress_ = new QProgressDialog(this);
    progress_->setObjectName(QStringLiteral("dlgProgress"));
    progress_->setAttribute(Qt::WA_DeleteOnClose);
    progress_->setWindowTitle(ApplicationTitle());
    progress_->setLabelText(tr("正在计算配煤配方……"));
    progress_->setCancelButtonText(tr("取消"));
    progress_->setRange(1, qMax(2, last));
    // The workspace waits for its run; the other windows stay usable, since
    // the run writes nothing until it has solved every total.
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);

    job_ = std::make_unique<BlendJob>(context_.folder, input);
    connect(job_.get(), &BlendJob::progressed, this, &WorkspaceWindow::onRunProgress);
    connect(job_.get(), &BlendJob::finished, this, &WorkspaceWindow::onRunFinished);
    connect(progress_, &QProgressDialog::canceled, job_.get(), [job = job_.get()] { job->cancel(); });
    progress_->show();
    job_->start();
}

void WorkspaceWindow::onRunProgress(int total, int last)
{
    if (!progress_)
        return;
    if (progress_->wasCanceled()) {
        job_->cancel();
        return;
    }
    progress_->setLabelText(tr("正在计算比例总数为 %1 的配方（共算到 %2）").arg(total).arg(last));
    progress_->setValue(total);
}

void WorkspaceWindow::onRunFinished()
{
    // The job is still inside its own signal: it goes once control is back
    // in the event loop.
    BlendJob* job = job_.release();
    job->deleteLater();
    if (progress_)
        progress_->close();
    const Result<RunOutcome>& outcome = job->outcome();
    if (!outcome) {
        Prompt::show(this, Say(outcome), QString(), Prompt::Icon::Warning);
    } else {
        coalList_ = outcome->solution.coals;
        if (outcome->kind == RunOutcome::Kind::Stored)
            Q_EMIT planStored(outcome->planId);
        else
            Q_EMIT noPlanFound(outcome->solution.model, outcome->solution.last);
    }
    Q_EMIT runFinished();
}
