// The write log: one JSON line per write to a radio, appended to write-log.jsonl in the user's
// data folder, by the window and the command line alike.
#pragma once

#include "core/channels/radiochannel.h"

#include <QDateTime>
#include <QString>

#include <optional>

struct WriteLogEntry
{
    /// verified: read back and the same; verify-failed: read back and different; written: all
    /// frames went out, not verified; interrupted: stopped part-way through the frames; failed: the
    /// port failed or the write was refused; cancelled: nothing was sent.
    enum class Outcome { Verified, VerifyFailed, Written, Interrupted, Failed, Cancelled };

    QDateTime time = QDateTime::currentDateTime();
    QString program;              ///< "qz300" or "qz300-cli"
    QString port;                 ///< COMn or the name given
    QString device;
    std::optional<QString> usb;   ///< serial number and the like, when known
    std::optional<RadioSet> before; ///< what the radio held, when read
    std::optional<RadioSet> after;  ///< what the radio holds, when read back
    Outcome outcome = Outcome::Written;
};

namespace WriteLog {

/// <data folder>/write-log.jsonl
QString path();

/// The entry as one line of JSON, without the line end.
QByteArray lineOf(const WriteLogEntry &entry);

/// Appends the entry; returns a warning for the user when the log cannot be written (the write
/// itself stands), else empty.
QString append(const WriteLogEntry &entry);

} // namespace WriteLog
