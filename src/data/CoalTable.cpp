#include "data/CoalTable.h"

#include "base/NumberText.h"
#include "base/QualityIndex.h"
#include "data/Dbconnection.h"

#include <QSqlRecord>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// Column names of the coal values, in the order they are written.
QStringList ValueColumns()
{
    QStringList columns{QStringLiteral("Name")};
    for (const auto& index : QualityIndices())
        columns << QLatin1String(index.column);
    columns << QStringLiteral("Meichan") << QStringLiteral("kucun") << QStringLiteral("JiaGe")
            << QStringLiteral("riqi");
    return columns;
}

QVariantList Values(const Mei& coal)
{
    QVariantList values{TextValue(coal.MingCheng)};
    for (int i = 0; i < kIndexCount; ++i)
        values << TextValue(IndexValue(coal, i));
    values << TextValue(coal.MeiChan) << TextValue(coal.Kucun) << coal.JiaGe
           << (coal.Riqi.isValid() ? QVariant(coal.Riqi.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                                   : QVariant());
    return values;
}

// A field by name regardless of letter case; Null when the column is absent.
QVariant Field(const QSqlRecord& record, const char* name)
{
    const int at = record.indexOf(QLatin1String(name));
    return at < 0 ? QVariant() : record.value(at);
}

Result<QVector<Mei>> LoadWhere(const AppFolder& folder, const QString& sql, const QVariantList& values)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(sql, values);
    if (!query)
        return query.failure();
    QVector<Mei> coals;
    while (query->next())
        coals << CoalFromRecord(query->record());
    return coals;
}

// The typed text as a LIKE pattern that matches it anywhere, with every
// character standing for itself.
QString ContainsPattern(const QString& typed)
{
    QString escaped;
    escaped.reserve(typed.size() + 2);
    escaped += QLatin1Char('%');
    for (const QChar c : typed) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    escaped += QLatin1Char('%');
    return escaped;
}

// The rows LoadCoals or SearchCoals read: the condition after "from meitan"
// and its values. The table's own order is the order of its row numbers,
// which a full read follows; said outright, a read of fewer columns keeps it.
// In coal.dat the id is that number; a server has no other, so both order
// by id. A name filter needs the shared connection open (ContainsMatch).
std::pair<QString, QVariantList> CoalFilter(const std::optional<QString>& typed)
{
    if (!typed)
        return {QStringLiteral(" order by id"), {}};
    return {QStringLiteral(" where ") + ContainsMatch(QStringLiteral("name")) + QStringLiteral(" order by id"),
            {ContainsPattern(*typed)}};
}

constexpr auto kVersionColumn = "banbenhao";

// The columns of meitan a change record names, and a coal's texts of them in
// the same order.
QStringList RecordedColumns()
{
    QStringList columns = ValueColumns();
    columns.removeLast();  // riqi: when it was saved is the record's own time
    return columns;
}

QStringList RecordedTexts(const Mei& coal)
{
    QStringList texts{coal.MingCheng};
    for (int i = 0; i < kIndexCount; ++i)
        texts << IndexValue(coal, i);
    texts << coal.MeiChan << coal.Kucun << QString::number(coal.JiaGe, 'f', 2);
    return texts;
}

QString TimeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// One row per field whose text differs, in one statement.
Status WriteChanges(int coalId, const QDateTime& at, const QString& user, const QStringList& before,
                    const QStringList& after)
{
    const QStringList columns = RecordedColumns();
    QStringList rows;
    QVariantList values;
    for (int i = 0; i < columns.size(); ++i) {
        const QString was = before.value(i);
        const QString is = after.value(i);
        if (was == is)
            continue;
        rows << QStringLiteral("(?, ?, ?, ?, ?, ?)");
        values << coalId << TimeText(at) << TextValue(user) << columns[i] << TextValue(was) << TextValue(is);
    }
    if (rows.isEmpty())
        return {};
    return Execute(QStringLiteral("insert into meitan_xiugai (meiid, riqi, yonghu, xiangmu, yuanzhi, xinzhi) values ")
                       + rows.join(QStringLiteral(", ")),
                   values);
}

// The coal's row with its version; nothing when there is none. For a write
// it is locked on a server until the transaction ends, so that two planners
// saving it at once save one after the other.
Result<std::optional<VersionedCoal>> ReadVersioned(int id, bool forWrite)
{
    auto query = RunQuery(QStringLiteral("select * from meitan where id=?")
                              + (forWrite && OnServer() ? QStringLiteral(" for update") : QString()),
                          {id});
    if (!query)
        return query.failure();
    if (!query->next())
        return std::optional<VersionedCoal>();
    const QSqlRecord record = query->record();
    return std::optional<VersionedCoal>(VersionedCoal{CoalFromRecord(record), Field(record, kVersionColumn).toInt()});
}

}  // namespace

