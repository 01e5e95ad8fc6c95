// Reads from a fake radio that thinks for a while before it answers the read command, and prints
// for each delay whether the read got the channels and when it ended. The radio may take 2 s; the
// port's 60 ms input gathering must not shorten that.
#include "core/radio/readtransfer.h"
#include "core/serial/porttable.h"
#include "core/serial/seriallink.h"
#include "fakeradio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace {

QStringList radioFrames()
{
    QStringList frames;
    for (int k = 1; k <= FakeRadio::FrameCount; ++k)
        frames << FakeRadio::frame(k == 1 ? 5 : k - 1, false, 43'000'000 + 1'250LL * k, 43'000'000 + 1'250LL * k);
    return frames;
}

struct Outcome
{
    bool read = false;
    qint64 endedMs = -1; ///< from the start of the read to its end
};

Outcome readWithDelay(int delayMs)
{
    FakeRadio radio;
    radio.setFrames(radioFrames());
    radio.setAnswerDelayMs(delayMs);
    SerialLink link(PortTable({radio.devicePath()}));
    Outcome outcome;
    if (!radio.isOpen() || !link.open())
        return outcome;
    QTimer arming;
    ReadTransfer read(link, arming, nullptr);
    QEventLoop loop;
    QElapsedTimer clock;
    QObject::connect(&read, &ReadTransfer::finished, &loop, [&] {
        outcome = {true, clock.elapsed()};
        loop.quit();
    });
    QObject::connect(&read, &ReadTransfer::failed, &loop, [&] {
        outcome = {false, clock.elapsed()};
        loop.quit();
    });
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    clock.start();
    read.start();
    loop.exec();
    return outcome;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;
    std::printf("answer delay  reads  silent  read ended after (ms, each round)\n");
    for (const int delayMs : {1000, 1900, 1950, 2050, 2200}) {
        int reads = 0;
        QStringList ends;
        for (int round = 0; round < rounds; ++round) {
            const Outcome outcome = readWithDelay(delayMs);
            reads += outcome.read ? 1 : 0;
            ends << QString::number(outcome.endedMs);
        }
        std::printf("%8d ms  %5d  %6d  %s\n", delayMs, reads, rounds - reads, qPrintable(ends.join(QStringLiteral(" "))));
    }
    return 0;
}
