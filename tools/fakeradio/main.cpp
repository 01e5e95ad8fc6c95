// qz300-fakeradio: a QZ300 on a pseudo-terminal, for trying the program without a radio.
//   build/tools/fakeradio/qz300-fakeradio &      # prints the device path
//   QZ300_PORTS=/dev/pts/N build/src/qz300
#include "fakeradio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qz300-fakeradio"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays a QZ300 radio on a pseudo-terminal at 1200 baud. Prints the device path, then runs until killed."));
    parser.addHelpOption();
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Answer nothing (radio switched off)."));
    const QCommandLineOption stopAfter(QStringLiteral("stop-after"), QStringLiteral("Answer a read with only <n> frames."),
                                       QStringLiteral("n"));
    const QCommandLineOption noise(QStringLiteral("noise-in-frame"), QStringLiteral("Put a noise character into frame <k> of a read."),
                                   QStringLiteral("k"));
    const QCommandLineOption corrupt(QStringLiteral("corrupt-stored"),
                                     QStringLiteral("Store frame <k> of a write with one digit wrong."), QStringLiteral("k"));
    const QCommandLineOption stray(QStringLiteral("stray"), QStringLiteral("Send <text> before the frames of a read."),
                                   QStringLiteral("text"));
    const QCommandLineOption onlyC(QStringLiteral("answer-only-c"),
                                   QStringLiteral("Answer a read with \"C\" without end (a broken line)."));
    const QCommandLineOption echo(QStringLiteral("echo"),
                                  QStringLiteral("Return every character received, as an echoing cable does (with --silent: no radio behind it)."));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("Print only the device path."));
    parser.addOptions({silent, stopAfter, noise, corrupt, stray, onlyC, echo, quiet});
    parser.process(app);

    FakeRadio radio;
    if (!radio.isOpen()) {
        std::fprintf(stderr, "qz300-fakeradio: cannot open a pseudo-terminal\n");
        return 1;
    }
    radio.setSilent(parser.isSet(silent));
    if (parser.isSet(stopAfter))
        radio.setStopAfterFrames(parser.value(stopAfter).toInt());
    if (parser.isSet(noise))
        radio.setNoiseInFrame(parser.value(noise).toInt());
    if (parser.isSet(corrupt))
        radio.setCorruptStoredFrame(parser.value(corrupt).toInt());
    if (parser.isSet(stray))
        radio.setStrayPrefix(parser.value(stray).toLatin1());
    if (parser.isSet(onlyC))
        radio.setEndlessAnswer("C");
    radio.setEcho(parser.isSet(echo));

    QTextStream out(stdout);
    out << radio.devicePath() << Qt::endl;
    if (!parser.isSet(quiet)) {
        QObject::connect(&radio, &FakeRadio::framesStored, &radio, [&] {
            out << "stored 16 frames:" << Qt::endl;
            for (const QString &frame : radio.frames())
                out << "  " << frame << Qt::endl;
        });
        QObject::connect(&radio, &FakeRadio::answerSent, &radio, [&] { out << "answered a read" << Qt::endl; });
    }
    return app.exec();
}
