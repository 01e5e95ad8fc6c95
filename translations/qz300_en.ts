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
    <name>ChannelFileCommands</name>
    <message>
        <source>文件 %1 无法打开 ！！</source>
        <translation>File %1 cannot be opened!!</translation>
    </message>
    <message>
        <source>文件 %1 读取失败 ！！</source>
        <translation>File %1 could not be read!!</translation>
    </message>
    <message>
        <source>文件 %1 不是完整的信道文件 ！！</source>
        <translation>File %1 is not a complete channel file!!</translation>
    </message>
    <message>
        <source>信道表不足 16 个信道，文件 %1 未保存 ！！</source>
        <translation>The channel table has fewer than 16 channels; file %1 was not saved!!</translation>
    </message>
    <message>
        <source>数据中含有逗号或换行，文件 %1 未保存 ！！</source>
        <translation>The data contains a comma or a line break; file %1 was not saved!!</translation>
    </message>
    <message>
        <source>文件 %1 无法保存 ！！</source>
        <translation>File %1 cannot be saved!!</translation>
    </message>
    <message>
        <source>打开文件</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库，文件 %1 未打开 ！！</source>
        <translation>The channels could not be stored in the database; file %1 was not opened!!</translation>
    </message>
    <message>
        <source>文件 %1 无法导入 ！！
%2</source>
        <translation>File %1 cannot be imported!!
%2</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>信道数据无法存入数据库，文件 %1 未导入 ！！</source>
        <translation>The channels could not be stored in the database; file %1 was not imported!!</translation>
    </message>
    <message>
        <source>文件 %1 已导入，以下内容未导入：</source>
        <translation>File %1 was imported; the following was left out:</translation>
    </message>
    <message>
        <source>文件 %1 无法导出 ！！</source>
        <translation>File %1 cannot be exported!!</translation>
    </message>
    <message>
        <source>文件 %1 无法导出 ！！
%2</source>
        <translation>File %1 cannot be exported!!
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
        <translation>Shift flag &quot;%1&quot; is not 0 or 1</translation>
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
        <source>数据超出范围 ！！</source>
        <translation>Data out of range!!</translation>
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
        <translation>Offline editing: no serial port is open. First use &quot;Select port&quot; to choose the port the radio is connected to.</translation>
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
        <translation>Shift:</translation>
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
        <source>无串行端口可用，系统失败，退出！ </source>
        <translation>No serial port is available. The program cannot continue and will close! </translation>
    </message>
    <message>
        <source>对讲机就绪...</source>
        <translation>Radio ready...</translation>
    </message>
    <message>
        <source>静燥级别不可大于 9 ！！！</source>
        <translation>The squelch level cannot be above 9!!!</translation>
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
        <source>数据超出范围 ！！</source>
        <translation>Data out of range!!</translation>
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
</context>
<context>
    <name>Options</name>
    <message>
        <source>离线编辑：不打开串行端口（信道表、文件可用；读写对讲机前请用“选择端口”选择端口）。</source>
        <translation>Offline editing: open no serial port (the channel table and files work; choose a port with &quot;Select port&quot; before reading or writing the radio).</translation>
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
    <name>PortDetails</name>
    <message>
        <source>设备：%1</source>
        <translation>Device: %1</translation>
    </message>
    <message>
        <source>厂商：%1</source>
        <translation>Maker: %1</translation>
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
        <translation>The chosen serial port is not usable! </translation>
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
        <translation>Port disconnected...</translation>
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
        <translation>Transferring data.......</translation>
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
        <translation>Serial port %1 is disconnected: cannot %2!
Once the cable is back, the program opens this port again by itself.</translation>
    </message>
    <message>
        <source>串行端口没有打开，无法%1！</source>
        <translation>The serial port is not open: cannot %1!</translation>
    </message>
    <message>
        <source>串行端口 %1 已断开。
接好电缆后，程序会自动重新打开这个端口。</source>
        <translation>Serial port %1 is disconnected.
Once the cable is back, the program opens this port again by itself.</translation>
    </message>
    <message>
        <source>端口已恢复...</source>
        <translation>Port back...</translation>
    </message>
    <message>
        <source>数据传送完毕...</source>
        <translation>Transfer complete...</translation>
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
        <translation>Channels read!</translation>
    </message>
    <message>
        <source>读出完成</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>读出失败</source>
        <translation>Read failed</translation>
    </message>
</context>
<context>
    <name>ReadTransfer</name>
    <message>
        <source>读数错误！！</source>
        <translation>Read error!!</translation>
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
    <name>Startup</name>
    <message>
        <source>系统信息</source>
        <translation>System Information</translation>
    </message>
</context>
<context>
    <name>WorkingFolder</name>
    <message>
        <source>找不到用户数据文件夹，系统失败，退出！</source>
        <translation>No user data folder found. The program cannot continue and will close!</translation>
    </message>
    <message>
        <source>无法建立数据文件夹 %1，系统失败，退出！</source>
        <translation>Cannot create data folder %1. The program cannot continue and will close!</translation>
    </message>
    <message>
        <source>无法进入数据文件夹 %1，系统失败，退出！</source>
        <translation>Cannot enter data folder %1. The program cannot continue and will close!</translation>
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
        <translation>The serial port is not open: cannot write the radio!</translation>
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
        <source>信道数据无法存入数据库，没有写入对讲机：
%1</source>
        <translation>The channels could not be stored in the database; nothing was written to the radio:
%1</translation>
    </message>
</context>
</TS>
