// Writes the export templates of the template folder: the two workbooks with
// their title rows (through the program's own .xls writer) and the two pages.
// Run it from the build folder with the template folder as its argument:
//   velmora-make-templates ../template

#include "base/Files.h"
#include "export/XlsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

const char* kPageStyle =
    "<style>"
    "body{font-family:'Microsoft YaHei','Noto Sans CJK SC','SimSun',sans-serif;"
    "font-size:14px;margin:16px;color:#222}"
    "h1{font-size:20px;margin:0 0 8px 0}"
    "h2{font-size:16px;margin:18px 0 6px 0}"
    "p.info{background:#f4f6f8;padding:8px;border-left:4px solid #5b7fa6}"
    "table{border-collapse:collapse;margin-bottom:12px}"
    "td{border:1px solid #9aa5b1;padding:3px 6px;white-space:nowrap}"
    "tr:first-child td{background:#dfe6ee;font-weight:bold}"
    "tr:nth-child(even) td{background:#f8f9fb}"
    "</style>";

QString Page(const QString& title, const QString& body)
{
    // One element per line: the export joins the lines of a CR LF template.
    QStringList lines;
    lines << QStringLiteral("<!DOCTYPE html>") << QStringLiteral("<html>") << QStringLiteral("<head>")
          << QStringLiteral("<meta charset=\"utf-8\">")
          << QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")
          << QStringLiteral("<title>") + title + QStringLiteral("</title>") << QString::fromUtf8(kPageStyle)
          << QStringLiteral("</head>") << QStringLiteral("<body>") << body << QStringLiteral("</body>")
          << QStringLiteral("</html>");
    return lines.join(QStringLiteral("\r\n"));
}

bool WriteBook(const QString& path, const QStringList& titleRows)
{
    XlsSheet sheet;
    for (const QString& row : titleRows)
        sheet.appendTextRow({row});
    const Status written = WriteXlsFile(path, sheet);
    if (!written)
        QTextStream(stderr) << written.message() << '\n';
    return written.ok();
}

bool WritePage(const QString& path, const QString& text)
{
    // SaveTextFile ends the text with its own CR LF.
    const Status written = SaveTextFile(path, text);
    if (!written)
        QTextStream(stderr) << written.message() << '\n';
    return written.ok();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QDir dir(args.size() > 1 ? args[1] : QStringLiteral("template"));
    if (!QDir().mkpath(dir.path())) {
        QTextStream(stderr) << "cannot create " << dir.path() << '\n';
        return 1;
    }
    const QString program = QStringLiteral("Velmora配煤软件");
    bool ok = true;
    ok &= WriteBook(dir.filePath(QStringLiteral("list1.xls")), {program + QStringLiteral(" 煤种列表")});
    ok &= WriteBook(dir.filePath(QStringLiteral("list2.xls")), {program + QStringLiteral(" 配比方案")});
    ok &= WritePage(dir.filePath(QStringLiteral("list1.html")),
                    Page(program + QStringLiteral(" 煤种列表"),
                         QStringLiteral("<h1>") + program + QStringLiteral(" 煤种列表</h1>\r\n{$list1}")));
    ok &= WritePage(dir.filePath(QStringLiteral("list2.html")),
                    Page(program + QStringLiteral(" 配比方案"),
                         QStringLiteral("<h1>") + program
                             + QStringLiteral(" 配比方案</h1>\r\n<p class=\"info\">{$destination}</p>\r\n"
                                              "<h2>参与配比的煤</h2>\r\n{$list1}\r\n"
                                              "<h2>方案列表</h2>\r\n{$list2}")));
    return ok ? 0 : 1;
}
