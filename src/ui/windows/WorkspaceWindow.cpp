#include "ui/windows/WorkspaceWindow.h"

#include "base/QualityIndex.h"
#include "base/Settings.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/CoalGridWidget.h"
#include "ui/widgets/Prompt.h"
#include "workspace/FormScale.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressDialog>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

namespace {

// Design geometry of the workspace, in pixels of the client area.
constexpr int kDesignWidth = 1160;
constexpr int kDesignHeight = 574;
constexpr double kFontSize = 9.0;
constexpr int kFrameWidth = kDesignWidth - 8;

// The banner and the select-all box keep these sizes at any window size
// (7500 x 680 and 8000 twips at 15 twips per pixel), the banner 100 twips from
// the right edge.
constexpr QSize kBannerSize(500, 45);
constexpr int kBannerMargin = 7;
constexpr int kChkAllWidth = 533;

// How long the workspace waits after a change before it is written down.
constexpr int kKeepDelayMs = 1500;

// Left-to-right order of the target panel's columns (indices of the quality
// index table): the plastic layer stands after the ash fusion point there.
constexpr std::array<int, kIndexCount> kTargetOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 10, 14};

// Check box indicators grow with the text beside them; the style's own size is
// fixed in pixels. The factor is kept on the style and set by the resize.
class ScaledIndicatorStyle : public QProxyStyle {
public:
    double factor = 1.0;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return qRound(size * factor);
        return size;
    }
};

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
    client_->resize(designClientSize());

    buildToolbar(client_);
    buildGridFrame(client_);
    buildTargetFrame(client_);
    buildOptionsFrame(client_);
    client_->installEventFilter(this);

    // One style object for every check box of the workspace, owned by the window.
    auto* indicators = new ScaledIndicatorStyle;
    indicators->setParent(this);
    indicatorStyle_ = indicators;
    for (QCheckBox* box : client_->findChildren<QCheckBox*>())
        box->setStyle(indicators);

    Form_Load();
}

void WorkspaceWindow::track(QWidget* control, const QRect& design, bool hasFont)
{
    control->setGeometry(design);
    DesignGeometry geometry{design.x(), design.y(), design.width(), design.height(), 0.0};
    if (hasFont) {
        geometry.fontSize = kFontSize;
        QFont font = control->font();
        font.setPointSizeF(geometry.fontSize);
        control->setFont(font);
    }
    control->setProperty("Tag", GeometryTag(geometry));
    scaled_ << control;
}

void WorkspaceWindow::buildToolbar(QWidget* parent)
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
        const char* glyph;
        QColor colour;
    };
    const Button buttons[] = {
        {"选煤配比", "从仓库中选择煤种导入下面的列表", "选", QColor(40, 110, 170)},
        {"清空列表", "将下面列表内的数据全部清空", "清", QColor(170, 90, 40)},
        {"开始配煤", "点击配煤", "配", QColor(40, 140, 70)},
    };
    for (int i = 0; i < 3; ++i) {
        const int index = i + 2;
        auto* action = tbrMenu_->addAction(Artwork::ToolIcon(QString::fromUtf8(buttons[i].glyph), buttons[i].colour),
                                           QString::fromUtf8(buttons[i].caption));
        action->setObjectName(QStringLiteral("tbrMenu_%1").arg(index));
        action->setToolTip(QString::fromUtf8(buttons[i].tip));
        connect(action, &QAction::triggered, this, [this, index] { tbrMenu_ButtonClick(index); });
    }
    track(tbrMenu_, QRect(2, 2, 400, 42));

    picBanner_ = new QLabel(parent);
    picBanner_->setObjectName(QStringLiteral("picBanner"));
    picBanner_->setPixmap(Artwork::Banner(kBannerSize));
    picBanner_->setScaledContents(true);
    track(picBanner_, QRect(QPoint(kDesignWidth - kBannerSize.width() - kBannerMargin, 1), kBannerSize), false);
}

void WorkspaceWindow::buildGridFrame(QWidget* parent)
{
    auto* fraTop = new QFrame(parent);
    fraTop->setObjectName(QStringLiteral("fraTop"));
    fraTop->setFrameShape(QFrame::StyledPanel);
    track(fraTop, QRect(4, 48, kFrameWidth, 346), false);

    chkAll_ = new QCheckBox(QStringLiteral("全选 煤前面√则表示此种煤必选"), fraTop);
    chkAll_->setObjectName(QStringLiteral("chkAll"));
    track(chkAll_, QRect(8, 4, kChkAllWidth, 22));
    connect(chkAll_, &QCheckBox::toggled, this, [this] { chkAll_Click(); });

    grid_ = new CoalGridWidget(CoalGridWidget::Options{}, fraTop);
    grid_->setObjectName(QStringLiteral("grdCoal"));
    track(grid_, QRect(QPoint(6, 28), grid_->designSize()), false);
    for (QWidget* control : grid_->controls())
        track(control, control->geometry());

    auto* label1 = new QLabel(
        QStringLiteral("注意：用精煤配煤，不要填写回收率。用原煤配煤，所有的指标要填写成试验后的指标，回收率也为经过试验后得到精煤的回收率"),
        fraTop);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setStyleSheet(QStringLiteral("color: #b00000;"));
    track(label1, QRect(10, 300, kFrameWidth - 20, 20));

    auto* label2 = new QLabel(
        QStringLiteral("说明：带*号的煤名称和价格必须填写；百分数不要输入百分号，例如全水12.3%请填写成12.3"),
        fraTop);
    label2->setObjectName(QStringLiteral("Label2"));
    track(label2, QRect(10, 322, kFrameWidth - 20, 20));
}

