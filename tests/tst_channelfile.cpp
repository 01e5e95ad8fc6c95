#include "core/files/channelfile.h"
#include "core/files/workingdirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// The channel file format on its own: items, layouts, loaded values, the written bytes, and the
// working-directory helpers of the file commands.
class tst_ChannelFile : public QObject
{
    Q_OBJECT

private slots:
    void layouts_data();
    void layouts();
    void loadedValue_data();
    void loadedValue();
    void tooFewItems_data();
    void tooFewItems();
    void textOnly_data();
    void textOnly();
    void compose();
    void composeRefusesSeparators_data();
    void composeRefusesSeparators();
    void roundTrip();
    void failedSaveLeavesFiles();
    void loadFaults();
    void loadRefusesWhatIsNoFile_data();
    void loadRefusesWhatIsNoFile();
    void textBeforeNul_data();
    void textBeforeNul();
    void workDir();
};

namespace {

/// 49 items: squelch "5", then channel k with rf 1k0.0, tf 1k1.0, bt "on"/"off".
QStringList sampleItems()
{
    QStringList list{QStringLiteral("5")};
    for (int k = 0; k < ChannelCount; ++k)
        list << QStringLiteral("%1.0").arg(140 + k) << QStringLiteral("%1.5").arg(150 + k)
             << (k % 2 ? QStringLiteral("on") : QStringLiteral("off"));
    return list;
}

QByteArray joined(const QStringList &items, const QByteArray &afterComma)
{
    QByteArray bytes;
    for (const QString &item : items)
        bytes += item.toLatin1() + ',' + afterComma;
    return bytes;
}

ChannelList sampleChannels()
{
    ChannelList list;
    for (int k = 0; k < ChannelCount; ++k) {
        ChannelRecord record;
        record.rf = QStringLiteral("%1.00000").arg(140 + k);
        record.tf = QStringLiteral("%1.50000").arg(150 + k);
        record.bt = k % 2 ? QStringLiteral("on") : QStringLiteral("off");
        list.append(record);
    }
    return list;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

void tst_ChannelFile::layouts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QStringList items = sampleItems();
    QTest::newRow("one line") << joined(items, "");
    QTest::newRow("one line, line end at the close") << joined(items, "") + "\r\n";
    QTest::newRow("CR LF after each comma") << joined(items, "\r\n");
    QTest::newRow("LF after each comma") << joined(items, "\n");
    QTest::newRow("blanks and CR LF after each comma") << joined(items, "  \r\n");
    QTest::newRow("blanks before items") << joined(items, "   ");
    QTest::newRow("items past the 49th") << joined(items, "") + "junk,146.0,,more";
    QTest::newRow("last comma missing") << joined(items, "").chopped(1);
    QByteArray noCommas = items.join(u'\n').toLatin1();
    QTest::newRow("line ends instead of commas") << noCommas;
}

void tst_ChannelFile::layouts()
{
    QFETCH(QByteArray, bytes);
    const ChannelFile::ReadResult result = ChannelFile::parse(bytes);
    QCOMPARE(result.error, ChannelFile::ReadError::None);
    QCOMPARE(result.set.squelch, QStringLiteral("5"));
    QCOMPARE(result.set.channels, sampleChannels());
}

void tst_ChannelFile::loadedValue_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("stored");
    QTest::newRow("as saved") << "146.02500" << "146.02500";
    QTest::newRow("short") << "146.025" << "146.02500";
    QTest::newRow("below one") << "0.5" << ".50000";
    QTest::newRow("leading point") << ".5" << ".50000";
    QTest::newRow("negative") << "-3.2" << "-3.20000";
    QTest::newRow("four digits") << "1234.5" << "1234.50000";
    QTest::newRow("leading zero") << "0146.0250" << "146.02500";
    QTest::newRow("whole") << "5" << "5.00000";
    QTest::newRow("zero") << "0" << ".00000";
    QTest::newRow("rounded") << "145.123456" << "145.12346";
    QTest::newRow("trailing blanks") << "146.025  " << "146.02500";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("on") << "on" << "on";
    QTest::newRow("Null") << "Null" << "Null";
    QTest::newRow("unit after number") << "145.3MHz" << "145.3MHz";
    QTest::newRow("exponent") << "1e3" << "1e3";
    QTest::newRow("lone point") << "." << ".";
    QTest::newRow("huge") << QString(400, u'9') << QString(400, u'9');
}

void tst_ChannelFile::loadedValue()
{
    QFETCH(QString, item);
    QFETCH(QString, stored);
    QCOMPARE(ChannelFile::loadedValue(item), stored);
}

void tst_ChannelFile::tooFewItems_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("only blanks and line ends") << QByteArray("  \r\n \n");
    QTest::newRow("48 items") << joined(sampleItems().mid(0, 48), "");
    QTest::newRow("48 items, CR LF") << joined(sampleItems().mid(0, 48), "\r\n");
}

void tst_ChannelFile::tooFewItems()
{
    QFETCH(QByteArray, bytes);
    const ChannelFile::ReadResult result = ChannelFile::parse(bytes);
    QCOMPARE(result.error, ChannelFile::ReadError::TooFewItems);
    QVERIFY(result.set.channels.isEmpty());
}

