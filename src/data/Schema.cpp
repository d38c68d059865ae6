#include "data/Schema.h"

#include "base/QualityIndex.h"
#include "data/Server.h"
#include "data/SqliteFile.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace {

// The advisory lock a server database is migrated under: one number the
// program uses for nothing else ("VELM").
constexpr qint64 kMigrationLock = 0x56454C4D;

QVector<ColumnDef> CoalValueColumns()
{
    QVector<ColumnDef> columns{{QStringLiteral("Name"), ColumnKind::Text}};
    for (const auto& index : QualityIndices())
        columns << ColumnDef{QLatin1String(index.column), ColumnKind::Text};
    return columns;
}

QVector<ColumnDef> TargetSetBoundColumns()
{
    QVector<ColumnDef> columns;
    for (int i = 0; i < kIndexCount; ++i) {
        columns << ColumnDef{TargetSetBoundColumn(i, false), ColumnKind::Text}
                << ColumnDef{TargetSetBoundColumn(i, true), ColumnKind::Text};
    }
    return columns;
}

QVector<TableDef> MakeProgramTables()
{
    const ColumnDef id{QStringLiteral("id"), ColumnKind::Id};
    const ColumnDef followid{QStringLiteral("followid"), ColumnKind::Integer};
    QVector<ColumnDef> proportions;
    for (int i = 1; i <= 10; ++i)
        proportions << ColumnDef{QStringLiteral("d%1").arg(i), ColumnKind::Real};
    const QVector<ColumnDef> planCoalTail{{QStringLiteral("kucun"), ColumnKind::Text},
                                          {QStringLiteral("meichan"), ColumnKind::Text},
                                          {QStringLiteral("JiaGe"), ColumnKind::Price}};
    return {
        {QStringLiteral("meitan"), 1,
         QVector<ColumnDef>{id} + CoalValueColumns()
             + QVector<ColumnDef>{{QStringLiteral("Meichan"), ColumnKind::Text},
                                  {QStringLiteral("kucun"), ColumnKind::Text},
                                  {QStringLiteral("JiaGe"), ColumnKind::Price},
                                  {QStringLiteral("riqi"), ColumnKind::Time},
                                  // Raised by every save: a planner whose editor
                                  // read an older one saves over someone else's work.
                                  {QStringLiteral("banbenhao"), ColumnKind::Version, 5}}},
        {QStringLiteral("Lishi_fangan"), 1,
         {id,
          {QStringLiteral("fanganhao"), ColumnKind::Text},
          {QStringLiteral("xinxi"), ColumnKind::Text},
          {QStringLiteral("riqi"), ColumnKind::TimeNow}}},
        {QStringLiteral("Lishi_meitan"), 1, QVector<ColumnDef>{id, followid} + CoalValueColumns() + planCoalTail},
        {QStringLiteral("Lishi_Peibibiao"), 1,
         QVector<ColumnDef>{id, followid} + proportions + CoalValueColumns() + planCoalTail},
        // One row per bounded index of a plan's run: the index's column name in
        // meitan, the bounds as typed ("" = none).
        {QStringLiteral("Lishi_zhibiao"), 2,
         {id,
          followid,
          {QStringLiteral("zhibiao"), ColumnKind::Text},
          {QStringLiteral("xiaxian"), ColumnKind::Text},
          {QStringLiteral("shangxian"), ColumnKind::Text}}},
        // One row per plan stored with its targets: the tonnage and the
        // proportion count as typed, the shovel mode (0/1), and the coals that
        // had to take part as their positions in the plan's coal list
        // (Lishi_meitan by id, counted from 1), "2,5".
        {QStringLiteral("Lishi_canshu"), 2,
         {id,
          followid,
          {QStringLiteral("zhongliang"), ColumnKind::Text},
          {QStringLiteral("chanshu"), ColumnKind::Text},
          {QStringLiteral("chan"), ColumnKind::Integer},
          {QStringLiteral("bixuan"), ColumnKind::Text}}},
        // One row per quality index of a plan computed with basis weighting:
        // the index's column name in meitan and the basis it was averaged on
        // ("ar", "ad", "d", "daf"). A plan without rows here was averaged by
        // tons as loaded.
        {QStringLiteral("Lishi_jizhun"), 4,
         {id,
          followid,
          {QStringLiteral("zhibiao"), ColumnKind::Text},
          {QStringLiteral("jizhun"), ColumnKind::Text}}},
        // One row per field of a coal added, changed or deleted: the coal's
        // id, when, who ("login@computer"), the column of meitan, the value
        // before and after ("" for none), as the coal's texts hold them.
        {QStringLiteral("meitan_xiugai"), 5,
         {id,
          {QStringLiteral("meiid"), ColumnKind::Integer},
          {QStringLiteral("riqi"), ColumnKind::TimeNow},
          {QStringLiteral("yonghu"), ColumnKind::Text},
          {QStringLiteral("xiangmu"), ColumnKind::Text},
          {QStringLiteral("yuanzhi"), ColumnKind::Text},
          {QStringLiteral("xinzhi"), ColumnKind::Text}}},
        // One row per saved target set of the workspace, under its name: the
        // tonnage and the proportion count as typed, basis weighting (0/1),
        // and both bounds of every index as typed ("" = none), in columns
        // named after the index's column in meitan.
        {QStringLiteral("Zhibiao_muban"), 6,
         QVector<ColumnDef>{id,
                            {QStringLiteral("mingcheng"), ColumnKind::Text},
                            {QStringLiteral("zhongliang"), ColumnKind::Text},
                            {QStringLiteral("chanshu"), ColumnKind::Text},
                            {QStringLiteral("jizhun"), ColumnKind::Integer},
                            {QStringLiteral("riqi"), ColumnKind::TimeNow}}
             + TargetSetBoundColumns()},
        // One row per stored plan over several days: its name and when it was
        // saved, the days, the tons per day and the proportion count, one mix
        // for every day (0/1), the shovel mode (0/1), the total cost, how it
        // ended (0 the cheapest, 1 the best found in the time, with the gap
        // to the proven bound), and in canshu everything it was computed
        // from (coals, bounds, must-use coals, bases, deliveries) as JSON.
        {QStringLiteral("Jihua"), 7,
         {id,
          {QStringLiteral("mingcheng"), ColumnKind::Text},
          {QStringLiteral("riqi"), ColumnKind::TimeNow},
          {QStringLiteral("tianshu"), ColumnKind::Integer},
          {QStringLiteral("meitian"), ColumnKind::Real},
          {QStringLiteral("chanshu"), ColumnKind::Integer},
          {QStringLiteral("bubian"), ColumnKind::Integer},
          {QStringLiteral("chan"), ColumnKind::Integer},
          {QStringLiteral("zongjia"), ColumnKind::Real},
          {QStringLiteral("zhuangtai"), ColumnKind::Integer},
          {QStringLiteral("jianxi"), ColumnKind::Real},
          {QStringLiteral("canshu"), ColumnKind::Text}}},
        // One row per day and coal of a stored plan: the day (from 1), the
        // coal's position in the plan's coals (from 1) and name, its parts
        // (or shovels) and tons.
        {QStringLiteral("Jihua_ri"), 7,
         {id,
          followid,
          {QStringLiteral("tian"), ColumnKind::Integer},
          {QStringLiteral("xuhao"), ColumnKind::Integer},
          {QStringLiteral("mei"), ColumnKind::Text},
          {QStringLiteral("fenshu"), ColumnKind::Integer},
          {QStringLiteral("dunshu"), ColumnKind::Real}}},
    };
}