void WorkspaceWindow::buildTargetFrame(QWidget* parent)
{
    auto* fraMid = new QGroupBox(QStringLiteral("指标范围"), parent);
    fraMid->setObjectName(QStringLiteral("fraMid"));
    track(fraMid, QRect(4, 398, kFrameWidth, 104));

    auto* lbMax = new QLabel(QStringLiteral("最大值"), fraMid);
    lbMax->setObjectName(QStringLiteral("lbMax"));
    track(lbMax, QRect(10, 44, 52, 24));
    auto* lbMin = new QLabel(QStringLiteral("最小值"), fraMid);
    lbMin->setObjectName(QStringLiteral("lbMin"));
    track(lbMin, QRect(10, 72, 52, 24));

    for (int column = 0; column < kIndexCount; ++column) {
        const int i = kTargetOrder[column];
        const QualityIndex& index = QualityIndices()[i];
        const QString box = QLatin1String(index.boundBox);
        const int x = 66 + column * 72;
        auto* caption = new QLabel(QString::fromUtf8(index.targetCaption), fraMid);
        caption->setObjectName(QStringLiteral("lbRange_%1").arg(column));
        caption->setAlignment(Qt::AlignCenter);
        track(caption, QRect(x, 20, 68, 22));
        maxBoxes_[i] = new QLineEdit(fraMid);
        maxBoxes_[i]->setObjectName(box + QStringLiteral("Max"));
        track(maxBoxes_[i], QRect(x, 44, 68, 24));
        minBoxes_[i] = new QLineEdit(fraMid);
        minBoxes_[i]->setObjectName(box + QStringLiteral("Min"));
        track(minBoxes_[i], QRect(x, 72, 68, 24));
    }
}

void WorkspaceWindow::buildOptionsFrame(QWidget* parent)
{
    auto* fraBottom = new QGroupBox(QStringLiteral("其他选项(可不填，操作不熟练者慎用)"), parent);
    fraBottom->setObjectName(QStringLiteral("fraBottom"));
    track(fraBottom, QRect(4, 506, kFrameWidth, 64));

    auto label = [&](const char* name, const char* text, const QRect& rect) {
        auto* l = new QLabel(QString::fromUtf8(text), fraBottom);
        l->setObjectName(QLatin1String(name));
        track(l, rect);
    };
    label("lbZhongliang", "必须根据库存配", QRect(12, 28, 100, 24));
    txtZhongliang_ = new QLineEdit(fraBottom);
    txtZhongliang_->setObjectName(QStringLiteral("txtZhongliang"));
    track(txtZhongliang_, QRect(114, 28, 80, 24));
    label("lbDun", "吨", QRect(198, 28, 24, 24));
    label("lbChanshu", "比例数", QRect(244, 28, 46, 24));
    txtChanshu_ = new QLineEdit(fraBottom);
    txtChanshu_->setObjectName(QStringLiteral("txtChanshu"));
    track(txtChanshu_, QRect(292, 28, 64, 24));

    chkJingque_ = new QCheckBox(QStringLiteral("精确控制"), fraBottom);
    chkJingque_->setObjectName(QStringLiteral("chkJingque"));
    track(chkJingque_, QRect(384, 28, 100, 24));
    connect(chkJingque_, &QCheckBox::toggled, this, [this] { chkJingque_Click(); });

    chkJizhun_ = new QCheckBox(QStringLiteral("按基准加权"), fraBottom);
    chkJizhun_->setObjectName(QStringLiteral("chkJizhun"));
    chkJizhun_->setToolTip(QStringLiteral("各指标按其基准（收到基、空干基、干基、干燥无灰基）的煤量加权平均，"
                                          "而不是按装入的吨数；各指标的基准在“系统配置”中设定"));
    track(chkJizhun_, QRect(484, 28, 110, 24));
    connect(chkJizhun_, &QCheckBox::toggled, this, [this] { chkJizhun_Click(); });

    Command1_ = new QPushButton(QStringLiteral("计算配煤配方"), fraBottom);
    Command1_->setObjectName(QStringLiteral("Command1"));
    track(Command1_, QRect(600, 22, 140, 34));
    connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });

    // Target sets: a name typed or chosen, saved and deleted beside it.
    auto* lbMuban = new QLabel(tr("指标方案"), fraBottom);
    lbMuban->setObjectName(QStringLiteral("lbMuban"));
    track(lbMuban, QRect(752, 28, 60, 24));
    cboMuban_ = new QComboBox(fraBottom);
    cboMuban_->setObjectName(QStringLiteral("cboMuban"));
    cboMuban_->setEditable(true);
    cboMuban_->setInsertPolicy(QComboBox::NoInsert);
    cboMuban_->setMaxVisibleItems(20);
    cboMuban_->setToolTip(tr("选择一个指标方案，填入指标范围、比例数、吨数和按基准加权；"
                             "或填写名称后点“保存指标”保存当前的这些设置"));
    track(cboMuban_, QRect(814, 27, 160, 26));
    connect(cboMuban_, &QComboBox::activated, this, &WorkspaceWindow::cboMuban_Click);
    btnSaveMuban_ = new QPushButton(tr("保存指标"), fraBottom);
    btnSaveMuban_->setObjectName(QStringLiteral("btnSaveMuban"));
    track(btnSaveMuban_, QRect(982, 26, 80, 28));
    connect(btnSaveMuban_, &QPushButton::clicked, this, &WorkspaceWindow::btnSaveMuban_Click);
    btnDelMuban_ = new QPushButton(tr("删除指标"), fraBottom);
    btnDelMuban_->setObjectName(QStringLiteral("btnDelMuban"));
    track(btnDelMuban_, QRect(1068, 26, 78, 28));
    connect(btnDelMuban_, &QPushButton::clicked, this, &WorkspaceWindow::btnDelMuban_Click);
}

