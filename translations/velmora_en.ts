<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>CoalEditor</name>
    <message>
        <source>煤名称</source>
        <translation>Coal name</translation>
    </message>
    <message>
        <source>每铲吨数</source>
        <translation>Tons per shovel</translation>
    </message>
    <message>
        <source>库存</source>
        <translation>Stock</translation>
    </message>
    <message>
        <source>价格</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>修改记录</source>
        <translation>Change record</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>用户</source>
        <translation>User</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>原值</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>新值</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>其他用户</source>
        <translation>another user</translation>
    </message>
    <message>
        <source>刚才</source>
        <translation>just now</translation>
    </message>
    <message>
        <source>这个煤种已被 %1 于 %2 修改。</source>
        <translation>This coal was changed by %1 (%2).</translation>
    </message>
    <message>
        <source>重新读取</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>覆盖</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>这个煤种已被别人删除，没有保存。
窗口中的内容仍然保留，再按“确 认”将把它作为新煤种添加。</source>
        <translation>This coal has been deleted by someone else and was not saved.
The contents of the window are kept; press &quot;OK&quot; again to add it as a new coal.</translation>
    </message>
</context>
<context>
    <name>CoalGridWidget</name>
    <message>
        <source>煤名称*</source>
        <translation>Coal*</translation>
    </message>
    <message>
        <source>库存吨</source>
        <translation>Stock t</translation>
    </message>
    <message>
        <source>每铲重</source>
        <translation>t/shovel</translation>
    </message>
    <message>
        <source>价格*</source>
        <translation>Price*</translation>
    </message>
    <message>
        <source>必配</source>
        <translation>Must</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
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
    <message>
        <source>系统配置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>以铲数配比</source>
        <translation>Blend by shovel counts</translation>
    </message>
    <message>
        <source>隐藏结果列</source>
        <translation>Hidden result columns</translation>
    </message>
    <message>
        <source>数据备份</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>保留最近</source>
        <translation>Keep the newest</translation>
    </message>
    <message>
        <source>个每日备份</source>
        <translation>daily backups</translation>
    </message>
    <message>
        <source>最近</source>
        <translation>and for the last</translation>
    </message>
    <message>
        <source>个月每月保留一个备份</source>
        <translation>months one backup a month</translation>
    </message>
    <message>
        <source>按基准加权时各指标的基准</source>
        <translation>Basis of each index when weighting by basis</translation>
    </message>
    <message>
        <source>指标</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>基准</source>
        <translation>Basis</translation>
    </message>
    <message>
        <source>勾选主窗口的“按基准加权”后，每项指标按所选基准的煤量加权平均：
收到基按吨数，干基按吨数×(1−全水/100)，
空干基按吨数×(1−全水/100)/(1−内水/100)，
干燥无灰基按吨数×(1−全水/100)×(1−灰分/100)</source>
        <translation>With &quot;Weight by basis&quot; ticked in the main window, each index is averaged over the coal mass of its basis:
as received by tons, dry by tons×(1−Mt/100),
air-dried by tons×(1−Mt/100)/(1−Mad/100),
dry ash-free by tons×(1−Mt/100)×(1−Ad/100)</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>设置成功</source>
        <translation>Settings saved</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>CoreText</name>
    <message>
        <source>无法开始绘制装车单</source>
        <translation>Could not start drawing the loader sheet</translation>
    </message>
    <message>
        <source>无法开始新的一页</source>
        <translation>Could not start a new page</translation>
    </message>
    <message>
        <source>无法完成装车单的绘制</source>
        <translation>Could not finish drawing the loader sheet</translation>
    </message>
    <message>
        <source>没有要输出的装车单</source>
        <translation>There is no loader sheet to write</translation>
    </message>
    <message>
        <source>无法生成PDF文件</source>
        <translation>Could not create the PDF file</translation>
    </message>
</context>
<context>
    <name>DataWork</name>
    <message>
        <source>%1……</source>
        <translation>%1…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished">Cancel</translation>
    </message>
    <message>
        <source>正在取消……</source>
        <translation>Cancelling…</translation>
    </message>