QString CurrentChangeUser()
{
    QString login;
    for (const char* name : {"USER", "USERNAME", "LOGNAME"}) {
        login = qEnvironmentVariable(name).trimmed();
        if (!login.isEmpty())
            break;
    }
#ifdef Q_OS_UNIX
    // A program started without a login shell's environment (a service, a
    // desktop launcher) still runs as an account.
    if (login.isEmpty())
        if (const passwd* account = getpwuid(geteuid()); account && account->pw_name)
            login = QString::fromLocal8Bit(account->pw_name);
#endif
    if (login.isEmpty())
        login = QStringLiteral("?");
    const QString computer = QSysInfo::machineHostName();
    return computer.isEmpty() ? login : login + QLatin1Char('@') + computer;
}

Mei CoalFromRecord(const QSqlRecord& record)
{
    Mei coal;
    coal.id = Field(record, "id").toInt();
    const QVariant name = Field(record, "Name");
    coal.MingCheng = name.isNull() ? QString() : name.toString();
    for (int i = 0; i < kIndexCount; ++i)
        IndexValue(coal, i) = FormatIndexValue(Field(record, QualityIndices()[i].column));
    coal.Kucun = FormatIndexValue(Field(record, "kucun"));
    coal.MeiChan = FormatIndexValue(Field(record, "meichan"));
    coal.JiaGe = ToRoundedDouble(Field(record, "JiaGe"));
    return coal;
}

Result<CoalSaveOutcome> StoreCoal(const AppFolder& folder, const Mei& coal, const CoalSaveOptions& options)
{
    const QString user = options.user.isEmpty() ? CurrentChangeUser() : options.user;
    const QDateTime at = coal.Riqi.isValid() ? coal.Riqi : QDateTime::currentDateTime();
    const QStringList after = RecordedTexts(coal);
    CoalSaveOutcome outcome;
    const Status done = InOrJoinTransaction(folder, [&]() -> Status {
        outcome = CoalSaveOutcome{};
        outcome.id = coal.id;
        QStringList columns = ValueColumns();
        QVariantList values = Values(coal);
        columns << QLatin1String(kVersionColumn);
        if (coal.id == 0) {
            values << 1;
            const Result<int> id = InsertRow(QStringLiteral("meitan"), columns, values);
            if (!id)
                return id.failure();
            outcome.id = *id;
            outcome.version = 1;
            if (Status recorded = WriteChanges(*id, at, user, QStringList(), after); !recorded)
                return recorded;
            return AnnounceChange(kCoalsChannel);
        }
        const Result<std::optional<VersionedCoal>> stored = ReadVersioned(coal.id, true);
        if (!stored)
            return stored.failure();
        if (!stored->has_value()) {
            outcome.kind = CoalSaveOutcome::Kind::Gone;
            return {};
        }
        const int version = (*stored)->version;
        if (options.readVersion && *options.readVersion != version) {
            outcome.kind = CoalSaveOutcome::Kind::Conflict;
            outcome.version = version;
            auto last = RunQuery(QStringLiteral("select yonghu, riqi from meitan_xiugai where meiid=? order by id desc limit 1"),
                                 {coal.id});
            if (!last)
                return last.failure();
            if (last->next()) {
                outcome.savedBy = last->value(0).toString();
                outcome.savedAt = DateTimeValue(last->value(1));
            }
            return {};
        }
        values << version + 1 << coal.id;
        QStringList assignments;
        for (const QString& column : columns)
            assignments << column + QStringLiteral("=?");
        if (Status updated = Execute(
                QStringLiteral("update meitan set %1 where id=?").arg(assignments.join(QStringLiteral(", "))), values);
            !updated)
            return updated;
        outcome.version = version + 1;
        if (Status recorded = WriteChanges(coal.id, at, user, RecordedTexts((*stored)->coal), after); !recorded)
            return recorded;
        return AnnounceChange(kCoalsChannel);
    });
    if (!done)
        return done.failure();
    return outcome;
}

Result<int> SaveCoal(const AppFolder& folder, const Mei& coal)
{
    const Result<CoalSaveOutcome> saved = StoreCoal(folder, coal);
    if (!saved)
        return saved.failure();
    if (saved->kind == CoalSaveOutcome::Kind::Gone)
        return Fail(CoreText::tr("编号为%1的煤种已不存在，可能已被删除，未能保存。", QString::number(coal.id)));
    return saved->id;
}

Result<std::optional<VersionedCoal>> LoadStoredCoal(const AppFolder& folder, int id)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    return ReadVersioned(id, false);
}

