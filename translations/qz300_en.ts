<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AboutBox</name>
    <message>
        <source>关于本软件</source>
        <translation>About</translation>
    </message>
    <message>
        <source>    QZ300写频软件</source>
        <translation>    QZ300 Programmer</translation>
    </message>
    <message>
        <source>      版本 A 1.1</source>
        <translation>      Version A 1.1</translation>
    </message>
    <message>
        <source>本软件是专供用户，对澄川电讯器材公司的QZ300对讲机，编写工作频率及参数的专用软件      </source>
        <translation>This program is made for users of the QZ300 radio by Chengchuan Telecom Equipment Co., to program its working frequencies and settings.      </translation>
    </message>
    <message>
        <source> 技术咨询： </source>
        <translation> Technical support: </translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>系统信息(&amp;S)...</source>
        <translation>&amp;System Info...</translation>
    </message>
    <message>
        <source>此时系统信息不可用</source>
        <translation>System information is not available now</translation>
    </message>
</context>
<context>
    <name>BackupDialog</name>
    <message>
        <source>恢复备份</source>
        <translation>Restore backup</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>信道</source>
        <translation>Channels</translation>
    </message>
    <message>
        <source>（无法读取）</source>
        <translation>(cannot be read)</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>BackupStore</name>
    <message>
        <source>找不到用户数据文件夹</source>
        <translation>The user data folder cannot be found</translation>
    </message>
    <message>
        <source>无法建立文件夹 %1</source>
        <translation>The folder %1 cannot be created</translation>
    </message>
    <message>
        <source>备份文件 %1 无法写入：%2</source>
        <translation>The backup file %1 cannot be written: %2</translation>
    </message>
</context>
<context>
    <name>ChannelFileCommands</name>
    <message>
        <source>文件 %1 无法打开 ！！</source>
        <translation>File %1 cannot be opened.</translation>
    </message>
    <message>
        <source>文件 %1 读取失败 ！！</source>
        <translation>File %1 could not be read.</translation>
    </message>
    <message>
        <source>文件 %1 不是完整的信道文件 ！！</source>
        <translation>File %1 is not a complete channel file.</translation>
    </message>
    <message>
        <source>信道表不足 16 个信道，文件 %1 未保存 ！！</source>
        <translation>The channel table has fewer than 16 channels; file %1 was not saved.</translation>
    </message>
    <message>
        <source>数据中含有逗号或换行，文件 %1 未保存 ！！</source>
        <translation>The data contains a comma or a line break; file %1 was not saved.</translation>
    </message>
    <message>
        <source>文件 %1 无法保存 ！！</source>
        <translation>File %1 cannot be saved.</translation>
    </message>
    <message>
        <source>打开文件</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库，文件 %1 未打开 ！！</source>
        <translation>The channels could not be stored in the database; file %1 was not opened.</translation>
    </message>
    <message>
        <source>文件 %1 无法导入 ！！
%2</source>
        <translation>File %1 cannot be imported.
%2</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库，文件 %1 未导入 ！！</source>
        <translation>The channels could not be stored in the database; file %1 was not imported.</translation>
    </message>
    <message>
        <source>文件 %1 已导入，以下内容未导入：</source>
        <translation>File %1 was imported; the following was left out:</translation>
    </message>
    <message>
        <source>文件 %1 无法导出 ！！</source>
        <translation>File %1 cannot be exported.</translation>
    </message>
    <message>
        <source>文件 %1 无法导出 ！！
%2</source>
        <translation>File %1 cannot be exported.
%2</translation>
    </message>
    <message>
        <source>文件 %1 已导出，以下内容未写入：</source>
        <translation>File %1 was exported; the following was not written:</translation>
    </message>
    <message>
        <source>错误警告 </source>
        <translation>Error </translation>
    </message>
    <message>
        <source>文件 %1 大于 64 MiB，未读取 ！！</source>
        <translation>File %1 is larger than 64 MiB and was not read.</translation>
    </message>
    <message>
        <source>文件 %1 已不存在，已从最近的文件中移除。</source>
        <translation>File %1 no longer exists and was removed from the recent files.</translation>
    </message>
    <message>
        <source>文件 %1 有 %2 行，电台只有 %3 个信道。
从哪个位置（Location）起取 %3 行？</source>
        <translation>File %1 has %2 rows; the radio has only %3 channels.
From which Location should %3 rows be taken?</translation>
    </message>
    <message>
        <source>恢复备份</source>
        <translation>Restore backup</translation>
    </message>
    <message>
        <source>还没有备份。每次写信道数据前，对讲机原有的信道保存在 %1。</source>
        <translation>There are no backups yet. Before each write to the radio, the channels it held are kept in %1.</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库，备份 %1 未恢复 ！！</source>
        <translation>The channels cannot be stored in the database; backup %1 was not restored.</translation>
    </message>
    <message>
        <source>信道文件|*.doc</source>
        <translation>Channel files|*.doc</translation>
    </message>
    <message>
        <source>已保存 %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>已载入备份 %1，用“写信道数据”写入对讲机</source>
        <translation>Backup %1 is in the table; &quot;Write to radio&quot; writes it into the radio</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>receive frequency</translation>
    </message>
    <message>
        <source>发送频率</source>
        <translation>transmit frequency</translation>
    </message>
    <message>
        <source>第 %1 信道的%2 %3 超出范围（%4 到 %5 MHz）</source>
        <translation>the %2 %3 of channel %1 is out of range (%4 to %5 MHz)</translation>
    </message>
    <message>
        <source>第 %1 信道的%2“%3”不是频率</source>
        <translation>the %2 &quot;%3&quot; of channel %1 is not a frequency</translation>
    </message>
    <message>
        <source>备份已载入表格，但对讲机不接受其中的信道：%1。
写信道数据前请改正这个信道。</source>
        <translation>The backup is in the table, but the radio does not take one of its channels: %1.
Correct that channel before writing to the radio.</translation>
    </message>
    <message>
        <source>已导出 %1</source>
        <translation>Exported %1</translation>
    </message>
</context>
<context>
    <name>ChannelFrame</name>
    <message>
        <source>（空）</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>%1 %2 MHz 超出 130 到 500 MHz 的范围</source>
        <translation>%1 %2 MHz is outside 130 to 500 MHz</translation>
    </message>
    <message>
        <source>静噪级别“%1”不是 0 到 9 之间的一位数字</source>
        <translation>Squelch level &quot;%1&quot; is not a digit from 0 to 9</translation>
    </message>
    <message>
        <source>信道号“%1”不是 1 到 100 之间的整数</source>
        <translation>Channel number &quot;%1&quot; is not a whole number from 1 to 100</translation>
    </message>
    <message>
        <source>接收频率“%1”超出对讲机能存储的范围</source>
        <translation>Receive frequency &quot;%1&quot; is outside what the radio can store</translation>
    </message>
    <message>
        <source>发射频率“%1”超出对讲机能存储的范围</source>
        <translation>Transmit frequency &quot;%1&quot; is outside what the radio can store</translation>
    </message>
    <message>
        <source>收到的“%1”不是 20 位数字</source>
        <translation>Received &quot;%1&quot; is not 20 digits</translation>
    </message>
    <message>
        <source>频差标志“%1”不是 0 或 1</source>
        <translation>Beat shift flag &quot;%1&quot; is not 0 or 1</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>Receive frequency</translation>
    </message>
    <message>
        <source>发射频率</source>
        <translation>Transmit frequency</translation>
    </message>
