#include "core/radio/checkwording.h"

#include "core/channels/channelset.h"
#include "core/serial/portdetails.h"

#include <QCoreApplication>
#include <QStringList>

#include <iterator>

namespace CheckWording {

namespace {

using Finding = CheckStep::Finding;

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

/// "process 1234 (minicom)", "进程 1234（minicom）".
QString process(qint64 pid, const QString &program, Language language)
{
    if (language == Language::English)
        return program.isEmpty() ? QStringLiteral("process %1").arg(pid) : QStringLiteral("process %1 (%2)").arg(pid).arg(program);
    return program.isEmpty() ? QCoreApplication::translate("CheckWording", "进程 %1").arg(pid)
                             : QCoreApplication::translate("CheckWording", "进程 %1（%2）").arg(pid).arg(program);
}

QString deviceFound(const DeviceFacts &facts, Language language)
{
    const bool en = language == Language::English;
    QString kind;
    switch (facts.kind) {
    case DeviceFacts::Kind::UsbAdapter:
        kind = en ? QStringLiteral("USB serial adapter") : QCoreApplication::translate("CheckWording", "USB 串口适配器");
        break;
    case DeviceFacts::Kind::OnBoard:
        kind = en ? QStringLiteral("on-board serial port") : QCoreApplication::translate("CheckWording", "主板串口");
        break;
    case DeviceFacts::Kind::PseudoTerminal:
        kind = en ? QStringLiteral("pseudo-terminal (a program plays the far end)") : QCoreApplication::translate("CheckWording", "伪终端（另一端是一个程序）");
        break;
    case DeviceFacts::Kind::Other:
        kind = en ? QStringLiteral("serial device") : QCoreApplication::translate("CheckWording", "串行设备");
        break;
    }
    QStringList parts{QStringLiteral("%1 %2").arg(facts.node, kind)};
    if (!facts.usb.isEmpty())
        parts << facts.usb.summary();
    if (!facts.driver.isEmpty())
        parts << (en ? QStringLiteral("driver %1") : QCoreApplication::translate("CheckWording", "驱动 %1")).arg(facts.driver);
    if (!facts.byIdName.isEmpty())
        parts << QStringLiteral("%1 → %2").arg(facts.byIdName, facts.node);
    else if (facts.path != facts.node)
        parts << QStringLiteral("%1 → %2").arg(facts.path, facts.node);
    return parts.join(en ? QStringLiteral("; ") : QCoreApplication::translate("CheckWording", "；"));
}

QString lockForm(PortHolders::Lock::Form form, Language language)
{
    if (form == PortHolders::Lock::Form::Qt)
        return language == Language::English ? QStringLiteral("Qt's form") : QCoreApplication::translate("CheckWording", "Qt 格式");
    return language == Language::English ? QStringLiteral("UUCP form") : QCoreApplication::translate("CheckWording", "UUCP 格式");
}

QString holders(const QList<PortHolders::Holder> &list, Language language)
{
    QStringList named;
    for (const PortHolders::Holder &holder : list)
        named << process(holder.pid, holder.program, language);
    return named.join(language == Language::English ? QStringLiteral(", ") : QCoreApplication::translate("CheckWording", "、"));
}

QString openFailure(const CheckStep &step, Language language)
{
    const QString why = SerialLink::explain(step.openFault, step.device.node, step.openFacts, language);
    if (!why.isEmpty() && step.openFault != SerialLink::OpenFault::Other)
        return why;
    return step.openError.isEmpty() ? SerialLink::describe(step.openFault) : step.openError;
}

} // namespace

QString stepName(CheckStep::Kind kind, Language language)
{
    const bool en = language == Language::English;
    switch (kind) {
    case CheckStep::Kind::Device:
        return en ? QStringLiteral("device") : QCoreApplication::translate("CheckWording", "设备");
    case CheckStep::Kind::Access:
        return en ? QStringLiteral("access") : QCoreApplication::translate("CheckWording", "访问权限");
    case CheckStep::Kind::OtherPrograms:
        return en ? QStringLiteral("other programs") : QCoreApplication::translate("CheckWording", "其他程序");
    case CheckStep::Kind::Opening:
        return en ? QStringLiteral("opening") : QCoreApplication::translate("CheckWording", "打开端口");
    case CheckStep::Kind::Readiness:
        return en ? QStringLiteral("radio ready") : QCoreApplication::translate("CheckWording", "对讲机就绪");
    case CheckStep::Kind::Reading:
        return en ? QStringLiteral("read") : QCoreApplication::translate("CheckWording", "读信道");
    }
    return QString();
}

QString finding(const CheckStep &step, Language language)
{
    const bool en = language == Language::English;
    const DeviceFacts &device = step.device;
    switch (step.finding) {
    case Finding::NotRun:
        return en ? QStringLiteral("not run") : QCoreApplication::translate("CheckWording", "未进行");
    case Finding::DeviceFound:
        return deviceFound(device, language);
    case Finding::NoDevice:
        return en ? QStringLiteral("no device for this port") : QCoreApplication::translate("CheckWording", "此端口没有设备");
    case Finding::DeviceMissing:
        return (en ? QStringLiteral("%1 does not exist") : QCoreApplication::translate("CheckWording", "%1 不存在")).arg(device.path);
    case Finding::LinkToNowhere:
        return (en ? QStringLiteral("%1 leads to %2, which does not exist") : QCoreApplication::translate("CheckWording", "%1 指向不存在的 %2"))
            .arg(device.path, device.node);
    case Finding::NotADevice:
        return (en ? QStringLiteral("%1 is not a serial device") : QCoreApplication::translate("CheckWording", "%1 不是串行设备")).arg(device.node);
    case Finding::MayOpen:
        return en ? QStringLiteral("this user may read and write it") : QCoreApplication::translate("CheckWording", "当前用户可以读写");
    case Finding::NotInGroup:
        return (en ? QStringLiteral("this user may not open it (group %1)") : QCoreApplication::translate("CheckWording", "当前用户无权打开（%1 组）"))
            .arg(device.group);
    case Finding::GroupNotActiveYet:
        return (en ? QStringLiteral("this user is in group %1, but this login began before joining it")
                   : QCoreApplication::translate("CheckWording", "当前用户属于 %1 组，但本次登录早于加入该组"))
            .arg(device.group);
    case Finding::NoOtherProgram:
        return en ? QStringLiteral("no other program holds it") : QCoreApplication::translate("CheckWording", "没有其他程序占用");
    case Finding::StaleLock: {
        const PortHolders::Lock &lock = *step.holders.lock;
        return (en ? QStringLiteral("only lock file %1 (%2) of process %3, which has ended")
                   : QCoreApplication::translate("CheckWording", "只有已结束的进程 %3 留下的锁文件 %1（%2）"))
            .arg(lock.path, lockForm(lock.form, language))
            .arg(lock.pid);
    }
    case Finding::LockedByProcess: {
        const PortHolders::Lock &lock = *step.holders.lock;
        return (en ? QStringLiteral("held by %1: lock file %2 (%3)") : QCoreApplication::translate("CheckWording", "被%1占用：锁文件 %2（%3）"))
            .arg(process(lock.pid, lock.program, language), lock.path, lockForm(lock.form, language));
    }
    case Finding::OpenElsewhere:
        return (en ? QStringLiteral("open in %1") : QCoreApplication::translate("CheckWording", "已被%1打开")).arg(holders(step.holders.openBy, language));
    case Finding::Opened:
        return en ? QStringLiteral("opened at 1200 baud 8N1") : QCoreApplication::translate("CheckWording", "已按 1200 波特 8N1 打开");
    case Finding::OpenFailed:
        return (en ? QStringLiteral("does not open: %1") : QCoreApplication::translate("CheckWording", "无法打开：%1")).arg(openFailure(step, language));
    case Finding::RadioReady:
        return (en ? QStringLiteral("\"C\" sent, \"C\" back after %1 ms") : QCoreApplication::translate("CheckWording", "发出“C”，%1 毫秒后收到“C”"))
            .arg(number(step.ms, 0));
    case Finding::NoAnswer:
        return (en ? QStringLiteral("\"C\" sent, nothing back within %1 s") : QCoreApplication::translate("CheckWording", "发出“C”，%1 秒内没有应答"))
            .arg(QString::number(step.ms / 1000.0, 'g', 3));
    case Finding::OtherCharacters:
        return (en ? QStringLiteral("\"C\" sent, %1 characters back but no \"C\"")
                   : QCoreApplication::translate("CheckWording", "发出“C”，收到 %1 个字符，但没有“C”"))
            .arg(step.characters);
    case Finding::ReadWell:
        return (en ? QStringLiteral("16 channels read; first character after %1 ms, then %2 ms a character (1200 baud: 8.3)")
                   : QCoreApplication::translate("CheckWording", "读出 16 个信道；%1 毫秒后收到第一个字符，之后每个字符 %2 毫秒（1200 波特为 8.3）"))
            .arg(number(step.answer.answerDelayMs, 0), number(step.answer.msPerCharacter, 1));
    case Finding::ReadSilent:
        return (en ? QStringLiteral("no answer to the read command \"5\" within %1 s")
                   : QCoreApplication::translate("CheckWording", "读命令“5”发出后 %1 秒内没有应答"))
            .arg(ConnectionCheck::SilenceLimitMs / 1000);
    case Finding::EchoOnly:
        return en ? QStringLiteral("only the command \"5\" came back: no radio behind an echoing adapter")
                  : QCoreApplication::translate("CheckWording", "只收回了刚发出的命令“5”：回显的适配器后面没有对讲机应答");
    case Finding::EchoThenAnswer:
        return (en ? QStringLiteral("the answer begins with the command \"5\" just sent: the cable echoes (%1 characters followed)")
                   : QCoreApplication::translate("CheckWording", "应答以刚发出的命令“5”开头：电缆有回显（其后收到 %1 个字符）"))
            .arg(step.answer.characters);
    case Finding::Stopped:
        return (en ? QStringLiteral("the answer stopped after %1 of 16 channels (%2 of %3 characters)")
                   : QCoreApplication::translate("CheckWording", "应答在 %1/16 个信道后中断（收到 %2/%3 个字符）"))
            .arg(step.answer.completeFrames)
            .arg(step.answer.characters)
            .arg(ReadAnswer::AnswerLength);
    case Finding::Noise:
        if (step.answer.frame > ChannelCount)
            return (en ? QStringLiteral("noise: %1 characters, more than 16 channels hold")
                       : QCoreApplication::translate("CheckWording", "杂波：收到 %1 个字符，多于 16 个信道的长度"))
                .arg(step.answer.characters);
        return (en ? QStringLiteral("noise: characters that are not digits in channel %1")
                   : QCoreApplication::translate("CheckWording", "杂波：第 %1 信道中有不是数字的字符"))
            .arg(step.answer.frame);
    case Finding::NotAChannel:
        return (en ? QStringLiteral("16 frames of digits, but channel %1 is no channel")
                   : QCoreApplication::translate("CheckWording", "收到 16 帧数字，但第 %1 信道不是有效信道"))
            .arg(step.answer.frame);
    }
    return QString();
}

QString remedy(const CheckStep &step, Language language)
{
    if (step.verdict != CheckStep::Verdict::Problem)
        return QString();
    const bool en = language == Language::English;
    switch (step.finding) {
    case Finding::NoDevice:
        return en ? QStringLiteral("plug in the programming cable, or name a port that has a device (qz300-cli ports lists them)")
                  : QCoreApplication::translate("CheckWording", "插上编程电缆，或选择有设备的端口");
    case Finding::DeviceMissing:
        return en ? QStringLiteral("plug in the programming cable; a USB adapter's name appears when it is plugged in")
                  : QCoreApplication::translate("CheckWording", "插上编程电缆；USB 适配器插上后才出现它的设备名");
    case Finding::LinkToNowhere:
        return en ? QStringLiteral("the adapter this name stands for is unplugged: plug it in again")
                  : QCoreApplication::translate("CheckWording", "这个名称所指的适配器已拔出：请重新插上");
    case Finding::NotADevice:
        return en ? QStringLiteral("name the device node, such as /dev/ttyUSB0") : QCoreApplication::translate("CheckWording", "请指定设备节点，例如 /dev/ttyUSB0");
    case Finding::NotInGroup: {
        PortAccess::Facts facts;
        facts.exists = true;
        facts.mayOpen = false;
        facts.group = step.device.group;
        return PortAccess::permissionRemedy(step.device.node, facts, language);
    }
    case Finding::GroupNotActiveYet:
        return (en ? QStringLiteral("log out and in again (or run: newgrp %1)") : QCoreApplication::translate("CheckWording", "请注销后重新登录（或运行：newgrp %1）"))
            .arg(step.device.group);
    case Finding::LockedByProcess:
        return (en ? QStringLiteral("close that program, or end it: kill %1") : QCoreApplication::translate("CheckWording", "请关闭该程序，或结束它：kill %1"))
            .arg(step.holders.lock->pid);
    case Finding::OpenElsewhere: {
        for (const PortHolders::Holder &holder : step.holders.openBy) {
            if (holder.program == u"ModemManager")
                return en ? QStringLiteral("ModemManager probes serial ports: sudo systemctl stop ModemManager (or mark the adapter ignored)")
                          : QCoreApplication::translate("CheckWording", "ModemManager 会探测串口：sudo systemctl stop ModemManager（或把适配器设为忽略）");
        }
        QStringList pids;
        for (const PortHolders::Holder &holder : step.holders.openBy)
            pids << QString::number(holder.pid);
        return (en ? QStringLiteral("close that program, or end it: kill %1") : QCoreApplication::translate("CheckWording", "请关闭该程序，或结束它：kill %1"))
            .arg(pids.join(u' '));
    }
    case Finding::OpenFailed:
        if (step.openFault == SerialLink::OpenFault::NoPermission)
            return PortAccess::permissionRemedy(step.device.node, step.openFacts, language);
        if (step.openFault == SerialLink::OpenFault::InUse && step.holders.lock && !step.holders.lock->alive)
            return (en ? QStringLiteral("remove the lock file its program left behind: rm %1")
                       : QCoreApplication::translate("CheckWording", "请删除程序留下的锁文件：rm %1"))
                .arg(step.holders.lock->path);
        if (step.openFault == SerialLink::OpenFault::InUse)
            return en ? QStringLiteral("close the program that holds the port, then check again")
                      : QCoreApplication::translate("CheckWording", "请关闭占用端口的程序，然后重新检查");
        return en ? QStringLiteral("unplug the adapter, plug it in again, and check again")
                  : QCoreApplication::translate("CheckWording", "请拔下适配器再插上，然后重新检查");
    case Finding::NoAnswer:
        return en ? QStringLiteral("switch the radio on, push the cable fully into its programming socket, and make sure this is the cable's port")
                  : QCoreApplication::translate("CheckWording", "请打开对讲机电源，把电缆插紧在编程插口上，并确认这是电缆所在的端口");
    case Finding::OtherCharacters:
        return en ? QStringLiteral("something answers that is not a QZ300 at 1200 baud: check that this is the radio's cable and the radio a QZ300")
                  : QCoreApplication::translate("CheckWording", "应答的不是 1200 波特的 QZ300：请确认这是对讲机的电缆，对讲机是 QZ300");
    case Finding::ReadSilent:
        return en ? QStringLiteral("the radio answered \"C\" but not the read: switch it off and on, and check again")
                  : QCoreApplication::translate("CheckWording", "对讲机应答了“C”却没有应答读命令：请关机再开机，然后重新检查");
    case Finding::EchoOnly:
        return en ? QStringLiteral("the \"C\" above was the echo too: switch the radio on and plug the cable into it")
                  : QCoreApplication::translate("CheckWording", "上面收到的“C”也是回显：请打开对讲机并把电缆插到对讲机上");
    case Finding::EchoThenAnswer:
        return en ? QStringLiteral("use a programming cable that does not return what it is sent")
                  : QCoreApplication::translate("CheckWording", "请换用不回显所发内容的编程电缆");
    case Finding::Stopped:
        return en ? QStringLiteral("check the plug at the radio and the battery: a loose contact or a flat battery breaks the answer off")
                  : QCoreApplication::translate("CheckWording", "请检查对讲机端的插头和电池：接触不良或电量不足会使应答中断");
    case Finding::Noise:
    case Finding::NotAChannel:
        return en ? QStringLiteral("check that the plugs sit firmly, keep the cable away from the antenna, and that no other program uses the port")
                  : QCoreApplication::translate("CheckWording", "请检查插头是否插紧，电缆远离天线，并确认没有其他程序使用此端口");
    default:
        break;
    }
    return QString();
}

QString line(const CheckStep &step, Language language)
{
    const QString format = language == Language::English ? QStringLiteral("%1 %2: %3") : QCoreApplication::translate("CheckWording", "%1 %2：%3");
    return format.arg(int(step.kind) + 1).arg(stepName(step.kind, language), finding(step, language));
}

QString summary(const QList<PortCheck> &ports, Language language)
{
    const bool en = language == Language::English;
    if (ports.isEmpty())
        return en ? QStringLiteral("no port to check: the port table names no device")
                  : QCoreApplication::translate("CheckWording", "没有可检查的端口：端口表中没有设备");
    int good = 0;
    QStringList problems;
    for (const PortCheck &port : ports) {
        if (port.isGood()) {
            ++good;
            continue;
        }
        const CheckStep *problem = port.firstProblem();
        problems << QStringLiteral("%1 (%2)").arg(port.name, problem ? stepName(problem->kind, language) : QStringLiteral("?"));
    }
    if (problems.isEmpty())
        return (en ? QStringLiteral("%1 of %2 ports good: a radio answered and read well")
                   : QCoreApplication::translate("CheckWording", "%1/%2 个端口正常：对讲机应答，读数正常"))
            .arg(good)
            .arg(ports.size());
    return (en ? QStringLiteral("%1 of %2 ports good; problems: %3") : QCoreApplication::translate("CheckWording", "%1/%2 个端口正常；有问题：%3"))
        .arg(good)
        .arg(ports.size())
        .arg(problems.join(QStringLiteral(", ")));
}

QString findingKey(CheckStep::Finding finding)
{
    static const char *const keys[] = {
        "notRun",     "deviceFound", "noDevice",  "deviceMissing", "linkToNowhere",  "notADevice",      "mayOpen",
        "notInGroup", "groupNotActiveYet", "noOtherProgram", "staleLock", "lockedByProcess", "openElsewhere", "opened",
        "openFailed", "radioReady",  "noAnswer",  "otherCharacters", "readWell",     "readSilent",      "echoOnly",
        "echoThenAnswer", "stopped", "noise",     "notAChannel",
    };
    static_assert(std::size(keys) == size_t(CheckStep::Finding::NotAChannel) + 1);
    return QString::fromLatin1(keys[int(finding)]);
}

QString verdictKey(CheckStep::Verdict verdict)
{
    switch (verdict) {
    case CheckStep::Verdict::Passed:
        return QStringLiteral("ok");
    case CheckStep::Verdict::Problem:
        return QStringLiteral("problem");
    case CheckStep::Verdict::NotRun:
        return QStringLiteral("not run");
    }
    return QString();
}

QString text(const QList<PortCheck> &ports, Language language)
{
    const QString remedyLabel = language == Language::English ? QStringLiteral("what to do: ") : QCoreApplication::translate("CheckWording", "处理：");
    QString out;
    for (const PortCheck &port : ports) {
        out += QStringLiteral("%1  %2\n").arg(port.name, port.devicePath.isEmpty() ? QStringLiteral("-") : port.devicePath);
        for (const CheckStep &step : port.steps) {
            const QString mark = step.verdict == CheckStep::Verdict::Passed ? QStringLiteral("✓")
                : step.verdict == CheckStep::Verdict::Problem               ? QStringLiteral("✗")
                                                                            : QStringLiteral("–");
            out += QStringLiteral("  %1 %2\n").arg(mark, line(step, language));
            const QString what = remedy(step, language);
            if (!what.isEmpty())
                out += QStringLiteral("      %1%2\n").arg(remedyLabel, what);
        }
    }
    return out + summary(ports, language) + u'\n';
}

} // namespace CheckWording
