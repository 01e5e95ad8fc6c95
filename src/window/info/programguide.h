// What the program offers beyond the instructions: shown below them in 操作说明.
#pragma once

#include <QCoreApplication>
#include <QString>

namespace ProgramGuide {

inline QString heading()
{
    return QCoreApplication::translate("ProgramGuide", "本程序另有");
}

/// One line per feature.
inline QString text()
{
    return QCoreApplication::translate("ProgramGuide",
        "端口：在菜单栏的“选择端口”中选择写频电缆所在的串行端口。\n"
        "编辑：Ctrl+Z 撤销，Ctrl+Y 重做；Ctrl+C、Ctrl+V 复制、粘贴单元格，Delete 清空所选单元格。\n"
        "导入与导出：文件 → 导入…、导出…，与 CSV、CHIRP 表格和 JSON 交换信道。\n"
        "离线编辑：不接对讲机也可编辑表格、打开和保存信道文件（qz300 --offline）。\n"
        "安全写入：对讲机没有应答时先询问；写入前读出原有信道存为备份（文件 → 恢复备份…）并列出改动，写入后读回校验，每次写入都有记录；三项可在编辑菜单中关闭。130 到 500 MHz 以外的频率不写入。文件：Ctrl+O 打开，Ctrl+S 保存，文件 → 最近的文件。\n"
        "打印：文件 → 打印… 预览并打印信道表，文件 → 导出 PDF… 把它存为 PDF 文件。");
}

} // namespace ProgramGuide