</context>
<context>
    <name>ChannelGrid</name>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>ChannelListPage</name>
    <message>
        <source>QZ300 对讲机信道表</source>
        <translation>QZ300 Radio Channel List</translation>
    </message>
    <message>
        <source>无法在打印设备上绘图</source>
        <translation>Cannot draw on the printing device</translation>
    </message>
    <message>
        <source>日期时间：%1</source>
        <translation>Date and time: %1</translation>
    </message>
    <message>
        <source>端口：%1</source>
        <translation>Port: %1</translation>
    </message>
    <message>
        <source>静噪级别：%1</source>
        <translation>Squelch level: %1</translation>
    </message>
    <message>
        <source>信道文件：%1</source>
        <translation>Channel file: %1</translation>
    </message>
    <message>
        <source>信道号</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>接收频率 (MHz)</source>
        <translation>Receive (MHz)</translation>
    </message>
    <message>
        <source>发送频率 (MHz)</source>
        <translation>Transmit (MHz)</translation>
    </message>
    <message>
        <source>拍频</source>
        <translation>Beat shift</translation>
    </message>
    <message>
        <source>备注：</source>
        <translation>Notes:</translation>
    </message>
    <message>
        <source>无法完成打印页</source>
        <translation>Cannot finish the printed page</translation>
    </message>
</context>
<context>
    <name>ChannelRule</name>
    <message>
        <source>数据超出范围 ！！（%1 到 %2 MHz）</source>
        <translation>Frequency out of range (%1 to %2 MHz)</translation>
    </message>
    <message>
        <source>拍频只能是 on 或 off ！！</source>
        <translation>Beat shift can only be on or off.</translation>
    </message>
</context>
<context>
    <name>ChannelTable</name>
    <message>
        <source>数据库文件 %1 不是可用的信道数据库：不是普通文件</source>
        <translation>Database file %1 is not a usable channel database: not a regular file</translation>
    </message>
    <message>
        <source>无法建立数据库文件 %1：%2</source>
        <translation>Cannot create database file %1: %2</translation>
    </message>
    <message>
        <source>没有数据表 Chane</source>
        <translation>No table Chane</translation>
    </message>
    <message>
        <source>数据表 Chane 少于 4 个字段</source>
        <translation>Table Chane has fewer than 4 fields</translation>
    </message>
    <message>
        <source>数据表 Chane 只有 %1 行，少于 %2 行</source>
        <translation>Table Chane has only %1 rows, fewer than %2</translation>
    </message>
    <message>
        <source>数据库文件 %1 不是可用的信道数据库：%2</source>
        <translation>Database file %1 is not a usable channel database: %2</translation>
    </message>
    <message>
        <source>无法打开数据库文件 %1：%2</source>
        <translation>Cannot open database file %1: %2</translation>
    </message>
    <message>
        <source>没有当前记录</source>
        <translation>No current record</translation>
    </message>
    <message>
        <source>没有该字段</source>
        <translation>No such field</translation>
    </message>
    <message>
        <source>没有该行</source>
        <translation>No such row</translation>
    </message>
    <message>
        <source>数据表行数不足</source>
        <translation>The table has too few rows</translation>
    </message>
    <message>
        <source>数据表 Chane 中找不到该行</source>
        <translation>The row is not in table Chane</translation>
    </message>
    <message>
        <source>另一个程序已修改该行</source>
        <translation>Another program has changed the row</translation>
    </message>
    <message>
        <source> 信道号</source>
        <translation> Channel</translation>
    </message>
    <message>
        <source> 接收频率 (MHz)</source>
        <translation> Receive (MHz)</translation>
    </message>
    <message>
        <source> 发送频率 (MHz)</source>
        <translation> Transmit (MHz)</translation>
    </message>
    <message>
        <source> 拍频</source>
        <translation> Beat shift</translation>
    </message>
    <message>
        <source>Chane 是视图，不是数据表</source>
        <translation>Chane is a view, not a table</translation>
    </message>
    <message>
        <source>数据库文件 %1 正被另一个程序使用。</source>
        <translation>Database file %1 is in use by another program.</translation>
    </message>
    <message>
        <source>拍频 on 或 off：写信道时作为这个信道的拍频偏移标志送入对讲机（信道帧的第 4 个字符），打开或关闭对讲机在这个信道上的拍频偏移。
它不是中继台的收发差频：发送频率在“发送频率”一栏单独设置。</source>
        <translation>Beat shift, on or off: sent to the radio with this channel as its beat-frequency shift flag (character 4 of the channel&apos;s frame), it switches the radio&apos;s beat-frequency shift on this channel.
It is not a repeater offset: the transmit frequency is set on its own in the Transmit column.</translation>
    </message>
</context>
<context>
    <name>CheckReport</name>
    <message>
        <source>（没有记录）</source>
        <translation>(nothing recorded)</translation>
    </message>
    <message>
        <source>QZ300 连接检查报告</source>
        <translation>QZ300 connection check</translation>
    </message>
    <message>
        <source>程序版本：</source>
        <translation>Program version: </translation>
    </message>
    <message>
        <source>系统：</source>
        <translation>System: </translation>
    </message>
    <message>
        <source>Qt 版本：</source>
        <translation>Qt version: </translation>
    </message>
    <message>
        <source>端口表：</source>
        <translation>Port table:</translation>
    </message>
    <message>
        <source>检查结果：</source>
        <translation>Check:</translation>
    </message>
    <message>
        <source>检查时的线路记录：</source>
        <translation>The line during the check:</translation>
    </message>
    <message>
        <source>上次传输以来的线路记录：</source>
        <translation>The line since the last transfer began:</translation>
    </message>
