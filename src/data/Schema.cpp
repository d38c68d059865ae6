#include "data/Schema.h"

#include "base/QualityIndex.h"
#include "data/SqliteFile.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QStringList IndexColumnNames()
{
    QStringList columns;
    for (const auto& index : QualityIndices())
        columns << QLatin1String(index.column);
    return columns;
}

QString IndexColumns()
{
    QString columns;
    for (const QString& column : IndexColumnNames())
        columns += QStringLiteral(", %1 TEXT").arg(column);
    return columns;
}

// An added table: its columns and the statement that makes it.
struct AddedTable {
    TableColumns columns;
    QString create;
};

const QVector<AddedTable>& AddedTableDefinitions()
{
    static const QVector<AddedTable> tables = {
        // One row per bounded index of a plan's run: the index's column name in
        // meitan, the bounds as typed ("" = none).
        {{QStringLiteral("Lishi_zhibiao"),
          {QStringLiteral("id"), QStringLiteral("followid"), QStringLiteral("zhibiao"), QStringLiteral("xiaxian"),
           QStringLiteral("shangxian")}},
         QStringLiteral("CREATE TABLE Lishi_zhibiao (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, "
                        "zhibiao TEXT, xiaxian TEXT, shangxian TEXT)")},
        // One row per plan stored with its targets: the tonnage and the
        // proportion count as typed, the shovel mode (0/1), and the coals that
        // had to take part as their positions in the plan's coal list
        // (Lishi_meitan by id, counted from 1), "2,5".
        {{QStringLiteral("Lishi_canshu"),
          {QStringLiteral("id"), QStringLiteral("followid"), QStringLiteral("zhongliang"), QStringLiteral("chanshu"),
           QStringLiteral("chan"), QStringLiteral("bixuan")}},
         QStringLiteral("CREATE TABLE Lishi_canshu (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, "
                        "zhongliang TEXT, chanshu TEXT, chan INTEGER, bixuan TEXT)")},
        // One row per quality index of a plan computed with basis weighting:
        // the index's column name in meitan and the basis it was averaged on
        // ("ar", "ad", "d", "daf"). A plan without rows here was averaged by
        // tons as loaded.
        {{QStringLiteral("Lishi_jizhun"),
          {QStringLiteral("id"), QStringLiteral("followid"), QStringLiteral("zhibiao"), QStringLiteral("jizhun")}},
         QStringLiteral("CREATE TABLE Lishi_jizhun (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, "
                        "zhibiao TEXT, jizhun TEXT)")},
    };
    return tables;
}

// The tables whose rows point at a plan through followid, each with the index
// the program gives it.
struct FollowidIndex {
    QString table;
    QString index;
};

const QVector<FollowidIndex>& FollowidIndexes()
{
    static const QVector<FollowidIndex> indexes = {
        {QStringLiteral("Lishi_meitan"), QStringLiteral("idx_lishi_meitan_followid")},
        {QStringLiteral("Lishi_Peibibiao"), QStringLiteral("idx_lishi_peibibiao_followid")},
        {QStringLiteral("Lishi_zhibiao"), QStringLiteral("idx_lishi_zhibiao_followid")},
        {QStringLiteral("Lishi_canshu"), QStringLiteral("idx_lishi_canshu_followid")},
        {QStringLiteral("Lishi_jizhun"), QStringLiteral("idx_lishi_jizhun_followid")},
    };
    return indexes;
}

QString CreateFollowidIndex(const FollowidIndex& index)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (followid)").arg(index.index, index.table);
}

// What the steps ask of a file.
struct SchemaFacts {
    QSet<QString> tables;              // lower case
    QSet<QString> followidIndexed;     // tables with an index that starts with followid, lower case
};

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
// read-only, a broken write that cannot be undone) says why it could not be read.
Failure QueryFailure(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    const QString detail = ErrorText(error);
    if (ok && (code & 0xFF) == 26)
        return Invalid(QStringLiteral("不是数据库文件（%1）").arg(detail));
    if (ok && (code & 0xFF) == 11)
        return Invalid(QStringLiteral("数据库文件已损坏（%1）").arg(detail));
    return Fail(SqliteReason(ok ? code : 1, detail));
}

QString WriteReason(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return SqliteReason(ok ? code : 1, ErrorText(error));
}

Result<SchemaFacts> ReadFacts(QSqlDatabase& db)
{
    SchemaFacts facts;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select name from sqlite_master where type='table'")))
        return QueryFailure(query.lastError());
    while (query.next())
        facts.tables.insert(query.value(0).toString().toLower());
    if (!query.exec(QStringLiteral("select m.tbl_name from sqlite_master m, pragma_index_info(m.name) i "
                                   "where m.type='index' and i.seqno=0 and i.name like 'followid'")))
        return QueryFailure(query.lastError());
    while (query.next())
        facts.followidIndexed.insert(query.value(0).toString().toLower());
    return facts;
}

