#include "framemodel.h"
#include "jsonlines.h"
#include "realboxes.h"
#include "windowonradio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <optional>

namespace {

// What the radio holds before each write here: squelch level 5, a repeater on channel 1, a simplex
// channel 2, the rest empty.
QStringList previousMemory()
{
    QStringList frames{FrameModel::frame({5, true, 43'850'000, 43'130'000}),
                       FrameModel::frame({1, false, 14'550'000, 14'550'000})};
    for (int channel = 3; channel <= 16; ++channel)
        frames << FrameModel::frame({channel - 1, false, 0, 0});
    return frames;
}

ChannelRecord record(const char *rf, const char *tf, const char *bt)
{
    ChannelRecord r;
    r.rf = QString::fromLatin1(rf);
    r.tf = QString::fromLatin1(tf);
    r.bt = QString::fromLatin1(bt);
    return r;
}

/// The table as the radio's previous memory holds it.
QList<ChannelRecord> previousChannels()
{
    QList<ChannelRecord> channels{record("438.50000", "431.30000", "on"), record("145.50000", "145.50000", "off")};
    while (channels.size() < 16)
        channels << record("", "", "");
    return channels;
}

QString dataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("qz300"));
}

/// Every line of the write log so far.
QList<QJsonObject> logLines()
{
    return jsonLines(QDir(dataFolder()).filePath(QStringLiteral("write-log.jsonl")));
}

void clearDataFolder()
{
    QFile::remove(dataFolder());
    QDir(dataFolder()).removeRecursively();
}

/// The same case with the program's boxes recorded, and once shown for real.
void addBoxRows()
{
    QTest::addColumn<bool>("realBox");
    QTest::newRow("recorded box") << false;
    QTest::newRow("real box") << true;
}

/// A window on a radio that has answered, holding the previous memory, the table set to `channels`.
struct SafeWriteRig : WindowOnRadio
{
    SafeWriteRig(bool backupFirst, bool showChanges, bool verifyAfter, const QList<ChannelRecord> &channels,
                 const QString &squelch = QStringLiteral("5"))
    {
        clearDataFolder();
        setWriteOptions(backupFirst, showChanges, verifyAfter);
        radio.setFrames(previousMemory());
        writeToSilentRadio = false;
        if (window)
            window->replaceChannelSet(QStringLiteral("test"), channels, squelch);
    }

    QLabel *result() const { return window->findChild<QLabel *>(QStringLiteral("transferResult")); }
    bool radioReady() const { return window->statusText() == QStringLiteral("对讲机就绪..."); }
    bool idle() const { return window->activity() == CommandHost::Activity::Idle; }
};

} // namespace

class tst_SafeWrite : public QObject
{
    Q_OBJECT

private slots:
    void silentRadioAsksFirst_data();
    void silentRadioAsksFirst();
    void answeredRadioWritesWithoutQuestion();
    void backupHoldsWhatTheRadioHeld();
    void changesListExactlyTheChangedChannels_data();
    void changesListExactlyTheChangedChannels();
    void changesInRealBox();
    void backupReadFailureAsksFirst_data();
    void backupReadFailureAsksFirst();
    void unsavableBackupSendsNothing();
    void readBackFailureIsNoSuccess_data();
    void readBackFailureIsNoSuccess();
    void unwritableLogIsAWarningOnly_data();
    void unwritableLogIsAWarningOnly();
    void verifiedWriteAndItsLogLine();
    void wrongDigitFailsTheVerify_data();
    void wrongDigitFailsTheVerify();
    void optionsOffGiveThePlainWrite();
    void optionsAreKeptAcrossRestarts();
};

void tst_SafeWrite::silentRadioAsksFirst_data()
{
    QTest::addColumn<bool>("realBox");
    QTest::addColumn<int>("answer"); // -1: Escape
    QTest::addColumn<bool>("sends");
    QTest::newRow("Escape sends nothing") << false << -1 << false;
    QTest::newRow("取消 sends nothing") << false << 1 << false;
    QTest::newRow("写入 writes anyway") << false << 0 << true;
    QTest::newRow("real box, Escape") << true << -1 << false;
}

