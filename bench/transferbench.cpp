// Times a full read, a plain write and a safe write (backup read, changes confirmed, write, read-back)
// of the real main window against qz300-fakeradio, which runs in its own process so that the CPU
// time measured here is the program's alone. Settings, backups and the write log go to a scratch
// folder, never the user's.
#include "app/mainwindow.h"
#include "app/startup.h"
#include "core/channels/channeltable.h"
#include "core/radio/readtransfer.h"
#include "core/radio/writeoptions.h"
#include "core/radio/writetransfer.h"
#include "window/ui/messagebox.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define QZ300_CALLGRIND 1
#endif

#include <algorithm>
#include <cstdio>
#include <ctime>

#include <sys/resource.h>
#include <functional>

namespace {

constexpr double LineLimitSeconds = 321 * 10.0 / 1200.0; // "5" out, 320 characters back
constexpr double ArmingSeconds = 0.1;

/// Runs the event loop until the condition holds or the time is up.
bool waitFor(const std::function<bool()> &condition, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

/// The CPU time spent in the kernel for the program (system calls, wake-ups), in seconds.
double systemSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

void trigger(MainWindow &window, const char *name)
{
    window.findChild<QAction *>(QString::fromUtf8(name))->trigger();
}

/// Under callgrind (bench/transfer-bench --instructions), the instructions of each read are
/// counted alone and written to a profile of their own.
void startCounting()
{
#ifdef QZ300_CALLGRIND
    CALLGRIND_ZERO_STATS;
    CALLGRIND_TOGGLE_COLLECT;
#endif
}

void stopCounting(int read)
{
#ifdef QZ300_CALLGRIND
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(qPrintable(QStringLiteral("read %1").arg(read)));
#else
    Q_UNUSED(read);
#endif
}

bool underValgrind()
{
#ifdef QZ300_CALLGRIND
    return RUNNING_ON_VALGRIND;
#else
    return false;
#endif
}

void setWriteOptions(bool on)
{
    WriteOptions options;
    options.backupFirst = on;
    options.showChanges = on;
    options.verifyAfter = on;
    options.save();
}

/// Counts, while on, what the program does apart from its work: paint events (those of the progress
/// bar apart), timer events and the event loop's wake-ups. Steadier than the CPU time of a read.
class EventCount : public QObject
{
public:
    explicit EventCount(QAbstractEventDispatcher *dispatcher)
    {
        qApp->installEventFilter(this);
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] {
            if (m_on)
                ++wakeUps;
        });
    }

    void start()
    {
        paints = barPaints = timers = wakeUps = 0;
        m_on = true;
    }
    void stop() { m_on = false; }

    int paints = 0;
    int barPaints = 0;
    int timers = 0;
    int wakeUps = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_on)
            return false;
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (watched->objectName() == QLatin1String("transferProgress"))
                ++barPaints;
        } else if (event->type() == QEvent::Timer) {
            ++timers;
        }
        return false;
    }

private:
    bool m_on = false;
};

