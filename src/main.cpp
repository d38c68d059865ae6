#include "app/ui/Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora配煤软件"));
    InstallChineseTranslation();
    if (!Main(AppFolder{QCoreApplication::applicationDirPath()}))
        return 1;
    return QApplication::exec();
}
