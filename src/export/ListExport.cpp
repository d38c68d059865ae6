#include "export/ListExport.h"

#include "base/Files.h"
#include "export/XlsxWriter.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

QString ExcelExportFailedMessage()
{
    return CoreText::tr("导出excel失败，请联系软件作者，或者请您导入普通格式的文件即可！").words();
}

QString ProposedExportName(const QDateTime& now)
{
    return CoreText::tr("Velmora配煤软件_%1", now.toString(QStringLiteral("yy-MM-dd-HH-mm-ss"))).words();
}

QString WithExportExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}

QString HtmlFilter() { return QStringLiteral("HTML .html (*.html)"); }
QString PlainHtmlFilter() { return CoreText::tr("普通格式 .html (*.html)").words(); }
QString ExcelFilter() { return QStringLiteral("Microsoft Excel .xls (*.xls)"); }

QString ExportDoneQuestion()
{
    return CoreText::tr("导出成功，是否打开文件？点确定打开，点取消不打开").words();
}

QString ExportDoneTitle() { return CoreText::tr("导出提示：").words(); }

QString HtmlEscape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '&': out += QLatin1String("&amp;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\'': out += QLatin1String("&#39;"); break;
        default: out += c;
        }
    }
    return out;
}

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString HtmlTableStart(const QVector<ListColumn>& columns)
{
    QString html = QStringLiteral("<table width='100%'border=1 cellpadding=2>");
    html += QLatin1String("<tr>");
    for (const ListColumn& column : columns)
        html += QLatin1String("<td>") + HtmlEscape(column.header) + QLatin1String("</td>");
    html += QLatin1String("</tr>") + kCrLf;
    return html;
}

void AppendHtmlRow(QString& html, const ListRow& row, int columns)
{
    html += QLatin1String("<tr>");
    for (int c = 0; c < std::max(1, columns); ++c)
        html += QLatin1String("<td>") + HtmlEscape(row.cell(c)) + QLatin1String("</td>");
    html += QLatin1String("</tr>") + kCrLf;
}

const QString kHtmlTableEnd = QStringLiteral("</table>");

}  // namespace

QString BuildHtmlTable(const ListData& list)
{
    QString html = HtmlTableStart(list.columns);
    for (const ListRow& row : list.rows)
        AppendHtmlRow(html, row, list.columnCount());
    html += kHtmlTableEnd;
    return html;
}

XlsCell SheetCell(const QString& text, bool numeric)
{
    if (numeric && !text.isEmpty()) {
        const qsizetype point = text.indexOf(QLatin1Char('.'));
        const int decimals = point < 0 ? 0 : static_cast<int>(text.size() - point - 1);
        bool ok = false;
        const double value = text.toDouble(&ok);
        // Only a text the number gives back exactly, with the same decimals,
        // so that the sheet shows what the list showed ("007" or "1e5" stay text).
        if (ok && std::isfinite(value) && decimals <= 15 && QString::number(value, 'f', decimals) == text)
            return XlsCell::fromNumber(value, decimals);
    }
    return XlsCell::fromText(text);
}

