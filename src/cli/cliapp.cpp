#include "cli/cliapp.h"

#include "cli/commandline.h"
#include "cli/doctor.h"
#include "cli/portjob.h"
#include "cli/progressline.h"
#include "cli/stopsignals.h"
#include "core/channels/channeltext.h"
#include "core/files/channelfile.h"
#include "core/files/channelsheet.h"
#include "core/files/outputtarget.h"
#include "core/files/writelog.h"
#include "core/radio/channelframe.h"
#include "core/radio/radioscan.h"
#include "core/serial/linetrace.h"
#include "core/serial/portsurvey.h"
#include "core/serial/porttable.h"
#include "core/serial/seriallink.h"
#include "print/channellistpage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QThreadPool>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace CliApp {

namespace {

void printTo(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

void error(const QString &text)
{
    printTo(stderr, QStringLiteral("qz300-cli: %1\n").arg(text));
}

/// Data for standard output; a stream that cannot take it is a failure like any output.
int printData(const QByteArray &bytes)
{
    const QString problem = OutputTarget::writeStandardOutput(bytes);
    if (problem.isEmpty())
        return ExitCode::Success;
    error(problem);
    return ExitCode::Failed;
}

int usageError(const QString &text)
{
    error(text);
    printTo(stderr, QStringLiteral("Try qz300-cli --help.\n"));
    return ExitCode::Usage;
}

int listPorts(const CommandLine &line)
{
    const PortTable table = PortTable::fromEnvironment();
    QList<PortSurvey::Entry> entries = PortSurvey::survey(table);
    if (line.probe) {
        QList<int> opening;
        for (const PortSurvey::Entry &entry : std::as_const(entries)) {
            if (entry.opens)
                opening << entry.port;
        }
        RadioScan scan(table);
        QEventLoop loop;
        QObject::connect(&scan, &RadioScan::finished, &loop, &QEventLoop::quit);
        scan.start(opening, line.probeWaitMs);
        if (scan.isRunning())
            loop.exec();
        const QList<int> asked = scan.asked();
        const QList<int> answered = scan.answered();
        for (PortSurvey::Entry &entry : entries) {
            // A port that opened for the list but not for the probe (taken meanwhile) was not asked.
            if (asked.contains(entry.port))
                entry.radioAnswered = answered.contains(entry.port);
        }
    }
    return printData(PortSurvey::format(entries).toLocal8Bit());
}

struct Target
{
    QString name;
    QString label;
    QString devicePath;
};

/// One text per device, whatever name it goes by: a link to it, a link to a folder on its way,
/// or another node with the same device number.
QString deviceIdentity(const QString &devicePath)
{
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(devicePath).constData(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)))
        return QStringLiteral("device %1:%2").arg(S_ISCHR(info.st_mode) ? u'c' : u'b').arg(quint64(info.st_rdev));
#endif
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(devicePath).absoluteFilePath() : canonical;
}

/// The ports named on the command line, as devices; an error text when one names none.
std::vector<Target> resolvePorts(const QStringList &names, QString *problem)
{
    static const QRegularExpression comName(QStringLiteral("^COM\\d+$"), QRegularExpression::CaseInsensitiveOption);
    const PortTable table = PortTable::fromEnvironment();
    std::vector<Target> targets;
    QSet<QString> seen;
    for (const QString &name : names) {
        Target target;
        target.name = name;
        if (comName.match(name.trimmed()).hasMatch()) {
            const int number = table.portNumberOf(name);
            target.devicePath = table.devicePath(number);
            if (number == 0 || target.devicePath.isEmpty()) {
                *problem = QStringLiteral("%1: no device for this port (see qz300-cli ports)").arg(name);
                return {};
            }
            target.name = name.trimmed().toUpper();
        } else {
            target.devicePath = name;
        }
        target.label = portLabel(target.name);
        const QString key = deviceIdentity(target.devicePath);
        if (seen.contains(key)) {
            *problem = QStringLiteral("%1: the same device is named twice").arg(name);
            return {};
        }
        seen.insert(key);
        targets.push_back(target);
    }
    return targets;
}

