#pragma once

#include "base/Result.h"
#include "export/LoaderSheet.h"

#include <QString>
#include <QVector>

class QPrinter;

// Loader sheets on paper and as PDF: one A4 page per sheet, drawn from the
// same rich text either way. A sheet taller than its page (very long plan
// texts) is drawn smaller, so that it still stays on its one page.

// The page of one sheet as rich text (what is drawn).
QString LoaderSheetHtml(const LoaderSheet& sheet);

// Writes the sheets, one page each, into a PDF file at pdfPath. The file is
// replaced only once the new one is whole; the failure says why not.
Status WriteLoaderSheets(const QVector<LoaderSheet>& sheets, const QString& pdfPath);

// Sets a printer up for loader sheets before its dialog is shown: A4, upright,
// margins of 15 mm.
void PrepareLoaderPrinter(QPrinter& printer);

// Prints the sheets on a printer the user chose, one page each.
Status PrintLoaderSheets(const QVector<LoaderSheet>& sheets, QPrinter& printer);
