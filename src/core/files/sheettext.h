// A sheet reader's or writer's message, built once in two languages: the English that qz300-cli
// prints, and the window's text (Chinese, or English again from the window's catalogue).
#pragma once

#include <QString>

#include <type_traits>

struct SheetText
{
    QString english;
    QString shown;

    bool isEmpty() const { return english.isEmpty(); }

    /// `shown` is a source text of the "SheetMessages" context, marked with QT_TRANSLATE_NOOP so
    /// that lupdate finds it; it is translated here, where the message is built.
    static SheetText of(const char *english, const char *shown);
    /// A text that reads the same in either language: a number, a cell's content, Qt's own error.
    static SheetText same(const QString &text) { return {text, text}; }

    SheetText arg(const QString &value) const { return {english.arg(value), shown.arg(value)}; }
    SheetText arg(const QString &first, const QString &second) const
    {
        return {english.arg(first, second), shown.arg(first, second)};
    }
    template <typename Number, std::enable_if_t<std::is_arithmetic_v<Number>, bool> = true>
    SheetText arg(Number value) const
    {
        return {english.arg(value), shown.arg(value)};
    }
    SheetText arg(const SheetText &value) const { return {english.arg(value.english), shown.arg(value.shown)}; }

    SheetText operator+(const SheetText &other) const { return {english + other.english, shown + other.shown}; }
};
