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

// ===========================================================================
// Reading

namespace {

// A part larger than this is not a coal list but a damaged or hostile file.
constexpr qint64 kMaxPartBytes = 512LL * 1024 * 1024;
constexpr int kRowsPerProgress = 500;

QString Damaged(const QString& path)
{
    return QStringLiteral("文件 %1 已损坏或不完整，无法读取。").arg(QFileInfo(path).fileName());
}

QString PartDamaged(const QString& path, const QString& part, const QString& why)
{
    return QStringLiteral("文件 %1 已损坏，其中的 %2 无法读取（%3）。").arg(QFileInfo(path).fileName(), part, why);
}

class Package {
public:
    explicit Package(const QString& path) : path_(path), zip_(path) {}

    bool open() { return zip_.open(QuaZip::mdUnzip); }

    // The bytes of a part; an empty array with *present false when the part
    // is not in the package.
    Result<QByteArray> read(const QString& name, bool* present)
    {
        *present = false;
        if (!zip_.setCurrentFile(name, QuaZip::csInsensitive))
            return zip_.getZipError() == UNZ_OK ? Result<QByteArray>(QByteArray()) : Fail(Damaged(path_));
        *present = true;
        QuaZipFileInfo64 info;
        if (!zip_.getCurrentFileInfo(&info))
            return Fail(Damaged(path_));
        if (static_cast<qint64>(info.uncompressedSize) > kMaxPartBytes)
            return Fail(QStringLiteral("文件 %1 中的 %2 太大，无法读取。").arg(QFileInfo(path_).fileName(), name));
        QuaZipFile file(&zip_);
        if (!file.open(QIODevice::ReadOnly))
            return Fail(Damaged(path_));
        QByteArray bytes = file.readAll();
        file.close();
        if (file.getZipError() != UNZ_OK || bytes.size() != static_cast<qint64>(info.uncompressedSize))
            return Fail(Damaged(path_));
        return bytes;
    }

