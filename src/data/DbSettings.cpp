#include "data/DbSettings.h"

#include "base/Files.h"
#include "base/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kDriverKey = QStringLiteral("driver");
const QString kHostKey = QStringLiteral("host");
const QString kPortKey = QStringLiteral("port");
const QString kDbnameKey = QStringLiteral("dbname");
const QString kUserKey = QStringLiteral("user");

QString DriverName(DbDriver driver)
{
    return driver == DbDriver::Postgresql ? QStringLiteral("postgresql") : QStringLiteral("sqlite");
}

// A field of a password-file line: ':' and '\' stand behind a backslash.
QString PassField(const QString& text)
{
    QString field;
    for (const QChar c : text) {
        if (c == QLatin1Char(':') || c == QLatin1Char('\\'))
            field += QLatin1Char('\\');
        field += c;
    }
    return field;
}

// The first four fields of a password-file line, unescaped; fewer when the
// line has fewer.
QStringList PassKey(const QString& line)
{
    QStringList fields;
    QString field;
    for (qsizetype i = 0; i < line.size() && fields.size() < 4; ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('\\') && i + 1 < line.size()) {
            field += line[++i];
        } else if (c == QLatin1Char(':')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    return fields;
}

QString LoginName()
{
    QString name = qEnvironmentVariable("PGUSER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    return name;
}

}  // namespace

QString DbSettings::serverName() const
{
    if (!onServer())
        return QStringLiteral("coal.dat");
    const QString where = host.isEmpty() ? QStringLiteral("localhost") : QDir::toNativeSeparators(host);
    return QStringLiteral("%1（%2:%3）").arg(dbname, where).arg(port);
}

bool DbSettings::sameDatabase(const DbSettings& other) const
{
    return driver == other.driver && host == other.host && port == other.port && dbname == other.dbname
           && user == other.user;
}

DbSettings ReadDbSettings(const AppFolder& folder)
{
    DbSettings settings;
    const QString driver = ReadIni(folder, kDatabaseSection, kDriverKey).trimmed();
    if (driver.compare(QStringLiteral("postgresql"), Qt::CaseInsensitive) == 0
        || driver.compare(QStringLiteral("postgres"), Qt::CaseInsensitive) == 0)
        settings.driver = DbDriver::Postgresql;
    settings.host = ReadIni(folder, kDatabaseSection, kHostKey).trimmed();
    bool ok = false;
    const int port = ReadIni(folder, kDatabaseSection, kPortKey).trimmed().toInt(&ok);
    if (ok && port > 0 && port < 65536)
        settings.port = port;
    settings.dbname = ReadIni(folder, kDatabaseSection, kDbnameKey).trimmed();
    settings.user = ReadIni(folder, kDatabaseSection, kUserKey).trimmed();
    return settings;
}

Status SaveDbSettings(const AppFolder& folder, const DbSettings& settings)
{
    const Status written = WriteIniValues(folder, kDatabaseSection,
                                          {{kDriverKey, DriverName(settings.driver)},
                                           {kHostKey, settings.host},
                                           {kPortKey, QString::number(settings.port)},
                                           {kDbnameKey, settings.dbname},
                                           {kUserKey, settings.user}});
    if (!written)
        return Fail(CoreText::tr("数据库连接设置没有保存，原来的设置保持不变。\n%1", written.said()));
    return {};
}

QString PasswordFilePath()
{
    const QString set = qEnvironmentVariable("PGPASSFILE");
    if (!set.isEmpty())
        return set;
#ifdef Q_OS_WIN
    return qEnvironmentVariable("APPDATA") + QStringLiteral("/postgresql/pgpass.conf");
#else
    return QDir::homePath() + QStringLiteral("/.pgpass");
#endif
}

Status RememberPassword(const DbSettings& settings)
{
    const QString path = PasswordFilePath();
    // A socket folder is matched by its path; a missing host by "localhost".
    const QStringList key{settings.host.isEmpty() ? QStringLiteral("localhost") : settings.host,
                          QString::number(settings.port), settings.dbname,
                          settings.user.isEmpty() ? LoginName() : settings.user};
    QStringList lines;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return Fail(CoreText::tr("无法读取密码文件 %1：%2", QDir::toNativeSeparators(path), old.errorString()));
        lines = QString::fromUtf8(old.readAll()).split(QLatin1Char('\n'));
        old.close();
        for (QString& line : lines)
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
    }
    QStringList escaped;
    for (const QString& field : key)
        escaped << PassField(field);
    const QString entry = escaped.join(QLatin1Char(':')) + QLatin1Char(':') + PassField(settings.password);
    bool replaced = false;
    for (QString& line : lines) {
        if (!line.startsWith(QLatin1Char('#')) && PassKey(line) == key) {
            line = entry;
            replaced = true;
        }
    }
    if (!replaced)
        lines << entry;

    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return Fail(WriteFailedMessage(path, WriteFailureReason(path, 0, QString())));
    // The client library ignores a password file others can read, and the
    // password must never be readable by them, not even for a moment.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(WriteFailedMessage(path, WriteFailureReason(path, 0, file.errorString())));
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return Fail(WriteFailedMessage(path, WriteFailureReason(path, bytes.size(), file.errorString())));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {};
}
