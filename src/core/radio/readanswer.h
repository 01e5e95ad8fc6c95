// What the radio's answer to the read command tells of the line: whether all sixteen frames came
// back well, how long the radio took and how fast the characters came, or what went wrong (an
// echoing cable, silence, a stop after some frames, noise).
#pragma once

#include "core/serial/linetrace.h"

#include <QList>

namespace ReadAnswer {

enum class Finding {
    Complete,       ///< sixteen frames of digits, each one a channel
    Silent,         ///< nothing came back
    EchoOnly,       ///< only the command itself came back: an echoing adapter, no radio behind it
    EchoThenAnswer, ///< the command came back before the answer: the cable echoes
    Stopped,        ///< fewer characters than sixteen frames, then silence
    Noise,          ///< characters that are not digits, or more than sixteen frames
    NotAChannel,    ///< sixteen frames of digits, but one of them is no channel
};

struct Analysis
{
    Finding finding = Finding::Silent;
    int characters = 0;      ///< received after the command, the echo and late "C"s left out
    int completeFrames = 0;
    int frame = 0;           ///< Noise, NotAChannel: the first frame concerned (1 to 16; 17 beyond them)
    double answerDelayMs = 0; ///< from the command sent to the first character back
    double msPerCharacter = 0; ///< over the whole answer; 8.33 at 1200 baud 8N1
    double longestGapMs = 0;   ///< the longest pause between two bursts of the answer
};

/// The characters a complete answer holds: sixteen frames of twenty.
constexpr int AnswerLength = 320;

/// Looks at the bursts received from `sentAtMs` on (earlier ones and sent ones are left out).
Analysis analyse(double sentAtMs, const QList<LineTrace::Burst> &bursts);

} // namespace ReadAnswer
