#include "ui/app/Startup.h"

#include "base/Settings.h"
#include "base/SingleInstance.h"
#include "data/Dbconnection.h"
#include "data/ServerData.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"
#include "ui/windows/SplashWindow.h"
#include "ui/windows/WorkspaceWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// The translators installed for the interface's language, replaced when the
// language is chosen again.
QList<QTranslator*>& InstalledTranslators()
{
    static QList<QTranslator*> translators;
    return translators;
}

void RemoveTranslators()
{
    for (QTranslator* translator : std::as_const(InstalledTranslators())) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    InstalledTranslators().clear();
}

bool Install(const QString& name, const QString& dir)
{
    auto* translator = new QTranslator(qApp);
    if (!translator->load(name, dir)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    InstalledTranslators() << translator;
    return true;
}

}  // namespace

void InstallChineseTranslation()
{
    RemoveTranslators();
    // Dates and numbers shown to the user follow Chinese conventions, whatever
    // the locale of the machine.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    Install(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool InstallLanguage(const QString& language)
{
    if (language != Settings::kEnglish) {
        InstallChineseTranslation();
        return true;
    }
    RemoveTranslators();
    // Qt's own buttons and dialogs are written in English: only the
    // program's texts need a translation.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return Install(QStringLiteral("velmora_en"), QStringLiteral(":/i18n"));
}

namespace {

// A server that wants a password the password file does not hold: the user
// types it, kept in memory for this session only.
void AskServerPassword(const AppFolder& folder)
{
    DbSettings settings = DatabaseOf(folder);
    if (!settings.onServer())
        return;
    ServerCheck check = TestConnection(settings);
    while (check.problem == ServerProblem::Password) {
        const QString user = settings.user.isEmpty() ? QCoreApplication::translate("Startup", "（本机登录名）") : settings.user;
        const QString label =
            settings.password.isEmpty()
                ? QCoreApplication::translate("Startup", "数据库服务器 %1 需要用户 %2 的密码：").arg(settings.serverName(), user)
                : QCoreApplication::translate("Startup", "密码不对。请重新输入数据库服务器 %1 上用户 %2 的密码：")
                      .arg(settings.serverName(), user);
        const std::optional<QString> typed =
            Prompt::password(nullptr, QCoreApplication::translate("Startup", "数据库连接"), label);
        if (!typed)
            return;
        settings.password = *typed;
        check = TestConnection(settings);
    }
    if (check.connected())
        UseDatabase(folder, settings);
}

}  // namespace

std::unique_ptr<Windows> Main(const AppFolder& folder)
{
    auto guard = std::make_unique<SingleInstance>(folder);
    if (guard->state() == SingleInstance::State::HeldByAnother) {
        Prompt::show(nullptr, QCoreApplication::translate("Startup", "程序已经运行！"),
                     QCoreApplication::translate("Startup", "错误！"), Prompt::Icon::Critical);
        return nullptr;
    }
    if (guard->state() == SingleInstance::State::CannotLock) {
        Prompt::show(
            nullptr,
            (folder.userData
                 ? QCoreApplication::translate(
                     "Startup", "无法在数据文件夹 %1 中创建文件 %2，程序不能确认是否已有一个在运行，不能启动。")
                 : QCoreApplication::translate(
                     "Startup", "无法在程序文件夹 %1 中创建文件 %2，程序不能确认是否已有一个在运行，不能启动。"))
                .arg(QDir::toNativeSeparators(folder.dir), SingleInstance::lockFileName()),
            QCoreApplication::translate("Startup", "错误！"), Prompt::Icon::Critical);
        return nullptr;
    }

    AskServerPassword(folder);
    if (const Result<DatabaseState> database = EnsureDatabase(folder); !database) {
        Prompt::show(nullptr, Say(database), QCoreApplication::translate("Startup", "错误！"), Prompt::Icon::Critical);
        return nullptr;
    }

    const QFileInfo backups(folder.BackupDir());
    if (backups.exists() && !backups.isDir()) {
        Prompt::show(
            nullptr,
            QCoreApplication::translate("Startup", "%1 是一个文件，不是文件夹，数据备份将不能使用。请将它改名或移走。")
                .arg(QDir::toNativeSeparators(folder.BackupDir())),
            QCoreApplication::translate("Startup", "提示"), Prompt::Icon::Warning);
    } else if (!backups.exists() && !QDir(folder.dir).mkdir(QStringLiteral("bakup"))) {
        Prompt::show(nullptr,
                     QCoreApplication::translate("Startup", "无法创建备份文件夹 %1，数据备份将不能使用。")
                         .arg(QDir::toNativeSeparators(folder.BackupDir())),
                     QCoreApplication::translate("Startup", "提示"), Prompt::Icon::Warning);
    }

    auto windows = std::make_unique<Windows>(WindowContext{folder});
    windows->holdLock(std::move(guard));
    auto* splash = new SplashWindow;
    QObject::connect(splash, &SplashWindow::finished, windows.get(),
                     [hub = windows.get()] { hub->workspace()->show(); });
    splash->show();
    return windows;
}
