#include "matching/PluginManager.h"

#include "foundation/Collections.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"
#include "foundation/ScriptFile.h"
#include "matching/RegExpMatcher.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

#include <fnmatch.h>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

// The files of `folder`, by name (hidden ones left out).
QStringList folderFiles(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                                               QDir::NoSort);
    std::sort(names.begin(), names.end());
    QStringList files;
    for (const QString &name : std::as_const(names))
        files.append(folder + u'/' + name);
    return files;
}

bool sameFolder(const QString &one, const QString &other)
{
    const QString canonical = QFileInfo(one).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath();
}

// The files of the shipped plug-in folder, then of the user's, then of the user's older
// folder, each by name. Every host takes its own from them: a folder is read once per load,
// not once per host. A file of the older folder whose name the user's folder holds too is
// left out, with one log line: the one in the user's folder is the plug-in.
QStringList pluginFolderFiles()
{
    const QString mine = PluginManager::userPluginsDir();
    const QString older = PluginManager::olderUserPluginsDir();
    QStringList files = folderFiles(appPluginsDir());
    const QStringList myFiles = folderFiles(mine);
    files.append(myFiles);
    // A user who linked one folder to the other has one folder.
    if (sameFolder(mine, older))
        return files;
    for (const QString &file : folderFiles(older)) {
        const QString myFile = mine + u'/' + basename(file);
        if (myFiles.contains(myFile)) {
            qCInfo(lcMatching).noquote() << u"plug-in %1 left out: %2 takes its place"_s.arg(file, myFile);
            continue;
        }
        files.append(file);
    }
    return files;
}

// The user's plug-in that a new file named `fileName` would hide or double: the file itself in
// either user folder, or for a handler script the same plug-in under the older ".scpt" ending.
QString existingPlugin(const QString &fileName)
{
    QStringList names = {fileName};
    if (fileName.endsWith(u".handler"_s))
        names.append(fileName.chopped(7) + u"scpt"_s);
    for (const QString &folder : {PluginManager::userPluginsDir(), PluginManager::olderUserPluginsDir()}) {
        for (const QString &name : std::as_const(names)) {
            const QString file = folder + u'/' + name;
            if (path_exists(file))
                return file;
        }
    }
    return {};
}

// Names are matched as written: "*Matcher*" never takes "notesmatcher.sh".
bool matchesOneOf(const QStringList &patterns, const QString &file)
{
    const QByteArray name = QFile::encodeName(basename(file));
    return std::ranges::any_of(patterns, [&name](const QString &pattern) {
        return ::fnmatch(QFile::encodeName(pattern).constData(), name.constData(), 0) == 0;
    });
}

template <typename List, typename Host>
void mergePlugins(List &list, const Host &host, const QStringList &files)
{
    for (const QString &file : files) {
        if (!matchesOneOf(host.patterns, file))
            continue;
        const QString why = ScriptFile::whyNotLoadable(file);
        if (!why.isNull()) {
            qCWarning(lcMatching).noquote() << u"plug-in %1 skipped: %2"_s.arg(file, why);
            continue;
        }
        mergeObject(list, host.make(file), [](const auto &element) { return element->name(); });
    }
}

QString refusal(const QString &name)
{
    if (name.trimmed().isEmpty())
        return u"a plug-in needs a name"_s;
    if (name.contains(u'/'))
        return u"the name \"%1\" holds a \"/\"; plug-ins stay in the plug-in folder"_s.arg(name);
    if (name.startsWith(u'.'))
        return u"the name \"%1\" begins with \".\"; plug-ins stay in the plug-in folder"_s.arg(name);
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return u"the name holds a control character"_s;
    }
    return {};
}

} // namespace

PluginManager::PluginManager(PluginCatalogue catalogue, std::shared_ptr<FileManager> fileManager,
                             QObject *parent)
    : QObject(parent), m_catalogue(std::move(catalogue)), m_fileManager(std::move(fileManager))
{
}

PluginManager::~PluginManager() = default;

QString PluginManager::userPluginsDir()
{
    return appSupportDir() + u"/glimra/plugins"_s;
}

QString PluginManager::olderUserPluginsDir()
{
    return appSupportDir() + u"/Glimra/PlugIns"_s;
}

