#include "base/AppFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#ifndef VELMORA_SHARE_FROM_BIN
#define VELMORA_SHARE_FROM_BIN "../share/velmora"
#endif

namespace {

bool HoldsTemplates(const QString& folder)
{
    return QFileInfo(AppFolder::Join(folder, QStringLiteral("template"))).isDir();
}

// Whether a file can be created in folder: permission bits alone do not say it
// (read-only mounts, access lists), so one is created and removed again.
bool CanCreateFiles(const QString& folder)
{
    QTemporaryFile probe(AppFolder::Join(folder, QStringLiteral(".velmora-probe-XXXXXX")));
    return probe.open();
}

}  // namespace

QString InstalledResourceDir(const QString& programDir)
{
    return QDir::cleanPath(AppFolder::Join(programDir, QStringLiteral(VELMORA_SHARE_FROM_BIN)));
}

AppFolder ChooseAppFolder(const QString& programDir, const QString& userDataDir)
{
    AppFolder folder;
    const QString installed = InstalledResourceDir(programDir);
    if (HoldsTemplates(programDir) || !HoldsTemplates(installed)) {
        if (CanCreateFiles(programDir)) {
            folder.dir = programDir;
            return folder;
        }
        folder.resources = programDir;
    } else {
        folder.resources = installed;
    }
    folder.dir = userDataDir;
    folder.userData = true;
    QDir().mkpath(userDataDir);
    return folder;
}
