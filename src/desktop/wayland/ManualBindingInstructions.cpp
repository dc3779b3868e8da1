#include "ManualBindingInstructions.h"

#include "KeyCombination.h"
#include "commandText.h"

namespace glimra {

QString ManualBindingInstructions::mechanism() const
{
    return QStringLiteral(QT_TRANSLATE_NOOP("glimra::Capability", "the desktop's own settings"));
}

BindingChange ManualBindingInstructions::install(const QList<ShortcutBinding> &bindings)
{
    QList<Phrase> sentences;
    for (const ShortcutBinding &binding : bindings) {
        const std::optional<KeyCombination> keys = KeyCombination::parse(binding.keys);
        sentences << Phrase::of("glimra::BindingChange", QT_TRANSLATE_NOOP("glimra::BindingChange", "bind %1 to run `%2`"),
                                {keys ? keys->toText() : binding.keys, commandText(binding.command)});
    }
    return BindingChange::said(
        BindingChange::Result::NothingToDo,
        QT_TRANSLATE_NOOP("glimra::BindingChange", "Glimra cannot bind keys on this desktop; in its settings, %1."),
        {Phrase::joined(sentences, "glimra::BindingChange", QT_TRANSLATE_NOOP("glimra::BindingChange", ", and "))});
}

BindingChange ManualBindingInstructions::remove()
{
    return BindingChange::said(BindingChange::Result::NothingToDo,
                               QT_TRANSLATE_NOOP("glimra::BindingChange", "Glimra wrote no binding on this desktop; "
                                                                          "remove the keys you bound in its settings."));
}

bool ManualBindingInstructions::isInstalled() const
{
    return false;
}

} // namespace glimra
