#include "export/XlsxWriter.h"

#include "base/Files.h"

#include <QLocale>
#include <QMap>
#include <QXmlStreamWriter>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <cmath>

namespace {

const QString kMainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kPackageRelNs = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");

// Collects what the XML writer writes and hands it on to the zip entry in
// large pieces: the writer makes many small writes, each of which would
// otherwise go through the compressor on its own.
class Chunks : public QIODevice {
public:
    explicit Chunks(QIODevice* target) : target_(target) { open(QIODevice::WriteOnly); }

    // Hands on what is pending; false once the entry took less than given.
    bool drain()
    {
        if (!failed_ && !pending_.isEmpty() && target_->write(pending_) != pending_.size())
            failed_ = true;
        pending_.clear();
        return !failed_;
    }
    bool failed() const { return failed_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (failed_)
            return -1;
        pending_.append(data, size);
        if (pending_.size() >= kChunk && !drain())
            return -1;
        return size;
    }

private:
    static constexpr qsizetype kChunk = 256 * 1024;
    QIODevice* target_;
    QByteArray pending_;
    bool failed_ = false;
};

// "A", "B", ... "Z", "AA", ...: the letters of a column (from 0).
QString ColumnLetters(int column)
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters;
}

// The text as a cell can carry it: characters XML cannot hold (control
// characters, unpaired surrogates) as "_xHHHH_", and an underscore that
// would read as the start of such an escape escaped itself.
QString CellText(const QString& text)
{
    auto isHex = [](QChar c) { return c.isDigit() || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); };
    auto looksEscaped = [&](qsizetype i) {
        if (i + 6 >= text.size() || text[i + 1] != u'x' || text[i + 6] != u'_')
            return false;
        for (qsizetype k = i + 2; k < i + 6; ++k)
            if (!isHex(text[k]))
                return false;
        return true;
    };
    QString out;
    bool changed = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        bool escape = false;
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n')
            escape = true;
        else if (c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            escape = true;
        else if (c.isHighSurrogate())
            escape = !(i + 1 < text.size() && text[i + 1].isLowSurrogate());
        else if (c.isLowSurrogate())
            escape = !(i > 0 && text[i - 1].isHighSurrogate());
        else if (c == u'_')
            escape = looksEscaped(i);
        if (escape && !changed) {
            out = text.left(i);
            changed = true;
        }
        if (escape)
            out += QStringLiteral("_x") + QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper() + u'_';
        else if (changed)
            out += c;
    }
    return changed ? out : text;
}

// A sheet name the format accepts, or Sheet1.
QString SheetName(const QString& wanted)
{
    const QString name = wanted.left(31);
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    bool ok = !name.trimmed().isEmpty() && !name.startsWith(u'\'') && !name.endsWith(u'\'');
    for (QChar c : name)
        ok = ok && !forbidden.contains(c) && c.unicode() >= 0x20;
    return ok ? name : QStringLiteral("Sheet1");
}

// The number format of a number shown with that many decimals: General for
// none, the built-in "0.00" for two, a format of the workbook's own otherwise.
int NumberFormatId(int decimals)
{
    if (decimals <= 0)
        return 0;
    return decimals == 2 ? 2 : 163 + decimals;
}

QString NumberFormatCode(int decimals)
{
    return QStringLiteral("0.") + QString(decimals, u'0');
}

}  // namespace

struct XlsxWriter::Private {
    QString path;
    FileReplacement file;
    QuaZip zip;
    bool zipOpen = false;
    bool sheetOpen = false;
    bool finished = false;
    QString sheetName;
    int rows = 0;
    // The cell formats in use, by (bold, decimals); 0 is the plain one.
    QMap<std::pair<bool, int>, int> styles;
    QuaZipFile entry;
    std::unique_ptr<Chunks> chunks;
    QXmlStreamWriter xml;
    QVector<QString> letters;

    explicit Private(const QString& p) : path(p), file(p), zip(file.device()), entry(&zip)
    {
        zip.setAutoClose(false);
        styles.insert({false, 0}, 0);
    }