ChannelSheet::Format formatOf(const QString &path, std::optional<ChannelSheet::Format> given)
{
    return given ? *given : ChannelSheet::formatOfPath(path);
}

void warn(const QString &text)
{
    printTo(stderr, QStringLiteral("qz300-cli: warning: %1\n").arg(text));
}

/// Reads the input sheet of convert or write, its warnings on standard error; the exit status
/// when it cannot be used, else Success.
int loadSheet(const CommandLine &line, ChannelSheet::Format format, ChannelSheet::Result *read)
{
    const QString onlyChirp = QStringLiteral("--first applies to a CHIRP sheet only");
    if (line.firstLocation && format != ChannelSheet::Format::Csv && format != ChannelSheet::Format::Chirp)
        return usageError(onlyChirp);
    ChannelSheet::ReadOptions options;
    options.firstLocation = line.firstLocation;
    *read = ChannelSheet::load(line.file, format, options);
    if (!read->ok()) {
        error(read->error);
        return ExitCode::BadInput;
    }
    if (line.firstLocation && read->format != ChannelSheet::Format::Chirp)
        return usageError(onlyChirp);
    for (const QString &warning : std::as_const(read->warnings))
        warn(warning);
    return ExitCode::Success;
}

/// Ports opened at once: opening mostly waits for the disk.
constexpr int PortOpeningThreads = 32;

/// Runs one job per port at the same time. SIGINT or SIGTERM ends every job in order (a write with
/// its log line); returns that signal's number, or 0.
int runJobs(std::vector<std::unique_ptr<PortJob>> &jobs)
{
    ProgressLine progress;
    QEventLoop loop;
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &loop, [&jobs] {
        for (auto &job : jobs)
            job->interrupt();
    });
    qsizetype running = qsizetype(jobs.size());
    for (auto &job : jobs) {
        const QString label = job->plan().portName;
        QObject::connect(job.get(), &PortJob::progress, &loop,
                         [&progress, label](const QString &stage, int frame, int total) { progress.update(label, stage, frame, total); });
        QObject::connect(job.get(), &PortJob::finished, &loop, [&running, &loop] {
            if (--running == 0)
                loop.quit();
        });
    }
    // The ports open side by side, each job going on as soon as its own is open: no radio waits
    // for the others' lock files to reach the disk.
    QThreadPool openers;
    openers.setMaxThreadCount(PortOpeningThreads);
    for (auto &job : jobs)
        job->start(&openers);
    if (running > 0)
        loop.exec();
    progress.clear();
    return stopSignals.received();
}

/// One line per port; `lastStep`, when not empty, is a failure after the first job (its data
/// could not be printed). True when all succeeded.
bool reportJobs(const std::vector<std::unique_ptr<PortJob>> &jobs, const QString &lastStep = {})
{
    bool allGood = true;
    for (const auto &job : jobs) {
        const QString port = job->plan().portName;
        for (const QString &difference : job->differences())
            printTo(stderr, QStringLiteral("%1: %2\n").arg(port, difference));
        bool good = job->succeeded();
        QString outcome = job->outcome();
        if (good && job == jobs.front() && !lastStep.isEmpty()) {
            good = false;
            outcome = QStringLiteral("%1, but %2").arg(outcome, lastStep);
        }
        printTo(stderr, QStringLiteral("%1: %2: %3\n").arg(port, good ? QStringLiteral("ok") : QStringLiteral("error"), outcome));
        allGood = allGood && good;
    }
    return allGood;
}

