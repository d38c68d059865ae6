#include "ui/widgets/ExportPath.h"

#include "export/ListExport.h"
#include "ui/widgets/LoaderSheetPrint.h"
#include "ui/widgets/Prompt.h"
#include "ui/widgets/Say.h"

#include <QCoreApplication>

QString AskExportPath(QWidget* parent, const QString& title, const QDateTime& now, const QString& filter,
                      const QString& extension)
{
    const QString chosen = Prompt::openFileName(parent, title, ProposedExportName(now), filter);
    return chosen.isEmpty() ? QString() : WithExportExtension(chosen, extension);
}

QString SaveLoaderSheets(QWidget* parent, const QVector<LoaderSheet>& sheets, const QDateTime& now)
{
    const QString path = AskExportPath(parent, QCoreApplication::translate("LoaderSheet", "保存装车单"), now,
                                       QCoreApplication::translate("LoaderSheet", "PDF 文件 (*.pdf)"),
                                       QStringLiteral("pdf"));
    if (path.isEmpty())
        return QString();
    if (Status written = WriteLoaderSheets(sheets, path); !written) {
        Prompt::show(parent, QCoreApplication::translate("LoaderSheet", "保存装车单失败：") + Say(written), QString(),
                     Prompt::Icon::Warning);
        return QString();
    }
    return path;
}
