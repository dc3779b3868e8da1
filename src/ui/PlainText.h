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
    /// Makes `label` show its text as written.
    static void use(QLabel *label);
};

} // namespace glimra