constexpr int kRequiredTableCount = 4;

QString TypeOf(ColumnKind kind, DbDriver driver)
{
    const bool server = driver == DbDriver::Postgresql;
    switch (kind) {
    case ColumnKind::Id:
        return server ? QStringLiteral("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                      : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnKind::Integer:
        return server ? QStringLiteral("integer") : QStringLiteral("INTEGER");
    case ColumnKind::Text:
        return server ? QStringLiteral("text") : QStringLiteral("TEXT");
    case ColumnKind::Real:
        return server ? QStringLiteral("double precision") : QStringLiteral("REAL");
    case ColumnKind::Price:
        return server ? QStringLiteral("numeric(14,2)") : QStringLiteral("REAL");
    case ColumnKind::Time:
        return server ? QStringLiteral("timestamp(0)") : QStringLiteral("DATETIME");
    case ColumnKind::TimeNow:
        return server ? QStringLiteral("timestamp(0) DEFAULT localtimestamp(0)")
                      : QStringLiteral("DATETIME DEFAULT (datetime('now', 'localtime'))");
    case ColumnKind::Version:
        return server ? QStringLiteral("integer NOT NULL DEFAULT 0") : QStringLiteral("INTEGER NOT NULL DEFAULT 0");
    }
    return QString();
}

QString CreateVersionTable(DbDriver driver)
{
    return QStringLiteral("CREATE TABLE %1 (banben %2 PRIMARY KEY, riqi %3)")
        .arg(kVersionTable, TypeOf(ColumnKind::Integer, driver), TypeOf(ColumnKind::TimeNow, driver));
}

QString RecordVersion(int version)
{
    return QStringLiteral("INSERT INTO %1 (banben) VALUES (%2)").arg(kVersionTable).arg(version);
}

// One step of the migrations: a table made, an index on one column of a
// table, or a column added to a table made before it.
struct PlannedStep {
    enum Kind { Table, Index, Column };
    Kind kind;
    int version;
    QString table;   // the table made, indexed or added to
    QString index;   // the index's name
    QString column;  // the column indexed or added
};

// The first column a table's rows are looked up by, when it is not their id:
// a plan table's followid, the change record's coal.
QString LookupColumn(const TableDef& table)
{
    if (table.columns.size() > 1 && table.columns[1].name == QLatin1String("followid"))
        return table.columns[1].name;
    if (table.name == QLatin1String("meitan_xiugai"))
        return QStringLiteral("meiid");
    return QString();
}

const QVector<PlannedStep>& Plan()
{
    static const QVector<PlannedStep> steps = [] {
        QVector<PlannedStep> plan;
        for (const TableDef& table : ProgramTables()) {
            plan << PlannedStep{PlannedStep::Table, table.since, table.name, QString(), QString()};
            for (const ColumnDef& column : table.columns)
                if (column.since > table.since)
                    plan << PlannedStep{PlannedStep::Column, column.since, table.name, QString(), column.name};
        }
        // Without an index on followid the history reads every row of a large
        // database for each plan it shows.
        for (const TableDef& table : ProgramTables())
            if (const QString column = LookupColumn(table); !column.isEmpty())
                plan << PlannedStep{PlannedStep::Index, std::max(3, table.since), table.name,
                                    QStringLiteral("idx_%1_%2").arg(table.name.toLower(), column.toLower()), column};
        // In the order of their versions, so that steps merged from
        // different work run as numbered; a table still comes before its
        // index and its added columns.
        std::stable_sort(plan.begin(), plan.end(),
                         [](const PlannedStep& a, const PlannedStep& b) { return a.version < b.version; });
        return plan;
    }();
    return steps;
}

const ColumnDef* FindColumn(const TableDef& table, const QString& name)
{
    for (const ColumnDef& column : table.columns)
        if (column.name == name)
            return &column;
    return nullptr;
}

QString StepStatement(const PlannedStep& step, DbDriver driver)
{
    const TableDef& table = *FindProgramTable(step.table);
    switch (step.kind) {
    case PlannedStep::Table:
        return CreateTableStatement(table, driver);
    case PlannedStep::Index:
        return QStringLiteral("CREATE INDEX %1 ON %2 (%3)").arg(step.index, step.table, step.column);
    case PlannedStep::Column:
        return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
            .arg(step.table, step.column, TypeOf(FindColumn(table, step.column)->kind, driver));
    }
    return QString();
}

// What the steps ask of a database.
struct SchemaFacts {
    QSet<QString> tables;            // lower case
    QSet<QString> indexed;           // "table.column" of every index's first column, lower case
    QSet<QString> columns;           // "table.column" of the columns added later that are there, lower case
    std::optional<int> version;      // nothing: versions were never recorded
    QSet<int> recorded;              // every version the database records
};

QString Key(const QString& table, const QString& column)
{
    return (table + QLatin1Char('.') + column).toLower();
}

// A name as a message shows it: at most 40 characters, nothing unprintable.
QString ShownName(const QString& name)
{
    QString shown;
    for (const QChar c : name.left(40))
        shown += c.isPrint() ? c : QLatin1Char('?');
    if (name.size() > 40)
        shown += QStringLiteral("…");
    return shown;
}

QString ErrorText(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed();
}

// A statement that failed on a file: a file that is not a database, or is
// damaged, is an answer about the file (kind Invalid); anything else (in use,
// read-only, a broken write that cannot be undone) says why it could not be
// read. On a server, its own words.
Failure QueryFailure(const QSqlDatabase& db, const QSqlError& error)
{
    if (DriverOf(db) == DbDriver::Postgresql)
        return ServerFailure(error);
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString detail = ErrorText(error);
    if (ok && (code & 0xFF) == 26)
        return Invalid(CoreText::tr("不是数据库文件（%1）", detail));
    if (ok && (code & 0xFF) == 11)
        return Invalid(CoreText::tr("数据库文件已损坏（%1）", detail));
    return Fail(SqliteReason(ok ? code : 1, detail));
}

Text WriteReason(const QSqlDatabase& db, const QSqlError& error)
{
    if (DriverOf(db) == DbDriver::Postgresql)
        return ServerReason(error);
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return SqliteReason(ok ? code : 1, ErrorText(error));
}

Result<SchemaFacts> ReadFacts(QSqlDatabase& db)
{
    SchemaFacts facts;
    QSqlQuery query(db);
    const bool server = DriverOf(db) == DbDriver::Postgresql;
    const QString tables =
        server ? QStringLiteral("select table_name from information_schema.tables "
                                "where table_schema = current_schema() and table_type = 'BASE TABLE'")
               : QStringLiteral("select name from sqlite_master where type='table'");
    if (!query.exec(tables))
        return QueryFailure(db, query.lastError());
    while (query.next())
        facts.tables.insert(query.value(0).toString().toLower());
    const QString indexed =
        server ? QStringLiteral("select t.relname, a.attname from pg_index i join pg_class t on t.oid = i.indrelid "
                                "join pg_namespace n on n.oid = t.relnamespace "
                                "join pg_attribute a on a.attrelid = t.oid and a.attnum = i.indkey[0] "
                                "where n.nspname = current_schema()")
               : QStringLiteral("select m.tbl_name, i.name from sqlite_master m, pragma_index_info(m.name) i "
                                "where m.type='index' and i.seqno=0");
    if (!query.exec(indexed))
        return QueryFailure(db, query.lastError());
    while (query.next())
        facts.indexed.insert(Key(query.value(0).toString(), query.value(1).toString()));
    for (const PlannedStep& step : Plan()) {
        if (step.kind != PlannedStep::Column || !facts.tables.contains(step.table.toLower()))
            continue;
        // A server keeps the names folded to lower case; its driver looks
        // them up as given.
        const QSqlRecord record = db.record(server ? step.table.toLower() : step.table);
        if (record.isEmpty())
            return QueryFailure(db, db.lastError());
        if (record.indexOf(step.column) >= 0)
            facts.columns.insert(Key(step.table, step.column));
    }
    if (facts.tables.contains(kVersionTable)) {
        if (!query.exec(QStringLiteral("select banben from %1").arg(kVersionTable)))
            return QueryFailure(db, query.lastError());
        int newest = 0;
        while (query.next()) {
            const int version = query.value(0).toInt();
            facts.recorded.insert(version);
            newest = std::max(newest, version);
        }
        facts.version = newest;
    }
    return facts;
}

// The steps a database with these facts lacks. What the first steps make is
// looked for in the database itself, whatever its version says, so a file
// made before versions were recorded gets exactly what it lacks, and an index
// someone dropped comes back.
QVector<SchemaStep> StepsFor(const SchemaFacts& facts, DbDriver driver)
{
    QVector<SchemaStep> steps;
    QSet<QString> made;
    for (const PlannedStep& step : Plan()) {
        const QString table = step.table.toLower();
        const bool there = facts.tables.contains(table) || made.contains(table);
        bool needed = false;
        QString adds = step.table;
        switch (step.kind) {
        case PlannedStep::Table:
            needed = !there;
            break;
        case PlannedStep::Index:
            needed = there && !facts.indexed.contains(Key(step.table, step.column));
            adds = step.index;
            break;
        case PlannedStep::Column:
            // A table made by these steps has every column already.
            needed = facts.tables.contains(table) && !facts.columns.contains(Key(step.table, step.column));
            adds = step.table + QLatin1Char('.') + step.column;
            break;
        }
        if (!needed)
            continue;
        if (step.kind == PlannedStep::Table)
            made.insert(table);
        steps << SchemaStep{step.version, adds, {StepStatement(step, driver)}};
    }
    return steps;
}

// The versions a database has not recorded yet.
QVector<int> UnrecordedVersions(const SchemaFacts& facts)
{
    QVector<int> versions;
    for (int v : SchemaVersions())
        if (!facts.recorded.contains(v))
            versions << v;
    return versions;
}

// The statements that record the versions a database reached: the version
// table when it has none, one row per version it did not record yet.
QStringList VersionStatements(const SchemaFacts& facts, DbDriver driver)
{
    QStringList statements;
    if (!facts.version)
        statements << CreateVersionTable(driver);
    for (int v : UnrecordedVersions(facts))
        statements << RecordVersion(v);
    return statements;
}

Failure NewerFailure(int version)
{
    return Invalid(CoreText::tr("数据库的结构版本是 %1，比本程序能使用的版本 %2 新，它是由更新版本的程序建立或升级的。"
                                "本程序不能使用它，也没有对它做任何改动。请使用新版本的程序。",
                                QString::number(version), QString::number(kSchemaVersion)));
}

// Runs the statements in the transaction open on db; the failure names what
// could not be added.
Status RunSteps(QSqlDatabase& db, const QVector<SchemaStep>& steps, const QStringList& versions)
{
    QSqlQuery query(db);
    for (const SchemaStep& step : steps) {
        for (const QString& statement : step.statements) {
            if (!query.exec(statement)) {
                const Text reason = WriteReason(db, query.lastError());
                return Fail(CoreText::tr("无法加入 %1：%2", step.adds, reason));
            }
        }
    }
    for (const QString& statement : versions) {
        if (!query.exec(statement)) {
            const Text reason = WriteReason(db, query.lastError());
            return Fail(CoreText::tr("无法记录数据库的结构版本：%1", reason));
        }
    }
    return {};
}

// Every name the program gives a table or an index, lower case, with what it is.
QHash<QString, QString> OwnNames()
{
    QHash<QString, QString> names;
    for (const TableDef& table : ProgramTables())
        names.insert(table.name.toLower(), QStringLiteral("table"));
    names.insert(kVersionTable, QStringLiteral("table"));
    for (const PlannedStep& step : Plan())
        if (step.kind == PlannedStep::Index)
            names.insert(step.index.toLower(), QStringLiteral("index"));
    return names;
}

Text KindWord(const QString& type)
{
    if (type == QLatin1String("table"))
        return CoreText::tr("数据表");
    if (type == QLatin1String("index"))
        return CoreText::tr("索引");
    if (type == QLatin1String("view"))
        return CoreText::tr("视图");
    if (type == QLatin1String("trigger"))
        return CoreText::tr("触发器");
    return type;
}

Status Untrusted(const QVector<Text>& problems)
{
    Text text = problems.value(0);
    for (qsizetype i = 1; i < std::min<qsizetype>(problems.size(), 3); ++i)
        text = CoreText::tr("%1；%2", text, problems[i]);
    if (problems.size() > 3)
        text = CoreText::tr("%1；另有 %2 处", text, QString::number(problems.size() - 3));
    return Invalid(text);
}

// Names in a sentence, one after another.
Text JoinedText(const QStringList& names)
{
    Text text = names.value(0);
    for (qsizetype i = 1; i < names.size(); ++i)
        text = CoreText::tr("%1、%2", text, names[i]);
    return text;
}

}  // namespace

