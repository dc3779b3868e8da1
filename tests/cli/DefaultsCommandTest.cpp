#include "GlimraProcess.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

class DefaultsCommandTest : public IsolatedTest
{
};

TEST_F(DefaultsCommandTest, ReadWriteAndDeleteJsonValues)
{
    EXPECT_EQ(runGlimra({u"defaults"_s, u"write"_s, u"hide_after_action"_s, u"true"_s}).exitCode, 0);
    EXPECT_EQ(runGlimra({u"defaults"_s, u"write"_s, u"regexp_matchers"_s,
                         uR"([{"matched_key": "ACT_TICKET", "matched_value": "", "regexp": "^[A-Z]+-\\d+$"}])"_s})
                  .exitCode,
              0);
    EXPECT_EQ(runGlimra({u"defaults"_s, u"read"_s, u"hide_after_action"_s}).out, u"true\n"_s);
    EXPECT_TRUE(runGlimra({u"defaults"_s, u"read"_s}).out.contains(u"\"ACT_TICKET\""_s));
    const GlimraRun ticket = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"see ABC-12 today"_s});
    EXPECT_EQ(ticket.json().value(u"matchedContext"_s).toObject().value(u"ACT_TICKET"_s), u"ABC-12"_s);

    EXPECT_EQ(runGlimra({u"defaults"_s, u"delete"_s, u"hide_after_action"_s}).exitCode, 0);
    const GlimraRun gone = runGlimra({u"defaults"_s, u"read"_s, u"hide_after_action"_s});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_TRUE(gone.err.contains(u"not set"_s));
}

TEST_F(DefaultsCommandTest, AShortcutThatNamesNoKeyOrTheOtherShortcutsKeysIsRefusedNamingIt)
{
    const struct
    {
        QString key;
        QString value;
        int status;
        QString said;
    } rows[] = {
        {u"shortcut_guess_selection"_s, u"\"Ctrl+Alt+Bogus\""_s, 1,
         u"\"Ctrl+Alt+Bogus\" names no key of a keyboard: \"Bogus\" is not one"_s},
        {u"shortcut_guess_selection"_s, u"\"Ctrl+A, Ctrl+B\""_s, 1, u"more than one key combination"_s},
        // A modifier it does not know is named, not the key after it.
        {u"shortcut_guess_selection"_s, u"\"Super+Alt+G\""_s, 1,
         u"\"Super+Alt+G\" names no modifier: \"Super\" is not one; they are Ctrl, Shift, Alt and Meta"_s},
        {u"shortcut_guess_selection"_s, u"\"Ctrl+Foo+G\""_s, 1, u"names no modifier: \"Foo\" is not one"_s},
        {u"shortcut_guess_selection"_s, u"\"Ctrl+Alt+\""_s, 1, u"names no key of a keyboard"_s},
        // The other one's default counts as its keys.
        {u"shortcut_guess_clipboard"_s, u"\"Meta+Alt+G\""_s, 1,
         u"\"Meta+Alt+G\" is already the shortcut to guess the selection"_s},
        {u"shortcut_guess_clipboard"_s, u"\"Ctrl+Alt+Y\""_s, 0, QString()},
        {u"shortcut_guess_selection"_s, u"\"ctrl+alt+y\""_s, 1, u"already the shortcut to guess the clipboard"_s},
        {u"shortcut_guess_selection"_s, u"\"\""_s, 0, QString()}, // none
    };
    for (const auto &row : rows) {
        const GlimraRun run = runGlimra({u"defaults"_s, u"write"_s, row.key, row.value});
        EXPECT_EQ(run.exitCode, row.status) << row.value.toStdString();
        EXPECT_TRUE(row.said.isNull() ? run.err.isEmpty() : run.err.contains(row.said))
            << row.value.toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_EQ(runGlimra({u"defaults"_s, u"read"_s, u"shortcut_guess_clipboard"_s}).out, u"\"Ctrl+Alt+Y\"\n"_s);
    EXPECT_EQ(runGlimra({u"defaults"_s, u"read"_s, u"shortcut_guess_selection"_s}).out, u"\"\"\n"_s);
}

TEST_F(DefaultsCommandTest, ASettingsFolderThatCannotBeWrittenIsNotSaidToBeLockedByAnother)
{
    // The folder is someone else's: the superuser's, for a user who may only read it (the
    // superuser writes anywhere, so it runs glimra as "nobody"); else the user's own, made
    // read-only.
    const QString file = path(u"config/Glimra/defaults.json"_s);
    QDir().mkpath(path(u"config/Glimra"_s));
    writeFile(file, "{\"hide_after_action\": false}");
    const QFile::Permissions readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    for (const QString &folder : {path(), path(u"config"_s), path(u"config/Glimra"_s)})
        QFile::setPermissions(folder, readable | (folder == path(u"config/Glimra"_s) ? QFile::Permissions() : QFile::WriteOwner));
    QFile::setPermissions(file, readable);
    const bool superuser = ::geteuid() == 0;
    for (const QStringList &change : {QStringList{u"write"_s, u"hide_after_action"_s, u"true"_s},
                                      QStringList{u"delete"_s, u"hide_after_action"_s}}) {
        QProcess glimra;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"DISPLAY"_s);
        glimra.setProcessEnvironment(environment);
        const QStringList arguments = QStringList{u"defaults"_s} + change;
        if (superuser)
            glimra.start(u"setpriv"_s, QStringList{u"--reuid=65534"_s, u"--regid=65534"_s, u"--clear-groups"_s,
                                                   QStringLiteral(GLIMRA_BINARY)} + arguments);
        else
            glimra.start(QStringLiteral(GLIMRA_BINARY), arguments);
        ASSERT_TRUE(glimra.waitForFinished(30000));
        const QString err = QString::fromUtf8(glimra.readAllStandardError());
        EXPECT_EQ(glimra.exitCode(), 1) << err.toStdString();
        EXPECT_TRUE(err.contains(u"%1 cannot be changed: its lock file %1.lock cannot be made"_s.arg(file)))
            << err.toStdString();
        EXPECT_FALSE(err.contains(u"locked by another process"_s)) << err.toStdString();
    }
    QFile::setPermissions(path(u"config/Glimra"_s), readable | QFile::WriteOwner);
}