int readOrWrite(const CommandLine &line)
{
    QString problem;
    const std::vector<Target> targets = resolvePorts(line.ports, &problem);
    if (targets.empty())
        return usageError(problem);
    const bool several = targets.size() > 1;
    if (line.command == CommandLine::Command::Read && several && line.output.isEmpty())
        return usageError(QStringLiteral("read from several ports needs -o (with {port} or not)"));

    RadioSet toWrite;
    if (line.command == CommandLine::Command::Write) {
        // The checks of convert: what it refuses never reaches a radio.
        ChannelSheet::Result read;
        if (const int status = loadSheet(line, formatOf(line.file, line.from), &read); status != ExitCode::Success)
            return status;
        const ChannelText::Conversion conversion = ChannelText::toRadio(read.set);
        if (!conversion.ok()) {
            error(QStringLiteral("%1: %2").arg(line.file, conversion.refusal->message()));
            return ExitCode::BadInput;
        }
        toWrite = conversion.set;
    }

    std::vector<std::unique_ptr<PortJob>> jobs;
    const auto trace = line.trace.isEmpty() ? nullptr : std::make_shared<LineTrace>();
    QSet<QString> outputs;
    const QString input = line.file.isEmpty() ? QString() : OutputTarget::identity(line.file);
    for (const Target &target : targets) {
        PortJob::Plan plan;
        plan.task = line.command == CommandLine::Command::Read ? PortJob::Task::Read : PortJob::Task::Write;
        plan.portName = target.name;
        plan.devicePath = target.devicePath;
        plan.toWrite = toWrite;
        plan.verify = line.verify;
        plan.dryRun = line.dryRun;
        plan.readyTimeoutMs = line.readyTimeoutMs;
        plan.trace = trace;
        if (!line.output.isEmpty()) {
            plan.outputPath = outputNameFor(line.output, target.label, several);
            plan.outputFormat = ChannelSheet::formatOfPath(line.output);
        }
        if (!line.backup.isEmpty()) {
            plan.backupPath = outputNameFor(line.backup, target.label, several);
            plan.backupFormat = ChannelSheet::formatOfPath(line.backup);
        }
        for (const QString &path : {plan.outputPath, plan.backupPath}) {
            if (path.isEmpty())
                continue;
            const QString key = OutputTarget::identity(path);
            if (key == input)
                return usageError(QStringLiteral("%1 is the input file").arg(path));
            if (outputs.contains(key))
                return usageError(QStringLiteral("%1 would be saved twice").arg(path));
            outputs.insert(key);
        }
        jobs.push_back(std::make_unique<PortJob>(plan));
    }

    const int stopSignal = runJobs(jobs);
    const QString traceProblem = trace ? Doctor::saveTrace(line.trace, *trace) : QString();
    QString printProblem;
    if (line.dryRun) {
        // What each radio would change is the command's output; the outcomes go below as usual.
        QString changes;
        for (const auto &job : jobs) {
            for (const QString &change : job->changes())
                changes += QStringLiteral("%1: %2\n").arg(job->plan().portName, change);
        }
        if (!changes.isEmpty()) {
            printProblem = OutputTarget::writeStandardOutput(changes.toUtf8());
            if (!printProblem.isEmpty())
                printProblem = QStringLiteral("cannot print the changes: %1").arg(printProblem);
        }
    } else if (line.command == CommandLine::Command::Write) {
        // Each write left its log line as it ended.
        for (const auto &job : jobs) {
            if (const QString warning = job->logWarning(); !warning.isEmpty())
                warn(QStringLiteral("%1: %2").arg(job->plan().portName, warning));
        }
    }
    if (line.command == CommandLine::Command::Read && line.output.isEmpty() && jobs.front()->succeeded()) {
        const ChannelSheet::Composed composed = ChannelSheet::compose(ChannelText::fromRadio(jobs.front()->readSet()), ChannelSheet::Format::Channel);
        printProblem = composed.ok() ? OutputTarget::writeStandardOutput(composed.bytes + '\n') : composed.error;
        if (!printProblem.isEmpty())
            printProblem = QStringLiteral("cannot print them: %1").arg(printProblem);
    }
    if (!traceProblem.isEmpty())
        error(traceProblem);
    const bool allGood = reportJobs(jobs, printProblem) && traceProblem.isEmpty();
    if (stopSignal != 0)
        return 128 + stopSignal; // as a shell reports a program ended by that signal
    return allGood ? ExitCode::Success : ExitCode::Failed;
}

