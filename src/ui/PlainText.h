#pragma once

#include <QString>

class QLabel;

namespace glimra {

/// Text from outside (a selection, a file name, a window title, a plug-in's output) shown
/// as written: never read as markup, never as a keyboard mnemonic. Qt reads a tooltip or a
/// label as rich text when it merely looks like some.
struct PlainText
{
    /// A tooltip that shows `text` as written, line breaks and runs of spaces included.
    static QString toolTip(const QString &text);
    /// A menu entry's text that shows `text` as written ("&" is no mnemonic).
    static QString menuText(const QString &text);
    /// `text` with every character markdown would read escaped.
    static QString markdown(const QString &text);
    /// `text` laid out so that every character of it shows in a wrapping cell: a line break
    /// is shown as "⏎" (a run of them on one line), a tab or another control character as
    /// its picture, and a break may fall after any character of a long word, so that it
    /// wraps instead of being cut off with "…".
    static QString wrappedWhole(const QString &text);
    /// Makes `label` show its text as written.
    static void use(QLabel *label);
};

} // namespace glimra