</context>
<context>
    <name>DatabaseWindow</name>
    <message>
        <source>数据库连接</source>
        <translation>Database connection</translation>
    </message>
    <message>
        <source>数据保存在</source>
        <translation>Data kept in</translation>
    </message>
    <message>
        <source>本机文件</source>
        <translation>Local file</translation>
    </message>
    <message>
        <source>程序文件夹中的 coal.dat，只有这台电脑使用</source>
        <translation>coal.dat in the program folder, used by this computer only</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>煤场的 PostgreSQL 数据库服务器，几台电脑同时使用</source>
        <translation>The coal yard&apos;s PostgreSQL database server, shared by several computers</translation>
    </message>
    <message>
        <source>服务器的名称或 IP 地址；也可以是本机 Unix 套接字所在的文件夹</source>
        <translation>Name or IP address of the server; or the folder holding the local Unix socket</translation>
    </message>
    <message>
        <source>空着则用本机的登录名</source>
        <translation>Leave empty to use the login name on this computer</translation>
    </message>
    <message>
        <source>记住密码</source>
        <translation>Remember password</translation>
    </message>
    <message>
        <source>把密码存入本机用户的 PostgreSQL 密码文件 %1，不写入 config.ini</source>
        <translation>Store the password in this user&apos;s PostgreSQL password file %1, not in config.ini</translation>
    </message>
    <message>
        <source>主机：</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>数据库：</source>
        <translation>Database:</translation>
    </message>
    <message>
        <source>用户：</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>密码：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test connection</translation>
    </message>
    <message>
        <source>把本机数据复制到服务器</source>
        <translation>Copy local data to the server</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>端口必须是 1 到 65535 之间的整数</source>
        <translation>The port must be a whole number from 1 to 65535</translation>
    </message>
    <message>
        <source>请填写数据库的名称</source>
        <translation>Please enter the database name</translation>
    </message>
    <message>
        <source>正在连接数据库服务器</source>
        <translation>Connecting to the database server</translation>
    </message>
    <message>
        <source>（本机登录名）</source>
        <translation>(local login name)</translation>
    </message>
    <message>
        <source>数据库服务器 %1 需要用户 %2 的密码：</source>
        <translation>The database server %1 needs the password of user %2:</translation>
    </message>
    <message>
        <source>密码不对。请重新输入数据库服务器 %1 上用户 %2 的密码：</source>
        <translation>Wrong password. Please enter the password of user %2 on the database server %1 again:</translation>
    </message>
    <message>
        <source>无法把密码存入密码文件：%1</source>
        <translation>Could not store the password in the password file: %1</translation>
    </message>
    <message>
        <source>连接成功：%1</source>
        <translation>Connected: %1</translation>
    </message>
    <message>
        <source>这个数据库由更新版本的程序建立或升级，本程序不能使用它。</source>
        <translation>This database was created or upgraded by a newer version of the program; this version cannot use it.</translation>
    </message>
    <message>
        <source>数据库里还没有本软件的数据表；按“确定”改用它时将建立，也可以先把本机数据复制过去。</source>
        <translation>The database has no tables of this program yet; they will be created when you press &quot;OK&quot; to switch to it, or you can copy the local data there first.</translation>
    </message>
    <message>
        <source>数据库里有煤种 %1 个，配煤方案 %2 个。</source>
        <translation>The database holds %1 coals and %2 blend plans.</translation>
    </message>
    <message>
        <source>复制已取消，服务器上的数据没有改动。</source>
        <translation>Copy cancelled; the data on the server is unchanged.</translation>
    </message>
    <message>
        <source>没有复制：%1</source>
        <translation>Nothing copied: %1</translation>
    </message>
    <message>
        <source>复制完成：煤种 %1 个，配煤方案 %2 个，共 %3 条记录，复制后已逐表核对记录数。
按“确定”即改用服务器上的这个数据库。</source>
        <translation>Copy complete: %1 coals, %2 blend plans, %3 records in all; the record counts were checked table by table after copying.
Press &quot;OK&quot; to switch to this database on the server.</translation>
    </message>
    <message>
        <source>复制到服务器</source>
        <translation>Copy to server</translation>
    </message>
