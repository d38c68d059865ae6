#pragma once

#include "base/Result.h"
#include "export/CellTable.h"

#include <QByteArray>
#include <QString>

// CSV files as spreadsheet programs write them, read into a CellTable.
//
// The encoding is found, not asked: a byte order mark names it (UTF-8,
// UTF-16); otherwise text that is valid UTF-8 is UTF-8, and anything else is
// GBK, what Chinese spreadsheet programs write. The separator is a comma or a
// tab, whichever the first lines use most. Fields may be quoted; a quote inside
// a quoted field is doubled, and a quoted field may hold line breaks. Every
// cell is text (number stays false): the caller decides what is a number.
// Control characters other than NUL stay in the cells for the caller to name;
// a Ctrl-Z at the end of the file is dropped.

// The largest text file read, as the engine limits the model files it reads:
// a coal list of a hundred thousand coals is a tenth of it. A larger file is
// refused before it is read.
inline constexpr qint64 kCsvLargestFile = 64LL * 1024 * 1024;

enum class CsvEncoding { Utf8, Utf16, Gbk };

// The bytes decoded as text with the encoding they are found to be in. Fails
// with a message for bytes that are not text (a NUL, bytes that are neither
// UTF-8 nor GBK).
Result<QString> DecodeCsvText(const QByteArray& bytes, CsvEncoding* found = nullptr);

// The separator the text's first records use most: ',' or '\t'.
QChar DetectCsvSeparator(QStringView text);

// The records of a decoded text. Fails when a quoted field is never closed
// (a cut-off file), when the records pass the limits of a table (named after
// fileName), or when progress asks to stop.
Result<CellTable> ParseCsvText(QStringView text, QChar separator, const ProgressCallback& progress = {},
                               const QString& fileName = QStringLiteral("CSV"));

// Reads a whole file: decode, find the separator, parse.
Result<CellTable> ReadCsvFile(const QString& path, const ProgressCallback& progress = {});