void PluginManager::loadPlugins()
{
    const QStringList files = pluginFolderFiles();
    loadMatchPlugins(files);
    loadActionPlugins(files);
    mk_dirs(userPluginsDir());
}

void PluginManager::loadMatchPlugins(const QStringList &files)
{
    MatcherList matchers = m_catalogue.builtInMatchers ? m_catalogue.builtInMatchers() : MatcherList();
    for (const auto &host : std::as_const(m_catalogue.matcherHosts))
        mergePlugins(matchers, host, files);
    if (!m_searchMatch)
        m_searchMatch = m_catalogue.searchMatcher;
    if (m_searchMatch)
        matchers.append(m_searchMatch);
    m_matcherList = matchers;
}

void PluginManager::loadActionPlugins(const QStringList &files)
{
    ActionList actions = m_catalogue.builtInActions ? m_catalogue.builtInActions() : ActionList();
    for (const auto &host : std::as_const(m_catalogue.actionHosts))
        mergePlugins(actions, host, files);
    m_actionList = actions;
}

void PluginManager::refreshPlugins()
{
    const QStringList files = pluginFolderFiles();
    loadActionPlugins(files);
    loadMatchPlugins(files);
    emit listsReloaded();
}

MatcherList PluginManager::allMatchers(const Settings &settings)
{
    // New matchers from the guess's own settings: an edit applies to the next guess.
    const QJsonArray entries = settings.arrayForKey(u"regexp_matchers"_s);
    MatcherList all;
    populateRegExp(all, entries, CapturedPrefix);
    all.append(m_matcherList);
    populateRegExp(all, entries, ResultPrefix);
    return all;
}

void PluginManager::populateRegExp(MatcherList &matchers, const QJsonArray &entries,
                                   const QString &prefix) const
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonObject entry = entries.at(i).toObject();
        const QString key = entry.value(u"matched_key"_s).toString();
        const QString regexp = entry.value(u"regexp"_s).toString();
        if (!key.startsWith(prefix) || key.isEmpty() || regexp.isEmpty())
            continue;
        // Such an entry never matches; say so once per guess, where the user can see why.
        const QString problem = UserDefaults::regexpProblem(regexp);
        if (!problem.isNull())
            qCWarning(lcMatching).noquote() << u"regexp_matchers entry %1: %2"_s.arg(i).arg(problem);
        auto matcher = std::make_shared<RegExpMatcher>(key, entry.value(u"matched_value"_s).toString(), regexp);
        matcher->setEntry(i);
        matchers.append(matcher);
    }
}

PluginManager::Creation PluginManager::addMatcher(bool openFile)
{
    const QString extension = m_newMatcherType == 1 ? u"pl"_s
                            : m_newMatcherType == 2 ? u"sh"_s
                                                    : u"handler"_s;
    return addPlugin(m_newMatcherName, u"Matcher"_s, extension, u"MatchTemplate"_s, openFile);
}

PluginManager::Creation PluginManager::addAction(bool openFile)
{
    const QString extension = m_newActionType == 1 ? u"sh"_s : u"handler"_s;
    return addPlugin(m_newActionName, u"Action"_s, extension, u"ActionTemplate"_s, openFile);
}

PluginManager::Creation PluginManager::addPlugin(const QString &name, const QString &role,
                                                 const QString &extension,
                                                 const QString &templateName, bool openFile)
{
    Creation creation;
    creation.message = refusal(name);
    if (!creation.message.isEmpty())
        return creation;
    mk_dirs(userPluginsDir());
    const QString source = expandPath(u"${APP_RESOURCES}/%1.%2"_s.arg(templateName, extension));
    creation.path = u"%1/%2%3.%4"_s.arg(userPluginsDir(), name, role, extension);
    const QString existing = existingPlugin(basename(creation.path));
    if (!existing.isEmpty()) {
        creation.message = u"%1 exists already; nothing was changed"_s.arg(existing);
        return creation;
    }
    if (!cp_file(source, creation.path)) {
        creation.message = u"could not copy %1 to %2"_s.arg(source, creation.path);
        return creation;
    }
    // An installed template may be read-only; the user's copy is theirs to edit.
    QFile::setPermissions(creation.path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                             | QFile::ReadOther);
    creation.created = true;
    if (openFile && m_fileManager)
        m_fileManager->openFile(creation.path);
    emit pluginFileCreated();
    return creation;
}

} // namespace glimra