void tst_ChannelFile::textOnly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");

    const QStringList items = sampleItems();
    const auto withItem = [&items](int index, const QByteArray &item) {
        QByteArray bytes;
        for (int i = 0; i < items.size(); ++i)
            bytes += (i == index ? item : items[i].toLatin1()) + ',';
        return bytes;
    };
    QByteArray noise;
    quint32 state = 12345; // a fixed sequence of "random" bytes, a comma every few
    for (int i = 0; i < 400; ++i) {
        state = state * 1103515245u + 12345u;
        noise += i % 5 == 4 ? ',' : char(state >> 24);
    }

    QTest::newRow("plain") << joined(items, "") << true;
    QTest::newRow("CR LF and tabs") << joined(items, "\r\n\t") << true;
    QTest::newRow("UTF-8 text in an item") << withItem(0, "开") << true;
    QTest::newRow("anything after the 49th item") << joined(items, "") + QByteArray("\0\xff\x01", 3) << true;
    QTest::newRow("NUL in an item") << withItem(2, QByteArray("150.5\0", 6)) << false;
    QTest::newRow("control byte") << withItem(0, "\x01" "5") << false;
    QTest::newRow("escape") << withItem(4, "\x1b[0m") << false;
    QTest::newRow("DEL") << withItem(4, "on\x7f") << false;
    QTest::newRow("not UTF-8") << withItem(4, "\xff\xfe") << false;
    QTest::newRow("cut UTF-8 sequence") << withItem(4, "\xe5\xbc") << false;
    QTest::newRow("random bytes with commas") << noise << false;
}

void tst_ChannelFile::textOnly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    const ChannelFile::ReadResult result = ChannelFile::parse(bytes);
    QCOMPARE(result.error, accepted ? ChannelFile::ReadError::None : ChannelFile::ReadError::NotText);
    QCOMPARE(result.set.channels.size(), accepted ? ChannelCount : 0);
}

void tst_ChannelFile::compose()
{
    ChannelList channels = sampleChannels();
    channels[0] = {QVariant(), QStringLiteral("145.30000"), QStringLiteral("145.30000"), QVariant()};
    channels[1].rf = QStringLiteral("");
    channels[1].bt = QStringLiteral("  ");
    const ChannelFile::WriteResult result = ChannelFile::compose(QStringLiteral("  5"), channels);
    QCOMPARE(result.error, ChannelFile::WriteError::None);
    QVERIFY(result.bytes.startsWith("  5,145.30000,145.30000,Null,,151.50000,  ,142.00000,152.50000,off,"));
    QVERIFY(result.bytes.endsWith(",155.00000,165.50000,on,"));
    QCOMPARE(result.bytes.count(','), ChannelFile::ItemCount);
    QVERIFY(!result.bytes.contains('\n'));

    // Read back: the blanks before items go, "Null" in the shift reads as off, empty stays empty.
    const ChannelFile::ReadResult back = ChannelFile::parse(result.bytes);
    QCOMPARE(back.error, ChannelFile::ReadError::None);
    QCOMPARE(back.set.squelch, QStringLiteral("5"));
    QCOMPARE(back.set.channels[0].bt, QVariant(QStringLiteral("off")));
    QCOMPARE(back.set.channels[1].rf, QVariant(QStringLiteral("")));
    QCOMPARE(back.set.channels[1].bt, QVariant(QStringLiteral("")));
    QCOMPARE(back.set.channels.mid(2), channels.mid(2));

    QCOMPARE(ChannelFile::compose(QStringLiteral("3"), channels.mid(0, 15)).error, ChannelFile::WriteError::NotSixteenChannels);
}

void tst_ChannelFile::composeRefusesSeparators_data()
{
    QTest::addColumn<QString>("squelch");
    QTest::addColumn<QString>("bt");
    QTest::newRow("comma in squelch") << "1,2" << "on";
    QTest::newRow("line end in squelch") << "1\n" << "on";
    QTest::newRow("comma in bt") << "3" << "o,n";
    QTest::newRow("carriage return in bt") << "3" << "on\r";
}

// Such a value would split on loading and shift every later item into the wrong field.
void tst_ChannelFile::composeRefusesSeparators()
{
    QFETCH(QString, squelch);
    QFETCH(QString, bt);
    ChannelList channels = sampleChannels();
    channels[7].bt = bt;
    const ChannelFile::WriteResult result = ChannelFile::compose(squelch, channels);
    QCOMPARE(result.error, ChannelFile::WriteError::SeparatorInValue);
    QVERIFY(result.bytes.isEmpty());
}

void tst_ChannelFile::roundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chan"));
    QCOMPARE(ChannelFile::save(path, QStringLiteral("7"), sampleChannels()).error, ChannelFile::WriteError::None);
    const ChannelFile::ReadResult result = ChannelFile::load(path);
    QCOMPARE(result.error, ChannelFile::ReadError::None);
    QCOMPARE(result.set.squelch, QStringLiteral("7"));
    QCOMPARE(result.set.channels, sampleChannels());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("chan")});
}

