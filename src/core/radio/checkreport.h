// The connection check's report for a fault report: the program's version, the system, Qt's
// version, the port table, the check's results and the traces of the line, as one text file.
#pragma once

#include "core/radio/connectioncheck.h"
#include "core/serial/porttable.h"

#include <QString>

namespace CheckReport {

struct Content
{
    QString programVersion;
    QString system;    ///< the system's name and kernel
    QString qtVersion; ///< the Qt the program runs on
    PortTable ports;
    QList<PortCheck> results;
    QString checkTrace;    ///< the line during the check
    QString transferTrace; ///< the line since the last transfer began; empty when none ran
};

/// The content with this machine's system, Qt version and the application's version filled in.
Content ofThisSystem(PortTable ports, QList<PortCheck> results);

/// The report in the given language (the window's through the catalogue).
QString text(const Content &content, PortAccess::Language language);

} // namespace CheckReport
