// A text named once at file scope but translated where it is used: file-scope values are made
// before main() installs the chosen language.
#pragma once

#include <QCoreApplication>
#include <QString>

class TranslatedText
{
public:
    /// `source` must also be marked with QT_TRANSLATE_NOOP(context, ...) so that lupdate finds it.
    constexpr TranslatedText(const char *context, const char *source) : m_context(context), m_source(source) {}

    operator QString() const { return QCoreApplication::translate(m_context, m_source); }

private:
    const char *m_context;
    const char *m_source;
};
