#include "ui/AccessibleText.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

bool isFieldKind(const QObject *object)
{
    return (qobject_cast<const QAbstractItemView *>(object) && !qobject_cast<const QHeaderView *>(object))
        || qobject_cast<const QTextEdit *>(object) || qobject_cast<const QPlainTextEdit *>(object)
        || qobject_cast<const QLineEdit *>(object) || qobject_cast<const QAbstractSpinBox *>(object)
        || qobject_cast<const QComboBox *>(object) || qobject_cast<const QKeySequenceEdit *>(object);
}

// A label's text as it is read: without its mnemonic marker and closing colon.
QString spoken(const QLabel *label)
{
    QString text = label ? label->text() : QString();
    text.remove(QRegularExpression(u"&(?!&)"_s));
    while (text.endsWith(u':') || text.endsWith(u' '))
        text.chop(1);
    return text.simplified();
}

// The widgets of `layout` and the layouts in it, in their order.
void collect(const QLayout *layout, QList<QWidget *> &widgets)
{
    for (int i = 0; layout && i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget())
            widgets.append(item->widget());
        else if (item->layout())
            collect(item->layout(), widgets);
    }
}

// The label whose buddy `field` is, under `root`.
const QLabel *buddyOf(const QWidget *root, const QWidget *field)
{
    for (const QLabel *label : root->findChildren<QLabel *>())
        if (label->buddy() == field)
            return label;
    return nullptr;
}

// The label that stands just before `field` in its parent's layout.
const QLabel *labelBefore(const QWidget *field)
{
    QList<QWidget *> widgets;
    collect(field->parentWidget() ? field->parentWidget()->layout() : nullptr, widgets);
    const qsizetype at = widgets.indexOf(const_cast<QWidget *>(field));
    return at > 0 ? qobject_cast<const QLabel *>(widgets.at(at - 1)) : nullptr;
}

QString placeholderOf(const QWidget *field)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(field))
        return line->placeholderText();
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(field))
        return text->placeholderText();
    if (const auto *text = qobject_cast<const QTextEdit *>(field))
        return text->placeholderText();
    return {};
}

} // namespace

bool AccessibleText::isField(const QWidget *widget)
{
    if (!isFieldKind(widget))
        return false;
    for (const QObject *up = widget->parent(); up; up = up->parent())
        if (isFieldKind(up))
            return false;
    return true;
}

void AccessibleText::complete(QWidget *root, const QString &title)
{
    for (QWidget *field : root->findChildren<QWidget *>()) {
        if (!isField(field))
            continue;
        const QString buddy = spoken(buddyOf(root, field));
        const QString before = spoken(labelBefore(field));
        if (field->accessibleName().isEmpty())
            field->setAccessibleName(!buddy.isEmpty() ? buddy : !before.isEmpty() ? before : title);
        if (field->accessibleDescription().isEmpty()) {
            for (const QString &description : {field->toolTip(), placeholderOf(field), before, title}) {
                if (!description.isEmpty() && description != field->accessibleName()) {
                    field->setAccessibleDescription(description);
                    break;
                }
            }
        }
        if (field->accessibleDescription().isEmpty())
            field->setAccessibleDescription(field->accessibleName());
    }
}

} // namespace glimra