    // Why writing stopped: the disk's or the folder's reason when the file
    // took less than it was given, else the zip container's. The new file goes.
    Failure failure(const Text& what)
    {
        if (sheetOpen) {
            xml.setDevice(nullptr);
            chunks.reset();
            entry.close();
            sheetOpen = false;
        }
        if (zipOpen) {
            zip.close();
            zipOpen = false;
        }
        return file.abandon(what.words());
    }

    bool startEntry(const QString& part)
    {
        QuaZipNewInfo info(part);
        // The fastest compression: a sheet of numbers and names packs well anyway.
        if (!entry.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, Z_BEST_SPEED))
            return false;
        chunks = std::make_unique<Chunks>(&entry);
        xml.setDevice(chunks.get());
        xml.setAutoFormatting(false);
        xml.writeStartDocument(QStringLiteral("1.0"), true);
        return true;
    }

    bool endEntry()
    {
        xml.writeEndDocument();
        const bool written = !xml.hasError() && chunks->drain();
        xml.setDevice(nullptr);
        chunks.reset();
        entry.close();
        return written && entry.getZipError() == ZIP_OK;
    }

    const QString& columnLetters(int column)
    {
        while (letters.size() <= column)
            letters.append(ColumnLetters(static_cast<int>(letters.size())));
        return letters[column];
    }

    int style(bool bold, int decimals)
    {
        const auto key = std::make_pair(bold, std::max(0, decimals));
        auto it = styles.find(key);
        if (it == styles.end())
            it = styles.insert(key, static_cast<int>(styles.size()));
        return it.value();
    }

    bool writeContentTypes();
    bool writePackageRels();
    bool writeWorkbook();
    bool writeWorkbookRels();
    bool writeStyles();
};

