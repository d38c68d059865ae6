#include "history/ScheduleStore.h"

#include "base/BasisWeight.h"
#include "base/QualityIndex.h"
#include "data/Dbconnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonArray Texts(const std::array<QString, kIndexCount>& texts)
{
    QJsonArray array;
    for (const QString& text : texts)
        array << text;
    return array;
}

void ReadTexts(const QJsonValue& value, std::array<QString, kIndexCount>& texts)
{
    const QJsonArray array = value.toArray();
    for (int i = 0; i < kIndexCount && i < array.size(); ++i)
        texts[i] = array[i].toString();
}

// Everything the plan was computed from, as the header keeps it.
QByteArray Settings(const ScheduleInput& input)
{
    QJsonArray coals;
    for (int j = 0; j < input.model.coals.size(); ++j) {
        const Mei& coal = input.model.coals[j];
        QJsonArray values;
        for (int i = 0; i < kIndexCount; ++i)
            values << IndexValue(coal, i);
        coals << QJsonObject{{"name", coal.MingCheng},
                             {"price", coal.JiaGe},
                             {"stock", coal.Kucun},
                             {"shovel", coal.MeiChan},
                             {"values", values},
                             {"must", j < input.model.mustInclude.size() && input.model.mustInclude[j]}};
    }
    QJsonArray bases;
    for (const Basis basis : input.model.weighting.basis)
        bases << BasisCode(basis);
    QJsonArray deliveries;
    for (const Delivery& d : input.deliveries)
        deliveries << QJsonObject{{"coal", d.coal}, {"day", d.day}, {"tons", d.tons}};
    const QJsonObject root{{"coals", coals},
                           {"lower", Texts(input.model.lower)},
                           {"upper", Texts(input.model.upper)},
                           {"shovel", input.model.shovelMode},
                           {"weighting", input.model.weighting.on},
                           {"bases", bases},
                           {"deliveries", deliveries}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool ReadSettings(const QString& text, ScheduleInput& input)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject root = document.object();
    for (const QJsonValue& value : root.value("coals").toArray()) {
        const QJsonObject o = value.toObject();
        Mei coal;
        coal.MingCheng = o.value("name").toString();
        coal.JiaGe = o.value("price").toDouble();
        coal.Kucun = o.value("stock").toString();
        coal.MeiChan = o.value("shovel").toString();
        const QJsonArray values = o.value("values").toArray();
        for (int i = 0; i < kIndexCount && i < values.size(); ++i)
            IndexValue(coal, i) = values[i].toString();
        input.model.coals << coal;
        input.model.mustInclude << o.value("must").toBool();
    }
    ReadTexts(root.value("lower"), input.model.lower);
    ReadTexts(root.value("upper"), input.model.upper);
    input.model.shovelMode = root.value("shovel").toBool();
    input.model.weighting.on = root.value("weighting").toBool();
    const QJsonArray bases = root.value("bases").toArray();
    for (int i = 0; i < kIndexCount && i < bases.size(); ++i)
        input.model.weighting.basis[i] = BasisFromCode(bases[i].toString()).value_or(input.model.weighting.basis[i]);
    for (const QJsonValue& value : root.value("deliveries").toArray()) {
        const QJsonObject o = value.toObject();
        input.deliveries.push_back(Delivery{o.value("coal").toInt(), o.value("day").toInt(), o.value("tons").toDouble()});
    }
    return input.model.coals.size() >= 1;
}

}  // namespace

