#include "support/TableText.h"
#include "support/TestFolder.h"

#include "inventory/CoalImport.h"
#include "export/CsvFile.h"
#include "export/XlsFile.h"
#include "export/XlsxFile.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <quazip.h>
#include <quazipfile.h>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using Parts = QList<QPair<QString, QByteArray>>;

bool WriteZip(const QString& path, const Parts& parts)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(bytes) != bytes.size())
            return false;
        file.close();
        if (file.getZipError() != UNZ_OK)
            return false;
    }
    zip.close();
    return zip.getZipError() == UNZ_OK;
}

const char* kMain = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";

// A workbook whose first sheet holds sheetData (the rows' XML), with the
// given shared strings (<si> elements) and cell formats (<xf> elements, and
// custom <numFmt> elements).
Parts Workbook(const QByteArray& sheetData, const QByteArray& sharedStrings = {}, const QByteArray& cellXfs = {},
               const QByteArray& numFmts = {}, bool date1904 = false)
{
    const QByteArray workbook = QByteArray("<workbook ") + kMain
                                + R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
                                + (date1904 ? R"(<workbookPr date1904="1"/>)" : "")
                                + R"(<sheets><sheet name="化验" sheetId="1" r:id="rId7"/><sheet name="B" sheetId="2" r:id="rId8"/></sheets></workbook>)";
    const QByteArray rels = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                            R"(<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
                            R"(<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/first.xml"/>)"
                            R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
                            R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
                            "</Relationships>";
    const QByteArray rootRels = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
                                R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
                                "</Relationships>";
    const QByteArray styles = QByteArray("<styleSheet ") + kMain + "><numFmts>" + numFmts + "</numFmts>"
                              + R"(<cellStyleXfs><xf numFmtId="14"/></cellStyleXfs><cellXfs><xf numFmtId="0"/>)" + cellXfs
                              + "</cellXfs></styleSheet>";
    return {
        {QStringLiteral("_rels/.rels"), rootRels},
        {QStringLiteral("xl/workbook.xml"), workbook},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
        {QStringLiteral("xl/sharedStrings.xml"), QByteArray("<sst ") + kMain + ">" + sharedStrings + "</sst>"},
        {QStringLiteral("xl/styles.xml"), styles},
        {QStringLiteral("xl/worksheets/first.xml"),
         QByteArray("<worksheet ") + kMain + "><sheetData>" + sheetData + "</sheetData></worksheet>"},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         QByteArray("<worksheet ") + kMain + R"(><sheetData><row r="1"><c r="A1"><v>99</v></c></row></sheetData></worksheet>)"},
    };
}

QByteArray Gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

// A workbook whose sheet data is written in pieces as it is compressed, so
// that a sheet of hundreds of megabytes never sits in memory: the header part,
// count copies of a repeated row, then the tail.
bool WriteLargeSheet(const QString& path, const QByteArray& head, const QByteArray& repeated, qint64 count,
                     const QByteArray& tail)
{
    Parts parts = Workbook(QByteArray());
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)))
            return false;
        if (name.endsWith(QLatin1String("first.xml"))) {
            const qint64 perChunk = std::max<qint64>(1, (1 << 20) / repeated.size());
            const QByteArray chunk = repeated.repeated(perChunk);
            bool ok = file.write(QByteArray("<worksheet ") + kMain + "><sheetData>" + head) > 0;
            for (qint64 done = 0; ok && done < count; done += perChunk)
                ok = file.write(done + perChunk <= count ? chunk : repeated.repeated(count - done)) > 0;
            ok = ok && file.write(tail + "</sheetData></worksheet>") > 0;
            if (!ok)
                return false;
        } else if (file.write(bytes) != bytes.size()) {
            return false;
        }
        file.close();
    }
    zip.close();
    return zip.getZipError() == UNZ_OK;
}

