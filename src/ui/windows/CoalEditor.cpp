#include "ui/windows/CoalEditor.h"

#include "base/CoalRules.h"
#include "data/CoalTable.h"
#include "ui/widgets/Prompt.h"

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

}  // namespace

CoalEditor::CoalEditor(const WindowContext& context, QWidget* parent) : QWidget(parent), context_(context)
{
    setObjectName(QStringLiteral("frmUpdate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("录入煤种"));

    auto* hint = RedLabel(QStringLiteral("请不要把 % 填写进去"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    auto* required = RedLabel(QStringLiteral("红色字为必填项"), this);
    required->setObjectName(QStringLiteral("Label2"));

    auto* frame = new QGroupBox(QStringLiteral("煤种详细信息"), this);
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
    const QString tons = QStringLiteral("吨");
    const int stock = kIndexCount + 1;
    const int shovel = kIndexCount + 2;
    const int price = kIndexCount + 3;
    for (int i = 1; i < kEditorFieldCount; ++i) {
        const int row = (i + 1) / 2;
        const int column = (i % 2 == 1) ? 0 : 4;
        QLabel* label = (i == price) ? RedLabel(labels[i], frame) : new QLabel(labels[i], frame);
        label->setBuddy(fields_[i]);
        // The unit and the ranges, where the eye is when typing.
        fields_[i]->setToolTip(FieldLimitsTip(i));
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

    btnSubmit_ = new QPushButton(QStringLiteral("确 认"), this);
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(frame);
    layout->addLayout(bottom);

    connect(btnSubmit_, &QPushButton::clicked, this, &CoalEditor::btnSubmit_Click);
    resize(560, sizeHint().height());
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
    if (id == 0) {
        setFields(CoalFields());
        return;
    }
    const Result<std::optional<Mei>> coal = LoadCoal(context_.folder, id);
    if (!coal) {
        setFields(CoalFields());
        id_ = 0;
        Prompt::show(this, QStringLiteral("读取煤种失败：") + coal.message(), QString(), Prompt::Icon::Critical);
        return;
    }
    setFields(FieldsFromCoal(coal->value_or(Mei())));
}

void CoalEditor::btnSubmit_Click()
{
    const CoalFields values = fields();
    if (Status checked = CheckFields(values); !checked) {
        Prompt::message(this, checked.message());
        return;
    }
    if (const QStringList doubts = ImplausibleValues(values); !doubts.isEmpty()) {
        const QString question = QStringLiteral("下面的数值不在常见范围内，请核对是否填错：\n\n%1\n\n仍要保存吗？")
                                     .arg(doubts.join(QLatin1Char('\n')));
        if (Prompt::show(this, question, QString(), Prompt::Icon::Question, QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No)
            != QMessageBox::Yes)
            return;
    }
    const Result<int> saved = SaveCoal(context_.folder, CollectCoal(values, id_, context_.now()));
    if (!saved) {
        Prompt::show(this, QStringLiteral("保存煤种失败：") + saved.message(), QString(), Prompt::Icon::Critical);
        return;
    }
    const bool added = id_ == 0;
    Prompt::message(this, added ? QStringLiteral("添加煤种成功！") : QStringLiteral("修改成功！"));
    id_ = 0;
    Q_EMIT coalSaved(*saved, added);
    close();
}

void CoalEditor::closeEvent(QCloseEvent* event)
{
    id_ = 0;
    QWidget::closeEvent(event);
}