Result<int> StoreSchedule(const AppFolder& folder, const QString& name, const ScheduleInput& input,
                          const Schedule& schedule)
{
    int id = 0;
    const Status stored = InTransaction(folder, [&]() -> Status {
        const Result<int> header = InsertRow(
            QStringLiteral("Jihua"),
            {QStringLiteral("mingcheng"), QStringLiteral("tianshu"), QStringLiteral("meitian"), QStringLiteral("chanshu"),
             QStringLiteral("bubian"), QStringLiteral("chan"), QStringLiteral("zongjia"), QStringLiteral("zhuangtai"),
             QStringLiteral("jianxi"), QStringLiteral("canshu")},
            {TextValue(name), input.days, input.tonsPerDay, input.parts, input.sameMix ? 1 : 0,
             input.model.shovelMode ? 1 : 0, schedule.totalCost,
             schedule.status == Schedule::Status::TimeLimit ? 1 : 0, schedule.gap,
             QString::fromUtf8(Settings(input))});
        if (!header)
            return header.failure();
        id = *header;
        for (int d = 0; d < static_cast<int>(schedule.days.size()); ++d) {
            const ScheduleDay& day = schedule.days[d];
            for (int j = 0; j < static_cast<int>(day.parts.size()); ++j)
                if (Status saved = Execute(QStringLiteral("insert into Jihua_ri (followid, tian, xuhao, mei, fenshu, dunshu) "
                                                          "values (?, ?, ?, ?, ?, ?)"),
                                           {id, d + 1, j + 1, TextValue(input.model.coals[j].MingCheng), day.parts[j],
                                            day.tons[j]});
                    !saved)
                    return saved;
        }
        return {};
    });
    if (!stored)
        return stored.failure();
    return id;
}

Result<QVector<ScheduleSummary>> LoadScheduleList(const AppFolder& folder)
{
    auto scope = ConnectionScope::Open(folder);
    if (!scope)
        return scope.failure();
    auto query = RunQuery(QStringLiteral("select id, mingcheng, riqi, tianshu, meitian, bubian, zongjia from Jihua "
                                         "order by id desc"));
    if (!query)
        return query.failure();
    QVector<ScheduleSummary> list;
    while (query->next())
        list << ScheduleSummary{query->value(0).toInt(),         query->value(1).toString(),
                                DateTimeValue(query->value(2)),  query->value(3).toInt(),
                                query->value(4).toDouble(),      query->value(5).toInt() != 0,
                                query->value(6).toDouble()};
    return list;
}

Result<StoredSchedule> LoadSchedule(const AppFolder& folder, int id)
{
    auto scope = ConnectionScope::Open(folder);
    if (!scope)
        return scope.failure();
    auto header = RunQuery(QStringLiteral("select mingcheng, tianshu, meitian, chanshu, bubian, chan, zhuangtai, jianxi, "
                                          "canshu from Jihua where id=?"),
                           {id});
    if (!header)
        return header.failure();
    if (!header->next())
        return Invalid(QString());
    StoredSchedule stored;
    stored.id = id;
    stored.name = header->value(0).toString();
    ScheduleInput& input = stored.input;
    input.days = header->value(1).toInt();
    input.tonsPerDay = header->value(2).toDouble();
    input.parts = header->value(3).toInt();
    input.sameMix = header->value(4).toInt() != 0;
    const bool shovel = header->value(5).toInt() != 0;
    stored.schedule.status = header->value(6).toInt() == 1 ? Schedule::Status::TimeLimit : Schedule::Status::Optimal;
    stored.schedule.gap = header->value(7).toDouble();
    if (!ReadSettings(header->value(8).toString(), input))
        return Invalid(QString());
    input.model.shovelMode = shovel;
    const int k = static_cast<int>(input.model.coals.size());
    std::vector<std::vector<int>> parts(std::max(0, input.days), std::vector<int>(k, 0));
    auto rows = RunQuery(QStringLiteral("select tian, xuhao, fenshu from Jihua_ri where followid=? order by tian, xuhao"),
                         {id});
    if (!rows)
        return rows.failure();
    while (rows->next()) {
        const int d = rows->value(0).toInt() - 1;
        const int j = rows->value(1).toInt() - 1;
        if (d >= 0 && d < input.days && j >= 0 && j < k)
            parts[d][j] = rows->value(2).toInt();
    }
    stored.schedule.days = ScheduleDays(input, parts);
    for (const ScheduleDay& day : stored.schedule.days)
        stored.schedule.totalCost += day.cost;
    return stored;
}

Status DeleteSchedule(const AppFolder& folder, int id)
{
    return InTransaction(folder, [&]() -> Status {
        if (Status deleted = Execute(QStringLiteral("delete from Jihua_ri where followid=?"), {id}); !deleted)
            return deleted;
        return Execute(QStringLiteral("delete from Jihua where id=?"), {id});
    });
}
