#include "core/files/channelfile.h"

#include "core/channels/channelrule.h"
#include "core/channels/textvalue.h"
#include "core/files/outputtarget.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ChannelFile {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

/// Moves past one line end (CR LF, LF or CR) at `pos`, if there is one.
qsizetype skipLineEnd(QByteArrayView bytes, qsizetype pos)
{
    if (pos < bytes.size() && bytes[pos] == '\r')
        ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n')
        ++pos;
    return pos;
}

bool isDecimalNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    if (i < size && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    qsizetype digits = 0;
    while (i < size && text[i] >= u'0' && text[i] <= u'9') {
        ++i;
        ++digits;
    }
    if (i < size && text[i] == u'.') {
        ++i;
        while (i < size && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
            ++digits;
        }
    }
    while (i < size && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    return digits > 0 && i == size;
}

QByteArray itemBytes(const QVariant &value)
{
    return value.isNull() ? QByteArrayLiteral("Null") : value.toString().toLocal8Bit();
}

bool holdsSeparator(const QByteArray &item)
{
    return item.contains(',') || item.contains('\r') || item.contains('\n');
}

/// The items, and in `end` how many bytes they were taken from.
QStringList splitItems(QByteArrayView bytes, int limit, qsizetype *end)
{
    QStringList list;
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (list.size() < limit) {
        while (pos < size && isBlank(bytes[pos]))
            ++pos;
        if (pos >= size)
            break;
        const qsizetype start = pos;
        while (pos < size && bytes[pos] != ',' && !isLineEnd(bytes[pos]))
            ++pos;
        list.append(QString::fromLocal8Bit(bytes.sliced(start, pos - start)));
        if (pos < size && bytes[pos] == ',') {
            ++pos;
            // The line end after a comma belongs to that item (the layout with one item a line);
            // blanks left before it by an editor are no item either.
            while (pos < size && isBlank(bytes[pos]))
                ++pos;
        }
        pos = skipLineEnd(bytes, pos);
    }
    if (end)
        *end = pos;
    return list;
}

#ifdef Q_OS_UNIX
/// Opens a regular file for reading without ever waiting: a pipe or a device is refused before
/// it is opened, and again after, should the name have been replaced in between.
ReadError openRegular(const QString &path, QFile &file)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0 || S_ISDIR(info.st_mode))
        return ReadError::CannotOpen;
    if (!S_ISREG(info.st_mode))
        return ReadError::NotRegularFile;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return ReadError::CannotOpen;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return S_ISDIR(info.st_mode) ? ReadError::CannotOpen : ReadError::NotRegularFile;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return ReadError::CannotOpen;
    }
    return ReadError::None;
}
#else
ReadError openRegular(const QString &path, QFile &file)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return ReadError::NotRegularFile;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) ? ReadError::None : ReadError::CannotOpen;
}
#endif

} // namespace

QStringList items(QByteArrayView bytes, int limit)
{
    return splitItems(bytes, limit, nullptr);
}

bool isText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7f)
            return false;
    }
    // The file is read in the system's 8-bit encoding (UTF-8 on Linux, the ANSI code page on
    // Windows), so text in that encoding is fine and anything it cannot decode is no text.
    QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

QString loadedValue(const QString &item)
{
    if (!isDecimalNumber(item))
        return item;
    bool ok = false;
    const double value = item.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return item;
    return TextValue::fiveDecimals(value);
}

