#include "data/Dbconnection.h"

#include "base/QualityIndex.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

namespace {

const QString kConnectionName = QStringLiteral("velmora_shared");

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

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The cause of an SQLite failure in words, from its primary result code.
QString CauseOf(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    if (!ok)
        return QString();
    switch (code) {
    case 5:   // busy
    case 6:   // locked
        return QStringLiteral("数据库文件正被占用（已锁定），请稍后再试");
    case 8:   // read-only
        return QStringLiteral("数据库文件是只读的，不能写入");
    case 10:  // input or output
        return QStringLiteral("读写数据库文件时出错");
    case 11:  // corrupt
    case 26:  // not a database
        return QStringLiteral("数据库文件已损坏");
    case 13:  // full
        return QStringLiteral("磁盘空间不足");
    case 14:  // cannot open
        return QStringLiteral("无法打开数据库文件");
    default:
        return QString();
    }
}

QString DetailOf(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text.trimmed();
}

// The cause in words when known, else the database's own text.
QString CauseOrDetail(const QSqlError& error)
{
    const QString cause = CauseOf(error);
    const QString detail = DetailOf(error);
    if (cause.isEmpty())
        return detail;
    return detail.isEmpty() ? cause : cause + QStringLiteral("：") + detail;
}

QString DamagedAdvice()
{
    return QStringLiteral("文件没有被改动。请从备份还原一个正确的 coal.dat，或将它移走后重新启动程序。");
}

// Opens a connection of its own on a file, runs the check and closes it.
template <class Check>
Status WithOwnConnection(const QString& path, const QString& options, Check&& check)
{
    const QString name = QStringLiteral("velmora_check_") + QUuid::createUuid().toString(QUuid::Id128);
    Status result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(options);
        if (!db.open())
            result = Fail(QStringLiteral("无法打开：%1").arg(DetailOf(db.lastError())));
        else
            result = check(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
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

namespace {

// An added table: its columns and the statements that create it.
struct AddedTable {
    TableColumns columns;
    QStringList statements;
};

const QVector<AddedTable>& AddedTableDefinitions()
{
    static const QVector<AddedTable> tables = {
        // One row per bounded index of a plan's run: the index's column name in
        // meitan, the bounds as typed ("" = none).
        {{QStringLiteral("Lishi_zhibiao"),
          {QStringLiteral("id"), QStringLiteral("followid"), QStringLiteral("zhibiao"), QStringLiteral("xiaxian"),
           QStringLiteral("shangxian")}},
         {QStringLiteral("CREATE TABLE Lishi_zhibiao (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, "
                         "zhibiao TEXT, xiaxian TEXT, shangxian TEXT)"),
          QStringLiteral("CREATE INDEX idx_lishi_zhibiao_followid ON Lishi_zhibiao (followid)")}},
        // One row per plan stored with its targets: the tonnage and the
        // proportion count as typed, the shovel mode (0/1), and the coals that
        // had to take part as their positions in the plan's coal list
        // (Lishi_meitan by id, counted from 1), "2,5".
        {{QStringLiteral("Lishi_canshu"),
          {QStringLiteral("id"), QStringLiteral("followid"), QStringLiteral("zhongliang"), QStringLiteral("chanshu"),
           QStringLiteral("chan"), QStringLiteral("bixuan")}},
         {QStringLiteral("CREATE TABLE Lishi_canshu (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, "
                         "zhongliang TEXT, chanshu TEXT, chan INTEGER, bixuan TEXT)"),
          QStringLiteral("CREATE INDEX idx_lishi_canshu_followid ON Lishi_canshu (followid)")}},
        // One row per quality index of a plan computed with basis weighting:
        // the index's column name in meitan and the basis it was averaged on
        // ("ar", "ad", "d", "daf"). A plan without rows here was averaged by
        // tons as loaded.
        {{QStringLiteral("Lishi_jizhun"),
          {QStringLiteral("id"), QStringLiteral("followid"), QStringLiteral("zhibiao"), QStringLiteral("jizhun")}},
         {QStringLiteral("CREATE TABLE Lishi_jizhun (id INTEGER PRIMARY KEY AUTOINCREMENT, followid INTEGER, "
                         "zhibiao TEXT, jizhun TEXT)"),
          QStringLiteral("CREATE INDEX idx_lishi_jizhun_followid ON Lishi_jizhun (followid)")}},
    };
    return tables;
}

}  // namespace

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
        QStringLiteral("CREATE INDEX idx_lishi_meitan_followid ON Lishi_meitan (followid)"),
        QStringLiteral("CREATE INDEX idx_lishi_peibibiao_followid ON Lishi_Peibibiao (followid)"),
    };
    for (const AddedTable& table : AddedTableDefinitions())
        statements << table.statements;
    return statements;
}

Failure DatabaseFailure(const QSqlError& error)
{
    const QString cause = CauseOf(error);
    const QString detail = DetailOf(error);
    QString message = QStringLiteral("数据库操作失败：");
    if (!cause.isEmpty()) {
        message += cause;
        if (!detail.isEmpty())
            message += QStringLiteral("\n（") + detail + QStringLiteral("）");
    } else {
        message += detail.isEmpty() ? QStringLiteral("原因不明") : detail;
    }
    return Fail(message);
}

bool ConnectionPresent()
{
    return QSqlDatabase::contains(kConnectionName);
}

QSqlDatabase DbConn()
{
    return QSqlDatabase::database(kConnectionName, false);
}

Status OpenConnection(const AppFolder& folder)
{
    const QString path = folder.DbPath();
    if (ConnectionPresent()) {
        QSqlDatabase db = DbConn();
        if (db.databaseName() == path && db.isOpen())
            return {};
        if (db.databaseName() != path) {
            CloseConnection();
        } else {
            if (!db.open())
                return DatabaseFailure(db.lastError());
            return {};
        }
    }
    if (!QFileInfo::exists(path))
        return Fail(QStringLiteral("数据库操作失败：找不到数据库文件 %1").arg(Shown(path)));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open()) {
        const Failure failure = DatabaseFailure(db.lastError());
        CloseConnection();
        return failure;
    }
    return {};
}

