// Runs the real qz300-cli while the test's own event loop keeps its fake radios answering.
#pragma once

#include "core/channels/textvalue.h"
#include "core/files/channelfile.h"
#include "framemodel.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

struct CliRun
{
    int exitCode = -1;
    bool finished = false;
    QByteArray out;
    QByteArray err;

    QStringList errorLines() const { return QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts); }

    /// `ports` becomes QZ300_PORTS (COM1 first); `stderrFile`, when given, takes standard error, and
    /// `stdoutFile` standard output.
    static CliRun run(const QStringList &arguments, const QStringList &ports = {}, const QString &workingDir = {},
                      const QString &stderrFile = {}, int timeoutMs = 60000, const QString &stdoutFile = {})
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QZ300_PORTS"), ports.join(u','));
        process.setProcessEnvironment(env);
        if (!workingDir.isEmpty())
            process.setWorkingDirectory(workingDir);
        if (!stderrFile.isEmpty())
            process.setStandardErrorFile(stderrFile);
        if (!stdoutFile.isEmpty())
            process.setStandardOutputFile(stdoutFile);
        process.start(QStringLiteral(QZ300_CLI), arguments);
        CliRun result;
        if (!process.waitForStarted(10000))
            return result;
        // Waiting with events processed: the fake radios live in this thread.
        result.finished = QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs);
        if (!result.finished) {
            process.kill();
            process.waitForFinished(5000);
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }
};

namespace CliSample {

/// Sixteen channels unlike the fake radio's own: both rasters, an empty one, a receive-only one.
inline ChannelSet sampleSet()
{
    ChannelSet set;
    set.squelch = QStringLiteral("7");
    for (int k = 1; k <= ChannelCount; ++k) {
        ChannelRecord channel;
        channel.rf = TextValue::fiveDecimals(430.0 + 0.0125 * k);
        channel.tf = TextValue::fiveDecimals(438.0 + 0.005 * k);
        channel.bt = k % 3 == 0 ? QStringLiteral("on") : QStringLiteral("off");
        set.channels << channel;
    }
    set.channels[4] = ChannelRecord{QVariant(), emptyText(), emptyText(), emptyText()};
    set.channels[8].tf = emptyText();
    return set;
}

/// The frames a set goes on the line as, by the hand-written frame model.
inline QStringList framesOf(const ChannelSet &set)
{
    QStringList frames;
    for (int k = 1; k <= ChannelCount; ++k)
        frames << FrameModel::frame(FrameModel::channelOf(k == 1 ? set.squelch.toInt() : k - 1, set.channels.at(k - 1)));
    return frames;
}

/// The set a radio holding these frames gives a read.
inline ChannelSet setOf(const QStringList &frames)
{
    ChannelSet set;
    set.squelch = frames.first().mid(1, 1);
    for (const QString &frame : frames)
        set.channels << FrameModel::recordOf(FrameModel::parse(frame));
    return set;
}

inline QString saveSample(const QTemporaryDir &dir, const ChannelSet &set = sampleSet())
{
    const QString path = dir.filePath(QStringLiteral("plan.doc"));
    return ChannelFile::save(path, set.squelch, set.channels).error == ChannelFile::WriteError::None ? path : QString();
}

/// The channel values of a loaded set, comparable with a decoded one.
inline ChannelSet loaded(const QString &path)
{
    return ChannelFile::load(path).set;
}

inline bool sameValues(const ChannelSet &a, const ChannelSet &b)
{
    if (a.squelch != b.squelch || a.channels.size() != b.channels.size())
        return false;
    for (int k = 0; k < a.channels.size(); ++k) {
        const ChannelRecord &x = a.channels.at(k);
        const ChannelRecord &y = b.channels.at(k);
        if (x.rf.toString() != y.rf.toString() || x.tf.toString() != y.tf.toString() || x.bt.toString() != y.bt.toString())
            return false;
    }
    return true;
}

} // namespace CliSample
