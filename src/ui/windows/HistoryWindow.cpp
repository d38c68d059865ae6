#include "ui/windows/HistoryWindow.h"

#include "base/Files.h"
#include "export/InsightListing.h"
#include "export/ListExport.h"
#include "export/ListLayouts.h"
#include "history/PlanHistory.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/ExportPath.h"
#include "ui/widgets/LoaderSheetPrint.h"
#include "ui/widgets/PlanCharts.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Say.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The window's design size in twips; beyond it the plan list's columns share
// the extra width.
constexpr int kDesignWidth = 11280;
constexpr int kDesignHeight = 8295;

// The size the window opens at, where the screen has room.
constexpr QSize kOpenSize(1128, 830);

int PixelsToTwips(const QWidget* w, int pixels) { return pixels * 1440 / std::max(1, w->logicalDpiX()); }

QGroupBox* Frame(const QString& name, const QString& caption, QWidget* parent)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    return frame;
}

ReportList* List(const QString& name, QWidget* parent)
{
    auto* list = new ReportList(parent);
    list->setObjectName(name);
    return list;
}

}  // namespace

HistoryWindow::HistoryWindow(const WindowContext& context, const Settings& settings, QWidget* parent)
    : QWidget(parent), context_(context), settings_(settings)
{
    setObjectName(QStringLiteral("frmLishi"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("历史配比表"));

    Toolbar1_ = new QToolBar(this);
    Toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    // Captions beside the icons keep the toolbar low: the lists below need
    // the height on a small screen.
    Toolbar1_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* blank = Toolbar1_->addSeparator();
    blank->setObjectName(QStringLiteral("Toolbar1_1"));
    struct Button {
        int position;
        const char* caption;
        QString glyph;
        QColor colour;
    };
    // An icon's glyph is a word as well: each language has its own.
    const Button buttons[] = {{2, QT_TR_NOOP("删除方案"), tr("删"), QColor(0xB0, 0x3A, 0x2E)},
                              {3, QT_TR_NOOP("导出普通"), tr("网"), QColor(0x2E, 0x6F, 0xB0)},
                              {4, QT_TR_NOOP("导出Excel"), tr("表"), QColor(0x2E, 0x8B, 0x57)}};
    for (const Button& b : buttons) {
        QAction* action = Toolbar1_->addAction(Artwork::ToolIcon(b.glyph, b.colour), tr(b.caption));
        action->setObjectName(QStringLiteral("Toolbar1_%1").arg(b.position));
        const int position = b.position;
        connect(action, &QAction::triggered, this, [this, position] { Toolbar1_ButtonClick(position); });
    }
    // The loader sheet of the selected row, for the loader operator.
    QAction* zhuangche = Toolbar1_->addAction(Artwork::ToolIcon(tr("装"), QColor(0x8A, 0x5A, 0x1E)), tr("装车单"));
    zhuangche->setObjectName(QStringLiteral("btnZhuangche"));
    zhuangche->setToolTip(tr("把选中的配比方案按配多少吨生成装车单，保存为PDF文件"));
    connect(zhuangche, &QAction::triggered, this, &HistoryWindow::btnZhuangche_Click);
    QAction* dayin = Toolbar1_->addAction(Artwork::ToolIcon(tr("印"), QColor(0x55, 0x55, 0x55)), tr("打印"));
    dayin->setObjectName(QStringLiteral("btnDayin"));
    dayin->setToolTip(tr("打印选中的配比方案的装车单"));
    connect(dayin, &QAction::triggered, this, &HistoryWindow::btnDayin_Click);

    fraLeft_ = Frame(QStringLiteral("fraLeft"), tr("历史配比方案"), this);
    lsvLeft_ = List(QStringLiteral("lsvLeft"), fraLeft_);
    lsvLeft_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lsvLeft_->setSortOnHeaderClick(false);
    // Above the list, the search: words of the plan's text, a range of days,
    // and the pages of what matches.
    txtSousuo_ = new QLineEdit(fraLeft_);
    txtSousuo_->setObjectName(QStringLiteral("txtSousuo"));
    txtSousuo_->setPlaceholderText(tr("方案名称中的字词，以空格分开"));
    txtSousuo_->setClearButtonEnabled(true);
    txtSousuo_->setMinimumWidth(txtSousuo_->fontMetrics().horizontalAdvance(txtSousuo_->placeholderText()) / 2 + 40);
    chkRiqi_ = new QCheckBox(tr("日期"), fraLeft_);
    chkRiqi_->setObjectName(QStringLiteral("chkRiqi"));
    const auto dateBox = [this](const QString& name, const QDate& date) {
        auto* box = new QDateEdit(date, fraLeft_);
        box->setObjectName(name);
        box->setCalendarPopup(true);
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        box->setEnabled(false);
        return box;
    };
    const QDate today = context_.now().date();
    dtpFrom_ = dateBox(QStringLiteral("dtpFrom"), today.addMonths(-1));
    dtpTo_ = dateBox(QStringLiteral("dtpTo"), today);
    connect(chkRiqi_, &QCheckBox::toggled, dtpFrom_, &QWidget::setEnabled);
    connect(chkRiqi_, &QCheckBox::toggled, dtpTo_, &QWidget::setEnabled);
    cmdSousuo_ = new QPushButton(tr("搜索"), fraLeft_);
    cmdSousuo_->setObjectName(QStringLiteral("cmdSousuo"));
    cmdShangye_ = new QPushButton(tr("上一页"), fraLeft_);
    cmdShangye_->setObjectName(QStringLiteral("cmdShangye"));
    cmdXiaye_ = new QPushButton(tr("下一页"), fraLeft_);
    cmdXiaye_->setObjectName(QStringLiteral("cmdXiaye"));
    for (QPushButton* button : {cmdShangye_, cmdXiaye_})
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 24);
    lblYeshu_ = new QLabel(fraLeft_);
    lblYeshu_->setObjectName(QStringLiteral("lblYeshu"));
    lblYeshu_->setAlignment(Qt::AlignCenter);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(tr("方案名称含"), fraLeft_));
    searchRow->addWidget(txtSousuo_, 1);
    searchRow->addSpacing(8);
    searchRow->addWidget(chkRiqi_);
    searchRow->addWidget(dtpFrom_);
    searchRow->addWidget(new QLabel(tr("至"), fraLeft_));
    searchRow->addWidget(dtpTo_);
    searchRow->addWidget(cmdSousuo_);
    searchRow->addSpacing(8);
    searchRow->addWidget(cmdShangye_);
    searchRow->addWidget(lblYeshu_);
    searchRow->addWidget(cmdXiaye_);
    connect(txtSousuo_, &QLineEdit::returnPressed, this, &HistoryWindow::cmdSousuo_Click);
    connect(cmdSousuo_, &QPushButton::clicked, this, &HistoryWindow::cmdSousuo_Click);
    connect(cmdShangye_, &QPushButton::clicked, this, &HistoryWindow::cmdShangye_Click);
    connect(cmdXiaye_, &QPushButton::clicked, this, &HistoryWindow::cmdXiaye_Click);
    auto* leftLayout = new QVBoxLayout(fraLeft_);
    leftLayout->addLayout(searchRow);
    leftLayout->addWidget(lsvLeft_);

    fraTop_ = Frame(QStringLiteral("fraTop"), tr("要达到的精煤指标"), this);
    lbZhibiao_ = new QLabel(fraTop_);
    lbZhibiao_->setObjectName(QStringLiteral("lbZhibiao"));
    lbZhibiao_->setWordWrap(true);
    lbZhibiao_->setTextFormat(Qt::PlainText);
    lbZhibiao_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* topLayout = new QVBoxLayout(fraTop_);
    topLayout->addWidget(lbZhibiao_);

    fraMid_ = Frame(QStringLiteral("fraMid"), tr("参与的煤种"), this);
    lsvMid_ = List(QStringLiteral("lsvMid"), fraMid_);
    lsvMid_->setSortOnHeaderClick(false);
    auto* midLayout = new QVBoxLayout(fraMid_);
    midLayout->addWidget(lsvMid_);

    fraBottom_ = Frame(QStringLiteral("fraBottom"), tr("配比方案"), this);
    auto* tonsLabel = new QLabel(tr("配多少吨："), fraBottom_);
    txtZhongliang_ = new QLineEdit(fraBottom_);
    txtZhongliang_->setObjectName(QStringLiteral("txtZhongliang"));
    txtZhongliang_->setMaximumWidth(txtZhongliang_->fontMetrics().horizontalAdvance(QStringLiteral("100000.00")) + 24);
    auto* unitLabel = new QLabel(tr("吨精煤"), fraBottom_);
    Command1_ = new QPushButton(ConvertCaption(), fraBottom_);
    Command1_->setObjectName(QStringLiteral("Command1"));
    lsvBottom_ = List(QStringLiteral("lsvBottom"), fraBottom_);
    lsvBottom_->setSortOnHeaderClick(false);  // the window's own handler sorts
    auto* tonsRow = new QHBoxLayout;
    tonsRow->addWidget(tonsLabel);
    tonsRow->addWidget(txtZhongliang_);
    tonsRow->addWidget(unitLabel);
    tonsRow->addWidget(Command1_);
    tonsRow->addStretch();
    auto* bottomLayout = new QVBoxLayout(fraBottom_);
    bottomLayout->addLayout(tonsRow);
    bottomLayout->addWidget(lsvBottom_);

    // The insight of the selected proportion row: the targets on the left,
    // the charts on the right.
    fraInsight_ = Frame(QStringLiteral("fraInsight"), tr("方案分析"), this);
    lsvLimits_ = List(QStringLiteral("lsvLimits"), fraInsight_);
    lsvLimits_->setSortOnHeaderClick(false);  // rows stay in the index table's order
    lsvLimits_->setAlternatingRowColors(false);
    ListData limits;
    SetupLimitColumns(limits);
    lsvLimits_->setListData(std::move(limits));
    lblMargin_ = new QLabel(fraInsight_);
    lblMargin_->setObjectName(QStringLiteral("lblMargin"));
    lblMargin_->setWordWrap(true);
    lblMargin_->setTextFormat(Qt::PlainText);
    lblMargin_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblMargin_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for a sentence that names a few broken targets; a splitter does
    // not ask a wrapping label how tall it wants to be.
    lblMargin_->setMinimumHeight(lblMargin_->fontMetrics().lineSpacing() * 2 + 4);
    fraCharts_ = new QWidget(fraInsight_);
    fraCharts_->setObjectName(QStringLiteral("fraCharts"));
    chartPrice_ = new PriceChartView(fraCharts_);
    chartPrice_->setObjectName(QStringLiteral("chartPrice"));
    chartShares_ = new ShareBar(fraCharts_);
    chartShares_->setObjectName(QStringLiteral("chartShares"));
    auto* saveChart = new QAction(tr("保存图表为PNG图片..."), this);
    saveChart->setObjectName(QStringLiteral("munSaveChart"));
    connect(saveChart, &QAction::triggered, this, &HistoryWindow::saveChart);
    for (QWidget* view : {static_cast<QWidget*>(chartPrice_), static_cast<QWidget*>(chartShares_)}) {
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        view->addAction(saveChart);
    }
    chartPrice_->setMinimumSize(160, 73);
    // What the chart's marks mean, in words, under the charts (and in a saved
    // picture of them).
    lblChart_ = new LinesLabel(fraCharts_);
    lblChart_->setObjectName(QStringLiteral("lblChart"));
    auto* chartsLayout = new QVBoxLayout(fraCharts_);
    chartsLayout->setContentsMargins(0, 0, 0, 0);
    chartsLayout->setSpacing(2);
    chartsLayout->addWidget(chartPrice_, 1);
    chartsLayout->addWidget(chartShares_, 0);
    chartsLayout->addWidget(lblChart_, 0);
    auto* limitsSide = new QWidget(fraInsight_);
    auto* limitsColumn = new QVBoxLayout(limitsSide);
    limitsColumn->setContentsMargins(0, 0, 0, 0);
    limitsColumn->addWidget(lsvLimits_, 1);
    limitsColumn->addWidget(lblMargin_, 0);
    // The list and the charts side by side; the user can move the line.
    auto* sides = new QSplitter(Qt::Horizontal, fraInsight_);
    sides->setObjectName(QStringLiteral("splCharts"));
    sides->setChildrenCollapsible(false);
    sides->addWidget(limitsSide);
    sides->addWidget(fraCharts_);
    sides->setStretchFactor(0, 5);
    sides->setStretchFactor(1, 4);
    auto* insightLayout = new QHBoxLayout(fraInsight_);
    insightLayout->addWidget(sides);

    // The proportion rows and their insight share the lower part; the user
    // can move the line between them.
    splInsight_ = new QSplitter(Qt::Vertical, this);
    splInsight_->setObjectName(QStringLiteral("splInsight"));
    splInsight_->setChildrenCollapsible(false);
    splInsight_->addWidget(fraBottom_);
    splInsight_->addWidget(fraInsight_);
    splInsight_->setStretchFactor(0, 1);
    splInsight_->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(7, 0, 7, 7);
    layout->setMenuBar(Toolbar1_);
    layout->setSpacing(4);
    layout->addWidget(fraLeft_, 2);
    layout->addWidget(fraTop_, 0);
    layout->addWidget(fraMid_, 2);
    layout->addWidget(splInsight_, 8);

    picLOAD_ = new QLabel(tr("正在处理数据，请稍候......"), this);
    picLOAD_->setObjectName(QStringLiteral("picLOAD"));
    picLOAD_->setAlignment(Qt::AlignCenter);
    picLOAD_->setFrameShape(QFrame::Box);
    picLOAD_->setAutoFillBackground(true);
    picLOAD_->setMargin(12);
    picLOAD_->adjustSize();
    picLOAD_->hide();

    // A click or a key that moves to another plan shows it.
    connect(lsvLeft_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!loading_ && current.isValid())
                    lsvLeft_Click();
            });
    connect(lsvBottom_->header(), &QHeaderView::sectionClicked, this, &HistoryWindow::lsvBottom_ColumnClick);
    // The insight follows the selected proportion row however the selection
    // changes. A mouse press makes the row current before it selects it, so
    // the current row alone would be read while nothing is selected: the
    // selection is what counts, and the current row too where it moves
    // without selecting (Ctrl with the arrow keys). Each row is shown once.
    auto follow = [this] {
        if (selectedBlendId() != shownBlendId_)
            lsvBottom_SelectionChanged();
    };
    connect(lsvBottom_->selectionModel(), &QItemSelectionModel::selectionChanged, this, follow);
    connect(lsvBottom_->selectionModel(), &QItemSelectionModel::currentChanged, this, follow);
    connect(Command1_, &QPushButton::clicked, this, &HistoryWindow::Command1_Click);

    // The insight panel shares the lower part with the proportion rows: the
    // window opens large, and placing it keeps it inside the screen.
    resize(kOpenSize.expandedTo(minimumSizeHint()));
    Form_Load();
}

