// The structure of src/: every #include runs down the layers, windows know
// nothing of each other but through the place that wires them, and the
// folders depend on each other without a circle.

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <map>
#include <set>

namespace {

// Lowest first. A file may include its own layer and the layers before it.
const QStringList kLayers = {
    QStringLiteral("base"),       QStringLiteral("data"),      QStringLiteral("blend"),
    QStringLiteral("history"),    QStringLiteral("export"),    QStringLiteral("workspace"),
    QStringLiteral("inventory"),  QStringLiteral("ui/widgets"), QStringLiteral("ui/windows"),
    QStringLiteral("ui/app"),
};

// The layer of a path below src/ ("blend/Engine.h" is in blend); the
// programs' own files at the top (main.cpp) stand above every layer.
int LayerOf(const QString& path)
{
    int best = -1;
    qsizetype longest = -1;
    for (int i = 0; i < kLayers.size(); ++i) {
        const QString prefix = kLayers[i] + QLatin1Char('/');
        if (path.startsWith(prefix) && prefix.size() > longest) {
            best = i;
            longest = prefix.size();
        }
    }
    return best < 0 && !path.contains(QLatin1Char('/')) ? int(kLayers.size()) : best;
}

QString Stem(const QString& path)
{
    return path.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
}

struct Include {
    QString file;  // below src/
    int line;
    QString target;  // as written between the quotes (or the angle brackets)
    bool angled = false;  // written <...>: a system header's form
};

// What breaks the order: an include of a higher layer, an include of an
// unknown place, a window that includes another window, or one of the
// program's own headers included as if it were a system header (<...>), which
// would find a same-named header on the include path first.
QStringList Violations(const QVector<Include>& includes)
{
    QStringList found;
    for (const Include& include : includes) {
        const int from = LayerOf(include.file);
        const int to = LayerOf(include.target);
        const QString where = QStringLiteral("%1:%2 includes %3").arg(include.file).arg(include.line).arg(include.target);
        if (include.angled) {
            found << where + QStringLiteral(" with <...>: the program's own headers are included with quotes");
            continue;
        }
        if (from < 0 || to < 0)
            found << where + QStringLiteral(" (outside every layer)");
        else if (to > from)
            found << where + QStringLiteral(" (a higher layer: %1 above %2)").arg(kLayers.value(to), kLayers.value(from));
        else if (from == to && kLayers[from] == QLatin1String("ui/windows") && Stem(include.file) != Stem(include.target))
            found << where + QStringLiteral(" (a window reaching into another window)");
    }
    return found;
}

// The top-level folders of src/ as a graph of who includes whom; a circle
// in it, or "".
QString FolderCircle(const QVector<Include>& includes)
{
    std::map<QString, std::set<QString>> edges;
    for (const Include& include : includes) {
        const QString from = include.file.section(QLatin1Char('/'), 0, 0);
        const QString to = include.target.section(QLatin1Char('/'), 0, 0);
        if (include.file.contains(QLatin1Char('/')) && from != to)
            edges[from].insert(to);
    }
    std::map<QString, int> state;  // 0 unseen, 1 on the path, 2 done
    QStringList path;
    std::function<bool(const QString&)> visit = [&](const QString& node) {
        state[node] = 1;
        path << node;
        for (const QString& next : edges[node]) {
            if (state[next] == 1) {
                path << next;
                return true;
            }
            if (state[next] == 0 && visit(next))
                return true;
        }
        state[node] = 2;
        path.removeLast();
        return false;
    };
    for (const auto& [node, targets] : edges)
        if (state[node] == 0 && visit(node))
            return path.join(QStringLiteral(" -> "));
    return QString();
}

QVector<Include> ReadIncludes(const QString& root)
{
    // Built from pieces: the include directive spelled out would read as one.
    static const QRegularExpression line(QStringLiteral("^\\s*") + QLatin1Char('#')
                                         + QStringLiteral("\\s*include\\s*(?:\"([^\"]+)\"|<([^>]+)>)"));
    QVector<Include> includes;
    QDirIterator files(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        const QString relative = path.mid(root.size() + 1);
        int number = 0;
        while (!file.atEnd()) {
            ++number;
            const auto match = line.match(QString::fromUtf8(file.readLine()));
            if (!match.hasMatch())
                continue;
            if (match.hasCaptured(1))
                includes.append({relative, number, match.captured(1)});
            else if (QFile::exists(root + QLatin1Char('/') + match.captured(2)))  // one of ours, in <...>
                includes.append({relative, number, match.captured(2), true});
        }
    }
    return includes;
}

}  // namespace

class LayersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sourcesFollowTheLayers();
    void checkerCatchesWhatItMust_data();
    void checkerCatchesWhatItMust();
};

void LayersTest::sourcesFollowTheLayers()
{
    const QVector<Include> includes = ReadIncludes(QStringLiteral(VELMORA_SOURCE_DIR "/src"));
    QVERIFY(includes.size() > 200);
    const QStringList violations = Violations(includes);
    QVERIFY2(violations.isEmpty(), qPrintable(violations.join(QLatin1Char('\n'))));
    const QString circle = FolderCircle(includes);
    QVERIFY2(circle.isEmpty(), qPrintable(circle));
}

// The checks themselves, on includes made up for the purpose: each wrong one
// is reported, each right one is not.
void LayersTest::checkerCatchesWhatItMust_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("angled");
    QTest::addColumn<bool>("wrong");
    QTest::newRow("data uses base") << "data/CoalTable.cpp" << "base/NumberText.h" << false << false;
    QTest::newRow("a layer uses itself") << "blend/ModelText.cpp" << "blend/ModelText.h" << false << false;
    QTest::newRow("the core reaching for a window") << "history/PlanHistory.cpp" << "ui/windows/HistoryWindow.h" << false << true;
    QTest::newRow("data reaching up to the workspace") << "data/Settings.cpp" << "workspace/GridRows.h" << false << true;
    QTest::newRow("blend reaching up to the history") << "blend/BlendRecord.cpp" << "history/PlanHistory.h" << false << true;
    QTest::newRow("a window uses a widget") << "ui/windows/HistoryWindow.cpp" << "ui/widgets/ReportList.h" << false << false;
    QTest::newRow("a window its own header") << "ui/windows/HistoryWindow.cpp" << "ui/windows/HistoryWindow.h" << false << false;
    QTest::newRow("a window another window") << "ui/windows/CoalEditor.cpp" << "ui/windows/InventoryWindow.h" << false << true;
    QTest::newRow("the wiring uses windows") << "ui/app/Windows.cpp" << "ui/windows/CoalEditor.h" << false << false;
    QTest::newRow("a widget a window") << "ui/widgets/Prompt.cpp" << "ui/app/Windows.h" << false << true;
    QTest::newRow("an unknown folder") << "blend/Engine.cpp" << "engine/Parser.h" << false << true;
    QTest::newRow("a program uses anything") << "main.cpp" << "ui/app/Startup.h" << false << false;
    QTest::newRow("our header in angle brackets") << "blend/Engine.cpp" << "base/Result.h" << true << true;
}

void LayersTest::checkerCatchesWhatItMust()
{
    QFETCH(QString, file);
    QFETCH(QString, target);
    QFETCH(bool, angled);
    QFETCH(bool, wrong);
    QCOMPARE(Violations({{file, 1, target, angled}}).size(), wrong ? 1 : 0);

    // A circle between folders is found whatever the layers say.
    const QString circle = FolderCircle({{"history/A.cpp", 1, "export/B.h"}, {"export/B.cpp", 1, "history/A.h"}});
    QVERIFY(circle.contains(QStringLiteral("history")) && circle.contains(QStringLiteral("export")));
    QVERIFY(FolderCircle({{"history/A.cpp", 1, "base/B.h"}, {"export/B.cpp", 1, "history/A.h"}}).isEmpty());
}

QTEST_GUILESS_MAIN(LayersTest)
#include "tst_layers.moc"
