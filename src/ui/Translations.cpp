#include "ui/Translations.h"

#include "foundation/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The installed translators, the program's and Qt's; QCoreApplication does not own them.
enum Slot { ProgramSlot, QtSlot };
std::unique_ptr<QTranslator> &installed(Slot slot)
{
    static std::unique_ptr<QTranslator> translators[2];
    return translators[slot];
}

// Loads the best of `name`'s translations in `folder` for `locale` and installs it in
// `slot`, removing what was there; false when there is none.
bool installOne(std::unique_ptr<QTranslator> &slot, const QLocale &locale, const QString &name,
                const QString &folder)
{
    if (slot)
        QCoreApplication::removeTranslator(slot.get());
    slot = std::make_unique<QTranslator>();
    if (!slot->load(locale, name, u"_"_s, folder)) {
        slot.reset();
        return false;
    }
    QCoreApplication::installTranslator(slot.get());
    return true;
}

} // namespace

QString Translations::folder()
{
    const QString shipped = appResourcesDir() + u"/translations"_s;
    return QFileInfo(shipped).isDir() ? shipped : QStringLiteral(GLIMRA_BUILD_TRANSLATIONS);
}

bool Translations::install(const QLocale &locale)
{
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // Qt's own for its standard buttons: qtbase where a language has it, else the whole of Qt.
    if (!installOne(installed(QtSlot), locale, u"qtbase"_s, qtFolder))
        installOne(installed(QtSlot), locale, u"qt"_s, qtFolder);
    return installOne(installed(ProgramSlot), locale, u"glimra"_s, folder());
}

} // namespace glimra