void HistoryWindow::showDatabaseError(const QString& text)
{
    Prompt::show(this, text, tr("错误！"), Prompt::Icon::Critical);
}

void HistoryWindow::loadPlanList()
{
    const Result<PlanPage> found = SearchPlans(context_.folder, query_, page_);
    if (!found) {
        showDatabaseError(Say(found));
        return;
    }
    page_ = found->page;
    pageCount_ = found->pageCount;
    pagePlans_ = found->plans;
    total_ = found->total;
    showPageInfo();
    ListData plans;
    SetupPlanListColumns(plans);
    FillPlanList(plans, found->plans);
    loading_ = true;
    // A reload keeps the columns, whose widths may have followed the window's size.
    if (lsvLeft_->listData().columnCount() == plans.columnCount())
        lsvLeft_->setRows(std::move(plans.rows));
    else
        lsvLeft_->setListData(std::move(plans));
    lsvLeft_->selectRow(0);
    loading_ = false;
}

void HistoryWindow::Form_Load()
{
    loadPlanList();
    ListData coals;
    SetupCoalColumns(coals);
    lsvMid_->setListData(std::move(coals));
    ListData blends;
    SetupBlendColumns(blends, GetScreenWidthPixels());
    lsvBottom_->setListData(std::move(blends));
    lsvLeft_Click();
    HideUnusedColumns();
}