TEST_F(DefaultsCommandTest, ValuesOfTheWrongShapeChangeNothing)
{
    const GlimraRun wrong = runGlimra({u"defaults"_s, u"write"_s, u"regexp_matchers"_s, u"{\"a\": 1}"_s});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains(u"regexp_matchers"_s)) << wrong.err.toStdString();
    EXPECT_EQ(runGlimra({u"defaults"_s, u"write"_s, u"x"_s, u"{not json"_s}).exitCode, 2);
    EXPECT_EQ(runGlimra({u"defaults"_s, u"write"_s, u"x"_s}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(path(u"config/Glimra/defaults.json"_s)));

    writeFile(u"config/Glimra/defaults.json"_s, "{ broken");
    const GlimraRun refused = runGlimra({u"defaults"_s, u"write"_s, u"x"_s, u"1"_s});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(path(u"config/Glimra/defaults.json"_s)));
    // A broken settings file does not stop a guess.
    EXPECT_EQ(runGlimra({u"match"_s, u"--text"_s, u"6*7"_s}).exitCode, 0);
}

TEST_F(DefaultsCommandTest, ASettingsFileThatIsADeviceOrAFifoIsRefusedByEveryCommand)
{
    const QString file = path(u"config/Glimra/defaults.json"_s);
    QDir().mkpath(QFileInfo(file).absolutePath());
    for (const bool fifo : {false, true}) {
        QFile::remove(file);
        if (fifo)
            ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else
            ASSERT_TRUE(QFile::link(u"/dev/zero"_s, file));
        SCOPED_TRACE(fifo ? "a FIFO" : "a link to /dev/zero");
        // Each would hang for good, or run out of memory, if it read the file.
        const GlimraRun read = runGlimra({u"defaults"_s, u"read"_s});
        EXPECT_EQ(read.exitCode, 1);
        EXPECT_TRUE(read.err.contains(u"it is not a regular file"_s)) << read.err.toStdString();
        const GlimraRun write = runGlimra({u"defaults"_s, u"write"_s, u"hide_after_action"_s, u"true"_s});
        EXPECT_EQ(write.exitCode, 1);
        // A guess goes on without settings.
        const GlimraRun guess = runGlimra({u"match"_s, u"--json"_s, u"--text"_s, u"6*7"_s});
        EXPECT_EQ(guess.exitCode, 0) << guess.err.toStdString();
        EXPECT_EQ(guess.json().value(u"matchedContext"_s).toObject().value(u"ACT_TEXT"_s), u"42"_s);
        EXPECT_EQ(QFileInfo(file).isSymLink(), !fifo); // left as it was
    }
}