</context>
<context>
    <name>DiagnoseDialog</name>
    <message>
        <source>没有配比方案</source>
        <translation>No blend found</translation>
    </message>
    <message>
        <source>原因</source>
        <translation>Reasons</translation>
    </message>
    <message>
        <source>建议值使各指标改动之和最小，每个指标的改动按它在所选煤中最高值与最低值之差折算；可达最低、可达最高是按现有的煤、比例数、必选煤和库存所能配到的范围。</source>
        <translation>The suggested bounds change the targets as little as possible in total, each change measured against the spread of that index among the chosen coals; lowest and highest reachable are what the coals, the proportion count, the required coals and the stock can reach.</translation>
    </message>
    <message>
        <source>按建议修改指标范围</source>
        <translation>Apply suggested bounds</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>正在分析没有配比方案的原因……</source>
        <translation>Working out why no blend was found…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished">Cancel</translation>
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
    <message>
        <source>历史配比表</source>
        <translation>Blend history</translation>
    </message>
    <message>
        <source>删除方案</source>
        <translation>Delete plan</translation>
    </message>
    <message>
        <source>删</source>
        <translation>−</translation>
    </message>
    <message>
        <source>导出普通</source>
        <translation>Export HTML</translation>
    </message>
    <message>
        <source>网</source>
        <translation>H</translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation type="unfinished">Export to Excel</translation>
    </message>
    <message>
        <source>表</source>
        <translation>X</translation>
    </message>
    <message>
        <source>装</source>
        <translation>L</translation>
    </message>
    <message>
        <source>印</source>
        <translation>P</translation>
    </message>
    <message>
        <source>历史配比方案</source>
        <translation>Stored plans</translation>
    </message>
    <message>
        <source>方案名称中的字词，以空格分开</source>
        <translation>Words of the title</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>上一页</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>下一页</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>方案名称含</source>
        <translation>Title contains</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>要达到的精煤指标</source>
        <translation>Clean-coal targets</translation>
    </message>
    <message>
        <source>参与的煤种</source>
        <translation>Coals in the blend</translation>
    </message>
    <message>
        <source>配比方案</source>
        <translation>Proportions</translation>
    </message>
    <message>
        <source>配多少吨：</source>
        <translation>Tons to blend: </translation>
    </message>
    <message>
        <source>吨精煤</source>
        <translation>t of clean coal</translation>
    </message>
    <message>
        <source>方案分析</source>
        <translation>Plan analysis</translation>
    </message>
    <message>
        <source>保存图表为PNG图片...</source>
        <translation>Save chart as PNG image...</translation>
    </message>
    <message>
        <source>正在处理数据，请稍候......</source>
        <translation>Processing data, please wait...</translation>
    </message>
    <message>
        <source>错误！</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>没有方案</source>
        <translation>No plans</translation>
    </message>
    <message>
        <source>没有找到方案</source>
        <translation>No plan found</translation>
    </message>
    <message>
        <source>第 %1/%2 页，共 %3 个方案</source>
        <translation>Page %1/%2, plans: %3</translation>
    </message>
    <message>
        <source>保存图表</source>
        <translation>Save chart</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>保存图表失败：无法生成图片</source>
        <translation>Could not save the chart: the image could not be made</translation>
    </message>
    <message>
        <source>保存图表失败：</source>
        <translation>Could not save the chart: </translation>
    </message>
    <message>
        <source>确定要删除此方案吗？</source>
        <translation>Delete this plan?</translation>
    </message>
    <message>
        <source>导出文件</source>
        <translation type="unfinished">Export file</translation>
    </message>
</context>
<context>
    <name>InventoryWindow</name>
    <message>
        <source>所选的煤种已被别人删除，不在库存中了。</source>
        <translation>The selected coal has been deleted by someone else and is no longer in the inventory.</translation>
    </message>
    <message>
        <source>编号为 %1 的煤种已被别人删除，不在库存中了；其余所选的煤种已删除。</source>
        <translation>Coal No. %1 had been deleted by someone else and is no longer in the inventory; the other selected coals have been deleted.</translation>
    </message>
</context>
<context>
    <name>LoaderSheet</name>
    <message>
        <source>达标</source>
        <translation>Met</translation>
    </message>
    <message>
        <source>低于下限</source>
        <translation>Below lower bound</translation>
    </message>
    <message>
        <source>超出上限</source>
        <translation>Above upper bound</translation>
    </message>
    <message>
        <source>无法计算</source>
        <translation>Cannot compute</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>煤名称</source>
        <translation type="unfinished">Coal name</translation>
    </message>
    <message>
        <source>每循环铲数</source>
        <translation>Shovels per cycle</translation>
    </message>
    <message>
        <source>配比</source>
        <translation>Proportion</translation>
    </message>
    <message>
        <source>占比</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>吨数</source>
        <translation type="unfinished">Tons</translation>
    </message>
    <message>
        <source>每铲重(吨)</source>
        <translation>Shovel weight (t)</translation>
    </message>
    <message>
        <source>整循环铲数</source>
        <translation>Shovels in full cycles</translation>
    </message>
    <message>
        <source>整铲数</source>
        <translation>Whole shovels</translation>
    </message>
    <message>
        <source>末循环铲数</source>
        <translation>Shovels in last cycle</translation>
    </message>
    <message>
        <source>合计</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>每个循环装 %1 铲，共 %2 吨；共 %3 个整循环，装 %4 吨。</source>
        <translation>Each cycle loads %1 shovels, %2 t; %3 full cycles load %4 t.</translation>
    </message>
    <message>
        <source>余 %1 吨不足一个循环，按“末循环铲数”装。</source>
        <translation>The remaining %1 t is less than a cycle: load it as in "Shovels in last cycle".</translation>
    </message>
    <message>
        <source>没有余量。</source>
        <translation>Nothing remains.</translation>
    </message>
    <message>
        <source>指标</source>
        <translation type="unfinished">Index</translation>
    </message>
    <message>
        <source>配煤值</source>
        <translation>Blend value</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Lower bound</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>Upper bound</translation>
    </message>
    <message>
        <source>是否达标</source>
        <translation>Met?</translation>
    </message>
    <message>
        <source>装车单</source>
        <translation type="unfinished">Loader sheet</translation>
    </message>
    <message>
        <source>方案：</source>
        <translation>Plan: </translation>
    </message>
    <message>
        <source>日期：%1</source>
        <translation>Date: %1</translation>
    </message>
    <message>
        <source>方案日期：%1</source>
        <translation>Plan date: %1</translation>
    </message>
    <message>
        <source>配煤量：%1 吨</source>
        <translation>Tons to blend: %1 t</translation>
    </message>
    <message>
        <source>按铲数配比</source>
        <translation>By shovels</translation>
    </message>
    <message>
        <source>按重量配比</source>
        <translation>By weight</translation>
    </message>
    <message>
        <source>合计 %1 吨，配煤单价 %2 元/吨。</source>
        <translation>Total %1 t, blend price %2 yuan/t.</translation>
    </message>
    <message>
        <source>配煤指标与指标范围</source>
        <translation>Blend indices and bounds</translation>
    </message>
    <message>
        <source>配煤指标（此方案没有保存指标范围）</source>
        <translation>Blend indices (this plan has no stored bounds)</translation>
    </message>
    <message>
        <source>装车人：____________    复核人：____________    日期：____________</source>
        <translation>Loaded by: ____________    Checked by: ____________    Date: ____________</translation>
    </message>
