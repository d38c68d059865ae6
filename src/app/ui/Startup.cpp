#include "app/ui/Startup.h"

#include "app/ui/Forms.h"
#include "app/ui/Prompt.h"
#include "app/ui/SplashWindow.h"
#include "data/Dbconnection.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QLockFile>
#include <QTranslator>

#include <memory>

SingleInstance::SingleInstance(const AppFolder& folder)
{
    const QByteArray key = QCryptographicHash::hash(QDir(folder.dir).absolutePath().toUtf8(),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    lock_ = new QLockFile(QDir::temp().filePath(QStringLiteral("velmora-%1.lock").arg(QString::fromLatin1(key))));
    lock_->setStaleLockTime(0);
    acquired_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance()
{
    delete lock_;
}

void InstallChineseTranslation()
{
    // Dates and numbers shown to the user follow Chinese conventions, whatever
    // the locale of the machine.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

bool Main(const AppFolder& folder)
{
    Forms::setFolder(folder);

    // Held for the life of the process.
    static std::unique_ptr<SingleInstance> instance;
    auto guard = std::make_unique<SingleInstance>(folder);
    if (!guard->acquired()) {
        Prompt::show(nullptr, QStringLiteral("程序已经运行！"), QStringLiteral("错误！"), Prompt::Icon::Critical);
        return false;
    }

    QString detail;
    switch (EnsureDatabase(folder, &detail)) {
    case DatabaseState::Ready:
    case DatabaseState::Created:
        break;
    case DatabaseState::NotADatabase:
        Prompt::show(nullptr,
                     QStringLiteral("数据文件 %1 不是本软件的数据库，程序无法使用它。\n"
                                    "文件没有被改动。请从备份还原一个正确的 coal.dat，或将它移走后重新启动程序。")
                         .arg(QDir::toNativeSeparators(folder.DbPath())),
                     QStringLiteral("错误！"), Prompt::Icon::Critical);
        return false;
    case DatabaseState::MissingTables:
        Prompt::show(nullptr,
                     QStringLiteral("数据文件 %1 缺少数据表：%2。\n"
                                    "文件没有被改动。请从备份还原一个正确的 coal.dat，或将它移走后重新启动程序。")
                         .arg(QDir::toNativeSeparators(folder.DbPath()), detail),
                     QStringLiteral("错误！"), Prompt::Icon::Critical);
        return false;
    case DatabaseState::CannotCreate:
        Prompt::show(nullptr,
                     QStringLiteral("无法在 %1 创建数据文件 coal.dat：%2")
                         .arg(QDir::toNativeSeparators(folder.dir), detail),
                     QStringLiteral("错误！"), Prompt::Icon::Critical);
        return false;
    }

    QDir dir(folder.dir);
    if (!dir.exists(QStringLiteral("bakup")) && !dir.mkdir(QStringLiteral("bakup"))) {
        Prompt::show(nullptr,
                     QStringLiteral("无法创建备份文件夹 %1，数据备份将不能使用。")
                         .arg(QDir::toNativeSeparators(folder.BackupDir())),
                     QStringLiteral("提示"), Prompt::Icon::Warning);
    }

    instance = std::move(guard);
    auto* splash = new SplashWindow;
    splash->show();
    return true;
}
