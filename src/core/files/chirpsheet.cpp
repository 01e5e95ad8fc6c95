#include "core/files/chirpsheet.h"

#include "core/channels/frequencycheck.h"
#include "core/files/csvrecords.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace ChirpSheet {

const QStringList Columns = {
    QStringLiteral("Location"), QStringLiteral("Name"),      QStringLiteral("Frequency"),    QStringLiteral("Duplex"),
    QStringLiteral("Offset"),   QStringLiteral("Tone"),      QStringLiteral("rToneFreq"),    QStringLiteral("cToneFreq"),
    QStringLiteral("DtcsCode"), QStringLiteral("DtcsPolarity"), QStringLiteral("Mode"),      QStringLiteral("TStep"),
    QStringLiteral("Skip"),     QStringLiteral("Comment"),   QStringLiteral("URCALL"),       QStringLiteral("RPT1CALL"),
    QStringLiteral("RPT2CALL"), QStringLiteral("DVCODE"),
};

namespace {

// Frequencies and offsets are counted in whole hertz, so that receive plus offset is exact: the
// layout writes six decimals of a megahertz, and the tool behind it stores hertz.
constexpr qint64 HertzPerMegahertz = 1000000;
constexpr qint64 Raster625Hz = 6250;
// Above this difference a transmit frequency is written as a split (cross-band, odd pairs), the
// way the tool shows it; below, as a repeater offset.
constexpr qint64 LargestOffsetHz = 10 * HertzPerMegahertz;
// Twelve digits of megahertz keep the count of hertz well inside 64 bits.
constexpr qsizetype MostMegahertzDigits = 12;
const QString DefaultToneFrequency = QStringLiteral("88.5");
const QString DefaultDtcsCode = QStringLiteral("023");
const QString DefaultDtcsPolarity = QStringLiteral("NN");

struct Hertz
{
    enum class State { Ok, NotNumber, TooPrecise, TooLarge } state = State::NotNumber;
    qint64 value = 0;
};

/// A decimal text of megahertz (no sign, at most six decimals) as hertz.
Hertz hertzOf(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^(\\d*)(?:\\.(\\d*))?$"));
    const QRegularExpressionMatch match = decimal.match(text.trimmed());
    Hertz hertz;
    if (!match.hasMatch() || (match.capturedLength(1) == 0 && match.capturedLength(2) == 0))
        return hertz;
    QString whole = match.captured(1);
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    QString fraction = match.captured(2);
    while (fraction.size() > 6 && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.size() > MostMegahertzDigits) {
        hertz.state = Hertz::State::TooLarge;
        return hertz;
    }
    if (fraction.size() > 6) {
        hertz.state = Hertz::State::TooPrecise;
        return hertz;
    }
    hertz.state = Hertz::State::Ok;
    hertz.value = whole.toLongLong() * HertzPerMegahertz + fraction.leftJustified(6, u'0').toLongLong();
    return hertz;
}

/// Hertz as megahertz with six decimals, the layout's own form.
QString megahertz(qint64 hertz)
{
    const QString sign = hertz < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = hertz < 0 ? -hertz : hertz;
    return sign + QString::number(magnitude / HertzPerMegahertz) + u'.'
        + QString::number(magnitude % HertzPerMegahertz).rightJustified(6, u'0');
}

SheetText outOfRange(const QString &text)
{
    return SheetText::of("%1 MHz is outside %2 to %3 MHz", QT_TRANSLATE_NOOP("SheetMessages", "%1 MHz 超出 %2 到 %3 MHz 的范围")).arg(CsvRecords::excerpt(text)).arg(FrequencyCheck::LowerLimit).arg(FrequencyCheck::UpperLimit);
}

SheetText transmitWord()
{
    return SheetText::of("transmit ", QT_TRANSLATE_NOOP("SheetMessages", "发送频率 "));
}

bool hasBeatShiftWord(QStringView comment)
{
    static const QRegularExpression word(QStringLiteral("(?<![\\w-])%1(?![\\w-])").arg(BeatShiftWord),
                                         QRegularExpression::CaseInsensitiveOption);
    return word.match(comment).hasMatch();
}

QString withoutBeatShiftWord(QStringView comment)
{
    static const QRegularExpression word(QStringLiteral("(?<![\\w-])%1(?![\\w-])").arg(BeatShiftWord),
                                         QRegularExpression::CaseInsensitiveOption);
    QString rest = comment.toString();
    return std::move(rest.remove(word)).simplified();
}

// A header's columns after these are not looked at: no layout has that many, and a line of a
// million commas must not become a million names.
constexpr qsizetype HeaderColumnsRead = 1024;

/// The header's columns by name; -1 for a column the sheet lacks.
struct Header
{
    QStringList names;