QString TargetSetBoundColumn(int index, bool upper)
{
    return QLatin1String(QualityIndices()[index].column) + (upper ? QStringLiteral("_max") : QStringLiteral("_min"));
}

const QVector<int>& SchemaVersions()
{
    static const QVector<int> versions = [] {
        QVector<int> found;
        for (const PlannedStep& step : Plan())
            if (!found.contains(step.version))
                found << step.version;
        std::sort(found.begin(), found.end());
        return found;
    }();
    return versions;
}

const QVector<TableDef>& ProgramTables()
{
    static const QVector<TableDef> tables = MakeProgramTables();
    return tables;
}

const TableDef* FindProgramTable(const QString& name)
{
    for (const TableDef& table : ProgramTables())
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

namespace {

TableColumns ColumnsOf(const TableDef& table)
{
    TableColumns columns{table.name, {}};
    for (const ColumnDef& column : table.columns)
        if (column.since <= table.since)
            columns.columns << column.name;
    return columns;
}

}  // namespace

const QVector<TableColumns>& RequiredTables()
{
    static const QVector<TableColumns> tables = [] {
        QVector<TableColumns> columns;
        for (int t = 0; t < kRequiredTableCount; ++t)
            columns << ColumnsOf(ProgramTables()[t]);
        return columns;
    }();
    return tables;
}

const QVector<TableColumns>& AddedTables()
{
    static const QVector<TableColumns> tables = [] {
        QVector<TableColumns> columns;
        for (int t = kRequiredTableCount; t < ProgramTables().size(); ++t)
            columns << ColumnsOf(ProgramTables()[t]);
        return columns;
    }();
    return tables;
}

DbDriver DriverOf(const QSqlDatabase& db)
{
    return db.driverName() == kServerDriver ? DbDriver::Postgresql : DbDriver::Sqlite;
}

QString CreateTableStatement(const TableDef& table, DbDriver driver)
{
    QStringList columns;
    for (const ColumnDef& column : table.columns)
        columns << column.name + QLatin1Char(' ') + TypeOf(column.kind, driver);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, columns.join(QStringLiteral(", ")));
}