void CloseConnection()
{
    if (!ConnectionPresent())
        return;
    {
        QSqlDatabase db = DbConn();
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(kConnectionName);
}

Result<ConnectionScope> ConnectionScope::Open(const AppFolder& folder)
{
    if (ConnectionPresent() && DbConn().isOpen() && DbConn().databaseName() == folder.DbPath())
        return ConnectionScope(false);
    const Status opened = OpenConnection(folder);
    if (!opened)
        return opened.failure();
    return ConnectionScope(true);
}

ConnectionScope::~ConnectionScope()
{
    if (opened_)
        CloseConnection();
}

Result<Transaction> Transaction::Begin()
{
    if (!ConnectionPresent())
        return Fail(QStringLiteral("数据库操作失败：数据库连接未打开"));
    if (!DbConn().transaction())
        return DatabaseFailure(DbConn().lastError());
    Transaction transaction;
    transaction.active_ = true;
    return transaction;
}

Transaction::~Transaction()
{
    if (active_ && ConnectionPresent())
        DbConn().rollback();
}

Status Transaction::Commit()
{
    if (!active_)
        return Fail(QStringLiteral("数据库操作失败：事务已经结束"));
    if (!DbConn().commit())
        return DatabaseFailure(DbConn().lastError());
    active_ = false;
    return {};
}

Result<WriteTransaction> WriteTransaction::Begin(const AppFolder& folder)
{
    Result<ConnectionScope> connection = ConnectionScope::Open(folder);
    if (!connection)
        return connection.failure();
    Result<Transaction> transaction = Transaction::Begin();
    if (!transaction)
        return transaction.failure();
    return WriteTransaction(std::move(*connection), std::move(*transaction));
}

Result<QSqlQuery> RunQuery(const QString& sql, const QVariantList& values)
{
    if (!ConnectionPresent())
        return Fail(QStringLiteral("数据库操作失败：数据库连接未打开"));
    QSqlQuery query(DbConn());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return DatabaseFailure(query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return DatabaseFailure(query.lastError());
    return query;
}

Status Execute(const QString& sql, const QVariantList& values)
{
    return RunQuery(sql, values).status();
}

QVariant TextValue(const QString& text)
{
    if (text.isNull())
        return QVariant(QString(QLatin1StringView("")));
    return QVariant(text);
}

Status CheckDatabaseFile(const QString& path, bool integrity)
{
    if (!QFileInfo(path).isFile())
        return Fail(QStringLiteral("%1 不是文件").arg(Shown(path)));
    return WithOwnConnection(path, QStringLiteral("QSQLITE_OPEN_READONLY"), [&](QSqlDatabase& db) -> Status {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("select name from sqlite_master where type='table'")))
            return Fail(QStringLiteral("不是数据库文件（%1）").arg(DetailOf(query.lastError())));
        QSet<QString> present;
        while (query.next())
            present.insert(query.value(0).toString().toLower());
        QStringList missing;
        for (const TableColumns& table : RequiredTables())
            if (!present.contains(table.table.toLower()))
                missing << table.table;
        if (!missing.isEmpty())
            return Fail(QStringLiteral("缺少数据表：%1").arg(missing.join(QStringLiteral("、"))));
        QVector<TableColumns> checked = RequiredTables();
        for (const TableColumns& table : AddedTables())
            if (present.contains(table.table.toLower()))
                checked << table;
        for (const TableColumns& table : checked) {
            const QSqlRecord record = db.record(table.table);
            QStringList absent;
            for (const QString& column : table.columns)
                if (record.indexOf(column) < 0)
                    absent << column;
            if (!absent.isEmpty())
                return Fail(QStringLiteral("数据表 %1 缺少列：%2").arg(table.table, absent.join(QStringLiteral("、"))));
        }
        if (integrity) {
            if (!query.exec(QStringLiteral("pragma integrity_check")))
                return Fail(QStringLiteral("数据库文件已损坏（%1）").arg(DetailOf(query.lastError())));
            QStringList problems;
            while (query.next())
                problems << query.value(0).toString();
            if (problems != QStringList{QStringLiteral("ok")})
                return Fail(QStringLiteral("数据库文件已损坏（%1）").arg(problems.mid(0, 3).join(QStringLiteral("；"))));
        }
        return {};
    });
}

