#include "ui/windows/ScheduleWindow.h"

#include "base/NumberText.h"
#include "export/ListExport.h"
#include "export/ScheduleListing.h"
#include "ui/widgets/ExportPath.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Say.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QValueAxis>
#include <QVBoxLayout>

#include <cmath>

namespace {

QPushButton* Button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QLineEdit* Box(const QString& name, QWidget* parent, int width = 0)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    if (width > 0)
        box->setMaximumWidth(width);
    return box;
}

// A whole number typed in a box, blanks around allowed.
std::optional<int> WholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString Money(double value)
{
    return QString::number(value, 'f', 2);
}

}  // namespace

ScheduleWindow::ScheduleWindow(const WindowContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("frmJihua"));
    setWindowTitle(tr("多日配煤计划"));
    setAttribute(Qt::WA_DeleteOnClose);

    // Left: what to plan and the stored plans.
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);

    auto* fraCanshu = new QGroupBox(tr("计划参数"), left);
    auto* form = new QFormLayout(fraCanshu);
    txtTianshu_ = Box(QStringLiteral("txtTianshu"), fraCanshu, 120);
    txtTianshu_->setText(QStringLiteral("7"));
    txtTianshu_->setPlaceholderText(tr("1到31"));
    txtMeitian_ = Box(QStringLiteral("txtMeitian"), fraCanshu, 120);
    txtMeitian_->setPlaceholderText(tr("吨"));
    chkBubian_ = new QCheckBox(tr("每天配比相同"), fraCanshu);
    chkBubian_->setObjectName(QStringLiteral("chkBubian"));
    lbCanshu_ = new QLabel(fraCanshu);
    lbCanshu_->setObjectName(QStringLiteral("lbCanshu"));
    lbCanshu_->setWordWrap(true);
    form->addRow(tr("天数："), txtTianshu_);
    form->addRow(tr("每天配煤（吨）："), txtMeitian_);
    form->addRow(QString(), chkBubian_);
    form->addRow(lbCanshu_);
    leftLayout->addWidget(fraCanshu);

    auto* fraDaohuo = new QGroupBox(tr("到货"), left);
    auto* daohuo = new QVBoxLayout(fraDaohuo);
    auto* entry = new QHBoxLayout;
    cboDaohuoMei_ = new QComboBox(fraDaohuo);
    cboDaohuoMei_->setObjectName(QStringLiteral("cboDaohuoMei"));
    cboDaohuoMei_->setMinimumContentsLength(6);
    cboDaohuoMei_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    txtDaohuoTian_ = Box(QStringLiteral("txtDaohuoTian"), fraDaohuo, 60);
    txtDaohuoTian_->setPlaceholderText(tr("第几天"));
    txtDaohuoDun_ = Box(QStringLiteral("txtDaohuoDun"), fraDaohuo, 80);
    btnAddDaohuo_ = Button(QStringLiteral("btnAddDaohuo"), tr("添加到货"), fraDaohuo);
    entry->addWidget(cboDaohuoMei_, 1);
    entry->addWidget(new QLabel(tr("第"), fraDaohuo));
    entry->addWidget(txtDaohuoTian_);
    entry->addWidget(new QLabel(tr("天"), fraDaohuo));
    entry->addWidget(txtDaohuoDun_);
    entry->addWidget(new QLabel(tr("吨"), fraDaohuo));
    daohuo->addLayout(entry);
    auto* entryButtons = new QHBoxLayout;
    btnDelDaohuo_ = Button(QStringLiteral("btnDelDaohuo"), tr("删除所选到货"), fraDaohuo);
    entryButtons->addStretch(1);
    entryButtons->addWidget(btnAddDaohuo_);
    entryButtons->addWidget(btnDelDaohuo_);
    daohuo->addLayout(entryButtons);
    lsvDaohuo_ = new ReportList(fraDaohuo);
    lsvDaohuo_->setObjectName(QStringLiteral("lsvDaohuo"));
    lsvDaohuo_->setSortOnHeaderClick(false);
    daohuo->addWidget(lsvDaohuo_, 1);
    leftLayout->addWidget(fraDaohuo, 1);

    btnJisuan_ = Button(QStringLiteral("btnJisuan"), tr("计算计划"), left);
    btnJisuan_->setMinimumHeight(36);
    leftLayout->addWidget(btnJisuan_);

    auto* fraList = new QGroupBox(tr("已保存的计划"), left);
    auto* listLayout = new QVBoxLayout(fraList);
    lsvJihuaList_ = new ReportList(fraList);
    lsvJihuaList_->setObjectName(QStringLiteral("lsvJihuaList"));
    listLayout->addWidget(lsvJihuaList_, 1);
    auto* listButtons = new QHBoxLayout;
    btnOpenJihua_ = Button(QStringLiteral("btnOpenJihua"), tr("打开计划"), fraList);
    btnDelJihua_ = Button(QStringLiteral("btnDelJihua"), tr("删除计划"), fraList);
    listButtons->addStretch(1);
    listButtons->addWidget(btnOpenJihua_);
    listButtons->addWidget(btnDelJihua_);
    listLayout->addLayout(listButtons);
    leftLayout->addWidget(fraList, 1);

    // Right: the plan.
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    lbJieguo_ = new QLabel(tr("填写天数和每天吨数，添加到货，然后点“计算计划”。"), right);
    lbJieguo_->setObjectName(QStringLiteral("lbJieguo"));
    lbJieguo_->setWordWrap(true);
    lbZongjia_ = new QLabel(right);
    lbZongjia_->setObjectName(QStringLiteral("lbZongjia"));
    QFont strong = lbZongjia_->font();
    strong.setBold(true);
    lbZongjia_->setFont(strong);
    rightLayout->addWidget(lbJieguo_);
    rightLayout->addWidget(lbZongjia_);
    auto* splitter = new QSplitter(Qt::Vertical, right);
    lsvJihua_ = new ReportList(splitter);
    lsvJihua_->setObjectName(QStringLiteral("lsvJihua"));
    chartKucun_ = new QChartView(splitter);
    chartKucun_->setObjectName(QStringLiteral("chartKucun"));
    chartKucun_->setRenderHint(QPainter::Antialiasing);
    chartKucun_->setMinimumHeight(220);
    auto* chart = new QChart;
    chart->setTitle(tr("每天结束时的库存（吨）"));
    chart->legend()->setAlignment(Qt::AlignRight);
    chartKucun_->setChart(chart);
    splitter->addWidget(lsvJihua_);
    splitter->addWidget(chartKucun_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    rightLayout->addWidget(splitter, 1);
    auto* output = new QHBoxLayout;
    btnSaveJihua_ = Button(QStringLiteral("btnSaveJihua"), tr("保存计划"), right);
    btnDaochu_ = Button(QStringLiteral("btnDaochu"), tr("导出Excel"), right);
    btnZhuangche_ = Button(QStringLiteral("btnZhuangche"), tr("装车单"), right);
    btnZhuangche_->setToolTip(tr("把每一天的配比生成装车单（每天一页），保存为一个PDF文件"));
    output->addStretch(1);
    output->addWidget(btnSaveJihua_);
    output->addWidget(btnDaochu_);
    output->addWidget(btnZhuangche_);
    rightLayout->addLayout(output);

    auto* layout = new QHBoxLayout(this);
    auto* main = new QSplitter(Qt::Horizontal, this);
    main->addWidget(left);
    main->addWidget(right);
    main->setStretchFactor(0, 0);
    main->setStretchFactor(1, 1);
    main->setSizes({430, 1000});
    layout->addWidget(main);
    resize(1440, 860);

    ListData deliveries;
    deliveries.addColumn(tr("煤种"), 1500);
    deliveries.addColumn(tr("第几天"), 900, true);
    deliveries.addColumn(tr("吨数"), 1100, true);
    lsvDaohuo_->setListData(deliveries);
    ListData plans;
    plans.addColumn(tr("编号"), 0);
    plans.addColumn(tr("计划"), 2500);
    plans.addColumn(tr("保存时间"), 1300);
    plans.addColumn(tr("总成本"), 1300, true);
    lsvJihuaList_->setListData(plans);
    btnSaveJihua_->setEnabled(false);
    btnDaochu_->setEnabled(false);
    btnZhuangche_->setEnabled(false);

    connect(btnAddDaohuo_, &QPushButton::clicked, this, &ScheduleWindow::btnAddDaohuo_Click);
    connect(btnDelDaohuo_, &QPushButton::clicked, this, &ScheduleWindow::btnDelDaohuo_Click);
    connect(btnJisuan_, &QPushButton::clicked, this, &ScheduleWindow::btnJisuan_Click);
    connect(btnSaveJihua_, &QPushButton::clicked, this, &ScheduleWindow::btnSaveJihua_Click);
    connect(btnDaochu_, &QPushButton::clicked, this, &ScheduleWindow::btnDaochu_Click);
    connect(btnZhuangche_, &QPushButton::clicked, this, &ScheduleWindow::btnZhuangche_Click);
    connect(btnOpenJihua_, &QPushButton::clicked, this, &ScheduleWindow::btnOpenJihua_Click);
    connect(btnDelJihua_, &QPushButton::clicked, this, &ScheduleWindow::btnDelJihua_Click);
    connect(lsvJihuaList_, &QAbstractItemView::doubleClicked, this, &ScheduleWindow::btnOpenJihua_Click);
}