// An .xls workbook (the program's own writer) whose cell B2 is a formula
// =1+2 with the given cached result (8 bytes), followed by a STRING record
// when the result is a text; padRows rows of numbers make the Workbook
// stream large enough to leave the mini stream.
QByteArray FormulaWorkbook(const QByteArray& result, const QByteArray& stringRecord, int padRows)
{
    XlsSheet sheet;
    sheet.appendTextRow({QStringLiteral("名称"), QStringLiteral("灰分")});
    sheet.rows << XlsRow{XlsCell::fromText(QStringLiteral("煤A")), XlsCell::fromNumber(12345.0)};
    for (int r = 0; r < padRows; ++r)
        sheet.rows << XlsRow{XlsCell::fromNumber(r)};
    QByteArray stream = *BuildWorkbookStream(sheet);
    // The NUMBER record of B2 (type 0x0203, 14 bytes: row 1, column 1).
    const qsizetype at = stream.indexOf(QByteArray("\x03\x02\x0E\x00\x01\x00\x01\x00", 8));
    QByteArray body("\x01\x00\x01\x00\x0F\x00", 6);
    body += result;
    body += QByteArray("\x00\x00\x00\x00\x00\x00", 6);              // flags, chn
    body += QByteArray("\x07\x00\x1E\x01\x00\x1E\x02\x00\x03", 9);  // 1+2
    QByteArray record("\x06\x00", 2);
    char length[2];
    qToLittleEndian<quint16>(static_cast<quint16>(body.size()), length);
    record += QByteArray(length, 2) + body + stringRecord;
    stream.replace(at, 18, record);
    return BuildCompoundFile(stream);
}

QByteArray Cached(double value)
{
    char bytes[8];
    qToLittleEndian(value, bytes);
    return QByteArray(bytes, 8);
}

}  // namespace

class TableReadTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void csv_data();
    void csv();
    void xlsx_data();
    void xlsx();
    void workbookWithoutRelationships();
    void unreadableFiles_data();
    void unreadableFiles();
    void progressCanStopReading_data();
    void progressCanStopReading();
    void xlsFormulaResults_data();
    void xlsFormulaResults();
    void hostileWorkbooksUnderMemoryLimit_data();
    void hostileWorkbooksUnderMemoryLimit();
};

void TableReadTest::csv_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("table");

    QTest::newRow("comma, CR LF") << QByteArray("名称,灰分\r\n煤A,12.3\r\n") << "名称|灰分\n煤A|12.3";
    QTest::newRow("lone LF and CR, no final break") << QByteArray("a,b\nc,d\re,f") << "a|b\nc|d\ne|f";
    QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF名称,价格\n煤A,350\n") << "名称|价格\n煤A|350";
    QTest::newRow("GBK") << Gbk(QStringLiteral("名称,灰分\r\n山西焦煤,9.8\r\n")) << "名称|灰分\n山西焦煤|9.8";
    QTest::newRow("UTF-16 with byte order mark, tabs")
        << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(u"名称\t价格\r\n煤A\t1"), 2 * 11)
        << "名称|价格\n煤A|1";
    QTest::newRow("tab separated, commas inside fields") << QByteArray("名称\t灰分\n煤,A\t1,5\n煤B\t2\n")
                                                         << "名称|灰分\n煤,A|1,5\n煤B|2";
    QTest::newRow("quoted separator, doubled quotes")
        << QByteArray("名称,备注\n\"低硫,主焦\",\"他说\"\"好\"\"\"\n") << "名称|备注\n低硫,主焦|他说\"好\"";
    QTest::newRow("line break inside quotes")
        << QByteArray("名称,备注\r\n\"煤A\",\"第一行\r\n第二行\"\r\n煤B,x\r\n")
        << "名称|备注\n煤A|第一行\r\n第二行\n煤B|x";
    QTest::newRow("empty quoted field, empty fields kept in the middle")
        << QByteArray("a,\"\",,d\n") << "a|||d";
    QTest::newRow("trailing empty fields dropped, blank lines kept")
        << QByteArray("标题,,,\n\n名称,价格,,\n") << "标题\n\n名称|价格";
    QTest::newRow("quote inside an unquoted field stays") << QByteArray("a\"b,c\n") << "a\"b|c";
    QTest::newRow("control character kept for the import to name, Ctrl-Z at the end dropped")
        << QByteArray("名称,价格\n煤\x01A,1\n\x1A") << "名称|价格\n煤\x01A|1";
}

void TableReadTest::csv()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("煤.csv"));
    QVERIFY(WriteBytes(path, bytes));
    Result<CellTable> read = ReadTableFile(path);
    QVERIFY2(read.ok(), qPrintable(read.message()));
    QCOMPARE(Render(*read), table);
}

