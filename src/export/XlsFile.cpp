#include "export/XlsFile.h"

#include "base/Files.h"
#include "base/NumberText.h"

#include <QFile>
#include <QHash>

#include <freexl.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

QString XlsCell::displayText() const
{
    switch (kind) {
    case Kind::Text: return text;
    case Kind::Number: return ShortestNumberText(number);
    case Kind::Empty: break;
    }
    return QString();
}

int XlsSheet::columnCount() const
{
    int n = 0;
    for (const XlsRow& row : rows)
        n = std::max<int>(n, row.size());
    return n;
}

void XlsSheet::appendTextRow(const QStringList& cells)
{
    XlsRow row;
    row.reserve(cells.size());
    for (const QString& cell : cells)
        row.append(XlsCell::fromText(cell));
    rows.append(std::move(row));
}

namespace {

// ---------------------------------------------------------------------------
// Little-endian byte building.

class Bytes {
public:
    QByteArray data;

    void u8(quint8 v) { data.append(static_cast<char>(v)); }
    void u16(quint16 v)
    {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(quint32 v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void f64(double v)
    {
        quint64 bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(static_cast<quint32>(bits));
        u32(static_cast<quint32>(bits >> 32));
    }
    void utf16(const QString& s)
    {
        for (QChar c : s)
            u16(c.unicode());
    }
    void zeros(int n) { data.append(n, '\0'); }
    int size() const { return data.size(); }
};

void PutU32(QByteArray& data, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// ---------------------------------------------------------------------------
// BIFF8 records.

constexpr int kMaxRecordBody = 8224;
constexpr quint16 kCellXf = 15;  // the first cell format after the fifteen style formats

void Record(Bytes& out, quint16 type, const QByteArray& body)
{
    out.u16(type);
    out.u16(static_cast<quint16>(body.size()));
    out.data.append(body);
}

QByteArray Bof(quint16 kind)
{
    Bytes b;
    b.u16(0x0600);  // BIFF8
    b.u16(kind);    // 0x0005 workbook globals, 0x0010 worksheet
    b.u16(0x0DBB);  // build
    b.u16(0x07CC);  // year
    b.u32(0x00000000);
    b.u32(0x00000006);  // lowest version that can read the file
    return b.data;
}

QByteArray Font(bool bold)
{
    Bytes b;
    b.u16(220);        // height, 1/20 point: 11 pt
    b.u16(0);          // no italic, no strike-out
    b.u16(0x7FFF);     // automatic colour
    b.u16(bold ? 700 : 400);
    b.u16(0);          // no super-/subscript
    b.u8(0);           // no underline
    b.u8(0);           // family
    b.u8(134);         // character set: Chinese (GB2312)
    b.u8(0);
    const QString name = QStringLiteral("宋体");
    b.u8(static_cast<quint8>(name.size()));
    b.u8(0x01);        // UTF-16 characters
    b.utf16(name);
    return b.data;
}

QByteArray Xf(bool style, quint16 numberFormat = 0)
{
    Bytes b;
    b.u16(0);                          // font 0
    b.u16(numberFormat);               // 0 is "General"
    b.u16(style ? 0xFFF5 : 0x0001);    // locked; a style format has no parent
    b.u8(0x20);                        // general alignment, bottom
    b.u8(0);
    b.u8(0);
    // Attributes this cell format sets itself (the number format too when it has one).
    b.u8(style ? 0x00 : (numberFormat != 0 ? 0xFC : 0xF8));
    b.u32(0);                          // no borders
    b.u32(0);
    b.u16(0x20C0);                     // default pattern colours
    return b.data;
}

// Short string with a one-byte length (sheet names, font names).
QByteArray ShortString(const QString& s)
{
    Bytes b;
    b.u8(static_cast<quint8>(s.size()));
    b.u8(0x01);
    b.utf16(s);
    return b.data;
}

// The shared string table, split into CONTINUE records where it grows beyond
// one record's body; a string cut at a record boundary carries its option
// byte again at the start of the next record. Also collects what the EXTSST
// index needs: where every dsst-th string starts.
struct SstResult {
    QByteArray records;             // SST and CONTINUE records, with headers
    QVector<int> bucketStreamPos;   // relative to the start of `records`
    QVector<int> bucketRecordOffset;
};

SstResult BuildSst(const QStringList& strings, int totalReferences, int dsst)
{
    SstResult result;
    QByteArray& out = result.records;
    Bytes body;
    int recordStart = 0;     // position of the current record's header in out
    bool first = true;

    auto flush = [&]() {
        Bytes header;
        header.u16(first ? 0x00FC : 0x003C);
        header.u16(static_cast<quint16>(body.size()));
        out.append(header.data);
        out.append(body.data);
        body.data.clear();
        first = false;
        recordStart = out.size();
    };

    body.u32(static_cast<quint32>(totalReferences));
    body.u32(static_cast<quint32>(strings.size()));
    for (int i = 0; i < strings.size(); ++i) {
        const QString& s = strings[i];
        // The length and option byte stay with the first character.
        const int headerNeed = s.isEmpty() ? 3 : 5;
        if (kMaxRecordBody - body.size() < headerNeed)
            flush();
        if (i % dsst == 0) {
            result.bucketStreamPos.append(recordStart + 4 + body.size());
            result.bucketRecordOffset.append(4 + body.size());
        }
        body.u16(static_cast<quint16>(s.size()));
        body.u8(0x01);
        int pos = 0;
        while (pos < s.size()) {
            int room = (kMaxRecordBody - body.size()) / 2;
            if (room == 0) {
                flush();
                body.u8(0x01);  // the rest of the string, UTF-16
                room = (kMaxRecordBody - body.size()) / 2;
            }
            const int take = std::min<int>(room, s.size() - pos);
            for (int k = 0; k < take; ++k)
                body.u16(s[pos + k].unicode());
            pos += take;
        }
    }
    flush();
    return result;
}

}  // namespace

Result<QByteArray> BuildWorkbookStream(const XlsSheet& sheet)
{
    const int rowCount = sheet.rows.size();
    const int columnCount = sheet.columnCount();
    if (rowCount > kXlsMaxRows) {
        return Fail(CoreText::tr("表格有 %1 行，超过了 Excel 97-2003 工作表的上限 %2 行", QString::number(rowCount),
                                 QString::number(kXlsMaxRows)));
    }
    if (columnCount > kXlsMaxColumns) {
        return Fail(CoreText::tr("表格有 %1 列，超过了 Excel 97-2003 工作表的上限 %2 列", QString::number(columnCount),
                                 QString::number(kXlsMaxColumns)));
    }

    // Shared strings, each text once.
    QStringList strings;
    QHash<QString, int> stringIndex;
    int references = 0;
    for (const XlsRow& row : sheet.rows)
        for (const XlsCell& cell : row)
            if (cell.kind == XlsCell::Kind::Text && !cell.text.isEmpty()) {
                const QString text = cell.text.left(kXlsMaxTextLength);
                ++references;
                if (!stringIndex.contains(text)) {
                    stringIndex.insert(text, strings.size());
                    strings << text;
                }
            }

    // Number formats: one cell format per number of decimals shown. Two
    // decimals have a built-in format ("0.00"); others get one of the
    // workbook's own, numbered from 164 as the format reserves.
    QVector<int> decimalsUsed;
    for (const XlsRow& row : sheet.rows)
        for (const XlsCell& cell : row)
            if (cell.kind == XlsCell::Kind::Number && cell.decimals > 0 && !decimalsUsed.contains(cell.decimals))
                decimalsUsed << cell.decimals;
    std::sort(decimalsUsed.begin(), decimalsUsed.end());
    auto formatOf = [](int decimals) { return static_cast<quint16>(decimals == 2 ? 2 : 163 + decimals); };
    auto cellXfOf = [&decimalsUsed](const XlsCell& cell) {
        const int at = cell.kind == XlsCell::Kind::Number ? static_cast<int>(decimalsUsed.indexOf(cell.decimals)) : -1;
        return static_cast<quint16>(at < 0 ? kCellXf : kCellXf + 1 + at);
    };

    // Workbook globals.
    Bytes globals;
    Record(globals, 0x0809, Bof(0x0005));
    {
        Bytes b;
        b.u16(0x04B0);  // strings are UTF-16
        Record(globals, 0x0042, b.data);
    }
    {
        Bytes b;  // WINDOW1
        b.u16(0);
        b.u16(0);
        b.u16(0x4000);
        b.u16(0x2000);
        b.u16(0x0038);
        b.u16(0);
        b.u16(0);
        b.u16(1);
        b.u16(0x0258);
        Record(globals, 0x003D, b.data);
    }
    for (int i = 0; i < 5; ++i)  // fonts 0 to 3 and 5 (there is no font 4)
        Record(globals, 0x0031, Font(false));
    for (int decimals : decimalsUsed) {
        if (formatOf(decimals) == 2)
            continue;
        const QString code = QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
        Bytes b;  // FORMAT
        b.u16(formatOf(decimals));
        b.u16(static_cast<quint16>(code.size()));
        b.u8(0x01);
        b.utf16(code);
        Record(globals, 0x041E, b.data);
    }
    for (int i = 0; i < 15; ++i)
        Record(globals, 0x00E0, Xf(true));
    Record(globals, 0x00E0, Xf(false));
    for (int decimals : decimalsUsed)
        Record(globals, 0x00E0, Xf(false, formatOf(decimals)));
    {
        Bytes b;  // the built-in style "Normal"
        b.u16(0x8000);
        b.u8(0);
        b.u8(0xFF);
        Record(globals, 0x0293, b.data);
    }
    const int boundSheetAt = globals.size();
    {
        Bytes b;
        b.u32(0);  // stream position of the sheet, filled in below
        b.u16(0);  // visible worksheet
        b.data.append(ShortString(sheet.name.left(31)));
        Record(globals, 0x0085, b.data);
    }
    const int dsst = std::max(8, static_cast<int>((strings.size() + 127) / 128));
    const int sstAt = globals.size();
    const SstResult sst = BuildSst(strings, references, dsst);
    globals.data.append(sst.records);
    {
        Bytes b;  // EXTSST: where every dsst-th string starts, to speed up reading
        b.u16(static_cast<quint16>(dsst));
        for (int i = 0; i < sst.bucketStreamPos.size(); ++i) {
            b.u32(static_cast<quint32>(sstAt + sst.bucketStreamPos[i]));
            b.u16(static_cast<quint16>(sst.bucketRecordOffset[i]));
            b.u16(0);
        }
        if (b.size() <= kMaxRecordBody)
            Record(globals, 0x00FF, b.data);
    }
    Record(globals, 0x000A, QByteArray());
    PutU32(globals.data, boundSheetAt + 4, static_cast<quint32>(globals.size()));

    // The worksheet.
    Bytes ws;
    Record(ws, 0x0809, Bof(0x0010));
    {
        Bytes b;  // DEFCOLWIDTH, in characters
        b.u16(12);
        Record(ws, 0x0055, b.data);
    }
    for (int c = 0; c < sheet.columnWidths.size() && c < kXlsMaxColumns; ++c) {
        if (sheet.columnWidths[c] <= 0)
            continue;
        Bytes b;  // COLINFO
        b.u16(static_cast<quint16>(c));
        b.u16(static_cast<quint16>(c));
        b.u16(static_cast<quint16>(std::min(sheet.columnWidths[c], 0xFF00)));
        b.u16(kCellXf);
        b.u16(0);
        b.u16(0);
        Record(ws, 0x007D, b.data);
    }
    {
        Bytes b;  // DIMENSIONS: first row, last row + 1, first column, last column + 1
        b.u32(0);
        b.u32(static_cast<quint32>(rowCount));
        b.u16(0);
        b.u16(static_cast<quint16>(columnCount));
        b.u16(0);
        Record(ws, 0x0200, b.data);
    }
    for (int r = 0; r < rowCount; ++r) {
        const XlsRow& row = sheet.rows[r];
        for (int c = 0; c < row.size(); ++c) {
            const XlsCell& cell = row[c];
            Bytes b;
            b.u16(static_cast<quint16>(r));
            b.u16(static_cast<quint16>(c));
            b.u16(cellXfOf(cell));
            if (cell.kind == XlsCell::Kind::Number) {
                b.f64(cell.number);
                Record(ws, 0x0203, b.data);
            } else if (cell.kind == XlsCell::Kind::Text && !cell.text.isEmpty()) {
                b.u32(static_cast<quint32>(stringIndex.value(cell.text.left(kXlsMaxTextLength))));
                Record(ws, 0x00FD, b.data);
            }
        }
    }
    {
        Bytes b;  // WINDOW2: grid lines, headers, zero values; the selected sheet
        b.u16(0x06B6);
        b.u16(0);
        b.u16(0);
        b.u16(64);
        b.u16(0);
        b.u16(0);
        b.u16(0);
        b.u32(0);
        Record(ws, 0x023E, b.data);
    }
    Record(ws, 0x000A, QByteArray());

    return globals.data + ws.data;
}

namespace {

// ---------------------------------------------------------------------------
// Compound File.

constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kSector = 512;
constexpr int kMiniSector = 64;
constexpr int kMiniCutoff = 4096;
constexpr int kIdsPerSector = kSector / 4;

int SectorsFor(qint64 bytes, int size) { return static_cast<int>((bytes + size - 1) / size); }

QByteArray DirectoryEntry(const QString& name, quint8 type, quint32 child, quint32 start, quint32 size)
{
    Bytes b;
    if (type != 0) {
        b.utf16(name);
        b.u16(0);
    }
    b.zeros(64 - b.size());
    b.u16(type != 0 ? static_cast<quint16>((name.size() + 1) * 2) : 0);
    b.u8(type);
    b.u8(type != 0 ? 1 : 0);  // black
    b.u32(kNoStream);          // left sibling
    b.u32(kNoStream);          // right sibling
    b.u32(child);
    b.zeros(16);               // class id
    b.u32(0);                  // state bits
    b.zeros(16);               // creation and modification times
    b.u32(start);
    b.u32(size);
    b.u32(0);
    return b.data;
}

}  // namespace

QByteArray BuildCompoundFile(const QByteArray& workbook)
{
    const qint64 size = workbook.size();
    const bool mini = size < kMiniCutoff;

    // Sector layout: directory, mini FAT, stream data (or the mini stream),
    // then the FAT and, for very large files, its DIFAT sectors.
    const int dirSectors = 1;
    const int miniSectors = mini ? SectorsFor(size, kMiniSector) : 0;
    const int miniFatSectors = mini ? std::max(1, SectorsFor(miniSectors * 4, kSector)) : 0;
    const int dataSectors = mini ? SectorsFor(qint64(miniSectors) * kMiniSector, kSector)
                                 : SectorsFor(size, kSector);
    const int before = dirSectors + miniFatSectors + dataSectors;
    int fatSectors = 1;
    int difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > 109 ? SectorsFor(fatSectors - 109, kIdsPerSector - 1) : 0;
        const int total = before + fatSectors + difatSectors;
        if (qint64(fatSectors) * kIdsPerSector >= total)
            break;
        ++fatSectors;
    }
    const int dirStart = 0;
    const int miniFatStart = dirSectors;
    const int dataStart = miniFatStart + miniFatSectors;
    const int fatStart = dataStart + dataSectors;
    const int difatStart = fatStart + fatSectors;
    const int totalSectors = difatStart + difatSectors;

    QVector<quint32> fat(fatSectors * kIdsPerSector, kFreeSector);
    auto chain = [&fat](int start, int count) {
        for (int i = 0; i < count; ++i)
            fat[start + i] = (i + 1 < count) ? quint32(start + i + 1) : kEndOfChain;
    };
    chain(dirStart, dirSectors);
    chain(miniFatStart, miniFatSectors);
    chain(dataStart, dataSectors);
    for (int i = 0; i < fatSectors; ++i)
        fat[fatStart + i] = kFatSector;
    for (int i = 0; i < difatSectors; ++i)
        fat[difatStart + i] = kDifatSector;

    // Header.
    Bytes h;
    h.data.append("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    h.zeros(16);
    h.u16(0x003E);
    h.u16(0x0003);
    h.u16(0xFFFE);
    h.u16(9);   // 512-byte sectors
    h.u16(6);   // 64-byte mini sectors
    h.zeros(6);
    h.u32(0);
    h.u32(static_cast<quint32>(fatSectors));
    h.u32(dirStart);
    h.u32(0);
    h.u32(kMiniCutoff);
    h.u32(mini ? quint32(miniFatStart) : kEndOfChain);
    h.u32(static_cast<quint32>(miniFatSectors));
    h.u32(difatSectors > 0 ? quint32(difatStart) : kEndOfChain);
    h.u32(static_cast<quint32>(difatSectors));
    for (int i = 0; i < 109; ++i)
        h.u32(i < fatSectors ? quint32(fatStart + i) : kFreeSector);

    QByteArray out = h.data;
    out.reserve(kSector * (totalSectors + 1));

    // Directory: the root, the Workbook stream and two unused entries.
    out.append(DirectoryEntry(QStringLiteral("Root Entry"), 5, 1,
                              mini ? quint32(dataStart) : kEndOfChain,
                              mini ? quint32(miniSectors * kMiniSector) : 0));
    out.append(DirectoryEntry(QStringLiteral("Workbook"), 2, kNoStream,
                              mini ? 0 : quint32(dataStart), static_cast<quint32>(size)));
    out.append(DirectoryEntry(QString(), 0, kNoStream, 0, 0));
    out.append(DirectoryEntry(QString(), 0, kNoStream, 0, 0));

    if (mini) {
        Bytes mf;
        for (int i = 0; i < miniSectors; ++i)
            mf.u32(i + 1 < miniSectors ? quint32(i + 1) : kEndOfChain);
        while (mf.size() < miniFatSectors * kSector)
            mf.u32(kFreeSector);
        out.append(mf.data);
    }

    out.append(workbook);
    out.append(static_cast<int>(qint64(dataSectors) * kSector - size), '\0');

    Bytes f;
    for (quint32 id : fat)
        f.u32(id);
    out.append(f.data);

    // DIFAT sectors: the FAT sectors past the 109 the header holds.
    int next = 109;
    for (int d = 0; d < difatSectors; ++d) {
        Bytes b;
        for (int i = 0; i < kIdsPerSector - 1; ++i, ++next)
            b.u32(next < fatSectors ? quint32(fatStart + next) : kFreeSector);
        b.u32(d + 1 < difatSectors ? quint32(difatStart + d + 1) : kEndOfChain);
        out.append(b.data);
    }
    return out;
}

Status WriteXlsFile(const QString& path, const XlsSheet& sheet)
{
    const Result<QByteArray> workbook = BuildWorkbookStream(sheet);
    if (!workbook)
        return workbook.status();
    return WriteWholeFile(path, BuildCompoundFile(*workbook));
}

namespace {

Text FreeXlReason(const QString& path, int code)
{
    return CoreText::tr("无法读取 Excel 文件 %1（错误代码 %2）", path, QString::number(code));
}

// ---------------------------------------------------------------------------
// Formula results. FreeXL reads a formula cell as an empty cell, although the
// workbook keeps the result the formula last had beside it. The results are
// read here from the Workbook stream itself: the Compound File that holds it,
// then the sheet's FORMULA records.

constexpr quint32 kChainEnd = 0xFFFFFFFE;
constexpr quint32 kNoSector = 0xFFFFFFFF;
constexpr int kHeaderBytes = 512;

quint16 U16(const QByteArray& b, qint64 at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
}

quint32 U32(const QByteArray& b, qint64 at)
{
    return U16(b, at) | (static_cast<quint32>(U16(b, at + 2)) << 16);
}

// The sectors of a chain, in order; empty when the chain leaves the table or
// runs in a circle.
QVector<quint32> Chain(const QVector<quint32>& table, quint32 start)
{
    QVector<quint32> sectors;
    for (quint32 s = start; s != kChainEnd; s = table[s]) {
        if (s >= static_cast<quint32>(table.size()) || sectors.size() >= table.size())
            return {};
        sectors << s;
    }
    return sectors;
}

// The bytes of a chain of sectors of the given size taken from data (sector s
// at offset first + s * size), cut to length.
std::optional<QByteArray> Gather(const QByteArray& data, qint64 first, int size, const QVector<quint32>& sectors,
                                 qint64 length)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(std::min<qint64>(length, qint64(sectors.size()) * size)));
    for (quint32 s : sectors) {
        const qint64 at = first + qint64(s) * size;
        if (at < 0 || at + size > data.size())
            return std::nullopt;
        out.append(data.constData() + at, size);
        if (out.size() >= length)
            break;
    }
    if (out.size() < length)
        return std::nullopt;
    out.truncate(static_cast<qsizetype>(length));
    return out;
}

// The stream "Workbook" of a Compound File; nothing when there is none or the
// file is damaged.
std::optional<QByteArray> WorkbookStream(const QByteArray& file)
{
    if (file.size() < kHeaderBytes || !file.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return std::nullopt;
    const int shift = U16(file, 30);
    if (shift != 9 && shift != 12)
        return std::nullopt;
    const int sector = 1 << shift;
    const int miniSector = 1 << std::clamp<int>(U16(file, 32), 1, 12);
    const quint32 miniCutoff = U32(file, 56);
    const qint64 sectors = file.size() / sector;  // the header takes the place of one

    // The sectors of the allocation table: 109 named in the header, the rest
    // in a chain of DIFAT sectors.
    QVector<quint32> fatSectors;
    const quint32 fatCount = U32(file, 44);
    for (int i = 0; i < 109 && fatSectors.size() < qint64(fatCount); ++i)
        fatSectors << U32(file, 76 + 4 * i);
    for (quint32 d = U32(file, 68); d != kChainEnd && d != kNoSector && fatSectors.size() < qint64(fatCount);) {
        const qint64 at = qint64(d + 1) * sector;
        if (d >= sectors || at + sector > file.size() || fatSectors.size() > sectors)
            return std::nullopt;
        for (int i = 0; i < sector / 4 - 1 && fatSectors.size() < qint64(fatCount); ++i)
            fatSectors << U32(file, at + 4 * i);
        d = U32(file, at + sector - 4);
    }
    QVector<quint32> fat;
    for (quint32 f : fatSectors) {
        const qint64 at = qint64(f + 1) * sector;
        if (f >= sectors || at + sector > file.size())
            return std::nullopt;
        for (int i = 0; i < sector / 4; ++i)
            fat << U32(file, at + 4 * i);
    }

    const QVector<quint32> dirChain = Chain(fat, U32(file, 48));
    const std::optional<QByteArray> directory = Gather(file, sector, sector, dirChain, qint64(dirChain.size()) * sector);
    if (!directory || directory->size() < 128)
        return std::nullopt;
    const QByteArray& dir = *directory;
    auto entrySize = [&dir](qint64 at) { return U32(dir, at + 120); };
    for (qint64 at = 0; at + 128 <= dir.size(); at += 128) {
        const int nameBytes = std::min<int>(U16(dir, at + 64), 64);
        if (static_cast<quint8>(dir[at + 66]) != 2 || nameBytes < 2)
            continue;
        const QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(dir.constData() + at), nameBytes / 2 - 1);
        if (name.compare(QLatin1String("Workbook"), Qt::CaseInsensitive) != 0)
            continue;
        const quint32 start = U32(dir, at + 116);
        const qint64 size = entrySize(at);
        if (size >= miniCutoff)
            return Gather(file, sector, sector, Chain(fat, start), size);
        // A small stream lies in the mini stream, which the root entry holds.
        const std::optional<QByteArray> ministream
            = Gather(file, sector, sector, Chain(fat, U32(dir, 116)), entrySize(0));
        const QVector<quint32> miniFatChain = Chain(fat, U32(file, 60));
        const std::optional<QByteArray> miniFatBytes
            = Gather(file, sector, sector, miniFatChain, qint64(miniFatChain.size()) * sector);
        if (!ministream || !miniFatBytes)
            return std::nullopt;
        QVector<quint32> miniFat;
        for (qint64 i = 0; i + 4 <= miniFatBytes->size(); i += 4)
            miniFat << U32(*miniFatBytes, i);
        return Gather(*ministream, 0, miniSector, Chain(miniFat, start), size);
    }
    return std::nullopt;
}

// The text of a BIFF8 string: its characters, compressed (one byte each) or not.
QString BiffChars(const QByteArray& b, qint64 at, int count, bool wide)
{
    count = static_cast<int>(std::min<qint64>(count, (b.size() - at) / (wide ? 2 : 1)));
    if (count <= 0)
        return QString();
    if (wide)
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(b.constData() + at), count);
    return QString::fromLatin1(b.constData() + at, count);
}

QString BiffErrorText(int code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    default: return QStringLiteral("#N/A");
    }
}