QStringList SchemaStatements(DbDriver driver)
{
    QStringList statements;
    const SchemaFacts none;
    for (const SchemaStep& step : StepsFor(none, driver))
        statements << step.statements;
    return statements + VersionStatements(none, driver);
}

Result<std::optional<int>> StoredVersion(QSqlDatabase& db)
{
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    return facts->version;
}

Result<QVector<SchemaStep>> MissingSteps(QSqlDatabase& db)
{
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    return StepsFor(*facts, DriverOf(db));
}

Status CheckVersion(QSqlDatabase& db)
{
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    if (facts->version.value_or(0) > kSchemaVersion)
        return NewerFailure(*facts->version);
    return {};
}

Status MigrateInTransaction(QSqlDatabase& db, bool* made)
{
    const DbDriver driver = DriverOf(db);
    if (driver == DbDriver::Postgresql) {
        // Whoever holds the lock migrates; the others then find what it made.
        QSqlQuery lock(db);
        if (!lock.exec(QStringLiteral("select pg_advisory_xact_lock(%1)").arg(kMigrationLock)))
            return Fail(WriteReason(db, lock.lastError()));
    }
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    if (facts->version.value_or(0) > kSchemaVersion)
        return NewerFailure(*facts->version);
    const QVector<SchemaStep> steps = StepsFor(*facts, driver);
    QStringList versions;
    if (!steps.isEmpty() || facts->version)
        versions = VersionStatements(*facts, driver);
    if (made)
        *made = !facts->tables.contains(ProgramTables().constFirst().name.toLower());
    return RunSteps(db, steps, versions);
}