void HistoryWindow::reloadAndShowNewest()
{
    txtSousuo_->clear();
    chkRiqi_->setChecked(false);
    query_ = PlanQuery();
    page_ = 1;
    showPlanPage();
}

void HistoryWindow::showOthersChanges()
{
    const int shown = currentPlanId_;
    loadPlanList();
    // A stored plan never changes: the one shown stays as it is.
    if (const int row = lsvLeft_->rowOfKey(QString::number(shown)); shown != 0 && row >= 0) {
        loading_ = true;
        lsvLeft_->selectRow(row);
        loading_ = false;
        return;
    }
    if (lsvLeft_->rowCount() == 0)
        clearShownPlan();
    else
        lsvLeft_Click();
}

void HistoryWindow::showPlanPage()
{
    loadPlanList();
    if (lsvLeft_->rowCount() == 0)
        clearShownPlan();
    else
        lsvLeft_Click();
}

void HistoryWindow::showPageInfo()
{
    if (total_ == 0)
        lblYeshu_->setText(query_ == PlanQuery() ? tr("没有方案") : tr("没有找到方案"));
    else
        lblYeshu_->setText(tr("第 %1/%2 页，共 %3 个方案").arg(page_).arg(pageCount_).arg(total_));
    cmdShangye_->setEnabled(page_ > 1);
    cmdXiaye_->setEnabled(page_ < pageCount_);
}

