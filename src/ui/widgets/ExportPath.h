#pragma once

#include "export/LoaderSheet.h"

#include <QDateTime>
#include <QString>
#include <QVector>

class QWidget;

// Asks where to save an export: the file dialog offers the export's usual
// name, and a chosen name without the extension gets it. "" when cancelled.
QString AskExportPath(QWidget* parent, const QString& title, const QDateTime& now, const QString& filter,
                      const QString& extension);

// Asks for a PDF file and writes the loader sheets into it. The path written,
// or "" when the user cancelled or the file could not be written (which a
// message box has then said).
QString SaveLoaderSheets(QWidget* parent, const QVector<LoaderSheet>& sheets, const QDateTime& now);
