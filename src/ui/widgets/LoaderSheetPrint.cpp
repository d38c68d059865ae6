#include "ui/widgets/LoaderSheetPrint.h"

#include "base/Files.h"
#include "base/NumberText.h"
#include "ui/widgets/IndexCaptions.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextDocument>

namespace {

// The words on a sheet, in the interface language.
class Sheet {
    Q_DECLARE_TR_FUNCTIONS(LoaderSheet)
};

QString Esc(const QString& text) { return text.toHtmlEscaped(); }

QString Tons(qint64 cents) { return FixedText(static_cast<double>(cents) / 100.0, 2); }

QString Percent(double share) { return FixedText(share * 100.0, 1) + QLatin1Char('%'); }

QString CheckText(BoundCheck check)
{
    switch (check) {
    case BoundCheck::Within:
        return Sheet::tr("达标");
    case BoundCheck::Below:
        return Sheet::tr("低于下限");
    case BoundCheck::Above:
        return Sheet::tr("超出上限");
    case BoundCheck::Unknown:
        return Sheet::tr("无法计算");
    }
    return QString();
}

QString Cell(const QString& text, const char* align = "left", bool bold = false)
{
    const QString body = bold ? QStringLiteral("<b>%1</b>").arg(text) : text;
    return QStringLiteral("<td align=\"%1\" valign=\"middle\">%2</td>").arg(QLatin1String(align), body);
}

QString HeaderRow(const QStringList& captions)
{
    QString row = QStringLiteral("<tr style=\"background-color:#e8e8e8;\">");
    for (const QString& caption : captions)
        row += QStringLiteral("<th valign=\"middle\">%1</th>").arg(Esc(caption));
    return row + QStringLiteral("</tr>");
}

QString Table(const QString& rows)
{
    return QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
                          "style=\"border-collapse:collapse; border-color:#555;\">")
           + rows + QStringLiteral("</table>");
}

QString CoalTable(const LoaderSheet& sheet)
{
    QStringList captions{Sheet::tr("序号"), Sheet::tr("煤名称")};
    captions << (sheet.shovelMode ? Sheet::tr("每循环铲数") : Sheet::tr("配比")) << Sheet::tr("占比")
             << Sheet::tr("吨数") << Sheet::tr("每铲重(吨)")
             << (sheet.shovelMode ? Sheet::tr("整循环铲数") : Sheet::tr("整铲数"));
    if (sheet.shovelMode)
        captions << Sheet::tr("末循环铲数");
    QString rows = HeaderRow(captions);
    qint64 shovels = 0;
    qint64 remainder = 0;
    bool allShovels = true;
    for (int j = 0; j < sheet.coals.size(); ++j) {
        const LoaderSheetCoal& coal = sheet.coals[j];
        rows += QStringLiteral("<tr>") + Cell(QString::number(j + 1), "center") + Cell(Esc(coal.name))
                + Cell(ShortestNumberText(coal.parts), "right") + Cell(Percent(coal.share), "right")
                + Cell(Tons(coal.cents), "right") + Cell(Esc(coal.shovelWeight), "right")
                + Cell(coal.shovels ? QString::number(*coal.shovels) : QStringLiteral("—"), "right");
        if (sheet.shovelMode)
            rows += Cell(QString::number(coal.remainderShovels), "right");
        rows += QStringLiteral("</tr>");
        allShovels = allShovels && coal.shovels.has_value();
        shovels += coal.shovels.value_or(0);
        remainder += coal.remainderShovels;
    }
    rows += QStringLiteral("<tr>") + Cell(QString()) + Cell(Sheet::tr("合计"), "left", true)
        + Cell(sheet.shovelMode ? QString::number(sheet.shovelsPerCycle) : QString(), "right", true)
        + Cell(Percent(1.0), "right", true) + Cell(Tons(sheet.totalCents), "right", true) + Cell(QString())
        + Cell(allShovels ? QString::number(shovels) : QString(), "right", true);
    if (sheet.shovelMode)
        rows += Cell(QString::number(remainder), "right", true);
    rows += QStringLiteral("</tr>");
    return Table(rows);
}

QString CycleText(const LoaderSheet& sheet)
{
    QString text = Sheet::tr("每个循环装 %1 铲，共 %2 吨；共 %3 个整循环，装 %4 吨。")
                       .arg(sheet.shovelsPerCycle)
                       .arg(FixedText(sheet.tonsPerCycle, 2))
                       .arg(sheet.cycles)
                       .arg(Tons(sheet.tonnage * qint64(100) - sheet.remainderCents));
    if (sheet.remainderCents > 0)
        text += Sheet::tr("余 %1 吨不足一个循环，按“末循环铲数”装。").arg(Tons(sheet.remainderCents));
    else
        text += Sheet::tr("没有余量。");
    return text;
}

QString IndexTable(const LoaderSheet& sheet)
{
    QString rows = HeaderRow(
        {Sheet::tr("指标"), Sheet::tr("配煤值"), Sheet::tr("下限"), Sheet::tr("上限"), Sheet::tr("是否达标")});
    for (const LoaderSheetIndex& index : sheet.indices) {
        const QualityIndex& q = QualityIndices()[index.index];
        QString name = IndexHeader(index.index);
        if (*q.unit)
            name += QStringLiteral(" (%1)").arg(QString::fromUtf8(q.unit));
        const bool off = index.check == BoundCheck::Below || index.check == BoundCheck::Above;
        const QString check = sheet.targetsKnown ? CheckText(index.check) : QString();
        rows += QStringLiteral("<tr>") + Cell(Esc(name)) + Cell(Esc(index.value), "right")
                + Cell(Esc(index.lower), "right") + Cell(Esc(index.upper), "right")
                + (off ? QStringLiteral("<td align=\"center\" valign=\"middle\" style=\"color:#b00000;\"><b>%1</b></td>").arg(check)
                       : Cell(check, "center"))
                + QStringLiteral("</tr>");
    }
    return Table(rows);
}