struct FormulaResult {
    int row = 0;
    int column = 0;
    XlsCell cell;
};

// The results of the formula cells of the named sheet, as the workbook last
// calculated them. Empty for a stream that is not BIFF8 or that the sheet is
// not in.
QVector<FormulaResult> FormulaResults(const QByteArray& stream, const QString& sheetName)
{
    QVector<FormulaResult> results;
    // The sheet's place in the stream, from its BOUNDSHEET record in the globals.
    qint64 sheetAt = -1;
    for (qint64 at = 0; at + 4 <= stream.size();) {
        const quint16 type = U16(stream, at);
        const quint16 length = U16(stream, at + 2);
        const qint64 body = at + 4;
        if (body + length > stream.size())
            return results;
        if (at == 0 && (type != 0x0809 || length < 2 || U16(stream, body) != 0x0600))
            return results;  // not BIFF8
        if (type == 0x000A)
            break;
        if (type == 0x0085 && length >= 8) {
            const int count = static_cast<quint8>(stream[body + 6]);
            const bool wide = (static_cast<quint8>(stream[body + 7]) & 1) != 0;
            if (BiffChars(stream, body + 8, count, wide) == sheetName) {
                sheetAt = U32(stream, body);
                break;
            }
        }
        at = body + length;
    }
    if (sheetAt < 0 || sheetAt >= stream.size())
        return results;

    int depth = 0;
    qint64 stringFor = -1;  // the result waiting for its STRING record
    for (qint64 at = sheetAt; at + 4 <= stream.size();) {
        const quint16 type = U16(stream, at);
        const quint16 length = U16(stream, at + 2);
        const qint64 body = at + 4;
        if (body + length > stream.size())
            break;
        at = body + length;
        if (type == 0x0809) {
            ++depth;  // the sheet's own BOF, or a chart's inside it
        } else if (type == 0x000A) {
            if (--depth <= 0)
                break;
        } else if (depth == 1 && type == 0x0006 && length >= 14) {
            FormulaResult result;
            result.row = U16(stream, body);
            result.column = U16(stream, body + 2);
            stringFor = -1;
            if (U16(stream, body + 12) != 0xFFFF) {
                const double value
                    = std::bit_cast<double>(U32(stream, body + 6) | (static_cast<quint64>(U32(stream, body + 10)) << 32));
                if (!std::isfinite(value))
                    continue;
                result.cell = XlsCell::fromNumber(value);
            } else {
                const int kind = static_cast<quint8>(stream[body + 6]);
                const int value = static_cast<quint8>(stream[body + 8]);
                if (kind == 0) {
                    stringFor = results.size();
                } else if (kind == 1) {
                    result.cell = XlsCell::fromText(value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
                } else if (kind == 2) {
                    result.cell = XlsCell::fromText(BiffErrorText(value));
                }
            }
            results << result;
        } else if (depth == 1 && type == 0x0207 && stringFor >= 0 && length >= 3) {
            const bool wide = (static_cast<quint8>(stream[body + 2]) & 1) != 0;
            results[stringFor].cell = XlsCell::fromText(BiffChars(stream, body + 3, U16(stream, body), wide));
            stringFor = -1;
        }
    }
    return results;
}

// Puts the formula results into the cells FreeXL left empty.
void AddFormulaResults(const QString& path, XlsSheet& sheet)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const std::optional<QByteArray> stream = WorkbookStream(file.readAll());
    if (!stream)
        return;
    for (const FormulaResult& result : FormulaResults(*stream, sheet.name)) {
        if (result.cell.isEmpty() || result.row >= kXlsMaxRows || result.column >= kXlsMaxColumns)
            continue;
        if (sheet.rows.size() <= result.row)
            sheet.rows.resize(result.row + 1);
        XlsRow& row = sheet.rows[result.row];
        if (row.size() <= result.column)
            row.resize(result.column + 1);
        if (row[result.column].kind == XlsCell::Kind::Empty)
            row[result.column] = result.cell;
    }
}

}  // namespace

