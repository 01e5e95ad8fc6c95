// The command line of qz300-cli: what the user asked for, or why it cannot be done.
#pragma once

#include "core/files/channelsheet.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ExitCode {
constexpr int Success = 0;
/// A port or radio failed, a read-back differed, or an output file could not be written.
constexpr int Failed = 1;
constexpr int Usage = 2;
/// The input file cannot be read or holds no valid channel set; no radio was touched.
constexpr int BadInput = 3;
} // namespace ExitCode

struct CommandLine
{
    enum class Command { Help, Version, Ports, Read, Write, Convert, Doctor };

    Command command = Command::Help;
    QStringList ports;
    QString file;   ///< write: the set to write; convert: the file to convert
    QString output; ///< -o; empty for standard output
    QString backup;
    bool verify = false;
    /// write --dry-run: read each radio and print what the write would change, send nothing
    bool dryRun = false;
    std::optional<ChannelSheet::Format> from;
    std::optional<ChannelSheet::Format> to;
    /// --to pdf: the channel list as a printable page instead of a channel set
    bool toPdf = false;
    /// --lang en: the page's texts in English instead of Chinese
    bool pageInEnglish = false;
    /// --first: the location a CHIRP sheet's channels start at
    std::optional<int> firstLocation;
    int readyTimeoutMs = 3000;
    /// ports --probe: ask every port that opens whether a radio answers
    bool probe = false;
    /// how long a probe waits for the answers (--ready-timeout with ports)
    int probeWaitMs = 1000;
    /// read, write, doctor: where the line's bursts go, with their times; empty for nowhere
    QString trace;
    /// doctor: one JSON object per port instead of lines
    bool json = false;

    /// Whether the command draws a page, which needs a QGuiApplication.
    bool needsGui() const { return command == Command::Convert && toPdf; }

    /// The command line without the program name; an error text when it makes no sense.
    static CommandLine parse(const QStringList &arguments, QString *error);

    static QString helpText();
};