</context>
<context>
    <name>CheckWording</name>
    <message>
        <source>进程 %1</source>
        <translation>process %1</translation>
    </message>
    <message>
        <source>进程 %1（%2）</source>
        <translation>process %1 (%2)</translation>
    </message>
    <message>
        <source>USB 串口适配器</source>
        <translation>USB serial adapter</translation>
    </message>
    <message>
        <source>主板串口</source>
        <translation>on-board serial port</translation>
    </message>
    <message>
        <source>伪终端（另一端是一个程序）</source>
        <translation>pseudo-terminal (a program plays the far end)</translation>
    </message>
    <message>
        <source>串行设备</source>
        <translation>serial device</translation>
    </message>
    <message>
        <source>驱动 %1</source>
        <translation>driver %1</translation>
    </message>
    <message>
        <source>Qt 格式</source>
        <translation>Qt&apos;s form</translation>
    </message>
    <message>
        <source>UUCP 格式</source>
        <translation>UUCP form</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>device</translation>
    </message>
    <message>
        <source>访问权限</source>
        <translation>access</translation>
    </message>
    <message>
        <source>其他程序</source>
        <translation>other programs</translation>
    </message>
    <message>
        <source>打开端口</source>
        <translation>opening</translation>
    </message>
    <message>
        <source>对讲机就绪</source>
        <translation>radio ready</translation>
    </message>
    <message>
        <source>读信道</source>
        <translation>read</translation>
    </message>
    <message>
        <source>未进行</source>
        <translation>not run</translation>
    </message>
    <message>
        <source>此端口没有设备</source>
        <translation>no device for this port</translation>
    </message>
    <message>
        <source>%1 不存在</source>
        <translation>%1 does not exist</translation>
    </message>
    <message>
        <source>%1 指向不存在的 %2</source>
        <translation>%1 leads to %2, which does not exist</translation>
    </message>
    <message>
        <source>%1 不是串行设备</source>
        <translation>%1 is not a serial device</translation>
    </message>
    <message>
        <source>当前用户可以读写</source>
        <translation>this user may read and write it</translation>
    </message>
    <message>
        <source>当前用户无权打开（%1 组）</source>
        <translation>this user may not open it (group %1)</translation>
    </message>
    <message>
        <source>当前用户属于 %1 组，但本次登录早于加入该组</source>
        <translation>this user is in group %1, but this login began before joining it</translation>
    </message>
    <message>
        <source>没有其他程序占用</source>
        <translation>no other program holds it</translation>
    </message>
    <message>
        <source>被%1占用：锁文件 %2（%3）</source>
        <translation>held by %1: lock file %2 (%3)</translation>
    </message>
    <message>
        <source>已被%1打开</source>
        <translation>open in %1</translation>
    </message>
    <message>
        <source>已按 1200 波特 8N1 打开</source>
        <translation>opened at 1200 baud 8N1</translation>
    </message>
    <message>
        <source>无法打开：%1</source>
        <translation>does not open: %1</translation>
    </message>
    <message>
        <source>发出“C”，%1 毫秒后收到“C”</source>
        <translation>&quot;C&quot; sent, &quot;C&quot; back after %1 ms</translation>
    </message>
    <message>
        <source>发出“C”，%1 秒内没有应答</source>
        <translation>&quot;C&quot; sent, nothing back within %1 s</translation>
    </message>
    <message>
        <source>发出“C”，收到 %1 个字符，但没有“C”</source>
        <translation>&quot;C&quot; sent, %1 characters back but no &quot;C&quot;</translation>
    </message>
    <message>
        <source>读出 16 个信道；%1 毫秒后收到第一个字符，之后每个字符 %2 毫秒（1200 波特为 8.3）</source>
        <translation>16 channels read; first character after %1 ms, then %2 ms a character (1200 baud: 8.3)</translation>
    </message>
    <message>
        <source>读命令“5”发出后 %1 秒内没有应答</source>
        <translation>no answer to the read command &quot;5&quot; within %1 s</translation>
    </message>
    <message>
        <source>只收回了刚发出的命令“5”：回显的适配器后面没有对讲机应答</source>
        <translation>only the command &quot;5&quot; came back: no radio behind an echoing adapter</translation>
    </message>
    <message>
        <source>应答以刚发出的命令“5”开头：电缆有回显（其后收到 %1 个字符）</source>
        <translation>the answer begins with the command &quot;5&quot; just sent: the cable echoes (%1 characters followed)</translation>
    </message>
    <message>
        <source>应答在 %1/16 个信道后中断（收到 %2/%3 个字符）</source>
        <translation>the answer stopped after %1 of 16 channels (%2 of %3 characters)</translation>
    </message>
    <message>
        <source>杂波：收到 %1 个字符，多于 16 个信道的长度</source>
        <translation>noise: %1 characters, more than 16 channels hold</translation>
    </message>
    <message>
        <source>杂波：第 %1 信道中有不是数字的字符</source>
        <translation>noise: characters that are not digits in channel %1</translation>
    </message>
    <message>
        <source>收到 16 帧数字，但第 %1 信道不是有效信道</source>
        <translation>16 frames of digits, but channel %1 is no channel</translation>
    </message>
    <message>
        <source>插上编程电缆，或选择有设备的端口</source>
        <translation>plug in the programming cable, or choose a port that has a device</translation>
    </message>
    <message>
        <source>插上编程电缆；USB 适配器插上后才出现它的设备名</source>
        <translation>plug in the programming cable; a USB adapter&apos;s name appears when it is plugged in</translation>
    </message>
    <message>
        <source>这个名称所指的适配器已拔出：请重新插上</source>
        <translation>the adapter this name stands for is unplugged: plug it in again</translation>
    </message>
    <message>
        <source>请指定设备节点，例如 /dev/ttyUSB0</source>
        <translation>name the device node, such as /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>请注销后重新登录（或运行：newgrp %1）</source>
        <translation>log out and in again (or run: newgrp %1)</translation>
    </message>
    <message>
        <source>请关闭该程序，或结束它：kill %1</source>
        <translation>close that program, or end it: kill %1</translation>
    </message>
    <message>
        <source>ModemManager 会探测串口：sudo systemctl stop ModemManager（或把适配器设为忽略）</source>
        <translation>ModemManager probes serial ports: sudo systemctl stop ModemManager (or mark the adapter ignored)</translation>
    </message>
    <message>
        <source>请关闭占用端口的程序，然后重新检查</source>
        <translation>close the program that holds the port, then check again</translation>
    </message>
    <message>
        <source>请拔下适配器再插上，然后重新检查</source>
        <translation>unplug the adapter, plug it in again, and check again</translation>
    </message>
    <message>
        <source>请打开对讲机电源，把电缆插紧在编程插口上，并确认这是电缆所在的端口</source>
        <translation>switch the radio on, push the cable fully into its programming socket, and make sure this is the cable&apos;s port</translation>
    </message>
    <message>
        <source>应答的不是 1200 波特的 QZ300：请确认这是对讲机的电缆，对讲机是 QZ300</source>
        <translation>something answers that is not a QZ300 at 1200 baud: check that this is the radio&apos;s cable and the radio a QZ300</translation>
    </message>
    <message>
        <source>对讲机应答了“C”却没有应答读命令：请关机再开机，然后重新检查</source>
        <translation>the radio answered &quot;C&quot; but not the read: switch it off and on, and check again</translation>
    </message>
    <message>
        <source>上面收到的“C”也是回显：请打开对讲机并把电缆插到对讲机上</source>
        <translation>the &quot;C&quot; above was the echo too: switch the radio on and plug the cable into it</translation>
    </message>
    <message>
        <source>请换用不回显所发内容的编程电缆</source>
        <translation>use a programming cable that does not return what it is sent</translation>
    </message>
    <message>
        <source>请检查对讲机端的插头和电池：接触不良或电量不足会使应答中断</source>
        <translation>check the plug at the radio and the battery: a loose contact or a flat battery breaks the answer off</translation>
    </message>
    <message>
        <source>请检查插头是否插紧，电缆远离天线，并确认没有其他程序使用此端口</source>
        <translation>check that the plugs sit firmly, keep the cable away from the antenna, and that no other program uses the port</translation>
    </message>
    <message>
        <source>没有可检查的端口：端口表中没有设备</source>
        <translation>no port to check: the port table names no device</translation>
    </message>
    <message>
        <source>%1/%2 个端口正常：对讲机应答，读数正常</source>
        <translation>%1 of %2 ports good: a radio answered and read well</translation>
    </message>
    <message>
        <source>%1/%2 个端口正常；有问题：%3</source>
        <translation>%1 of %2 ports good; problems: %3</translation>
    </message>
    <message>
        <source>处理：</source>
        <translation>what to do: </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 %2：%3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>只有已结束的进程 %3 留下的锁文件 %1（%2）</source>
        <translation>only lock file %1 (%2) of process %3, which has ended</translation>
    </message>
    <message>
        <source>请删除程序留下的锁文件：rm %1</source>
        <translation>remove the lock file its program left behind: rm %1</translation>
    </message>