void TableReadTest::xlsx_data()
{
    QTest::addColumn<QByteArray>("sheetData");
    QTest::addColumn<QByteArray>("sharedStrings");
    QTest::addColumn<QByteArray>("cellXfs");
    QTest::addColumn<QByteArray>("numFmts");
    QTest::addColumn<bool>("date1904");
    QTest::addColumn<QString>("table");

    QTest::newRow("shared strings, rich-text runs, phonetic guide left out")
        << QByteArray(R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c></row>)")
        << QByteArray(R"(<si><t>名称</t></si><si><r><rPr><b/><sz val="11"/></rPr><t>灰</t></r>)"
                      R"(<r><t xml:space="preserve">分 </t></r><rPh sb="0" eb="1"><t>ホイ</t></rPh></si>)")
        << QByteArray() << QByteArray() << false << "名称|灰分 ";
    QTest::newRow("inline strings, plain and rich")
        << QByteArray(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>煤A</t></is></c>)"
                      R"(<c r="B1" t="inlineStr"><is><r><t>主</t></r><r><rPr><i/></rPr><t>焦</t></r></is></c></row>)")
        << QByteArray() << QByteArray() << QByteArray() << false << "煤A|主焦";
    QTest::newRow("numbers, and numbers stored as text")
        << QByteArray(R"(<row r="1"><c r="A1"><v>12.300000000000001</v></c><c r="B1" t="s"><v>0</v></c>)"
                      R"(<c r="C1" t="n"><v>1E-3</v></c><c r="D1"><v>-350</v></c></row>)")
        << QByteArray("<si><t>12.30</t></si>") << QByteArray() << QByteArray() << false << "#12.3|12.30|#0.001|#-350";
    QTest::newRow("references with gaps, rows missing")
        << QByteArray(R"(<row r="2"><c r="A2" t="inlineStr"><is><t>a</t></is></c><c r="C2"><v>5</v></c></row>)"
                      R"(<row r="5"><c r="AB5"><v>1</v></c></row>)")
        << QByteArray() << QByteArray() << QByteArray() << false
        << QStringLiteral("\na||#5\n\n\n") + QString(27, QLatin1Char('|')) + QStringLiteral("#1");
    QTest::newRow("cells and rows without references follow each other")
        << QByteArray(R"(<row><c><v>1</v></c><c><v>2</v></c></row><row><c r="B2"><v>3</v></c><c><v>4</v></c></row>)")
        << QByteArray() << QByteArray() << QByteArray() << false << "#1|#2\n|#3|#4";
    QTest::newRow("dates by built-in and custom formats, times of day")
        << QByteArray(R"(<row r="1"><c r="A1" s="1"><v>45356</v></c><c r="B1" s="2"><v>45356.5</v></c>)"
                      R"(<c r="C1" s="3"><v>0.75</v></c><c r="D1" s="4"><v>45356</v></c></row>)")
        << QByteArray()
        << QByteArray(R"(<xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/><xf numFmtId="31"/>)")
        << QByteArray(R"(<numFmt numFmtId="164" formatCode="yyyy/m/d\ h:mm"/><numFmt numFmtId="165" formatCode="[$-409]h:mm AM/PM"/>)")
        << false << "2024-03-05|2024-03-05 12:00:00|18:00:00|2024-03-05";
    QTest::newRow("1904 date system")
        << QByteArray(R"(<row r="1"><c r="A1" s="1"><v>43894</v></c></row>)") << QByteArray()
        << QByteArray(R"(<xf numFmtId="14"/>)") << QByteArray() << true << "2024-03-05";
    QTest::newRow("percentages shown as the sheet shows them; quoted letters are no date")
        << QByteArray(R"(<row r="1"><c r="A1" s="1"><v>0.123</v></c><c r="B1" s="2"><v>0.5</v></c>)"
                      R"(<c r="C1" s="3"><v>350</v></c><c r="D1" s="4"><v>2</v></c></row>)")
        << QByteArray()
        << QByteArray(R"(<xf numFmtId="10"/><xf numFmtId="166"/><xf numFmtId="167"/><xf numFmtId="168"/>)")
        << QByteArray(R"(<numFmt numFmtId="166" formatCode="0.0%"/><numFmt numFmtId="167" formatCode="0.00&quot;元/吨&quot;"/>)"
                      R"(<numFmt numFmtId="168" formatCode="[Red]0.00;[Blue]-0.00"/>)")
        << false << "12.3%|50%|#350|#2";
    QTest::newRow("booleans, errors, formula results, escaped characters, styled empty cells")
        << QByteArray(R"(<row r="1"><c r="A1" t="b"><v>1</v></c><c r="B1" t="e"><v>#N/A</v></c>)"
                      R"(<c r="C1" t="str"><f>A1&amp;"x"</f><v>abx</v></c><c r="D1"><f>1+1</f><v>2</v></c>)"
                      R"(<c r="E1" s="1"/><c r="F1" t="inlineStr"><is><t>a_x000D_b</t></is></c></row>)")
        << QByteArray() << QByteArray(R"(<xf numFmtId="14"/>)") << QByteArray() << false
        << "TRUE|#N/A|abx|#2||a\rb";
    QTest::newRow("formulas the file holds no result for")
        << QByteArray(R"(<row r="1"><c r="A1"><f>1+2</f></c><c r="B1" t="str"><f>A1&amp;"x"</f></c></row>)")
        << QByteArray() << QByteArray() << QByteArray() << false << "=?|=?";
    QTest::newRow("cells out of order, the last of two in one place wins")
        << QByteArray(R"(<row r="1"><c r="C1"><v>3</v></c><c r="A1"><v>1</v></c><c r="C1"><v>4</v></c></row>)")
        << QByteArray() << QByteArray() << QByteArray() << false << "#1||#4";
    QTest::newRow("a cell in the last column")
        << QByteArray(R"(<row r="1"><c r="A1"><v>1</v></c><c r="XFD1"><v>2</v></c></row>)") << QByteArray()
        << QByteArray() << QByteArray() << false << QStringLiteral("#1") + QString(16383, QLatin1Char('|')) + "#2";
}

