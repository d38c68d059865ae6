#include "export/XlsxFile.h"

#include "base/NumberText.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTime>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <algorithm>
#include <cmath>
#include <memory>

// ===========================================================================
// Reading

namespace {

// A part read whole (the workbook, its relationships, the styles) larger than
// this is not a coal list but a damaged or hostile file. The sheet and its
// shared strings are read as they are inflated, and what they hold is counted
// against the limits of a table instead.
constexpr qint64 kMaxPartBytes = 64LL * 1024 * 1024;
constexpr int kRowsPerProgress = 500;

Text Damaged(const QString& path)
{
    return CoreText::tr("文件 %1 已损坏或不完整，无法读取。", QFileInfo(path).fileName());
}

// why: the XML reader's own words, or a text of ours.
Text PartDamaged(const QString& path, const QString& part, const Text& why)
{
    return CoreText::tr("文件 %1 已损坏，其中的 %2 无法读取（%3）。", QFileInfo(path).fileName(), part, why);
}

Text TextTooLong(const QString& path)
{
    return CoreText::tr("文件 %1 中有单元格的文字超过 %2 个字符，多于 Excel 单元格所能容纳的，文件已损坏或不是表格程序保存的。",
                        QFileInfo(path).fileName(), QString::number(kXlsMaxTextLength));
}

class Package {
public:
    explicit Package(const QString& path) : path_(path), zip_(path) {}

    bool open() { return zip_.open(QuaZip::mdUnzip); }

    // The bytes of a part; an empty array with *present false when the part
    // is not in the package.
    Result<QByteArray> read(const QString& name, bool* present)
    {
        Result<std::unique_ptr<QuaZipFile>> file = stream(name, present);
        if (!file || !*present)
            return file ? Result<QByteArray>(QByteArray()) : Result<QByteArray>(file.failure());
        if (size_ > kMaxPartBytes)
            return Fail(CoreText::tr("文件 %1 中的 %2 太大，无法读取。", QFileInfo(path_).fileName(), name));
        QByteArray bytes = (*file)->readAll();
        if (bytes.size() != size_)
            return Fail(Damaged(path_));
        if (Status closed = finish(**file); !closed)
            return closed.failure();
        return bytes;
    }

    // The part as a device that inflates it as it is read (its size in
    // size()); nullptr with *present false when the part is not in the package.
    Result<std::unique_ptr<QuaZipFile>> stream(const QString& name, bool* present)
    {
        *present = false;
        if (!zip_.setCurrentFile(name, QuaZip::csInsensitive)) {
            if (zip_.getZipError() == UNZ_OK)
                return std::unique_ptr<QuaZipFile>();
            return Fail(Damaged(path_));
        }
        *present = true;
        QuaZipFileInfo64 info;
        if (!zip_.getCurrentFileInfo(&info))
            return Fail(Damaged(path_));
        size_ = static_cast<qint64>(info.uncompressedSize);
        auto file = std::make_unique<QuaZipFile>(&zip_);
        if (!file->open(QIODevice::ReadOnly))
            return Fail(Damaged(path_));
        return file;
    }

    // Uncompressed size of the part stream() opened last.
    qint64 size() const { return size_; }

    // Closes a part; a part read to its end that fails its checksum is damaged.
    Status finish(QuaZipFile& file)
    {
        file.close();
        if (file.getZipError() != UNZ_OK)
            return Fail(Damaged(path_));
        return {};
    }

    const QString& path() const { return path_; }

private:
    QString path_;
    QuaZip zip_;
    qint64 size_ = 0;
};

struct Relationship {
    QString id;
    QString type;
    QString target;   // resolved to a part name
};

QString PartFolder(const QString& part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash);
}

QString ResolveTarget(const QString& folder, const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(folder.isEmpty() ? target : folder + QLatin1Char('/') + target);
}

// The relationships part of a part: folder/_rels/name.rels.
QString RelsPartOf(const QString& part)
{
    const QString folder = PartFolder(part);
    const QString name = part.mid(folder.isEmpty() ? 0 : folder.size() + 1);
    return (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/") + name
           + QStringLiteral(".rels");
}

// Calls onStart on every start element of a document until it returns false;
// the reader's error, or "".
template <class F>
QString WalkElements(QXmlStreamReader& xml, F&& onStart)
{
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && !onStart())
            break;
    }
    return xml.hasError() ? xml.errorString() : QString();
}

