<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ConfigWindow</name>
    <message>
        <source>界面语言</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <source>重新启动程序后生效</source>
        <translation>Takes effect at the next start</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>装车单</source>
        <translation>Loader sheet</translation>
    </message>
    <message>
        <source>把选中的配比方案按配多少吨生成装车单，保存为PDF文件</source>
        <translation>Make a loader sheet of the selected proportion row for the tons to blend and save it as a PDF file</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>打印选中的配比方案的装车单</source>
        <translation>Print the loader sheet of the selected proportion row</translation>
    </message>
    <message>
        <source>请先选择一行配比方案</source>
        <translation>Please select a proportion row first</translation>
    </message>
    <message>
        <source>保存装车单</source>
        <translation>Save loader sheet</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>保存装车单失败：</source>
        <translation>Could not save the loader sheet: </translation>
    </message>
    <message>
        <source>打印装车单</source>
        <translation>Print loader sheet</translation>
    </message>
    <message>
        <source>打印装车单失败：</source>
        <translation>Could not print the loader sheet: </translation>
    </message>
</context>
<context>
    <name>WorkspaceWindow</name>
    <message>
        <source>指标方案</source>
        <translation>Target set</translation>
    </message>
    <message>
        <source>选择一个指标方案，填入指标范围、比例数、吨数和按基准加权；或填写名称后点“保存指标”保存当前的这些设置</source>
        <translation>Choose a target set to fill in the index bounds, proportion count, tonnage and basis weighting; or type a name and click "Save targets" to keep the current ones</translation>
    </message>
    <message>
        <source>保存指标</source>
        <translation>Save targets</translation>
    </message>
    <message>
        <source>删除指标</source>
        <translation>Delete targets</translation>
    </message>
    <message>
        <source>无法保存工作区，下次启动时不能恢复：</source>
        <translation>The workspace could not be saved and will not come back at the next start: </translation>
    </message>
    <message>
        <source>指标方案“%1”已存在，要用当前的指标替换它吗？</source>
        <translation>The target set "%1" already exists. Replace it with the current targets?</translation>
    </message>
    <message>
        <source>指标方案“%1”已保存</source>
        <translation>Target set "%1" saved</translation>
    </message>
    <message>
        <source>请先在“指标方案”中选择要删除的方案</source>
        <translation>Please choose the set to delete in "Target set" first</translation>
    </message>
    <message>
        <source>确认要删除指标方案“%1”吗？</source>
        <translation>Delete the target set "%1"?</translation>
    </message>
    <message>
        <source>没有名为“%1”的指标方案</source>
        <translation>There is no target set named "%1"</translation>
    </message>
</context>
</TS>
