#include "ui/windows/SelectDialog.h"

#include "data/CoalTable.h"
#include "export/ListLayouts.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Say.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

SelectDialog::SelectDialog(const WindowContext& context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("frmSelect"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("选择煤种参与配煤"));

    auto* note = new QLabel(tr("在煤种前面√选择要参与配比的煤种"), this);
    note->setObjectName(QStringLiteral("Label1"));

    auto* fraTop = new QGroupBox(tr("煤种库存"), this);
    fraTop->setObjectName(QStringLiteral("fraTop"));
    lsvTop_ = new ReportList(fraTop);
    lsvTop_->setObjectName(QStringLiteral("lsvTop"));
    lsvTop_->setCheckBoxes(true);
    auto* frameLayout = new QVBoxLayout(fraTop);
    const int margin = 7;
    frameLayout->setContentsMargins(margin, margin, margin, margin);
    frameLayout->addWidget(lsvTop_);

    btnCheckAll_ = new QPushButton(tr("全选"), this);
    btnCheckAll_->setObjectName(QStringLiteral("btnCheckAll"));
    Command1_ = new QPushButton(tr("确定选择"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnCheckAll_);
    buttons->addStretch();
    buttons->addWidget(Command1_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(note);
    layout->addWidget(fraTop, 1);
    layout->addLayout(buttons);

    connect(btnCheckAll_, &QPushButton::clicked, this, &SelectDialog::btnCheckAll_Click);
    connect(Command1_, &QPushButton::clicked, this, &SelectDialog::ConfirmSelection);
    connect(lsvTop_, &ReportList::rowClicked, this, &SelectDialog::lsvTop_Click);
    connect(lsvTop_, &ReportList::rowCheckChanged, this, [this](int row, bool) {
        // A click on the box itself has already flipped it; the click on the
        // row that the same mouse release reports must not flip it back.
        toggledByBox_ = row;
        QTimer::singleShot(0, this, [this] { toggledByBox_ = -1; });
    });

    Form_Load();
}

void SelectDialog::Form_Load()
{
    // Wide enough for the list's twenty columns where the screen has room;
    // placing the window keeps it inside the screen.
    resize(QSize(1500, 520).expandedTo(minimumSizeHint()));

    ListData list;
    SetupCoalColumns(list);
    if (const Result<QVector<Mei>> coals = LoadCoals(context_.folder); coals)
        FillCoalRows(list, *coals);
    else
        Prompt::show(this, tr("读取煤种失败：") + Say(coals), QString(), Prompt::Icon::Critical);
    lsvTop_->setListData(std::move(list));
}

void SelectDialog::flipRow(int row)
{
    QAbstractItemModel* model = lsvTop_->model();
    const QModelIndex index = model->index(row, 0);
    const bool checked = lsvTop_->listData().rows[row].checked;
    model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void SelectDialog::lsvTop_Click(int row)
{
    if (row == toggledByBox_) {
        toggledByBox_ = -1;
        return;
    }
    if (row >= 0 && row < lsvTop_->rowCount())
        flipRow(row);
    toggledByBox_ = -1;
}

void SelectDialog::btnCheckAll_Click()
{
    QVector<ListRow> rows = lsvTop_->listData().rows;
    for (ListRow& row : rows)
        row.checked = !row.checked;
    lsvTop_->setRows(std::move(rows));
}

void SelectDialog::ConfirmSelection()
{
    QStringList keys;
    for (const ListRow& row : lsvTop_->listData().rows)
        if (row.checked)
            keys << row.text;
    if (keys.size() > kMaxCoals)
        Prompt::message(this, tr("最多只能选择%1种煤").arg(kMaxCoals));
    const QVector<int> ids = IdsFromKeys(keys);
    if (ids.isEmpty())
        return;
    const Result<QVector<Mei>> coals = LoadCoalsById(context_.folder, ids);
    if (!coals) {
        Prompt::show(this, tr("读取煤种失败：") + Say(coals), QString(), Prompt::Icon::Critical);
        return;
    }
    Q_EMIT coalsChosen(*coals);
    close();
}
