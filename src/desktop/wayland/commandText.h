#pragma once

#include <QString>
#include <QStringList>

namespace glimra {

/// A command as one line a shell (or a desktop's command line parser) splits back into
/// the same words: each word as it stands, single-quoted only where it holds anything but
/// letters, digits and _/.:=@%+,-.
QString commandText(const QStringList &command);

} // namespace glimra
