#include "export/ListExport.h"

#include "base/Files.h"
#include "export/XlsxFile.h"

#include <QDir>

#include <QFileInfo>

#include <algorithm>

QString ExcelExportFailedMessage()
{
    return QStringLiteral("导出excel失败，请联系软件作者，或者请您导入普通格式的文件即可！");
}

QString ProposedExportName(const QDateTime& now)
{
    return QStringLiteral("Velmora配煤软件_") + now.toString(QStringLiteral("yy-MM-dd-HH-mm-ss"));
}

QString WithExportExtension(const QString& path, const QString& extension)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + extension;
}

QString HtmlFilter() { return QStringLiteral("HTML .html (*.html)"); }
QString PlainHtmlFilter() { return QStringLiteral("普通格式 .html (*.html)"); }
QString ExcelFilter() { return QStringLiteral("Microsoft Excel .xls (*.xls)"); }

QString ExportDoneQuestion()
{
    return QStringLiteral("导出成功，是否打开文件？点确定打开，点取消不打开");
}

QString ExportDoneTitle() { return QStringLiteral("导出提示："); }

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

QString BuildHtmlTable(const ListData& list)
{
    const QString crlf = QStringLiteral("\r\n");
    QString html = QStringLiteral("<table width='100%'border=1 cellpadding=2>");
    html += QLatin1String("<tr>");
    for (const ListColumn& column : list.columns)
        html += QLatin1String("<td>") + HtmlEscape(column.header) + QLatin1String("</td>");
    html += QLatin1String("</tr>") + crlf;
    for (const ListRow& row : list.rows) {
        html += QLatin1String("<tr>");
        for (int c = 0; c < std::max(1, list.columnCount()); ++c)
            html += QLatin1String("<td>") + HtmlEscape(row.cell(c)) + QLatin1String("</td>");
        html += QLatin1String("</tr>") + crlf;
    }
    html += QLatin1String("</table>");
    return html;
}

namespace {

// About one character of the sheet per 105 twips, in 1/256 of a character.
int SheetWidth(int twips) { return twips * 256 / 105; }

void WidenColumns(XlsSheet& sheet, const ListData& list)
{
    if (sheet.columnWidths.size() < list.columnCount())
        sheet.columnWidths.resize(list.columnCount());
    for (int c = 0; c < list.columnCount(); ++c)
        if (list.columns[c].width > 0)
            sheet.columnWidths[c] = std::max(sheet.columnWidths[c], SheetWidth(list.columns[c].width));
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

int AppendListToSheet(XlsSheet& sheet, const ListData& list, int emptyRows)
{
    for (int i = 0; i < emptyRows; ++i)
        sheet.appendEmptyRow();
    const int headerRow = static_cast<int>(sheet.rows.size());
    QStringList header;
    for (const ListColumn& column : list.columns)
        header << column.header;
    sheet.appendTextRow(header);
    const int columns = std::max(1, list.columnCount());
    for (const ListRow& row : list.rows) {
        QStringList cells;
        cells.reserve(columns);
        for (int c = 0; c < columns; ++c)
            cells << row.cell(c);
        sheet.appendTextRow(cells);
    }
    WidenColumns(sheet, list);
    return headerRow;
}

Result<XlsSheet> OpenSheetTemplate(const AppFolder& folder, const QString& templateName)
{
    const QString path = folder.TemplatePath(templateName);
    if (!FileExists(path))
        return Fail(QStringLiteral("找不到模板文件 %1").arg(QDir::toNativeSeparators(path)));
    return ReadXlsFile(path);
}

Status ExportListToExcel(const AppFolder& folder, const ListData& list, const QString& path)
{
    Result<XlsSheet> sheet = OpenSheetTemplate(folder, QStringLiteral("list1.xls"));
    if (!sheet)
        return sheet.status();
    AppendListToSheet(*sheet, list, 2);
    return WriteXlsFile(path, *sheet);
}

QString HtmlExportFailedMessage()
{
    return QStringLiteral("导出网页失败：");
}

namespace {

// A page from a template. The placeholders of the lists must stand in the
// template, or the page would silently lack what the user exported.
Status ExportPage(const AppFolder& folder, const QString& templateName, const QList<QPair<QString, QString>>& values,
                  const QStringList& required, const QString& path)
{
    const QString templatePath = folder.TemplatePath(templateName);
    const Result<QString> text = ReadTextFile(templatePath, true);
    if (!text)
        return Fail(QStringLiteral("模板文件不可用：") + text.message());
    for (const QString& placeholder : required)
        if (!text->contains(placeholder))
            return Fail(QStringLiteral("模板文件 %1 中没有 %2，无法放入导出的内容")
                            .arg(QDir::toNativeSeparators(templatePath), placeholder));
    return SaveTextFile(path, FillPlaceholders(*text, values));
}

}  // namespace

Status ExportListToHtml(const AppFolder& folder, const ListData& list, const QString& path)
{
    const QString list1 = QStringLiteral("{$list1}");
    return ExportPage(folder, QStringLiteral("list1.html"), {{list1, BuildHtmlTable(list)}}, {list1}, path);
}

QVector<int> AppendPlanToSheet(XlsSheet& sheet, const ShownPlan& plan)
{
    sheet.appendEmptyRow();
    sheet.appendEmptyRow();
    sheet.appendTextRow({plan.information});
    sheet.appendEmptyRow();
    sheet.appendTextRow({QStringLiteral("参与配比的煤")});
    const int coalHeader = AppendListToSheet(sheet, plan.coals, 0);
    sheet.appendEmptyRow();
    sheet.appendTextRow({QStringLiteral("方案列表")});
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

Status ExportListToXlsx(const AppFolder& folder, const ListData& list, const QString& path)
{
    Result<XlsSheet> sheet = OpenSheetTemplate(folder, QStringLiteral("list1.xls"));
    if (!sheet)
        return sheet.status();
    const int header = AppendListToSheet(*sheet, list, 2);
    return WriteXlsxFile(path, *sheet, XlsxLayout{{header}, header + 1});
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

Status ExportListToWorkbook(const AppFolder& folder, const ListData& list, const QString& path)
{
    return IsXlsxPath(path) ? ExportListToXlsx(folder, list, path) : ExportListToExcel(folder, list, path);
}

Status ExportPlanToWorkbook(const AppFolder& folder, const ShownPlan& plan, const QString& path)
{
    return IsXlsxPath(path) ? ExportPlanToXlsx(folder, plan, path) : ExportPlanToExcel(folder, plan, path);
}