void WorkspaceWindow::Form_Load()
{
    setWindowTitle(QStringLiteral("Velmora配煤软件5.0"));
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
        Prompt::show(this, tr("无法保存工作区，下次启动时不能恢复：") + kept.message(), QString(),
                     Prompt::Icon::Warning);
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
        Prompt::show(this, saved.message(), QString(),
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
        Prompt::show(this, deleted.message(), QString(), Prompt::Icon::Critical);
        return;
    }
    if (!*deleted)
        Prompt::message(this, tr("没有名为“%1”的指标方案").arg(name));
    cboMuban_->setEditText(QString());
    loadTargetSets();
}

WorkspaceWindow::~WorkspaceWindow() = default;

void WorkspaceWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (sized_)
        return;
    sized_ = true;
    // First showing: the workspace gets its design size below whatever menu bar
    // and toolbars the window carries.
    if (layout())
        layout()->activate();
    resize(size() + designClientSize() - client_->size());
}

bool WorkspaceWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void WorkspaceWindow::Form_Resize()
{
    const ScaleFactors scale = ScaleFor(client_->size(), designClientSize());
    client_->setUpdatesEnabled(false);
    for (QWidget* control : std::as_const(scaled_)) {
        const DesignGeometry design = ParseGeometryTag(control->property("Tag").toString());
        control->setGeometry(ScaledRect(design, scale));
        const double size = ScaledFontSize(design, scale);
        if (size > 0.0 && control->font().pointSizeF() != size) {
            QFont font = control->font();
            font.setPointSizeF(size);
            control->setFont(font);
        }
    }
    static_cast<ScaledIndicatorStyle*>(indicatorStyle_)->factor = scale.font();
    picBanner_->setGeometry(QRect(QPoint(client_->width() - kBannerSize.width() - kBannerMargin, 1), kBannerSize));
    chkAll_->resize(kChkAllWidth, chkAll_->height());
    // The toolbar lays out its buttons itself; with a new font it must do so
    // now, or the captions stay cut to the old widths until the next event.
    tbrMenu_->setIconSize(QSize(24, 24) * scale.font());
    if (QLayout* buttons = tbrMenu_->layout()) {
        buttons->invalidate();
        buttons->activate();
    }
    client_->setUpdatesEnabled(true);
}

void WorkspaceWindow::chkJingque_Click()
{
    const bool precise = chkJingque_->isChecked();
    for (int i = 0; i < kIndexCount; ++i) {
        const QualityIndex& index = QualityIndices()[i];
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
        Prompt::show(this, saved.message(), QString(), Prompt::Icon::Warning);
        return;
    }
    weighting_.on = on;
    emit basisWeightingChanged(weighting_);
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
        emit selectCoalsRequested();
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
        Prompt::message(this, prepared.message());
        emit runFinished();
        return;
    }

    const int last = ProportionCount(input.proportionCount);
    progress_ = new QProgressDialog(this);
    progress_->setObjectName(QStringLiteral("dlgProgress"));
    progress_->setAttribute(Qt::WA_DeleteOnClose);
    progress_->setWindowTitle(ApplicationTitle());
    progress_->setLabelText(QStringLiteral("正在计算配煤配方……"));
    progress_->setCancelButtonText(QStringLiteral("取消"));
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
    progress_->setLabelText(QStringLiteral("正在计算比例总数为 %1 的配方（共算到 %2）").arg(total).arg(last));
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
        Prompt::show(this, outcome.message(), QString(), Prompt::Icon::Warning);
    } else {
        coalList_ = outcome->solution.coals;
        if (outcome->kind == RunOutcome::Kind::Stored)
            emit planStored(outcome->planId);
        else
            emit noPlanFound(outcome->solution.model, outcome->solution.last);
    }
    emit runFinished();
}