void HistoryWindow::cmdSousuo_Click()
{
    const Result<PlanQuery> query =
        MakePlanQuery(txtSousuo_->text(), chkRiqi_->isChecked(), dtpFrom_->date(), dtpTo_->date());
    if (!query) {
        Prompt::message(this, Say(query));
        return;
    }
    query_ = *query;
    page_ = 1;
    showPlanPage();
}

void HistoryWindow::cmdShangye_Click()
{
    if (page_ <= 1)
        return;
    --page_;
    showPlanPage();
}

void HistoryWindow::cmdXiaye_Click()
{
    if (page_ >= pageCount_)
        return;
    ++page_;
    showPlanPage();
}

void HistoryWindow::clearShownPlan()
{
    currentPlanId_ = 0;
    plan_ = PlanView();
    lsvMid_->clearRows();
    lsvBottom_->clearRows();
    lbZhibiao_->clear();
    insight_ = PlanInsight();
    showPlanInsight();
}

void HistoryWindow::lsvLeft_Click()
{
    if (lsvLeft_->rowCount() == 0)
        return;
    int row = lsvLeft_->currentRow();
    if (row < 0) {
        // Nothing selected (after a delete): show the newest plan.
        row = 0;
        loading_ = true;
        lsvLeft_->selectRow(0);
        loading_ = false;
    }
    currentPlanId_ = lsvLeft_->listData().cell(row, 0).toInt();
    const Result<PlanView> plan = LoadPlanView(context_.folder, currentPlanId_);
    if (!plan) {
        showDatabaseError(Say(plan));
        return;
    }
    plan_ = *plan;
    ShownPlan view{QString(), lsvMid_->listData(), lsvBottom_->listData()};
    ShowPlan(*plan, view);
    lbZhibiao_->setText(view.information);
    lsvMid_->setListData(std::move(view.coals));
    lsvBottom_->setListData(std::move(view.blends));
    Command1_->setText(ConvertCaption());
    insight_ = PlanInsight(*plan);
    showPlanInsight();
}