Result<QVector<int>> RemoveCoals(const AppFolder& folder, const QVector<int>& ids, const QString& user)
{
    const QString who = user.isEmpty() ? CurrentChangeUser() : user;
    const QDateTime at = QDateTime::currentDateTime();
    QVector<int> gone;
    const Status done = InOrJoinTransaction(folder, [&]() -> Status {
        gone.clear();
        for (int id : ids) {
            const Result<std::optional<VersionedCoal>> stored = ReadVersioned(id, true);
            if (!stored)
                return stored.failure();
            if (!stored->has_value()) {
                gone << id;
                continue;
            }
            if (Status deleted = Execute(QStringLiteral("delete from meitan where id=?"), {id}); !deleted)
                return deleted;
            if (Status recorded = WriteChanges(id, at, who, RecordedTexts((*stored)->coal), QStringList()); !recorded)
                return recorded;
        }
        if (gone.size() == ids.size())
            return {};
        return AnnounceChange(kCoalsChannel);
    });
    if (!done)
        return done.failure();
    return gone;
}

Result<QVector<CoalChange>> LoadCoalChanges(const AppFolder& folder, int coalId)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(QStringLiteral("select id, meiid, riqi, yonghu, xiangmu, yuanzhi, xinzhi from meitan_xiugai "
                                         "where meiid=? order by id desc"),
                          {coalId});
    if (!query)
        return query.failure();
    QVector<CoalChange> changes;
    while (query->next())
        changes << CoalChange{query->value(0).toInt(),       query->value(1).toInt(),    DateTimeValue(query->value(2)),
                              query->value(3).toString(),    query->value(4).toString(), query->value(5).toString(),
                              query->value(6).toString()};
    return changes;
}

Result<std::optional<Mei>> LoadCoal(const AppFolder& folder, int id)
{
    auto coals = LoadWhere(folder, QStringLiteral("select * from meitan where id=?"), {id});
    if (!coals)
        return coals.failure();
    if (coals->isEmpty())
        return std::optional<Mei>();
    return std::optional<Mei>(coals->constFirst());
}

Status DeleteCoal(const AppFolder& folder, int id)
{
    return RemoveCoals(folder, {id}).status();
}

Status DeleteCoals(const AppFolder& folder, const QVector<int>& ids)
{
    return RemoveCoals(folder, ids).status();
}

Result<int> CountCoals(const AppFolder& folder)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(QStringLiteral("select count(*) as zongshu from meitan"));
    if (!query)
        return query.failure();
    if (!query->next())
        return 0;
    return query->record().value(QStringLiteral("zongshu")).toInt();
}

Result<QVector<Mei>> LoadCoals(const AppFolder& folder)
{
    const auto [condition, values] = CoalFilter(std::nullopt);
    return LoadWhere(folder, QStringLiteral("select * from meitan") + condition, values);
}

Result<QVector<Mei>> SearchCoals(const AppFolder& folder, const QString& typed)
{
    // The condition's words depend on the database.
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const auto [condition, values] = CoalFilter(typed);
    return LoadWhere(folder, QStringLiteral("select * from meitan") + condition, values);
}

Result<QVector<int>> LoadCoalIds(const AppFolder& folder, const std::optional<QString>& typed)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const auto [condition, values] = CoalFilter(typed);
    auto query = RunQuery(QStringLiteral("select id from meitan") + condition, values);
    if (!query)
        return query.failure();
    QVector<int> ids;
    while (query->next())
        ids << query->value(0).toInt();
    return ids;
}

Status VisitCoals(const AppFolder& folder, const std::optional<QString>& typed, const QStringList& columns,
                  const std::function<void(const Mei&)>& visit)
{
    // Only names of meitan's own columns reach the statement.
    const QStringList known = RequiredTables().constFirst().columns;
    QStringList read{QStringLiteral("id")};
    for (const QString& column : columns) {
        if (!known.contains(column, Qt::CaseInsensitive))
            return Fail(CoreText::tr("数据库操作失败：煤种表中没有 %1 这一列", column));
        read << column;
    }
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    const auto [condition, values] = CoalFilter(typed);
    auto query = RunQuery(QStringLiteral("select %1 from meitan").arg(read.join(QStringLiteral(", "))) + condition, values);
    if (!query)
        return query.failure();
    while (query->next())
        visit(CoalFromRecord(query->record()));
    return {};
}

Result<QVector<Mei>> LoadCoalsById(const AppFolder& folder, const QVector<int>& ids)
{
    if (ids.isEmpty())
        return QVector<Mei>();
    // The numbers are whole numbers by type; written as decimal digits they
    // cannot carry anything but a number, and a list of thousands of them
    // stays clear of the database's limit on bound values.
    QStringList list;
    list.reserve(ids.size());
    for (int id : ids)
        list << QString::number(id);
    return LoadWhere(folder,
                     QStringLiteral("select * from meitan where id in (%1) order by id").arg(list.join(QLatin1Char(','))),
                     {});
}

Result<QVector<std::pair<QString, int>>> LoadCoalNames(const AppFolder& folder)
{
    auto connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    auto query = RunQuery(QStringLiteral("select Name, min(id) from meitan group by Name"));
    if (!query)
        return query.failure();
    QVector<std::pair<QString, int>> names;
    while (query->next())
        names.append({query->value(0).toString(), query->value(1).toInt()});
    return names;
}