</context>
<context>
    <name>PriceChartView</name>
    <message>
        <source>各配比单价</source>
        <translation>Price of each blend</translation>
    </message>
    <message>
        <source>最低价+0.5%</source>
        <translation>Lowest price +0.5%</translation>
    </message>
    <message>
        <source>0.5%以内的最小总数</source>
        <translation>Smallest total within 0.5%</translation>
    </message>
    <message>
        <source>所选配比</source>
        <translation>Selected blend</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>Velmora配煤软件</source>
        <translation>Velmora Coal Blending</translation>
    </message>
</context>
<context>
    <name>ScheduleWindow</name>
    <message>
        <source>多日配煤计划</source>
        <translation>Multi-day plan</translation>
    </message>
    <message>
        <source>计划参数</source>
        <translation>Plan parameters</translation>
    </message>
    <message>
        <source>1到31</source>
        <translation>1 to 31</translation>
    </message>
    <message>
        <source>吨</source>
        <translation>t</translation>
    </message>
    <message>
        <source>每天配比相同</source>
        <translation>Same mix every day</translation>
    </message>
    <message>
        <source>天数：</source>
        <translation>Days:</translation>
    </message>
    <message>
        <source>每天配煤（吨）：</source>
        <translation>Tons per day:</translation>
    </message>
    <message>
        <source>到货</source>
        <translation>Deliveries</translation>
    </message>
    <message>
        <source>第几天</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>添加到货</source>
        <translation>Add delivery</translation>
    </message>
    <message>
        <source>第</source>
        <translation>on day</translation>
    </message>
    <message>
        <source>天</source>
        <translation>:</translation>
    </message>
    <message>
        <source>删除所选到货</source>
        <translation>Delete selected delivery</translation>
    </message>
    <message>
        <source>计算计划</source>
        <translation>Compute plan</translation>
    </message>
    <message>
        <source>已保存的计划</source>
        <translation>Saved plans</translation>
    </message>
    <message>
        <source>打开计划</source>
        <translation>Open plan</translation>
    </message>
    <message>
        <source>删除计划</source>
        <translation>Delete plan</translation>
    </message>
    <message>
        <source>填写天数和每天吨数，添加到货，然后点“计算计划”。</source>
        <translation>Enter the days and the tons per day, add deliveries, then click &quot;Compute plan&quot;.</translation>
    </message>
    <message>
        <source>每天结束时的库存（吨）</source>
        <translation>Stock at the end of each day (t)</translation>
    </message>
    <message>
        <source>保存计划</source>
        <translation>Save plan</translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>装车单</source>
        <translation>Loader sheet</translation>
    </message>
    <message>
        <source>把每一天的配比生成装车单（每天一页），保存为一个PDF文件</source>
        <translation>Make loader sheets of every day&apos;s mix (one page per day) and save them as one PDF file</translation>
    </message>
    <message>
        <source>煤种</source>
        <translation>Coal</translation>
    </message>
    <message>
        <source>吨数</source>
        <translation>Tons</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>计划</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>保存时间</source>
        <translation>Saved at</translation>
    </message>
    <message>
        <source>总成本</source>
        <translation>Total cost</translation>
    </message>
    <message>
        <source>100（未填写）</source>
        <translation>100 (not filled in)</translation>
    </message>
    <message>
        <source>配煤表中还没有煤。请先在配煤表中选煤、填写库存和指标，再来计算多日计划。</source>
        <translation>The blend table has no coals yet. Please choose coals and fill in the stock and indices in the blend table first, then compute the multi-day plan.</translation>
    </message>
    <message>
        <source>按配煤表的%1种煤、指标和必选煤种计算；每天的%2合计为比例数 %3。库存取配煤表中的库存。</source>
        <translation>Computed from the %1 coals, indices and required coals of the blend table; each day&apos;s %2 add up to the proportion count %3. The stock is taken from the blend table.</translation>
    </message>
    <message>
        <source>铲数（乘以每铲重量）</source>
        <translation>shovels (times tons per shovel)</translation>
    </message>
    <message>
        <source>份数</source>
        <translation>parts</translation>
    </message>
    <message>
        <source>无法读取已保存的计划：</source>
        <translation>Could not read the saved plans: </translation>
    </message>
    <message>
        <source>请先在配煤表中填写煤种，再选择到货的煤种。</source>
        <translation>Please fill in the coals in the blend table first, then choose the coal of the delivery.</translation>
    </message>
    <message>
        <source>到货的天数必须是1到%1之间的整数。</source>
        <translation>The delivery day must be a whole number from 1 to %1.</translation>
    </message>
    <message>
        <source>到货的吨数必须是大于0的数字。</source>
        <translation>The delivered tons must be a number greater than 0.</translation>
    </message>
    <message>
        <source>请先在到货列表中选择要删除的到货。</source>
        <translation>Please select the delivery to delete in the delivery list first.</translation>
    </message>
    <message>
        <source>天数必须是1到%1之间的整数。</source>
        <translation>The number of days must be a whole number from 1 to %1.</translation>
    </message>
    <message>
        <source>每天配煤的吨数必须是大于0的数字。</source>
        <translation>The tons per day must be a number greater than 0.</translation>
    </message>
    <message>
        <source>%1的到货在第%2天，超出了计划的%3天。请删除这条到货或增加天数。</source>
        <translation>The delivery of %1 on day %2 lies beyond the %3 days of the plan. Please delete this delivery or add days.</translation>
    </message>
    <message>
        <source>到货的煤种“%1”不在配煤表中。请删除这条到货，或把这种煤加入配煤表。</source>
        <translation>The delivered coal &quot;%1&quot; is not in the blend table. Please delete this delivery or add the coal to the blend table.</translation>
    </message>
    <message>
        <source>第%1种煤（%2）的库存没有填写或不是大于等于0的数字。多日计划从配煤表中的库存开始计算，请先填写库存。</source>
        <translation>The stock of coal %1 (%2) is missing or not a number of 0 or more. The multi-day plan starts from the stock in the blend table; please fill in the stock first.</translation>
    </message>
    <message>
        <source>比例数必须是1到1000之间的整数。</source>
        <translation>The proportion count must be a whole number from 1 to 1000.</translation>
    </message>
    <message>
        <source>至少需要两种煤才能配煤。</source>
        <translation>Blending needs at least two coals.</translation>
    </message>
    <message>
        <source>计划的输入有误，请检查天数、每天吨数和到货。</source>
        <translation>The plan input is wrong; please check the days, the tons per day and the deliveries.</translation>
    </message>
    <message>
        <source>正在计算多日配煤计划……</source>
        <translation>Computing the multi-day plan…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在寻找更便宜的计划（最多%1秒）……
