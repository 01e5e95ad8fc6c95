#include "core/radio/readanswer.h"

#include "core/radio/channelframe.h"

namespace ReadAnswer {

Analysis analyse(double sentAtMs, const QList<LineTrace::Burst> &bursts)
{
    Analysis analysis;
    QByteArray answer;
    QList<double> times;
    QList<qsizetype> sizes;
    for (const LineTrace::Burst &burst : bursts) {
        if (burst.direction != LineTrace::Direction::Received || burst.ms < sentAtMs)
            continue;
        answer += burst.bytes;
        times << burst.ms;
        sizes << burst.bytes.size();
    }
    if (answer.isEmpty())
        return analysis;
    analysis.answerDelayMs = times.first() - sentAtMs;
    for (qsizetype k = 1; k < times.size(); ++k)
        analysis.longestGapMs = qMax(analysis.longestGapMs, times.at(k) - times.at(k - 1));
    // The characters of the first burst arrived before its time was taken: the rate counts the rest.
    if (times.size() > 1 && answer.size() > sizes.first())
        analysis.msPerCharacter = (times.last() - times.first()) / double(answer.size() - sizes.first());

    // The radio's "C" to a poll sent just before the command can still be on its way.
    qsizetype start = 0;
    while (start < answer.size() && answer.at(start) == 'C')
        ++start;
    const bool echoed = start < answer.size() && answer.at(start) == ChannelFrame::ReadCommand;
    if (echoed)
        ++start;
    const QByteArray body = answer.mid(start);
    analysis.characters = int(body.size());
    analysis.completeFrames = int(qMin(body.size(), qsizetype(AnswerLength)) / ChannelFrame::Length);
    if (echoed) {
        analysis.finding = body.isEmpty() ? Finding::EchoOnly : Finding::EchoThenAnswer;
        return analysis;
    }
    if (body.isEmpty())
        return analysis;
    for (qsizetype k = 0; k < body.size(); ++k) {
        if (body.at(k) < '0' || body.at(k) > '9' || k >= AnswerLength) {
            analysis.finding = Finding::Noise;
            analysis.frame = int(k / ChannelFrame::Length) + 1;
            analysis.completeFrames = qMin(analysis.completeFrames, int(k / ChannelFrame::Length));
            return analysis;
        }
    }
    if (body.size() < AnswerLength) {
        analysis.finding = Finding::Stopped;
        return analysis;
    }
    for (int frame = 0; frame < AnswerLength / ChannelFrame::Length; ++frame) {
        const QString text = QString::fromLatin1(body.mid(frame * ChannelFrame::Length, ChannelFrame::Length));
        if (!ChannelFrame::answerFault(text).isEmpty()) {
            analysis.finding = Finding::NotAChannel;
            analysis.frame = frame + 1;
            return analysis;
        }
    }
    analysis.finding = Finding::Complete;
    return analysis;
}

} // namespace ReadAnswer
