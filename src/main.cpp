#include "ui/app/Startup.h"
#include "ui/app/Windows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora配煤软件"));
    InstallChineseTranslation();
    const std::unique_ptr<Windows> windows = Main(AppFolder{QCoreApplication::applicationDirPath()});
    if (!windows)
        return 1;
    return QApplication::exec();
}