void TableReadTest::xlsx()
{
    QFETCH(QByteArray, sheetData);
    QFETCH(QByteArray, sharedStrings);
    QFETCH(QByteArray, cellXfs);
    QFETCH(QByteArray, numFmts);
    QFETCH(bool, date1904);
    QFETCH(QString, table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("化验.xlsx"));
    QVERIFY(WriteZip(path, Workbook(sheetData, sharedStrings, cellXfs, numFmts, date1904)));
    Result<CellTable> read = ReadTableFile(path);
    QVERIFY2(read.ok(), qPrintable(read.message()));
    QCOMPARE(Render(*read), table);
}

// Without the package's relationship parts the usual part names are used.
void TableReadTest::workbookWithoutRelationships()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("b.xlsx"));
    Parts parts = Workbook(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)", "<si><t>名称</t></si>");
    parts.removeIf([](const auto& part) { return part.first.contains(QLatin1String("_rels")); });
    QVERIFY(WriteZip(path, parts));
    Result<CellTable> read = ReadTableFile(path);
    QVERIFY2(read.ok(), qPrintable(read.message()));
    QCOMPARE(Render(*read), QStringLiteral("#99"));  // xl/worksheets/sheet1.xml
}

void TableReadTest::unreadableFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QString valid = QStringLiteral("valid");
    QTest::newRow("empty file") << "a.csv" << QByteArray() << "是空的";
    QTest::newRow("cut-off workbook") << "a.xlsx" << QByteArray("cut") << "已损坏或不完整";
    QTest::newRow("workbook that is text") << "a.xlsx" << QByteArray("名称,价格\n煤A,1\n") << "不是 Excel 工作簿";
    QTest::newRow("old workbook that is a web page")
        << "a.xls" << QByteArray("<html><body><table><tr><td>名称</td></tr></table></body></html>") << "网页";
    QTest::newRow("cut-off old workbook") << "a.xls" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0", 11)
                                          << "不是有效的 Excel 97-2003";
    QTest::newRow("binary junk named csv") << "a.csv" << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\0\x03\0>\0", 16)
                                           << "不是文本";
    QTest::newRow("bytes that are neither UTF-8 nor GBK") << "a.csv" << QByteArray("名称\n\xFF\xFF\xFF\n")
                                                          << "既不是 UTF-8";
    QTest::newRow("NUL in a text file") << "a.csv" << QByteArray("名称,价格\n煤") + QByteArray(1, '\0') + ",1\n" << "不是文本";
    QTest::newRow("quote never closed") << "a.csv" << QByteArray("名称,价格\n\"煤A,1\n煤B,2\n") << "第 2 行的引号";
    QTest::newRow("zip without a workbook") << "a.xlsx" << QByteArray("zip:other") << "不是 Excel 工作簿";
    QTest::newRow("sheet that is not XML") << "a.xlsx" << QByteArray("zip:badsheet") << "已损坏";
    QTest::newRow("shared string that is not there") << "a.xlsx" << QByteArray("zip:badstring") << "共享文本";
    QTest::newRow("cell reference out of range") << "a.xlsx" << QByteArray("zip:badref") << "单元格位置";
    QTest::newRow("unsupported kind of file") << "a.doc" << QByteArray("名称") << "只能导入";
    QTest::newRow("folder") << "dir.csv" << QByteArray("special:folder") << "是一个文件夹";
    QTest::newRow("pipe") << "fifo.csv" << QByteArray("special:fifo") << "不是普通文件";
    QTest::newRow("device") << "/dev/null" << QByteArray("special:device") << "不是普通文件";
    QTest::newRow("text file beyond the engine's limit") << "big.txt" << QByteArray("special:big") << "最大只能导入 64 MB";
    QTest::newRow("rows without numbers past the last row")
        << "rows.xlsx" << QByteArray("zip:unnumbered") << "超过 1048576 行";
    QTest::newRow("cell text longer than a cell holds") << "long.xlsx" << QByteArray("zip:long") << "超过 32767 个字符";
    QTest::newRow("more lines than a sheet has rows") << "lines.csv" << QByteArray("special:lines") << "超过 1048576 行";
}

