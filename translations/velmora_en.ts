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
</TS>