目前最好的计划总成本 %2 元，与最优的差距不超过 %3%</source>
        <translation>Looking for a cheaper plan (up to %1 s)…
The best plan so far costs %2 yuan in total, within %3% of the optimum</translation>
    </message>
    <message>
        <source>正在寻找满足全部条件的计划（最多%1秒）……</source>
        <translation>Looking for a plan that meets all conditions (up to %1 s)…</translation>
    </message>
    <message>
        <source>没有满足全部条件的计划，正在分析原因……</source>
        <translation>No plan meets all conditions; finding out why…</translation>
    </message>
    <message>
        <source>计算多日计划时出错，没有得到结果。</source>
        <translation>Computing the multi-day plan failed; there is no result. </translation>
    </message>
    <message>
        <source>在%1秒内既没有找到计划，也没能证明没有计划。请减少天数或比例数后再算。</source>
        <translation>Within %1 s no plan was found, nor could it be shown that none exists. Please reduce the days or the proportion count and compute again.</translation>
    </message>
    <message>
        <source>没有满足全部条件的计划。</source>
        <translation>No plan meets all conditions.</translation>
    </message>
    <message>
        <source>没有满足全部条件的计划：第1天就无法配煤。即使库存足够，这些煤也配不出满足全部指标和必选煤种的配比。请放宽指标范围或改变必选煤种，也可以在配煤表中计算一次配比看看原因。</source>
        <translation>No plan meets all conditions: blending is impossible on day 1. Even with enough stock, these coals cannot make a mix that meets all the indices and required coals. Please widen the index bounds or change the required coals; you can also compute a single blend in the blend table to see why.</translation>
    </message>
    <message>
        <source>没有满足全部条件的计划：第%1天无法配煤，因为%2的库存不够。到第%1天为止%2一共只有%3吨（库存加到货），前%1天满足指标的配比需要更多的%2。请增加%2在第%1天或之前的到货，或减少每天配煤的吨数或天数。</source>
        <translation>No plan meets all conditions: blending is impossible on day %1 because there is not enough %2. Up to day %1 there are only %3 t of %2 in all (stock plus deliveries), and mixes meeting the indices over the first %1 days need more %2. Please add deliveries of %2 on or before day %1, or reduce the tons per day or the number of days.</translation>
    </message>
    <message>
        <source>没有满足全部条件的计划：第%1天无法配煤，因为库存不够。不止一种煤不足，单独增加任何一种煤都不够。请增加第%1天或之前的到货，或减少每天配煤的吨数或天数。</source>
        <translation>No plan meets all conditions: blending is impossible on day %1 because there is not enough stock. More than one coal is short, and adding any single coal is not enough. Please add deliveries on or before day %1, or reduce the tons per day or the number of days.</translation>
    </message>
    <message>
        <source>%1天，每天%2吨</source>
        <translation>%1 days, %2 t per day</translation>
    </message>
    <message>
        <source>，每天配比相同</source>
        <translation>, same mix every day</translation>
    </message>
    <message>
        <source>。计算到了%1秒的时限，这是找到的最好计划，与最便宜的计划相差不超过 %2%。</source>
        <translation>. The time limit of %1 s was reached; this is the best plan found, within %2% of the cheapest plan.</translation>
    </message>
    <message>
        <source>。这是满足全部条件的最便宜的计划。</source>
        <translation>. This is the cheapest plan that meets all conditions.</translation>
    </message>
    <message>
        <source>总成本：%1 元</source>
        <translation>Total cost: %1 yuan</translation>
    </message>
    <message>
        <source>天（0为开始时）</source>
        <translation>Day (0 = start)</translation>
    </message>
    <message>
        <source>库存（吨）</source>
        <translation>Stock (t)</translation>
    </message>
    <message>
        <source>%1起%2天×%3吨%4</source>
        <translation>From %1, %2 days × %3 t%4</translation>
    </message>
    <message>
        <source>，配比不变</source>
        <translation>, same mix</translation>
    </message>
    <message>
        <source>保存计划失败，没有保存任何内容。</source>
        <translation>Could not save the plan; nothing was saved. </translation>
    </message>
    <message>
        <source>计划已保存。</source>
        <translation>Plan saved.</translation>
    </message>
    <message>
        <source>导出文件</source>
        <translation>Export file</translation>
    </message>
    <message>
        <source>导出失败：</source>
        <translation>Export failed: </translation>
    </message>
    <message>
        <source>无法生成装车单：</source>
        <translation>Could not make the loader sheets: </translation>
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
        <source>请先在列表中选择一个计划。</source>
        <translation>Please select a plan in the list first.</translation>
    </message>
    <message>
        <source>这个计划已不存在或无法读取。</source>
        <translation>This plan no longer exists or cannot be read.</translation>
    </message>
    <message>
        <source>无法打开计划：</source>
        <translation>Could not open the plan: </translation>
    </message>
    <message>
        <source>确认要删除吗？</source>
        <translation>Delete it?</translation>
    </message>
    <message>
        <source>删除计划失败：</source>
        <translation>Could not delete the plan: </translation>
    </message>
