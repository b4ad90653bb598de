<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<!-- Texts of Qt's own dialogs that Qt's Chinese catalogue (6.4) still lacks. -->
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>Folder</source>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>驱动器</translation>
    </message>
    <message>
        <source>%1 File</source>
        <comment>%1 is a file name suffix, for example txt</comment>
        <translation>%1 文件</translation>
    </message>
</context>
</TS>
