#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Excel 97-2003 workbooks (.xls): a small writer of one-sheet workbooks
// (a Compound File holding a BIFF8 Workbook stream with its strings in a
// shared string table, UTF-16) and a reader of a sheet's cells through FreeXL.
// The exports copy a template's cells and append their rows below them.

struct XlsCell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    QString text;
    double number = 0.0;
    // How a number is shown: with exactly that many decimals ("0.00" for
    // two), or in the general format for 0.
    int decimals = 0;

    static XlsCell fromText(const QString& text) { return {Kind::Text, text, 0.0, 0}; }
    static XlsCell fromNumber(double value, int decimals = 0) { return {Kind::Number, QString(), value, decimals}; }
    bool isEmpty() const { return kind == Kind::Empty || (kind == Kind::Text && text.isEmpty()); }
    // The cell as text: a number in its shortest form, "" when empty.
    QString displayText() const;
};

using XlsRow = QVector<XlsCell>;

struct XlsSheet {
    QString name = QStringLiteral("Sheet1");
    QVector<XlsRow> rows;             // row 0 first; a row may be shorter than others
    QVector<int> columnWidths;        // in 1/256 of a character; 0 or missing = default

    int columnCount() const;
    void appendTextRow(const QStringList& cells);
    void appendEmptyRow() { rows.append(XlsRow()); }
};

// The limits of a BIFF8 worksheet.
inline constexpr int kXlsMaxRows = 65536;
inline constexpr int kXlsMaxColumns = 256;
inline constexpr int kXlsMaxTextLength = 32767;

// The Workbook stream of a one-sheet workbook; fails beyond a worksheet's limits.
Result<QByteArray> BuildWorkbookStream(const XlsSheet& sheet);

// A Compound File (version 3, 512-byte sectors) holding one stream named
// "Workbook" with the given bytes.
QByteArray BuildCompoundFile(const QByteArray& workbook);

// Writes the sheet as an .xls file, replacing a file of that name only once
// the new one is wholly written.
Status WriteXlsFile(const QString& path, const XlsSheet& sheet);

// Reads the cells of the sheet named sheetName (the first sheet when there is
// none of that name). A formula cell holds the result the workbook keeps for
// it (a number, a text, TRUE/FALSE or an error such as #N/A).
Result<XlsSheet> ReadXlsFile(const QString& path, const QString& sheetName = QStringLiteral("Sheet1"));
