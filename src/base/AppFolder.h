#pragma once

#include <QString>

// The application folder: the folder of the executable. Everything the program
// keeps on disk lies in or under it. Core operations take it as an argument, so
// tests work in temporary folders and never touch a real coal.dat.
struct AppFolder {
    QString dir;

    QString DbPath() const { return File(QStringLiteral("coal.dat")); }
    QString ConfigPath() const { return File(QStringLiteral("config.ini")); }
    QString BackupDir() const { return File(QStringLiteral("bakup")); }
    QString TemplateDir() const { return File(QStringLiteral("template")); }
    QString ModelFileName() const { return QStringLiteral("mspm.dll"); }
    QString ModelPath() const { return File(ModelFileName()); }
    QString HelpPath() const { return File(QStringLiteral("help/index.html")); }
    QString TemplatePath(const QString& name) const
    {
        return File(QStringLiteral("template/") + name);
    }

    // dir joined with a relative name, with exactly one separator between them.
    QString File(const QString& name) const
    {
        if (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
            return dir + name;
        return dir + QLatin1Char('/') + name;
    }
};