// The PDF's text layer maps each drawn glyph back to one character. The Noto
// CJK fonts share a glyph between an ideograph and the radical that looks
// like it, and the radical is what comes back: "车" is read (and searched,
// and copied) as "⻋". Droid Sans Fallback keeps them apart, so it is asked
// for first; where it is missing, Noto still draws every character right.
QFont SheetFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Droid Sans Fallback"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun")});
    font.setPointSizeF(10.5);
    return font;
}

// Draws each sheet on its own page of the device, from the painter's origin
// (the top left corner inside the margins).
Status Render(QPagedPaintDevice& device, const QVector<LoaderSheet>& sheets)
{
    QPainter painter;
    if (!painter.begin(&device))
        return Fail(CoreText::tr("无法开始绘制装车单"));
    const QSizeF page(device.width(), device.height());
    for (int i = 0; i < sheets.size(); ++i) {
        if (i > 0 && !device.newPage())
            return Fail(CoreText::tr("无法开始新的一页"));
        QTextDocument doc;
        doc.documentLayout()->setPaintDevice(&device);
        doc.setDefaultFont(SheetFont());
        doc.setDocumentMargin(0);
        doc.setHtml(LoaderSheetHtml(sheets[i]));
        // A sheet taller than the page is drawn smaller; wider text makes it
        // shorter, so the scale is found again on the wider layout.
        double scale = 1.0;
        doc.setTextWidth(page.width());
        for (int round = 0; round < 4 && doc.size().height() * scale > page.height(); ++round) {
            scale = page.height() / (doc.size().height() / scale) * 0.98;
            doc.setTextWidth(page.width() / scale);
        }
        painter.save();
        painter.scale(scale, scale);
        doc.drawContents(&painter, QRectF(QPointF(0, 0), page / scale));
        painter.restore();
    }
    if (!painter.end())
        return Fail(CoreText::tr("无法完成装车单的绘制"));
    return {};
}

}  // namespace

QString LoaderSheetHtml(const LoaderSheet& sheet)
{
    QString html = QStringLiteral("<html><body>");
    html += QStringLiteral("<p align=\"center\" style=\"font-size:20pt; font-weight:bold; margin-bottom:6px;\">%1</p>")
                .arg(Esc(Sheet::tr("装车单")));
    if (!sheet.title.isEmpty())
        html += QStringLiteral("<p style=\"font-size:10pt; margin-bottom:6px;\">%1%2</p>")
                    .arg(Esc(Sheet::tr("方案：")), Esc(sheet.title));
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
    QString facts = Sheet::tr("日期：%1").arg(sheet.date.toString(format));
    if (sheet.planDate.isValid())
        facts += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;")
            + Esc(Sheet::tr("方案日期：%1").arg(sheet.planDate.toString(format)));
    facts += QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;") + Esc(Sheet::tr("配煤量：%1 吨").arg(sheet.tonnage))
        + QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;")
        + Esc(sheet.shovelMode ? Sheet::tr("按铲数配比") : Sheet::tr("按重量配比"));
    html += QStringLiteral("<p style=\"margin-bottom:8px;\">%1</p>").arg(facts);
    html += CoalTable(sheet);
    if (sheet.shovelMode)
        html += QStringLiteral("<p style=\"margin-top:6px;\">%1</p>").arg(Esc(CycleText(sheet)));
    html +=
        QStringLiteral("<p style=\"margin-top:6px;\">%1</p>")
            .arg(Esc(
                Sheet::tr("合计 %1 吨，配煤单价 %2 元/吨。").arg(Tons(sheet.totalCents), FixedText(sheet.price, 2))));
    if (!sheet.indices.isEmpty()) {
        html += QStringLiteral("<p style=\"margin-top:10px; font-weight:bold;\">%1</p>")
                    .arg(Esc(sheet.targetsKnown ? Sheet::tr("配煤指标与指标范围")
                                                : Sheet::tr("配煤指标（此方案没有保存指标范围）")));
        html += IndexTable(sheet);
    }
    html += QStringLiteral("<p style=\"margin-top:36px;\">%1</p>")
                .arg(Esc(Sheet::tr("装车人：____________    复核人：____________    日期：____________")));
    html += QStringLiteral("</body></html>");
    return html;
}

Status WriteLoaderSheets(const QVector<LoaderSheet>& sheets, const QString& pdfPath)
{
    if (sheets.isEmpty())
        return Invalid(CoreText::tr("没有要输出的装车单"));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly))
            return Fail(CoreText::tr("无法生成PDF文件"));
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        writer.setTitle(Sheet::tr("装车单"));
        writer.setCreator(QCoreApplication::applicationName());
        if (Status drawn = Render(writer, sheets); !drawn)
            return drawn;
    }
    return WriteWholeFile(pdfPath, bytes);
}

void PrepareLoaderPrinter(QPrinter& printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                      QPageLayout::Millimeter));
    printer.setDocName(Sheet::tr("装车单"));
}

Status PrintLoaderSheets(const QVector<LoaderSheet>& sheets, QPrinter& printer)
{
    if (sheets.isEmpty())
        return Invalid(CoreText::tr("没有要输出的装车单"));
    return Render(printer, sheets);
}
