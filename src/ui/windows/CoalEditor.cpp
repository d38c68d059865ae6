#include "ui/windows/CoalEditor.h"

#include "base/CoalRules.h"
#include "base/QualityIndex.h"
#include "data/CoalTable.h"
#include "ui/widgets/IndexCaptions.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/ReportList.h"
#include "ui/widgets/Say.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* RedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #d00000;"));
    return label;
}

// The caption of a column of meitan, as the change record shows it.
QString ColumnCaption(const QString& column)
{
    for (int i = 0; i < kIndexCount; ++i)
        if (column.compare(QLatin1String(QualityIndices()[i].column), Qt::CaseInsensitive) == 0)
            return IndexHeader(i);
    if (column.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        return CoalEditor::tr("煤名称");
    if (column.compare(QLatin1String("Meichan"), Qt::CaseInsensitive) == 0)
        return CoalEditor::tr("每铲吨数");
    if (column.compare(QLatin1String("kucun"), Qt::CaseInsensitive) == 0)
        return CoalEditor::tr("库存");
    if (column.compare(QLatin1String("JiaGe"), Qt::CaseInsensitive) == 0)
        return CoalEditor::tr("价格");
    return column;
}

QString TimeShown(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace

CoalEditor::CoalEditor(const WindowContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("录入煤种"));

    auto* hint = RedLabel(tr("请不要把 % 填写进去"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    auto* required = RedLabel(tr("红色字为必填项"), this);
    required->setObjectName(QStringLiteral("Label2"));

    auto* frame = new QGroupBox(tr("煤种详细信息"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->setColumnMinimumWidth(3, 24);

    const QStringList& names = EditorFieldNames();
    const QStringList& labels = EditorFieldLabels();
    for (int i = 0; i < kEditorFieldCount; ++i) {
        fields_[i] = new QLineEdit(frame);
        fields_[i]->setObjectName(names[i]);
        fields_[i]->setMinimumWidth(120);
    }

    // Row 1: the name across the whole row; rows 2 to 10: two fields each,
    // read left to right in the tab order.
    grid->addWidget(RedLabel(labels[0], frame), 0, 0);
    grid->addWidget(fields_[0], 0, 1, 1, 6);
    const QString tons = tr("吨");
    const int stock = kIndexCount + 1;
    const int shovel = kIndexCount + 2;
    const int price = kIndexCount + 3;
    for (int i = 1; i < kEditorFieldCount; ++i) {
        const int row = (i + 1) / 2;
        const int column = (i % 2 == 1) ? 0 : 4;
        QLabel* label = (i == price) ? RedLabel(labels[i], frame) : new QLabel(labels[i], frame);
        label->setBuddy(fields_[i]);
        // The unit and the ranges, where the eye is when typing.
        fields_[i]->setToolTip(Say(FieldLimitsTip(i)));
        label->setToolTip(fields_[i]->toolTip());
        grid->addWidget(label, row, column);
        grid->addWidget(fields_[i], row, column + 1);
        if (i == stock || i == shovel)
            grid->addWidget(new QLabel(tons, frame), row, column + 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(5, 1);

    for (int i = 1; i < kEditorFieldCount; ++i)
        setTabOrder(fields_[i - 1], fields_[i]);

    btnSubmit_ = new QPushButton(tr("确 认"), this);
    btnSubmit_->setObjectName(QStringLiteral("btnSubmit"));
    btnSubmit_->setMinimumWidth(120);
    setTabOrder(fields_[kEditorFieldCount - 1], btnSubmit_);

    auto* top = new QHBoxLayout;
    top->addWidget(hint);
    top->addStretch();
    top->addWidget(required);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnSubmit_);
    bottom->addStretch();

    // Who changed what of this coal, and when; newest first.
    auto* changes = new QGroupBox(tr("修改记录"), this);
    changes->setObjectName(QStringLiteral("fraXiugai"));
    lsvXiugai_ = new ReportList(changes);
    lsvXiugai_->setObjectName(QStringLiteral("lsvXiugai"));
    lsvXiugai_->setSortOnHeaderClick(false);
    ListData columns;
    columns.addColumn(tr("时间"), 2000);
    columns.addColumn(tr("用户"), 1800);
    columns.addColumn(tr("项目"), 1100);
    columns.addColumn(tr("原值"), 1300);
    columns.addColumn(tr("新值"), 1300);
    lsvXiugai_->setListData(columns);
    lsvXiugai_->setMinimumHeight(140);
    auto* changesLayout = new QVBoxLayout(changes);
    changesLayout->addWidget(lsvXiugai_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(frame);
    layout->addLayout(bottom);
    layout->addWidget(changes, 1);

    connect(btnSubmit_, &QPushButton::clicked, this, &CoalEditor::btnSubmit_Click);
    // Enter on the focused button confirms, as a click does.
    btnSubmit_->setAutoDefault(true);
    resize(640, sizeHint().height() + 60);
}

CoalFields CoalEditor::fields() const
{
    CoalFields result;
    for (int i = 0; i < kEditorFieldCount; ++i)
        result.at(i) = fields_[i]->text();
    return result;
}

void CoalEditor::setFields(const CoalFields& values)
{
    for (int i = 0; i < kEditorFieldCount; ++i)
        fields_[i]->setText(values.at(i));
}

void CoalEditor::setId(int id)
{
    id_ = id;
    loaded_ = CoalFields();
    readVersion_.reset();
    if (id == 0) {
        setFields(CoalFields());
        showChanges();
        return;
    }
    const Result<std::optional<VersionedCoal>> coal = LoadStoredCoal(context_.folder, id);
    if (!coal) {
        setFields(CoalFields());
        id_ = 0;
        showChanges();
        Prompt::show(this, tr("读取煤种失败：") + Say(coal), QString(), Prompt::Icon::Critical);
        return;
    }
    if (coal->has_value()) {
        loaded_ = FieldsFromCoal((*coal)->coal);
        setFields(loaded_);
        readVersion_ = (*coal)->version;
    } else {
        setFields(CoalFields());
    }
    showChanges();
}

void CoalEditor::showChanges()
{
    QVector<ListRow> rows;
    if (id_ != 0) {
        const Result<QVector<CoalChange>> changes = LoadCoalChanges(context_.folder, id_);
        if (changes) {
            for (const CoalChange& change : *changes)
                rows.append(ListRow{TimeShown(change.time),
                                    {change.user, ColumnCaption(change.column), change.before, change.after},
                                    false});
        }
        // A record that cannot be read leaves the list empty; the coal itself
        // was read and can be saved.
    }
    lsvXiugai_->setRows(rows);
}

void CoalEditor::saved(int id, bool added)
{
    Prompt::message(this, added ? tr("添加煤种成功！") : tr("修改成功！"));
    id_ = 0;
    readVersion_.reset();
    Q_EMIT coalSaved(id, added);
    close();
}

void CoalEditor::btnSubmit_Click()
{
    const CoalFields values = fields();
    if (Status checked = CheckFields(values); !checked) {
        Prompt::message(this, Say(checked));
        return;
    }
    QStringList doubts;
    for (const Text& doubt : ImplausibleValues(values))
        doubts << Say(doubt);
    if (!doubts.isEmpty()) {
        const QString question = tr("下面的数值不在常见范围内，请核对是否填错：\n\n%1\n\n仍要保存吗？")
                                     .arg(doubts.join(QLatin1Char('\n')));
        if (Prompt::show(this, question, QString(), Prompt::Icon::Question, QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No)
            != QMessageBox::Yes)
            return;
    }
    const Mei coal = CollectCoal(values, id_, context_.now());
    CoalSaveOptions options;
    if (id_ != 0)
        options.readVersion = readVersion_;
    Result<CoalSaveOutcome> outcome = StoreCoal(context_.folder, coal, options);
    if (outcome && outcome->kind == CoalSaveOutcome::Kind::Conflict) {
        // Someone else saved this coal since it was read here: their values
        // are not overwritten unless the user says so.
        const QString by = outcome->savedBy.isEmpty() ? tr("其他用户") : outcome->savedBy;
        const QString at = outcome->savedAt.isValid() ? TimeShown(outcome->savedAt) : tr("刚才");
        const int choice = Prompt::choose(this, tr("这个煤种已被 %1 于 %2 修改。").arg(by, at), QString(),
                                          Prompt::Icon::Warning, {tr("重新读取"), tr("覆盖")}, Reload, -1);
        if (choice != Overwrite) {
            // Their values, and the version they made, into the editor.
            setId(id_);
            return;
        }
        options.readVersion.reset();
        outcome = StoreCoal(context_.folder, coal, options);
    }
    if (!outcome) {
        Prompt::show(this, tr("保存煤种失败：") + Say(outcome), QString(), Prompt::Icon::Critical);
        return;
    }
    if (outcome->kind == CoalSaveOutcome::Kind::Gone) {
        // What the user typed stays, so it can be saved as a new coal.
        id_ = 0;
        readVersion_.reset();
        showChanges();
        Prompt::show(this,
                     tr("这个煤种已被别人删除，没有保存。\n窗口中的内容仍然保留，再按“确 认”将把它作为新煤种添加。"),
                     QString(), Prompt::Icon::Warning);
        return;
    }
    saved(outcome->id, id_ == 0);
}

void CoalEditor::closeEvent(QCloseEvent* event)
{
    id_ = 0;
    QWidget::closeEvent(event);
}
