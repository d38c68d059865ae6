<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AboutBox</name>
    <message>
        <source>关于Velmora配煤软件</source>
        <translation>About Velmora Coal Blending</translation>
    </message>
    <message>
        <source>Velmora配煤软件</source>
        <translation>Velmora Coal Blending</translation>
    </message>
    <message>
        <source>版本号：</source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>数据（coal.dat、config.ini、备份 bakup）保存在%1：
%2</source>
        <translation>Data (coal.dat, config.ini, backups in bakup) is kept in the %1:
%2</translation>
    </message>
    <message>
        <source>用户数据文件夹</source>
        <translation>user data folder</translation>
    </message>
    <message>
        <source>程序文件夹</source>
        <translation>program folder</translation>
    </message>
</context>
<context>
    <name>Artwork</name>
    <message>
        <source>配煤软件 5.0</source>
        <translation>Coal Blending 5.0</translation>
    </message>
    <message>
        <source>Velmora配煤软件 · 最低成本配煤</source>
        <translation>Velmora · Least-cost coal blending</translation>
    </message>
</context>
<context>
    <name>CalculatorWindow</name>
    <message>
        <source>手动配比</source>
        <translation>Manual blending</translation>
    </message>
    <message>
        <source>选煤混合</source>
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
        <source>计算指标</source>
        <translation>Compute indices</translation>
    </message>
    <message>
        <source>点击配煤</source>
        <translation>Compute the blend</translation>
    </message>
    <message>
        <source>用于计算不同重量或者不同比例的煤配在一起后的指标，配比必须填写</source>
        <translation>Computes the indices of coals mixed by weight or by proportion; the proportion must be filled in</translation>
    </message>
    <message>
        <source>煤名称</source>
        <translation>Coal name</translation>
    </message>
    <message>
        <source>配比</source>
        <translation>Proportion</translation>
    </message>
    <message>
        <source>注意：用精煤配煤，不要填写回收率。用原煤配煤，所有的指标要填写成试验后的指标，回收率也为经过试验后得到精煤的回收率</source>
        <translation>Note: when blending washed coal, leave the recovery empty. When blending raw coal, enter every index as tested after washing, and the recovery as the washed coal's recovery found in the test</translation>
    </message>
    <message>
        <source>混合后的指标</source>
        <translation>Indices of the mix</translation>
    </message>
    <message>
        <source>计算混合后的指标</source>
        <translation>Compute the mix's indices</translation>
    </message>
    <message>
        <source>方式：铲数配比</source>
        <translation>Mode: by shovels</translation>
    </message>
    <message>
        <source>方式：重量配比</source>
        <translation>Mode: by weight</translation>
    </message>
    <message>
        <source>，按基准加权</source>
        <translation>, weighted by basis</translation>
    </message>
</context>
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
        <source>录入煤种</source>
        <translation>Coal entry</translation>
    </message>
    <message>
        <source>请不要把 % 填写进去</source>
        <translation>Do not type the % sign</translation>
    </message>
    <message>
        <source>红色字为必填项</source>
        <translation>Fields in red are required</translation>
    </message>
    <message>
        <source>煤种详细信息</source>
        <translation>Coal details</translation>
    </message>
    <message>
        <source>吨</source>
        <translation>t</translation>
    </message>
    <message>
        <source>确 认</source>
        <translation>OK</translation>
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
        <source>读取煤种失败：</source>
        <translation>Could not read the coal data: </translation>
    </message>
    <message>
        <source>添加煤种成功！</source>
        <translation>Coal added.</translation>
    </message>
    <message>
        <source>修改成功！</source>
        <translation>Changes saved.</translation>
    </message>
    <message>
        <source>下面的数值不在常见范围内，请核对是否填错：

%1

仍要保存吗？</source>
        <translation>These values are outside the usual ranges; please check them for typing errors:

%1

Save anyway?</translation>
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
        <source>保存煤种失败：</source>
        <translation>Could not save the coal: </translation>
    </message>
    <message>
        <source>这个煤种已被别人删除，没有保存。
窗口中的内容仍然保留，再按“确 认”将把它作为新煤种添加。</source>
        <translation>This coal has been deleted by someone else and was not saved.
The contents of the window are kept; press "OK" again to add it as a new coal.</translation>
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
        <source>系统配置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>以铲数配比</source>
        <translation>Blend by shovel counts</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>Interface language</translation>
    </message>
    <message>
        <source>重新启动程序后生效</source>
        <translation>Takes effect at the next start</translation>
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
        <translation>With "Weight by basis" ticked in the main window, each index is averaged over the coal mass of its basis:
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
</context>
<context>
    <name>CoreText</name>
    <message>
        <source>收到基</source>
        <translation>as received</translation>
    </message>
    <message>
        <source>空干基</source>
        <translation>air dried</translation>
    </message>
    <message>
        <source>干基</source>
        <translation>dry</translation>
    </message>
    <message>
        <source>干燥无灰基</source>
        <translation>dry ash-free</translation>
    </message>
    <message>
        <source>的%1为%2</source>
        <translation> has %1 = %2</translation>
    </message>
    <message>
        <source>没有填写%1</source>
        <translation> has no %1</translation>
    </message>
    <message>
        <source>请修改%1</source>
        <translation>Correct the %1</translation>
    </message>
    <message>
        <source>请填写%1</source>
        <translation>Fill in the %1</translation>
    </message>
    <message>
        <source>按基准加权时，第%1种煤（%2）%3，无法按%4计算%5。%6，或在系统配置中改变%5的基准</source>
        <translation>With basis weighting, coal %1 (%2)%3, so %5 cannot be computed on the %4 basis. %6, or change the basis of %5 in the settings</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>库存</source>
        <translation>Stock</translation>
    </message>
    <message>
        <source>每铲重量</source>
        <translation>Tons per shovel</translation>
    </message>
    <message>
        <source>价格</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>%1吨</source>
        <translation>%1 t</translation>
    </message>
    <message>
        <source>%1元/吨</source>
        <translation>%1 yuan/t</translation>
    </message>
    <message>
        <source>%1亿</source>
        <translation>%1 × 100 million</translation>
    </message>
    <message>
        <source>%1万</source>
        <translation>%1 × 10,000</translation>
    </message>
    <message>
        <source>%1～%2</source>
        <translation>%1–%2</translation>
    </message>
    <message>
        <source>吨</source>
        <translation>t</translation>
    </message>
    <message>
        <source>元/吨</source>
        <translation>yuan/t</translation>
    </message>
    <message>
        <source>%1（不含%2）</source>
        <translation>%1 (excluding %2)</translation>
    </message>
    <message>
        <source>%1 %2 超出了范围 %3</source>
        <translation>%1 %2 is outside the range %3</translation>
    </message>
    <message>
        <source>%1 %2 不在常见范围 %3 内</source>
        <translation>%1 %2 is outside the usual range %3</translation>
    </message>
    <message>
        <source>%1，单位 %2</source>
        <translation>%1, unit %2</translation>
    </message>
    <message>
        <source>%1
可填 %2</source>
        <translation>%1
