#include "core/files/outputtarget.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// Where a written file goes: the old file is replaced only when the user may write it, and the
// replacement is the same file to its owner.
class tst_OutputTarget : public QObject
{
    Q_OBJECT

private slots:
    void unwritableFileIsRefused();
    void folderThatCannotTakeTheFileIsNamed();
    void ownerAndGroupStay();
    void longNameIsWritten_data();
    void longNameIsWritten();
};

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void tst_OutputTarget::unwritableFileIsRefused()
{
    // A file made read-only (chmod 444) was replaced and the write reported done; even root,
    // who may write it, leaves it as the user made it.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept.doc"));
    QVERIFY(put(path, "old"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QString error = OutputTarget::write(path, "new");
    QVERIFY2(error.startsWith(path + QStringLiteral(": 文件不可写：没有权限（")), qPrintable(error));
    QCOMPARE(contentOf(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.doc"});
}

void tst_OutputTarget::folderThatCannotTakeTheFileIsNamed()
{
    if (::geteuid() == 0)
        QSKIP("root may write into any folder");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("plan.doc"));
    QVERIFY(put(path, "old"));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString error = OutputTarget::write(path, "new");
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QVERIFY2(error.startsWith(QStringLiteral("%1: 文件夹 %2 不可写：没有权限（").arg(path, dir.path())), qPrintable(error));
    QCOMPARE(contentOf(path), QByteArray("old"));
}

void tst_OutputTarget::ownerAndGroupStay()
{
    // Run as root (sudo, a service), the replacement was root's: the user could no longer change it.
    if (::geteuid() != 0)
        QSKIP("only root may give a file to another user");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("users.doc"));
    QVERIFY(put(path, "old"));
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::chown(name.constData(), 4321, 4322), 0);
    QCOMPARE(OutputTarget::write(path, "new"), QString());
    QCOMPARE(contentOf(path), QByteArray("new"));
    struct stat status{};
    QCOMPARE(::stat(name.constData(), &status), 0);
    QCOMPARE(status.st_uid, uid_t(4321));
    QCOMPARE(status.st_gid, gid_t(4322));
}

void tst_OutputTarget::longNameIsWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("245 characters, new") << QString(241, u'a') + QStringLiteral(".doc");
    QTest::newRow("255 characters") << QString(251, u'b') + QStringLiteral(".doc");
    QTest::newRow("84 Chinese characters (252 bytes)") << QString(84, QChar(0x4fe1));
}

void tst_OutputTarget::longNameIsWritten()
{
    // The temporary file beside it took the name beyond the file system's 255 bytes.
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(name);
    QCOMPARE(OutputTarget::write(path, "first"), QString());
    QCOMPARE(OutputTarget::write(path, "second"), QString());
    QCOMPARE(contentOf(path), QByteArray("second"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
}

QTEST_MAIN(tst_OutputTarget)
#include "tst_outputtarget.moc"