QVector<SchemaStep> StepsFor(const SchemaFacts& facts)
{
    QVector<SchemaStep> steps;
    QSet<QString> made;
    for (const AddedTable& table : AddedTableDefinitions()) {
        if (!facts.tables.contains(table.columns.table.toLower())) {
            steps << SchemaStep{table.columns.table, {table.create}};
            made.insert(table.columns.table.toLower());
        }
    }
    for (const FollowidIndex& index : FollowidIndexes()) {
        const QString table = index.table.toLower();
        if ((facts.tables.contains(table) || made.contains(table)) && !facts.followidIndexed.contains(table))
            steps << SchemaStep{index.index, {CreateFollowidIndex(index)}};
    }
    return steps;
}

// Every name the program gives a table or an index, lower case, with what it is.
QHash<QString, QString> OwnNames()
{
    QHash<QString, QString> names;
    for (const TableColumns& table : RequiredTables())
        names.insert(table.table.toLower(), QStringLiteral("table"));
    for (const TableColumns& table : AddedTables())
        names.insert(table.table.toLower(), QStringLiteral("table"));
    for (const FollowidIndex& index : FollowidIndexes())
        names.insert(index.index.toLower(), QStringLiteral("index"));
    return names;
}

QString KindWord(const QString& type)
{
    if (type == QLatin1String("table"))
        return QStringLiteral("数据表");
    if (type == QLatin1String("index"))
        return QStringLiteral("索引");
    if (type == QLatin1String("view"))
        return QStringLiteral("视图");
    if (type == QLatin1String("trigger"))
        return QStringLiteral("触发器");
    return type;
}

Status Untrusted(const QStringList& problems)
{
    QString text = problems.mid(0, 3).join(QStringLiteral("；"));
    if (problems.size() > 3)
        text += QStringLiteral("；另有 %1 处").arg(problems.size() - 3);
    return Invalid(text);
}

}  // namespace

const QVector<TableColumns>& RequiredTables()
{
    static const QVector<TableColumns> tables = [] {
        const QStringList indexes = IndexColumnNames();
        QStringList proportions;
        for (int i = 1; i <= 10; ++i)
            proportions << QStringLiteral("d%1").arg(i);
        const QStringList coalValues = QStringList{QStringLiteral("Name")} + indexes;
        return QVector<TableColumns>{
            {QStringLiteral("meitan"),
             QStringList{QStringLiteral("id")} + coalValues
                 + QStringList{QStringLiteral("Meichan"), QStringLiteral("kucun"), QStringLiteral("JiaGe"),
                               QStringLiteral("riqi")}},
            {QStringLiteral("Lishi_fangan"),
             {QStringLiteral("id"), QStringLiteral("fanganhao"), QStringLiteral("xinxi"), QStringLiteral("riqi")}},
            {QStringLiteral("Lishi_meitan"),
             QStringList{QStringLiteral("id"), QStringLiteral("followid")} + coalValues
                 + QStringList{QStringLiteral("kucun"), QStringLiteral("meichan"), QStringLiteral("JiaGe")}},
            {QStringLiteral("Lishi_Peibibiao"),
             QStringList{QStringLiteral("id"), QStringLiteral("followid")} + proportions + coalValues
                 + QStringList{QStringLiteral("kucun"), QStringLiteral("meichan"), QStringLiteral("JiaGe")}},
        };
    }();
    return tables;
}

const QVector<TableColumns>& AddedTables()
{
    static const QVector<TableColumns> tables = [] {
        QVector<TableColumns> columns;
        for (const AddedTable& table : AddedTableDefinitions())
            columns << table.columns;
        return columns;
    }();
    return tables;
}

