#pragma once

#include <QString>
#include <QStringList>

// The text of a PDF file as pdftotext (poppler-utils) lays it out, one entry
// per page; empty when it cannot be read.
QStringList PdfPages(const QString& path);

// The words of the first line of a page that starts with start.
QStringList PdfLineWith(const QString& page, const QString& start);
