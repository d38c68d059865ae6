#pragma once

#include "base/Result.h"
#include "base/AppFolder.h"
#include "base/Mei.h"
#include "base/QualityIndex.h"
#include "export/CellTable.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <memory>

// Coals from a laboratory's or a yard's spreadsheet: a file is read into a
// CellTable, its columns are matched to the coal's values, every row below
// the header becomes a preview row (with the reasons it cannot be imported, if
// any), and the good rows are written to the inventory in one transaction.
// A window shows the preview, asks what to do with names already in the
// inventory, and shows the counts; all the work is here.

// ---------------------------------------------------------------------------
// Reading a file

// The file dialog filter for the files an import reads.
Text ImportFileFilter();

// The first sheet of a .xlsx or .xls workbook, or the records of a .csv (or
// .txt) file. What the file holds decides between the two workbook formats; a
// folder, a device or a pipe, a file named .xls or .xlsx that holds no
// workbook, a text file that is not text or is larger than a text file can
// be, a sheet beyond the limits of a table, an empty or damaged file give a
// message that says which.
Result<CellTable> ReadTableFile(const QString& path, const ProgressCallback& progress = {});

// ---------------------------------------------------------------------------
// Columns

// The values a column can hold, in the coal editor's order: the name, the
// fifteen indices (index table order), stock, tons per shovel, price.
inline constexpr int kImportName = 0;
inline constexpr int kImportStock = kIndexCount + 1;
inline constexpr int kImportShovel = kIndexCount + 2;
inline constexpr int kImportPrice = kIndexCount + 3;
inline constexpr int kImportFieldCount = kIndexCount + 4;
inline constexpr int ImportIndexField(int index) { return index + 1; }

// A column that is recognised but not imported: the record number of another
// inventory ("编号"). Unrecognised columns give kUnknownColumn.
inline constexpr int kUnknownColumn = -1;
inline constexpr int kRecordNumberColumn = -2;

// The caption of a value, as the inventory list heads its column.
Text ImportFieldText(int field);
QString ImportFieldLabel(int field);  // its Chinese

// The value a column header names: the program's own captions (inventory list,
// coal editor, workspace) and the usual variants and symbols (灰份, Ad, St,d,
// Vdaf, Qnet,ar, 单价, 铲重 ...). Letter case, blanks, full-width forms, a
// trailing "*" or ":" and a unit in brackets ("灰分(%)", "价格（元/吨）") do not
// matter. kRecordNumberColumn for "编号"/"id", kUnknownColumn otherwise.
int MatchColumnHeader(const QString& header);

struct ImportColumn {
    int column = 0;           // position in the file, from 0
    QString header;           // as the file heads it
    int field = kUnknownColumn;
    Text note;                // why the column is not imported; empty when it is
};

// A heat column in MJ/kg is converted to kcal/kg, the unit the program keeps
// heat in. A column is in MJ/kg when its header says so (MJ, 兆焦), or, when
// its header names no unit, when every number in it is below kMegajouleBelow:
// no coal gives so little in kcal/kg, and none gives more in MJ/kg.
inline constexpr double kKcalPerMegajoule = 238.846;
inline constexpr double kMegajouleBelow = 50.0;

// ---------------------------------------------------------------------------
// Preview

// A value an update changes: the stored text and the file's.
struct FieldChange {
    int field = 0;
    QString before;
    QString after;
    bool operator==(const FieldChange&) const = default;
};

struct ImportRow {
    int fileRow = 0;          // row number in the file (from 1), as the sheet shows it
    std::array<QString, kImportFieldCount> texts;  // the file's texts per value, blanks trimmed
    Mei coal;                 // the values as they will be stored
    QList<Text> problems;     // why the row cannot be imported; empty for a good row
    QList<Text> notes;        // what was changed on the way (a dropped "%", MJ/kg converted)
                              // and values outside the range their field usually holds
    int existingId = 0;       // the inventory coal of the same name; 0 = a new name
    // For a good row whose name the inventory has (AttachStoredCoals): the
    // stored coal, and the values an update changes, in field order. A blank
    // cell changes nothing.
    std::shared_ptr<const Mei> stored;
    QVector<FieldChange> changes;

    bool ok() const { return problems.isEmpty(); }
};

struct ImportPreview {
    int headerRow = 0;                      // file row number of the header
    QVector<ImportColumn> columns;          // every column of the header row
    std::array<bool, kImportFieldCount> hasField{};  // a column holds the value
    QVector<ImportRow> rows;                // every non-blank row below the header
    std::array<bool, kImportFieldCount> megajoules{};  // a heat column converted from MJ/kg
    QList<Text> columnNotes;                // what was done to whole columns, and why

    int goodCount() const;
    int problemCount() const { return rows.size() - goodCount(); }
    int existingCount() const;              // good rows whose name is in the inventory
    QStringList unknownHeaders() const;     // headers of columns that are not imported
};

// Builds the preview. The header is the first row with a column naming the
// coal; the rows above it are titles and are left out, and so are blank rows
// (no text in any imported column). Each row goes through the rules the coal
// editor applies: the name rule (composed to NFC, no control or invisible
// characters, not too long), the range of each value's field (CoalRules), the
// value text rule, the price rounded to two decimals. A "%" after a number is
// dropped and noted; a heat column in MJ/kg is converted and noted on each
// row; a value outside its usual range is noted. A row has a problem when it
// has no name or a name the rule refuses, no price (a new name only: an
// update keeps the stored price), a cell holding a control character (named
// with its column), a formula without a result, a value that is not a number
// or lies outside its field's range, or a name an earlier row of the file
// already has. existing maps the inventory's names (InventoryNames) to their
// ids. Fails when the table has no name column or no row below the header.
Result<ImportPreview> MakeImportPreview(const CellTable& table, const QHash<QString, int>& existing);

// The inventory's names, trimmed and composed as the import composes a name,
// with their ids (the lowest id where a name is used twice).
Result<QHash<QString, int>> InventoryNames(const AppFolder& folder);

// Fills in the stored coal and the changes of every good row whose name the
// inventory has.
Status AttachStoredCoals(const AppFolder& folder, ImportPreview& preview);

// ReadTableFile, then MakeImportPreview against the inventory of the folder,
// then AttachStoredCoals.
Result<ImportPreview> ReadImportFile(const AppFolder& folder, const QString& path,
                                     const ProgressCallback& progress = {});

// ---------------------------------------------------------------------------
// Import

enum class ExistingNames { Update, Skip };

struct ImportCounts {
    int added = 0;     // new coals
    int updated = 0;   // inventory coals overwritten by a row of the same name
    int skipped = 0;   // rows not imported: problem rows and, with Skip, rows whose name exists

    // "导入 N 种煤，更新 M 种，跳过 K 行"
    Text said() const;
    QString message() const;  // its Chinese
};

// Writes the good rows of the preview in one transaction: all of them or, on
// a database failure or a cancel through progress (told rows done out of
// good rows), none. Whether a name is in the inventory is decided again inside
// the transaction. With Update, the inventory coal of that name takes the
// values the file gives, keeps its values where the file has a blank cell or
// no column, and gets the new save time. A row without a price whose coal has
// left the inventory since the preview is skipped.
// New coals get savedAt as their save time.
Result<ImportCounts> ImportCoals(const AppFolder& folder, const ImportPreview& preview, ExistingNames existing,
                                 const QDateTime& savedAt, const ProgressCallback& progress = {});
