#include "workspace/WorkspaceState.h"

#include "base/Files.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int kFormat = 1;
// Far beyond what ten rows of coal values and the bounds take; a larger file
// is not one this program wrote.
constexpr qint64 kLargestFile = 1 << 20;
constexpr qsizetype kLongestText = 4096;

QJsonArray Texts(const auto& texts)
{
    QJsonArray array;
    for (const QString& text : texts)
        array.append(text);
    return array;
}

// Fills texts from a JSON array of exactly that many strings.
template <std::size_t N>
bool ReadTexts(const QJsonValue& value, std::array<QString, N>& texts)
{
    if (!value.isArray() || value.toArray().size() != static_cast<qsizetype>(N))
        return false;
    const QJsonArray array = value.toArray();
    for (std::size_t i = 0; i < N; ++i) {
        const QJsonValue item = array.at(static_cast<qsizetype>(i));
        if (!item.isString() || item.toString().size() > kLongestText)
            return false;
        texts[i] = item.toString();
    }
    return true;
}

bool ReadText(const QJsonObject& object, const char* key, QString& text)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString() || value.toString().size() > kLongestText)
        return false;
    text = value.toString();
    return true;
}

bool ReadBool(const QJsonObject& object, const char* key, bool& flag)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isBool())
        return false;
    flag = value.toBool();
    return true;
}

}  // namespace

QString WorkspaceFileName() { return QStringLiteral("workspace.json"); }

QByteArray WorkspaceStateBytes(const WorkspaceState& state)
{
    QJsonArray rows;
    for (const GridRow& row : state.grid.rows)
        rows.append(QJsonObject{{QStringLiteral("checked"), row.checked}, {QStringLiteral("cells"), Texts(row.cells)}});
    const QJsonObject object{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("rows"), rows},
        {QStringLiteral("lower"), Texts(state.lower)},
        {QStringLiteral("upper"), Texts(state.upper)},
        {QStringLiteral("tonnage"), state.tonnage},
        {QStringLiteral("proportionCount"), state.proportionCount},
        {QStringLiteral("precise"), state.precise},
        {QStringLiteral("selectAll"), state.selectAll},
        {QStringLiteral("targetSet"), state.targetSet},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<WorkspaceState> ParseWorkspaceState(const QByteArray& bytes)
{
    if (bytes.size() > kLargestFile)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("format")).toInt() != kFormat)
        return std::nullopt;
    WorkspaceState state;
    const QJsonValue rows = object.value(QStringLiteral("rows"));
    if (!rows.isArray() || rows.toArray().size() != kGridRows)
        return std::nullopt;
    for (int r = 0; r < kGridRows; ++r) {
        const QJsonValue row = rows.toArray().at(r);
        if (!row.isObject() || !ReadBool(row.toObject(), "checked", state.grid.rows[r].checked)
            || !ReadTexts(row.toObject().value(QStringLiteral("cells")), state.grid.rows[r].cells))
            return std::nullopt;
    }
    if (!ReadTexts(object.value(QStringLiteral("lower")), state.lower)
        || !ReadTexts(object.value(QStringLiteral("upper")), state.upper)
        || !ReadText(object, "tonnage", state.tonnage) || !ReadText(object, "proportionCount", state.proportionCount)
        || !ReadBool(object, "precise", state.precise) || !ReadBool(object, "selectAll", state.selectAll)
        || !ReadText(object, "targetSet", state.targetSet))
        return std::nullopt;
    return state;
}

Status SaveWorkspaceState(const AppFolder& folder, const WorkspaceState& state)
{
    return WriteWholeFile(folder.File(WorkspaceFileName()), WorkspaceStateBytes(state));
}

std::optional<WorkspaceState> LoadWorkspaceState(const AppFolder& folder)
{
    QFile file(folder.File(WorkspaceFileName()));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return std::nullopt;
    return ParseWorkspaceState(file.read(kLargestFile + 1));
}