void tst_SafeWrite::silentRadioAsksFirst()
{
    QFETCH(bool, realBox);
    QFETCH(int, answer);
    QFETCH(bool, sends);
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    rig.writeToSilentRadio = false;
    rig.radio.setSilent(true);
    QTest::qWait(400); // the poll asks and hears nothing
    QVERIFY(rig.window->statusText() != QStringLiteral("对讲机就绪..."));
    std::optional<RealBoxes> real;
    if (realBox)
        real.emplace(300);
    else if (answer >= 0)
        rig.messages.answerNext(answer);
    rig.radio.clearReceived();

    rig.action("写信道")->trigger();

    const QString expected = QStringLiteral("对讲机没有应答（端口 COM1）。请检查电缆和对讲机电源。仍要写入吗？");
    if (real) {
        QCOMPARE(real->texts(), QStringList{expected});
        QCOMPARE(real->buttons(), QStringList{QStringLiteral("写入|取消")});
    } else {
        QCOMPARE(rig.messages.questions().size(), 1);
        const Messages::Question question = rig.messages.lastQuestion();
        QCOMPARE(question.text, expected);
        QCOMPARE(question.buttons, (QStringList{QStringLiteral("写入"), QStringLiteral("取消")}));
        QCOMPARE(question.defaultButton, 1);
        QCOMPARE(question.escapeButton, 1);
    }
    QCOMPARE(rig.writer()->isRunning(), sends);
    if (!sends) {
        QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
        QTest::qWait(400);
        // Only the poll's "C" may have gone out, never the write's "A".
        QVERIFY2(!rig.radio.received().contains('A'), rig.radio.received().constData());
        return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(rig.radio.received().contains('A'), 2000);
    rig.writer()->abandon();
}

void tst_SafeWrite::answeredRadioWritesWithoutQuestion()
{
    WindowOnRadio rig;
    QVERIFY(rig.isUp());
    rig.writeToSilentRadio = false;
    QTRY_COMPARE_WITH_TIMEOUT(rig.window->statusText(), QStringLiteral("对讲机就绪..."), 5000);
    rig.action("写信道")->trigger();
    QVERIFY(rig.messages.questions().isEmpty());
    QVERIFY(rig.writer()->isRunning());
    rig.writer()->abandon();
}

void tst_SafeWrite::backupHoldsWhatTheRadioHeld()
{
    QList<ChannelRecord> table = previousChannels();
    table[2] = record("146.52000", "146.52000", "off");
    SafeWriteRig rig(true, false, false, table);
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);

    rig.action("写信道")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(rig.radio.writesStored(), 1, 15000);
    QTRY_VERIFY(rig.idle());

    const QStringList backups = QDir(QDir(dataFolder()).filePath(QStringLiteral("backups"))).entryList(QDir::Files);
    QCOMPARE(backups.size(), 1);
    const QRegularExpressionMatch name = QRegularExpression(QStringLiteral("^(\\d{8}-\\d{6})-COM1\\.doc$")).match(backups.first());
    QVERIFY2(name.hasMatch(), qPrintable(backups.first()));
    const QDateTime stamped = QDateTime::fromString(name.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
    QVERIFY(stamped >= before.addSecs(-1) && stamped <= QDateTime::currentDateTime());

    QFile file(QDir(dataFolder()).filePath(QStringLiteral("backups/") + backups.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList items = QString::fromLatin1(file.readAll()).trimmed().split(u',');
    QCOMPARE(items.takeLast(), QString()); // every item ends in a comma
    QStringList expected{QStringLiteral("5"), QStringLiteral("438.50000"), QStringLiteral("431.30000"), QStringLiteral("on"),
                         QStringLiteral("145.50000"), QStringLiteral("145.50000"), QStringLiteral("off")};
    for (int channel = 3; channel <= 16; ++channel)
        expected << QString() << QString() << QString();
    QCOMPARE(items, expected);
    // And the radio now holds the table.
    QCOMPARE(FrameModel::parse(rig.radio.frames().at(2)).receive10Hz, 14'652'000);
}

void tst_SafeWrite::changesListExactlyTheChangedChannels_data()
{
    QTest::addColumn<QList<ChannelRecord>>("table");
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("defaultButton");

    const QStringList writeOrCancel{QStringLiteral("写入"), QStringLiteral("取消")};
    const QString head = QStringLiteral("写入将改动对讲机中的以下内容（原有 → 写入）：\n\n");
    QTest::newRow("nothing differs") << previousChannels() << QStringLiteral("5")
                                     << QStringLiteral("对讲机中的信道与要写入的相同，写入不会改动什么。")
                                     << QStringList{QStringLiteral("仍然写入"), QStringLiteral("取消")} << 1;
    QList<ChannelRecord> second = previousChannels();
    second[1] = record("145.52500", "145.52500", "off");
    QTest::newRow("channel 2 only")
        << second << QStringLiteral("5")
        << head + QStringLiteral("第 2 信道：145.50000 / 145.50000 / off → 145.52500 / 145.52500 / off") << writeOrCancel << 0;
    QList<ChannelRecord> several = previousChannels();
    several[0] = record("438.50000", "431.30000", "off");
    several[15] = record("146.00000", "146.00000", "off");
    QTest::newRow("squelch, channels 1 and 16")
        << several << QStringLiteral("3")
        << head + QStringLiteral("静噪级别：5 → 3\n第 1 信道：438.50000 / 431.30000 / on → 438.50000 / 431.30000 / off\n"
                                 "第 16 信道：- / - / off → 146.00000 / 146.00000 / off")
        << writeOrCancel << 0;
    QList<ChannelRecord> emptied = previousChannels();
    emptied[0] = record("", "", "");
    QTest::newRow("a channel emptied")
        << emptied << QStringLiteral("5")
        << head + QStringLiteral("第 1 信道：438.50000 / 431.30000 / on → - / - / off") << writeOrCancel << 0;
}

void tst_SafeWrite::changesListExactlyTheChangedChannels()
{
    QFETCH(QList<ChannelRecord>, table);
    QFETCH(QString, squelch);
    QFETCH(QString, text);
    QFETCH(QStringList, buttons);
    QFETCH(int, defaultButton);
    SafeWriteRig rig(false, true, false, table, squelch);
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    rig.radio.clearReceived();
    // Escape: 取消 in both boxes.
    rig.action("写信道")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(rig.messages.questions().size(), 1, 8000);
    const Messages::Question question = rig.messages.lastQuestion();
    QCOMPARE(question.text, text);
    QCOMPARE(question.buttons, buttons);
    QCOMPARE(question.defaultButton, defaultButton);
    QCOMPARE(question.escapeButton, 1);
    QVERIFY(rig.idle());
    QTest::qWait(300);
    QVERIFY2(!rig.radio.received().contains('A'), rig.radio.received().constData());
    QCOMPARE(rig.radio.frames(), previousMemory());
    QCOMPARE(logLines().last().value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
    QCOMPARE(QDir(QDir(dataFolder()).filePath(QStringLiteral("backups"))).entryList(QDir::Files).size(), 0);
}

void tst_SafeWrite::changesInRealBox()
{
    QList<ChannelRecord> table = previousChannels();
    table[1] = record("145.52500", "145.52500", "off");
    SafeWriteRig rig(true, true, true, table);
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    RealBoxes real(300);
    real.answerNext(QStringLiteral("写入"));
    rig.action("写信道")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(rig.radio.writesStored(), 1, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.result()->isVisible() && rig.idle(), 8000);
    QCOMPARE(real.texts().size(), 1);
    QVERIFY2(real.texts().first().endsWith(QStringLiteral("第 2 信道：145.50000 / 145.50000 / off → 145.52500 / 145.52500 / off")),
             qPrintable(real.texts().first()));
    QCOMPARE(real.buttons(), QStringList{QStringLiteral("写入|取消")});
    QVERIFY2(rig.result()->text().startsWith(QStringLiteral("写入并校验完成 16/16")), qPrintable(rig.result()->text()));
}

void tst_SafeWrite::backupReadFailureAsksFirst_data()
{
    addBoxRows();
}

void tst_SafeWrite::backupReadFailureAsksFirst()
{
    QFETCH(bool, realBox);
    SafeWriteRig rig(true, true, true, previousChannels());
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    rig.radio.setStopAfterFrames(5);
    rig.radio.clearReceived();
    std::optional<RealBoxes> real;
    if (realBox)
        real.emplace(300);
    rig.action("写信道")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT((real ? real->texts().size() : rig.messages.questions().size()) == 1 && rig.idle(), 8000);
    const QString text = real ? real->texts().first() : rig.messages.lastQuestion().text;
    QVERIFY2(text.startsWith(QStringLiteral("写入前没有读到对讲机中原有的信道，无法备份：\n读数错误！！\n对讲机的应答在 5/16 个信道后中断")),
             qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("仍要写入吗？")), qPrintable(text));
    if (real) {
        QCOMPARE(real->buttons(), QStringList{QStringLiteral("写入|取消")});
    } else {
        const Messages::Question question = rig.messages.lastQuestion();
        QCOMPARE(question.buttons, (QStringList{QStringLiteral("写入"), QStringLiteral("取消")}));
        QCOMPARE(question.defaultButton, 1);
        QCOMPARE(question.escapeButton, 1);
    }
    QTest::qWait(300);
    QVERIFY(!rig.radio.received().contains('A'));
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    const QJsonObject line = logLines().last();
    QCOMPARE(line.value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
    QVERIFY(line.value(QStringLiteral("before")).isNull());
}

void tst_SafeWrite::unsavableBackupSendsNothing()
{
    SafeWriteRig rig(true, false, false, previousChannels());
    QVERIFY(rig.isUp());
    // A file where the backup folder belongs: the backup cannot be kept.
    QVERIFY(QDir().mkpath(dataFolder()));
    QFile blocker(QDir(dataFolder()).filePath(QStringLiteral("backups")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    rig.radio.clearReceived();
    rig.action("写信道")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.messages.questions().size() == 1 && rig.idle(), 8000);
    const Messages::Question question = rig.messages.lastQuestion();
    QVERIFY2(question.text.startsWith(QStringLiteral("对讲机中原有的信道无法备份：")), qPrintable(question.text));
    QCOMPARE(question.defaultButton, 1);
    QTest::qWait(300);
    QVERIFY(!rig.radio.received().contains('A'));
    QCOMPARE(rig.radio.frames(), previousMemory());
    QCOMPARE(logLines().last().value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
}

void tst_SafeWrite::readBackFailureIsNoSuccess_data()
{
    addBoxRows();
}

void tst_SafeWrite::readBackFailureIsNoSuccess()
{
    QFETCH(bool, realBox);
    QList<ChannelRecord> table = previousChannels();
    table[1] = record("145.52500", "145.52500", "off");
    SafeWriteRig rig(false, false, true, table);
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    // The radio takes the set, then goes quiet (switched off, say) before the read-back.
    connect(&rig.radio, &FakeRadio::framesStored, &rig.radio, [&rig] { rig.radio.setSilent(true); });
    std::optional<RealBoxes> real;
    if (realBox)
        real.emplace(300);
    rig.action("写信道")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.result()->isVisible() && rig.idle(), 20000);
    const QString text = real ? real->texts().value(0) : rig.messages.all().value(0).text;
    QCOMPARE(text, QStringLiteral("信道数据已写入，但读回校验没有成功，不知道对讲机是否全部收到：\n读数错误！！\n"
                                  "对讲机没有应答：请检查电缆和对讲机电源"));
    QVERIFY2(rig.result()->text().startsWith(QStringLiteral("写入完成，未能校验 16/16")), qPrintable(rig.result()->text()));
    const QJsonObject line = logLines().last();
    QCOMPARE(line.value(QStringLiteral("outcome")).toString(), QStringLiteral("written"));
    QVERIFY(line.value(QStringLiteral("after")).isNull());
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
}

void tst_SafeWrite::unwritableLogIsAWarningOnly_data()
{
    addBoxRows();
}

void tst_SafeWrite::unwritableLogIsAWarningOnly()
{
    QFETCH(bool, realBox);
    SafeWriteRig rig(false, false, false, previousChannels());
    QVERIFY(rig.isUp());
    // A file where the data folder belongs: no log can be written there.
    QVERIFY(QDir().mkpath(QFileInfo(dataFolder()).path()));
    QFile blocker(dataFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    std::optional<RealBoxes> real;
    if (realBox)
        real.emplace(300);
    rig.action("写信道")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.result()->isVisible() && rig.idle(), 10000);
    QVERIFY2(rig.result()->text().startsWith(QStringLiteral("写入完成 16/16")), qPrintable(rig.result()->text()));
    QCOMPARE(rig.radio.writesStored(), 1);
    const QStringList texts = real ? real->texts() : rig.messages.texts();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().startsWith(QStringLiteral("写入记录无法保存")), qPrintable(texts.first()));
    if (!real)
        QCOMPARE(rig.messages.all().first().icon, Messages::Icon::Warning);
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
    QFile::remove(dataFolder());
}

void tst_SafeWrite::verifiedWriteAndItsLogLine()
{
    QList<ChannelRecord> table = previousChannels();
    table[3] = record("433.00000", "433.00000", "off");
    SafeWriteRig rig(true, true, true, table);
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    rig.messages.answerNext(0); // 写入
    rig.action("写信道")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.result()->isVisible() && rig.idle(), 20000);
    QVERIFY2(QRegularExpression(QStringLiteral("^写入并校验完成 16/16  \\d\\d:\\d\\d:\\d\\d$")).match(rig.result()->text()).hasMatch(),
             qPrintable(rig.result()->text()));
    QVERIFY(rig.messages.all().isEmpty());
    QCOMPARE(rig.radio.writesStored(), 1);

    const QList<QJsonObject> lines = logLines();
    QCOMPARE(lines.size(), 1);
    const QJsonObject line = lines.first();
    QStringList keys = line.keys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"after", "before", "device", "outcome", "port", "program", "time", "usb"}));
    QCOMPARE(line.value("program").toString(), QStringLiteral("qz300"));
    QCOMPARE(line.value("port").toString(), QStringLiteral("COM1"));
    QCOMPARE(line.value("device").toString(), rig.radio.devicePath());
    QVERIFY(line.value("usb").isNull());
    QCOMPARE(line.value("outcome").toString(), QStringLiteral("verified"));
    QVERIFY(QDateTime::fromString(line.value("time").toString(), Qt::ISODate).isValid());
    const QJsonObject before = line.value("before").toObject();
    QCOMPARE(before.value("squelch").toString(), QStringLiteral("5"));
    const QJsonObject firstBefore = before.value("channels").toArray().at(0).toObject();
    QCOMPARE(firstBefore.value("receive_mhz").toString(), QStringLiteral("438.50000"));
    QCOMPARE(firstBefore.value("shift").toString(), QStringLiteral("on"));
    QVERIFY(before.value("channels").toArray().at(3).toObject().value("receive_mhz").isNull());
    const QJsonArray after = line.value("after").toObject().value("channels").toArray();
    QCOMPARE(after.size(), 16);
    QCOMPARE(after.at(3).toObject().value("receive_mhz").toString(), QStringLiteral("433.00000"));
    QCOMPARE(after.at(3).toObject().value("channel").toInt(), 4);
}