</context>
<context>
    <name>ShareBar</name>
    <message>
        <source>所选配比的煤种占比</source>
        <translation>Coal shares of the selected blend</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>（本机登录名）</source>
        <translation>(local login name)</translation>
    </message>
    <message>
        <source>数据库服务器 %1 需要用户 %2 的密码：</source>
        <translation>The database server %1 needs the password of user %2:</translation>
    </message>
    <message>
        <source>密码不对。请重新输入数据库服务器 %1 上用户 %2 的密码：</source>
        <translation>Wrong password. Please enter the password of user %2 on the database server %1 again:</translation>
    </message>
    <message>
        <source>数据库连接</source>
        <translation>Database connection</translation>
    </message>
    <message>
        <source>程序已经运行！</source>
        <translation>The program is already running.</translation>
    </message>
    <message>
        <source>错误！</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>无法在数据文件夹 %1 中创建文件 %2，程序不能确认是否已有一个在运行，不能启动。</source>
        <translation>Cannot create the file %2 in the data folder %1, so the program cannot tell whether it is already running and will not start.</translation>
    </message>
    <message>
        <source>无法在程序文件夹 %1 中创建文件 %2，程序不能确认是否已有一个在运行，不能启动。</source>
        <translation>Cannot create the file %2 in the program folder %1, so the program cannot tell whether it is already running and will not start.</translation>
    </message>
    <message>
        <source>%1 是一个文件，不是文件夹，数据备份将不能使用。请将它改名或移走。</source>
        <translation>%1 is a file, not a folder, so backups cannot be made. Please rename or move it.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>无法创建备份文件夹 %1，数据备份将不能使用。</source>
        <translation>Cannot create the backup folder %1, so backups cannot be made.</translation>
    </message>
