#pragma once

#include <QString>

// The application folder: where the program keeps what it writes (coal.dat,
// config.ini, bakup, the lock and the model file), and where it reads what it
// ships (the export templates, the help page). Both are the folder of the
// executable when that folder holds the templates and can be written; an
// installed program reads from its share folder and writes to the user's data
// folder (ChooseAppFolder). Core operations take it as an argument, so tests
// work in temporary folders and never touch a real coal.dat.
struct AppFolder {
    QString dir;
    // Where the templates and the help page are read; empty means dir.
    QString resources;
    // dir is the user's data folder, not the program's own folder.
    bool userData = false;

    QString DbPath() const { return File(QStringLiteral("coal.dat")); }
    QString ConfigPath() const { return File(QStringLiteral("config.ini")); }
    QString BackupDir() const { return File(QStringLiteral("bakup")); }
    QString ModelFileName() const { return QStringLiteral("mspm.dll"); }
    QString ModelPath() const { return File(ModelFileName()); }

    QString ResourceDir() const { return resources.isEmpty() ? dir : resources; }
    QString TemplateDir() const { return Join(ResourceDir(), QStringLiteral("template")); }
    // The help page; an English interface has its own under help/en.
    QString HelpPath(bool english = false) const
    {
        return Join(ResourceDir(), english ? QStringLiteral("help/en/index.html") : QStringLiteral("help/index.html"));
    }
    QString TemplatePath(const QString& name) const
    {
        return Join(ResourceDir(), QStringLiteral("template/") + name);
    }
    // The program's own translations (*.qm), when it ships any.
    QString TranslationDir() const { return Join(ResourceDir(), QStringLiteral("translations")); }

    // dir joined with a relative name, with exactly one separator between them.
    QString File(const QString& name) const { return Join(dir, name); }

    static QString Join(const QString& folder, const QString& name)
    {
        if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
            return folder + name;
        return folder + QLatin1Char('/') + name;
    }
};

// The share folder an installed program reads its templates and help from,
// for the executable's folder programDir (bin/../share/velmora).
QString InstalledResourceDir(const QString& programDir);

// The folders the program runs with, decided once at start-up.
// - programDir holds the templates (a build or an unpacked copy): it is read
//   from, and also written to when it can be written, exactly as it always was.
//   When it cannot be written, what the program writes goes to userDataDir.
// - Otherwise the program is installed: templates and help are read from
//   InstalledResourceDir(programDir), and what it writes goes to userDataDir,
//   even when a privileged user could write the program's folder.
// userDataDir is created when it is missing; when it cannot be created, the
// single-instance lock fails there and start-up says so.
AppFolder ChooseAppFolder(const QString& programDir, const QString& userDataDir);