Result<QVector<Relationship>> ReadRelationships(Package& package, const QString& ofPart)
{
    const QString relsPart = RelsPartOf(ofPart);
    bool present = false;
    Result<QByteArray> bytes = package.read(relsPart, &present);
    if (!bytes)
        return bytes.failure();
    QVector<Relationship> rels;
    if (!present)
        return rels;
    QXmlStreamReader xml(*bytes);
    const QString folder = PartFolder(ofPart);
    const QString error = WalkElements(xml, [&] {
        if (xml.name() == u"Relationship") {
            const QXmlStreamAttributes a = xml.attributes();
            if (a.value(QLatin1String("TargetMode")) != u"External")
                rels.append({a.value(QLatin1String("Id")).toString(), a.value(QLatin1String("Type")).toString(),
                             ResolveTarget(folder, a.value(QLatin1String("Target")).toString())});
        }
        return true;
    });
    if (!error.isEmpty())
        return Fail(PartDamaged(package.path(), relsPart, error));
    return rels;
}

QString FindTarget(const QVector<Relationship>& rels, QStringView typeEnd, const QString& fallback)
{
    for (const Relationship& rel : rels)
        if (rel.type.endsWith(typeEnd))
            return rel.target;
    return fallback;
}

// ---------------------------------------------------------------------------
// Number formats: which cells show a date or a percentage.

enum class NumberLook { Plain, Percent, Date };

NumberLook BuiltinLook(int id)
{
    if (id == 9 || id == 10)
        return NumberLook::Percent;
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58))
        return NumberLook::Date;
    return NumberLook::Plain;
}

// A format code's first section with quoted texts, escaped characters and
// bracketed parts (colours, conditions, locales) left out.
NumberLook CodeLook(const QString& code)
{
    if (code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
        return NumberLook::Plain;
    bool quoted = false;
    bool bracket = false;
    bool date = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quoted) {
            quoted = c != u'"';
            continue;
        }
        if (bracket) {
            bracket = c != u']';
            continue;
        }
        if (c == u'"')
            quoted = true;
        else if (c == u'[')
            bracket = true;
        else if (c == u'\\' || c == u'_' || c == u'*')
            ++i;  // the next character is shown as it stands or is padding
        else if (c == u';')
            break;
        else if (c == u'%')
            return NumberLook::Percent;
        else if (QStringLiteral("yYmMdDhHsS").contains(c))
            date = true;
    }
    return date ? NumberLook::Date : NumberLook::Plain;
}

Result<QVector<NumberLook>> ReadStyles(Package& package, const QString& part)
{
    QVector<NumberLook> looks;
    bool present = false;
    Result<QByteArray> bytes = package.read(part, &present);
    if (!bytes)
        return bytes.failure();
    if (!present)
        return looks;
    QHash<int, NumberLook> custom;
    QXmlStreamReader xml(*bytes);
    int depthInCellXfs = -1;
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (--depth < depthInCellXfs)
                depthInCellXfs = -1;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const auto name = xml.name();
        if (name == u"numFmt") {
            const auto a = xml.attributes();
            custom.insert(a.value(QLatin1String("numFmtId")).toInt(), CodeLook(a.value(QLatin1String("formatCode")).toString()));
        } else if (name == u"cellXfs") {
            depthInCellXfs = depth;
        } else if (name == u"xf" && depthInCellXfs >= 0 && depth == depthInCellXfs + 1) {
            const int id = xml.attributes().value(QLatin1String("numFmtId")).toInt();
            looks.append(custom.contains(id) ? custom.value(id) : BuiltinLook(id));
        }
    }
    if (xml.hasError())
        return Fail(PartDamaged(package.path(), part, xml.errorString()));
    return looks;
}

// ---------------------------------------------------------------------------
// Strings.

