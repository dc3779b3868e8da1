#pragma once

#include <QString>

class QWidget;

namespace glimra {

/// What a screen reader says of the tables, lists, text views and fields of a window: each
/// has an accessible name and description.
class AccessibleText
{
public:
    /// Whether `widget` is a table, list, text view or field a screen reader lands on, not
    /// a part of another one (the line inside a spin box, a table's header).
    static bool isField(const QWidget *widget);

    /// Gives each field under `root` that has none a name and a description from what a
    /// sighted user reads beside it: the label that is its buddy or that stands just before
    /// it, its placeholder text or tool tip, else `title` (the page's own).
    static void complete(QWidget *root, const QString &title);
};

} // namespace glimra