/// The longest pause of the window's event loop, in ms, during a read whose set the database does
/// not hold yet (the table is emptied first, so the read's store has rows to write): a 1 ms timer
/// notes every gap between its ticks. -1 when the read did not finish.
double longestPauseDuringStoringRead(MainWindow &window, ReadTransfer *reader)
{
    ChannelList empty = window.channelTable().channels();
    for (ChannelRecord &channel : empty)
        channel.rf = channel.tf = channel.bt = QString();
    if (!window.channelTable().storeChannels(empty))
        return -1;
    double longest = 0;
    QElapsedTimer sinceTick;
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.start();
    });
    bool done = false;
    QEventLoop loop;
    const auto connection = QObject::connect(reader, &ReadTransfer::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    const auto failure = QObject::connect(reader, &ReadTransfer::failed, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    sinceTick.start();
    watch.start(1);
    trigger(window, "读信道");
    loop.exec();
    QObject::disconnect(connection);
    QObject::disconnect(failure);
    return done ? longest : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", scratch.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", scratch.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: qz300-transferbench <qz300-fakeradio> [reads]\n");
        return 2;
    }
    const int reads = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    QProcess radio;
    radio.start(QString::fromLocal8Bit(argv[1]), {QStringLiteral("--quiet")});
    if (!radio.waitForReadyRead(5000)) {
        std::fprintf(stderr, "the fake radio did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(radio.readLine()).trimmed();

    bool failed = false;
    Messages::setHandler([&](QWidget *, const Messages::Message &message) {
        std::fprintf(stderr, "message box: %s\n", qPrintable(message.text));
        failed = true;
    });
    // The changes box is answered at once with its default, 写入: the figure is the program's time.
    Messages::setQuestionHandler([](QWidget *, const Messages::Question &question) { return question.defaultButton; });
    QTemporaryDir dir;
    auto window = Startup::run(dir.filePath(Startup::databaseFileName()), PortTable({device}));
    if (!window)
        return 1;
    auto *reader = window->findChild<ReadTransfer *>();
    auto *writer = window->findChild<WriteTransfer *>();
    const QString ready = QStringLiteral("对讲机就绪...");

    QList<double> readWalls;
    QList<double> readCpus;
    EventCount events(QAbstractEventDispatcher::instance());
    for (int run = 0; run < reads; ++run) {
        if (!waitFor([&] { return window->statusText() == ready; }, 5000)) {
            std::fprintf(stderr, "the radio did not answer the poll\n");
            return 1;
        }
        bool done = false;
        double wall = 0;
        double cpuEnd = 0;
        double systemEnd = 0;
        QElapsedTimer clock;
        // Waits on the transfer's own signals: a polling wait would add its wake-ups to the figure.
        QEventLoop loop;
        const auto connection = QObject::connect(reader, &ReadTransfer::finished, &loop, [&] {
            wall = clock.nsecsElapsed() / 1e9;
            cpuEnd = cpuSeconds();
            systemEnd = systemSeconds();
            stopCounting(run + 1);
            events.stop();
            done = true;
            loop.quit();
        });
        const auto failure = QObject::connect(reader, &ReadTransfer::failed, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        events.start();
        startCounting();
        const double systemStart = systemSeconds();
        const double cpuStart = cpuSeconds();
        clock.start();
        trigger(*window, "读信道");
        loop.exec();
        QObject::disconnect(connection);
        QObject::disconnect(failure);
        if (!done)
            return 1;
        readWalls << wall;
        readCpus << cpuEnd - cpuStart;
        std::printf("read %d: %.3f s wall, %.3f s CPU (%.1f %%), status %s\n", run + 1, wall, cpuEnd - cpuStart,
                    100.0 * (cpuEnd - cpuStart) / wall, qPrintable(window->statusText()));
        std::printf("  %.1f ms of the CPU time in the kernel; %d paint events (%d of them the progress bar's), %d timer events, %d wake-ups\n", 1000 * (systemEnd - systemStart),
                    events.paints, events.barPaints, events.timers, events.wakeUps);
    }

    // Under callgrind only the reads are counted; the writes would take minutes there.
    if (underValgrind()) {
        window.reset();
        radio.terminate();
        radio.waitForFinished(3000);
        return 0;
    }
    if (!waitFor([&] { return window->statusText() == ready; }, 5000))
        return 1;
    const double longestPause = longestPauseDuringStoringRead(*window, reader);
    if (longestPause < 0)
        return 1;
    if (!waitFor([&] { return window->statusText() == ready; }, 5000))
        return 1;
    setWriteOptions(false);
    bool written = false;
    double writeWall = 0;
    QElapsedTimer clock;
    const auto plainWrite = QObject::connect(writer, &WriteTransfer::finished, [&] {
        writeWall = clock.nsecsElapsed() / 1e9;
        written = true;
    });
    const double cpuStart = cpuSeconds();
    clock.start();
    trigger(*window, "写信道");
    waitFor([&] { return written || failed; }, 30000);
    const double writeCpu = cpuSeconds() - cpuStart;
    QObject::disconnect(plainWrite);
    if (!written)
        return 1;

    // The safe write, on a table that differs from the radio in channel 1.
    if (!waitFor([&] { return window->statusText() == ready; }, 5000))
        return 1;
    setWriteOptions(true);
    ChannelList changed = window->channelTable().channels();
    changed[0].rf = QStringLiteral("146.52000");
    changed[0].tf = QStringLiteral("146.52000");
    window->replaceChannelSet(QStringLiteral("bench"), changed, window->squelchLevel());
    auto *result = window->findChild<QLabel *>(QStringLiteral("transferResult"));
    const QString verified = QStringLiteral("写入并校验完成");
    clock.start();
    const double safeCpuStart = cpuSeconds();
    trigger(*window, "写信道");
    const bool safeDone = waitFor([&] { return failed || (result->isVisible() && result->text().startsWith(verified)); }, 30000);
    const double safeWall = clock.nsecsElapsed() / 1e9;
    const double safeCpu = cpuSeconds() - safeCpuStart;
    if (!safeDone || failed) {
        std::fprintf(stderr, "the safe write did not end verified: %s\n", qPrintable(result->text()));
        return 1;
    }

    std::sort(readWalls.begin(), readWalls.end());
    std::sort(readCpus.begin(), readCpus.end());
    const double wall = readWalls.at(readWalls.size() / 2);
    const double cpu = readCpus.at(readCpus.size() / 2);
    const double target = LineLimitSeconds + ArmingSeconds;
    std::printf("\nfull read, click to 读出信道数据完毕！ (median of %d): %.3f s\n", reads, wall);
    std::printf("  line limit %.3f s + arming tick %.3f s = %.3f s; over it by %.3f s (target: within 0.250 s)\n",
                LineLimitSeconds, ArmingSeconds, target, wall - target);
    std::printf("program CPU time during the read: %.3f s = %.2f %% of its wall time (target: at most 0.5 %% under X)\n", cpu,
                100.0 * cpu / wall);
    std::printf("longest pause of the window's event loop during a read that stores a changed set: %.1f ms (target: at most 10 ms)\n",
                longestPause);
    std::printf("full write, click to 数据传送完毕...: %.3f s (5.100 s by design), CPU %.3f s\n", writeWall, writeCpu);
    const double safeTarget = 1.02 * (2 * 2.775 + 5.1);
    std::printf("safe write (backup read, changes box answered at once, write, read-back), click to %s: %.3f s, CPU %.3f s\n",
                qPrintable(result->text()), safeWall, safeCpu);
    std::printf("  = %.3f x (2 x 2.775 s + 5.100 s); target within 1.02 x, i.e. %.3f s\n", safeWall / (2 * 2.775 + 5.1),
                safeTarget);

    window.reset();
    radio.terminate();
    radio.waitForFinished(3000);
    return 0;
}