// "_xHHHH_" stands for a character XML cannot carry (a carriage return, say).
QString UnescapeXString(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const ushort code = QStringView(text).mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of an <si> or <is> element the reader stands on: its <t> texts
// joined, phonetic guides (<rPh>) left out. Leaves the reader on its end.
// False when the text is longer than a cell can hold.
bool ReadRichText(QXmlStreamReader& xml, QString* text)
{
    text->clear();
    int depth = 1;
    int textDepth = 0;  // depth of the <t> being read; 0 outside one
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"rPh") {
                xml.skipCurrentElement();
                continue;
            }
            ++depth;
            if (textDepth == 0 && xml.name() == u"t")
                textDepth = depth;
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == textDepth)
                textDepth = 0;
            --depth;
        } else if (textDepth > 0 && token == QXmlStreamReader::Characters) {
            *text += xml.text();
            // "_x000D_" takes seven characters for one.
            if (text->size() > 7 * kXlsMaxTextLength)
                return false;
        }
    }
    *text = UnescapeXString(*text);
    return text->size() <= kXlsMaxTextLength;
}

Result<QStringList> ReadSharedStrings(Package& package, const QString& part, TableBudget& budget)
{
    QStringList strings;
    bool present = false;
    Result<std::unique_ptr<QuaZipFile>> file = package.stream(part, &present);
    if (!file)
        return file.failure();
    if (!present)
        return strings;
    QXmlStreamReader xml(file->get());
    Text failure;
    const QString error = WalkElements(xml, [&] {
        if (xml.name() == u"sst") {
            const int count = xml.attributes().value(QLatin1String("uniqueCount")).toInt();
            if (count > 0)
                strings.reserve(std::min(count, 1 << 20));
        } else if (xml.name() == u"si") {
            QString text;
            if (!ReadRichText(xml, &text))
                failure = TextTooLong(package.path());
            else if (strings.size() >= kTableMaxCells || !budget.characters(text.size()))
                failure = budget.tooMuch();
            else
                strings.append(std::move(text));
        }
        return failure.isEmpty();
    });
    if (!failure.isEmpty())
        return Fail(failure);
    if (!error.isEmpty())
        return Fail(PartDamaged(package.path(), part, error));
    if (Status closed = package.finish(**file); !closed)
        return closed.failure();
    return strings;
}

// ---------------------------------------------------------------------------
// The sheet.

// "C5" as row 4, column 2; false for anything else.
bool ParseReference(QStringView ref, int* row, int* column)
{
    qsizetype i = 0;
    qint64 c = 0;
    while (i < ref.size() && ref[i].isLetter() && ref[i].unicode() < 128) {
        c = c * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        if (c > kXlsxMaxColumns)
            return false;
        ++i;
    }
    if (i == 0 || i == ref.size())
        return false;
    bool ok = false;
    const qint64 r = ref.mid(i).toLongLong(&ok);
    if (!ok || r < 1 || r > kXlsxMaxRows)
        return false;
    *row = static_cast<int>(r - 1);
    *column = static_cast<int>(c - 1);
    return true;
}

