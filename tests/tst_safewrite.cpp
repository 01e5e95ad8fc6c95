#include "realboxes.h"
#include "windowonradio.h"

#include <QTest>

#include <optional>

class tst_SafeWrite : public QObject
{
    Q_OBJECT

private slots:
    void silentRadioAsksFirst_data();
    void silentRadioAsksFirst();
    void answeredRadioWritesWithoutQuestion();
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

QTEST_MAIN(tst_SafeWrite)
#include "tst_safewrite.moc"
