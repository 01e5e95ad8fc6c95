// The object names of the windows' parts. UI tests and accessibility tools find a part by the
// control name it had in the program's original design, so those names stay, here and only here;
// the code itself calls each part by what it is for.
#pragma once

#include <QString>

namespace DesignNames {

/// The main window 启动窗体 and what it is made of.
namespace Main {
inline QString window() { return QStringLiteral("启动窗体"); }
inline QString serialLink() { return QStringLiteral("MSComm1"); }
inline QString channelTable() { return QStringLiteral("Adodc1"); }
inline QString fileChooser() { return QStringLiteral("CommonDialog1"); }
inline QString writePacingTimer() { return QStringLiteral("Timer1"); }
inline QString statusClearTimer() { return QStringLiteral("Timer2"); }
inline QString pollTimer() { return QStringLiteral("Timer3"); }
inline QString readArmTimer() { return QStringLiteral("Timer4"); }
inline QString topLine() { return QStringLiteral("Line1"); }
inline QString titleLabel() { return QStringLiteral("Label1"); }
inline QString statusLabel() { return QStringLiteral("Label2"); }
inline QString modelLabel() { return QStringLiteral("Label3"); }
inline QString squelchCaption() { return QStringLiteral("Label4"); }
inline QString shiftCaption() { return QStringLiteral("Label5"); }
inline QString squelchBox() { return QStringLiteral("Combo1"); }
inline QString shiftBox() { return QStringLiteral("Combo2"); }
inline QString channelGrid() { return QStringLiteral("DataGrid1"); }
inline QString fileMenu() { return QStringLiteral("文件"); }
inline QString openCommand() { return QStringLiteral("打开"); }
inline QString saveCommand() { return QStringLiteral("保存"); }
inline QString readCommand() { return QStringLiteral("读信道"); }
inline QString writeCommand() { return QStringLiteral("写信道"); }
inline QString portCommand() { return QStringLiteral("端口"); }
inline QString exitCommand() { return QStringLiteral("退出"); }
inline QString helpMenu() { return QStringLiteral("帮助"); }
inline QString instructionsCommand() { return QStringLiteral("操作"); }
inline QString aboutCommand() { return QStringLiteral("关于"); }
} // namespace Main

/// The port selection dialog 选择端口.
namespace PortChoice {
inline QString window() { return QStringLiteral("Dialog"); }
inline QString prompt() { return QStringLiteral("Label1"); }
inline QString okButton() { return QStringLiteral("OKButton"); }
inline QString cancelButton() { return QStringLiteral("CancelButton"); }
/// The option for COMn.
inline QString portOption(int port) { return QStringLiteral("Option%1").arg(port); }
} // namespace PortChoice

/// The About box 关于本软件.
namespace About {
inline QString window() { return QStringLiteral("frmAbout"); }
inline QString icon() { return QStringLiteral("picIcon"); }
inline QString title() { return QStringLiteral("lblTitle"); }
inline QString version() { return QStringLiteral("lblVersion"); }
inline QString description() { return QStringLiteral("lblDescription"); }
inline QString shadowLine() { return QStringLiteral("Line1(1)"); }
inline QString lightLine() { return QStringLiteral("Line1(0)"); }
inline QString disclaimer() { return QStringLiteral("lblDisclaimer"); }
inline QString okButton() { return QStringLiteral("cmdOK"); }
inline QString systemInfoButton() { return QStringLiteral("cmdSysInfo"); }
} // namespace About

/// The operating-instructions window 操作说明.
namespace Instructions {
inline QString window() { return QStringLiteral("frmAbout1"); }
inline QString text() { return QStringLiteral("lblDescription"); }
inline QString okButton() { return QStringLiteral("cmdOK"); }
} // namespace Instructions

} // namespace DesignNames