ScheduleWindow::~ScheduleWindow() = default;

void ScheduleWindow::setInputSource(std::function<WorkspaceInput()> source)
{
    source_ = std::move(source);
    refresh();
}

void ScheduleWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void ScheduleWindow::refresh()
{
    if (!source_)
        return;
    const WorkspaceInput input = source_();
    const QString current = cboDaohuoMei_->currentText();
    cboDaohuoMei_->clear();
    int coals = 0;
    for (const GridRow& row : input.grid.rows) {
        if (row.name().trimmed().isEmpty())
            continue;
        cboDaohuoMei_->addItem(row.name().trimmed());
        ++coals;
    }
    if (const int at = cboDaohuoMei_->findText(current); at >= 0)
        cboDaohuoMei_->setCurrentIndex(at);
    const QString count = input.proportionCount.trimmed().isEmpty() ? tr("100（未填写）") : input.proportionCount.trimmed();
    lbCanshu_->setText(coals == 0 ? tr("配煤表中还没有煤。请先在配煤表中选煤、填写库存和指标，再来计算多日计划。")
                                  : tr("按配煤表的%1种煤、指标和必选煤种计算；每天的%2合计为比例数 %3。库存取配煤表中的库存。")
                                        .arg(coals)
                                        .arg(input.shovelMode ? tr("铲数（乘以每铲重量）") : tr("份数"))
                                        .arg(count));
    if (txtMeitian_->text().trimmed().isEmpty() && !input.tonnage.trimmed().isEmpty())
        txtMeitian_->setText(input.tonnage.trimmed());
    loadList();
}

