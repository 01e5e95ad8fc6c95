#include "cli/doctor.h"

#include "cli/commandline.h"
#include "core/files/outputtarget.h"
#include "core/radio/checkwording.h"
#include "core/radio/connectioncheck.h"
#include "core/serial/linetrace.h"
#include "core/serial/porttable.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>

namespace Doctor {

namespace {

using Language = PortAccess::Language;

void printLine(const QString &text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

void error(const QString &text)
{
    std::fputs(QStringLiteral("qz300-cli: %1\n").arg(text).toLocal8Bit().constData(), stderr);
}

QString stepLine(const CheckStep &step)
{
    const QString verdict = QStringLiteral("[%1]").arg(CheckWording::verdictKey(step.verdict));
    QString text = QStringLiteral("  %1 %2").arg(verdict, -10).arg(CheckWording::line(step, Language::English));
    const QString remedy = CheckWording::remedy(step, Language::English);
    if (!remedy.isEmpty())
        text += QStringLiteral("; what to do: %1").arg(remedy);
    return text;
}

QJsonObject stepObject(const CheckStep &step)
{
    QJsonObject object{
        {QStringLiteral("step"), CheckWording::stepName(step.kind, Language::English)},
        {QStringLiteral("verdict"), CheckWording::verdictKey(step.verdict)},
        {QStringLiteral("finding"), CheckWording::findingKey(step.finding)},
        {QStringLiteral("text"), CheckWording::finding(step, Language::English)},
    };
    const QString remedy = CheckWording::remedy(step, Language::English);
    if (!remedy.isEmpty())
        object.insert(QStringLiteral("remedy"), remedy);
    switch (step.kind) {
    case CheckStep::Kind::Device:
        if (step.verdict == CheckStep::Verdict::Passed) {
            object.insert(QStringLiteral("node"), step.device.node);
            if (!step.device.driver.isEmpty())
                object.insert(QStringLiteral("driver"), step.device.driver);
            if (!step.device.byIdName.isEmpty())
                object.insert(QStringLiteral("byId"), step.device.byIdName);
            if (!step.device.usb.isEmpty())
                object.insert(QStringLiteral("adapter"), step.device.usb.summary());
        }
        break;
    case CheckStep::Kind::OtherPrograms:
        if (step.holders.lock) {
            object.insert(QStringLiteral("lockFile"), step.holders.lock->path);
            object.insert(QStringLiteral("lockPid"), step.holders.lock->pid);
            object.insert(QStringLiteral("lockForm"), step.holders.lock->form == PortHolders::Lock::Form::Qt ? QStringLiteral("qt") : QStringLiteral("uucp"));
        }
        break;
    case CheckStep::Kind::Readiness:
        if (step.verdict != CheckStep::Verdict::NotRun)
            object.insert(QStringLiteral("ms"), qRound(step.ms));
        break;
    case CheckStep::Kind::Reading:
        if (step.verdict != CheckStep::Verdict::NotRun) {
            object.insert(QStringLiteral("characters"), step.answer.characters);
            object.insert(QStringLiteral("completeChannels"), step.answer.completeFrames);
            object.insert(QStringLiteral("answerDelayMs"), qRound(step.answer.answerDelayMs));
            object.insert(QStringLiteral("msPerCharacter"), qRound(step.answer.msPerCharacter * 100) / 100.0);
        }
        break;
    default:
        break;
    }
    return object;
}

QJsonObject portObject(const PortCheck &port)
{
    QJsonArray steps;
    for (const CheckStep &step : port.steps)
        steps.append(stepObject(step));
    return QJsonObject{
        {QStringLiteral("port"), port.name},
        {QStringLiteral("device"), port.devicePath},
        {QStringLiteral("good"), port.isGood()},
        {QStringLiteral("steps"), steps},
    };
}

} // namespace

QString saveTrace(const QString &path, const LineTrace &trace)
{
    return OutputTarget::write(path, trace.text().toUtf8());
}

int run(const CommandLine &line)
{
    static const QRegularExpression comName(QStringLiteral("^COM\\d+$"), QRegularExpression::CaseInsensitiveOption);
    const PortTable table = PortTable::fromEnvironment();
    QList<ConnectionCheck::Target> targets;
    for (const QString &name : line.ports) {
        if (!comName.match(name.trimmed()).hasMatch()) {
            targets.append({name, name});
            continue;
        }
        const int number = table.portNumberOf(name);
        if (number == 0) {
            error(QStringLiteral("%1: no such port (COM%2 to COM%3)").arg(name).arg(PortTable::FirstPort).arg(PortTable::LastPort));
            std::fputs("Try qz300-cli --help.\n", stderr);
            return ExitCode::Usage;
        }
        targets.append({name.trimmed().toUpper(), table.devicePath(number)});
    }
    if (line.ports.isEmpty())
        targets = ConnectionCheck::targetsOf(table);

    ConnectionCheck check;
    check.setReadyTimeout(line.readyTimeoutMs);
    QEventLoop loop;
    // Each step is printed as it ends, so a slow radio shows where the check stands.
    QObject::connect(&check, &ConnectionCheck::portStarted, &loop, [&](int index) {
        if (!line.json)
            printLine(QStringLiteral("%1  %2").arg(targets.at(index).name, targets.at(index).devicePath.isEmpty() ? QStringLiteral("-") : targets.at(index).devicePath));
    });
    QObject::connect(&check, &ConnectionCheck::stepDone, &loop, [&](int, const CheckStep &step) {
        if (!line.json)
            printLine(stepLine(step));
    });
    QObject::connect(&check, &ConnectionCheck::portFinished, &loop, [&](int index) {
        if (line.json)
            printLine(QString::fromUtf8(QJsonDocument(portObject(check.results().at(index))).toJson(QJsonDocument::Compact)));
    });
    QObject::connect(&check, &ConnectionCheck::finished, &loop, &QEventLoop::quit);
    check.start(targets);
    if (check.isRunning())
        loop.exec();

    const QList<PortCheck> results = check.results();
    if (!line.json)
        printLine(CheckWording::summary(results, Language::English));
    bool good = !results.isEmpty();
    for (const PortCheck &port : results)
        good = good && port.isGood();
    if (!line.trace.isEmpty()) {
        const QString problem = saveTrace(line.trace, *check.trace());
        if (!problem.isEmpty()) {
            error(problem);
            return ExitCode::Failed;
        }
    }
    return good ? ExitCode::Success : ExitCode::Failed;
}

} // namespace Doctor
