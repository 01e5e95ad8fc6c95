#include "core/radio/checkreport.h"

#include "core/radio/checkwording.h"

#include <QCoreApplication>
#include <QSysInfo>

namespace CheckReport {

Content ofThisSystem(PortTable ports, QList<PortCheck> results)
{
    Content content;
    content.programVersion = QCoreApplication::applicationVersion();
    content.system = QStringLiteral("%1 (%2 %3, %4)")
                         .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture());
    content.qtVersion = QString::fromLatin1(qVersion());
    content.ports = std::move(ports);
    content.results = std::move(results);
    return content;
}

QString text(const Content &content, PortAccess::Language language)
{
    const bool en = language == PortAccess::Language::English;
    const auto heading = [en](const char *english, const QString &chinese) { return en ? QString::fromUtf8(english) : chinese; };
    const QString none = heading("(nothing recorded)", QCoreApplication::translate("CheckReport", "（没有记录）"));
    QString out;
    out += heading("QZ300 connection check", QCoreApplication::translate("CheckReport", "QZ300 连接检查报告")) + u'\n';
    out += heading("Program version: ", QCoreApplication::translate("CheckReport", "程序版本：")) + content.programVersion + u'\n';
    out += heading("System: ", QCoreApplication::translate("CheckReport", "系统：")) + content.system + u'\n';
    out += heading("Qt version: ", QCoreApplication::translate("CheckReport", "Qt 版本：")) + content.qtVersion + u'\n';
    out += u'\n' + heading("Port table:", QCoreApplication::translate("CheckReport", "端口表：")) + u'\n';
    for (int port = PortTable::FirstPort; port <= PortTable::LastPort; ++port) {
        const QString device = content.ports.devicePath(port);
        out += QStringLiteral("  COM%1  %2\n").arg(port).arg(device.isEmpty() ? QStringLiteral("-") : device);
    }
    out += u'\n' + heading("Check:", QCoreApplication::translate("CheckReport", "检查结果：")) + u'\n';
    out += CheckWording::text(content.results, language);
    out += u'\n' + heading("The line during the check:", QCoreApplication::translate("CheckReport", "检查时的线路记录：")) + u'\n';
    out += content.checkTrace.isEmpty() ? none + u'\n' : content.checkTrace;
    out += u'\n' + heading("The line since the last transfer began:", QCoreApplication::translate("CheckReport", "上次传输以来的线路记录：")) + u'\n';
    out += content.transferTrace.isEmpty() ? none + u'\n' : content.transferTrace;
    return out;
}

} // namespace CheckReport