namespace {

// About one character of the sheet per 105 twips, in 1/256 of a character.
int SheetWidth(int twips) { return twips * 256 / 105; }

void WidenColumns(XlsSheet& sheet, const QVector<ListColumn>& columns)
{
    if (sheet.columnWidths.size() < columns.size())
        sheet.columnWidths.resize(columns.size());
    for (int c = 0; c < columns.size(); ++c)
        if (columns[c].width > 0)
            sheet.columnWidths[c] = std::max(sheet.columnWidths[c], SheetWidth(columns[c].width));
}

XlsRow HeaderRow(const QVector<ListColumn>& columns)
{
    XlsRow row;
    row.reserve(columns.size());
    for (const ListColumn& column : columns)
        row.append(XlsCell::fromText(column.header));
    return row;
}

// A list row as sheet cells: the first cell in the first column, sub-items
// after it, hidden columns too; numbers as numbers in the columns of numbers.
XlsRow SheetRow(const ListRow& row, const QVector<ListColumn>& columns)
{
    const int count = std::max<int>(1, columns.size());
    XlsRow cells;
    cells.reserve(count);
    for (int c = 0; c < count; ++c)
        cells.append(SheetCell(row.cell(c), c < columns.size() && columns[c].numeric));
    return cells;
}

// Rows beyond what a sheet of the format holds: the message names the limit.
Status CheckRows(qint64 rows, int limit, bool xls)
{
    if (rows <= limit)
        return {};
    if (xls)
        return Fail(CoreText::tr("表格有 %1 行，超过了 Excel 97-2003 工作表的上限 %2 行，"
                                 "请改为导出 .xlsx 格式（上限 %3 行）",
                                 QString::number(rows), QString::number(limit), QString::number(kXlsxMaxRows)));
    return Fail(CoreText::tr("表格有 %1 行，超过了工作表的上限 %2 行", QString::number(rows), QString::number(limit)));
}

// Replaces every placeholder in one pass, so a text put in for one
// placeholder is never searched for the others.
QString FillPlaceholders(const QString& text, const QList<QPair<QString, QString>>& values)
{
    QString out;
    out.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        bool replaced = false;
        if (text[i] == QLatin1Char('{')) {
            for (const auto& [placeholder, value] : values) {
                if (QStringView(text).mid(i).startsWith(placeholder)) {
                    out += value;
                    i += placeholder.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

}  // namespace

Status AppendListToSheet(XlsSheet& sheet, const ListRows& list, int emptyRows, int* headerRow)
{
    for (int i = 0; i < emptyRows; ++i)
        sheet.appendEmptyRow();
    if (headerRow)
        *headerRow = static_cast<int>(sheet.rows.size());
    const QVector<ListColumn>& columns = list.columns();
    sheet.rows.append(HeaderRow(columns));
    WidenColumns(sheet, columns);
    return list.forEachRow([&](const ListRow& row) {
        sheet.rows.append(SheetRow(row, columns));
        return Status();
    });
}

int AppendListToSheet(XlsSheet& sheet, const ListData& list, int emptyRows)
{
    int header = 0;
    (void)AppendListToSheet(sheet, HeldRows(list), emptyRows, &header);  // a held list cannot fail
    return header;
}

Result<XlsSheet> OpenSheetTemplate(const AppFolder& folder, const QString& templateName)
{
    const QString path = folder.TemplatePath(templateName);
    if (!FileExists(path))
        return Fail(CoreText::tr("找不到模板文件 %1", QDir::toNativeSeparators(path)));
    return ReadXlsFile(path);
}

Status ExportListToExcel(const AppFolder& folder, const ListRows& list, const QString& path)
{
    Result<XlsSheet> sheet = OpenSheetTemplate(folder, QStringLiteral("list1.xls"));
    if (!sheet)
        return sheet.status();
    if (Status fits = CheckRows(sheet->rows.size() + 3 + qint64(list.rowCount()), kXlsMaxRows, true); !fits)
        return fits;
    if (Status appended = AppendListToSheet(*sheet, list, 2, nullptr); !appended)
        return appended;
    return WriteXlsFile(path, *sheet);
}

Status ExportListToExcel(const AppFolder& folder, const ListData& list, const QString& path)
{
    return ExportListToExcel(folder, HeldRows(list), path);
}

QString HtmlExportFailedMessage()
{
    return CoreText::tr("导出网页失败：").words();
}

namespace {

// A page's template text. The placeholders of the lists must stand in the
// template, or the page would silently lack what the user exported.
Result<QString> PageTemplate(const AppFolder& folder, const QString& templateName, const QStringList& required)
{
    const QString templatePath = folder.TemplatePath(templateName);
    const Result<QString> text = ReadTextFile(templatePath, true);
    if (!text)
        return Fail(CoreText::tr("模板文件不可用：%1", text.said()));
    for (const QString& placeholder : required)
        if (!text->contains(placeholder))
            return Fail(CoreText::tr("模板文件 %1 中没有 %2，无法放入导出的内容", QDir::toNativeSeparators(templatePath),
                                     placeholder));
    return text;
}

Status ExportPage(const AppFolder& folder, const QString& templateName, const QList<QPair<QString, QString>>& values,
                  const QStringList& required, const QString& path)
{
    const Result<QString> text = PageTemplate(folder, templateName, required);
    if (!text)
        return text.status();
    return SaveTextFile(path, FillPlaceholders(*text, values));
}

}  // namespace

Status ExportListToHtml(const AppFolder& folder, const ListRows& list, const QString& path)
{
    const QString list1 = QStringLiteral("{$list1}");
    const Result<QString> text = PageTemplate(folder, QStringLiteral("list1.html"), {list1});
    if (!text)
        return text.status();

    // The page goes out piece by piece: the template's text between the
    // placeholders, and in place of each the table, row by row.
    FileReplacement file(path);
    if (Status opened = file.open(); !opened)
        return opened;
    QString pending;
    bool writeFailed = false;
    auto drain = [&](bool all) {
        if (writeFailed || (!all && pending.size() < 128 * 1024))
            return !writeFailed;
        const QByteArray bytes = pending.toUtf8();
        pending.clear();
        writeFailed = file.device()->write(bytes) != bytes.size();
        return !writeFailed;
    };
    const QStringList parts = text->split(list1);
    const int columns = static_cast<int>(list.columns().size());
    for (int i = 0; i < parts.size(); ++i) {
        pending += parts[i];
        if (i + 1 == parts.size())
            break;
        pending += HtmlTableStart(list.columns());
        const Status rows = list.forEachRow([&](const ListRow& row) {
            AppendHtmlRow(pending, row, columns);
            return drain(false) ? Status() : Fail(QString());
        });
        if (!rows && !writeFailed) {
            (void)file.abandon(QString());
            return rows;
        }
        pending += kHtmlTableEnd;
    }
    pending += kCrLf;
    if (!drain(true))
        return file.abandon(QString());
    return file.commit();
}

Status ExportListToHtml(const AppFolder& folder, const ListData& list, const QString& path)
{
    return ExportListToHtml(folder, HeldRows(list), path);
}

QVector<int> AppendPlanToSheet(XlsSheet& sheet, const ShownPlan& plan)
{
    sheet.appendEmptyRow();
    sheet.appendEmptyRow();
    sheet.appendTextRow({plan.information});
    sheet.appendEmptyRow();
    sheet.appendTextRow({CoreText::tr("参与配比的煤").words()});
    const int coalHeader = AppendListToSheet(sheet, plan.coals, 0);
    sheet.appendEmptyRow();
    sheet.appendTextRow({CoreText::tr("方案列表").words()});
    const int blendHeader = AppendListToSheet(sheet, plan.blends, 0);
    return {coalHeader, blendHeader};
}

Status ExportPlanToExcel(const AppFolder& folder, const ShownPlan& plan, const QString& path)
{
    Result<XlsSheet> sheet = OpenSheetTemplate(folder, QStringLiteral("list2.xls"));
    if (!sheet)
        return sheet.status();
    AppendPlanToSheet(*sheet, plan);
    return WriteXlsFile(path, *sheet);
}

Status ExportPlanToHtml(const AppFolder& folder, const ShownPlan& plan, const QString& path)
{
    return ExportPage(folder, QStringLiteral("list2.html"),
                      {{QStringLiteral("{$destination}"), HtmlEscape(plan.information)},
                       {QStringLiteral("{$list1}"), BuildHtmlTable(plan.coals)},
                       {QStringLiteral("{$list2}"), BuildHtmlTable(plan.blends)}},
                      {QStringLiteral("{$list1}"), QStringLiteral("{$list2}")}, path);
}

QString XlsxFilter() { return QStringLiteral("Microsoft Excel .xlsx (*.xlsx)"); }

Status ExportListToXlsx(const AppFolder& folder, const ListRows& list, const QString& path)
{
    Result<XlsSheet> sheet = OpenSheetTemplate(folder, QStringLiteral("list1.xls"));
    if (!sheet)
        return sheet.status();
    // The template's rows, two empty rows, the header (bold, kept in view
    // when scrolling), then the list's rows as they come.
    const int header = static_cast<int>(sheet->rows.size()) + 2;
    if (Status fits = CheckRows(header + 1 + qint64(list.rowCount()), kXlsxMaxRows, false); !fits)
        return fits;
    const QVector<ListColumn>& columns = list.columns();
    WidenColumns(*sheet, columns);
    XlsxWriter writer(path);
    if (Status begun = writer.begin(sheet->name, sheet->columnWidths, header + 1); !begun)
        return begun;
    for (const XlsRow& row : sheet->rows)
        if (Status added = writer.addRow(row); !added)
            return added;
    for (int i = 0; i < 2; ++i)
        if (Status added = writer.addRow({}); !added)
            return added;
    if (Status added = writer.addRow(HeaderRow(columns), true); !added)
        return added;
    if (Status rows = list.forEachRow([&](const ListRow& row) { return writer.addRow(SheetRow(row, columns)); }); !rows)
        return rows;
    return writer.finish();
}

Status ExportListToXlsx(const AppFolder& folder, const ListData& list, const QString& path)
{
    return ExportListToXlsx(folder, HeldRows(list), path);
}

Status ExportPlanToXlsx(const AppFolder& folder, const ShownPlan& plan, const QString& path)
{
    Result<XlsSheet> sheet = OpenSheetTemplate(folder, QStringLiteral("list2.xls"));
    if (!sheet)
        return sheet.status();
    const QVector<int> headers = AppendPlanToSheet(*sheet, plan);
    return WriteXlsxFile(path, *sheet, XlsxLayout{headers, 0});
}

QString WorkbookFilters()
{
    return ExcelFilter() + QStringLiteral(";;") + XlsxFilter();
}

bool IsXlsxPath(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
}

QString WorkbookExportPath(const QString& chosen, const QString& selectedFilter)
{
    if (chosen.isEmpty())
        return chosen;
    const QString suffix = QFileInfo(chosen).suffix();
    if (suffix.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0 || IsXlsxPath(chosen))
        return chosen;
    QString path = chosen;
    while (path.endsWith(QLatin1Char('.')))
        path.chop(1);
    const bool xlsx = selectedFilter == XlsxFilter() || selectedFilter.contains(QLatin1String("*.xlsx"));
    return path + (xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".xls"));
}

Status ExportListToWorkbook(const AppFolder& folder, const ListRows& list, const QString& path)
{
    return IsXlsxPath(path) ? ExportListToXlsx(folder, list, path) : ExportListToExcel(folder, list, path);
}

Status ExportListToWorkbook(const AppFolder& folder, const ListData& list, const QString& path)
{
    return ExportListToWorkbook(folder, HeldRows(list), path);
}

Status ExportPlanToWorkbook(const AppFolder& folder, const ShownPlan& plan, const QString& path)
{
    return IsXlsxPath(path) ? ExportPlanToXlsx(folder, plan, path) : ExportPlanToExcel(folder, plan, path);
}