void tst_SafeWrite::wrongDigitFailsTheVerify_data()
{
    addBoxRows();
}

void tst_SafeWrite::wrongDigitFailsTheVerify()
{
    QFETCH(bool, realBox);
    QList<ChannelRecord> table = previousChannels();
    table[4] = record("145.60000", "145.60000", "off");
    SafeWriteRig rig(false, false, true, table);
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    // The radio stores the last digit of channel 5's frame one higher. The frame sends the transmit
    // frequency's digit pairs in reverse, so that digit is its tens of megahertz: 155.6 MHz.
    rig.radio.setCorruptStoredFrame(5);
    std::optional<RealBoxes> real;
    if (realBox)
        real.emplace(300);
    rig.action("写信道")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.result()->isVisible() && rig.idle(), 20000);
    const QString expected = QStringLiteral("第 5 信道：写入 145.60000 / 145.60000 / off，读回 145.60000 / 155.60000 / off");
    const QString text = real ? real->texts().value(0) : rig.messages.all().value(0).text;
    QVERIFY2(text.startsWith(QStringLiteral("校验失败：")), qPrintable(text));
    QVERIFY2(text.contains(u'\n' + expected + u'\n'), qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("信道：写入")), 1);
    if (!real)
        QCOMPARE(rig.messages.all().first().icon, Messages::Icon::Warning);
    QVERIFY2(rig.result()->text().startsWith(QStringLiteral("校验失败 第 5 信道")), qPrintable(rig.result()->text()));
    QCOMPARE(logLines().last().value("outcome").toString(), QStringLiteral("verify-failed"));
    QVERIFY(logLines().last().value("before").isNull());
    QCOMPARE(rig.enabledCommands(), WindowOnRadio::allCommands());
}

