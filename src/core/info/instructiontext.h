// The operating instructions: one text whose runs of blanks push the next words onto a new line.
#pragma once

#include <QCoreApplication>
#include <QString>

namespace InstructionText {

/// The instruction text, exactly as shown (384 characters, no line breaks).
inline QString text()
{
    return QCoreApplication::translate("InstructionText",
        "                  操作说明                         "
        "一，使用随机配带的写频电缆，将对讲机（关机）耳机话筒插口与计算机串行口1（或串行口2）联结。    "
        "二，打开对讲机电源，屏显显示“对讲机就续”。    "
        "三，写频操作：用鼠标点菜单项“写信道数椐”。    "
        "四，读频操作：用鼠标点菜单项“读信道数据”。    "
        "五，文件操作：使用操作“文件”菜单的“保存文       "
        "件”子菜单，打开保存文件对话框，可以将当前      "
        "的频率数据保存（文件名自选，后缀  "
        ".doc）。      "
        "同样使用“打开文件”子菜单，可以将保存的频      "
        "率数据文件重新调出使用。                     "
        "六，设置端口：如有必要，可操作“系统设置”菜       "
        "单的“选择端口”子菜单项，改变当前使用的串      "
        "行口。    ");
}

} // namespace InstructionText
