#include "export/CsvFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <optional>

namespace {

Text NotTextMessage()
{
    return CoreText::tr("文件内容不是文本，不是有效的 CSV 文件。");
}

// Text holds no NUL; binary data almost always does. Other control
// characters are left in the cells, where the import names the row and
// column that hold one, instead of refusing a whole file for one stray byte.
bool LooksLikeText(QStringView text)
{
    return !text.contains(QChar(u'\0'));
}

// Old DOS programs end a text file with Ctrl-Z.
void DropEndOfFileMark(QString& text)
{
    while (text.endsWith(QChar(u'\x1A')))
        text.chop(1);
}

// Stateless decoders: a sequence cut off at the end is an error, not a state.
std::optional<QString> DecodeStrict(QStringDecoder&& decoder, QByteArrayView bytes)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// GBK's structure: single bytes up to 0x80, or a lead byte 0x81-0xFE with a
// trail byte 0x40-0xFE other than 0x7F. The converter itself replaces what it
// cannot read without saying so.
bool IsGbkBytes(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead <= 0x80)
            continue;
        if (lead == 0xFF || i + 1 >= bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[++i]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF)
            return false;
    }
    return true;
}

// How often the separator stands outside quotes in the first records.
struct SeparatorCount {
    int lines = 0;   // records holding it at least once
    int total = 0;
};

constexpr int kRecordsForSeparator = 20;
constexpr qint64 kProgressStep = 1 << 16;  // characters between progress reports

}  // namespace

Result<QString> DecodeCsvText(const QByteArray& bytes, CsvEncoding* found)
{
    auto done = [found](CsvEncoding encoding, QString text) -> Result<QString> {
        if (!LooksLikeText(text))
            return Fail(NotTextMessage());
        DropEndOfFileMark(text);
        if (found)
            *found = encoding;
        return text;
    };
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return done(CsvEncoding::Utf8, QString::fromUtf8(bytes.mid(3)));
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const auto encoding = bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        if (auto text = DecodeStrict(QStringDecoder(encoding, QStringConverter::Flag::Stateless),
                                     QByteArrayView(bytes).sliced(2)))
            return done(CsvEncoding::Utf16, *text);
        return Fail(NotTextMessage());
    }
    if (bytes.contains('\0'))
        return Fail(NotTextMessage());
    if (auto text = DecodeStrict(QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless), bytes))
        return done(CsvEncoding::Utf8, *text);
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    if (!gbk.isValid())
        return Fail(CoreText::tr("文件不是 UTF-8 编码，本机又无法读取 GBK 编码，请把文件另存为 UTF-8 编码的 CSV 后再导入。"));
    if (IsGbkBytes(bytes)) {
        if (auto text = DecodeStrict(std::move(gbk), bytes); text && !text->contains(QChar::ReplacementCharacter))
            return done(CsvEncoding::Gbk, *text);
    }
    return Fail(CoreText::tr("文件既不是 UTF-8 编码也不是 GBK 编码的文本，不是有效的 CSV 文件。"));
}

QChar DetectCsvSeparator(QStringView text)
{
    SeparatorCount comma;
    SeparatorCount tab;
    int inRecordComma = 0;
    int inRecordTab = 0;
    int records = 0;
    bool quoted = false;
    auto endRecord = [&] {
        if (inRecordComma > 0)
            ++comma.lines;
        if (inRecordTab > 0)
            ++tab.lines;
        comma.total += inRecordComma;
        tab.total += inRecordTab;
        inRecordComma = inRecordTab = 0;
        ++records;
    };
    for (qsizetype i = 0; i < text.size() && records < kRecordsForSeparator; ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;  // a doubled quote flips twice
        else if (quoted)
            continue;
        else if (c == u',')
            ++inRecordComma;
        else if (c == u'\t')
            ++inRecordTab;
        else if (c == u'\n' || c == u'\r')
            endRecord();
    }
    endRecord();
    if (tab.lines != comma.lines)
        return tab.lines > comma.lines ? u'\t' : u',';
    return tab.total > comma.total ? u'\t' : u',';
}

Result<CellTable> ParseCsvText(QStringView text, QChar separator, const ProgressCallback& progress,
                               const QString& fileName)
{
    CellTable table;
    TableBudget budget(fileName);
    bool withinBudget = true;
    TableRow row;
    int column = 0;
    QString field;
    bool fieldStarted = false;   // the record has a field in progress (possibly empty)
    int line = 1;                // line of the text, for the message about a lone quote
    qint64 nextReport = kProgressStep;
    const qsizetype n = text.size();

    // Empty fields are not kept: a cell's column says where it stands.
    auto endField = [&] {
        if (!field.isEmpty()) {
            withinBudget = withinBudget && budget.cell(field.size());
            row.append(TableCell{column, field});
        }
        field.clear();
        ++column;
    };
    auto endRecord = [&] {
        endField();
        withinBudget = withinBudget && budget.row(table.rows.size());
        table.rows.append(std::move(row));
        row = TableRow();
        column = 0;
        fieldStarted = false;
    };
    auto refusal = [&] {
        return Fail(table.rows.size() > kTableMaxRows ? budget.tooManyRows() : budget.tooMuch());
    };

    qsizetype i = 0;
    while (i < n) {
        if (progress && i >= nextReport) {
            if (!progress(i, n))
                return Fail(ImportCancelledMessage(), FailureKind::Cancelled);
            nextReport = i + kProgressStep;
        }
        const QChar c = text[i];
        if (c == u'"' && field.isEmpty()) {
            // A quoted field: up to the quote that is not doubled.
            const int openedAt = line;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar q = text[i];
                if (q == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (q == u'\n' || (q == u'\r' && !(i + 1 < n && text[i + 1] == u'\n')))
                    ++line;
                field += q;
                ++i;
            }
            if (!closed)
                return Fail(CoreText::tr("CSV 文件第 %1 行的引号没有结束，文件可能不完整。", QString::number(openedAt)));
            fieldStarted = true;
            continue;  // anything up to the separator is kept as written
        }
        if (c == separator) {
            endField();
            if (!withinBudget)
                return refusal();
            fieldStarted = true;
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            endRecord();
            if (!withinBudget)
                return refusal();
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            ++i;
            ++line;
            continue;
        }
        field += c;
        fieldStarted = true;
        ++i;
    }
    if (fieldStarted || !field.isEmpty())
        endRecord();
    if (!withinBudget)
        return refusal();
    if (progress && !progress(n, n))
        return Fail(ImportCancelledMessage(), FailureKind::Cancelled);
    return table;
}

Result<CellTable> ReadCsvFile(const QString& path, const ProgressCallback& progress)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(CoreText::tr("无法打开文件 %1：%2", name, file.errorString()));
    if (file.size() > kCsvLargestFile)
        return Fail(CoreText::tr("文件 %1 有 %2 MB，文本文件最大只能导入 %3 MB，它不是煤种表，无法导入。", name,
                                 QString::number((file.size() + (1 << 20) - 1) >> 20),
                                 QString::number(kCsvLargestFile >> 20)));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Fail(CoreText::tr("无法读取文件 %1：%2", name, file.errorString()));
    if (bytes.isEmpty())
        return Fail(CoreText::tr("文件 %1 是空的。", name));
    Result<QString> text = DecodeCsvText(bytes);
    if (!text)
        return Fail(CoreText::tr("无法读取文件 %1：%2", name, text.said()));
    return ParseCsvText(*text, DetectCsvSeparator(*text), progress, name);
}