    /// "line L, column C (Name): " for a cell; a missing column names the line only.
    SheetText where(int line, const QString &name) const
    {
        const int column = indexOf(name);
        if (column < 0)
            return SheetText::of("line %1: ", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行：")).arg(line);
        return SheetText::of("line %1, column %2 (%3): ", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行第 %2 列（%3）：")).arg(line).arg(column + 1).arg(names.at(column));
    }

    int indexOf(const QString &name) const
    {
        for (int column = 0; column < names.size(); ++column) {
            if (names.at(column).compare(name, Qt::CaseInsensitive) == 0)
                return column;
        }
        return -1;
    }
};

/// One data row with its cells found by column name; the cells are slices of the sheet's text.
struct Row
{
    const Header *header = nullptr;
    int line = 0;
    CsvRecords::Record record;
    QChar separator = u',';
    qint64 location = 0;

    QStringView view(const QString &name) const
    {
        const int column = header->indexOf(name);
        return column < 0 ? QStringView() : record.field(column).trimmed();
    }
    QString cell(const QString &name) const { return view(name).toString(); }
    /// A cell as a message quotes it.
    QString quoted(const QString &name) const { return CsvRecords::excerpt(view(name)); }
    /// A number cell; a semicolon sheet may carry a decimal comma.
    QString number(const QString &name) const { return CsvRecords::withDecimalPoint(cell(name), separator); }
    /// "line L, column C (Name): " for a cell; a missing column names the line only.
    SheetText where(const QString &name) const { return header->where(line, name); }
};

SheetText toneOf(const Row &row)
{
    const QStringView mode = row.view(QStringLiteral("Tone"));
    if (mode.isEmpty())
        return {};
    if (mode.compare(QStringLiteral("Tone"), Qt::CaseInsensitive) == 0)
        return SheetText::of("tone %1 Hz", QT_TRANSLATE_NOOP("SheetMessages", "亚音 %1 Hz")).arg(row.quoted(QStringLiteral("rToneFreq")));
    if (mode.compare(QStringLiteral("TSQL"), Qt::CaseInsensitive) == 0)
        return SheetText::of("tone squelch %1 Hz", QT_TRANSLATE_NOOP("SheetMessages", "亚音静噪 %1 Hz")).arg(row.quoted(QStringLiteral("cToneFreq")));
    if (mode.compare(QStringLiteral("DTCS"), Qt::CaseInsensitive) == 0)
        return SheetText::same(QStringLiteral("DCS %1 %2").arg(row.quoted(QStringLiteral("DtcsCode")), row.quoted(QStringLiteral("DtcsPolarity"))).trimmed());
    return SheetText::of("tone mode %1", QT_TRANSLATE_NOOP("SheetMessages", "亚音方式 %1")).arg(CsvRecords::excerpt(mode));
}

/// What the row holds that the radio cannot: names, tones, modes other than FM, skips, comments.
QList<SheetText> notKept(const Row &row)
{
    QList<SheetText> lost;
    const QStringView name = row.view(QStringLiteral("Name"));
    if (!name.isEmpty())
        lost << SheetText::of("name \"%1\"", QT_TRANSLATE_NOOP("SheetMessages", "名称“%1”")).arg(CsvRecords::excerpt(name));
    const SheetText tone = toneOf(row);
    if (!tone.isEmpty())
        lost << tone;
    const QStringView mode = row.view(QStringLiteral("Mode"));
    if (!mode.isEmpty() && mode.compare(QStringLiteral("FM"), Qt::CaseInsensitive) != 0)
        lost << SheetText::of("mode %1", QT_TRANSLATE_NOOP("SheetMessages", "调制方式 %1")).arg(CsvRecords::excerpt(mode));
    const QStringView skip = row.view(QStringLiteral("Skip"));
    if (!skip.isEmpty())
        lost << SheetText::of("scan skip %1", QT_TRANSLATE_NOOP("SheetMessages", "扫描跳过 %1")).arg(CsvRecords::excerpt(skip));
    const QString comment = withoutBeatShiftWord(row.view(QStringLiteral("Comment")));
    if (!comment.isEmpty())
        lost << SheetText::of("comment \"%1\"", QT_TRANSLATE_NOOP("SheetMessages", "备注“%1”")).arg(CsvRecords::excerpt(comment));
    return lost;
}

struct RowResult
{
    ChannelRecord record;
    SheetText error;
    QList<SheetText> warnings;
};

SheetText notFrequency(const QString &text)
{
    return SheetText::of("\"%1\" is not a frequency in MHz", QT_TRANSLATE_NOOP("SheetMessages", "“%1”不是以 MHz 为单位的频率")).arg(CsvRecords::excerpt(text));
}

/// The English and Chinese lists of the pieces, each joined the way its language joins a list.
SheetText joined(const QList<SheetText> &pieces)
{
    QStringList english;
    QStringList shown;
    for (const SheetText &piece : pieces) {
        english << piece.english;
        shown << piece.shown;
    }
    return {english.join(QStringLiteral(", ")), shown.join(QCoreApplication::translate("SheetMessages", "、", "between the items of a list"))};
}

/// The error checkRow gives for a cell that is no plain frequency, or a fallback.
SheetText receiveRefusal(const QString &text)
{
    const ChannelSheet::RowCheck check = ChannelSheet::checkRow(text, QString(), QString());
    return check.ok() ? notFrequency(text) : check.error;
}

SheetText hertzRefusal(const QString &text, Hertz::State state)
{
    if (state == Hertz::State::TooPrecise)
        return SheetText::of("\"%1\" has more than six decimals", QT_TRANSLATE_NOOP("SheetMessages", "“%1”的小数超过六位")).arg(CsvRecords::excerpt(text));
    if (state == Hertz::State::TooLarge)
        return outOfRange(text);
    return receiveRefusal(text);
}

RowResult channelOf(const Row &row)
{
    const QString frequencyColumn = QStringLiteral("Frequency");
    const QString offsetColumn = QStringLiteral("Offset");
    const QString duplexColumn = QStringLiteral("Duplex");
    RowResult result;

    const QString receiveText = row.number(frequencyColumn);
    if (receiveText.isEmpty()) {
        result.error = row.where(frequencyColumn) + SheetText::of("no receive frequency", QT_TRANSLATE_NOOP("SheetMessages", "没有接收频率"));
        return result;
    }
    const Hertz receive = hertzOf(receiveText);
    if (receive.state != Hertz::State::Ok) {
        result.error = row.where(frequencyColumn) + hertzRefusal(receiveText, receive.state);
        return result;
    }
    // The grid reads 0 as an empty channel; a row of the sheet is a used memory.
    if (receive.value == 0) {
        result.error = row.where(frequencyColumn) + outOfRange(receiveText);
        return result;
    }

    const QString duplex = row.cell(duplexColumn).toLower();
    const QString offsetText = row.number(offsetColumn);
    const SheetText transmitWhere = row.where(row.header->indexOf(offsetColumn) >= 0 ? offsetColumn : duplexColumn);
    QString transmitText;
    std::optional<qint64> transmitHertz;
    bool computed = false;
    if (duplex.isEmpty()) {
        transmitText = receiveText;
        transmitHertz = receive.value;
    } else if (duplex == u"off") {
        // Receive only: the radio's empty transmit frequency.
    } else if (duplex == u"+" || duplex == u"-" || duplex == u"split") {
        const Hertz offset = offsetText.isEmpty() ? Hertz{Hertz::State::Ok, 0} : hertzOf(offsetText);
        if (offset.state != Hertz::State::Ok) {
            result.error = row.where(offsetColumn)
                + (offset.state == Hertz::State::NotNumber ? notFrequency(offsetText)
                                                          : hertzRefusal(offsetText, offset.state));
            return result;
        }
        if (duplex == u"split") {
            if (offsetText.isEmpty()) {
                result.error = transmitWhere + SheetText::of("split needs the transmit frequency in Offset", QT_TRANSLATE_NOOP("SheetMessages", "split 需要在 Offset 中给出发送频率"));
                return result;
            }
            transmitHertz = offset.value;
            transmitText = offsetText;
        } else {
            transmitHertz = duplex == u"+" ? receive.value + offset.value : receive.value - offset.value;
            transmitText = megahertz(*transmitHertz);
            computed = true;
        }
        if (*transmitHertz == 0) {
            result.error = transmitWhere + (computed ? transmitWord() : SheetText()) + outOfRange(transmitText);
            return result;
        }
    } else {
        result.error = row.where(duplexColumn) + SheetText::of("duplex \"%1\" is not empty, +, -, split or off", QT_TRANSLATE_NOOP("SheetMessages", "双工“%1”不是空、+、-、split 或 off")).arg(row.quoted(duplexColumn));
        return result;
    }

    const bool beatShift = hasBeatShiftWord(row.view(QStringLiteral("Comment")));
    const ChannelSheet::RowCheck check = ChannelSheet::checkRow(receiveText, transmitText, beatShift ? QStringLiteral("on") : QStringLiteral("off"));
    if (!check.ok()) {
        if (check.column == 0)
            result.error = row.where(frequencyColumn) + check.error;
        else
            result.error = transmitWhere + (computed ? transmitWord() : SheetText()) + check.error;
        return result;
    }
    result.record = check.record;

    // The grid's raster snap changes what a sheet asked for without a word; here it is told.
    const Hertz storedReceive = hertzOf(check.record.rf.toString());
    if (storedReceive.value != receive.value) {
        result.warnings << row.where(frequencyColumn)
                + SheetText::of("%1 MHz is stored as %2", QT_TRANSLATE_NOOP("SheetMessages", "%1 MHz 存为 %2")).arg(megahertz(receive.value), check.record.rf.toString());
    }
    // A simplex row's transmit frequency is its receive frequency: one warning says it all.
    if (transmitHertz && !duplex.isEmpty()) {
        const Hertz storedTransmit = hertzOf(check.record.tf.toString());
        if (storedTransmit.value != *transmitHertz) {
            result.warnings << transmitWhere
                    + SheetText::of("transmit %1 MHz is stored as %2", QT_TRANSLATE_NOOP("SheetMessages", "发送频率 %1 MHz 存为 %2")).arg(megahertz(*transmitHertz), check.record.tf.toString());
        }
    }
    const QList<SheetText> lost = notKept(row);
    if (!lost.isEmpty())
        result.warnings << SheetText::of("line %1: not kept: %2", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行：未保留：%2")).arg(row.line).arg(joined(lost));
    return result;
}

/// The first non-blank line's fields, up to the columns a header is read for.
QStringList firstLineFields(const QString &text, QChar separator)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        if (!line.trimmed().isEmpty()) {
            CsvRecords::Reader reader(line, separator);
            CsvRecords::Record record;
            QStringList fields;
            if (reader.next(record, HeaderColumnsRead)) {
                for (const QStringView field : std::as_const(record.fields))
                    fields << field.toString();
            }
            return fields;
        }
        start = end + 1;
    }
    return {};
}

/// Where a data row lies in the text, to be read again when it is taken: its Location (its place
/// among the rows when there is no Location column) and its line.
struct RowPlace
{
    qint64 location = 0;
    int line = 0;
    qsizetype from = 0; ///< where the reader stood before the row
    int fromLine = 0;   ///< the line it stood on
};

} // namespace

bool hasChirpHeader(const QString &text)
{
    const QStringList fields = firstLineFields(text, CsvRecords::separatorOf(text));
    return std::any_of(fields.cbegin(), fields.cend(),
                       [](const QString &field) { return field.trimmed().compare(QStringLiteral("Frequency"), Qt::CaseInsensitive) == 0; });
}

ChannelSheet::Result parse(const QString &text, const ChannelSheet::ReadOptions &options)
{
    ChannelSheet::Result result;
    result.format = ChannelSheet::Format::Chirp;
    result.squelchGiven = false;
    const QChar separator = CsvRecords::separatorOf(text);
    CsvRecords::Reader reader(text, separator);
    const auto unclosedQuote = [&](int line) {
        result.fail(SheetText::of("line %1: a quoted field is not closed", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行：引号括起的字段没有结束")).arg(line));
        return result;
    };

    Header header;
    CsvRecords::Record record;
    const bool anyRecord = reader.next(record, HeaderColumnsRead);
    for (const QStringView name : std::as_const(record.fields))
        header.names << name.trimmed().toString();
    const int headerLine = anyRecord ? record.line : 1;
    if (header.indexOf(QStringLiteral("Frequency")) < 0) {
        if (const int unclosed = reader.drain(); unclosed > 0)
            return unclosedQuote(unclosed);
        result.fail(SheetText::of("line %1: expected a header naming the columns, Frequency among them", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行：应为列名的表头，其中要有 Frequency"))
                        .arg(headerLine));
        return result;
    }
    // A row keeps the fields up to the last column that is read.
    qsizetype rowColumns = 0;
    for (const QString &name : Columns)
        rowColumns = std::max<qsizetype>(rowColumns, header.indexOf(name) + 1);

    // Every row is looked at for its Location only; the cells are read for the rows taken. Rows in
    // Location order; without a Location column, in the order of the file from 0.
    const int locationColumn = header.indexOf(QStringLiteral("Location"));
    const QString locationName = locationColumn >= 0 ? header.names.at(locationColumn) : QString();
    QList<RowPlace> rows;
    SheetText badLocation;
    qsizetype from = reader.position();
    int fromLine = reader.line();
    while (reader.next(record, locationColumn + 1)) {
        if (!record.blank && badLocation.isEmpty()) {
            RowPlace place{qint64(rows.size()), record.line, from, fromLine};
            bool ok = true;
            if (locationColumn >= 0) {
                const QStringView location = record.field(locationColumn).trimmed();
                place.location = location.toLongLong(&ok);
                if (!ok) {
                    badLocation = header.where(record.line, locationName)
                        + SheetText::of("location \"%1\" is not a whole number", QT_TRANSLATE_NOOP("SheetMessages", "位置“%1”不是整数")).arg(CsvRecords::excerpt(location));
                }
            }
            if (ok)
                rows << place;
        }
        from = reader.position();
        fromLine = reader.line();
    }
    if (reader.errorLine() > 0)
        return unclosedQuote(reader.errorLine());
    if (locationColumn >= 0) {
        std::stable_sort(rows.begin(), rows.end(), [](const RowPlace &a, const RowPlace &b) { return a.location < b.location; });
        // The first row in the file whose Location an earlier row has: each repeat follows the
        // first row of its Location, since the sort keeps the file's order.
        const RowPlace *repeat = nullptr;
        const RowPlace *original = nullptr;
        for (qsizetype index = 1, first = 0; index < rows.size(); ++index) {
            if (rows.at(index).location != rows.at(first).location) {
                first = index;
                continue;
            }
            if (!repeat || rows.at(index).line < repeat->line) {
                repeat = &rows.at(index);
                original = &rows.at(first);
            }
        }
        // Rows were gathered only up to a Location that is no number, so a repeat lies before it.
        if (repeat) {
            result.fail(header.where(repeat->line, locationName)
                        + SheetText::of("location %1 again (first on line %2)", QT_TRANSLATE_NOOP("SheetMessages", "位置 %1 重复（首次在第 %2 行）")).arg(repeat->location).arg(original->line));
            return result;
        }
        if (!badLocation.isEmpty()) {
            result.fail(badLocation);
            return result;
        }
    }
    ChannelList channels(ChannelCount, ChannelRecord{QVariant(), emptyText(), emptyText(), emptyText()});
    if (rows.isEmpty()) {
        // What an empty table is exported as: a header and no rows reads back as the same set.
        result.warn(SheetText::of("line %1: a header and no channel rows: every channel is empty", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行：只有表头，没有信道行：所有信道均为空"))
                        .arg(reader.lastLine() + 1));
        result.set.channels = channels;
        result.set.squelch = ChannelSheet::DefaultSquelch;
        return result;
    }

    // Locations that all lie from 1 to 16 are channel numbers: our own export writes them so, and
    // a channel left empty between used ones stays empty. CHIRP starts every list with a default
    // memory at Location 0, which then has no channel. Any other sheet fills channels 1 to 16 in
    // Location order.
    const bool locationIsChannel = locationColumn >= 0 && !options.firstLocation
        && std::any_of(rows.cbegin(), rows.cend(), [](const RowPlace &row) { return row.location != 0; })
        && std::all_of(rows.cbegin(), rows.cend(), [](const RowPlace &row) {
               return row.location == 0 || (row.location >= 1 && row.location <= ChannelCount);
           });
    if (locationIsChannel && rows.first().location == 0) {
        result.warn(header.where(rows.first().line, locationName)
                    + SheetText::of("location 0 is left out: locations 1 to %1 are channels 1 to %1", QT_TRANSLATE_NOOP("SheetMessages", "位置 0 未导入：位置 1 到 %1 即信道 1 到 %1")).arg(ChannelCount));
        rows.removeFirst();
    }

    qsizetype first = 0;
    if (options.firstLocation) {
        first = std::find_if(rows.cbegin(), rows.cend(), [&](const RowPlace &row) { return row.location >= *options.firstLocation; }) - rows.cbegin();
        if (first == rows.size()) {
            result.fail(SheetText::of("no row from location %1 on", QT_TRANSLATE_NOOP("SheetMessages", "位置 %1 起没有行")).arg(*options.firstLocation));
            return result;
        }
    } else if (rows.size() > ChannelCount) {
        result.fail(SheetText::of("line %1: %2 channels; the radio holds %3", QT_TRANSLATE_NOOP("SheetMessages", "第 %1 行：共 %2 个信道，电台只能存 %3 个"))
                        .arg(rows.at(ChannelCount).line)
                        .arg(rows.size())
                        .arg(ChannelCount));
        if (locationColumn >= 0) {
            result.locations.reserve(rows.size());
            for (const RowPlace &row : std::as_const(rows))
                result.locations << row.location;
        }
        return result;
    }
    const QList<RowPlace> taken = rows.mid(first, ChannelCount);
    if (taken.size() < rows.size()) {
        result.warn(SheetText::of("channels 1 to %1 are locations %2 to %3; %4 other rows are left out", QT_TRANSLATE_NOOP("SheetMessages", "信道 1 到 %1 为位置 %2 到 %3，其余 %4 行未导入"))
                        .arg(taken.size())
                        .arg(taken.first().location)
                        .arg(taken.last().location)
                        .arg(rows.size() - taken.size()));
    }

    if (locationColumn >= 0 && !locationIsChannel && !options.firstLocation && !taken.isEmpty()) {
        QList<SheetText> moves;
        for (qsizetype index = 0; index < taken.size(); ++index)
            moves << SheetText::of("location %1 to channel %2", QT_TRANSLATE_NOOP("SheetMessages", "位置 %1 → 信道 %2")).arg(taken.at(index).location).arg(index + 1);
        result.warn(SheetText::of("rows fill channels in location order: ", QT_TRANSLATE_NOOP("SheetMessages", "各行按位置顺序填入信道：")) + joined(moves));
    }

    // All or nothing: the set is filled only when every row passed.
    for (qsizetype index = 0; index < taken.size(); ++index) {
        const RowPlace &place = taken.at(index);
        Row row{&header, place.line, {}, separator, place.location};
        CsvRecords::Reader again(text, separator, place.from, place.fromLine);
        again.next(row.record, rowColumns);
        const RowResult channel = channelOf(row);
        if (!channel.error.isEmpty()) {
            result.fail(channel.error);
            result.warnings.clear();
            result.shownWarnings.clear();
            return result;
        }
        channels[locationIsChannel ? place.location - 1 : index] = channel.record;
        for (const SheetText &warning : channel.warnings)
            result.warn(warning);
    }
    result.set.channels = channels;
    result.set.squelch = ChannelSheet::DefaultSquelch;
    return result;
}

ChannelSheet::Composed compose(const ChannelSet &set)
{
    ChannelSheet::Composed composed;
    if (set.channels.size() != ChannelCount) {
        composed.fail(SheetText::of("not %1 channels", QT_TRANSLATE_NOOP("SheetMessages", "不是 %1 个信道")).arg(ChannelCount));
        return composed;
    }
    const QString level = set.squelch.trimmed();
    if (!level.isEmpty() && level != ChannelSheet::DefaultSquelch)
        composed.warn(SheetText::of("the squelch level %1 is not written: the layout has no place for it", QT_TRANSLATE_NOOP("SheetMessages", "静噪级别 %1 未写入：此格式没有它的位置")).arg(level));

    QStringList lines = {Columns.join(u',')};
    for (int number = 1; number <= ChannelCount; ++number) {
        const ChannelRecord &channel = set.channels.at(number - 1);
        const QString receiveText = channel.rf.toString().trimmed();
        const QString transmitText = channel.tf.toString().trimmed();
        if (receiveText.isEmpty()) {
            if (!transmitText.isEmpty())
                composed.warn(SheetText::of("channel %1: a transmit frequency without a receive frequency is not written", QT_TRANSLATE_NOOP("SheetMessages", "信道 %1：没有接收频率的发送频率未写入")).arg(number));
            continue;
        }
        const Hertz receive = hertzOf(receiveText);
        if (receive.state != Hertz::State::Ok || receive.value == 0) {
            composed.fail(SheetText::of("channel %1: receive \"%2\" is not a frequency in MHz", QT_TRANSLATE_NOOP("SheetMessages", "信道 %1：接收频率“%2”不是以 MHz 为单位的频率")).arg(number).arg(channel.rf.toString()));
            return composed;
        }
        QString duplex;
        qint64 offset = 0;
        if (transmitText.isEmpty()) {
            duplex = QStringLiteral("off");
        } else {
            const Hertz transmit = hertzOf(transmitText);
            if (transmit.state != Hertz::State::Ok || transmit.value == 0) {
                composed.fail(SheetText::of("channel %1: transmit \"%2\" is not a frequency in MHz", QT_TRANSLATE_NOOP("SheetMessages", "信道 %1：发送频率“%2”不是以 MHz 为单位的频率")).arg(number).arg(channel.tf.toString()));
                return composed;
            }
            const qint64 difference = transmit.value - receive.value;
            if (difference == 0) {
                duplex = QString();
            } else if (difference > LargestOffsetHz || -difference > LargestOffsetHz) {
                duplex = QStringLiteral("split");
                offset = transmit.value;
            } else {
                duplex = difference > 0 ? QStringLiteral("+") : QStringLiteral("-");
                offset = difference > 0 ? difference : -difference;
            }
        }
        const QString step = receive.value % Raster625Hz == 0 ? QStringLiteral("6.25") : QStringLiteral("5.00");
        const QString comment = channel.bt.toString() == u"on" ? BeatShiftWord : QString();
        const QStringList fields = {QString::number(number), QString(), megahertz(receive.value), duplex, megahertz(offset),
                                    QString(), DefaultToneFrequency, DefaultToneFrequency, DefaultDtcsCode,
                                    DefaultDtcsPolarity, QStringLiteral("FM"), step, QString(), comment,
                                    QString(), QString(), QString(), QString()};
        lines << fields.join(u',');
    }
    composed.bytes = (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    return composed;
}

} // namespace ChirpSheet