</context>
<context>
    <name>Windows</name>
    <message>
        <source>配煤(&amp;P)</source>
        <translation>&amp;Blending</translation>
    </message>
    <message>
        <source>开始配煤</source>
        <translation>Start blending</translation>
    </message>
    <message>
        <source>历史配比</source>
        <translation>Blending history</translation>
    </message>
    <message>
        <source>手动配比</source>
        <translation>Manual blending</translation>
    </message>
    <message>
        <source>多日计划</source>
        <translation>Multi-day plan</translation>
    </message>
    <message>
        <source>数据库连接…</source>
        <translation>Database connection…</translation>
    </message>
    <message>
        <source>仓库存煤(&amp;N)</source>
        <translation>&amp;Yard</translation>
    </message>
    <message>
        <source>库存情况</source>
        <translation>Coal inventory</translation>
    </message>
    <message>
        <source>增加煤种</source>
        <translation>Add coal</translation>
    </message>
    <message>
        <source>导入煤种</source>
        <translation>Import coals</translation>
    </message>
    <message>
        <source>数据管理(&amp;S)</source>
        <translation>&amp;Data</translation>
    </message>
    <message>
        <source>系统配置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>数据备份</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>数据还原</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>压缩数据库</source>
        <translation>Compact database</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>系统帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>主工具栏</source>
        <translation>Main toolbar</translation>
    </message>
    <message>
        <source>煤库存</source>
        <translation>Inventory</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>库</source>
        <translation>I</translation>
    </message>
    <message>
        <source>史</source>
        <translation>H</translation>
    </message>
    <message>
        <source>算</source>
        <translation>=</translation>
    </message>
    <message>
        <source>退</source>
        <translation>×</translation>
    </message>
    <message>
        <source>计</source>
        <translation>D</translation>
    </message>
    <message>
        <source>
按保留规则（最近 %1 个每日备份，最近 %2 个月每月一个）删除了 %3 个旧备份：%4</source>
        <translation>
Under the keeping rule (the last %1 daily backups, one a month for the last %2 months) %3 old backups were deleted: %4</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>数据已备份到  </source>
        <translation>Data backed up to  </translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>数据备份已取消，没有生成新的备份。</source>
        <translation>Backup cancelled; no new backup was made.</translation>
    </message>
    <message>
        <source>不能完成数据备份！
%1</source>
        <translation>The backup could not be completed.
%1</translation>
    </message>
    <message>
        <source>运行错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>选择还原文件</source>
        <translation>Choose the backup to restore</translation>
    </message>
    <message>
        <source>备份卡(*.bak)</source>
        <translation>Backups (*.bak)</translation>
    </message>
    <message>
        <source>还原后将覆盖数据库服务器上 %1 的全部数据，所有使用它的电脑都会看到还原后的数据。确定还原吗?</source>
        <translation>Restoring replaces all data on the database server %1, and every computer using it will see the restored data. Restore?</translation>
    </message>
    <message>
        <source>还原后将覆盖原有数据，确定还原吗?</source>
        <translation>Restoring replaces the current data. Restore?</translation>
    </message>
    <message>
        <source>所选文件不是本软件的数据备份，不能用它还原。
原有数据没有改动。
（%1）</source>
        <translation>The chosen file is not a backup of this program and cannot be restored.
The data was not changed.
(%1)</translation>
    </message>
    <message>
        <source>数据还原已取消，原有数据没有改动。</source>
        <translation>Restore cancelled; the data was not changed.</translation>
    </message>
    <message>
        <source>不能完成数据还原！
%1
原有数据没有改动。</source>
        <translation>The restore could not be completed.
%1
The data was not changed.</translation>
    </message>
    <message>
        <source>
今天第一次还原前的数据保存在 %1，这次还原前的数据没有另存（每天只保留一份）。</source>
        <translation>
The data before today's first restore is kept in %1; the data before this restore was not kept separately (one copy a day).</translation>
    </message>
    <message>
        <source>数据已经成功还原！请重新登陆 </source>
        <translation>Data restored. Please log in again </translation>
    </message>
    <message>
        <source>压缩数据库会先做一次数据备份，再重写数据文件，收回删除方案后留下的空间。数据越多用时越长。确定压缩吗?</source>
        <translation>Compacting first makes a backup, then rewrites the data file to reclaim the space left by deleted plans. The more data, the longer it takes. Compact?</translation>
    </message>
    <message>
        <source>数据库已压缩：由 %1 变为 %2。
