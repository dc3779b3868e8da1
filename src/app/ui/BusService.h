#pragma once

#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>

namespace glimra {

class AppDelegate;
class ResultPanel;

/// The running application on the session bus: the name org.glimra.Glimra, the object
/// /org/glimra/Glimra, the interface org.glimra.Glimra1. Scripts, desktop shortcuts and
/// the command line reach the one running instance through it. Calls that guess take
/// their turn behind a guess that runs; none nests. Main thread only.
class BusService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.glimra.Glimra1")
public:
    static const QString ServiceName; ///< org.glimra.Glimra
    static const QString ObjectPath;  ///< /org/glimra/Glimra
    static const QString Interface;   ///< org.glimra.Glimra1

    /// Neither collaborator is owned.
    BusService(AppDelegate *delegate, ResultPanel *resultWindow, QObject *parent = nullptr);

    /// Exports the object and takes the name. False when another program (another Glimra)
    /// has the name, or there is no session bus: `problem` says which.
    bool registerOnBus(QString *problem);

public slots:
    /// Shows the results panel (what starting Glimra again does).
    Q_SCRIPTABLE void ShowResults();
    /// Guesses the selection or the clipboard, as the shortcuts do; the reply comes at once.
    Q_SCRIPTABLE void GuessSelection();
    Q_SCRIPTABLE void GuessClipboard();
    Q_SCRIPTABLE void RefreshPlugins();
    Q_SCRIPTABLE void ShowPreferences();
    /// Shows the help panel on "manual" or "actions".
    Q_SCRIPTABLE void ShowHelp(const QString &document);
    Q_SCRIPTABLE void Quit();
    /// The state of the last guess, as `glimra … --json` prints it.
    Q_SCRIPTABLE QString Results();
    /// Guesses ("selection" or "clipboard") and answers when the guess has ended and its
    /// late files are in (at most `waitSeconds` more): {"outcome": …, "state": …}. What
    /// `glimra guess` and `glimra clipboard` ask of the running instance.
    Q_SCRIPTABLE QString RunGuess(const QString &kind, double waitSeconds);

signals:
    void quitRequested();
    void preferencesRequested();
    void helpRequested(const QString &document);

private:
    AppDelegate *m_delegate;
    ResultPanel *m_resultWindow;
};

} // namespace glimra