void tst_SafeWrite::optionsOffGiveThePlainWrite()
{
    QList<ChannelRecord> table = previousChannels();
    table[1] = record("145.52500", "145.52500", "off");
    SafeWriteRig rig(false, false, false, table);
    QVERIFY(rig.isUp());
    QTRY_VERIFY_WITH_TIMEOUT(rig.radioReady(), 5000);
    rig.radio.clearReceived();
    rig.action("写信道")->trigger();
    QVERIFY(rig.writer()->isRunning()); // at once, no read first
    QTRY_VERIFY_WITH_TIMEOUT(rig.result()->isVisible() && rig.idle(), 10000);
    QVERIFY2(rig.result()->text().startsWith(QStringLiteral("写入完成 16/16")), qPrintable(rig.result()->text()));
    const QByteArray sent = rig.radio.received();
    QVERIFY2(sent.startsWith('A'), sent.constData());
    QCOMPARE(sent.count('A'), 1);
    // 16 frames of digits, and no read command ('5' starts no frame: frames start with their address).
    QCOMPARE(QByteArray(sent).replace("C", "").size(), 1 + 16 * 20);
    QVERIFY(rig.messages.questions().isEmpty());
    QVERIFY(!QDir(QDir(dataFolder()).filePath(QStringLiteral("backups"))).exists());
    const QJsonObject line = logLines().last();
    QCOMPARE(line.value("outcome").toString(), QStringLiteral("written"));
    QVERIFY(line.value("before").isNull());
    QVERIFY(line.value("after").isNull());
}

