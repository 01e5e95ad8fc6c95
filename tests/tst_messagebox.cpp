#include "recordedmessages.h"
#include "window/ui/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class tst_MessageBox : public QObject
{
    Q_OBJECT

private slots:
    void realQuestion_data();
    void realQuestion();
    void recordedQuestion();
};

namespace {

const QStringList ThreeButtons = {QStringLiteral("重试"), QStringLiteral("放弃修改"), QStringLiteral("取消")};

/// Waits for the question box to come up, then does `act` to it.
void whenBoxUp(std::function<void(QMessageBox *)> act)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        act(box);
    });
    poll->start();
}

} // namespace

void tst_MessageBox::realQuestion_data()
{
    QTest::addColumn<QString>("action"); // a button text to click, or a key
    QTest::addColumn<int>("escapeButton");
    QTest::addColumn<int>("expected");

    QTest::newRow("first button") << "重试" << 2 << 0;
    QTest::newRow("middle button") << "放弃修改" << 2 << 1;
    QTest::newRow("escape, chosen escape button") << "Escape" << 1 << 1;
    QTest::newRow("escape, no escape button: the last") << "Escape" << -1 << 2;
    QTest::newRow("return: the default button") << "Return" << 2 << 0;
    QTest::newRow("close box") << "close" << 2 << 2;
}

void tst_MessageBox::realQuestion()
{
    QFETCH(QString, action);
    QFETCH(int, escapeButton);
    QFETCH(int, expected);

    QStringList seen;
    whenBoxUp([&](QMessageBox *box) {
        for (QAbstractButton *button : box->buttons())
            seen << button->text();
        if (action == u"Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else if (action == u"Return")
            QTest::keyClick(box, Qt::Key_Return);
        else if (action == u"close")
            box->close();
        else
            for (QAbstractButton *button : box->buttons())
                if (button->text() == action)
                    button->click();
    });
    Messages::Question question{QStringLiteral("标题"), QStringLiteral("内容"), Messages::Icon::Warning, ThreeButtons, 0, escapeButton};
    QCOMPARE(Messages::ask(nullptr, question), expected);
    seen.sort();
    QStringList all = ThreeButtons;
    all.sort();
    QCOMPARE(seen, all);
}

void tst_MessageBox::recordedQuestion()
{
    RecordedMessages messages;
    Messages::Question question{QStringLiteral("标题"), QStringLiteral("内容"), Messages::Icon::Warning, ThreeButtons, 0, 1};
    messages.answerNext(0);
    messages.answerNext(7); // not a button: treated as the escape button
    QCOMPARE(Messages::ask(nullptr, question), 0);
    QCOMPARE(Messages::ask(nullptr, question), 1);
    QCOMPARE(Messages::ask(nullptr, question), 1); // unanswered: the escape button
    messages.answerOthers([](const Messages::Question &asked) { return int(asked.buttons.size()) - 1; });
    QCOMPARE(Messages::ask(nullptr, question), 2);
    QCOMPARE(messages.questions().size(), 4);
    QCOMPARE(messages.lastQuestion().text, QStringLiteral("内容"));
    QVERIFY(messages.isEmpty()); // questions are not plain boxes
}

QTEST_MAIN(tst_MessageBox)
#include "tst_messagebox.moc"