bool XlsxWriter::Private::writeContentTypes()
{
    if (!startEntry(QStringLiteral("[Content_Types].xml")))
        return false;
    xml.writeStartElement(QStringLiteral("Types"));
    xml.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
    auto byExtension = [&](const char* extension, const char* type) {
        xml.writeEmptyElement(QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), QLatin1String(extension));
        xml.writeAttribute(QStringLiteral("ContentType"), QLatin1String(type));
    };
    auto byPart = [&](const char* part, const char* type) {
        xml.writeEmptyElement(QStringLiteral("Override"));
        xml.writeAttribute(QStringLiteral("PartName"), QLatin1String(part));
        xml.writeAttribute(QStringLiteral("ContentType"), QLatin1String(type));
    };
    byExtension("rels", "application/vnd.openxmlformats-package.relationships+xml");
    byExtension("xml", "application/xml");
    byPart("/xl/workbook.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    byPart("/xl/worksheets/sheet1.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml");
    byPart("/xl/styles.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    xml.writeEndElement();
    return endEntry();
}

bool XlsxWriter::Private::writePackageRels()
{
    if (!startEntry(QStringLiteral("_rels/.rels")))
        return false;
    xml.writeStartElement(QStringLiteral("Relationships"));
    xml.writeDefaultNamespace(kPackageRelNs);
    xml.writeEmptyElement(QStringLiteral("Relationship"));
    xml.writeAttribute(QStringLiteral("Id"), QStringLiteral("rId1"));
    xml.writeAttribute(QStringLiteral("Type"), kRelNs + QStringLiteral("/officeDocument"));
    xml.writeAttribute(QStringLiteral("Target"), QStringLiteral("xl/workbook.xml"));
    xml.writeEndElement();
    return endEntry();
}

bool XlsxWriter::Private::writeWorkbook()
{
    if (!startEntry(QStringLiteral("xl/workbook.xml")))
        return false;
    xml.writeStartElement(QStringLiteral("workbook"));
    xml.writeDefaultNamespace(kMainNs);
    xml.writeNamespace(kRelNs, QStringLiteral("r"));
    xml.writeStartElement(QStringLiteral("bookViews"));
    xml.writeEmptyElement(QStringLiteral("workbookView"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("sheets"));
    xml.writeEmptyElement(QStringLiteral("sheet"));
    xml.writeAttribute(QStringLiteral("name"), sheetName);
    xml.writeAttribute(QStringLiteral("sheetId"), QStringLiteral("1"));
    xml.writeAttribute(kRelNs, QStringLiteral("id"), QStringLiteral("rId1"));
    xml.writeEndElement();
    xml.writeEndElement();
    return endEntry();
}

bool XlsxWriter::Private::writeWorkbookRels()
{
    if (!startEntry(QStringLiteral("xl/_rels/workbook.xml.rels")))
        return false;
    xml.writeStartElement(QStringLiteral("Relationships"));
    xml.writeDefaultNamespace(kPackageRelNs);
    auto relationship = [&](const char* id, const char* type, const char* target) {
        xml.writeEmptyElement(QStringLiteral("Relationship"));
        xml.writeAttribute(QStringLiteral("Id"), QLatin1String(id));
        xml.writeAttribute(QStringLiteral("Type"), kRelNs + QLatin1String(type));
        xml.writeAttribute(QStringLiteral("Target"), QLatin1String(target));
    };
    relationship("rId1", "/worksheet", "worksheets/sheet1.xml");
    relationship("rId2", "/styles", "styles.xml");
    xml.writeEndElement();
    return endEntry();
}

bool XlsxWriter::Private::writeStyles()
{
    if (!startEntry(QStringLiteral("xl/styles.xml")))
        return false;
    // The formats in the order of their numbers.
    QVector<std::pair<bool, int>> byIndex(styles.size());
    QMap<int, int> ownFormats;  // format number -> decimals
    for (auto it = styles.cbegin(); it != styles.cend(); ++it) {
        byIndex[it.value()] = it.key();
        const int id = NumberFormatId(it.key().second);
        if (id >= 164)
            ownFormats.insert(id, it.key().second);
    }

    xml.writeStartElement(QStringLiteral("styleSheet"));
    xml.writeDefaultNamespace(kMainNs);
    if (!ownFormats.isEmpty()) {
        xml.writeStartElement(QStringLiteral("numFmts"));
        xml.writeAttribute(QStringLiteral("count"), QString::number(ownFormats.size()));
        for (auto it = ownFormats.cbegin(); it != ownFormats.cend(); ++it) {
            xml.writeEmptyElement(QStringLiteral("numFmt"));
            xml.writeAttribute(QStringLiteral("numFmtId"), QString::number(it.key()));
            xml.writeAttribute(QStringLiteral("formatCode"), NumberFormatCode(it.value()));
        }
        xml.writeEndElement();
    }
    xml.writeStartElement(QStringLiteral("fonts"));
    xml.writeAttribute(QStringLiteral("count"), QStringLiteral("2"));
    for (bool bold : {false, true}) {
        xml.writeStartElement(QStringLiteral("font"));
        if (bold)
            xml.writeEmptyElement(QStringLiteral("b"));
        xml.writeEmptyElement(QStringLiteral("sz"));
        xml.writeAttribute(QStringLiteral("val"), QStringLiteral("11"));
        xml.writeEmptyElement(QStringLiteral("name"));
        xml.writeAttribute(QStringLiteral("val"), QStringLiteral("Calibri"));
        xml.writeEmptyElement(QStringLiteral("family"));
        xml.writeAttribute(QStringLiteral("val"), QStringLiteral("2"));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("fills"));
    xml.writeAttribute(QStringLiteral("count"), QStringLiteral("2"));
    for (const char* pattern : {"none", "gray125"}) {
        xml.writeStartElement(QStringLiteral("fill"));
        xml.writeEmptyElement(QStringLiteral("patternFill"));
        xml.writeAttribute(QStringLiteral("patternType"), QLatin1String(pattern));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("borders"));
    xml.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
    xml.writeStartElement(QStringLiteral("border"));
    for (const char* side : {"left", "right", "top", "bottom", "diagonal"})
        xml.writeEmptyElement(QLatin1String(side));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("cellStyleXfs"));
    xml.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
    xml.writeEmptyElement(QStringLiteral("xf"));
    for (const char* attribute : {"numFmtId", "fontId", "fillId", "borderId"})
        xml.writeAttribute(QLatin1String(attribute), QStringLiteral("0"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("cellXfs"));
    xml.writeAttribute(QStringLiteral("count"), QString::number(byIndex.size()));
    for (const auto& [bold, decimals] : byIndex) {
        xml.writeEmptyElement(QStringLiteral("xf"));
        xml.writeAttribute(QStringLiteral("numFmtId"), QString::number(NumberFormatId(decimals)));
        xml.writeAttribute(QStringLiteral("fontId"), bold ? QStringLiteral("1") : QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("fillId"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("borderId"), QStringLiteral("0"));
        xml.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
        if (NumberFormatId(decimals) != 0)
            xml.writeAttribute(QStringLiteral("applyNumberFormat"), QStringLiteral("1"));
        if (bold)
            xml.writeAttribute(QStringLiteral("applyFont"), QStringLiteral("1"));
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("cellStyles"));
    xml.writeAttribute(QStringLiteral("count"), QStringLiteral("1"));
    xml.writeEmptyElement(QStringLiteral("cellStyle"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("Normal"));
    xml.writeAttribute(QStringLiteral("xfId"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("builtinId"), QStringLiteral("0"));
    xml.writeEndElement();
    xml.writeEndElement();
    return endEntry();
}

XlsxWriter::XlsxWriter(const QString& path) : d(std::make_unique<Private>(path)) {}

XlsxWriter::~XlsxWriter()
{
    if (d->sheetOpen) {
        d->xml.setDevice(nullptr);
        d->chunks.reset();
        d->entry.close();
    }
    if (d->zipOpen)
        d->zip.close();
    // The file replacement removes an uncommitted new file by itself.
}

int XlsxWriter::rowCount() const { return d->rows; }

Status XlsxWriter::begin(const QString& sheetName, const QVector<int>& columnWidths, int frozenRows)
{
    if (Status opened = d->file.open(); !opened)
        return opened;
    if (!d->zip.open(QuaZip::mdCreate))
        return d->failure(CoreText::tr("无法建立工作簿"));
    d->zipOpen = true;
    d->sheetName = SheetName(sheetName);
    if (!d->writeContentTypes() || !d->writePackageRels() || !d->writeWorkbook() || !d->writeWorkbookRels())
        return d->failure(CoreText::tr("无法写入工作簿的内容"));

    if (!d->startEntry(QStringLiteral("xl/worksheets/sheet1.xml")))
        return d->failure(CoreText::tr("无法写入工作表"));
    d->sheetOpen = true;
    QXmlStreamWriter& xml = d->xml;
    xml.writeStartElement(QStringLiteral("worksheet"));
    xml.writeDefaultNamespace(kMainNs);
    xml.writeNamespace(kRelNs, QStringLiteral("r"));
    xml.writeStartElement(QStringLiteral("sheetViews"));
    xml.writeStartElement(QStringLiteral("sheetView"));
    xml.writeAttribute(QStringLiteral("tabSelected"), QStringLiteral("1"));
    xml.writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
    if (frozenRows > 0) {
        const QString topLeft = QStringLiteral("A%1").arg(frozenRows + 1);
        xml.writeEmptyElement(QStringLiteral("pane"));
        xml.writeAttribute(QStringLiteral("ySplit"), QString::number(frozenRows));
        xml.writeAttribute(QStringLiteral("topLeftCell"), topLeft);
        xml.writeAttribute(QStringLiteral("activePane"), QStringLiteral("bottomLeft"));
        xml.writeAttribute(QStringLiteral("state"), QStringLiteral("frozen"));
        xml.writeEmptyElement(QStringLiteral("selection"));
        xml.writeAttribute(QStringLiteral("pane"), QStringLiteral("bottomLeft"));
        xml.writeAttribute(QStringLiteral("activeCell"), topLeft);
        xml.writeAttribute(QStringLiteral("sqref"), topLeft);
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEmptyElement(QStringLiteral("sheetFormatPr"));
    xml.writeAttribute(QStringLiteral("defaultRowHeight"), QStringLiteral("15"));
    bool anyWidth = false;
    for (int c = 0; c < columnWidths.size() && c < kXlsxMaxColumns; ++c) {
        if (columnWidths[c] <= 0)
            continue;
        if (!anyWidth)
            xml.writeStartElement(QStringLiteral("cols"));
        anyWidth = true;
        xml.writeEmptyElement(QStringLiteral("col"));
        xml.writeAttribute(QStringLiteral("min"), QString::number(c + 1));
        xml.writeAttribute(QStringLiteral("max"), QString::number(c + 1));
        xml.writeAttribute(QStringLiteral("width"), QString::number(columnWidths[c] / 256.0, 'g', QLocale::FloatingPointShortest));
        xml.writeAttribute(QStringLiteral("customWidth"), QStringLiteral("1"));
    }
    if (anyWidth)
        xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("sheetData"));
    if (xml.hasError())
        return d->failure(CoreText::tr("无法写入工作表"));
    return {};
}

Status XlsxWriter::addRow(const XlsRow& row, bool bold)
{
    if (!d->sheetOpen)
        return Fail(WriteFailedMessage(d->path, CoreText::tr("工作表没有开始").words()));
    if (d->rows >= kXlsxMaxRows)
        return Fail(CoreText::tr("表格超过了工作表的上限 %1 行", QString::number(kXlsxMaxRows)));
    if (row.size() > kXlsxMaxColumns)
        return Fail(CoreText::tr("表格有 %1 列，超过了工作表的上限 %2 列", QString::number(row.size()),
                                 QString::number(kXlsxMaxColumns)));
    const int r = d->rows++;
    QXmlStreamWriter& xml = d->xml;
    const QString rowNumber = QString::number(r + 1);
    bool started = false;
    for (int c = 0; c < row.size(); ++c) {
        const XlsCell& cell = row[c];
        const bool number = cell.kind == XlsCell::Kind::Number && std::isfinite(cell.number);
        const QString text = number ? QString() : cell.displayText().left(kXlsMaxTextLength);
        if (!number && text.isEmpty())
            continue;
        if (!started) {
            xml.writeStartElement(QStringLiteral("row"));
            xml.writeAttribute(QStringLiteral("r"), rowNumber);
            started = true;
        }
        xml.writeStartElement(QStringLiteral("c"));
        xml.writeAttribute(QStringLiteral("r"), d->columnLetters(c) + rowNumber);
        const int style = d->style(bold, number ? cell.decimals : 0);
        if (style != 0)
            xml.writeAttribute(QStringLiteral("s"), QString::number(style));
        if (number) {
            xml.writeTextElement(QStringLiteral("v"), QString::number(cell.number, 'g', QLocale::FloatingPointShortest));
        } else {
            xml.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
            xml.writeStartElement(QStringLiteral("is"));
            xml.writeStartElement(QStringLiteral("t"));
            if (text.front().isSpace() || text.back().isSpace())
                xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            xml.writeCharacters(CellText(text));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    if (started)
        xml.writeEndElement();
    if (xml.hasError() || d->chunks->failed())
        return d->failure(CoreText::tr("写入第 %1 行时出错", QString::number(r + 1)));
    return {};
}

Status XlsxWriter::finish()
{
    if (!d->sheetOpen)
        return Fail(WriteFailedMessage(d->path, CoreText::tr("工作表没有开始").words()));
    d->xml.writeEndElement();  // sheetData
    d->xml.writeEndElement();  // worksheet
    d->sheetOpen = false;
    if (!d->endEntry())
        return d->failure(CoreText::tr("无法写完工作表"));
    if (!d->writeStyles())
        return d->failure(CoreText::tr("无法写入样式"));
    d->zip.close();
    d->zipOpen = false;
    if (d->zip.getZipError() != ZIP_OK)
        return d->failure(CoreText::tr("无法写完工作簿"));
    return d->file.commit();
}

Status WriteXlsxFile(const QString& path, const XlsSheet& sheet, const XlsxLayout& layout)
{
    if (sheet.rows.size() > kXlsxMaxRows)
        return Fail(CoreText::tr("表格有 %1 行，超过了工作表的上限 %2 行", QString::number(sheet.rows.size()),
                                 QString::number(kXlsxMaxRows)));
    if (sheet.columnCount() > kXlsxMaxColumns)
        return Fail(CoreText::tr("表格有 %1 列，超过了工作表的上限 %2 列", QString::number(sheet.columnCount()),
                                 QString::number(kXlsxMaxColumns)));
    XlsxWriter writer(path);
    if (Status begun = writer.begin(sheet.name, sheet.columnWidths, layout.frozenRows); !begun)
        return begun;
    for (int r = 0; r < sheet.rows.size(); ++r)
        if (Status added = writer.addRow(sheet.rows[r], layout.boldRows.contains(r)); !added)
            return added;
    return writer.finish();
}