void HistoryWindow::showPlanInsight()
{
    chart_ = MakePriceChart(insight_, -1);
    chartPrice_->showChart(chart_);
    lsvBottom_SelectionChanged();
}

int HistoryWindow::selectedBlendId() const
{
    const int row = lsvBottom_->currentRow();
    if (row < 0 || row >= lsvBottom_->rowCount() || !lsvBottom_->selectionModel()->isRowSelected(row, QModelIndex()))
        return 0;
    return lsvBottom_->listData().cell(row, 0).toInt();
}

void HistoryWindow::selectBlendById(int id)
{
    const ListData& rows = lsvBottom_->listData();
    for (int r = 0; r < rows.rowCount(); ++r) {
        if (rows.cell(r, 0).toInt() == id && id > 0) {
            lsvBottom_->selectRow(r);
            return;
        }
    }
}

void HistoryWindow::lsvBottom_SelectionChanged()
{
    const int id = selectedBlendId();
    shownBlendId_ = id;
    const int row = insight_.rowOf(id);
    std::optional<Result<RowInsight>> analysis;
    if (row >= 0 && insight_.hasTargets() && insight_.note().isEmpty())
        analysis = insight_.analyse(id);
    const RowInsight* analysed = analysis && analysis->ok() ? &analysis->value() : nullptr;

    LimitRows limits;
    if (insight_.targets())
        limits = MakeLimitRows(*insight_.targets(), analysed, settings_);
    lsvLimits_->setRows(std::move(limits.rows));
    for (int r = 0; r < limits.hidden.size(); ++r)
        lsvLimits_->setRowHidden(r, QModelIndex(), limits.hidden[r]);
    lblMargin_->setText(MarginText(insight_, row >= 0, analysis ? &*analysis : nullptr));
    lblMargin_->setToolTip(lblMargin_->text());

    chart_ = MakePriceChart(insight_, row);
    chartPrice_->markSelected(chart_);
    QStringList shown;
    if (row >= 0) {
        const int r = lsvBottom_->currentRow();
        for (int j = 0; j < insight_.coalNames().size(); ++j)
            shown << lsvBottom_->listData().cell(r, kFirstProportionColumn + j);
    }
    const QVector<ShareSegment> shares = MakeRowShares(insight_, row, shown, Command1_->text() == RestoreCaption());
    chartShares_->showShares(shares);
    lblChart_->setFullText(chart_.caption);
}