Status BringUpToDate(QSqlDatabase& db, bool* made)
{
    if (made)
        *made = false;
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    if (facts->version.value_or(0) > kSchemaVersion)
        return NewerFailure(*facts->version);
    const bool versioned = facts->version.has_value();
    if (StepsFor(*facts, DriverOf(db)).isEmpty() && (!versioned || UnrecordedVersions(*facts).isEmpty()))
        return {};
    if (!db.transaction())
        return Fail(WriteReason(db, db.lastError()));
    if (Status migrated = MigrateInTransaction(db, made); !migrated) {
        db.rollback();
        return migrated;
    }
    if (!db.commit()) {
        const Text reason = WriteReason(db, db.lastError());
        db.rollback();
        return Fail(reason);
    }
    return {};
}

Status CheckTables(QSqlDatabase& db, bool all)
{
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    QStringList missing;
    for (const TableColumns& table : RequiredTables())
        if (!facts->tables.contains(table.table.toLower()))
            missing << table.table;
    if (all && !missing.isEmpty())
        return Invalid(CoreText::tr("缺少数据表：%1", JoinedText(missing)));
    QVector<TableColumns> checked;
    for (const TableColumns& table : RequiredTables() + AddedTables())
        if (facts->tables.contains(table.table.toLower()))
            checked << table;
    for (const TableColumns& table : checked) {
        // A server keeps the names folded to lower case; its driver looks
        // them up as given.
        const QSqlRecord record =
            db.record(DriverOf(db) == DbDriver::Postgresql ? table.table.toLower() : table.table);
        QStringList absent;
        for (const QString& column : table.columns)
            if (record.indexOf(column) < 0)
                absent << column;
        if (!absent.isEmpty())
            return Invalid(CoreText::tr("数据表 %1 缺少列：%2", table.table, JoinedText(absent)));
    }
    return {};
}

