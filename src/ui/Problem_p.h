#pragma once

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QStyle>

#include "ui/PlainText.h"

namespace glimra {

// The desktop's sign of a problem: its theme's warning icon, else its style's.
inline QIcon problemIcon()
{
    return QIcon::fromTheme(QStringLiteral("dialog-warning"),
                            QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning));
}

// A label that says what is wrong with what the user typed, hidden while there is nothing
// to say. The warning icon before it marks it as a problem; the text keeps the palette's
// colour, which stays readable on a dark theme as on a light one.
inline QLabel *makeProblemLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    // What is wrong quotes what the user typed (a pattern, a predicate): shown as written.
    PlainText::use(label);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int size = label->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, label);
    auto *icon = new QLabel(label);
    icon->setPixmap(problemIcon().pixmap(QSize(size, size), label->devicePixelRatioF()));
    icon->setGeometry(0, qMax(0, (label->fontMetrics().height() - size) / 2), size, size);
    label->setContentsMargins(size + size / 2, 0, 0, 0);
    label->hide();
    return label;
}

inline void showProblem(QLabel *label, const QString &problem)
{
    label->setText(problem);
    label->setVisible(!problem.isEmpty());
}

} // namespace glimra