Allowed: %2</translation>
    </message>
    <message>
        <source>%1，常见 %2</source>
        <translation>%1, usual: %2</translation>
    </message>
    <message>
        <source>煤名称含有%1 %2（第 %3 个字符），请删去</source>
        <translation>The coal name holds %1 %2 (character %3); remove it</translation>
    </message>
    <message>
        <source>控制字符</source>
        <translation>the control character</translation>
    </message>
    <message>
        <source>看不见的字符</source>
        <translation>the invisible character</translation>
    </message>
    <message>
        <source>煤名称太长：有 %1 个字符，最多 %2 个</source>
        <translation>The coal name is too long: %1 characters, at most %2</translation>
    </message>
    <message>
        <source>这是一个文件夹，不是文件</source>
        <translation>it is a folder, not a file</translation>
    </message>
    <message>
        <source>磁盘空间不足</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>没有给出文件名</source>
        <translation>No file name was given</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>文件夹 %1 不存在</source>
        <translation>the folder %1 does not exist</translation>
    </message>
    <message>
        <source>文件名太长</source>
        <translation>the file name is too long</translation>
    </message>
    <message>
        <source>没有在文件夹 %1 中写入的权限</source>
        <translation>no permission to write in the folder %1</translation>
    </message>
    <message>
        <source>写入失败</source>
        <translation>the write failed</translation>
    </message>
    <message>
        <source>找不到文件 %1</source>
        <translation>File %1 not found</translation>
    </message>
    <message>
        <source>%1 不是文件</source>
        <translation>%1 is not a file</translation>
    </message>
    <message>
        <source>无法读取文件 %1：%2</source>
        <translation>Cannot read file %1: %2</translation>
    </message>
    <message>
        <source>内水</source>
        <translation>Inh. moisture</translation>
    </message>
    <message>
        <source>内水值请填写成数字</source>
        <translation>Enter the inherent moisture as a number</translation>
    </message>
    <message>
        <source>填写的内水必须是数字</source>
        <translation>The inherent moisture must be a number</translation>
    </message>
    <message>
        <source>内水：</source>
        <translation>Inh. moisture: </translation>
    </message>
    <message>
        <source>全水</source>
        <translation>Total moisture</translation>
    </message>
    <message>
        <source>全水值请填写成数字</source>
        <translation>Enter the total moisture as a number</translation>
    </message>
    <message>
        <source>水份</source>
        <translation>moisture</translation>
    </message>
    <message>
        <source>水分</source>
        <translation>moisture</translation>
    </message>
    <message>
        <source>填写的水份必须是数字</source>
        <translation>The total moisture must be a number</translation>
    </message>
    <message>
        <source>全水：</source>
        <translation>Total moisture: </translation>
    </message>
    <message>
        <source>发热量</source>
        <translation>Net CV</translation>
    </message>
    <message>
        <source>热量值请填写成数字</source>
        <translation>Enter the net calorific value as a number</translation>
    </message>
    <message>
        <source>热量</source>
        <translation>Net CV</translation>
    </message>
    <message>
        <source>填写的热量必须是数字</source>
        <translation>The net calorific value must be a number</translation>
    </message>
    <message>
        <source>低位：</source>
        <translation>Net CV: </translation>
    </message>
    <message>
        <source>高位</source>
        <translation>Gross CV</translation>
    </message>
    <message>
        <source>高位热量值请填写成数字</source>
        <translation>Enter the gross calorific value as a number</translation>
    </message>
    <message>
        <source>高位热量</source>
        <translation>Gross CV</translation>
    </message>
    <message>
        <source>填写的高位发热量必须是数字</source>
        <translation>The gross calorific value must be a number</translation>
    </message>
    <message>
        <source>高位：</source>
        <translation>Gross CV: </translation>
    </message>
    <message>
        <source>分析基</source>
        <translation>CV (ad)</translation>
    </message>
    <message>
        <source>分析基值请填写成数字</source>
        <translation>Enter the air-dried calorific value as a number</translation>
    </message>
    <message>
        <source>填写的分析基必须是数字</source>
        <translation>The air-dried calorific value must be a number</translation>
    </message>
    <message>
        <source>分析基：</source>
        <translation>CV (ad): </translation>
    </message>
    <message>
        <source>硫分</source>
        <translation>Sulphur</translation>
    </message>
    <message>
        <source>硫分值请填写成数字</source>
        <translation>Enter the sulphur as a number</translation>
    </message>
    <message>
        <source>硫</source>
        <translation>sulphur</translation>
    </message>
    <message>
        <source>填写的硫必须是数字</source>
        <translation>The sulphur must be a number</translation>
    </message>
    <message>
        <source>硫分：</source>
        <translation>Sulphur: </translation>
    </message>
    <message>
        <source>灰分</source>
        <translation>Ash</translation>
    </message>
    <message>
        <source>灰分值请填写成数字</source>
        <translation>Enter the ash as a number</translation>
    </message>
    <message>
        <source>填写的灰分必须是数字</source>
        <translation>The ash must be a number</translation>
    </message>
    <message>
        <source>灰分：</source>
        <translation>Ash: </translation>
    </message>
    <message>
        <source>挥发分</source>
        <translation>Volatile</translation>
    </message>
    <message>
        <source>挥发分值请填写成数字</source>
        <translation>Enter the volatile matter as a number</translation>
    </message>
    <message>
        <source>填写的挥发分必须是数字</source>
        <translation>The volatile matter must be a number</translation>
    </message>
    <message>
        <source>挥发分：</source>
        <translation>Volatile: </translation>
    </message>
    <message>
        <source>挥vdaf</source>
        <translation>Vdaf</translation>
    </message>
    <message>
        <source>挥发分vdaf值请填写成数字</source>
        <translation>Enter the Vdaf as a number</translation>
    </message>
    <message>
        <source>挥发分vdaf</source>
        <translation>Vdaf</translation>
    </message>
    <message>
        <source>挥发分vdaf：</source>
        <translation>Vdaf: </translation>
    </message>
    <message>
        <source>粘结G</source>
        <translation>Caking G</translation>
    </message>
    <message>
        <source>粘结指数值请填写成数字</source>
        <translation>Enter the caking index as a number</translation>
    </message>
    <message>
        <source>粘结指数</source>
        <translation>caking index G</translation>
    </message>
    <message>
        <source>填写的G值必须是数字</source>
        <translation>The G value must be a number</translation>
    </message>
    <message>
        <source>粘结G：</source>
        <translation>Caking G: </translation>
    </message>
    <message>
        <source>胶质Y</source>
        <translation>Plastic Y</translation>
    </message>
    <message>
        <source>Y值请填写成数字</source>
        <translation>Enter the Y value as a number</translation>
    </message>
    <message>
        <source>胶质层</source>
        <translation>plastic layer Y</translation>
    </message>
    <message>
        <source>填写的Y值必须是数字</source>
        <translation>The Y value must be a number</translation>
    </message>
    <message>
        <source>胶质层Y：</source>
        <translation>Plastic Y: </translation>
    </message>
    <message>
        <source>固定碳</source>
        <translation>Fixed carbon</translation>
    </message>
    <message>
        <source>固定碳值请填写成数字</source>
        <translation>Enter the fixed carbon as a number</translation>
    </message>
    <message>
        <source>填写的固定碳必须是数字</source>
        <translation>The fixed carbon must be a number</translation>
    </message>
    <message>
        <source>固定碳：</source>
        <translation>Fixed carbon: </translation>
    </message>
    <message>
        <source>可磨性</source>
        <translation>Grindability</translation>
    </message>
    <message>
        <source>可磨性值请填写成数字</source>
        <translation>Enter the grindability as a number</translation>
    </message>
    <message>
        <source>填写的可磨性必须是数字</source>
        <translation>The grindability must be a number</translation>
    </message>
    <message>
        <source>可模性：</source>
        <translation>Grindability: </translation>
    </message>
    <message>
        <source>灰熔点</source>
        <translation>Ash fusion</translation>
    </message>
    <message>
        <source>灰熔点值请填写成数字</source>
        <translation>Enter the ash fusion temperature as a number</translation>
    </message>
    <message>
        <source>填写的灰熔点必须是数字</source>
        <translation>The ash fusion temperature must be a number</translation>
    </message>
    <message>
        <source>灰熔点：</source>
        <translation>Ash fusion: </translation>
    </message>
    <message>
        <source>回收率</source>
        <translation>Recovery</translation>
    </message>
    <message>
        <source>回收率值请填写成数字</source>
        <translation>Enter the recovery rate as a number</translation>
    </message>
    <message>
        <source>填写的回收率必须是数字</source>
        <translation>The recovery rate must be a number</translation>
    </message>
    <message>
        <source>设置没有保存，原来的设置保持不变。
%1</source>
        <translation>The settings were not saved; the old settings stay as they were.