Status CheckTrusted(QSqlDatabase& db)
{
    const QHash<QString, QString> own = OwnNames();
    QVector<Text> problems;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select type, name, tbl_name, sql from sqlite_master")))
        return QueryFailure(db, query.lastError());
    struct Object {
        QString type, name, table, sql;
    };
    QVector<Object> objects;
    while (query.next())
        objects << Object{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                          query.value(3).toString()};
    for (const Object& o : objects) {
        const QString lower = o.name.toLower();
        const QString ownType = own.value(lower);
        Text clash;
        if (!ownType.isEmpty() && ownType != o.type)
            clash = ownType == QLatin1String("table") ? CoreText::tr("（与本软件的数据表同名）")
                                                      : CoreText::tr("（与本软件的索引同名）");
        if (o.type == QLatin1String("trigger") || o.type == QLatin1String("view")) {
            problems << CoreText::tr("含有本软件不建立的%1 %2%3", KindWord(o.type), ShownName(o.name), clash);
        } else if (o.type == QLatin1String("table")
                   && o.sql.simplified().startsWith(QStringLiteral("CREATE VIRTUAL TABLE"), Qt::CaseInsensitive)) {
            problems << CoreText::tr("含有外部数据表（虚拟表）%1%2", ShownName(o.name), clash);
        } else if (!clash.isEmpty()) {
            problems << CoreText::tr("%1 %2 占用了本软件%3的名称", KindWord(o.type), ShownName(o.name),
                                 ownType == QLatin1String("table") ? CoreText::tr("数据表") : CoreText::tr("索引"));
        }
    }
    // Indexes on the program's tables: one that is unique, partial or on an
    // expression can make its writes fail; an index under one of its index
    // names must be that index.
    QSet<QString> ownTables;
    for (auto it = own.cbegin(); it != own.cend(); ++it)
        if (it.value() == QLatin1String("table"))
            ownTables.insert(it.key());
    if (!query.exec(QStringLiteral(
            "select m.name, m.tbl_name, l.\"unique\", l.partial, "
            "(select count(*) from pragma_index_xinfo(m.name) x where x.key=1 and x.cid=-2), "
            "(select name from pragma_index_info(m.name) i where i.seqno=0) "
            "from sqlite_master m join pragma_index_list(m.tbl_name) l on l.name=m.name where m.type='index'")))
        return QueryFailure(db, query.lastError());
    while (query.next()) {
        const QString name = query.value(0).toString();
        const QString table = query.value(1).toString();
        if (own.value(name.toLower()) == QLatin1String("index")) {
            bool same = false;
            for (const PlannedStep& index : Plan())
                same = same
                       || (index.kind == PlannedStep::Index && index.index.compare(name, Qt::CaseInsensitive) == 0
                           && index.table.compare(table, Qt::CaseInsensitive) == 0
                           && query.value(5).toString().compare(index.column, Qt::CaseInsensitive) == 0);
            if (!same)
                problems << CoreText::tr("索引 %1 与本软件的同名索引不同", ShownName(name));
        }
        if (!ownTables.contains(table.toLower()))
            continue;
        if (query.value(2).toInt() != 0)
            problems << CoreText::tr("数据表 %1 上有唯一索引 %2，会使本软件保存数据失败", table, ShownName(name));
        else if (query.value(3).toInt() != 0)
            problems << CoreText::tr("数据表 %1 上有带条件的索引 %2", table, ShownName(name));
        else if (query.value(4).toInt() != 0)
            problems << CoreText::tr("数据表 %1 上有带表达式的索引 %2", table, ShownName(name));
    }
    if (!problems.isEmpty())
        return Untrusted(problems);
    return {};
}

Status CheckSchema(QSqlDatabase& db)
{
    if (Status tables = CheckTables(db); !tables)
        return tables;
    if (DriverOf(db) == DbDriver::Sqlite)
        if (Status trusted = CheckTrusted(db); !trusted)
            return trusted;
    return CheckVersion(db);
}
