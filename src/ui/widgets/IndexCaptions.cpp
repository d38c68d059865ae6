#include "ui/widgets/IndexCaptions.h"

#include "base/Text.h"

#include <QCoreApplication>

const std::array<IndexView, kIndexCount>& IndexViews()
{
    static const std::array<IndexView, kIndexCount> table = {{
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "内  水"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "内  水"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "内 水"),
            .gridCell = "txtNeishui",
            .boundBox = "txtNeishui",
            .editorField = "txtNeishui",
            .lowerEnabled = false,
            .upperEnabled = true,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "全  水"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "全  水"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "全 水"),
            .gridCell = "txtQuanshui",
            .boundBox = "txtQuanshui",
            .editorField = "txtShuifen",
            .lowerEnabled = false,
            .upperEnabled = true,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "低  位"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "热  量"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "热 量"),
            .gridCell = "txtReliang",
            .boundBox = "txtReliang",
            .editorField = "txtReliang",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "高  位"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "高位"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "高位"),
            .gridCell = "txtGaoWeiReLiang",
            .boundBox = "txtGaoWeiReLiang",
            .editorField = "txtGaoWeiReLiang",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "分析基"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "分析基"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "分析基"),
            .gridCell = "txtFenXiJi",
            .boundBox = "txtFenXiJi",
            .editorField = "txtFenXiJi",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "硫  份"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "硫  分"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "硫 分"),
            .gridCell = "txtLiu",
            .boundBox = "txtLiu",
            .editorField = "txtLiu",
            .lowerEnabled = false,
            .upperEnabled = true,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "灰  份"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "灰  份"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "灰 份"),
            .gridCell = "txtHuifen",
            .boundBox = "txtHuifen",
            .editorField = "txtHuifen",
            .lowerEnabled = false,
            .upperEnabled = true,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "挥发份"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "挥发份"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "挥发份"),
            .gridCell = "txtHuifafen",
            .boundBox = "txtHuifafen",
            .editorField = "txtHuifafen",
            .lowerEnabled = true,
            .upperEnabled = true,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "挥vdaf"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "挥vdaf"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "挥vdaf"),
            .gridCell = "txtHuiFaFenVdaf",
            .boundBox = "txtHuiFaFenVdaf",
            .editorField = "txtHuiFaFenVdaf",
            .lowerEnabled = true,
            .upperEnabled = true,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "粘接 G"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "粘接 G"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "粘接G"),
            .gridCell = "txtNianjie",
            .boundBox = "txtNianjie",
            .editorField = "txtG",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "胶质 Y"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "胶质 Y"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "胶质Y"),
            .gridCell = "txtJiaozhi",
            .boundBox = "txtJiaozhi",
            .editorField = "txtY",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "固定碳"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "固定碳"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "固定碳"),
            .gridCell = "txtGudingtan",
            .boundBox = "txtGudingtan",
            .editorField = "txtGudingtan",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "可磨性"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "可磨性"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "可磨性"),
            .gridCell = "txtKeMoxing",
            .boundBox = "txtKemoxing",
            .editorField = "txtKeMoxing",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "灰熔点"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "灰熔点"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "灰熔点"),
            .gridCell = "txtHuiRongDian",
            .boundBox = "txtHuirongdian",
            .editorField = "txtHuiRongDian",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
        {
            .editorLabel = QT_TRANSLATE_NOOP("IndexEditorCaption", "回收率"),
            .workspaceLabel = QT_TRANSLATE_NOOP("IndexCaption", "回收率"),
            .targetCaption = QT_TRANSLATE_NOOP("IndexCaption", "回收率"),
            .gridCell = "txtHuishoulv",
            .boundBox = "txtHuiShou",
            .editorField = "txtHuishoulv",
            .lowerEnabled = true,
            .upperEnabled = false,
        },
    }};
    return table;
}

QString IndexCaption(const char* caption)
{
    return QCoreApplication::translate("IndexCaption", caption);
}

QString IndexHeader(int index)
{
    return Text::Source(QualityIndices()[index].listHeader).words();
}

QString GridCellName(int cell)
{
    if (cell == kNameCell)
        return QStringLiteral("txtMingcheng");
    if (cell == kStockCell)
        return QStringLiteral("txtKuCun");
    if (cell == kShovelCell)
        return QStringLiteral("txtMeiChan");
    if (cell == kPriceCell)
        return QStringLiteral("txtJiage");
    return QLatin1String(IndexViews()[cell - 1].gridCell);
}

const QStringList& EditorFieldNames()
{
    static const QStringList names = [] {
        QStringList list{QStringLiteral("txtName")};
        for (const IndexView& view : IndexViews())
            list << QLatin1String(view.editorField);
        list << QStringLiteral("txtKuCun") << QStringLiteral("txtMeiChan") << QStringLiteral("txtJiage");
        return list;
    }();
    return names;
}

QStringList EditorFieldLabels()
{
    QStringList list{QCoreApplication::translate("IndexCaption", "煤名称*")};
    for (const IndexView& view : IndexViews())
        list << QCoreApplication::translate("IndexEditorCaption", view.editorLabel);
    list << QCoreApplication::translate("IndexCaption", "库 存") << QCoreApplication::translate("IndexCaption", "每铲等于")
         << QCoreApplication::translate("IndexCaption", "价格*");
    return list;
}