QString DateText(double serial, bool date1904)
{
    if (serial < 0 || serial > 2958465.0)  // beyond 9999-12-31
        return ShortestNumberText(serial);
    qint64 days = static_cast<qint64>(std::floor(serial));
    qint64 seconds = std::llround((serial - days) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    const QString time = QTime(0, 0).addSecs(static_cast<int>(seconds)).toString(QStringLiteral("HH:mm:ss"));
    if (days == 0 && !date1904)
        return time;  // a time of day without a date
    const QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    const QString date = base.addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
    return seconds == 0 ? date : date + QLatin1Char(' ') + time;
}

struct SheetContext {
    const QStringList& strings;
    const QVector<NumberLook>& looks;
    bool date1904;
};

enum class CellRead { Ok, BadStringIndex, TooLong };

// The cell the reader stands on (<c>), as the sheet shows it. *shared is set
// when its text is one of the shared strings (held once, however many cells
// show it).
TableCell ReadCell(QXmlStreamReader& xml, const SheetContext& context, CellRead* read, bool* shared)
{
    *read = CellRead::Ok;
    *shared = false;
    const QXmlStreamAttributes a = xml.attributes();
    const QString type = a.value(QLatin1String("t")).toString();
    const int style = a.value(QLatin1String("s")).toInt();
    QString value;
    QString inlineText;
    bool hasValue = false;
    bool hasInline = false;
    bool hasFormula = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"c")
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"v") {
            value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            hasValue = true;
            if (value.size() > 7 * kXlsMaxTextLength) {
                *read = CellRead::TooLong;
                return {};
            }
        } else if (xml.name() == u"is") {
            if (!ReadRichText(xml, &inlineText)) {
                *read = CellRead::TooLong;
                return {};
            }
            hasInline = true;
        } else {
            hasFormula = hasFormula || xml.name() == u"f";
            xml.skipCurrentElement();
        }
    }
    TableCell cell;
    if (hasFormula && !hasValue && !hasInline) {
        // A formula the program that wrote the file never calculated: there
        // is nothing to show, and an empty cell would be a wrong reading.
        cell.uncomputed = true;
    } else if (type == u"inlineStr") {
        cell.text = hasInline ? inlineText : UnescapeXString(value);
    } else if (type == u"s") {
        if (!hasValue)
            return cell;
        bool okIndex = false;
        const int index = value.trimmed().toInt(&okIndex);
        if (!okIndex || index < 0 || index >= context.strings.size()) {
            *read = CellRead::BadStringIndex;
            return cell;
        }
        cell.text = context.strings[index];
        *shared = true;
    } else if (type == u"str" || type == u"e" || type == u"d") {
        cell.text = UnescapeXString(value);
    } else if (type == u"b") {
        cell.text = value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    } else if (hasValue) {
        bool okNumber = false;
        const double number = value.trimmed().toDouble(&okNumber);
        if (!okNumber || !std::isfinite(number)) {
            cell.text = value;
        } else {
            const NumberLook look =
                style >= 0 && style < context.looks.size() ? context.looks[style] : NumberLook::Plain;
            switch (look) {
            case NumberLook::Date:
                cell.text = DateText(number, context.date1904);
                break;
            case NumberLook::Percent:
                cell.text = ShortestNumberText(number * 100.0) + QLatin1Char('%');
                break;
            case NumberLook::Plain:
                cell.text = ShortestNumberText(number);
                cell.number = true;
                break;
            }
        }
    } else if (hasInline) {
        cell.text = inlineText;
    }
    if (cell.text.size() > kXlsMaxTextLength)
        *read = CellRead::TooLong;
    return cell;
}

// Puts the cells of each row in column order, the last of two cells in one
// place winning, for rows whose cells the file gave out of order.
void OrderRows(CellTable& table, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int r : rows) {
        TableRow& cells = table.rows[r];
        std::stable_sort(cells.begin(), cells.end(),
                         [](const TableCell& a, const TableCell& b) { return a.column < b.column; });
        TableRow kept;
        kept.reserve(cells.size());
        for (TableCell& cell : cells) {
            if (!kept.isEmpty() && kept.constLast().column == cell.column)
                kept.last() = std::move(cell);
            else
                kept.append(std::move(cell));
        }
        cells = std::move(kept);
    }
}

Result<CellTable> ReadSheet(Package& package, const QString& part, const SheetContext& context, TableBudget& budget,
                            const ProgressCallback& progress)
{
    const QString& path = package.path();
    bool present = false;
    Result<std::unique_ptr<QuaZipFile>> file = package.stream(part, &present);
    if (!file)
        return file.failure();
    if (!present)
        return Fail(CoreText::tr("文件 %1 已损坏：找不到第一个工作表。", QFileInfo(path).fileName()));
    QuaZipFile& device = **file;
    const qint64 size = package.size();

    CellTable table;
    std::vector<int> unordered;  // rows given a cell left of one they had
    QXmlStreamReader xml(&device);
    qint64 row = -1;
    int column = -1;
    int rowsRead = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == u"row") {
            bool ok = false;
            const int r = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            if (ok && (r < 1 || r > kXlsxMaxRows))
                return Fail(PartDamaged(path, part, CoreText::tr("行号 %1 无效", QString::number(r))));
            // A row without its number follows the one before it; such rows
            // count against the limit like numbered ones.
            row = ok ? r - 1 : row + 1;
            if (!budget.row(row))
                return Fail(budget.tooManyRows());
            column = -1;
            if (progress && ++rowsRead % kRowsPerProgress == 0 && !progress(device.pos(), size))
                return Fail(ImportCancelledMessage(), FailureKind::Cancelled);
        } else if (name == u"c") {
            const QStringView ref = xml.attributes().value(QLatin1String("r"));
            int r = 0;
            int c = 0;
            if (!ref.isEmpty()) {
                if (!ParseReference(ref, &r, &c))
                    return Fail(PartDamaged(path, part, CoreText::tr("单元格位置 %1 无效", ref.toString())));
                row = r;
                column = c;
            } else {
                row = std::max<qint64>(row, 0);
                column += 1;
                if (column >= kXlsxMaxColumns)
                    return Fail(PartDamaged(path, part, CoreText::tr("列数超过上限")));
            }
            CellRead read = CellRead::Ok;
            bool shared = false;
            TableCell cell = ReadCell(xml, context, &read, &shared);
            if (read == CellRead::BadStringIndex)
                return Fail(PartDamaged(path, part, CoreText::tr("共享文本编号无效")));
            if (read == CellRead::TooLong)
                return Fail(TextTooLong(path));
            if (cell.text.isEmpty() && !cell.uncomputed)
                continue;
            if (!budget.cell(shared ? 0 : cell.text.size()))
                return Fail(budget.tooMuch());
            const int at = static_cast<int>(row);
            if (table.rows.size() <= at)
                table.rows.resize(at + 1);
            TableRow& cells = table.rows[at];
            if (!cells.isEmpty() && cells.constLast().column >= column)
                unordered.push_back(at);
            cell.column = column;
            cells.append(std::move(cell));
        }
    }
    if (xml.hasError())
        return Fail(PartDamaged(path, part, xml.errorString()));
    if (Status closed = package.finish(device); !closed)
        return closed.failure();
    OrderRows(table, std::move(unordered));
    if (progress && !progress(size, size))
        return Fail(ImportCancelledMessage(), FailureKind::Cancelled);
    return table;
}

}  // namespace