void HistoryWindow::saveChart()
{
    const QString path =
        AskExportPath(this, tr("保存图表"), context_.now(), tr("PNG 图片 (*.png)"), QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!fraCharts_->grab().save(&buffer, "PNG")) {
        Prompt::show(this, tr("保存图表失败：无法生成图片"));
        return;
    }
    if (Status written = WriteWholeFile(path, bytes); !written) {
        Prompt::show(this, tr("保存图表失败：") + Say(written));
        return;
    }
    askToOpen(path);
}

void HistoryWindow::HideUnusedColumns()
{
    for (ReportList* list : {lsvMid_, lsvBottom_}) {
        ListData data = list->listData();
        ::HideUnusedColumns(data, settings_);
        for (int c = 0; c < data.columnCount(); ++c)
            if (data.columns[c].width != list->columnWidthTwips(c))
                list->setColumnWidthTwips(c, data.columns[c].width);
    }
}

void HistoryWindow::Toolbar1_ButtonClick(int position)
{
    switch (position) {
    case 2: deleteSelectedPlans(); break;
    case 3: exportPlan(0); break;
    case 4: exportPlan(1); break;
    default: break;
    }
}

void HistoryWindow::deleteSelectedPlans()
{
    if (lsvLeft_->rowCount() == 0)
        return;
    if (Prompt::show(this, tr("确定要删除此方案吗？"), QString(), Prompt::Icon::Question,
                     QMessageBox::Ok | QMessageBox::Cancel)
        != QMessageBox::Ok)
        return;
    const ListData plans = lsvLeft_->listData();
    QVector<int> selected = lsvLeft_->selectedRows();
    if (selected.isEmpty() && lsvLeft_->currentRow() >= 0)
        selected << lsvLeft_->currentRow();
    QVector<int> deleted;
    Status failure;
    for (int row : selected) {
        if (Status done = DeletePlan(context_.folder, plans.cell(row, 0).toInt()); !done) {
            failure = done;
            break;
        }
        deleted << row;
    }
    if (deleted.isEmpty()) {  // a plan is deleted in one transaction: nothing changed
        showDatabaseError(Say(failure));
        return;
    }
    QVector<ListRow> remaining;
    for (int r = 0; r < plans.rowCount(); ++r)
        if (!deleted.contains(r))
            remaining.append(plans.rows[r]);
    loading_ = true;
    lsvLeft_->setRows(std::move(remaining));
    loading_ = false;
    total_ -= static_cast<int>(deleted.size());
    showPageInfo();
    clearShownPlan();
    // After a failure, loading the next plan would only say it again.
    if (!failure.ok()) {
        showDatabaseError(Say(failure));
        return;
    }
    // A page emptied by the delete gives way to the plans that remain.
    if (lsvLeft_->rowCount() == 0 && total_ > 0) {
        showPlanPage();
        return;
    }
    lsvLeft_Click();
}

QString HistoryWindow::AskExportFile(int kind)
{
    QString filter;
    const QString path = Prompt::openFileName(this, tr("导出文件"), ProposedExportName(context_.now()),
                                              kind == 0 ? HtmlFilter() : WorkbookFilters(), QString(), &filter);
    if (path.isEmpty())
        return QString();
    return kind == 0 ? WithExportExtension(path, QStringLiteral("html")) : WorkbookExportPath(path, filter);
}

ShownPlan HistoryWindow::shownPlan() const
{
    return {lbZhibiao_->text(), lsvMid_->listData(), lsvBottom_->listData()};
}

bool HistoryWindow::ExportPlanToHtml(const QString& path)
{
    const Status exported = ::ExportPlanToHtml(context_.folder, shownPlan(), path);
    if (!exported)
        Prompt::show(this, HtmlExportFailedMessage() + Say(exported));
    return exported.ok();
}

bool HistoryWindow::ExportPlanToExcel(const QString& path)
{
    const Status exported = ::ExportPlanToWorkbook(context_.folder, shownPlan(), path);
    if (!exported)
        Prompt::show(this, ExcelExportFailedMessage() + Say(exported));
    return exported.ok();
}