void tst_SafeWrite::optionsAreKeptAcrossRestarts()
{
    // A window of its own: the rig would set the options for the plain write.
    const auto start = [](QTemporaryDir &dir, FakeRadio &radio) {
        return Startup::run(dir.filePath(Startup::databaseFileName()), PortTable({radio.devicePath()}));
    };
    const auto checks = [](MainWindow &window) {
        QString shown;
        for (const char *name : {"backupBeforeWrite", "changesBeforeWrite", "verifyAfterWrite"})
            shown += window.findChild<QAction *>(QString::fromLatin1(name))->isChecked() ? u'1' : u'0';
        return shown;
    };
    QFile::remove(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(QStringLiteral("qz300/qz300.ini")));
    RecordedMessages messages;
    QTemporaryDir dir;
    FakeRadio radio;
    {
        auto window = start(dir, radio);
        QVERIFY(window);
        // All on when nothing is kept yet, in the 编辑 menu.
        QCOMPARE(checks(*window), QStringLiteral("111"));
        const auto editMenu = window->findChild<QMenu *>(QStringLiteral("editMenu"));
        QStringList texts;
        for (const char *name : {"backupBeforeWrite", "changesBeforeWrite", "verifyAfterWrite"}) {
            QAction *item = window->findChild<QAction *>(QString::fromLatin1(name));
            QVERIFY(item->isCheckable());
            QVERIFY(editMenu->actions().contains(item));
            texts << item->text();
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("写入前备份"), QStringLiteral("写入前显示改动"), QStringLiteral("写入后校验")}));
        window->findChild<QAction *>(QStringLiteral("changesBeforeWrite"))->trigger();
        QCOMPARE(checks(*window), QStringLiteral("101"));
    }
    auto window = start(dir, radio);
    QVERIFY(window);
    QCOMPARE(checks(*window), QStringLiteral("101"));
}

QTEST_MAIN(tst_SafeWrite)
#include "tst_safewrite.moc"
