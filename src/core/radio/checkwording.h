// The connection check's results in words: the step's name, what it found, and what to do about a
// problem, in the window's language (through the catalogue) or in the command line's English.
#pragma once

#include "core/radio/connectioncheck.h"
#include "core/serial/portaccess.h"

#include <QString>

namespace CheckWording {

using Language = PortAccess::Language;

/// "radio ready", "对讲机就绪".
QString stepName(CheckStep::Kind kind, Language language);
/// What the step found: "\"C\" sent, \"C\" back after 12 ms".
QString finding(const CheckStep &step, Language language);
/// What to do about a problem; empty for a step that passed or did not run.
QString remedy(const CheckStep &step, Language language);
/// "5 radio ready: \"C\" sent, \"C\" back after 12 ms": the step's number, name and finding.
QString line(const CheckStep &step, Language language);
/// The closing line: how many ports are good, and the first problem of each other one.
QString summary(const QList<PortCheck> &ports, Language language);
/// A name for the finding that stays the same in every language: "radioReady".
QString findingKey(CheckStep::Finding finding);
/// "ok", "problem" or "not run".
QString verdictKey(CheckStep::Verdict verdict);

/// The whole check as text: per port a heading and one line per step (✓, ✗ or –, with the
/// remedy below a problem), then the summary.
QString text(const QList<PortCheck> &ports, Language language);

} // namespace CheckWording