%1</translation>
    </message>
    <message>
        <source>无法读取文件 %1</source>
        <translation>Cannot read the file %1</translation>
    </message>
    <message>
        <source>“保留最近……个每日备份”应是 1 到 %1 之间的整数。</source>
        <translation>"Keep the last … daily backups" must be a whole number from 1 to %1.</translation>
    </message>
    <message>
        <source>“最近……个月每月保留一个备份”应是 0 到 %1 之间的整数。</source>
        <translation>"Keep one backup a month for the last … months" must be a whole number from 0 to %1.</translation>
    </message>
    <message>
        <source>第%1种煤的每铲重量不是数字</source>
        <translation>The tons per shovel of coal %1 is not a number</translation>
    </message>
    <message>
        <source>%1的指标下限不是数字</source>
        <translation>The lower bound of %1 is not a number</translation>
    </message>
    <message>
        <source>%1的指标上限不是数字</source>
        <translation>The upper bound of %1 is not a number</translation>
    </message>
    <message>
        <source>有煤没有填写%1的值</source>
        <translation>A coal has no value for %1</translation>
    </message>
    <message>
        <source>配多少吨不是数字</source>
        <translation>Tons to blend is not a number</translation>
    </message>
    <message>
        <source>第%1种煤的库存不是数字</source>
        <translation>The stock of coal %1 is not a number</translation>
    </message>
    <message>
        <source>分析没有配比方案的原因时，求解器没有得出结论（超时或出错）</source>
        <translation>The solver reached no conclusion while looking for why there is no blend (time limit or error)</translation>
    </message>
    <message>
        <source>已取消分析</source>
        <translation>Analysis cancelled</translation>
    </message>
    <message>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 和%2</source>
        <translation>%1 and %2</translation>
    </message>
    <message>
        <source>%1下限 %2</source>
        <translation>%1 lower bound %2</translation>
    </message>
    <message>
        <source>%1上限 %2</source>
        <translation>%1 upper bound %2</translation>
    </message>
    <message>
        <source>比例数2</source>
        <translation>proportion count 2</translation>
    </message>
    <message>
        <source>比例数2到%1</source>
        <translation>proportion counts 2 to %1</translation>
    </message>
    <message>
        <source>您想配%1吨煤，但是所选煤的库存加起来只有%2吨</source>
        <translation>You want to blend %1 t, but the chosen coals have only %2 t in stock together</translation>
    </message>
    <message>
        <source>铲</source>
        <translation>shovel(s)</translation>
    </message>
    <message>
        <source>份</source>
        <translation>part(s)</translation>
    </message>
    <message>
        <source>必选的第%1种煤（%2）库存只有%3吨，配%4吨、比例数%5时至少用%6%7也要%8吨</source>
        <translation>Must-use coal %1 (%2) has only %3 t in stock; blending %4 t at proportion count %5, its least share of %6 %7 needs %8 t</translation>
    </message>
    <message>
        <source>必选的煤每种至少要用一份，合起来已超过比例数%1</source>
        <translation>Each must-use coal takes at least one part, and together they exceed proportion count %1</translation>
    </message>
    <message>
        <source>按所选煤的每铲重量，凑不出合计为%1的铲数</source>
        <translation>With the chosen coals' tons per shovel, no shovel count adds up to %1</translation>
    </message>
    <message>
        <source>2到%1之间整数</source>
        <translation>a whole number from 2 to %1</translation>
    </message>
    <message>
        <source>配%1吨、%2时，按整份计各煤的库存合起来都不够</source>
        <translation>Blending %1 t at %2, the coals' stock in whole parts is not enough</translation>
    </message>
    <message>
        <source>必选煤和库存的要求在%1下都不能同时满足</source>
        <translation>At %1, the must-use coals and the stock cannot all be satisfied together</translation>
    </message>
    <message>
        <source>即使不设任何指标上下限，%1下也都没有符合要求的配比，修改指标上下限不能解决问题</source>
        <translation>Even with no bounds at all there is no blend at %1; changing the bounds cannot help</translation>
    </message>
    <message>
        <source>不改指标范围，只把比例数改为%1，也有配比方案（比例数小，整份太粗，配不出来）</source>
        <translation>Keeping the bounds, setting the proportion count to %1 also gives a blend (at a small count, whole parts are too coarse)</translation>
    </message>
    <message>
        <source>不改指标范围，只把配多少吨改为%1吨或更少，也有配比方案（所选煤的库存不够配%2吨）</source>
        <translation>Keeping the bounds, blending %1 t or less also gives a blend (the chosen coals' stock is not enough for %2 t)</translation>
    </message>
    <message>
        <source>%1下限</source>
        <translation>%1 lower bound</translation>
    </message>
    <message>
        <source>%1上限</source>
        <translation>%1 upper bound</translation>
    </message>
    <message>
        <source>比例数小于2，没有可以分析的配比</source>
        <translation>The proportion count is below 2; there is no blend to analyse</translation>
    </message>
    <message>
        <source>最大比例数不能超过1000</source>
        <translation>The proportion count cannot be above 1000</translation>
    </message>
    <message>
        <source>您至少要输入2种煤！</source>
        <translation>Enter at least 2 coals!</translation>
    </message>
    <message>
        <source>第%1种煤的每铲重量必须大于0</source>
        <translation>The tons per shovel of coal %1 must be above 0</translation>
    </message>
    <message>
        <source>%1 低于所选煤能达到的最低值 %2</source>
        <translation>%1 is below the lowest value the chosen coals can reach, %2</translation>
    </message>
    <message>
        <source>%1 高于所选煤能达到的最高值 %2</source>
        <translation>%1 is above the highest value the chosen coals can reach, %2</translation>
    </message>
    <message>
        <source>所选煤在%1下都没有同时满足%2 的配比</source>
        <translation>At %1 the chosen coals have no blend that meets %2 together</translation>
    </message>
    <message>
        <source>%1改为 %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>把%1，比例数为%2时就有配比方案</source>
        <translation>Change %1 and there is a blend at proportion count %2</translation>
    </message>
    <message>
        <source>无法写入模型文件 %1：%2</source>
        <translation>Cannot write the model file %1: %2</translation>
    </message>
    <message>
        <source>同名的文件夹已存在</source>
        <translation>a folder of that name exists</translation>
    </message>
    <message>
        <source>无法删除原有的同名文件</source>
        <translation>cannot remove the old file of that name</translation>
    </message>
    <message>
        <source>无法创建求解引擎的环境</source>
        <translation>Cannot start the solver</translation>
    </message>
    <message>
        <source>求解引擎无法读取模型文件 %1：%2</source>
        <translation>The solver cannot read the model file %1: %2</translation>
    </message>
    <message>
        <source>%1 是一个文件，不是文件夹，不能在其中保存备份</source>
        <translation>%1 is a file, not a folder; backups cannot be saved in it</translation>
    </message>
    <message>
        <source>无法创建文件夹 %1：%2</source>
        <translation>Cannot create the folder %1: %2</translation>
    </message>
    <message>
        <source>无法复制 %1 到 %2：%3</source>
        <translation>Cannot copy %1 to %2: %3</translation>
    </message>
    <message>
        <source>无法替换 %1：%2</source>
        <translation>Cannot replace %1: %2</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>无法删除 %1</source>
        <translation>Cannot delete %1</translation>
    </message>
    <message>
        <source>正在备份数据</source>
        <translation>Backing up the data</translation>
    </message>
    <message>
        <source>正在检查所选的备份文件</source>
        <translation>Checking the chosen backup file</translation>
    </message>
    <message>
        <source>正在准备还原的数据</source>
        <translation>Preparing the data to restore</translation>
    </message>
    <message>
        <source>无法在还原的数据中加入新的数据表或索引：%1</source>
        <translation>Cannot add the new tables or indexes to the restored data: %1</translation>
    </message>
    <message>
        <source>正在保存还原前的数据</source>
        <translation>Saving the data as it was before the restore</translation>
    </message>
    <message>
        <source>正在还原数据</source>
        <translation>Restoring the data</translation>
    </message>
    <message>
        <source>数据在数据库服务器上（%1），删除方案后留下的空间由服务器自己回收，不需要在这里压缩。</source>
        <translation>The data is on a database server (%1); the server itself reclaims the room left by deleted plans, so there is nothing to compact here.</translation>
    </message>
    <message>
        <source>压缩前的数据备份没有完成：%1</source>
        <translation>The backup before compacting did not finish: %1</translation>
    </message>
    <message>
        <source>正在压缩数据</source>
        <translation>Compacting the data</translation>
    </message>
    <message>
        <source>正在写回数据文件</source>
        <translation>Writing the data file back</translation>
    </message>
    <message>
        <source>编号为%1的煤种已不存在，可能已被删除，未能保存。</source>
        <translation>The coal with number %1 no longer exists; it may have been deleted. Nothing was saved.</translation>
    </message>
    <message>
        <source>数据库操作失败：煤种表中没有 %1 这一列</source>
        <translation>Database operation failed: the coal table has no column %1</translation>
    </message>
    <message>
        <source>已取消，数据文件没有改动。</source>
        <translation>Cancelled; the data file was not changed.</translation>
    </message>
    <message>
        <source>数据库连接设置没有保存，原来的设置保持不变。
%1</source>
        <translation>The database connection settings were not saved; the old settings stay as they were.
%1</translation>
    </message>
    <message>
        <source>无法读取密码文件 %1：%2</source>
        <translation>Cannot read the password file %1: %2</translation>
    </message>
    <message>
        <source>文件没有被改动。请从备份还原一个正确的 coal.dat，或将它移走后重新启动程序。</source>
        <translation>The file was not changed. Restore a sound coal.dat from a backup, or move it away and start the program again.</translation>
    </message>
    <message>
        <source>服务器上的数据库没有被改动。</source>
        <translation>The database on the server was not changed.</translation>
    </message>
    <message>
        <source>无法读取数据文件 %1：%2。
文件没有被改动。请确认它没有被其他程序占用、可以写入后重新启动程序。</source>
        <translation>Cannot read the data file %1: %2.
The file was not changed. Make sure no other program holds it and that it can be written, then start the program again.</translation>
    </message>
    <message>
        <source>无法连接数据库服务器：%1</source>
        <translation>Cannot connect to the database server: %1</translation>
    </message>
    <message>
        <source>%1
（%2）</source>
        <translation>%1
(%2)</translation>
    </message>
    <message>
        <source>原因不明</source>
        <translation>reason unknown</translation>
    </message>
    <message>
        <source>数据库操作失败：%1</source>
        <translation>Database operation failed: %1</translation>
    </message>
    <message>
        <source>数据库操作失败：找不到数据库文件 %1</source>
        <translation>Database operation failed: cannot find the database file %1</translation>
    </message>
    <message>
        <source>数据库操作失败：数据库连接未打开</source>
        <translation>Database operation failed: the database connection is not open</translation>
    </message>
    <message>
        <source>数据库操作失败：事务已经结束</source>
        <translation>Database operation failed: the transaction has already ended</translation>
    </message>
    <message>
        <source>数据库操作失败：服务器没有给出新记录的编号</source>
        <translation>Database operation failed: the server gave no number for the new record</translation>
    </message>
    <message>
        <source>数据库 %1：%2</source>
        <translation>Database %1: %2</translation>
    </message>
    <message>
        <source>数据库 %1 里有与本软件的数据表同名、内容却不同的数据表（%2），程序无法使用它。
%3</source>
        <translation>Database %1 has tables named like this program's tables but holding something else (%2); the program cannot use it.
%3</translation>
    </message>
    <message>
        <source>数据库 %1 需要建立或升级本软件的数据表，但没有完成（%2）。
%3</source>
        <translation>Database %1 needs this program's tables made or brought up to date, but that did not finish (%2).
%3</translation>
    </message>
    <message>
        <source>数据库 %1 不能作为本软件的数据库使用（%2）。</source>
        <translation>Database %1 cannot be used as this program's database (%2).</translation>
    </message>
    <message>
        <source>数据文件 %1 不是文件，程序无法使用它。
%2</source>
        <translation>The data file %1 is not a file; the program cannot use it.
%2</translation>
    </message>
    <message>
        <source>数据文件 %1 不是本软件的数据库，程序无法使用它（%2）。
%3</source>
        <translation>The data file %1 is not this program's database; the program cannot use it (%2).
%3</translation>
    </message>
    <message>
        <source>数据文件 %1 里有本软件不建立、会在保存数据时执行或出错的内容：%2。程序不使用这样的文件。
文件没有被改动。请从备份还原一个正确的 coal.dat，或用别的工具删除这些内容后重新启动程序。</source>
        <translation>The data file %1 holds things this program does not make, which would run or fail when data is saved: %2. The program does not use such a file.
The file was not changed. Restore a sound coal.dat from a backup, or remove these things with another tool and start the program again.</translation>
    </message>
    <message>
        <source>数据文件 %1：%2</source>
        <translation>Data file %1: %2</translation>
    </message>
    <message>
        <source>数据文件 %1 需要加入新的数据表或索引，但无法写入（%2）。
文件没有被改动。请确认它没有被其他程序占用、可以写入后重新启动程序。</source>
        <translation>The data file %1 needs new tables or indexes but cannot be written (%2).
The file was not changed. Make sure no other program holds it and that it can be written, then start the program again.</translation>
    </message>
    <message>
        <source>无法在 %1 创建数据文件 coal.dat：%2</source>
        <translation>Cannot create the data file coal.dat in %1: %2</translation>
    </message>
    <message>
        <source>不是数据库文件（%1）</source>
        <translation>not a database file (%1)</translation>
    </message>
    <message>
        <source>数据库文件已损坏（%1）</source>
        <translation>the database file is damaged (%1)</translation>
    </message>
    <message>
        <source>数据库的结构版本是 %1，比本程序能使用的版本 %2 新，它是由更新版本的程序建立或升级的。本程序不能使用它，也没有对它做任何改动。请使用新版本的程序。</source>
        <translation>The database's structure version is %1, newer than version %2 that this program can use; a newer version of the program made or upgraded it. This program cannot use it and has not changed it. Use the newer program.</translation>
    </message>
    <message>
        <source>无法加入 %1：%2</source>
        <translation>Cannot add %1: %2</translation>
    </message>
    <message>
        <source>无法记录数据库的结构版本：%1</source>
        <translation>Cannot record the database's structure version: %1</translation>
    </message>
    <message>
        <source>数据表</source>
        <translation>table</translation>
    </message>
    <message>
        <source>索引</source>
        <translation>index</translation>
    </message>
    <message>
        <source>视图</source>
        <translation>view</translation>
    </message>
    <message>
        <source>触发器</source>
        <translation>trigger</translation>
    </message>
    <message>
        <source>%1；%2</source>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>%1；另有 %2 处</source>
        <translation>%1; and %2 more</translation>
    </message>
    <message>
        <source>缺少数据表：%1</source>
        <translation>missing tables: %1</translation>
    </message>
    <message>
        <source>数据表 %1 缺少列：%2</source>
        <translation>table %1 lacks the columns %2</translation>
    </message>
    <message>
        <source>（与本软件的数据表同名）</source>
        <translation> (named like one of this program's tables)</translation>
    </message>
    <message>
        <source>（与本软件的索引同名）</source>
        <translation> (named like one of this program's indexes)</translation>
    </message>
    <message>
        <source>含有本软件不建立的%1 %2%3</source>
        <translation>holds a %1 %2 this program does not make%3</translation>
    </message>
    <message>
        <source>含有外部数据表（虚拟表）%1%2</source>
        <translation>holds an external (virtual) table %1%2</translation>
    </message>
    <message>
        <source>%1 %2 占用了本软件%3的名称</source>
        <translation>%1 %2 takes the name of one of this program's %3s</translation>
    </message>
    <message>
        <source>索引 %1 与本软件的同名索引不同</source>
        <translation>index %1 differs from this program's index of that name</translation>
    </message>
    <message>
        <source>数据表 %1 上有唯一索引 %2，会使本软件保存数据失败</source>
        <translation>table %1 has a unique index %2, which would make saving data fail</translation>
    </message>
    <message>
        <source>数据表 %1 上有带条件的索引 %2</source>
        <translation>table %1 has a partial index %2</translation>
    </message>
    <message>
        <source>数据表 %1 上有带表达式的索引 %2</source>
        <translation>table %1 has an index on an expression %2</translation>
    </message>
    <message>
        <source>这台电脑没有安装 PostgreSQL 数据库驱动（Qt 的 QPSQL 插件）</source>
        <translation>this computer has no PostgreSQL database driver (Qt's QPSQL plugin)</translation>
    </message>
    <message>
        <source>服务器要求密码，但没有给出密码</source>
        <translation>the server asks for a password, but none was given</translation>
    </message>
    <message>
        <source>用户名或密码不对</source>
        <translation>wrong user name or password</translation>
    </message>
    <message>
        <source>服务器上没有这个数据库</source>
        <translation>the server has no such database</translation>
    </message>
    <message>
        <source>服务器上没有这个用户</source>
        <translation>the server has no such user</translation>
    </message>
    <message>
        <source>服务器不允许这台电脑或这个用户连接</source>
        <translation>the server does not let this computer or this user connect</translation>
    </message>
    <message>
        <source>找不到这个服务器名称</source>
        <translation>cannot find this server name</translation>
    </message>
    <message>
        <source>服务器没有运行，或者无法通过网络到达</source>
        <translation>the server is not running or cannot be reached over the network</translation>
    </message>
    <message>
        <source>与数据库服务器的连接中断了，这一步没有完成，没有写入任何数据</source>
        <translation>the connection to the database server broke; this step did not finish and nothing was written</translation>
    </message>
    <message>
        <source>其他用户同时修改了相同的数据</source>
        <translation>another user changed the same data at the same time</translation>
    </message>
    <message>
        <source>与其他用户的操作互相等待（死锁）</source>
        <translation>waiting on another user's work while it waits on this (deadlock)</translation>
    </message>
    <message>
        <source>数据库用户没有这项操作的权限</source>
        <translation>the database user has no permission for this</translation>
    </message>
    <message>
        <source>数据库服务器磁盘空间不足</source>
        <translation>the database server's disk is full</translation>
    </message>
    <message>
        <source>数据库服务器资源不足</source>
        <translation>the database server is short of resources</translation>
    </message>
    <message>
        <source>数据库服务器只允许读取</source>
        <translation>the database server allows reading only</translation>
    </message>
    <message>
        <source>数据正被其他用户锁定，请稍后再试</source>
        <translation>another user has locked the data; try again later</translation>
    </message>
    <message>
        <source>操作被取消或超时</source>
        <translation>the operation was cancelled or timed out</translation>
    </message>
    <message>
        <source>服务器上的数据库缺少本软件的数据表或列</source>
        <translation>the database on the server lacks this program's tables or columns</translation>
    </message>
    <message>
        <source>无法写入数据表 %1：%2</source>
        <translation>Cannot write the table %1: %2</translation>
    </message>
    <message>
        <source>%1（本来 %2 条，复制后 %3 条）</source>
        <translation>%1 (%2 records before, %3 after the copy)</translation>
    </message>
    <message>
        <source>复制后的记录数与原来的不同：%1</source>
        <translation>The record counts after the copy differ from the original: %1</translation>
    </message>
    <message>
        <source>煤种 %1 个，配煤方案 %2 个，共 %3 条记录</source>
        <translation>%1 coals, %2 blend plans, %3 records in all</translation>
    </message>
    <message>
        <source>服务器上的数据库 %1 已经有数据（%2），不能把本机的数据复制过去。服务器上的数据没有改动。</source>
        <translation>The database %1 on the server already holds data (%2); the local data cannot be copied to it. The data on the server was not changed.</translation>
    </message>
    <message>
        <source>正在把本机数据复制到服务器</source>
        <translation>Copying the local data to the server</translation>
    </message>
    <message>
        <source>无法把服务器上的数据保存到 %1：%2</source>
        <translation>Cannot save the server's data to %1: %2</translation>
    </message>
    <message>
        <source>无法替换 %1</source>
        <translation>Cannot replace %1</translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>文件 %1 需要先升级为本程序的数据格式</source>
        <translation>The file %1 must first be upgraded to this program's data format</translation>
    </message>
    <message>
        <source>上次写入数据时程序中断，需要撤销没写完的部分，但数据文件是只读的</source>
        <translation>the program stopped during its last write and the unfinished part must be undone, but the data file is read-only</translation>
    </message>
    <message>
        <source>数据库文件正被占用（已锁定），请稍后再试</source>
        <translation>the database file is in use (locked); try again later</translation>
    </message>
    <message>
        <source>数据库文件是只读的，不能写入</source>
        <translation>the database file is read-only and cannot be written</translation>
    </message>
    <message>
        <source>读写数据库文件时出错</source>
        <translation>error reading or writing the database file</translation>
    </message>
    <message>
        <source>数据库文件已损坏</source>
        <translation>the database file is damaged</translation>
    </message>
    <message>
        <source>无法打开数据库文件</source>
        <translation>cannot open the database file</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>无法打开 %1：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>数据库驱动不是 SQLite</source>
        <translation>The database driver is not SQLite</translation>
    </message>
    <message>
        <source>数据文件 %1 正被另一个程序打开使用，请先关闭使用它的程序</source>
        <translation>The data file %1 is open in another program; close that program first</translation>
    </message>
    <message>
        <source>正在检查数据文件是否完好</source>
        <translation>Checking that the data file is sound</translation>
    </message>
    <message>
        <source>文件 %1 超过 %2 行，不是煤种表，无法导入。</source>
        <translation>File %1 has more than %2 rows; it is not a coal table and cannot be imported.</translation>
    </message>
    <message>
        <source>文件 %1 中填写了内容的单元格超过 %2 个，不是煤种表，无法导入。</source>
        <translation>File %1 has more than %2 filled cells; it is not a coal table and cannot be imported.</translation>
    </message>
    <message>
        <source>文件 %1 中的文字超过 %2 个字符，不是煤种表，无法导入。</source>
        <translation>File %1 holds more than %2 characters; it is not a coal table and cannot be imported.</translation>
    </message>
    <message>
        <source>导入已取消，没有导入任何煤种。</source>
        <translation>Import cancelled; no coal was imported.</translation>
    </message>
    <message>
        <source>文件内容不是文本，不是有效的 CSV 文件。</source>
        <translation>The file is not text and not a valid CSV file.</translation>
    </message>
    <message>
        <source>文件不是 UTF-8 编码，本机又无法读取 GBK 编码，请把文件另存为 UTF-8 编码的 CSV 后再导入。</source>
        <translation>The file is not UTF-8 and this computer cannot read GBK; save it as a UTF-8 CSV and import it again.</translation>
    </message>
    <message>
        <source>文件既不是 UTF-8 编码也不是 GBK 编码的文本，不是有效的 CSV 文件。</source>
        <translation>The file is neither UTF-8 nor GBK text; it is not a valid CSV file.</translation>
    </message>
    <message>
        <source>CSV 文件第 %1 行的引号没有结束，文件可能不完整。</source>
        <translation>The quote opened on line %1 of the CSV file never closes; the file may be incomplete.</translation>
    </message>
    <message>
        <source>无法打开文件 %1：%2</source>
        <translation>Cannot open file %1: %2</translation>
    </message>
    <message>
        <source>文件 %1 有 %2 MB，文本文件最大只能导入 %3 MB，它不是煤种表，无法导入。</source>
        <translation>File %1 has %2 MB; a text file can be at most %3 MB; it is not a coal table and cannot be imported.</translation>
    </message>
    <message>
        <source>文件 %1 是空的。</source>
        <translation>File %1 is empty.</translation>
    </message>
    <message>
        <source>%1 低于下限</source>
        <translation>%1 below lower bound</translation>
    </message>
    <message>
        <source>%1 超出上限</source>
        <translation>%1 above upper bound</translation>
    </message>
    <message>
        <source>%1 已达上下限</source>
        <translation>%1 at both bounds</translation>
    </message>
    <message>
        <source>%1 已达下限</source>
        <translation>%1 at lower bound</translation>
    </message>
    <message>
        <source>%1 已达上限</source>
        <translation>%1 at upper bound</translation>
    </message>
    <message>
        <source>%1（放宽%2）</source>
        <translation>%1 (loosened by %2)</translation>
    </message>
    <message>
        <source>指标</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>方案值</source>
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
        <source>余量</source>
        <translation>Room</translation>
    </message>
    <message>
        <source>放宽1%后单价</source>
        <translation>Price, bound 1% looser</translation>
    </message>
    <message>
        <source>已达到的限值放宽一步、其余条件不变时，按整份重新求得的最低单价。一步是限值的1%（上限调高，下限调低）；限值的绝对值小于1时是0.01，格中注明。</source>
        <translation>The lowest unit price in whole parts with this bound one step looser and everything else unchanged. A step is 1% of the bound (an upper bound up, a lower bound down); 0.01 where the bound is below 1 in size, noted in the cell.</translation>
    </message>
    <message>
        <source>去掉此限后单价</source>
        <translation>Price without this bound</translation>
    </message>
    <message>
        <source>去掉已达到的这个限值、其余条件不变时，按整份重新求得的最低单价。</source>
        <translation>The lowest unit price in whole parts without this bound, everything else unchanged.</translation>
    </message>
    <message>
        <source>影子价格(每单位指标)</source>
        <translation>Shadow price (per unit of index)</translation>
    </message>
    <message>
        <source>已达到的限值每提高1个指标单位（灰分1%、热量1kcal/kg……），单价（元/吨）的变化。取自线性松弛（份数可取小数）在此行总数下的对偶值，不是按整份算出的；限值没有起约束作用的行不显示。</source>
        <translation>How the unit price (per ton) changes when the bound is raised by one unit of its index (ash 1%, calorific value 1 kcal/kg, …). Taken from the dual value of the linear relaxation (fractional parts allowed) at this row's total, not worked out in whole parts; blank where the bound does not hold the mix.</translation>
    </message>
    <message>
        <source>无解</source>
        <translation>No solution</translation>
    </message>
    <message>
        <source>无界</source>
        <translation>Unbounded</translation>
    </message>
    <message>
        <source>超时未算出</source>
        <translation>Timed out</translation>
    </message>
    <message>
        <source>未能计算</source>
        <translation>Not worked out</translation>
    </message>
    <message>
        <source>选中一行配比，可看各指标的余量、每个限值的代价，以及差一份时是否仍全部达标</source>
        <translation>Select a proportion row to see each index's room, what each bound costs, and whether the mix still meets every target one part off</translation>
    </message>
    <message>
        <source>选中一行配比，可看各指标的余量、每个限值的代价，以及差一铲时是否仍全部达标</source>
        <translation>Select a proportion row to see each index's room, what each bound costs, and whether the mix still meets every target one shovel off</translation>
    </message>
    <message>
        <source>配比总数（铲数×每铲重量）</source>
        <translation>Total (shovels × tons per shovel)</translation>
    </message>
    <message>
        <source>配比总数</source>
        <translation>Total of parts</translation>
    </message>
    <message>
        <source>单价</source>
        <translation>Unit price</translation>
    </message>
    <message>
        <source>总数 %1</source>
        <translation>Total %1</translation>
    </message>
    <message>
        <source>■ 总数 %1 的单价 %2 已在最低单价 %3（总数 %4）的 0.5% 以内</source>
        <translation>■ At total %1 the unit price %2 is within 0.5% of the lowest unit price %3 (total %4)</translation>
    </message>
    <message>
        <source>所选</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>● 所选：总数 %1，单价 %2</source>
        <translation>● Selected: total %1, unit price %2</translation>
    </message>
    <message>
        <source>%1铲</source>
        <translation>%1 shovels</translation>
    </message>
    <message>
        <source>%1份</source>
        <translation>%1 parts</translation>
    </message>
    <message>
        <source>%1 %2（%3%）</source>
        <translation>%1 %2 (%3%)</translation>
    </message>
    <message>
        <source>导出excel失败，请联系软件作者，或者请您导入普通格式的文件即可！</source>
        <translation>Export to Excel failed. Please contact the program's author, or export in plain format instead!</translation>
    </message>
    <message>
        <source>Velmora配煤软件_%1</source>
        <translation>Velmora_coal_blending_%1</translation>
    </message>
    <message>
        <source>普通格式 .html (*.html)</source>
        <translation>Plain format .html (*.html)</translation>
    </message>
    <message>
        <source>导出成功，是否打开文件？点确定打开，点取消不打开</source>
        <translation>Export done. Open the file? OK opens it, Cancel does not</translation>
    </message>
    <message>
        <source>导出提示：</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>表格有 %1 行，超过了 Excel 97-2003 工作表的上限 %2 行，请改为导出 .xlsx 格式（上限 %3 行）</source>
        <translation>The table has %1 rows, more than the %2 rows an Excel 97-2003 sheet holds; export as .xlsx instead (up to %3 rows)</translation>
    </message>
    <message>
        <source>表格有 %1 行，超过了工作表的上限 %2 行</source>
        <translation>The table has %1 rows, more than the %2 rows a sheet holds</translation>
    </message>
    <message>
        <source>找不到模板文件 %1</source>
        <translation>Template file %1 not found</translation>
    </message>
    <message>
        <source>导出网页失败：</source>
        <translation>Export to web page failed: </translation>
    </message>
    <message>
        <source>模板文件不可用：%1</source>
        <translation>The template file cannot be used: %1</translation>
    </message>
    <message>
        <source>模板文件 %1 中没有 %2，无法放入导出的内容</source>
        <translation>Template file %1 has no %2, so the exported content has no place</translation>
    </message>
    <message>
        <source>参与配比的煤</source>
        <translation>Coals in the blend</translation>
    </message>
    <message>
        <source>方案列表</source>
        <translation>Proportion rows</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>序</source>
        <translation>#</translation>
    </message>
    <message>
        <source>方案名称</source>
        <translation>Plan title</translation>
    </message>
    <message>
        <source>方案日期</source>
        <translation>Plan date</translation>
    </message>
    <message>
        <source>配多少吨必须大于0</source>
        <translation>Tons to blend must be above 0</translation>
    </message>
    <message>
        <source>此配比没有参与的煤，无法生成装车单</source>
        <translation>This row has no coals, so there is no loader sheet</translation>
    </message>
    <message>
        <source>第%1种煤（%2）的配比不是有效的数字</source>
        <translation>The proportion of coal %1 (%2) is not a valid number</translation>
    </message>
    <message>
        <source>第%1种煤（%2）没有每铲重量，无法按铲数生成装车单</source>
        <translation>Coal %1 (%2) has no tons per shovel, so there is no loader sheet by shovels</translation>
    </message>
    <message>
        <source>此配比的各煤配比之和为0，无法生成装车单</source>
        <translation>This row's proportions add up to 0, so there is no loader sheet</translation>
    </message>
    <message>
        <source>您要配多少吨，请先填写</source>
        <translation>Fill in the tons to blend first</translation>
    </message>
    <message>
        <source>请先选择一行配比方案</source>
        <translation>Select a proportion row first</translation>
    </message>
    <message>
        <source>把如下比例转换成吨</source>
        <translation>Convert these proportions to tons</translation>
    </message>
    <message>
        <source>将如下比例转换成吨</source>
        <translation>Convert these proportions to tons</translation>
    </message>
    <message>
        <source>还原</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>天</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>%1铲数</source>
        <translation>%1 shovels</translation>
    </message>
    <message>
        <source>%1份数</source>
        <translation>%1 parts</translation>
    </message>
    <message>
        <source>吨价</source>
        <translation>Price per ton</translation>
    </message>
    <message>
        <source>当天成本</source>
        <translation>Cost of the day</translation>
    </message>
    <message>
        <source>多日配煤计划</source>
        <translation>Blending plan over days</translation>
    </message>
    <message>
        <source>总成本</source>
        <translation>Total cost</translation>
    </message>
    <message>
        <source>%1 第%2天</source>
        <translation>%1 day %2</translation>
    </message>
    <message>
        <source>表格有 %1 行，超过了 Excel 97-2003 工作表的上限 %2 行</source>
        <translation>The table has %1 rows, more than the %2 rows an Excel 97-2003 sheet holds</translation>
    </message>
    <message>
        <source>表格有 %1 列，超过了 Excel 97-2003 工作表的上限 %2 列</source>
        <translation>The table has %1 columns, more than the %2 columns an Excel 97-2003 sheet holds</translation>
    </message>
    <message>
        <source>无法读取 Excel 文件 %1（错误代码 %2）</source>
        <translation>Cannot read Excel file %1 (error code %2)</translation>
    </message>
    <message>
        <source>Excel 文件 %1 中没有工作表</source>
        <translation>Excel file %1 has no sheet</translation>
    </message>
    <message>
        <source>文件 %1 已损坏或不完整，无法读取。</source>
        <translation>File %1 is damaged or incomplete and cannot be read.</translation>
    </message>
    <message>
        <source>文件 %1 已损坏，其中的 %2 无法读取（%3）。</source>
        <translation>File %1 is damaged: its %2 cannot be read (%3).</translation>
    </message>
    <message>
        <source>文件 %1 中有单元格的文字超过 %2 个字符，多于 Excel 单元格所能容纳的，文件已损坏或不是表格程序保存的。</source>
        <translation>File %1 has a cell with more than %2 characters, more than an Excel cell holds; the file is damaged or was not saved by a spreadsheet program.</translation>
    </message>
    <message>
        <source>文件 %1 中的 %2 太大，无法读取。</source>
        <translation>%2 in file %1 is too large to read.</translation>
    </message>
    <message>
        <source>文件 %1 已损坏：找不到第一个工作表。</source>
        <translation>File %1 is damaged: its first sheet is missing.</translation>
    </message>
    <message>
        <source>行号 %1 无效</source>
        <translation>row number %1 is invalid</translation>
    </message>
    <message>
        <source>单元格位置 %1 无效</source>
        <translation>cell reference %1 is invalid</translation>
    </message>
    <message>
        <source>列数超过上限</source>
        <translation>too many columns</translation>
    </message>
    <message>
        <source>共享文本编号无效</source>
        <translation>invalid shared text number</translation>
    </message>
    <message>
        <source>文件 %1 不是 Excel 工作簿（其中没有工作簿内容）。</source>
        <translation>File %1 is not an Excel workbook (it holds no workbook).</translation>
    </message>
    <message>
        <source>文件 %1 中没有工作表。</source>
        <translation>File %1 has no sheet.</translation>
    </message>
    <message>
        <source>无法建立工作簿</source>
        <translation>cannot create the workbook</translation>
    </message>
    <message>
        <source>无法写入工作簿的内容</source>
        <translation>cannot write the workbook's contents</translation>
    </message>
    <message>
        <source>无法写入工作表</source>
        <translation>cannot write the sheet</translation>
    </message>
    <message>
        <source>工作表没有开始</source>
        <translation>the sheet was not started</translation>
    </message>
    <message>
        <source>表格超过了工作表的上限 %1 行</source>
        <translation>The table is longer than the %1 rows a sheet holds</translation>
    </message>
    <message>
        <source>表格有 %1 列，超过了工作表的上限 %2 列</source>
        <translation>The table has %1 columns, more than the %2 columns a sheet holds</translation>
    </message>
    <message>
        <source>写入第 %1 行时出错</source>
        <translation>error writing row %1</translation>
    </message>
    <message>
        <source>无法写完工作表</source>
        <translation>cannot finish the sheet</translation>
    </message>
    <message>
        <source>无法写入样式</source>
        <translation>cannot write the styles</translation>
    </message>
    <message>
        <source>无法写完工作簿</source>
        <translation>cannot finish the workbook</translation>
    </message>
    <message>
        <source>配比有%1种煤的份数，方案有%2种煤</source>
        <translation>The row has parts for %1 coals; the plan has %2 coals</translation>
    </message>
    <message>
        <source>第%1种煤的份数应为不小于0的整数</source>
        <translation>The parts of coal %1 must be a whole number, 0 or more</translation>
    </message>
    <message>
        <source>各煤的铲数乘每铲重量之和不大于0，无法分析</source>
        <translation>The shovels times tons per shovel add up to 0 or less; nothing to analyse</translation>
    </message>
    <message>
        <source>各煤的份数之和为0，无法分析</source>
        <translation>The parts add up to 0; nothing to analyse</translation>
    </message>
    <message>
        <source>差一份</source>
        <translation>One part off</translation>
    </message>
    <message>
        <source>差一铲</source>
        <translation>One shovel off</translation>
    </message>
    <message>
        <source>（按配%1吨、各煤的每铲重量计）</source>
        <translation> (reckoned for %1 t and each coal's tons per shovel)</translation>
    </message>
    <message>
        <source>%1仍全部达标%2</source>
        <translation>%1, every target is still met%2</translation>
    </message>
    <message>
        <source>%1可达 %2，比上限 %3 高 %4</source>
        <translation>%1 can reach %2, %4 above the upper bound %3</translation>
    </message>
    <message>
        <source>%1可低至 %2，比下限 %3 低 %4</source>
        <translation>%1 can fall to %2, %4 below the lower bound %3</translation>
    </message>
    <message>
        <source>%1时%2%3</source>
        <translation>%1: %2%3</translation>
    </message>
    <message>
        <source>第%1行配比：%2</source>
        <translation>Proportion row %1: %2</translation>
    </message>
    <message>
        <source>此方案没有保存指标范围</source>
        <translation>This plan was saved without its targets</translation>
    </message>
    <message>
        <source>无法重建此方案的模型：%1</source>
        <translation>Cannot rebuild this plan's model: %1</translation>
    </message>
    <message>
        <source>无法计算各配比的单价：%1</source>
        <translation>Cannot work out the rows' unit prices: %1</translation>
    </message>
    <message>
        <source>此方案中没有这一行配比</source>
        <translation>This plan has no such proportion row</translation>
    </message>
    <message>
        <source>没有显示方案</source>
        <translation>No plan shown</translation>
    </message>
    <message>
        <source>开始日期 %1 晚于结束日期 %2。</source>
        <translation>The start date %1 is after the end date %2.</translation>
    </message>
    <message>
        <source>第%1行的铲数与每铲重量之和为0，无法换算成吨，请检查每铲重量</source>
        <translation>The shovels and tons per shovel of row %1 add up to 0, so it cannot be converted to tons; check the tons per shovel</translation>
    </message>
    <message>
        <source>第%1行的配比之和为0，无法换算成吨</source>
        <translation>The proportions of row %1 add up to 0, so it cannot be converted to tons</translation>
    </message>
    <message>
        <source>配多少吨请填写成数字</source>
        <translation>Fill in the tons to blend as a number</translation>
    </message>
    <message>
        <source>配多少吨不能是负数</source>
        <translation>Tons to blend cannot be negative</translation>
    </message>
    <message>
        <source>填写的每铲等于多少吨必须是数字</source>
        <translation>The tons per shovel must be a number</translation>
    </message>
    <message>
        <source>填写的价格必须是数字</source>
        <translation>The price must be a number</translation>
    </message>
    <message>
        <source>填写的库存必须是数字</source>
        <translation>The stock must be a number</translation>
    </message>
    <message>
        <source>请填写煤名称</source>
        <translation>Fill in the coal name</translation>
    </message>
    <message>
        <source>请填写煤的价格</source>
        <translation>Fill in the coal's price</translation>
    </message>
    <message>
        <source>填写的%1</source>
        <translation>Entered: %1</translation>
    </message>
    <message>
        <source>煤种表格 (*.xlsx *.xls *.csv *.txt)</source>
        <translation>Coal sheets (*.xlsx *.xls *.csv *.txt)</translation>
    </message>
    <message>
        <source>无法读取煤库存：%1</source>
        <translation>Cannot read the coal stock: %1</translation>
    </message>
    <message>
        <source>%1去掉了百分号</source>
        <translation>%1: percent sign dropped</translation>
    </message>
    <message>
        <source>文件 %1 已损坏或不是有效的 Excel 97-2003 工作簿，无法读取。（%2）</source>
        <translation>The file %1 is damaged or not a valid Excel 97-2003 workbook and cannot be read. (%2)</translation>
    </message>
    <message>
        <source>%1 是一个文件夹，不是文件。请选择要导入的表格文件。</source>
        <translation>%1 is a folder, not a file. Choose the sheet file to import.</translation>
    </message>
    <message>
        <source>%1 不是普通文件（而是设备、管道或套接字），无法导入。</source>
        <translation>%1 is not an ordinary file (it is a device, pipe or socket) and cannot be imported.</translation>
    </message>
    <message>
        <source>文件 %1 不是 Excel 工作簿，无法读取。它是网页格式的文件，请用 Excel 打开后另存为 .xlsx 再导入。</source>
        <translation>The file %1 is not an Excel workbook and cannot be read. It is a web page; open it in Excel, save it as .xlsx and import that.</translation>
    </message>
    <message>
        <source>文件 %1 不是 Excel 工作簿，无法读取。</source>
        <translation>The file %1 is not an Excel workbook and cannot be read.</translation>
    </message>
    <message>
        <source>无法导入文件 %1：只能导入 .xlsx、.xls 和 .csv 文件。</source>
        <translation>Cannot import the file %1: only .xlsx, .xls and .csv files can be imported.</translation>
    </message>
    <message>
        <source>编号列，不导入</source>
        <translation>record number column, not imported</translation>
    </message>
    <message>
        <source>无法识别的列，不导入</source>
        <translation>column not recognised, not imported</translation>
    </message>
    <message>
        <source>与第 %1 列重复，不导入</source>
        <translation>same as column %1, not imported</translation>
    </message>
    <message>
        <source>表头写的是 MJ/kg</source>
        <translation>the header says MJ/kg</translation>
    </message>
    <message>
        <source>全部数值都小于 %1</source>
        <translation>every value is below %1</translation>
    </message>
    <message>
        <source>文件中找不到煤名称列（表头中应有“名称”或“煤名称”等列），无法导入。</source>
        <translation>The file has no coal name column (the header needs a column such as "名称" or "煤名称"); nothing can be imported.</translation>
    </message>
    <message>
        <source>%1一列按 MJ/kg 换算为 kcal/kg（乘以 %2），因为%3</source>
        <translation>The %1 column was converted from MJ/kg to kcal/kg (times %2), because %3</translation>
    </message>
    <message>
        <source>%1（第 %2 列）是公式，文件中没有它的计算结果，请用表格程序打开、保存后再导入</source>
        <translation>%1 (column %2) is a formula and the file holds no result for it; open and save the file in a spreadsheet program, then import it</translation>
    </message>
    <message>
        <source>没有煤名称</source>
        <translation>no coal name</translation>
    </message>
    <message>
        <source>去掉了煤名称前后的空格</source>
        <translation>blanks around the coal name removed</translation>
    </message>
    <message>
        <source>与第 %1 行的煤名称重复</source>
        <translation>same coal name as row %1</translation>
    </message>
    <message>
        <source>没有价格</source>
        <translation>no price</translation>
    </message>
    <message>
        <source>%1（第 %2 列）含有控制字符或看不见的字符：%3</source>
        <translation>%1 (column %2) holds control or invisible characters: %3</translation>
    </message>
    <message>
        <source>%1不是数字：%2</source>
        <translation>%1 is not a number: %2</translation>
    </message>
    <message>
        <source>%1由 %2 MJ/kg 换算</source>
        <translation>%1 converted from %2 MJ/kg</translation>
    </message>
    <message>
        <source>文件中只有表头，没有可导入的煤种。</source>
        <translation>The file has only a header and no coals to import.</translation>
    </message>
    <message>
        <source>导入 %1 种煤，更新 %2 种，跳过 %3 行</source>
        <translation>Imported %1 coals, updated %2, skipped %3 rows</translation>
    </message>
    <message>
        <source>导入失败，没有导入任何煤种：%1</source>
        <translation>The import failed; no coal was imported: %1</translation>
    </message>
    <message>
        <source>%1(%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>空</source>
        <translation>empty</translation>
    </message>
    <message>
        <source>有问题</source>
        <translation>Problem</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>New</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>跳过</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>行号</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>问题或说明</source>
        <translation>Problems or notes</translation>
    </message>
    <message>
        <source>与库存中的相同</source>
        <translation>same as in stock</translation>
    </message>
    <message>
        <source>共 %1 行：%2 行可以导入，%3 行有问题不导入。</source>
        <translation>%1 rows: %2 can be imported, %3 have problems and are not imported. </translation>
    </message>
    <message>
        <source>其中 %1 种煤库存中已有同名煤种。</source>
        <translation>%1 of the coals have a namesake in stock. </translation>
    </message>
    <message>
        <source>%1 行的数值去掉了百分号，见“问题或说明”列。</source>
        <translation>%1 rows had a percent sign dropped; see "Problems or notes". </translation>
    </message>
    <message>
        <source>%1。</source>
        <translation>%1. </translation>
    </message>
    <message>
        <source>%1 行有数值不在常见范围内，请核对。</source>
        <translation>%1 rows hold values outside the usual range; check them.</translation>
    </message>
    <message>
        <source>第 %1 列“%2”：%3</source>
        <translation>column %1 "%2": %3</translation>
    </message>
    <message>
        <source>不导入的列：%1</source>
        <translation>Columns not imported: %1</translation>
    </message>
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
    <message>
        <source>本次配煤没有完成，没有保存任何结果。</source>
        <translation>This blend did not finish; no result was saved.</translation>
    </message>
    <message>
        <source>配煤已被取消，没有保存任何结果。</source>
        <translation>The blend was cancelled; no result was saved.</translation>
    </message>
    <message>
        <source>%1，%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>[铲数配比] </source>
        <translation>[by shovels] </translation>
    </message>
    <message>
        <source>[按基准加权] </source>
        <translation>[basis weighted] </translation>
    </message>
    <message>
        <source> 配%1吨</source>
        <translation> blend %1 t</translation>
    </message>
    <message>
        <source> %1必选</source>
        <translation> %1 must be used</translation>
    </message>
    <message>
        <source>保存配煤方案时数据库出错，%1
%2</source>
        <translation>The database failed while saving the blend plan; %1
%2</translation>
    </message>
    <message>
        <source>配煤还没有结束</source>
        <translation>The blend has not finished yet</translation>
    </message>
    <message>
        <source>第%1行的%2没有填写，请你填写</source>
        <translation>Row %1 has no %2; fill it in</translation>
    </message>
    <message>
        <source>单价：%1</source>
        <translation>Price: %1</translation>
    </message>
    <message>
        <source>煤名称</source>
        <translation>coal name</translation>
    </message>
    <message>
        <source>配比</source>
        <translation>proportion</translation>
    </message>
    <message>
        <source>第%1行的配比超出了范围，配比请填写-32768到32767之间的数</source>
        <translation>The proportion in row %1 is out of range; enter a number from -32768 to 32767</translation>
    </message>
    <message>
        <source>第%1行的配比不能是负数</source>
        <translation>The proportion in row %1 cannot be negative</translation>
    </message>
    <message>
        <source>第%1行的每铲重量不能是负数</source>
        <translation>The tons per shovel in row %1 cannot be negative</translation>
    </message>
    <message>
        <source>配比乘以每铲重量合计为0，无法计算混合后的指标，请修改配比</source>
        <translation>The proportions times the tons per shovel add up to 0, so the blend's values cannot be computed; change the proportions</translation>
    </message>
    <message>
        <source>配比合计为0，无法计算混合后的指标，请修改配比</source>
        <translation>The proportions add up to 0, so the blend's values cannot be computed; change the proportions</translation>
    </message>
    <message>
        <source>建议：%1。</source>
        <translation>Suggestion: %1.</translation>
    </message>
    <message>
        <source>可达最低</source>
        <translation>Lowest reachable</translation>
    </message>
    <message>
        <source>可达最高</source>
        <translation>Highest reachable</translation>
    </message>
    <message>
        <source>建议下限</source>
        <translation>Suggested lower bound</translation>
    </message>
    <message>
        <source>建议上限</source>
        <translation>Suggested upper bound</translation>
    </message>
    <message>
        <source>正在分析没有配比方案的原因……</source>
        <translation>Working out why there is no proportion plan…</translation>
    </message>
    <message>
        <source>比例数小于2，没有计算任何配比。</source>
        <translation>The proportion count is below 2; no proportions were computed.</translation>
    </message>
    <message>
        <source>请把比例数改为2到1000之间的整数，或者不填（按100计算），再计算一次。</source>
        <translation>Set the proportion count to a whole number from 2 to 1000, or leave it empty (100 is used), and run again.</translation>
    </message>
    <message>
        <source>按现在的指标范围，比例数从2到%1都没有配比方案，以下分析涵盖这些比例数。</source>
        <translation>With the present bounds there is no proportion plan for any proportion count from 2 to %1; the analysis below covers these counts.</translation>
    </message>
    <message>
        <source>或者：%1。</source>
        <translation>Or: %1.</translation>
    </message>
    <message>
        <source>再次分析时，比例数%1下找到了符合全部指标的配比，请再计算一次。</source>
        <translation>The second analysis found proportions meeting every target at proportion count %1; run again.</translation>
    </message>
    <message>
        <source>请在“指标方案”中填写方案名称</source>
        <translation>Fill in a name under "Target set"</translation>
    </message>
    <message>
        <source>指标方案的名称不能超过%1个字</source>
        <translation>A target set's name can have at most %1 characters</translation>
    </message>
    <message>
        <source>库存请填写成数字</source>
        <translation>Enter the stock as a number</translation>
    </message>
    <message>
        <source>每铲重量请填写成数字</source>
        <translation>Enter the tons per shovel as a number</translation>
    </message>
    <message>
        <source>价格请填写成数字</source>
        <translation>Enter the price as a number</translation>
    </message>
    <message>
        <source>请将回收率指标上限限填写成数字！</source>
        <translation>Enter the upper bound of the recovery rate as a number!</translation>
    </message>
    <message>
        <source>请将回收率指标下限填写成数字！</source>
        <translation>Enter the lower bound of the recovery rate as a number!</translation>
    </message>
    <message>
        <source>请将%1的指标上限填写成数字！</source>
        <translation>Enter the upper bound of %1 as a number!</translation>
    </message>
    <message>
        <source>请将%1的指标下限填写成数字！</source>
        <translation>Enter the lower bound of %1 as a number!</translation>
    </message>
    <message>
        <source>第%1种煤:%2%3</source>
        <translation>Coal %1 (%2): %3</translation>
    </message>
    <message>
        <source>第%1行的煤名称没有填写，请你填写</source>
        <translation>Row %1 has no coal name; fill it in</translation>
    </message>
    <message>
        <source>第%1行的%2</source>
        <translation>Row %1: %2</translation>
    </message>
    <message>
        <source>第%1行的价格没有填写，请你填写</source>
        <translation>Row %1 has no price; fill it in</translation>
    </message>
    <message>
        <source>库存不能是负数</source>
        <translation>the stock cannot be negative</translation>
    </message>
    <message>
        <source>每铲重量不能是负数</source>
        <translation>the tons per shovel cannot be negative</translation>
    </message>
    <message>
        <source>请您至少填写一项您要达到的指标！</source>
        <translation>Fill in at least one target you want to reach!</translation>
    </message>
    <message>
        <source>请将配多少吨煤填写成数字！</source>
        <translation>Enter the tons to blend as a number!</translation>
    </message>
    <message>
        <source>配多少吨煤必须大于0！</source>
        <translation>The tons to blend must be more than 0!</translation>
    </message>
    <message>
        <source>你既然要算%1的指标，但是你参与配煤的第%2种煤，没有填写%1的值，这怎么计算？</source>
        <translation>You set a target for %1, but coal %2 in the blend has no %1 value. How can it be computed?</translation>
    </message>
    <message>
        <source>您想配%1吨煤，但是你所输入的几种煤库存加起来只有%2吨，怎么可能配出%1吨的煤</source>
        <translation>You want to blend %1 t, but the stock of the coals you entered adds up to only %2 t; %1 t cannot be blended</translation>
    </message>
    <message>
        <source>比例数请填写成数字</source>
        <translation>Enter the proportion count as a number</translation>
    </message>
    <message>
        <source>比例数不能小于2</source>
        <translation>The proportion count cannot be less than 2</translation>
    </message>
    <message>
        <source>以铲数来配比</source>
        <translation>blending by shovels</translation>
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
        <translation>Cancel</translation>
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
        <translation>The coal yard's PostgreSQL database server, shared by several computers</translation>
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
        <translation>Store the password in this user's PostgreSQL password file %1, not in config.ini</translation>
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
        <translation>The database has no tables of this program yet; they will be created when you press "OK" to switch to it, or you can copy the local data there first.</translation>
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
Press "OK" to switch to this database on the server.</translation>
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
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
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
        <translation>Export to Excel</translation>
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
        <source>装车单</source>
        <translation>Loader sheet</translation>
    </message>
    <message>
        <source>把选中的配比方案按配多少吨生成装车单，保存为PDF文件</source>
        <translation>Make a loader sheet of the selected proportion row for the tons to blend and save it as a PDF file</translation>
    </message>
    <message>
        <source>印</source>
        <translation>P</translation>
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
        <translation>Export file</translation>
    </message>
    <message>
        <source>请先选择一行配比方案</source>
        <translation>Please select a proportion row first</translation>
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
    <name>ImportDialog</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>导入煤种</source>
        <translation>Import coals</translation>
    </message>
    <message>
        <source>库存中已有同名煤种时</source>
        <translation>When the inventory already has a coal of the same name</translation>
    </message>
    <message>
        <source>更新：库存中的煤种改为文件中的数值</source>
        <translation>Update: give the inventory coal the file's values</translation>
    </message>
    <message>
        <source>跳过：保留库存中的煤种，不导入这些行</source>
        <translation>Skip: keep the inventory coal and do not import these rows</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>正在读取 %1 ……</source>
        <translation>Reading %1…</translation>
    </message>
    <message>
        <source>文件：%1（表头在第 %2 行）</source>
        <translation>File: %1 (header in row %2)</translation>
    </message>
    <message>
        <source>库存中已有同名煤种时（%1 种）</source>
        <translation>When a coal of the same name is already in the inventory (count: %1)</translation>
    </message>
    <message>
        <source>正在导入煤种……</source>
        <translation>Importing coals…</translation>
    </message>
</context>
<context>
    <name>IndexCaption</name>
    <message>
        <source>内  水</source>
        <translation>Mad</translation>
    </message>
    <message>
        <source>内 水</source>
        <translation>Mad</translation>
    </message>
    <message>
        <source>全  水</source>
        <translation>Mt</translation>
    </message>
    <message>
        <source>全 水</source>
        <translation>Mt</translation>
    </message>
    <message>
        <source>热  量</source>
        <translation>Qnet</translation>
    </message>
    <message>
        <source>热 量</source>
        <translation>Qnet</translation>
    </message>
    <message>
        <source>高位</source>
        <translation>Qgr</translation>
    </message>
    <message>
        <source>分析基</source>
        <translation>Qad</translation>
    </message>
    <message>
        <source>硫  分</source>
        <translation>S</translation>
    </message>
    <message>
        <source>硫 分</source>
        <translation>S</translation>
    </message>
    <message>
        <source>灰  份</source>
        <translation>A</translation>
    </message>
    <message>
        <source>灰 份</source>
        <translation>A</translation>
    </message>
    <message>
        <source>挥发份</source>
        <translation>V</translation>
    </message>
    <message>
        <source>挥vdaf</source>
        <translation>Vdaf</translation>
    </message>
    <message>
        <source>粘接 G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>粘接G</source>
        <translation>G</translation>
    </message>
    <message>
        <source>胶质 Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>胶质Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>固定碳</source>
        <translation>FC</translation>
    </message>
    <message>
        <source>可磨性</source>
        <translation>HGI</translation>
    </message>
    <message>
        <source>灰熔点</source>
        <translation>AFT</translation>
    </message>
    <message>
        <source>回收率</source>
        <translation>Recov.</translation>
    </message>
    <message>
        <source>煤名称*</source>
        <translation>Coal name*</translation>
    </message>
    <message>
        <source>库 存</source>
        <translation>Stock</translation>
    </message>
    <message>
        <source>每铲等于</source>
        <translation>t per shovel</translation>
    </message>
    <message>
        <source>价格*</source>
        <translation>Price*</translation>
    </message>
</context>
<context>
    <name>IndexEditorCaption</name>
    <message>
        <source>内  水</source>
        <translation>Inh. moisture</translation>
    </message>
    <message>
        <source>全  水</source>
        <translation>Total moisture</translation>
    </message>
    <message>
        <source>低  位</source>
        <translation>Net CV</translation>
    </message>
    <message>
        <source>高  位</source>
        <translation>Gross CV</translation>
    </message>
    <message>
        <source>分析基</source>
        <translation>CV (ad)</translation>
    </message>
    <message>
        <source>硫  份</source>
        <translation>Sulphur</translation>
    </message>
    <message>
        <source>灰  份</source>
        <translation>Ash</translation>
    </message>
    <message>
        <source>挥发份</source>
        <translation>Volatile</translation>
    </message>
    <message>
        <source>挥vdaf</source>
        <translation>Vdaf</translation>
    </message>
    <message>
        <source>粘接 G</source>
        <translation>Caking G</translation>
    </message>
    <message>
        <source>胶质 Y</source>
        <translation>Plastic Y</translation>
    </message>
    <message>
        <source>固定碳</source>
        <translation>Fixed carbon</translation>
    </message>
    <message>
        <source>可磨性</source>
        <translation>Grindability</translation>
    </message>
    <message>
        <source>灰熔点</source>
        <translation>Ash fusion</translation>
    </message>
    <message>
        <source>回收率</source>
        <translation>Recovery</translation>
    </message>
</context>
<context>
    <name>InventoryWindow</name>
    <message>
        <source>煤库存</source>
        <translation>Inventory</translation>
    </message>
    <message>
        <source>添加新煤</source>
        <translation>Add coal</translation>
    </message>
    <message>
        <source>编辑煤种</source>
        <translation>Edit coal</translation>
    </message>
    <message>
        <source>删除煤种</source>
        <translation>Delete coal</translation>
    </message>
    <message>
        <source>导出Excel</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>导出普通</source>
        <translation>Export HTML</translation>
    </message>
    <message>
        <source>导入煤种</source>
        <translation>Import coals</translation>
    </message>
    <message>
        <source>原煤</source>
        <translation>Raw coal</translation>
    </message>
    <message>
        <source>精煤</source>
        <translation>Washed coal</translation>
    </message>
    <message>
        <source>共计：</source>
        <translation>Total:</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>正在处理数据，请稍候......</source>
        <translation>Processing data, please wait...</translation>
    </message>
    <message>
        <source>%1 种</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>请输入要查找的煤名称！</source>
        <translation>Please enter the name of the coal to find.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先选择要编辑的煤种</source>
        <translation>Please select the coal to edit first</translation>
    </message>
    <message>
        <source>确认要删除吗？</source>
        <translation>Delete it?</translation>
    </message>
    <message>
        <source>请选择您要删除的项</source>
        <translation>Please tick the items to delete</translation>
    </message>
    <message>
        <source>所选的煤种已被别人删除，不在库存中了。</source>
        <translation>The selected coal has been deleted by someone else and is no longer in the inventory.</translation>
    </message>
    <message>
        <source>编号为 %1 的煤种已被别人删除，不在库存中了；其余所选的煤种已删除。</source>
        <translation>Coal No. %1 had been deleted by someone else and is no longer in the inventory; the other selected coals have been deleted.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>导出文件</source>
        <translation>Export file</translation>
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
        <translation>Coal name</translation>
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
        <translation>Tons</translation>
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
        <translation>Index</translation>
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
        <translation>Loader sheet</translation>
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
    <name>LoadingWindow</name>
    <message>
        <source>正在载入数据</source>
        <translation>Loading data</translation>
    </message>
    <message>
        <source>正在载入数据，请稍候......</source>
        <translation>Loading data, please wait...</translation>
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
        <translation>Enter the days and the tons per day, add deliveries, then click "Compute plan".</translation>
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
        <translation>Make loader sheets of every day's mix (one page per day) and save them as one PDF file</translation>
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
        <translation>Computed from the %1 coals, indices and required coals of the blend table; each day's %2 add up to the proportion count %3. The stock is taken from the blend table.</translation>
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
        <translation>The delivered coal "%1" is not in the blend table. Please delete this delivery or add the coal to the blend table.</translation>
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
    <name>SelectDialog</name>
    <message>
        <source>选择煤种参与配煤</source>
        <translation>Choose coals to blend</translation>
    </message>
    <message>
        <source>在煤种前面√选择要参与配比的煤种</source>
        <translation>Tick the coals that take part in the blend</translation>
    </message>
    <message>
        <source>煤种库存</source>
        <translation>Coal inventory</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>确定选择</source>
        <translation>Use selected</translation>
    </message>
    <message>
        <source>读取煤种失败：</source>
        <translation>Could not read the coal data: </translation>
    </message>
    <message>
        <source>最多只能选择%1种煤</source>
        <translation>You can choose at most %1 coals</translation>
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
    <name>SplashWindow</name>
    <message>
        <source>正在载入中，请稍后</source>
        <translation>Loading, please wait</translation>
    </message>
    <message>
        <source>正在载入配煤面板，请稍后。</source>
        <translation>Loading the blending panel, please wait.</translation>
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
    <name>ToolGlyph</name>
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
        <source>添</source>
        <translation>+</translation>
    </message>
    <message>
        <source>编</source>
        <translation>E</translation>
    </message>
    <message>
        <source>删</source>
        <translation>−</translation>
    </message>
    <message>
        <source>导</source>
        <translation>↓</translation>
    </message>
    <message>
        <source>网</source>
        <translation>H</translation>
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
        <source>原</source>
        <translation>R</translation>
    </message>
    <message>
        <source>精</source>
        <translation>W</translation>
    </message>
</context>
<context>
    <name>Windows</name>
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
        <source>多日计划</source>
        <translation>Multi-day plan</translation>
    </message>
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
        <source>数据库连接…</source>
        <translation>Database connection…</translation>
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
        <source>退出</source>
        <translation>Exit</translation>
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
        <source>选煤配比</source>
        <translation>Choose coals</translation>
    </message>
    <message>
        <source>从仓库中选择煤种导入下面的列表</source>
        <translation>Choose coals from the inventory into the list below</translation>
    </message>
    <message>
        <source>选</source>
        <translation>✓</translation>
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
        <source>清</source>
        <translation>C</translation>
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
        <source>配</source>
        <translation>B</translation>
    </message>
    <message>
        <source>全选 煤前面√则表示此种煤必选</source>
        <translation>Select all (a tick before a coal means it must be used)</translation>
    </message>
    <message>
        <source>注意：用精煤配煤，不要填写回收率。用原煤配煤，所有的指标要填写成试验后的指标，回收率也为经过试验后得到精煤的回收率</source>
        <translation>Note: when blending washed coal, leave the recovery empty. When blending raw coal, enter every index as tested after washing, and the recovery as the washed coal's recovery found in the test</translation>
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
        <translation>Average each index over the coal mass of its basis (as received, air-dried, dry, dry ash-free) instead of the tons loaded; each index's basis is set in Settings</translation>
    </message>
    <message>
        <source>计算配煤配方</source>
        <translation>Compute blend</translation>
    </message>
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
        <source>Velmora配煤软件5.0</source>
        <translation>Velmora Coal Blending 5.0</translation>
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
</context>
</TS>