void ScheduleWindow::loadList()
{
    const Result<QVector<ScheduleSummary>> list = LoadScheduleList(context_.folder);
    if (!list) {
        Prompt::show(this, tr("无法读取已保存的计划：") + Say(list));
        return;
    }
    QVector<ListRow> rows;
    for (const ScheduleSummary& s : *list)
        rows << ListRow{QString::number(s.id),
                        {s.name, s.saved.toString(QStringLiteral("MM-dd hh:mm")), Money(s.totalCost)},
                        false};
    lsvJihuaList_->setRows(rows);
}

void ScheduleWindow::fillDeliveries()
{
    QVector<ListRow> rows;
    for (int i = 0; i < deliveries_.size(); ++i)
        rows << ListRow{deliveries_[i].coal,
                        {QString::number(deliveries_[i].day), QString::number(deliveries_[i].tons, 'f', 2)},
                        false};
    lsvDaohuo_->setRows(rows);
}

void ScheduleWindow::btnAddDaohuo_Click()
{
    const QString coal = cboDaohuoMei_->currentText().trimmed();
    if (coal.isEmpty()) {
        Prompt::message(this, tr("请先在配煤表中填写煤种，再选择到货的煤种。"));
        return;
    }
    const std::optional<int> day = WholeNumber(txtDaohuoTian_->text());
    const std::optional<int> days = WholeNumber(txtTianshu_->text());
    const int last = days && *days >= 1 && *days <= kMaxScheduleDays ? *days : kMaxScheduleDays;
    if (!day || *day < 1 || *day > last) {
        Prompt::message(this, tr("到货的天数必须是1到%1之间的整数。").arg(last));
        txtDaohuoTian_->setFocus();
        return;
    }
    const std::optional<double> tons = ReadNumberText(txtDaohuoDun_->text());
    if (!tons || !(*tons > 0.0) || *tons > 1e9) {
        Prompt::message(this, tr("到货的吨数必须是大于0的数字。"));
        txtDaohuoDun_->setFocus();
        return;
    }
    deliveries_ << NamedDelivery{coal, *day, *tons};
    fillDeliveries();
    txtDaohuoDun_->clear();
}