Status AddMissingTables(const QString& path)
{
    return WithOwnConnection(path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"), [](QSqlDatabase& db) -> Status {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("select name from sqlite_master where type='table'")))
            return Fail(DetailOf(query.lastError()));
        QSet<QString> present;
        while (query.next())
            present.insert(query.value(0).toString().toLower());
        query.finish();
        QStringList statements;
        for (const AddedTable& table : AddedTableDefinitions())
            if (!present.contains(table.columns.table.toLower()))
                statements << table.statements;
        if (statements.isEmpty())
            return {};
        if (!db.transaction())
            return Fail(CauseOrDetail(db.lastError()));
        for (const QString& statement : statements) {
            if (!query.exec(statement)) {
                const QString reason = CauseOrDetail(query.lastError());
                db.rollback();
                return Fail(reason);
            }
        }
        if (!db.commit()) {
            const QString reason = CauseOrDetail(db.lastError());
            db.rollback();
            return Fail(reason);
        }
        return {};
    });
}

Result<DatabaseState> EnsureDatabase(const AppFolder& folder)
{
    const QString path = folder.DbPath();
    if (QFileInfo::exists(path)) {
        const Status checked = CheckDatabaseFile(path);
        if (!checked)
            return Fail(QStringLiteral("数据文件 %1 不是本软件的数据库，程序无法使用它（%2）。\n")
                            .arg(Shown(path), checked.message())
                        + DamagedAdvice());
        if (Status added = AddMissingTables(path); !added)
            return Fail(QStringLiteral("数据文件 %1 需要加入保存方案指标的数据表，但无法写入（%2）。\n"
                                       "文件没有被改动。请确认它没有被其他程序占用、可以写入后重新启动程序。")
                            .arg(Shown(path), added.message()));
        return DatabaseState::Ready;
    }
    const Status created = WithOwnConnection(path, QString(), [](QSqlDatabase& db) -> Status {
        if (!db.transaction())
            return Fail(DetailOf(db.lastError()));
        QSqlQuery query(db);
        for (const QString& statement : SchemaStatements())
            if (!query.exec(statement))
                return Fail(DetailOf(query.lastError()));
        if (!db.commit())
            return Fail(DetailOf(db.lastError()));
        return {};
    });
    if (!created) {
        QFile::remove(path);
        return Fail(QStringLiteral("无法在 %1 创建数据文件 coal.dat：%2").arg(Shown(folder.dir), created.message()));
    }
    return DatabaseState::Created;
}