void TableReadTest::unreadableFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = name.startsWith(QLatin1Char('/')) ? name : dir.filePath(name);
    if (bytes == "cut") {
        // The first half of a good workbook: its directory at the end is gone.
        const QString whole = dir.filePath(QStringLiteral("whole.xlsx"));
        QVERIFY(WriteZip(whole, Workbook(R"(<row r="1"><c r="A1"><v>1</v></c></row>)")));
        const QByteArray all = ReadBytes(whole);
        QVERIFY(WriteBytes(path, all.left(all.size() / 2)));
    } else if (bytes == "zip:other") {
        QVERIFY(WriteZip(path, {{QStringLiteral("readme.txt"), "名称"}}));
    } else if (bytes == "zip:badsheet") {
        QVERIFY(WriteZip(path, Workbook(R"(<row r="1"><c r="A1"><v>1</v></row>)")));
    } else if (bytes == "zip:badstring") {
        QVERIFY(WriteZip(path, Workbook(R"(<row r="1"><c r="A1" t="s"><v>3</v></c></row>)", "<si><t>a</t></si>")));
    } else if (bytes == "zip:badref") {
        QVERIFY(WriteZip(path, Workbook(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)")));
    } else if (bytes == "zip:unnumbered") {
        QVERIFY(WriteLargeSheet(path, {}, "<row/>", kTableMaxRows, "<row><c><v>1</v></c></row>"));
    } else if (bytes == "zip:long") {
        QVERIFY(WriteZip(path, Workbook("<row><c t=\"inlineStr\"><is><t>" + QByteArray(40000, 'x') + "</t></is></c></row>")));
    } else if (bytes == "special:folder") {
        QVERIFY(QDir(dir.path()).mkdir(name));
    } else if (bytes == "special:fifo") {
#ifdef Q_OS_LINUX
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#else
        QSKIP("pipes in the file system are a Linux matter here");
#endif
    } else if (bytes == "special:device") {
        if (!QFileInfo::exists(name))
            QSKIP("no /dev/null");
    } else if (bytes == "special:big") {
        // Sparse: 65 MB that take no room and no time.
        QFile big(path);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.write("名称,价格\n") > 0 && big.resize(65LL << 20));
    } else if (bytes == "special:lines") {
        QVERIFY(WriteBytes(path, "名称\n" + QByteArray(kTableMaxRows, '\n') + "煤A\n"));
    } else {
        QVERIFY(WriteBytes(path, bytes));
    }
    Result<CellTable> read = ReadTableFile(path);
    QVERIFY(!read.ok());
    QVERIFY2(read.message().contains(message), qPrintable(read.message()));
}

void TableReadTest::progressCanStopReading_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("xlsx") << "big.xlsx";
    QTest::newRow("csv") << "big.csv";
}

// A reader told to stop ends as cancelled, whatever it has read so far.
void TableReadTest::progressCanStopReading()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QByteArray rows;
    QByteArray csv = "名称,价格\n";
    for (int r = 1; r <= 3000; ++r) {
        rows += QByteArray("<row r=\"") + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r)
                + "\"><v>" + QByteArray::number(r) + "</v></c></row>";
        csv += "煤" + QByteArray::number(r) + "," + QByteArray::number(r) + "\n";
    }
    while (csv.size() < 200000)
        csv += csv;
    if (name.endsWith(QLatin1String("xlsx")))
        QVERIFY(WriteZip(path, Workbook(rows)));
    else
        QVERIFY(WriteBytes(path, csv));

    int calls = 0;
    Result<CellTable> read = ReadTableFile(path, [&calls](qint64 done, qint64 total) {
        ++calls;
        return !(done > 0 && done < total);
    });
    QVERIFY(!read.ok());
    QCOMPARE(read.kind(), FailureKind::Cancelled);
    QCOMPARE(calls, 1);
}

