#pragma once

#include <QString>

// The application folder: the folder of the executable. Everything the program
// keeps on disk lies in or under it. Core operations take it as an argument, so
// tests work in temporary folders and never touch a real coal.dat.
struct AppFolder {
    QString dir;

    QString DbPath() const { return file(QStringLiteral("coal.dat")); }
    QString ConfigPath() const { return file(QStringLiteral("config.ini")); }
    QString BackupDir() const { return file(QStringLiteral("bakup")); }
    QString TemplateDir() const { return file(QStringLiteral("template")); }
    QString ModelFileName() const { return QStringLiteral("mspm.dll"); }
    QString ModelPath() const { return file(ModelFileName()); }
    QString HelpPath() const { return file(QStringLiteral("help/index.html")); }
    QString TemplatePath(const QString& name) const
    {
        return file(QStringLiteral("template/") + name);
    }

    // dir joined with a relative name, with exactly one separator between them.
    QString file(const QString& name) const
    {
        if (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
            return dir + name;
        return dir + QLatin1Char('/') + name;
    }
};