    const QString& path() const { return path_; }

private:
    QString path_;
    QuaZip zip_;
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
QString ReadRichText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"rPh") {
                xml.skipCurrentElement();
            } else if (xml.name() == u"t") {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return UnescapeXString(text);
}

Result<QStringList> ReadSharedStrings(Package& package, const QString& part)
{
    QStringList strings;
    bool present = false;
    Result<QByteArray> bytes = package.read(part, &present);
    if (!bytes)
        return bytes.failure();
    if (!present)
        return strings;
    QXmlStreamReader xml(*bytes);
    const QString error = WalkElements(xml, [&] {
        if (xml.name() == u"sst") {
            const int count = xml.attributes().value(QLatin1String("uniqueCount")).toInt();
            if (count > 0)
                strings.reserve(std::min(count, 1 << 20));
        } else if (xml.name() == u"si") {
            strings.append(ReadRichText(xml));
        }
        return true;
    });
    if (!error.isEmpty())
        return Fail(PartDamaged(package.path(), part, error));
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

// The cell the reader stands on (<c>), as the sheet shows it.
TableCell ReadCell(QXmlStreamReader& xml, const SheetContext& context, bool* ok)
{
    *ok = true;
    const QXmlStreamAttributes a = xml.attributes();
    const QString type = a.value(QLatin1String("t")).toString();
    const int style = a.value(QLatin1String("s")).toInt();
    QString value;
    QString inlineText;
    bool hasValue = false;
    bool hasInline = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"c")
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"v") {
            value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            hasValue = true;
        } else if (xml.name() == u"is") {
            inlineText = ReadRichText(xml);
            hasInline = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    TableCell cell;
    if (type == u"inlineStr") {
        cell.text = hasInline ? inlineText : UnescapeXString(value);
    } else if (type == u"s") {
        if (!hasValue)
            return cell;
        bool okIndex = false;
        const int index = value.trimmed().toInt(&okIndex);
        if (!okIndex || index < 0 || index >= context.strings.size()) {
            *ok = false;
            return cell;
        }
        cell.text = context.strings[index];
    } else if (type == u"str" || type == u"e" || type == u"d") {
        cell.text = UnescapeXString(value);
    } else if (type == u"b") {
        cell.text = value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    } else if (hasValue) {
        bool okNumber = false;
        const double number = value.trimmed().toDouble(&okNumber);
        if (!okNumber || !std::isfinite(number)) {
            cell.text = value;
            return cell;
        }
        const NumberLook look = style >= 0 && style < context.looks.size() ? context.looks[style] : NumberLook::Plain;
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
    } else if (hasInline) {
        cell.text = inlineText;
    }
    return cell;
}

Result<CellTable> ReadSheet(const QString& path, const QByteArray& bytes, const QString& part,
                            const SheetContext& context, const ProgressCallback& progress)
{
    CellTable table;
    QXmlStreamReader xml(bytes);
    int row = -1;
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
                return Fail(PartDamaged(path, part, QStringLiteral("行号 %1 无效").arg(r)));
            row = ok ? r - 1 : row + 1;
            column = -1;
            if (progress && ++rowsRead % kRowsPerProgress == 0
                && !progress(xml.characterOffset(), bytes.size()))
                return Fail(ImportCancelledMessage(), FailureKind::Cancelled);
        } else if (name == u"c") {
            const QStringView ref = xml.attributes().value(QLatin1String("r"));
            int r = 0;
            int c = 0;
            if (!ref.isEmpty()) {
                if (!ParseReference(ref, &r, &c))
                    return Fail(PartDamaged(path, part, QStringLiteral("单元格位置 %1 无效").arg(ref.toString())));
                row = r;
                column = c;
            } else {
                row = std::max(row, 0);
                column += 1;
                if (column >= kXlsxMaxColumns)
                    return Fail(PartDamaged(path, part, QStringLiteral("列数超过上限")));
            }
            bool ok = true;
            TableCell cell = ReadCell(xml, context, &ok);
            if (!ok)
                return Fail(PartDamaged(path, part, QStringLiteral("共享文本编号无效")));
            if (cell.text.isEmpty())
                continue;
            if (table.rows.size() <= row)
                table.rows.resize(row + 1);
            TableRow& cells = table.rows[row];
            if (cells.size() <= column)
                cells.resize(column + 1);
            cells[column] = std::move(cell);
        }
    }
    if (xml.hasError())
        return Fail(PartDamaged(path, part, xml.errorString()));
    if (progress && !progress(bytes.size(), bytes.size()))
        return Fail(ImportCancelledMessage(), FailureKind::Cancelled);
    return table;
}

}  // namespace

Result<CellTable> ReadXlsxFile(const QString& path, const ProgressCallback& progress)
{
    const QString fileName = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile())
        return Fail(QStringLiteral("找不到文件 %1").arg(path));
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
        return Fail(QStringLiteral("文件 %1 不是 Excel 工作簿（其中没有工作簿内容）。").arg(fileName));

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
        return Fail(QStringLiteral("文件 %1 中没有工作表。").arg(fileName));

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

    Result<QStringList> strings = ReadSharedStrings(
        package, FindTarget(*rels, u"/sharedStrings", ResolveTarget(folder, QStringLiteral("sharedStrings.xml"))));
    if (!strings)
        return strings.failure();
    Result<QVector<NumberLook>> looks
        = ReadStyles(package, FindTarget(*rels, u"/styles", ResolveTarget(folder, QStringLiteral("styles.xml"))));
    if (!looks)
        return looks.failure();

    Result<QByteArray> sheet = package.read(sheetPart, &present);
    if (!sheet)
        return sheet.failure();
    if (!present)
        return Fail(QStringLiteral("文件 %1 已损坏：找不到第一个工作表。").arg(fileName));
    return ReadSheet(path, *sheet, sheetPart, SheetContext{*strings, *looks, date1904}, progress);
}
