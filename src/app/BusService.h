#pragma once

#include <QDBusContext>
#include <QDBusMessage>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

namespace glimra {

/// The arguments of Guess: a{ss} on the bus.
using GuessArguments = QMap<QString, QString>;

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
    /// The most a text argument may hold (UTF-8 bytes), and a pattern.
    static constexpr qsizetype MaximumTextBytes = 1024 * 1024;
    static constexpr qsizetype MaximumPatternBytes = 4 * 1024;
    /// The most an answer may hold: dbus-daemon drops a program that sends a message over its
    /// limit, which is 32 MiB where the bus's configuration names none (a desktop's session
    /// bus usually allows 128 MiB).
    static constexpr qsizetype MaximumAnswerBytes = 30 * 1024 * 1024;

    /// A value as the interface answers it: an empty array for no value, else an array of
    /// one element (a text, a list of texts, a boolean).
    static QVariantList answer(const std::optional<QVariant> &value);
    /// The value of such an answer as a caller receives it (`reply`: its av argument).
    static std::optional<QVariant> valueOf(const QVariant &reply);

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
    /// Shows the preferences window at `page` ("general", "rules", "context", "search",
    /// "plugins"; another word leaves the page as it was).
    Q_SCRIPTABLE void ShowPreferencesPage(const QString &page);
    /// Shows the help panel on "manual" or "actions".
    Q_SCRIPTABLE void ShowHelp(const QString &document);
    Q_SCRIPTABLE void Quit();
    /// The state of the last guess, as `glimra … --json` prints it.
    Q_SCRIPTABLE QString Results();
    /// Guesses ("selection" or "clipboard") and answers when the guess has ended and its
    /// late files are in (at most `waitSeconds` more): {"outcome": …, "state": …}. What
    /// `glimra guess` and `glimra clipboard` ask of the running instance.
    Q_SCRIPTABLE QString RunGuess(const QString &kind, double waitSeconds);

    /// Guesses "file_string", "url_string" or "text_string" (with "app_name") without
    /// capturing anything or showing the panel; the answer is ACT_FILENAMES (or
    /// ACT_FILENAME) of the file, else ACT_URL of the URL, else ACT_TEXT of the text.
    Q_SCRIPTABLE QVariantList Guess(const glimra::GuessArguments &arguments);
    /// The regular-expression operations by their codes 'mreg', 'xreg', 'splt'.
    Q_SCRIPTABLE QVariantList Regexp(const QString &eventId, const QString &text, const QString &regexp);
    Q_SCRIPTABLE QVariantList Matches(const QString &text, const QString &regexp);
    Q_SCRIPTABLE QVariantList MatchMultiple(const QString &text, const QString &regexp);
    Q_SCRIPTABLE QVariantList Split(const QString &text, const QString &separators);
    /// The display this instance serves (":0"); what another Glimra asks first. Requests
    /// that capture or show something are refused to a caller on another display.
    Q_SCRIPTABLE QString Display();

signals:
    void quitRequested();
    void preferencesRequested(const QString &page);
    void helpRequested(const QString &document);

private:
    /// The reply to `request` with `answer` (about `bytes` long), or TooLarge when it
    /// would not fit on the bus.
    static QDBusMessage replyWithin(const QDBusMessage &request, const QVariant &answer, qsizetype bytes);
    static QDBusMessage jsonReply(const QDBusMessage &request, const QJsonObject &object);
    /// Refuses (with a named error) a text or a pattern over its size; true when it fits.
    bool fits(const QString &text, qsizetype maximumBytes, const QString &what);
    /// Refuses (with a named error) a caller whose environment names another display;
    /// true when it is on this one, or does not say.
    bool fromThisDisplay();

    AppDelegate *m_delegate;
    ResultPanel *m_resultWindow;
    QString m_display;
};

} // namespace glimra

Q_DECLARE_METATYPE(glimra::GuessArguments)
