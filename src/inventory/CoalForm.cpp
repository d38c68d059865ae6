#include "inventory/CoalForm.h"

#include "base/CoalRules.h"
#include "base/NumberText.h"

namespace {

constexpr int kStockPosition = kIndexCount + 1;
constexpr int kShovelPosition = kIndexCount + 2;
constexpr int kPricePosition = kIndexCount + 3;

// A field's position: the name is first, the indices follow in table order.
int PositionOf(const char* property)
{
    for (int i = 0; i < kIndexCount; ++i)
        if (qstrcmp(QualityIndices()[i].property, property) == 0)
            return 1 + i;
    return -1;
}

struct NumberCheck {
    int position;
    QString message;
};

// The order in which the editor reports fields that are not numbers. The
// dry ash-free volatile matter has no check of its own: text in it is saved
// as empty by the value text rule.
const QVector<NumberCheck>& NumberChecks()
{
    static const QVector<NumberCheck> checks = [] {
        QVector<NumberCheck> list;
        const char* order[] = {"HuiFen", "HuiFaFen", "Liu",       "ShuiFen",  "ReLiang",
                               "GaoWeiReLiang", "Y", "G", "neishui", "gudingtan",
                               "kemoxing", "huirongdian", "fenxiji"};
        for (const char* field : order) {
            const int position = PositionOf(field);
            list.append({position, QString::fromUtf8(QualityIndices()[position - 1].editorMessage)});
        }
        list.append({kShovelPosition, QStringLiteral("填写的每铲等于多少吨必须是数字")});
        const int recovery = 1 + kRecoveryIndex;
        list.append({recovery, QString::fromUtf8(QualityIndices()[kRecoveryIndex].editorMessage)});
        list.append({kPricePosition, QStringLiteral("填写的价格必须是数字")});
        list.append({kStockPosition, QStringLiteral("填写的库存必须是数字")});
        return list;
    }();
    return checks;
}

// The range rule on every field holding a number, in the tab order.
QVector<ValueVerdict> RangeVerdicts(const CoalFields& fields)
{
    QVector<ValueVerdict> verdicts;
    for (int position = 1; position < kEditorFieldCount; ++position) {
        const QString& text = fields.at(position);
        if (text.isEmpty() || !IsUsableNumber(text))
            continue;
        ValueVerdict verdict = CheckCoalValue(position, *ReadNumberText(text));
        if (verdict.fit != ValueFit::Fine)
            verdicts << std::move(verdict);
    }
    return verdicts;
}

}  // namespace

QString& CoalFields::at(int position)
{
    if (position == 0)
        return name;
    if (position <= kIndexCount)
        return indices[position - 1];
    if (position == kStockPosition)
        return stock;
    if (position == kShovelPosition)
        return shovel;
    return price;
}

const QString& CoalFields::at(int position) const
{
    return const_cast<CoalFields*>(this)->at(position);
}

Status CheckFields(const CoalFields& fields)
{
    static const QString lineEnd = QStringLiteral("\r\n");
    QString message;
    if (fields.name.isEmpty())
        message += QStringLiteral("请填写煤名称") + lineEnd;
    else if (const QString problem = CoalNameProblem(NormalizedCoalName(fields.name)); !problem.isEmpty())
        message += problem + lineEnd;
    if (fields.price.isEmpty())
        message += QStringLiteral("请填写煤的价格") + lineEnd;
    for (const NumberCheck& check : NumberChecks()) {
        const QString& text = fields.at(check.position);
        if (!text.isEmpty() && !IsUsableNumber(text))
            message += check.message + lineEnd;
    }
    for (const ValueVerdict& verdict : RangeVerdicts(fields))
        if (verdict.fit == ValueFit::Refused)
            message += QStringLiteral("填写的") + verdict.message + lineEnd;
    if (message.isEmpty())
        return {};
    return Invalid(message);
}

QStringList ImplausibleValues(const CoalFields& fields)
{
    QStringList doubts;
    for (const ValueVerdict& verdict : RangeVerdicts(fields))
        if (verdict.fit == ValueFit::Implausible)
            doubts << verdict.message;
    return doubts;
}

Mei CollectCoal(const CoalFields& fields, int id, const QDateTime& savedAt)
{
    Mei coal;
    coal.id = id;
    coal.MingCheng = NormalizedCoalName(fields.name);
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(coal, i) = FormatIndexValue(fields.indices[i]);
    coal.MeiChan = FormatIndexValue(fields.shovel);
    coal.Kucun = FormatIndexValue(fields.stock);
    coal.JiaGe = ToRoundedDouble(fields.price);
    coal.Riqi = savedAt;
    return coal;
}

CoalFields FieldsFromCoal(const Mei& coal)
{
    CoalFields fields;
    fields.name = coal.MingCheng;
    for (int i = 0; i < kIndexCount; ++i)
        fields.indices[i] = FormatIndexValue(IndexValue(coal, i));
    fields.stock = FormatIndexValue(coal.Kucun);
    fields.shovel = FormatIndexValue(coal.MeiChan);
    fields.price = FormatIndexValue(coal.JiaGe);
    return fields;
}