压缩前的数据已备份到  %3</source>
        <translation>Database compacted from %1 to %2.
The data before compacting was backed up to  %3</translation>
    </message>
    <message>
        <source>数据库压缩已取消，原有数据没有改动。</source>
        <translation>Compacting cancelled; the data was not changed.</translation>
    </message>
    <message>
        <source>不能完成数据库压缩！
%1
原有数据没有改动。</source>
        <translation>Compacting could not be completed.
%1
The data was not changed.</translation>
    </message>
    <message>
        <source>确认要退出系统吗?</source>
        <translation>Exit the program?</translation>
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
        <translation>Choose a target set to fill in the index bounds, proportion count, tonnage and basis weighting; or type a name and click &quot;Save targets&quot; to keep the current ones</translation>
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
        <translation>The target set &quot;%1&quot; already exists. Replace it with the current targets?</translation>
    </message>
    <message>
        <source>指标方案“%1”已保存</source>
        <translation>Target set &quot;%1&quot; saved</translation>
    </message>
    <message>
        <source>请先在“指标方案”中选择要删除的方案</source>
        <translation>Please choose the set to delete in &quot;Target set&quot; first</translation>
    </message>
    <message>
        <source>确认要删除指标方案“%1”吗？</source>
        <translation>Delete the target set &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>没有名为“%1”的指标方案</source>
        <translation>There is no target set named &quot;%1&quot;</translation>
    </message>
    <message>
        <source>选煤配比</source>
        <translation>Choose coals</translation>
    </message>
    <message>
        <source>从仓库中选择煤种导入下面的列表</source>
        <translation>Choose coals from the inventory into the list below</translation>
    </message>
    <message>
        <source>清空列表</source>
        <translation>Clear list</translation>
    </message>
    <message>
        <source>将下面列表内的数据全部清空</source>
        <translation>Clear every row of the list below</translation>
    </message>
    <message>
        <source>开始配煤</source>
        <translation>Compute blend</translation>
    </message>
    <message>
        <source>点击配煤</source>
        <translation>Compute the blend</translation>
    </message>
    <message>
        <source>全选 煤前面√则表示此种煤必选</source>
        <translation>Select all (a tick before a coal means it must be used)</translation>
    </message>
    <message>
        <source>注意：用精煤配煤，不要填写回收率。用原煤配煤，所有的指标要填写成试验后的指标，回收率也为经过试验后得到精煤的回收率</source>
        <translation>Note: when blending washed coal, leave the recovery empty. When blending raw coal, enter every index as tested after washing, and the recovery as the washed coal&apos;s recovery found in the test</translation>
    </message>
    <message>
        <source>说明：带*号的煤名称和价格必须填写；百分数不要输入百分号，例如全水12.3%请填写成12.3</source>
        <translation>Coal name and price (marked *) are required; enter percentages without the % sign, e.g. total moisture 12.3% as 12.3</translation>
    </message>
    <message>
        <source>指标范围</source>
        <translation>Index bounds</translation>
    </message>
    <message>
        <source>最大值</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>最小值</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>其他选项(可不填，操作不熟练者慎用)</source>
        <translation>Other options (optional; for experienced users)</translation>
    </message>
    <message>
        <source>必须根据库存配</source>
        <translation>Blend from stock</translation>
    </message>
    <message>
        <source>吨</source>
        <translation>t</translation>
    </message>
    <message>
        <source>比例数</source>
        <translation>Proportion count</translation>
    </message>
    <message>
        <source>精确控制</source>
        <translation>Exact control</translation>
    </message>
    <message>
        <source>按基准加权</source>
        <translation>Weight by basis</translation>
    </message>
    <message>
        <source>各指标按其基准（收到基、空干基、干基、干燥无灰基）的煤量加权平均，而不是按装入的吨数；各指标的基准在“系统配置”中设定</source>
        <translation>Average each index over the coal mass of its basis (as received, air-dried, dry, dry ash-free) instead of the tons loaded; each index&apos;s basis is set in Settings</translation>
    </message>
    <message>
        <source>计算配煤配方</source>
        <translation>Compute blend</translation>
    </message>
    <message>
        <source>正在计算配煤配方……</source>
        <translation>Computing the blend…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在计算比例总数为 %1 的配方（共算到 %2）</source>
        <translation>Computing the mix for a total of %1 (up to %2)</translation>
    </message>
    <message>
        <source>选</source>
        <translation>✓</translation>
    </message>
    <message>
        <source>清</source>
        <translation>C</translation>
    </message>
    <message>
        <source>配</source>
        <translation>B</translation>
    </message>
    <message>
        <source>Velmora配煤软件5.0</source>
        <translation>Velmora Coal Blending 5.0</translation>
    </message>
</context>
</TS>
