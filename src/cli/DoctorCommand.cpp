#include "cli/DoctorCommand.h"

#include "cli/CommandLine.h"
#include "desktop/DesktopDoctor.h"
#include "platform/UserDefaults.h"
#include "ui/DesktopApplication.h"

#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace glimra {

int DoctorCommand::run(const QStringList &arguments)
{
    CommandLine command(u"doctor"_s, arguments);
    command.parser().addOption({u"json"_s, u"Print one JSON object."_s});
    if (!command.parseOptionsOnly())
        return command.stopStatus();
    CapabilityProbe::Options options;
    // As long as the program itself waits for the compositor to answer (KWin looks up the
    // program's desktop entry first).
    options.timeout = std::chrono::seconds(5);
    // The advice names the keys the user set for the guess.
    UserDefaults defaults;
    if (defaults.objectForKey(DesktopApplication::GuessSelectionShortcutKey).isString())
        options.guessKeys = defaults.stringForKey(DesktopApplication::GuessSelectionShortcutKey);
    const CapabilityReport report = DesktopDoctor::examine(options);
    if (command.parser().isSet(u"json"_s)) {
        command.out() << QString::fromUtf8(QJsonDocument(report.toJson()).toJson(QJsonDocument::Indented));
        return 0;
    }
    command.out() << u"desktop: %1\n"_s.arg(report.desktop);
    for (const Capability &capability : report.capabilities)
        command.out() << capability.line() << u'\n';
    return 0;
}

} // namespace glimra