Result<CellTable> ReadXlsxFile(const QString& path, const ProgressCallback& progress)
{
    const QString fileName = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile())
        return Fail(CoreText::tr("找不到文件 %1", path));
    Package package(path);
    if (!package.open())
        return Fail(Damaged(path));

    // The workbook part, named by the package's own relationships.
    Result<QVector<Relationship>> rootRels = ReadRelationships(package, QString());
    if (!rootRels)
        return rootRels.failure();
    const QString workbookPart
        = FindTarget(*rootRels, u"/officeDocument", QStringLiteral("xl/workbook.xml"));
    bool present = false;
    Result<QByteArray> workbook = package.read(workbookPart, &present);
    if (!workbook)
        return workbook.failure();
    if (!present)
        return Fail(CoreText::tr("文件 %1 不是 Excel 工作簿（其中没有工作簿内容）。", fileName));

    // The first sheet's relationship id, and the date system.
    QString firstSheetId;
    bool date1904 = false;
    {
        QXmlStreamReader xml(*workbook);
        const QString error = WalkElements(xml, [&] {
            if (xml.name() == u"workbookPr") {
                const auto value = xml.attributes().value(QLatin1String("date1904"));
                date1904 = value == u"1" || value == u"true";
            } else if (xml.name() == u"sheet") {
                for (const QXmlStreamAttribute& a : xml.attributes())
                    if (a.name() == u"id")
                        firstSheetId = a.value().toString();
                return false;
            }
            return true;
        });
        if (!error.isEmpty())
            return Fail(PartDamaged(path, workbookPart, error));
    }
    if (firstSheetId.isEmpty())
        return Fail(CoreText::tr("文件 %1 中没有工作表。", fileName));

    Result<QVector<Relationship>> rels = ReadRelationships(package, workbookPart);
    if (!rels)
        return rels.failure();
    const QString folder = PartFolder(workbookPart);
    QString sheetPart;
    for (const Relationship& rel : *rels)
        if (rel.id == firstSheetId)
            sheetPart = rel.target;
    if (sheetPart.isEmpty())
        sheetPart = ResolveTarget(folder, QStringLiteral("worksheets/sheet1.xml"));

    TableBudget budget(fileName);
    Result<QStringList> strings = ReadSharedStrings(
        package, FindTarget(*rels, u"/sharedStrings", ResolveTarget(folder, QStringLiteral("sharedStrings.xml"))),
        budget);
    if (!strings)
        return strings.failure();
    Result<QVector<NumberLook>> looks
        = ReadStyles(package, FindTarget(*rels, u"/styles", ResolveTarget(folder, QStringLiteral("styles.xml"))));
    if (!looks)
        return looks.failure();
    return ReadSheet(package, sheetPart, SheetContext{*strings, *looks, date1904}, budget, progress);
}