Result<XlsSheet> ReadXlsFile(const QString& path, const QString& sheetName)
{
    XlsSheet result;
    XlsSheet* sheet = &result;
    if (!QFile::exists(path))
        return Fail(CoreText::tr("找不到文件 %1", path));
    const void* handle = nullptr;
    const QByteArray name = QFile::encodeName(path);
    int rc = freexl_open(name.constData(), &handle);
    struct Closer {
        const void*& h;
        ~Closer()
        {
            if (h)
                freexl_close(h);
        }
    } closer{handle};
    if (rc != FREEXL_OK)
        return Fail(FreeXlReason(path, rc));

    unsigned int sheets = 0;
    rc = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
    if (rc != FREEXL_OK)
        return Fail(FreeXlReason(path, rc));
    if (sheets == 0)
        return Fail(CoreText::tr("Excel 文件 %1 中没有工作表", path));
    unsigned short chosen = 0;
    for (unsigned short i = 0; i < sheets; ++i) {
        const char* sheetTitle = nullptr;
        if (freexl_get_worksheet_name(handle, i, &sheetTitle) == FREEXL_OK && sheetTitle
            && QString::fromUtf8(sheetTitle) == sheetName) {
            chosen = i;
            break;
        }
    }
    const char* chosenTitle = nullptr;
    if (freexl_get_worksheet_name(handle, chosen, &chosenTitle) == FREEXL_OK && chosenTitle)
        sheet->name = QString::fromUtf8(chosenTitle);
    rc = freexl_select_active_worksheet(handle, chosen);
    if (rc != FREEXL_OK)
        return Fail(FreeXlReason(path, rc));
    unsigned int rows = 0;
    unsigned short columns = 0;
    rc = freexl_worksheet_dimensions(handle, &rows, &columns);
    if (rc != FREEXL_OK)
        return Fail(FreeXlReason(path, rc));

    sheet->rows.reserve(static_cast<int>(rows));
    for (unsigned int r = 0; r < rows; ++r) {
        XlsRow row;
        int used = 0;
        row.resize(columns);
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(handle, r, c, &value) != FREEXL_OK)
                continue;
            XlsCell& cell = row[c];
            switch (value.type) {
            case FREEXL_CELL_INT:
                cell = XlsCell::fromNumber(value.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                cell = XlsCell::fromNumber(value.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                cell = XlsCell::fromText(QString::fromUtf8(value.value.text_value));
                break;
            default:
                continue;
            }
            used = c + 1;
        }
        row.resize(used);
        sheet->rows.append(std::move(row));
    }
    AddFormulaResults(path, *sheet);
    return result;
}
