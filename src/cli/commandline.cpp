#include "cli/commandline.h"

#include <QCommandLineParser>

#include <cmath>

namespace {

QString formatList()
{
    return QStringLiteral("chan, csv, json or chirp");
}

/// What --to takes: the formats, or the printable page.
QString outputList()
{
    return QStringLiteral("chan, csv, json, chirp or pdf");
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, QString *error)
{
    CommandLine line;
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("P"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("FILE"));
    const QCommandLineOption backup(QStringLiteral("backup"), QString(), QStringLiteral("OUT"));
    const QCommandLineOption verify(QStringLiteral("verify"), QString());
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), QString());
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption readyTimeout(QStringLiteral("ready-timeout"), QString(), QStringLiteral("SECONDS"));
    const QCommandLineOption first(QStringLiteral("first"), QString(), QStringLiteral("N"));
    const QCommandLineOption probe(QStringLiteral("probe"), QString());
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("LANG"));
    const QCommandLineOption trace(QStringLiteral("trace"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption json(QStringLiteral("json"), QString());
    parser.addOptions({help, version, port, output, backup, verify, dryRun, to, from, readyTimeout, first, probe, lang, trace, json});

    if (!parser.parse(QStringList{QStringLiteral("qz300-cli")} + arguments)) {
        *error = parser.errorText();
        return line;
    }
    if (parser.isSet(help))
        return line;
    if (parser.isSet(version)) {
        line.command = Command::Version;
        return line;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        *error = QStringLiteral("no command given");
        return line;
    }
    const QString name = positional.first();
    const QStringList rest = positional.mid(1);
    QStringList allowed;
    qsizetype files = 0;
    if (name == u"ports") {
        line.command = Command::Ports;
        allowed = {QStringLiteral("probe"), QStringLiteral("ready-timeout")};
    } else if (name == u"read") {
        line.command = Command::Read;
        allowed = {QStringLiteral("port"), QStringLiteral("o"), QStringLiteral("ready-timeout"), QStringLiteral("trace")};
    } else if (name == u"write") {
        line.command = Command::Write;
        allowed = {QStringLiteral("port"), QStringLiteral("backup"), QStringLiteral("verify"), QStringLiteral("dry-run"),
                   QStringLiteral("from"), QStringLiteral("ready-timeout"), QStringLiteral("first"), QStringLiteral("trace")};
        files = 1;
    } else if (name == u"doctor") {
        line.command = Command::Doctor;
        allowed = {QStringLiteral("port"), QStringLiteral("json"), QStringLiteral("trace"), QStringLiteral("ready-timeout")};
    } else if (name == u"convert") {
        line.command = Command::Convert;
        allowed = {QStringLiteral("to"), QStringLiteral("from"), QStringLiteral("o"), QStringLiteral("first"), QStringLiteral("lang")};
        files = 1;
    } else if (name == u"help") {
        return line;
    } else {
        *error = QStringLiteral("unknown command \"%1\"").arg(name);
        return line;
    }

    for (const QString &option : parser.optionNames()) {
        const QString canonical = option == u"output" ? QStringLiteral("o") : option;
        if (!allowed.contains(canonical)) {
            *error = QStringLiteral("%1 takes no --%2").arg(name, option);
            return line;
        }
    }
    if (rest.size() != files) {
        *error = files == 0 ? QStringLiteral("%1 takes no file").arg(name) : QStringLiteral("%1 takes one file").arg(name);
        return line;
    }
    if (files == 1)
        line.file = rest.first();

    line.ports = parser.values(port);
    if ((line.command == Command::Read || line.command == Command::Write) && line.ports.isEmpty()) {
        *error = QStringLiteral("%1 needs --port").arg(name);
        return line;
    }
    for (const QString &named : std::as_const(line.ports)) {
        if (named.trimmed().isEmpty()) {
            *error = QStringLiteral("--port needs a port name (COMn or a device path)");
            return line;
        }
    }
    line.output = parser.value(output);
    line.backup = parser.value(backup);
    if (line.backup == u"-") {
        *error = QStringLiteral("--backup needs a file name, not standard output");
        return line;
    }
    line.verify = parser.isSet(verify);
    line.dryRun = parser.isSet(dryRun);
    if (line.dryRun && (line.verify || parser.isSet(backup))) {
        *error = QStringLiteral("--dry-run sends nothing: it takes no --backup or --verify");
        return line;
    }
    line.probe = parser.isSet(probe);
    line.json = parser.isSet(json);
    line.trace = parser.value(trace);
    if (parser.isSet(trace) && (line.trace.isEmpty() || line.trace == u"-")) {
        *error = QStringLiteral("--trace needs a file name");
        return line;
    }
    if (parser.isSet(output) && line.output.isEmpty()) {
        *error = QStringLiteral("-o needs a file name");
        return line;
    }
    if (line.output == u"-")
        line.output.clear(); // standard output, as without -o
    if (parser.isSet(backup) && line.backup.isEmpty()) {
        *error = QStringLiteral("--backup needs a file name");
        return line;
    }
    if (parser.isSet(to) && parser.value(to).trimmed().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0) {
        line.toPdf = true;
    } else if (parser.isSet(to)) {
        line.to = ChannelSheet::formatNamed(parser.value(to));
        if (!line.to) {
            *error = QStringLiteral("--to takes %1").arg(outputList());
            return line;
        }
    }
    if (parser.isSet(from)) {
        line.from = ChannelSheet::formatNamed(parser.value(from));
        if (!line.from) {
            *error = QStringLiteral("--from takes %1").arg(formatList());
            return line;
        }
    }
    if (parser.isSet(first)) {
        bool ok = false;
        const int location = parser.value(first).trimmed().toInt(&ok);
        if (!ok || location < 0) {
            *error = QStringLiteral("--first takes a location, a whole number from 0");
            return line;
        }
        line.firstLocation = location;
    }
    if (parser.isSet(lang)) {
        const QString language = parser.value(lang).trimmed().toLower();
        if (language != u"en" && language != u"zh") {
            *error = QStringLiteral("--lang takes en or zh");
            return line;
        }
        if (!line.toPdf) {
            *error = QStringLiteral("--lang goes with convert --to pdf");
            return line;
        }
        line.pageInEnglish = language == u"en";
    }
    if (line.command == Command::Convert && !line.to && !line.toPdf) {
        *error = QStringLiteral("convert needs --to %1").arg(outputList());
        return line;
    }
    if (parser.isSet(readyTimeout)) {
        bool ok = false;
        const double seconds = parser.value(readyTimeout).toDouble(&ok);
        // "nan" and "inf" read as numbers; only a finite count of seconds makes a time limit.
        if (!ok || !std::isfinite(seconds) || seconds < 0.001 || seconds > 600) {
            *error = QStringLiteral("--ready-timeout takes seconds, at least 0.001 and at most 600");
            return line;
        }
        line.readyTimeoutMs = int(std::lround(seconds * 1000));
        line.probeWaitMs = line.readyTimeoutMs;
        if (line.command == Command::Ports && !line.probe) {
            *error = QStringLiteral("ports takes --ready-timeout only with --probe");
            return line;
        }
    }
    return line;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Usage: qz300-cli COMMAND [OPTIONS]\n"
        "Programs QZ300 radios without the window: the same frames, pacing and checks.\n"
        "\n"
        "Commands:\n"
        "  ports [--probe]                COM1 to COM8, their devices, whether each opens, and\n"
        "                                 what the system knows of a USB adapter; --probe sends\n"
        "                                 the readiness \"C\" on every port that opens and says\n"
        "                                 where a radio answered (within 1 s, or --ready-timeout)\n"
        "  read --port P [-o FILE]        read the radio's squelch level and 16 channels\n"
        "                                 (channel file on standard output without -o)\n"
        "  write --port P FILE [--backup OUT] [--verify] [--dry-run] [--first N]\n"
        "                                 write FILE into the radio; --backup saves what the\n"
        "                                 radio held first; --verify reads it back and compares\n"
        "  convert FILE --to FORMAT [-o OUT] [--first N] [--lang en|zh]\n"
        "                                 convert between a channel file, CSV (ours or\n"
        "                                 CHIRP's) and JSON, or print it as a one-page PDF\n"
        "  doctor [--port P]... [--json]  check each port (every port with a device without\n"
        "                                 --port): the device, access, other programs, the\n"
        "                                 opening, the radio's \"C\" and a read that stores\n"
        "                                 nothing; one line per step, what to do for a problem\n"
        "\n"
        "Options:\n"
        "  --port P             COMn (see ports; QZ300_PORTS sets the table) or a device path;\n"
        "                       repeat it to program several radios at the same time\n"
        "  -o, --output FILE    where read or convert puts its result (- for standard output)\n"
        "  --backup OUT         where write saves the radio's old set\n"
        "  --verify             read back after writing; any difference is an error\n"
        "  --dry-run            read each radio, print what write would change, send nothing\n"
        "  --to FORMAT          chan, csv, json, chirp (the CSV layout of CHIRP) or pdf (the\n"
        "                       channel list to print, the page the window exports)\n"
        "  --lang en|zh         --to pdf: the page's texts in English or Chinese (default zh)\n"
        "  --from FORMAT        the input's format, when its name does not tell\n"
        "  --first N            a CHIRP sheet of more than 16 rows: take 16 from location N on\n"
        "  --ready-timeout S    seconds to wait for the radio to answer \"C\" (default 3;\n"
        "                       1 for ports --probe)\n"
        "  --probe              ports: ask every port that opens whether a radio answers\n"
        "  --trace FILE         read, write, doctor: every byte sent and received, one line\n"
        "                       per burst with its time, for a fault report\n"
        "  --json               doctor: one JSON object per port\n"
        "  -h, --help           this text\n"
        "  --version            the program's version\n"
        "\n"
        "Formats go by the file name: .csv is CSV (CHIRP's layout when its header says so),\n"
        ".json is JSON, any other name a channel file (the window's 49-item format). The input\n"
        "may be a FIFO (process substitution). With several ports, a {port} in -o or --backup\n"
        "is replaced by the port (COM3, ttyUSB0, pts-4); without it the port goes before the\n"
        "extension (plan.doc becomes plan-COM3.doc). An output must not be the input or another\n"
        "output. What the radio cannot hold (names, tones) is a warning on standard error.\n"
        "\n"
        "Progress goes to standard error when it is a terminal. Each error is one line on\n"
        "standard error; read and write end with one line per port there.\n"
        "\n"
        "Exit status:\n"
        "  0  every port succeeded (or the conversion or listing worked; for doctor: a radio\n"
        "     answered and read well on every port checked)\n"
        "  1  a port or radio failed, a read-back differed, an output was not written, or\n"
        "     doctor found a problem\n"
        "  2  the command line is wrong\n"
        "  3  the input file cannot be read or holds no valid channel set; no radio was touched\n");
}
