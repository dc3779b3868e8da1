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
    BindingChange change;
    change.result = BindingChange::Result::NothingToDo;
    QStringList sentences;
    for (const ShortcutBinding &binding : bindings) {
        const std::optional<KeyCombination> keys = KeyCombination::parse(binding.keys);
        sentences << QStringLiteral("bind %1 to run `%2`").arg(keys ? keys->toText() : binding.keys, commandText(binding.command));
    }
    change.message = QStringLiteral("Glimra cannot bind keys on this desktop; in its settings, %1.")
                         .arg(sentences.join(QStringLiteral(", and ")));
    return change;
}

BindingChange ManualBindingInstructions::remove()
{
    BindingChange change;
    change.result = BindingChange::Result::NothingToDo;
    change.message = QStringLiteral("Glimra wrote no binding on this desktop; remove the keys you bound in its settings.");
    return change;
}

bool ManualBindingInstructions::isInstalled() const
{
    return false;
}

} // namespace glimra
