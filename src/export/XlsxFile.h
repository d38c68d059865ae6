#pragma once

#include "base/Result.h"
#include "export/CellTable.h"
#include "export/XlsFile.h"

#include <QString>
#include <QVector>

// Workbooks in today's format (.xlsx): a reader of a workbook's first sheet
// into a CellTable (the writer is in XlsxWriter.h).

// The limits of a worksheet in this format.
inline constexpr int kXlsxMaxRows = 1048576;
inline constexpr int kXlsxMaxColumns = 16384;

// The first sheet of the workbook: shared strings (rich-text runs joined,
// phonetic guides left out), inline strings, numbers (shortest text, number
// set), numbers formatted as dates (the date as text, "yyyy-MM-dd" with
// " HH:mm:ss" when it has a time of day) or as percentages (the number times
// 100 followed by "%", as the sheet shows it), booleans ("TRUE"/"FALSE"),
// formula results (a formula the file holds no result for is marked
// uncomputed), and cells placed by their references, gaps included. The sheet
// is read as it is inflated; a sheet beyond the limits of a table
// (kTableMaxRows, rows numbered or not; kTableMaxCells; a cell longer than
// kXlsMaxTextLength) is refused with the reason. A damaged, cut-off or foreign
// file gives a message.
Result<CellTable> ReadXlsxFile(const QString& path, const ProgressCallback& progress = {});