</context>
<context>
    <name>ConnectionCheckDialog</name>
    <message>
        <source>连接检查</source>
        <translation>Connection check</translation>
    </message>
    <message>
        <source>重新检查(&amp;R)</source>
        <translation>Check &amp;again</translation>
    </message>
    <message>
        <source>保存报告…(&amp;S)</source>
        <translation>&amp;Save report…</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>正在传输，传输结束后才能检查。</source>
        <translation>A transfer is running: the check can start once it has ended.</translation>
    </message>
    <message>
        <source>正在检查…</source>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>处理：%1</source>
        <translation>What to do: %1</translation>
    </message>
    <message>
        <source>文本文件 (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>错误警告</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>报告无法保存：%1</source>
        <translation>The report could not be saved: %1</translation>
    </message>
</context>
<context>
    <name>EditHistory</name>
    <message>
        <source>静噪级别</source>
        <translation>Squelch level</translation>
    </message>
</context>
<context>
    <name>GridEditCommands</name>
    <message>
        <source>接收频率</source>
        <translation>Receive frequency</translation>
    </message>
    <message>
        <source>发送频率</source>
        <translation>Transmit frequency</translation>
    </message>
    <message>
        <source>撤销(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重做(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>清除(&amp;L)</source>
        <translation>C&amp;lear</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>第 %1 信道 %2：%3</source>
        <translation>Channel %1 %2: %3</translation>
    </message>
    <message>
        <source>错误警告 </source>
        <translation>Error </translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>拍频</source>
        <translation>Beat shift</translation>
    </message>
    <message>
        <source>%1 个字符，过长</source>
        <translation>%1 characters, too long</translation>
    </message>
    <message>
        <source>%1…（%2 个字符）</source>
        <translation>%1… (%2 characters)</translation>
    </message>
    <message>
        <source>……另有 %1 个</source>
        <translation>…and %1 more</translation>
    </message>
    <message>
        <source>第 %1 行</source>
        <translation>row %1</translation>
    </message>
    <message>
        <source>第 %1 至 %2 行</source>
        <translation>rows %1 to %2</translation>
    </message>
    <message>
        <source>粘贴内容的%1超出第 %2 信道，没有粘贴</source>
        <translation>Pasted data beyond channel %2 (%1); nothing was pasted</translation>
    </message>
    <message>
        <source>粘贴内容中有不是频率或不是 on、off 的数据，没有粘贴 ！！</source>
        <translation>The pasted data holds values that are not frequencies or not on/off; nothing was pasted.</translation>
    </message>
</context>
<context>
    <name>InstructionText</name>
    <message>
        <source>                  操作说明                         一，使用随机配带的写频电缆，将对讲机（关机）耳机话筒插口与计算机串行口1（或串行口2）联结。    二，打开对讲机电源，屏显显示“对讲机就续”。    三，写频操作：用鼠标点菜单项“写信道数椐”。    四，读频操作：用鼠标点菜单项“读信道数据”。    五，文件操作：使用操作“文件”菜单的“保存文       件”子菜单，打开保存文件对话框，可以将当前      的频率数据保存（文件名自选，后缀  .doc）。      同样使用“打开文件”子菜单，可以将保存的频      率数据文件重新调出使用。                     六，设置端口：如有必要，可操作“系统设置”菜       单的“选择端口”子菜单项，改变当前使用的串      行口。    </source>
        <translation>                    Instructions                                                            1. With the programming cable that came with the radio, connect the earphone and microphone socket of the radio (switched off) to serial port 1 (or serial port 2) of the computer.                                                            2. Switch the radio on; the window shows &quot;Radio ready...&quot;.                                                            3. Writing: click the menu item &quot;Write to radio&quot;.                                                            4. Reading: click the menu item &quot;Read from radio&quot;.                                                            5. Files: &quot;Save file&quot; in the &quot;File&quot; menu opens the save dialog, which saves the current frequencies (a name of your choice, extension .doc). &quot;Open file&quot; loads a saved frequency file again.                                                            6. Port: if needed, the menu item &quot;Select port&quot; changes the serial port in use.    </translation>
    </message>
</context>
<context>
    <name>InstructionsWindow</name>
    <message>
        <source>操作说明</source>
        <translation>Instructions</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>系统信息</source>
        <translation>System Information</translation>
    </message>
    <message>
        <source>错误警告</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>离线编辑：没有打开串行端口。请先用“选择端口”选择连接对讲机的端口。</source>
        <translation>Edit offline: no serial port is open. First use &quot;Select port&quot; to choose the port the radio is connected to.</translation>
    </message>
    <message>
        <source>QZ300 版本 [ A 1.1 ]</source>
        <translation>QZ300 Version [ A 1.1 ]</translation>
    </message>
    <message>
        <source>信道设置系统</source>
        <translation>Channel Setup</translation>
    </message>
    <message>
        <source>静噪级别：</source>
        <translation>Squelch:</translation>
    </message>
    <message>
        <source>拍频:</source>
        <translation>Beat shift:</translation>
    </message>
    <message>
        <source>       文件(&amp;F)</source>
        <translation>       &amp;File</translation>
    </message>
    <message>
        <source>打开文件(&amp;O)</source>
        <translation>&amp;Open file</translation>
    </message>
    <message>
        <source>保存文件(&amp;V)</source>
        <translation>Sa&amp;ve file</translation>
    </message>
    <message>
        <source>导入…(&amp;I)</source>
        <translation>&amp;Import…</translation>
    </message>
    <message>
        <source>导出…(&amp;X)</source>
        <translation>E&amp;xport…</translation>
    </message>
    <message>
        <source>       编辑(&amp;B)</source>
        <translation>       &amp;Edit</translation>
    </message>
    <message>
        <source>        读信道数据(&amp;R)</source>
        <translation>        &amp;Read from radio</translation>
    </message>
    <message>
        <source>        写信道数据(&amp;W)</source>
        <translation>        &amp;Write to radio</translation>
    </message>
    <message>
        <source>       选择端口(&amp;P)</source>
        <translation>       Select &amp;port</translation>
    </message>
    <message>
        <source>       退出系统(&amp;E)</source>
        <translation>       E&amp;xit</translation>
    </message>
    <message>
        <source>       帮助(&amp;H)</source>
        <translation>       &amp;Help</translation>
    </message>
    <message>
        <source>操作说明(&amp;I)</source>
        <translation>&amp;Instructions</translation>
    </message>
    <message>
        <source>关于本软件(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>对讲机就绪...</source>
        <translation>Radio ready</translation>
    </message>
    <message>
        <source>静燥级别不可大于 9 ！！！</source>
        <translation>The squelch level cannot be above 9.</translation>
    </message>
    <message>
        <source>拍频</source>
        <translation>Beat shift</translation>
    </message>
    <message>
        <source>错误警告 </source>
        <translation>Error </translation>
    </message>
    <message>
        <source>信道数据无法存入数据库 %1，修改尚未保存：
%2</source>
        <translation>The channels could not be stored in database %1; the changes are not saved yet:
%2</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>&quot;%1&quot;</translation>
    </message>
    <message>
        <source>接收频率 %1，发送频率 %2，拍频 %3</source>
        <translation>receive %1, transmit %2, beat shift %3</translation>
    </message>
    <message>
        <source>第 %1 信道已被另一个程序改动，您的修改没有存入数据库 %2。
您的输入：%3
数据库中现为：%4
表格现在显示数据库中的内容。</source>
        <translation>Channel %1 was changed by another program; your change was not stored in database %2.
You entered: %3
The database now holds: %4
The table now shows what the database holds.</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库 %1，修改尚未保存：
%2

重试保存，放弃修改并退出，还是取消退出？</source>
        <translation>The channels could not be stored in database %1; the changes are not saved yet:
%2

Retry saving, discard the changes and exit, or cancel exiting?</translation>
    </message>
    <message>
        <source>重试</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>放弃修改</source>
        <translation>Discard changes</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>离线编辑：未打开串行端口</source>
        <translation>Edit offline: no serial port open</translation>
    </message>
    <message>
        <source>最近的文件(&amp;L)</source>
        <translation>Recent fi&amp;les</translation>
    </message>
    <message>
        <source>打印…(&amp;P)</source>
        <translation>&amp;Print…</translation>
    </message>
    <message>
        <source>导出 PDF…(&amp;D)</source>
        <translation>Export P&amp;DF…</translation>
    </message>
    <message>
        <source>离线编辑</source>
        <translation>Edit offline</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>第 %1 信道已被另一个程序改动，这一步无法%2，表格和数据库保持不变。</source>
        <translation>Channel %1 was changed by another program, so this step cannot be %2; the table and the database stay as they are.</translation>
    </message>
    <message>
        <source>撤销</source>
        <comment>this step cannot be</comment>
        <translation>undone</translation>
    </message>
    <message>
        <source>重做</source>
        <comment>this step cannot be</comment>
        <translation>redone</translation>
    </message>
    <message>
        <source>离线编辑（未打开串行端口）</source>
        <translation>Edit offline (no serial port open)</translation>
    </message>
    <message>
        <source>恢复备份…(&amp;R)</source>
        <translation>&amp;Restore backup…</translation>
    </message>
    <message>
        <source>另存为…(&amp;A)</source>
        <translation>Save &amp;as…</translation>
    </message>
    <message>
        <source>无串行端口可用。可以离线编辑信道表，或退出。</source>
        <translation>No serial port is available. You can edit the channel table offline, or exit.</translation>
    </message>
    <message>
        <source>连接检查…(&amp;C)</source>
        <translation>&amp;Connection check…</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>离线编辑：不打开串行端口（信道表、文件可用；读写对讲机前请用“选择端口”选择端口）。</source>
        <translation>Edit offline: open no serial port (the channel table and files work; choose a port with &quot;Select port&quot; before reading or writing the radio).</translation>
    </message>
    <message>
        <source>在用户数据文件夹（~/.local/share/qz300）中工作，供桌面菜单使用。</source>
        <translation>Work in the user data folder (~/.local/share/qz300), for the desktop menu.</translation>
    </message>
    <message>
        <source>本次启动的界面语言：zh（中文）或 en（英文）；“帮助 → 语言”保存的选择在以后的启动中有效。</source>
        <translation>Window language for this start: zh (Chinese) or en (English); the choice made in Help → Language is kept for later starts.</translation>
    </message>
    <message>
        <source>QZ300 对讲机信道写频软件：读出、编辑并写入 QZ300 的 16 个信道。</source>
        <translation>QZ300 radio channel programmer: reads, edits and writes the 16 channels of the QZ300.</translation>
    </message>
    <message>
        <source>系统信息</source>
        <translation>System Information</translation>
    </message>
</context>
<context>
    <name>OutputTarget</name>
    <message>
        <source>文件不可写：%1</source>
        <translation>the file is not writable: %1</translation>
    </message>
    <message>
        <source>文件夹 %1 不可写：%2</source>
        <translation>the folder %1 is not writable: %2</translation>
    </message>
    <message>
        <source>是文件夹</source>
        <translation>is a folder</translation>
    </message>
</context>
<context>
    <name>PageFonts</name>
    <message>
        <source>没有含中文字形的字体，信道表会印成方框：请安装 fonts-arphic-ukai 和 fonts-arphic-uming</source>
        <translation>no font has the Chinese characters, the channel list would print as boxes: install fonts-arphic-ukai and fonts-arphic-uming</translation>
    </message>
</context>
<context>
    <name>PortAccess</name>
    <message>
        <source>%1 属于 %2 组：sudo usermod -aG %2 $USER，然后重新登录</source>
        <translation>%1 belongs to group %2: sudo usermod -aG %2 $USER, then log in again</translation>
    </message>
    <message>
        <source>进程 %1</source>
        <translation>process %1</translation>
    </message>
    <message>
        <source>进程 %1（%2）</source>
        <translation>process %1 (%2)</translation>
    </message>
</context>
<context>
    <name>PortDetails</name>
    <message>
        <source>设备：%1</source>
        <translation>Device: %1</translation>
    </message>
    <message>
        <source>厂商：%1</source>
        <translation>Manufacturer: %1</translation>
    </message>
    <message>
        <source>USB 标识：%1</source>
        <translation>USB ID: %1</translation>
    </message>
    <message>
        <source>序列号：%1</source>
        <translation>Serial number: %1</translation>
    </message>
</context>
<context>
    <name>PortDialog</name>
    <message>
        <source>选择端口</source>
        <translation>Select port</translation>
    </message>
    <message>
        <source>请选择串行口:</source>
        <translation>Choose a serial port:</translation>
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
        <source>系统信息&apos;</source>
        <translation>System Information</translation>
    </message>
    <message>
        <source>选用的串行端口 无效！ </source>
        <translation>The chosen serial port is not usable.</translation>
    </message>
</context>
<context>
    <name>PortSelection</name>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>PrintCommands</name>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>无法打印信道表 ！！
%1</source>
        <translation>Cannot print the channel list.
%1</translation>
    </message>
    <message>
        <source>信道表.pdf</source>
        <translation>channels.pdf</translation>
    </message>
    <message>
        <source>文件 %1 无法导出 ！！
%2</source>
        <translation>File %1 cannot be exported.
%2</translation>
    </message>
    <message>
        <source>已导出 %1</source>
        <translation>Exported %1</translation>
    </message>
</context>
<context>
    <name>ProgramGuide</name>
    <message>
        <source>本程序另有</source>
        <translation>This program also offers</translation>
    </message>
    <message>
        <source>端口：在菜单栏的“选择端口”中选择写频电缆所在的串行端口。
编辑：Ctrl+Z 撤销，Ctrl+Y 重做；Ctrl+C、Ctrl+V 复制、粘贴单元格，Delete 清空所选单元格。
导入与导出：文件 → 导入…、导出…，与 CSV、CHIRP 表格和 JSON 交换信道。
离线编辑：不接对讲机也可编辑表格、打开和保存信道文件（qz300 --offline）。
安全写入：对讲机没有应答时先询问；写入前读出原有信道存为备份（文件 → 恢复备份…）并列出改动，写入后读回校验，每次写入都有记录；三项可在编辑菜单中关闭。130 到 500 MHz 以外的频率不写入。文件：Ctrl+O 打开，Ctrl+S 保存，文件 → 最近的文件。
打印：文件 → 打印… 预览并打印信道表，文件 → 导出 PDF… 把它存为 PDF 文件。</source>
        <translation>Port: in the menu bar, &quot;Select port&quot; chooses the serial port of the programming cable.
Editing: Ctrl+Z undo, Ctrl+Y redo; Ctrl+C, Ctrl+V copy and paste cells, Delete clears the selected cells.
Import and export: File → Import…, Export… exchange channels with CSV, CHIRP sheets and JSON.
Edit offline: without the radio, edit the table and open and save channel files (qz300 --offline).
Safe writes: a radio that does not answer is asked about first; before writing, the channels it holds are read and kept as a backup (File → Restore backup…) and the changes are listed; afterwards they are read back and verified, and every write is logged; the Edit menu turns these three off. Frequencies outside 130 to 500 MHz are not written. Files: Ctrl+O opens, Ctrl+S saves, File → Recent files.
Printing: File → Print… previews and prints the channel list, File → Export PDF… saves it as a PDF file.</translation>
    </message>
</context>
<context>
    <name>ProgramSettings</name>
    <message>
        <source>设置文件 %1 不是普通文件：本次的设置不会保存</source>
        <translation>The settings file %1 is not a regular file: settings are not kept this time</translation>
    </message>
</context>
<context>
    <name>RadioLinkController</name>
    <message>
        <source>错误警告</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>错误警告 </source>
        <translation>Error </translation>
    </message>
    <message>
        <source>端口已断开...</source>
        <translation>Port disconnected</translation>
    </message>
    <message>
        <source>读信道</source>
        <translation>read the radio</translation>
    </message>
    <message>
        <source>写信道</source>
        <translation>write the radio</translation>
    </message>
    <message>
        <source>COM%1（%2）</source>
        <translation>COM%1 (%2)</translation>
    </message>
    <message>
        <source>读信道数据</source>
        <translation>Read from radio</translation>
    </message>
    <message>
        <source>正在传送数据,,,,,,,</source>
        <translation>Sending the channels…</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库，没有读信道：
%1</source>
        <translation>The channels could not be stored in the database; the radio was not read:
%1</translation>
    </message>
    <message>
        <source>正在写信道数据。现在退出，对讲机中只写入了部分信道，信道数据将不完整。
继续写信道，还是放弃写信道并退出？</source>
        <translation>The channels are being written. Exiting now leaves only some channels written, and the radio&apos;s channels incomplete.
Continue writing, or give up the write and exit?</translation>
    </message>
    <message>
        <source>继续写信道</source>
        <translation>Continue writing</translation>
    </message>
    <message>
        <source>放弃并退出</source>
        <translation>Give up and exit</translation>
    </message>
    <message>
        <source>写入中断</source>
        <translation>Write interrupted</translation>
    </message>
    <message>
        <source>写信道已中断，对讲机中的信道数据不完整。
请在使用对讲机前重新写信道数据。</source>
        <translation>The write was interrupted; the radio&apos;s channels are incomplete.
Write the channels again before using the radio.</translation>
    </message>
    <message>
        <source>串行端口 %1 已断开，无法%2！
接好电缆后，程序会自动重新打开这个端口。</source>
        <translation>Serial port %1 is disconnected: cannot %2.
Once the cable is back, the program opens this port again by itself.</translation>
    </message>
    <message>
        <source>串行端口没有打开，无法%1！</source>
        <translation>The serial port is not open: cannot %1.</translation>
    </message>
    <message>
        <source>串行端口 %1 已断开。
接好电缆后，程序会自动重新打开这个端口。</source>
        <translation>Serial port %1 is disconnected.
Once the cable is back, the program opens this port again by itself.</translation>
    </message>
    <message>
        <source>端口已恢复...</source>
        <translation>Port reconnected</translation>
    </message>
    <message>
        <source>数据传送完毕...</source>
        <translation>Transfer complete</translation>
    </message>
    <message>
        <source>写入完成</source>
        <translation>Written</translation>
    </message>
    <message>
        <source>写入失败：端口出错</source>
        <translation>Write failed: port error</translation>
    </message>
    <message>
        <source>写信道中断，串行端口出错：%1
对讲机中的信道数据可能不完整，请重新选择端口后再写一次。</source>
        <translation>The write was interrupted by a serial port error: %1
The radio&apos;s channels may be incomplete; choose the port again and write once more.</translation>
    </message>
    <message>
        <source>读出信道数据完毕！</source>
        <translation>Read complete</translation>
    </message>
    <message>
        <source>读出完成</source>
        <translation>Read complete</translation>
    </message>
    <message>
        <source>读出失败</source>
        <translation>Read failed</translation>
    </message>
    <message>
        <source>对讲机没有应答（端口 COM%1）。请检查电缆和对讲机电源。仍要写入吗？</source>
        <translation>The radio does not answer (port COM%1). Check the cable and that the radio is on. Write anyway?</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库，没有写入对讲机：
%1</source>
        <translation>The channels could not be stored in the database; nothing was written to the radio:
%1</translation>
    </message>
    <message>
        <source>正在读出对讲机中原有的信道,,,,,,,</source>
        <translation>Reading the channels the radio holds now…</translation>
    </message>
    <message>
        <source>对讲机中原有的信道无法备份：
%1</source>
        <translation>The channels the radio holds could not be backed up:
%1</translation>
    </message>
    <message>
        <source>写入前没有读到对讲机中原有的信道，无法备份：
%1</source>
        <translation>The channels the radio holds could not be read before the write, so there is no backup:
%1</translation>
    </message>
    <message>
        <source>写入前没有读到对讲机中原有的信道，无法显示改动：
%1</source>
        <translation>The channels the radio holds could not be read before the write, so the changes cannot be shown:
%1</translation>
    </message>
    <message>
        <source>写信道数据</source>
        <translation>Write to radio</translation>
    </message>
    <message>
        <source>对讲机中的信道与要写入的相同，写入不会改动什么。</source>
        <translation>The radio already holds these channels; the write would change nothing.</translation>
    </message>
    <message>
        <source>仍然写入</source>
        <translation>Write anyway</translation>
    </message>
    <message>
        <source>写入将改动对讲机中的以下内容（原有 → 写入）：

%1</source>
        <translation>The write will change this in the radio (now → written):

%1</translation>
    </message>
    <message>
        <source>%1

仍要写入吗？</source>
        <translation>%1

Write anyway?</translation>
    </message>
    <message>
        <source>正在读回校验,,,,,,,</source>
        <translation>Reading back to verify…</translation>
    </message>
    <message>
        <source>写入并校验完成</source>
        <translation>Written and verified</translation>
    </message>
    <message>
        <source>校验失败 %1</source>
        <translation>Verification failed: %1</translation>
    </message>
    <message>
        <source>校验失败：对讲机读回的信道与写入的不同（写入 / 读回）：

%1

请检查电缆和对讲机后再写一次。</source>
        <translation>Verification failed: the channels read back differ from those written (written / read back):

%1

Check the cable and the radio, then write again.</translation>
    </message>
    <message>
        <source>写入完成，未能校验</source>
        <translation>Written, not verified</translation>
    </message>
    <message>
        <source>信道数据已写入，但读回校验没有成功，不知道对讲机是否全部收到：
%1</source>
        <translation>The channels were written, but reading them back failed, so it is not known whether the radio took them all:
%1</translation>
    </message>
</context>
<context>
    <name>ReadTransfer</name>
    <message>
        <source>读数错误！！</source>
        <translation>Read error</translation>
    </message>
    <message>
        <source>%1
第 %2 信道：%3</source>
        <translation>%1
Channel %2: %3</translation>
    </message>
    <message>
        <source>读出的信道数据无法存入数据库：%1</source>
        <translation>The channels read could not be stored in the database: %1</translation>
    </message>
    <message>
        <source>%1
第 %2 信道：应答中有不是数字的字符</source>
        <translation>%1
Channel %2: the answer holds a character that is not a digit</translation>
    </message>
    <message>
        <source>%1
对讲机没有应答：请检查电缆和对讲机电源</source>
        <translation>%1
The radio did not answer: check the cable and the radio&apos;s power</translation>
    </message>
    <message>
        <source>%1
对讲机的应答在 %2/%3 个信道后中断</source>
        <translation>%1
The radio&apos;s answer stopped after %2 of %3 channels</translation>
    </message>
    <message>
        <source>%1
串行端口 %2 出错：%3</source>
        <translation>%1
Serial port %2 failed: %3</translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <source>无此端口</source>
        <translation>no such port</translation>
    </message>
    <message>
        <source>设备不存在</source>
        <translation>device missing</translation>
    </message>
    <message>
        <source>已被其他程序占用</source>
        <translation>in use by another program</translation>
    </message>
    <message>
        <source>无权限访问（需加入 dialout 组）</source>
        <translation>no permission (join the dialout group)</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>已被%1占用</source>
        <translation>in use by %1</translation>
    </message>
    <message>
        <source>已被占用：锁文件 %1 不是普通文件</source>
        <translation>in use: its lock %1 is not a regular file</translation>
    </message>
</context>
<context>
    <name>SheetExchange</name>
    <message>
        <source>|所有文件|*</source>
        <translation>|All files|*</translation>
    </message>
    <message>
        <source>…还有 %1 条</source>
        <translation>…and %1 more</translation>
    </message>
</context>
<context>
    <name>SheetMessages</name>
    <message>
        <source>%1 MHz 超出 %2 到 %3 MHz 的范围</source>
        <translation>%1 MHz is outside %2 to %3 MHz</translation>
    </message>
    <message>
        <source>第 %1 行第 %2 列：</source>
        <translation>line %1, column %2: </translation>
    </message>
    <message>
        <source>第 %1 行：</source>
        <translation>line %1: </translation>
    </message>
    <message>
        <source>“%1”不是以 MHz 为单位的频率</source>
        <translation>&quot;%1&quot; is not a frequency in MHz</translation>
    </message>
    <message>
        <source>频差“%1”不是 on 或 off</source>
        <translation>beat shift &quot;%1&quot; is not on or off</translation>
    </message>
    <message>
        <source>第 %1 项（信道 %2）：</source>
        <translation>item %1 (channel %2): </translation>
    </message>
    <message>
        <source>引号括起的字段没有结束</source>
        <translation>a quoted field is not closed</translation>
    </message>
    <message>
        <source>应为“squelch,&lt;静噪级别 0 到 9&gt;”</source>
        <translation>expected &quot;squelch,&lt;level 0 to 9&gt;&quot;</translation>
    </message>
    <message>
        <source>静噪级别“%1”不是 0 到 9 的数字</source>
        <translation>squelch level &quot;%1&quot; is not a digit 0 to 9</translation>
    </message>
    <message>
        <source>应为表头“%1”</source>
        <translation>expected the header &quot;%1&quot;</translation>
    </message>
    <message>
        <source>应为“%1”</source>
        <translation>expected &quot;%1&quot;</translation>
    </message>
    <message>
        <source>应为 4 列，实有 %1 列</source>
        <translation>expected 4 columns, found %1</translation>
    </message>
    <message>
        <source>信道“%1”不在 1 到 %2 之间</source>
        <translation>channel &quot;%1&quot; is not 1 to %2</translation>
    </message>
    <message>
        <source>信道 %1 重复（首次在第 %2 行）</source>
        <translation>channel %1 again (first on line %2)</translation>
    </message>
    <message>
        <source>没有静噪行</source>
        <translation>no squelch line</translation>
    </message>
    <message>
        <source>没有表头</source>
        <translation>no header</translation>
    </message>
    <message>
        <source>只有表头，没有信道行</source>
        <translation>a header and no channel rows</translation>
    </message>
    <message>
        <source>第 %1 行第 %2 列</source>
        <translation>line %1, column %2</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>应为含有“squelch”和“channels”的对象</source>
        <translation>expected an object with &quot;squelch&quot; and &quot;channels&quot;</translation>
    </message>
    <message>
        <source>squelch：不是 0 到 9 的数字</source>
        <translation>squelch: not a digit 0 to 9</translation>
    </message>
    <message>
        <source>channels：应为 %1 个信道的列表</source>
        <translation>channels: expected a list of %1 channels</translation>
    </message>
    <message>
        <source>%1.channel：不在 1 到 %2 之间</source>
        <translation>%1.channel: not 1 to %2</translation>
    </message>
    <message>
        <source>%1.channel：信道 %2 重复</source>
        <translation>%1.channel: channel %2 again</translation>
    </message>
    <message>
        <source>%1.%2：应为文本或数字</source>
        <translation>%1.%2: expected a text or a number</translation>
    </message>
    <message>
        <source>%1.%2（信道 %3）：</source>
        <translation>%1.%2 (channel %3): </translation>
    </message>
    <message>
        <source>第 1 项：静噪级别“%1”不是 0 到 9 的数字</source>
        <translation>item 1: squelch level &quot;%1&quot; is not a digit 0 to 9</translation>
    </message>
    <message>
        <source>不是文本文件</source>
        <translation>not a text file</translation>
    </message>
    <message>
        <source>少于 %1 项</source>
        <translation>fewer than %1 items</translation>
    </message>
    <message>
        <source>大于 %1 MiB，未读取</source>
        <translation>larger than %1 MiB; not read</translation>
    </message>
    <message>
        <source>值“%1”含有逗号或换行</source>
        <translation>the value &quot;%1&quot; holds a comma or a line end</translation>
    </message>
    <message>
        <source>不是 %1 个信道</source>
        <translation>not %1 channels</translation>
    </message>
    <message>
        <source>发送频率 </source>
        <translation>transmit </translation>
    </message>
    <message>
        <source>第 %1 行第 %2 列（%3）：</source>
        <translation>line %1, column %2 (%3): </translation>
    </message>
    <message>
        <source>亚音 %1 Hz</source>
        <translation>tone %1 Hz</translation>
    </message>
    <message>
        <source>亚音静噪 %1 Hz</source>
        <translation>tone squelch %1 Hz</translation>
    </message>
    <message>
        <source>亚音方式 %1</source>
        <translation>tone mode %1</translation>
    </message>
    <message>
        <source>名称“%1”</source>
        <translation>name &quot;%1&quot;</translation>
    </message>
    <message>
        <source>调制方式 %1</source>
        <translation>mode %1</translation>
    </message>
    <message>
        <source>扫描跳过 %1</source>
        <translation>scan skip %1</translation>
    </message>
    <message>
        <source>备注“%1”</source>
        <translation>comment &quot;%1&quot;</translation>
    </message>
    <message>
        <source>、</source>
        <comment>between the items of a list</comment>
        <translation>, </translation>
    </message>
    <message>
        <source>“%1”的小数超过六位</source>
        <translation>&quot;%1&quot; has more than six decimals</translation>
    </message>
    <message>
        <source>没有接收频率</source>
        <translation>no receive frequency</translation>
    </message>
    <message>
        <source>split 需要在 Offset 中给出发送频率</source>
        <translation>split needs the transmit frequency in Offset</translation>
    </message>
    <message>
        <source>双工“%1”不是空、+、-、split 或 off</source>
        <translation>duplex &quot;%1&quot; is not empty, +, -, split or off</translation>
    </message>
    <message>
        <source>%1 MHz 存为 %2</source>
        <translation>%1 MHz is stored as %2</translation>
    </message>
    <message>
        <source>发送频率 %1 MHz 存为 %2</source>
        <translation>transmit %1 MHz is stored as %2</translation>
    </message>
    <message>
        <source>第 %1 行：未保留：%2</source>
        <translation>line %1: not kept: %2</translation>
    </message>
    <message>
        <source>第 %1 行：引号括起的字段没有结束</source>
        <translation>line %1: a quoted field is not closed</translation>
    </message>
    <message>
        <source>第 %1 行：应为列名的表头，其中要有 Frequency</source>
        <translation>line %1: expected a header naming the columns, Frequency among them</translation>
    </message>
    <message>
        <source>位置“%1”不是整数</source>
        <translation>location &quot;%1&quot; is not a whole number</translation>
    </message>
    <message>
        <source>位置 %1 重复（首次在第 %2 行）</source>
        <translation>location %1 again (first on line %2)</translation>
    </message>
    <message>
        <source>位置 0 未导入：位置 1 到 %1 即信道 1 到 %1</source>
        <translation>location 0 is left out: locations 1 to %1 are channels 1 to %1</translation>
    </message>
    <message>
        <source>位置 %1 起没有行</source>
        <translation>no row from location %1 on</translation>
    </message>
    <message>
        <source>第 %1 行：共 %2 个信道，电台只能存 %3 个</source>
        <translation>line %1: %2 channels; the radio holds %3</translation>
    </message>
    <message>
        <source>信道 1 到 %1 为位置 %2 到 %3，其余 %4 行未导入</source>
        <translation>channels 1 to %1 are locations %2 to %3; %4 other rows are left out</translation>
    </message>
    <message>
        <source>位置 %1 → 信道 %2</source>
        <translation>location %1 to channel %2</translation>
    </message>
    <message>
        <source>各行按位置顺序填入信道：</source>
        <translation>rows fill channels in location order: </translation>
    </message>
    <message>
        <source>静噪级别 %1 未写入：此格式没有它的位置</source>
        <translation>the squelch level %1 is not written: the layout has no place for it</translation>
    </message>
    <message>
        <source>信道 %1：没有接收频率的发送频率未写入</source>
        <translation>channel %1: a transmit frequency without a receive frequency is not written</translation>
    </message>
    <message>
        <source>信道 %1：接收频率“%2”不是以 MHz 为单位的频率</source>
        <translation>channel %1: receive &quot;%2&quot; is not a frequency in MHz</translation>
    </message>
    <message>
        <source>信道 %1：发送频率“%2”不是以 MHz 为单位的频率</source>
        <translation>channel %1: transmit &quot;%2&quot; is not a frequency in MHz</translation>
    </message>
    <message>
        <source>第 %1 行：只有表头，没有信道行：所有信道均为空</source>
        <translation>line %1: a header and no channel rows: every channel is empty</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>系统信息</source>
        <translation>System Information</translation>
    </message>
    <message>
        <source>重试</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>SystemError</name>
    <message>
        <source>没有权限</source>
        <translation>no permission</translation>
    </message>
    <message>
        <source>磁盘已满</source>
        <translation>disk full</translation>
    </message>
    <message>
        <source>文件系统只读</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>folder missing</translation>
    </message>
    <message>
        <source>文件超过允许的大小</source>
        <translation>file larger than allowed</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>WorkingFolder</name>
    <message>
        <source>找不到用户数据文件夹，系统失败，退出！</source>
        <translation>No user data folder found. The program cannot continue and will close.</translation>
    </message>
    <message>
        <source>无法建立数据文件夹 %1，系统失败，退出！</source>
        <translation>Cannot create data folder %1. The program cannot continue and will close.</translation>
    </message>
    <message>
        <source>无法进入数据文件夹 %1，系统失败，退出！</source>
        <translation>Cannot enter data folder %1. The program cannot continue and will close.</translation>
    </message>
</context>
<context>
    <name>WriteLog</name>
    <message>
        <source>写入记录无法保存：无法创建文件夹 %1</source>
        <translation>The write log could not be saved: cannot create the folder %1</translation>
    </message>
    <message>
        <source>写入记录无法保存：%1：%2</source>
        <translation>The write log could not be saved: %1: %2</translation>
    </message>
    <message>
        <source>写入记录无法保存：%1 不是普通文件</source>
        <translation>The write log could not be saved: %1 is not a regular file</translation>
    </message>
</context>
<context>
    <name>WriteOptionsMenu</name>
    <message>
        <source>写入前备份</source>
        <translation>Back up before writing</translation>
    </message>
    <message>
        <source>写入前显示改动</source>
        <translation>Show changes before writing</translation>
    </message>
    <message>
        <source>写入后校验</source>
        <translation>Verify after writing</translation>
    </message>
</context>
<context>
    <name>WriteReport</name>
    <message>
        <source>第 %1 信道：%2 → %3</source>
        <translation>Channel %1: %2 → %3</translation>
    </message>
    <message>
        <source>第 %1 信道：写入 %2，读回 %3</source>
        <translation>Channel %1: written %2, read back %3</translation>
    </message>
    <message>
        <source>第 %1 信道</source>
        <translation>channel %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>静噪级别：%1 → %2</source>
        <translation>Squelch level: %1 → %2</translation>
    </message>
    <message>
        <source>静噪级别：写入 %1，读回 %2</source>
        <translation>Squelch level: written %1, read back %2</translation>
    </message>
    <message>
        <source>静噪级别</source>
        <translation>squelch level</translation>
    </message>
</context>
<context>
    <name>WriteSession</name>
    <message>
        <source>对讲机没有应答</source>
        <translation>The radio did not answer</translation>
    </message>
    <message>
        <source>写入前被中止</source>
        <translation>Stopped before the write</translation>
    </message>
    <message>
        <source>读回校验被中止</source>
        <translation>Verification stopped</translation>
    </message>
</context>
<context>
    <name>WriteTransfer</name>
    <message>
        <source>正在写信道</source>
        <translation>The channels are being written</translation>
    </message>
    <message>
        <source>串行端口没有打开，无法写信道！</source>
        <translation>The serial port is not open: cannot write the radio.</translation>
    </message>
    <message>
        <source>数据表只有 %1 个信道，少于 %2 个</source>
        <translation>The table has only %1 channels, fewer than %2</translation>
    </message>
    <message>
        <source>第 %1 信道的数据无法写入对讲机：%2。</source>
        <translation>Channel %1 cannot be written to the radio: %2.</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>receive frequency</translation>
    </message>
    <message>
        <source>发送频率</source>
        <translation>transmit frequency</translation>
    </message>
    <message>
        <source>第 %1 信道的%2“%3”不是频率，没有写入对讲机。</source>
        <translation>The %2 &quot;%3&quot; of channel %1 is not a frequency; nothing was written to the radio.</translation>
    </message>
    <message>
        <source>第 %1 信道的%2 %3 超出范围（%4 到 %5 MHz），没有写入对讲机。</source>
        <translation>The %2 %3 of channel %1 is out of range (%4 to %5 MHz); nothing was written to the radio.</translation>
    </message>
</context>
</TS>
