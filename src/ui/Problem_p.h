#pragma once

#include <QColor>
#include <QLabel>
#include <QPalette>

#include "ui/PlainText.h"

namespace glimra {

// A label that says what is wrong with what the user typed: in a warning colour, hidden
// while there is nothing to say.
inline QLabel *makeProblemLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    // What is wrong quotes what the user typed (a pattern, a predicate): shown as written.
    PlainText::use(label);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0xb0, 0x1c, 0x1c));
    label->setPalette(palette);
    label->hide();
    return label;
}

inline void showProblem(QLabel *label, const QString &problem)
{
    label->setText(problem);
    label->setVisible(!problem.isEmpty());
}

} // namespace glimra
