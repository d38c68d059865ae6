#pragma once

#include "base/Result.h"
#include "export/XlsFile.h"
#include "export/XlsxFile.h"

#include <QString>
#include <QVector>

#include <memory>

// Workbooks in today's format (.xlsx), written row by row straight into the
// file: the package parts ([Content_Types].xml, the relationships, the
// workbook, the styles and one sheet) go into a zip container as they are
// made, so a list of any length is never held whole. Text cells are written
// as inline strings, number cells as numbers with a number format that shows
// the decimals the list showed ("0.00" for two), and a header row in bold.

// How the exported sheet is dressed beyond its cells.
struct XlsxLayout {
    QVector<int> boldRows;   // rows (from 0) set in bold: the lists' header rows
    int frozenRows = 0;      // rows above the scrolling part; 0 = nothing frozen
};

class XlsxWriter {
public:
    // The workbook for path. Nothing is written before begin().
    explicit XlsxWriter(const QString& path);
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;
    // Without a successful finish() the new file is removed and an older file
    // of that name stays as it was.
    ~XlsxWriter();

    // Starts the sheet: its name (Sheet1 when the name cannot name a sheet),
    // the column widths in 1/256 of a character (0 = the default width) and
    // the rows kept in view at the top (0 = none).
    Status begin(const QString& sheetName, const QVector<int>& columnWidths, int frozenRows);
    // The next row, below the ones written before.
    Status addRow(const XlsRow& row, bool bold = false);
    // Completes the workbook and puts it in place of an older file.
    Status finish();

    // Rows written so far.
    int rowCount() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The whole sheet in one call, with its rows dressed as the layout says.
// Refuses a sheet beyond the format's limits before writing anything.
Status WriteXlsxFile(const QString& path, const XlsSheet& sheet, const XlsxLayout& layout = {});