void ScheduleWindow::btnDelDaohuo_Click()
{
    const QVector<int> rows = lsvDaohuo_->selectedRows();
    if (rows.isEmpty()) {
        Prompt::message(this, tr("请先在到货列表中选择要删除的到货。"));
        return;
    }
    for (int i = rows.size() - 1; i >= 0; --i)
        if (rows[i] >= 0 && rows[i] < deliveries_.size())
            deliveries_.remove(rows[i]);
    fillDeliveries();
}

void ScheduleWindow::btnJisuan_Click()
{
    if (job_ || !source_)
        return;
    const std::optional<int> days = WholeNumber(txtTianshu_->text());
    if (!days || *days < 1 || *days > kMaxScheduleDays) {
        Prompt::message(this, tr("天数必须是1到%1之间的整数。").arg(kMaxScheduleDays));
        txtTianshu_->setFocus();
        return;
    }
    const std::optional<double> tons = ReadNumberText(txtMeitian_->text());
    if (!tons || !(*tons > 0.0) || *tons > 1e9) {
        Prompt::message(this, tr("每天配煤的吨数必须是大于0的数字。"));
        txtMeitian_->setFocus();
        return;
    }
    for (const NamedDelivery& d : deliveries_) {
        if (d.day > *days) {
            Prompt::message(this, tr("%1的到货在第%2天，超出了计划的%3天。请删除这条到货或增加天数。")
                                      .arg(d.coal)
                                      .arg(d.day)
                                      .arg(*days));
            return;
        }
    }
    const Result<PreparedSchedule> prepared =
        PrepareSchedule(source_(), *days, *tons, deliveries_, chkBubian_->isChecked());
    if (!prepared) {
        Prompt::message(this, Say(prepared));
        return;
    }
    if (!prepared->unknownCoal.isEmpty()) {
        Prompt::message(this, tr("到货的煤种“%1”不在配煤表中。请删除这条到货，或把这种煤加入配煤表。").arg(prepared->unknownCoal));
        return;
    }
    const ScheduleFault fault = CheckSchedule(prepared->input);
    if (fault.kind != ScheduleFault::Kind::None) {
        QString text;
        const QString coal = fault.coal >= 0 && fault.coal < prepared->input.model.coals.size()
                                 ? prepared->input.model.coals[fault.coal].MingCheng
                                 : QString();
        switch (fault.kind) {
        case ScheduleFault::Kind::Stock:
            text = tr("第%1种煤（%2）的库存没有填写或不是大于等于0的数字。多日计划从配煤表中的库存开始计算，请先填写库存。")
                       .arg(fault.coal + 1)
                       .arg(coal);
            break;
        case ScheduleFault::Kind::Parts:
            text = tr("比例数必须是1到1000之间的整数。");
            break;
        case ScheduleFault::Kind::TooFewCoals:
            text = tr("至少需要两种煤才能配煤。");
            break;
        case ScheduleFault::Kind::Model:
            text = Say(fault.message);
            break;
        default:
            text = tr("计划的输入有误，请检查天数、每天吨数和到货。");
            break;
        }
        Prompt::message(this, text);
        return;
    }

    job_ = std::make_unique<ScheduleJob>(prepared->input);
    connect(job_.get(), &ScheduleJob::progressed, this, &ScheduleWindow::onProgress);
    connect(job_.get(), &ScheduleJob::finished, this, &ScheduleWindow::onFinished);
    btnJisuan_->setEnabled(false);
    auto* dialog = new QProgressDialog(tr("正在计算多日配煤计划……"), tr("取消"), 0, 0, this);
    dialog->setObjectName(QStringLiteral("dlgJisuan"));
    dialog->setWindowTitle(tr("多日配煤计划"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(500);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumWidth(420);
    connect(dialog, &QProgressDialog::canceled, this, [this] {
        if (job_)
            job_->cancel();
    });
    progress_ = dialog;
    job_->start();
}

void ScheduleWindow::onProgress(const ScheduleProgressStep& step, int elapsedMs)
{
    if (!progress_)
        return;
    const int limit = job_ ? job_->input().timeLimitMs / 1000 : 30;
    switch (step.stage) {
    case ScheduleProgressStep::Stage::Start:
        break;
    case ScheduleProgressStep::Stage::Search:
        progress_->setRange(0, limit);
        progress_->setValue(std::min(limit, elapsedMs / 1000));
        progress_->setLabelText(step.hasIncumbent
                                    ? tr("正在寻找更便宜的计划（最多%1秒）……\n目前最好的计划总成本 %2 元，与最优的差距不超过 %3%")
                                          .arg(limit)
                                          .arg(Money(step.incumbent))
                                          .arg(QString::number(100.0 * step.gap, 'f', 2))
                                    : tr("正在寻找满足全部条件的计划（最多%1秒）……").arg(limit));
        break;
    case ScheduleProgressStep::Stage::Explain:
        progress_->setRange(0, std::max(1, step.steps));
        progress_->setValue(std::min(step.done, step.steps));
        progress_->setLabelText(tr("没有满足全部条件的计划，正在分析原因……"));
        break;
    }
}

void ScheduleWindow::onFinished()
{
    std::unique_ptr<ScheduleJob> job = std::move(job_);
    if (progress_) {
        progress_->hide();
        progress_->deleteLater();
    }
    btnJisuan_->setEnabled(true);
    const Result<Schedule>& outcome = job->outcome();
    if (!outcome) {
        if (outcome.kind() != FailureKind::Cancelled)
            Prompt::show(this, tr("计算多日计划时出错，没有得到结果。") + Say(outcome));
        Q_EMIT computeFinished();
        return;
    }
    const Schedule& schedule = *outcome;
    if (schedule.status == Schedule::Status::None || schedule.status == Schedule::Status::Unknown) {
        showNoSchedule(job->input(), schedule);
        Q_EMIT computeFinished();
        return;
    }
    StoredSchedule shown;
    shown.input = job->input();
    shown.schedule = schedule;
    shown.name = planTitle();
    shown_ = shown;
    showSchedule();
    btnSaveJihua_->setEnabled(true);
    Q_EMIT computeFinished();
}

QString ScheduleWindow::planTitle() const
{
    if (!shown_)
        return QString();
    if (!shown_->name.isEmpty())
        return shown_->name;
    return QString();
}

void ScheduleWindow::showNoSchedule(const ScheduleInput& input, const Schedule& schedule)
{
    shown_.reset();
    lsvJihua_->setListData(ListData());
    chartKucun_->chart()->removeAllSeries();
    for (QAbstractAxis* axis : chartKucun_->chart()->axes())
        chartKucun_->chart()->removeAxis(axis);
    lbZongjia_->clear();
    btnSaveJihua_->setEnabled(false);
    btnDaochu_->setEnabled(false);
    btnZhuangche_->setEnabled(false);
    QString text;
    if (schedule.status == Schedule::Status::Unknown) {
        text = tr("在%1秒内既没有找到计划，也没能证明没有计划。请减少天数或比例数后再算。").arg(input.timeLimitMs / 1000);
    } else if (!schedule.reason) {
        text = tr("没有满足全部条件的计划。");
    } else if (schedule.reason->kind == NoScheduleReason::Kind::Bounds) {
        text = tr("没有满足全部条件的计划：第1天就无法配煤。即使库存足够，这些煤也配不出满足全部指标和必选煤种的配比。"
                  "请放宽指标范围或改变必选煤种，也可以在配煤表中计算一次配比看看原因。");
    } else if (schedule.reason->coal >= 0) {
        const int day = schedule.reason->day;
        const QString coal = input.model.coals[schedule.reason->coal].MingCheng;
        text = tr("没有满足全部条件的计划：第%1天无法配煤，因为%2的库存不够。到第%1天为止%2一共只有%3吨（库存加到货），"
                  "前%1天满足指标的配比需要更多的%2。请增加%2在第%1天或之前的到货，或减少每天配煤的吨数或天数。")
                   .arg(QString::number(day), coal, QString::number(schedule.reason->supplied, 'f', 2));
    } else {
        text = tr("没有满足全部条件的计划：第%1天无法配煤，因为库存不够。不止一种煤不足，单独增加任何一种煤都不够。"
                  "请增加第%1天或之前的到货，或减少每天配煤的吨数或天数。")
                   .arg(schedule.reason->day);
    }
    lbJieguo_->setText(text);
    Prompt::message(this, text);
}

void ScheduleWindow::showSchedule()
{
    const ScheduleInput& input = shown_->input;
    const Schedule& schedule = shown_->schedule;
    QString head = tr("%1天，每天%2吨").arg(input.days).arg(QString::number(input.tonsPerDay, 'g', 12));
    if (input.sameMix)
        head += tr("，每天配比相同");
    if (schedule.status == Schedule::Status::TimeLimit)
        head += tr("。计算到了%1秒的时限，这是找到的最好计划，与最便宜的计划相差不超过 %2%。")
                    .arg(input.timeLimitMs / 1000)
                    .arg(QString::number(100.0 * schedule.gap, 'f', 2));
    else
        head += tr("。这是满足全部条件的最便宜的计划。");
    lbJieguo_->setText(head);
    lbZongjia_->setText(tr("总成本：%1 元").arg(Money(schedule.totalCost)));
    lsvJihua_->setListData(ScheduleList(input, schedule));
    btnDaochu_->setEnabled(true);
    btnZhuangche_->setEnabled(true);

    QChart* chart = chartKucun_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    auto* x = new QValueAxis(chart);
    x->setTitleText(tr("天（0为开始时）"));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(0, input.days);
    x->setTickCount(std::min(input.days, 10) + 1);
    auto* y = new QValueAxis(chart);
    y->setTitleText(tr("库存（吨）"));
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    const std::vector<std::vector<double>> curve = StockCurve(input, schedule);
    double top = 0.0;
    for (int j = 0; j < static_cast<int>(curve.size()); ++j) {
        auto* series = new QLineSeries(chart);
        series->setObjectName(QStringLiteral("seriesKucun_%1").arg(j));
        series->setName(input.model.coals[j].MingCheng);
        for (int d = 0; d < static_cast<int>(curve[j].size()); ++d) {
            series->append(d, curve[j][d]);
            top = std::max(top, curve[j][d]);
        }
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    y->setRange(0, top > 0 ? top * 1.05 : 1.0);
    y->applyNiceNumbers();
}

void ScheduleWindow::btnSaveJihua_Click()
{
    if (!shown_)
        return;
    const QString name = tr("%1起%2天×%3吨%4")
                             .arg(context_.now().toString(QStringLiteral("yyyy-MM-dd")))
                             .arg(shown_->input.days)
                             .arg(QString::number(shown_->input.tonsPerDay, 'g', 12))
                             .arg(shown_->input.sameMix ? tr("，配比不变") : QString());
    const Result<int> id = StoreSchedule(context_.folder, name, shown_->input, shown_->schedule);
    if (!id) {
        Prompt::show(this, tr("保存计划失败，没有保存任何内容。") + Say(id));
        return;
    }
    shown_->id = *id;
    shown_->name = name;
    btnSaveJihua_->setEnabled(false);
    loadList();
    Prompt::message(this, tr("计划已保存。"));
}

void ScheduleWindow::btnDaochu_Click()
{
    if (!shown_)
        return;
    const QString path = AskExportPath(this, tr("导出文件"), context_.now(),
                                       QStringLiteral("Microsoft Excel .xlsx (*.xlsx)"), QStringLiteral("xlsx"));
    if (path.isEmpty())
        return;
    const QString title = shown_->name.isEmpty() ? tr("多日配煤计划") : shown_->name;
    const Status exported = ExportScheduleToXlsx(shown_->input, shown_->schedule, title, path);
    if (!exported) {
        Prompt::show(this, tr("导出失败：") + Say(exported));
        return;
    }
    if (Prompt::show(this, ExportDoneQuestion(), ExportDoneTitle(), Prompt::Icon::Question,
                     QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok)
        Prompt::openDocument(path);
}

void ScheduleWindow::btnZhuangche_Click()
{
    if (!shown_)
        return;
    const QString title = shown_->name.isEmpty() ? tr("多日配煤计划") : shown_->name;
    const Result<QVector<LoaderSheet>> sheets =
        ScheduleLoaderSheets(shown_->input, shown_->schedule, title, context_.now());
    if (!sheets) {
        Prompt::show(this, tr("无法生成装车单：") + Say(sheets), QString(), Prompt::Icon::Warning);
        return;
    }
    const QString path = SaveLoaderSheets(this, *sheets, context_.now());
    if (path.isEmpty())
        return;
    if (Prompt::show(this, ExportDoneQuestion(), ExportDoneTitle(), Prompt::Icon::Question,
                     QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok)
        Prompt::openDocument(path);
}

void ScheduleWindow::btnOpenJihua_Click()
{
    const int row = lsvJihuaList_->currentRow();
    if (row < 0) {
        Prompt::message(this, tr("请先在列表中选择一个计划。"));
        return;
    }
    const int id = lsvJihuaList_->cellText(row, 0).toInt();
    const Result<StoredSchedule> stored = LoadSchedule(context_.folder, id);
    if (!stored) {
        Prompt::show(this,
                     stored.kind() == FailureKind::Invalid ? tr("这个计划已不存在或无法读取。")
                                                           : tr("无法打开计划：") + Say(stored));
        loadList();
        return;
    }
    shown_ = *stored;
    txtTianshu_->setText(QString::number(shown_->input.days));
    txtMeitian_->setText(QString::number(shown_->input.tonsPerDay, 'g', 12));
    chkBubian_->setChecked(shown_->input.sameMix);
    deliveries_.clear();
    for (const Delivery& d : shown_->input.deliveries)
        if (d.coal >= 0 && d.coal < shown_->input.model.coals.size())
            deliveries_ << NamedDelivery{shown_->input.model.coals[d.coal].MingCheng, d.day, d.tons};
    fillDeliveries();
    showSchedule();
    btnSaveJihua_->setEnabled(false);
}

void ScheduleWindow::btnDelJihua_Click()
{
    const int row = lsvJihuaList_->currentRow();
    if (row < 0) {
        Prompt::message(this, tr("请先在列表中选择一个计划。"));
        return;
    }
    if (Prompt::show(this, tr("确认要删除吗？"), QString(), Prompt::Icon::Question, QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const int id = lsvJihuaList_->cellText(row, 0).toInt();
    if (Status deleted = DeleteSchedule(context_.folder, id); !deleted) {
        Prompt::show(this, tr("删除计划失败：") + Say(deleted));
        return;
    }
    if (shown_ && shown_->id == id)
        shown_->id = 0;
    loadList();
}