void HistoryWindow::askToOpen(const QString& path)
{
    if (Prompt::show(this, ExportDoneQuestion(), ExportDoneTitle(), Prompt::Icon::Question,
                     QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok)
        Prompt::openDocument(path);
}

void HistoryWindow::exportPlan(int kind)
{
    const QString path = AskExportFile(kind);
    if (path.isEmpty())
        return;
    bool ok = false;
    if (kind == 0) {
        ok = ExportPlanToHtml(path);
    } else {
        centreNote();
        picLOAD_->raise();
        picLOAD_->show();
        picLOAD_->repaint();
        ok = ExportPlanToExcel(path);
        picLOAD_->hide();
    }
    if (ok)
        askToOpen(path);
}

void HistoryWindow::lsvBottom_ColumnClick(int column)
{
    lsvBottom_->toggleSort(column);
}

void HistoryWindow::Command1_Click()
{
    const TonsPress press{txtZhongliang_->text(), Command1_->text(), lbZhibiao_->text(), lsvMid_->listData()};
    ListData blends = lsvBottom_->listData();
    const Result<TonsOutcome> outcome = PressConvert(context_.folder, currentPlanId_, press, blends);
    if (!outcome) {
        if (outcome.kind() == FailureKind::Invalid)
            Prompt::message(this, Say(outcome));
        else
            showDatabaseError(Say(outcome));
        return;
    }
    const int selected = selectedBlendId();
    if (outcome->rowsChanged)
        lsvBottom_->setRows(std::move(blends.rows));
    Command1_->setText(outcome->caption);
    // The rows keep their record numbers: the same row stays selected, and
    // its shares are shown in the list's new unit.
    selectBlendById(selected);
    lsvBottom_SelectionChanged();
}

void HistoryWindow::centreNote()
{
    QRect note = picLOAD_->rect();
    note.moveCenter(rect().center());
    picLOAD_->move(note.topLeft());
}

void HistoryWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (picLOAD_->isVisible())
        centreNote();
    if (PixelsToTwips(this, height()) <= kDesignHeight && PixelsToTwips(this, width()) <= kDesignWidth)
        return;
    // The plan's name takes three quarters of the plan list, its date the rest.
    // Taken from the window's width, since the frames are laid out after
    // this event: the frames' and the list's margins and a scroll bar off.
    const int inner = PixelsToTwips(this, width()) - 400 - PixelsToTwips(this, 40);
    if (inner > 0) {
        lsvLeft_->setColumnWidthTwips(1, inner * 3 / 4);
        lsvLeft_->setColumnWidthTwips(2, inner / 4);
    }
}

std::optional<LoaderSheet> HistoryWindow::loaderSheet()
{
    const int id = selectedBlendId();
    if (currentPlanId_ == 0 || id <= 0) {
        Prompt::message(this, tr("请先选择一行配比方案"));
        return std::nullopt;
    }
    const Result<qint32> tonnage = LoaderTonnage(txtZhongliang_->text(), plan_);
    if (!tonnage) {
        Prompt::message(this, Say(tonnage));
        return std::nullopt;
    }
    QDateTime planDate;
    for (const PlanSummary& summary : std::as_const(pagePlans_))
        if (summary.id == currentPlanId_)
            planDate = summary.riqi;
    Result<LoaderSheet> sheet = LoaderSheetFromPlan(plan_, planDate, id, *tonnage, context_.now());
    if (!sheet) {
        Prompt::message(this, Say(sheet));
        return std::nullopt;
    }
    return std::move(sheet).value();
}

void HistoryWindow::btnZhuangche_Click()
{
    const std::optional<LoaderSheet> sheet = loaderSheet();
    if (!sheet)
        return;
    const QString path = SaveLoaderSheets(this, {*sheet}, context_.now());
    if (!path.isEmpty())
        askToOpen(path);
}

void HistoryWindow::btnDayin_Click()
{
    const std::optional<LoaderSheet> sheet = loaderSheet();
    if (!sheet)
        return;
    QPrinter printer(QPrinter::HighResolution);
    PrepareLoaderPrinter(printer);
    if (!Prompt::choosePrinter(this, printer, tr("打印装车单")))
        return;
    if (Status printed = PrintLoaderSheets({*sheet}, printer); !printed)
        Prompt::show(this, tr("打印装车单失败：") + Say(printed), QString(), Prompt::Icon::Warning);
}