/// The channel list page as a PDF, made in memory and handed to the output whole.
int printPdf(const CommandLine &line, const ChannelSet &set)
{
    // The page's texts are written in Chinese; English comes from the window's catalogue.
    QTranslator english;
    if (line.pageInEnglish) {
        if (!english.load(QStringLiteral(":/i18n/qz300_en.qm")) || !QCoreApplication::installTranslator(&english)) {
            error(QStringLiteral("cannot load the English texts of the page"));
            return ExitCode::Failed;
        }
    }
    ChannelListPage::Content page;
    page.set = set;
    page.source = QFileInfo(line.file).fileName();
    page.printedAt = QDateTime::currentDateTime();
    QString problem;
    const QByteArray bytes = ChannelListPage::pdf(page, &problem);
    if (problem.isEmpty() && !line.output.isEmpty())
        problem = OutputTarget::write(line.output, bytes);
    else if (problem.isEmpty())
        return printData(bytes);
    if (problem.isEmpty())
        return ExitCode::Success;
    error(problem);
    return ExitCode::Failed;
}

int convert(const CommandLine &line)
{
    ChannelSheet::Result read;
    if (const int status = loadSheet(line, formatOf(line.file, line.from), &read); status != ExitCode::Success)
        return status;
    if (line.toPdf)
        return printPdf(line, read.set);
    if (!line.output.isEmpty()) {
        QStringList warnings;
        const QString problem = ChannelSheet::save(line.output, read.set, *line.to, &warnings);
        for (const QString &warning : std::as_const(warnings))
            warn(QStringLiteral("%1: %2").arg(line.output, warning));
        if (!problem.isEmpty()) {
            error(problem);
            return ExitCode::Failed;
        }
        return ExitCode::Success;
    }
    const ChannelSheet::Composed composed = ChannelSheet::compose(read.set, *line.to);
    for (const QString &warning : composed.warnings)
        warn(warning);
    if (!composed.ok()) {
        error(composed.error);
        return ExitCode::Failed;
    }
    return printData(*line.to == ChannelSheet::Format::Channel ? composed.bytes + '\n' : composed.bytes);
}

} // namespace

QString portLabel(const QString &portName)
{
    QString label = portName;
    if (label.startsWith(QStringLiteral("/dev/")))
        label.remove(0, 5);
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\:*?\"<>|]+"));
    label.replace(unsafe, QStringLiteral("-"));
    while (label.startsWith(u'-'))
        label.remove(0, 1);
    return label;
}

QString outputNameFor(const QString &name, const QString &label, bool severalPorts)
{
    const QString placeholder = QStringLiteral("{port}");
    if (name.contains(placeholder)) {
        QString out = name;
        return out.replace(placeholder, label);
    }
    if (!severalPorts)
        return name;
    const QFileInfo info(name);
    const QString file = info.fileName();
    const qsizetype dot = file.lastIndexOf(u'.');
    const QString named = dot > 0 ? file.left(dot) + u'-' + label + file.mid(dot) : file + u'-' + label;
    return name.left(name.size() - file.size()) + named;
}

int run(const QStringList &arguments)
{
    QString problem;
    const CommandLine line = CommandLine::parse(arguments, &problem);
    if (!problem.isEmpty())
        return usageError(problem);
    switch (line.command) {
    case CommandLine::Command::Help:
        return printData(CommandLine::helpText().toLocal8Bit());
    case CommandLine::Command::Version:
        return printData(QStringLiteral("qz300-cli %1\n").arg(QCoreApplication::applicationVersion()).toLocal8Bit());
    case CommandLine::Command::Ports:
        return listPorts(line);
    case CommandLine::Command::Read:
    case CommandLine::Command::Write:
        return readOrWrite(line);
    case CommandLine::Command::Convert:
        return convert(line);
    case CommandLine::Command::Doctor:
        return Doctor::run(line);
    }
    return ExitCode::Usage;
}

} // namespace CliApp