void tst_ChannelFile::failedSaveLeavesFiles()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.doc"));
    QCOMPARE(ChannelFile::save(existing, QStringLiteral("7"), sampleChannels()).error, ChannelFile::WriteError::None);
    const QByteArray before = readAll(existing);

    ChannelList bad = sampleChannels();
    bad[3].bt = QStringLiteral("a,b");
    QCOMPARE(ChannelFile::save(existing, QStringLiteral("1"), bad).error, ChannelFile::WriteError::SeparatorInValue);
    QCOMPARE(readAll(existing), before);

    const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/x.doc"));
    const ChannelFile::WriteResult missing = ChannelFile::save(missingFolder, QStringLiteral("1"), sampleChannels());
    QCOMPARE(missing.error, ChannelFile::WriteError::CannotCreate);
    QVERIFY(!missing.detail.isEmpty());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.doc")));
    QCOMPARE(ChannelFile::save(dir.filePath(QStringLiteral("folder.doc")), QStringLiteral("1"), sampleChannels()).error,
             ChannelFile::WriteError::CannotCreate);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{QStringLiteral("folder.doc"), QStringLiteral("old.doc")}));
    QVERIFY(QDir(dir.filePath(QStringLiteral("folder.doc"))).isEmpty());
}

void tst_ChannelFile::loadFaults()
{
    QTemporaryDir dir;
    QCOMPARE(ChannelFile::load(dir.filePath(QStringLiteral("missing.doc"))).error, ChannelFile::ReadError::CannotOpen);
    QCOMPARE(ChannelFile::load(dir.path()).error, ChannelFile::ReadError::CannotOpen);
    const QString big = dir.filePath(QStringLiteral("big.doc"));
    {
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Megabytes without a single comma: no channel file, and it is not read to its end.
        const QByteArray line(64 * 1024, 'x');
        for (int i = 0; i < 40; ++i)
            QVERIFY(file.write(line) == line.size());
    }
    QCOMPARE(ChannelFile::load(big).error, ChannelFile::ReadError::TooFewItems);
}

// Pipes and devices are never opened for reading: a pipe would wait for a writer forever.
void tst_ChannelFile::loadRefusesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<ChannelFile::ReadError>("error");
    QTest::newRow("pipe") << "fifo" << ChannelFile::ReadError::NotRegularFile;
    QTest::newRow("device") << "/dev/null" << ChannelFile::ReadError::NotRegularFile;
    QTest::newRow("link to a pipe") << "link to fifo" << ChannelFile::ReadError::NotRegularFile;
    QTest::newRow("link to a file") << "link to file" << ChannelFile::ReadError::None;
}

void tst_ChannelFile::loadRefusesWhatIsNoFile()
{
    QFETCH(QString, kind);
    QFETCH(ChannelFile::ReadError, error);
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.doc"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString file = dir.filePath(QStringLiteral("file.doc"));
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(joined(sampleItems(), ""));
    }
    QString path = kind;
    if (kind == u"fifo") {
        path = fifo;
    } else if (kind.startsWith(u"link")) {
        path = dir.filePath(QStringLiteral("link.doc"));
        QVERIFY(QFile::link(kind.endsWith(u"fifo") ? fifo : file, path));
    }
    QCOMPARE(ChannelFile::load(path).error, error);
}

void tst_ChannelFile::textBeforeNul_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("no NUL") << "/home/user" << "/home/user";
    QTest::newRow("NUL padding") << QStringLiteral("/tmp") + QString(5, QChar(0)) << "/tmp";
    QTest::newRow("text after NUL") << QStringLiteral("/a") + QChar(0) + QStringLiteral("b") << "/a";
    QTest::newRow("NUL first") << QString(QChar(0)) + QStringLiteral("x") << "";
    QTest::newRow("empty") << "" << "";
}

void tst_ChannelFile::textBeforeNul()
{
    QFETCH(QString, text);
    QFETCH(QString, stripped);
    QCOMPARE(WorkingDirectory::textBeforeNul(text), stripped);
}

void tst_ChannelFile::workDir()
{
    const QString start = QDir::currentPath();
    QTemporaryDir dir;
    bool ok = false;
    QCOMPARE(WorkingDirectory::current(&ok), start);
    QVERIFY(ok);
    QVERIFY(WorkingDirectory::change(dir.path()));
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    QVERIFY(!WorkingDirectory::change(QString()));
    QVERIFY(!WorkingDirectory::change(dir.filePath(QStringLiteral("missing"))));
    QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());

    // A working directory that was removed has no name any more.
    const QString gone = dir.filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkpath(gone));
    QVERIFY(WorkingDirectory::change(gone));
    QVERIFY(QDir(gone).removeRecursively());
    QCOMPARE(WorkingDirectory::current(&ok), QString());
    QVERIFY(!ok);
    QVERIFY(WorkingDirectory::change(start));
}

QTEST_GUILESS_MAIN(tst_ChannelFile)
#include "tst_channelfile.moc"
