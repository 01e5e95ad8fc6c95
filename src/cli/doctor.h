// qz300-cli doctor: the connection check on the ports named, or on every port with a device, one
// line per step on standard output (or one JSON object per port), the summary last.
#pragma once

#include <QString>

struct CommandLine;
class LineTrace;

namespace Doctor {

/// Runs the check; returns the exit status: Success when every port has a radio that answered and
/// read well, Failed when a problem was found, Usage for a port name that names no port.
int run(const CommandLine &line);

/// Writes a trace file for --trace; the error, or an empty text.
QString saveTrace(const QString &path, const LineTrace &trace);

} // namespace Doctor
