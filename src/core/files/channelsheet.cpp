#include "core/files/channelsheet.h"

#include "core/channels/channelrule.h"
#include "core/channels/channeltext.h"
#include "core/channels/frequencycheck.h"
#include "core/channels/textvalue.h"
#include "core/files/chirpsheet.h"
#include "core/files/csvrecords.h"
#include "core/files/outputtarget.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace ChannelSheet {

namespace {

const QString SquelchKey = QStringLiteral("squelch");
const QString ChannelsKey = QStringLiteral("channels");
const QString ChannelKey = QStringLiteral("channel");
const QString ReceiveKey = QStringLiteral("receive_mhz");
const QString TransmitKey = QStringLiteral("transmit_mhz");
const QString ShiftKey = QStringLiteral("shift");
const QStringList CsvHeader = {QStringLiteral("channel"), QStringLiteral("receive MHz"), QStringLiteral("transmit MHz"),
                               QStringLiteral("shift")};

/// An empty cell and a cell reading 0 both stand for no frequency, as in the grid.
bool isEmptySide(const QString &text)
{
    return text.isEmpty() || (ChannelRule::isFrequencyText(text) && FrequencyCheck::read(text) == FrequencyCheck::Reading::Empty);
}

void apply(ChannelRecord &record, const QList<FrequencyCheck::Assignment> &assignments)
{
    for (const FrequencyCheck::Assignment &assignment : assignments) {
        if (assignment.field == ChannelField::Rf)
            record.rf = assignment.value;
        else if (assignment.field == ChannelField::Tf)
            record.tf = assignment.value;
        else if (assignment.field == ChannelField::Bt)
            record.bt = assignment.value;
    }
}

SheetText outOfRange(const QString &text)
{
    return SheetText::of("%1 MHz is outside %2 to %3 MHz", QT_TRANSLATE_NOOP("SheetMessages", "%1 MHz 超出 %2 到 %3 MHz 的范围"))
        .arg(CsvRecords::excerpt(text))
        .arg(FrequencyCheck::LowerLimit)
        .arg(FrequencyCheck::UpperLimit);
}

RowCheck refuse(int column, const SheetText &error)
{
    RowCheck check;
    check.column = column;
    check.error = error;
    return check;
}

QString text(const QVariant &value)
{
    return value.isNull() ? QStringLiteral("Null") : value.toString();
}

SheetText at(int line, int column, const SheetText &message)
{
    return SheetText::of("line %1, column %2: ", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行第 %2 列：")).arg(line).arg(column) + message;
}

SheetText atLine(int line, const SheetText &message)
{
    return SheetText::of("line %1: ", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行：")).arg(line) + message;
}

SheetText notFrequency(const QString &text)
{
    return SheetText::of("\"%1\" is not a frequency in MHz", QT_TRANSLATE_NOOP("SheetMessages", "“%1”不是以 MHz 为单位的频率")).arg(CsvRecords::excerpt(text));
}

SheetText notShift(const QString &text)
{
    return SheetText::of("shift \"%1\" is not on or off", QT_TRANSLATE_NOOP("SheetMessages", "频差“%1”不是 on 或 off")).arg(CsvRecords::excerpt(text));
}

SheetText itemOf(int item, int channel, const SheetText &message)
{
    return SheetText::of("item %1 (channel %2): ", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 项（信道 %2）：")).arg(item).arg(channel) + message;
}

Result parseCsv(const QString &content)
{
    Result result;
    result.format = Format::Csv;
    const QChar separator = CsvRecords::separatorOf(content);
    CsvRecords::Reader reader(content, separator);
    // A quoted field left open anywhere is the first thing said, before what the rows hold.
    const auto failAt = [&](const SheetText &error) {
        const int unclosed = reader.drain();
        result.fail(unclosed > 0 ? atLine(unclosed, SheetText::of("a quoted field is not closed", QT_TRANSLATE_NOOP("SheetMessages", "引号括起的字段没有结束")))
                                 : error);
        return result;
    };

    enum class Expect { Squelch, Header, Rows } expect = Expect::Squelch;
    QList<std::optional<ChannelRecord>> channels(ChannelCount);
    QList<int> lineOfChannel(ChannelCount, 0);
    const qsizetype columnCount = CsvHeader.size();
    CsvRecords::Record record;
    // One field more than a row has: enough to count the columns of any row.
    while (reader.next(record, columnCount + 1)) {
        const int line = record.line;
        switch (expect) {
        case Expect::Squelch: {
            if (record.columns(2) != 2 || record.field(0).compare(SquelchKey, Qt::CaseInsensitive) != 0)
                return failAt(atLine(line, SheetText::of("expected \"squelch,<level 0 to 9>\"", QT_TRANSLATE_NOOP("SheetMessages", "应为“squelch,<静噪级别 0 到 9>”"))));
            const QString given = record.field(1).toString();
            const std::optional<QString> level = checkedSquelch(given);
            if (!level) {
                return failAt(at(line, 2, SheetText::of("squelch level \"%1\" is not a digit 0 to 9", QT_TRANSLATE_NOOP("SheetMessages", "静噪级别“%1”不是 0 到 9 的数字"))
                                              .arg(CsvRecords::excerpt(given))));
            }
            result.set.squelch = *level;
            expect = Expect::Header;
            break;
        }
        case Expect::Header:
            if (record.columns(columnCount) != columnCount)
                return failAt(atLine(line, SheetText::of("expected the header \"%1\"", QT_TRANSLATE_NOOP("SheetMessages", "应为表头“%1”")).arg(CsvHeader.join(u','))));
            for (int column = 0; column < columnCount; ++column) {
                if (record.field(column).compare(CsvHeader.at(column), Qt::CaseInsensitive) != 0)
                    return failAt(at(line, column + 1, SheetText::of("expected \"%1\"", QT_TRANSLATE_NOOP("SheetMessages", "应为“%1”")).arg(CsvHeader.at(column))));
            }
            expect = Expect::Rows;
            break;
        case Expect::Rows: {
            const qsizetype found = record.columns(columnCount);
            if (found != columnCount)
                return failAt(atLine(line, SheetText::of("expected 4 columns, found %1", QT_TRANSLATE_NOOP("SheetMessages", "应为 4 列，实有 %1 列")).arg(found)));
            bool ok = false;
            const int number = record.field(0).toInt(&ok);
            if (!ok || number < 1 || number > ChannelCount) {
                return failAt(at(line, 1, SheetText::of("channel \"%1\" is not 1 to %2", QT_TRANSLATE_NOOP("SheetMessages", "信道“%1”不在 1 到 %2 之间"))
                                              .arg(CsvRecords::excerpt(record.field(0)))
                                              .arg(ChannelCount)));
            }
            if (channels.at(number - 1)) {
                return failAt(at(line, 1,
                                 SheetText::of("channel %1 again (first on line %2)", QT_TRANSLATE_NOOP("SheetMessages", "信道 %1 重复（首次在第 %2 行）"))
                                     .arg(number)
                                     .arg(lineOfChannel.at(number - 1))));
            }
            const RowCheck check = checkRow(CsvRecords::withDecimalPoint(record.field(1).toString(), separator),
                                            CsvRecords::withDecimalPoint(record.field(2).toString(), separator), record.field(3).toString());
            if (!check.ok())
                return failAt(at(line, check.column + 2, check.error));
            channels[number - 1] = check.record;
            lineOfChannel[number - 1] = line;
            break;
        }
        }
    }
    if (reader.errorLine() > 0) {
        result.fail(atLine(reader.errorLine(), SheetText::of("a quoted field is not closed", QT_TRANSLATE_NOOP("SheetMessages", "引号括起的字段没有结束"))));
        return result;
    }
    if (expect != Expect::Rows) {
        result.fail(atLine(reader.lastLine() + 1, expect == Expect::Squelch ? SheetText::of("no squelch line", QT_TRANSLATE_NOOP("SheetMessages", "没有静噪行"))
                                                                            : SheetText::of("no header", QT_TRANSLATE_NOOP("SheetMessages", "没有表头"))));
        return result;
    }
    if (std::none_of(lineOfChannel.cbegin(), lineOfChannel.cend(), [](int line) { return line > 0; })) {
        result.fail(atLine(reader.lastLine() + 1, SheetText::of("a header and no channel rows", QT_TRANSLATE_NOOP("SheetMessages", "只有表头，没有信道行"))));
        return result;
    }
    // A list of only the used channels: the channels it leaves out are empty.
    for (const std::optional<ChannelRecord> &channel : std::as_const(channels))
        result.set.channels << channel.value_or(ChannelRecord{QVariant(), emptyText(), emptyText(), emptyText()});
    return result;
}

/// A JSON value as cell text: a string as it is, a number in plain decimals, null or absent as empty.
std::optional<QString> jsonCell(const QJsonValue &value)
{
    if (value.isUndefined() || value.isNull())
        return QString();
    if (value.isString())
        return value.toString().trimmed();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return std::nullopt;
}

SheetText jsonLineColumn(QByteArrayView bytes, int offset)
{
    int line = 1;
    int column = 1;
    for (int i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return SheetText::of("line %1, column %2", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行第 %2 列")).arg(line).arg(column);
}

Result parseJson(QByteArrayView bytes)
{
    Result result;
    result.format = Format::Json;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        result.fail(jsonLineColumn(bytes, parseError.offset) + SheetText::of(": ", QT_TRANSLATE_NOOP("SheetMessages", "：")) + SheetText::same(parseError.errorString()));
        return result;
    }
    if (!document.isObject()) {
        result.fail(SheetText::of("expected an object with \"squelch\" and \"channels\"", QT_TRANSLATE_NOOP("SheetMessages", "应为含有“squelch”和“channels”的对象")));
        return result;
    }
    const QJsonObject root = document.object();
    const std::optional<QString> squelchText = jsonCell(root.value(SquelchKey));
    const std::optional<QString> level = squelchText ? checkedSquelch(*squelchText) : std::nullopt;
    if (!level) {
        result.fail(SheetText::of("squelch: not a digit 0 to 9", QT_TRANSLATE_NOOP("SheetMessages", "squelch：不是 0 到 9 的数字")));
        return result;
    }
    const QJsonValue list = root.value(ChannelsKey);
    if (!list.isArray() || list.toArray().size() != ChannelCount) {
        result.fail(SheetText::of("channels: expected a list of %1 channels", QT_TRANSLATE_NOOP("SheetMessages", "channels：应为 %1 个信道的列表")).arg(ChannelCount));
        return result;
    }
    QList<std::optional<ChannelRecord>> channels(ChannelCount);
    const QJsonArray array = list.toArray();
    for (int index = 0; index < array.size(); ++index) {
        const QString where = QStringLiteral("channels[%1]").arg(index);
        const QJsonObject entry = array.at(index).toObject();
        const int number = entry.value(ChannelKey).toInt(0);
        if (number < 1 || number > ChannelCount) {
            result.fail(SheetText::of("%1.channel: not 1 to %2", QT_TRANSLATE_NOOP("SheetMessages", "%1.channel：不在 1 到 %2 之间")).arg(where).arg(ChannelCount));
            return result;
        }
        if (channels.at(number - 1)) {
            result.fail(SheetText::of("%1.channel: channel %2 again", QT_TRANSLATE_NOOP("SheetMessages", "%1.channel：信道 %2 重复")).arg(where).arg(number));
            return result;
        }
        const QStringList keys = {ReceiveKey, TransmitKey, ShiftKey};
        QStringList cells;
        for (const QString &key : keys) {
            const std::optional<QString> cell = jsonCell(entry.value(key));
            if (!cell) {
                result.fail(SheetText::of("%1.%2: expected a text or a number", QT_TRANSLATE_NOOP("SheetMessages", "%1.%2：应为文本或数字")).arg(where, key));
                return result;
            }
            cells << *cell;
        }
        const RowCheck check = checkRow(cells.at(0), cells.at(1), cells.at(2));
        if (!check.ok()) {
            result.fail(SheetText::of("%1.%2 (channel %3): ", QT_TRANSLATE_NOOP("SheetMessages", "%1.%2（信道 %3）：")).arg(where, keys.at(check.column)).arg(number)
                        + check.error);
            return result;
        }
        channels[number - 1] = check.record;
    }
    result.set.squelch = *level;
    for (const std::optional<ChannelRecord> &record : std::as_const(channels))
        result.set.channels << *record;
    return result;
}

QByteArray composeCsv(const ChannelSet &set)
{
    QByteArray out = "squelch," + set.squelch.toUtf8() + '\n';
    out += CsvHeader.join(u',').toUtf8() + '\n';
    for (int row = 0; row < set.channels.size(); ++row) {
        const ChannelRecord &record = set.channels.at(row);
        out += QByteArray::number(row + 1) + ',' + record.rf.toString().toUtf8() + ',' + record.tf.toString().toUtf8() + ','
            + record.bt.toString().toUtf8() + '\n';
    }
    return out;
}

QByteArray composeJson(const ChannelSet &set)
{
    QJsonArray channels;
    for (int row = 0; row < set.channels.size(); ++row) {
        const ChannelRecord &record = set.channels.at(row);
        channels.append(QJsonObject{{ChannelKey, row + 1},
                                    {ReceiveKey, record.rf.toString()},
                                    {TransmitKey, record.tf.toString()},
                                    {ShiftKey, record.bt.toString()}});
    }
    return QJsonDocument(QJsonObject{{SquelchKey, set.squelch}, {ChannelsKey, channels}}).toJson(QJsonDocument::Indented);
}

/// A CSV sheet's text; in the Csv format a CHIRP header chooses the CHIRP layout.
Result parseSheet(const QString &text, Format format, const ReadOptions &options)
{
    if (format == Format::Chirp || ChirpSheet::hasChirpHeader(text))
        return ChirpSheet::parse(text, options);
    return parseCsv(text);
}

} // namespace

std::optional<Format> formatNamed(const QString &name)
{
    const QString lower = name.trimmed().toLower();
    if (lower == u"chan" || lower == u"channel")
        return Format::Channel;
    if (lower == u"csv")
        return Format::Csv;
    if (lower == u"json")
        return Format::Json;
    if (lower == u"chirp")
        return Format::Chirp;
    return std::nullopt;
}

Format formatOfPath(const QString &path)
{
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return Format::Csv;
    if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
        return Format::Json;
    return Format::Channel;
}

RowCheck checkRow(const QString &receiveCell, const QString &transmitCell, const QString &shiftCell)
{
    const QString receive = receiveCell.trimmed();
    const QString transmit = transmitCell.trimmed();
    const std::optional<QString> shiftText = ChannelRule::shiftText(shiftCell);
    if (!shiftText)
        return refuse(2, notShift(shiftCell));
    const QString shift = *shiftText;
    if (!ChannelRule::isFrequencyText(receive))
        return refuse(0, notFrequency(receiveCell));
    if (!ChannelRule::isFrequencyText(transmit))
        return refuse(1, notFrequency(transmitCell));

    RowCheck check;
    if (isEmptySide(receive)) {
        // A radio may hold a transmit frequency or the shift flag without a receive frequency, and
        // a read saves them so: what the program reads from a radio it takes back as it is.
        check.record = {QVariant(), emptyText(), emptyText(), shift == u"on" ? QVariant(QStringLiteral("on")) : emptyText()};
        if (!isEmptySide(transmit)) {
            const QString onRaster = FrequencyCheck::snapToRaster(transmit);
            if (onRaster.isEmpty())
                return refuse(1, outOfRange(transmit));
            check.record.tf = onRaster;
        }
        return check;
    }

    // The grid's order: typing the receive frequency copies it to transmit and switches the shift
    // off; then the transmit frequency is typed; then the shift chosen.
    check.record.rf = receive;
    FrequencyCheck::Outcome outcome = FrequencyCheck::afterEdit(ChannelField::Rf, check.record);
    if (outcome.outOfRange)
        return refuse(0, outOfRange(receive));
    apply(check.record, outcome.assignments);

    check.record.tf = transmit.isEmpty() ? emptyText() : QVariant(transmit);
    outcome = FrequencyCheck::afterEdit(ChannelField::Tf, check.record);
    if (outcome.outOfRange)
        return refuse(1, outOfRange(transmit));
    apply(check.record, outcome.assignments);

    if (shift == u"on")
        check.record.bt = QStringLiteral("on");
    return check;
}

std::optional<QString> checkedSquelch(const QString &text)
{
    if (!ChannelText::readSquelch(text))
        return std::nullopt;
    return text.trimmed();
}

Result checkSet(const ChannelSet &set)
{
    Result result;
    const std::optional<QString> level = checkedSquelch(set.squelch);
    if (!level) {
        result.fail(SheetText::of("item 1: squelch level \"%1\" is not a digit 0 to 9", QT_TRANSLATE_NOOP("SheetMessages", "第 1 项：静噪级别“%1”不是 0 到 9 的数字"))
                        .arg(CsvRecords::excerpt(set.squelch)));
        return result;
    }
    result.set.squelch = *level;
    for (int row = 0; row < set.channels.size(); ++row) {
        const ChannelRecord &record = set.channels.at(row);
        const RowCheck check = checkRow(text(record.rf), text(record.tf), text(record.bt));
        if (!check.ok()) {
            result.fail(itemOf(2 + 3 * row + check.column, row + 1, check.error));
            result.set = {};
            return result;
        }
        result.set.channels << check.record;
    }
    return result;
}

Result parse(QByteArrayView bytes, Format format, const ReadOptions &options)
{
    switch (format) {
    case Format::Csv:
    case Format::Chirp:
        return parseSheet(CsvRecords::textOf(bytes), format, options);
    case Format::Json:
        return parseJson(bytes);
    case Format::Channel:
        break;
    }
    const ChannelFile::ReadResult read = ChannelFile::parse(bytes);
    if (read.error != ChannelFile::ReadError::None) {
        Result result;
        if (read.error == ChannelFile::ReadError::NotFrequency) {
            const int channel = (read.item - 2) / 3 + 1;
            result.fail(itemOf(read.item, channel, (read.item - 1) % 3 == 0 ? notShift(read.detail) : notFrequency(read.detail)));
        } else {
            result.fail(read.error == ChannelFile::ReadError::NotText
                            ? SheetText::of("not a text file", QT_TRANSLATE_NOOP("SheetMessages", "不是文本文件"))
                            : SheetText::of("fewer than %1 items", QT_TRANSLATE_NOOP("SheetMessages", "少于 %1 项")).arg(ChannelFile::ItemCount));
        }
        return result;
    }
    return checkSet(read.set);
}

Result load(const QString &path, Format format, const ReadOptions &options)
{
    Result result;
    const auto failed = [&](const SheetText &error) {
        result.fail(error);
        result.error = QStringLiteral("%1: %2").arg(path, result.error);
        return result;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(SheetText::same(file.errorString()));
    QByteArray bytes;
    const ChannelFile::ReadError error = ChannelFile::readWhole(file, bytes);
    if (error == ChannelFile::ReadError::TooLarge)
        return failed(SheetText::of("larger than %1 MiB; not read", QT_TRANSLATE_NOOP("SheetMessages", "大于 %1 MiB，未读取")).arg(ChannelFile::MaxFileBytes >> 20));
    if (error != ChannelFile::ReadError::None)
        return failed(SheetText::same(file.errorString()));
    if (format == Format::Csv || format == Format::Chirp) {
        // The bytes go as soon as they are text: a big sheet is held once, not twice.
        const QString text = CsvRecords::textOf(bytes);
        bytes = QByteArray();
        result = parseSheet(text, format, options);
    } else {
        result = parse(bytes, format, options);
    }
    if (!result.ok())
        result.error = QStringLiteral("%1: %2").arg(path, result.error);
    for (QString &warning : result.warnings)
        warning = QStringLiteral("%1: %2").arg(path, warning);
    return result;
}

Result load(const QString &path, const ReadOptions &options)
{
    return load(path, formatOfPath(path), options);
}

Composed compose(const ChannelSet &set, Format format)
{
    Composed composed;
    switch (format) {
    case Format::Csv:
        composed.bytes = composeCsv(set);
        break;
    case Format::Json:
        composed.bytes = composeJson(set);
        break;
    case Format::Chirp:
        return ChirpSheet::compose(set);
    case Format::Channel: {
        const ChannelFile::WriteResult written = ChannelFile::compose(set.squelch, set.channels);
        if (written.error == ChannelFile::WriteError::SeparatorInValue)
            composed.fail(SheetText::of("the value \"%1\" holds a comma or a line end", QT_TRANSLATE_NOOP("SheetMessages", "值“%1”含有逗号或换行")).arg(CsvRecords::excerpt(written.detail)));
        else if (written.error != ChannelFile::WriteError::None)
            composed.fail(SheetText::of("not %1 channels", QT_TRANSLATE_NOOP("SheetMessages", "不是 %1 个信道")).arg(ChannelCount));
        else
            composed.bytes = written.bytes;
        break;
    }
    }
    return composed;
}

QString save(const QString &path, const ChannelSet &set, Format format, QStringList *warnings)
{
    const Composed saved = saveComposed(path, set, format);
    if (warnings)
        *warnings = saved.warnings;
    return saved.error;
}

Composed saveComposed(const QString &path, const ChannelSet &set, Format format)
{
    Composed composed = compose(set, format);
    if (composed.ok()) {
        const QString error = OutputTarget::write(path, composed.bytes);
        composed.error = error;
        composed.shownError = error;
    } else {
        composed.error = QStringLiteral("%1: %2").arg(path, composed.error);
    }
    composed.bytes.clear();
    return composed;
}

} // namespace ChannelSheet
