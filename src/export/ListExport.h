#pragma once

#include "base/AppFolder.h"
#include "base/Result.h"
#include "export/ListData.h"
#include "export/ListSource.h"
#include "export/PlanListing.h"
#include "export/XlsFile.h"

#include <QDateTime>
#include <QString>

// Saving what a list window shows as an Excel 97-2003 workbook or an HTML
// page, through the templates in the template folder: list1.* for one list,
// list2.* for a plan. A workbook is the template's own cells with the rows
// appended below them; a page is the template text with its placeholders
// ({$list1}, and for a plan {$destination} and {$list2}) replaced by tables.

// Shown in front of the reason when writing a workbook fails.
QString ExcelExportFailedMessage();

// The file name an export dialog proposes: the program's name, "_" and the time.
QString ProposedExportName(const QDateTime& now);

// The chosen path, with "." + extension added when its name has no extension.
QString WithExportExtension(const QString& path, const QString& extension);

// File dialog filters.
QString HtmlFilter();        // the history window's page export
QString PlainHtmlFilter();   // the inventory's "导出普通"
QString ExcelFilter();

// The success prompt after an export, and its title.
QString ExportDoneQuestion();
QString ExportDoneTitle();

// Cell text made safe for HTML: < > & " ' become entities.
QString HtmlEscape(const QString& text);

// The list as an HTML table: a header row, then one line per row, every
// column included (hidden ones too), cells escaped.
QString BuildHtmlTable(const ListData& list);

// A list cell as a workbook holds it: in a column of numbers, a text that is
// a number in plain decimal form becomes a number shown with the same
// decimals ("12.50" is 12.5 shown as 0.00); every other cell stays text.
XlsCell SheetCell(const QString& text, bool numeric);

// Appends emptyRows empty rows, the header row and then the rows of the list
// (first cell in the first column, sub-items after it), hidden columns too.
// Returns the position of the header row in the sheet.
int AppendListToSheet(XlsSheet& sheet, const ListData& list, int emptyRows);

// The template's cells, ready for rows to be appended.
Result<XlsSheet> OpenSheetTemplate(const AppFolder& folder, const QString& templateName);

// One list: list1.xls with two empty rows, the header row and the rows
// appended. The failure says why (the window puts ExcelExportFailedMessage in
// front); no file is left behind then. A list longer than the format's
// 65,536 rows is refused before anything is read, with the limit named and
// .xlsx suggested.
Status ExportListToExcel(const AppFolder& folder, const ListRows& list, const QString& path);
Status ExportListToExcel(const AppFolder& folder, const ListData& list, const QString& path);

// Shown in front of the reason when writing a page fails.
QString HtmlExportFailedMessage();

// One list: list1.html with {$list1} replaced. Fails (leaving no file) when the
// template is missing, unreadable, a folder or without its placeholder, or the
// page cannot be written; the message says which and why. The rows go into
// the file as they are read.
Status ExportListToHtml(const AppFolder& folder, const ListRows& list, const QString& path);
Status ExportListToHtml(const AppFolder& folder, const ListData& list, const QString& path);

// The rows a plan adds below the template: two empty rows, the information
// text, an empty row, "参与配比的煤", the coal list (header and rows), an
// empty row, "方案列表", the proportion list (header and rows). Returns the
// positions of the two header rows.
QVector<int> AppendPlanToSheet(XlsSheet& sheet, const ShownPlan& plan);

// A plan: list2.xls, or list2.html with {$destination}, {$list1} and {$list2}
// replaced; failures as for one list.
Status ExportPlanToExcel(const AppFolder& folder, const ShownPlan& plan, const QString& path);
Status ExportPlanToHtml(const AppFolder& folder, const ShownPlan& plan, const QString& path);

// The same workbooks in today's format (.xlsx), built from the same templates
// and rows: the list's header row is bold and stays in view when scrolling;
// in a plan both header rows are bold and nothing is frozen (the coal list
// above the proportions would take the whole window). An existing file is
// replaced only by a completely written new one. A list's rows go into the
// file as they are read.
QString XlsxFilter();
Status ExportListToXlsx(const AppFolder& folder, const ListRows& list, const QString& path);
Status ExportListToXlsx(const AppFolder& folder, const ListData& list, const QString& path);
Status ExportPlanToXlsx(const AppFolder& folder, const ShownPlan& plan, const QString& path);

// Both workbook formats, for the save dialog: Excel 97-2003 first.
QString WorkbookFilters();

// The file a workbook export writes. A name ending in .xls or .xlsx (in any
// letter case) stays as typed, and its extension decides the format; any
// other name gets the extension of the filter the user left selected (.xls
// when it names neither), since a workbook under another extension would not
// open with the spreadsheet program.
QString WorkbookExportPath(const QString& chosen, const QString& selectedFilter);

// Whether an export path names a workbook in today's format.
bool IsXlsxPath(const QString& path);

// The list or the plan as a workbook in the format the path's extension names:
// .xlsx in today's format, anything else as an Excel 97-2003 workbook.
Status ExportListToWorkbook(const AppFolder& folder, const ListRows& list, const QString& path);
Status ExportListToWorkbook(const AppFolder& folder, const ListData& list, const QString& path);
Status ExportPlanToWorkbook(const AppFolder& folder, const ShownPlan& plan, const QString& path);