void TableReadTest::xlsFormulaResults_data()
{
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArray>("stringRecord");
    QTest::addColumn<int>("padRows");
    QTest::addColumn<QString>("table");
    const QString head = QStringLiteral("名称|灰分\n煤A|");
    QTest::newRow("number, small workbook in the mini stream") << Cached(3.0) << QByteArray() << 0 << head + "#3";
    QTest::newRow("number, workbook in sectors of its own") << Cached(3.0) << QByteArray() << 600 << head + "#3";
    QTest::newRow("text, in the STRING record after it")
        << QByteArray("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8) << QByteArray("\x07\x02\x05\x00\x02\x00\x00" "ab", 9) << 0
        << head + "ab";
    QTest::newRow("boolean") << QByteArray("\x01\x00\x01\x00\x00\x00\xFF\xFF", 8) << QByteArray() << 0 << head + "TRUE";
    QTest::newRow("error") << QByteArray("\x02\x00\x07\x00\x00\x00\xFF\xFF", 8) << QByteArray() << 0
                           << head + "#DIV/0!";
}

// FreeXL reads a formula cell as empty; the result the workbook keeps is used.
void TableReadTest::xlsFormulaResults()
{
    QFETCH(QByteArray, result);
    QFETCH(QByteArray, stringRecord);
    QFETCH(int, padRows);
    QFETCH(QString, table);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("公式.xls"));
    QVERIFY(WriteBytes(path, FormulaWorkbook(result, stringRecord, padRows)));
    Result<CellTable> read = ReadTableFile(path);
    QVERIFY2(read.ok(), qPrintable(read.message()));
    QCOMPARE(Render(*read).section(QLatin1Char('\n'), 0, 1), table);
}

void TableReadTest::hostileWorkbooksUnderMemoryLimit_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("outcome");  // "" = read
    // Rows without numbers, then one cell: a table of tens of millions of rows.
    QTest::newRow("rows without numbers") << "unnumbered" << "超过 1048576 行";
    // One cell at the far right of each row: rows of 16384 cells each.
    QTest::newRow("cells in column XFD") << "xfd" << "";
}

// A small workbook must not exhaust the memory: each is read in a child
// process whose address space is limited to what it has plus 768 MB; running
// out aborts the child.
void TableReadTest::hostileWorkbooksUnderMemoryLimit()
{
#ifndef Q_OS_LINUX
    QSKIP("the address-space limit is set the Linux way");
#else
    QFETCH(QString, kind);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bomb.xlsx"));
    if (kind == u"unnumbered") {
        QVERIFY(WriteLargeSheet(path, {}, "<row/>", 34'000'000, "<row><c><v>1</v></c></row>"));
    } else {
        QByteArray rows;
        for (int r = 1; r <= 4000; ++r)
            rows += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"XFD" + QByteArray::number(r) + "\"><v>1</v></c></row>";
        QVERIFY(WriteZip(path, Workbook(rows)));
    }
    QVERIFY(QFileInfo(path).size() < 2 * 1024 * 1024);

    QFile status(QStringLiteral("/proc/self/statm"));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const qint64 pages = status.readAll().split(' ').value(0).toLongLong();
    const rlim_t limit = static_cast<rlim_t>(pages * sysconf(_SC_PAGESIZE) + (768LL << 20));

    int channel[2];
    QCOMPARE(pipe(channel), 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        close(channel[0]);
        const rlimit as{limit, limit};
        setrlimit(RLIMIT_AS, &as);
        const Result<CellTable> read = ReadTableFile(path);
        const QByteArray said = read.ok() ? QByteArray("read") : read.message().toUtf8();
        (void)!write(channel[1], said.constData(), static_cast<size_t>(said.size()));
        _exit(0);
    }
    close(channel[1]);
    QByteArray said;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    close(channel[0]);
    int how = 0;
    QCOMPARE(waitpid(child, &how, 0), child);
    QVERIFY2(WIFEXITED(how), "the reader ran out of memory");
    const QString message = QString::fromUtf8(said);
    if (outcome.isEmpty())
        QCOMPARE(message, QStringLiteral("read"));
    else
        QVERIFY2(message.contains(outcome), qPrintable(message));
#endif
}

QTEST_GUILESS_MAIN(TableReadTest)
#include "tst_table_read.moc"
