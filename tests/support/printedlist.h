// The channel list page read back: a set of sixteen known frequencies, and the PDF's text as
// pdftotext extracts it (poppler-utils, installed by scripts/setup for the tests).
#pragma once

#include "core/channels/channelset.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

namespace PrintedList {

inline const QStringList Receive = {
    "430.01250", "430.02500", "430.03750", "430.05000", "430.06250", "430.07500", "430.08750", "430.10000",
    "430.11250", "430.12500", "430.13750", "430.15000", "430.16250", "430.17500", "430.18750", "430.20000"};
inline const QStringList Transmit = {
    "438.00500", "438.01000", "438.01500", "438.02000", "438.02500", "438.03000", "438.03500", "438.04000",
    "438.04500", "438.05000", "438.05500", "438.06000", "438.06500", "438.07000", "438.07500", "438.08000"};

inline QString shiftOf(int index)
{
    return index % 3 == 0 ? QStringLiteral("on") : QStringLiteral("off");
}

inline ChannelSet sampleSet()
{
    ChannelSet set;
    set.squelch = QStringLiteral("6");
    for (int k = 0; k < 16; ++k)
        set.channels << ChannelRecord{QVariant(k + 1), Receive.at(k), Transmit.at(k), shiftOf(k)};
    return set;
}

inline bool haveExtractor()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

/// The text of a PDF file, its layout kept, so that one channel is one line; empty on failure.
inline QString textOf(const QString &pdfPath)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// The channels whose line (number, receive, transmit, shift in this order) is missing from the text.
inline QStringList missingRows(const QString &text)
{
    QStringList missing;
    for (int k = 0; k < 16; ++k) {
        const QRegularExpression row(QStringLiteral("^\\s*%1\\s+%2\\s+%3\\s+%4\\s*$")
                                         .arg(k + 1)
                                         .arg(QRegularExpression::escape(Receive.at(k)), QRegularExpression::escape(Transmit.at(k)),
                                              shiftOf(k)),
                                     QRegularExpression::MultilineOption);
        if (!row.match(text).hasMatch())
            missing << QString::number(k + 1);
    }
    return missing;
}

} // namespace PrintedList