QStringList SchemaStatements()
{
    const QString indexes = IndexColumns();
    QString proportions;
    for (int i = 1; i <= 10; ++i)
        proportions += QStringLiteral(", d%1 REAL").arg(i);
    QStringList statements{
        QStringLiteral("CREATE TABLE meitan (id INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT")
            + indexes
            + QStringLiteral(", Meichan TEXT, kucun TEXT, JiaGe REAL, riqi DATETIME)"),
        QStringLiteral("CREATE TABLE Lishi_fangan (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "fanganhao TEXT, xinxi TEXT, "
                       "riqi DATETIME DEFAULT (datetime('now', 'localtime')))"),
        QStringLiteral("CREATE TABLE Lishi_meitan (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "followid INTEGER, Name TEXT")
            + indexes + QStringLiteral(", kucun TEXT, meichan TEXT, JiaGe REAL)"),
        QStringLiteral("CREATE TABLE Lishi_Peibibiao (id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "followid INTEGER")
            + proportions + QStringLiteral(", Name TEXT") + indexes
            + QStringLiteral(", kucun TEXT, meichan TEXT, JiaGe REAL)"),
    };
    // A new file takes every step an older one may lack.
    SchemaFacts none;
    for (const TableColumns& table : RequiredTables())
        none.tables.insert(table.table.toLower());
    for (const SchemaStep& step : StepsFor(none))
        statements << step.statements;
    return statements;
}

Result<QVector<SchemaStep>> MissingSteps(QSqlDatabase& db)
{
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    return StepsFor(*facts);
}

Status BringUpToDate(QSqlDatabase& db)
{
    const Result<QVector<SchemaStep>> steps = MissingSteps(db);
    if (!steps)
        return steps.failure();
    if (steps->isEmpty())
        return {};
    if (!db.transaction())
        return Fail(WriteReason(db.lastError()));
    QSqlQuery query(db);
    for (const SchemaStep& step : *steps) {
        for (const QString& statement : step.statements) {
            if (!query.exec(statement)) {
                const QString reason = WriteReason(query.lastError());
                query.finish();
                db.rollback();
                return Fail(QStringLiteral("无法加入 %1：%2").arg(step.adds, reason));
            }
        }
    }
    query.finish();
    if (!db.commit()) {
        const QString reason = WriteReason(db.lastError());
        db.rollback();
        return Fail(reason);
    }
    return {};
}

Status CheckTables(QSqlDatabase& db)
{
    const Result<SchemaFacts> facts = ReadFacts(db);
    if (!facts)
        return facts.failure();
    QStringList missing;
    for (const TableColumns& table : RequiredTables())
        if (!facts->tables.contains(table.table.toLower()))
            missing << table.table;
    if (!missing.isEmpty())
        return Invalid(QStringLiteral("缺少数据表：%1").arg(missing.join(QStringLiteral("、"))));
    QVector<TableColumns> checked = RequiredTables();
    for (const TableColumns& table : AddedTables())
        if (facts->tables.contains(table.table.toLower()))
            checked << table;
    for (const TableColumns& table : checked) {
        const QSqlRecord record = db.record(table.table);
        QStringList absent;
        for (const QString& column : table.columns)
            if (record.indexOf(column) < 0)
                absent << column;
        if (!absent.isEmpty())
            return Invalid(QStringLiteral("数据表 %1 缺少列：%2").arg(table.table, absent.join(QStringLiteral("、"))));
    }
    return {};
}

Status CheckTrusted(QSqlDatabase& db)
{
    const QHash<QString, QString> own = OwnNames();
    QStringList problems;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select type, name, tbl_name, sql from sqlite_master")))
        return QueryFailure(query.lastError());
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
        QString clash;
        if (!ownType.isEmpty() && ownType != o.type)
            clash = ownType == QLatin1String("table") ? QStringLiteral("（与本软件的数据表同名）")
                                                      : QStringLiteral("（与本软件的索引同名）");
        if (o.type == QLatin1String("trigger") || o.type == QLatin1String("view")) {
            problems << QStringLiteral("含有本软件不建立的%1 %2%3").arg(KindWord(o.type), ShownName(o.name), clash);
        } else if (o.type == QLatin1String("table")
                   && o.sql.simplified().startsWith(QStringLiteral("CREATE VIRTUAL TABLE"), Qt::CaseInsensitive)) {
            problems << QStringLiteral("含有外部数据表（虚拟表）%1%2").arg(ShownName(o.name), clash);
        } else if (!clash.isEmpty()) {
            problems << QStringLiteral("%1 %2 占用了本软件%3的名称")
                            .arg(KindWord(o.type), ShownName(o.name),
                                 ownType == QLatin1String("table") ? QStringLiteral("数据表") : QStringLiteral("索引"));
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
        return QueryFailure(query.lastError());
    while (query.next()) {
        const QString name = query.value(0).toString();
        const QString table = query.value(1).toString();
        if (own.value(name.toLower()) == QLatin1String("index")) {
            bool same = false;
            for (const FollowidIndex& index : FollowidIndexes())
                same = same
                       || (index.index.compare(name, Qt::CaseInsensitive) == 0
                           && index.table.compare(table, Qt::CaseInsensitive) == 0
                           && query.value(5).toString().compare(QStringLiteral("followid"), Qt::CaseInsensitive) == 0);
            if (!same)
                problems << QStringLiteral("索引 %1 与本软件的同名索引不同").arg(ShownName(name));
        }
        if (!ownTables.contains(table.toLower()))
            continue;
        if (query.value(2).toInt() != 0)
            problems << QStringLiteral("数据表 %1 上有唯一索引 %2，会使本软件保存数据失败").arg(table, ShownName(name));
        else if (query.value(3).toInt() != 0)
            problems << QStringLiteral("数据表 %1 上有带条件的索引 %2").arg(table, ShownName(name));
        else if (query.value(4).toInt() != 0)
            problems << QStringLiteral("数据表 %1 上有带表达式的索引 %2").arg(table, ShownName(name));
    }
    if (!problems.isEmpty())
        return Untrusted(problems);
    return {};
}

Status CheckSchema(QSqlDatabase& db)
{
    if (Status tables = CheckTables(db); !tables)
        return tables;
    return CheckTrusted(db);
}