ReadResult parse(QByteArrayView bytes)
{
    ReadResult result;
    qsizetype end = 0;
    const QStringList list = splitItems(bytes, ItemCount, &end);
    if (list.size() < ItemCount) {
        result.error = ReadError::TooFewItems;
        return result;
    }
    // Only what the items came from counts: whatever follows the 49th item is ignored.
    if (!isText(bytes.first(end))) {
        result.error = ReadError::NotText;
        return result;
    }
    result.set.squelch = list.at(0);
    result.set.channels.reserve(ChannelCount);
    const auto refuse = [&result](int item, const QString &text) {
        result.error = ReadError::NotFrequency;
        result.item = item + 1;
        result.detail = text;
        result.set = {};
        return result;
    };
    const auto frequency = [](const QString &item) { return item.trimmed() == u"Null" ? QStringLiteral("") : item; };
    for (int channel = 0; channel < ChannelCount; ++channel) {
        const int first = 1 + 3 * channel;
        ChannelRecord record;
        for (const int item : {first, first + 1}) {
            const QString text = frequency(list.at(item));
            if (!ChannelRule::isFrequencyText(text))
                return refuse(item, list.at(item));
            (item == first ? record.rf : record.tf) = loadedValue(text);
        }
        const std::optional<QString> shift = ChannelRule::fileShiftText(list.at(first + 2));
        if (!shift)
            return refuse(first + 2, list.at(first + 2));
        record.bt = *shift;
        result.set.channels.append(record);
    }
    return result;
}

ReadError readWhole(QFile &file, QByteArray &bytes)
{
    // Reading by the file's size asks for no more memory than the file needs (a read of the
    // largest size reserved it whatever the file, and failed under a memory limit). A pipe has no
    // size: it comes in pieces. A last read sees the end, or a file that grew meanwhile.
    constexpr qint64 Piece = 64 * 1024;
    bytes.clear();
    const qint64 size = file.isSequential() ? 0 : file.size();
    if (size > MaxFileBytes)
        return ReadError::TooLarge;
    bytes.reserve(size + Piece);
    while (true) {
        const qint64 have = bytes.size();
        const qint64 wanted = std::min(have < size ? size - have : Piece, MaxFileBytes + 1 - have);
        bytes.resize(have + wanted);
        const qint64 got = file.read(bytes.data() + have, wanted);
        bytes.resize(have + std::max<qint64>(got, 0));
        if (got < 0 || file.error() != QFileDevice::NoError)
            return ReadError::CannotRead;
        if (bytes.size() > MaxFileBytes)
            return ReadError::TooLarge;
        if (got == 0)
            return ReadError::None;
    }
}

ReadResult load(const QString &path)
{
    QFile file;
    if (const ReadError error = openRegular(path, file); error != ReadError::None) {
        ReadResult result;
        result.error = error;
        return result;
    }
    QByteArray bytes;
    if (const ReadError error = readWhole(file, bytes); error != ReadError::None) {
        ReadResult result;
        result.error = error;
        return result;
    }
    return parse(bytes);
}

WriteResult compose(const QString &squelch, const ChannelList &channels)
{
    WriteResult result;
    if (channels.size() != ChannelCount) {
        result.error = WriteError::NotSixteenChannels;
        return result;
    }
    QList<QByteArray> values{squelch.toLocal8Bit()};
    for (const ChannelRecord &record : channels)
        values << itemBytes(record.rf) << itemBytes(record.tf) << itemBytes(record.bt);
    for (const QByteArray &value : std::as_const(values)) {
        if (holdsSeparator(value)) {
            result.error = WriteError::SeparatorInValue;
            result.detail = QString::fromLocal8Bit(value);
            result.bytes.clear();
            return result;
        }
        result.bytes += value;
        result.bytes += ',';
    }
    return result;
}

WriteResult save(const QString &path, const QString &squelch, const ChannelList &channels)
{
    WriteResult result = compose(squelch, channels);
    if (result.error != WriteError::None)
        return result;
    const QString problem = OutputTarget::write(path, result.bytes);
    if (!problem.isEmpty()) {
        const QFileInfo info(path);
        result.error = info.isDir() || !QFileInfo(info.absolutePath()).isDir() ? WriteError::CannotCreate : WriteError::CannotWrite;
        result.detail = problem.mid(path.size() + 2);
    }
    return result;
}

} // namespace ChannelFile
