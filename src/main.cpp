#include "base/Settings.h"
#include "ui/app/Startup.h"
#include "ui/app/Windows.h"
#include "ui/widgets/Prompt.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora配煤软件"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velmora"));
    InstallChineseTranslation();
    const AppFolder folder = ChooseAppFolder(QCoreApplication::applicationDirPath(),
                                             QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // Messages before the folder is known are in Chinese; from here on the
    // interface speaks the language chosen in the settings.
    InstallLanguage(ReadSettings(folder).language);
    // The name beside every window's title, in the interface's language (the
    // application name above names the data folder and stays as it is).
    QGuiApplication::setApplicationDisplayName(ApplicationTitle());
    const std::unique_ptr<Windows> windows = Main(folder);
    if (!windows)
        return 1;
    return QApplication::exec();
}
