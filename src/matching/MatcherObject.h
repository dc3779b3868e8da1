#pragma once

#include "foundation/ScriptRun.h"
#include "matching/Context.h"
#include "matching/MatchRun.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace glimra {

/// The base of every matcher. A matcher reads the working context and may write keys into
/// it; it answers true when it recognised the text. Keys it writes stay in the working
/// context whether it answers true or false. Matchers run on the main thread, one after
/// another; they are shared by the lists that hold them.
class MatcherObject
{
public:
    /// `className` is the matcher's name unless a subclass names itself otherwise.
    explicit MatcherObject(QString className, QString scriptFile = {});
    virtual ~MatcherObject();

    MatcherObject(const MatcherObject &) = delete;
    MatcherObject &operator=(const MatcherObject &) = delete;

    /// What the matched context records as ACT_FOUND when this matcher matches.
    virtual QString name() const;
    /// The plug-in's file for script plug-ins; null for built-in matchers.
    QString scriptFile() const { return m_scriptFile; }
    /// "built-in", "regexp", "perl", "handler script" or "shell", for listings.
    virtual QString kind() const;

    /// Called once before the matchers of a guess run, with what the guess shares. A
    /// matcher whose work outlives matches() (the desktop search) keeps what it needs.
    virtual void beginRun(const MatchRun &run);
    /// Answers false; every matcher replaces it.
    virtual bool matches(Context &workingContext);

    /// Why the last matches() on `workingContext` answered false, in a few words, where
    /// the matcher knows; null otherwise. Asked only when a guess is explained.
    virtual QString whyNot(const Context &workingContext) const;
    /// How a plug-in's script ended at the last matches(); nothing for a built-in.
    virtual ScriptRun lastScriptRun() const;
    /// A guess is being explained: plug-ins keep what their scripts say on standard error
    /// (it is forwarded otherwise).
    void setExplaining(bool explaining) { m_explaining = explaining; }
    bool explaining() const { return m_explaining; }

    /// The separators of the words of a selection: < > , ; : tab line-feed ' " and space.
    static constexpr QStringView WordSeparators = u"<>,;:\t\n'\" ";
    /// Why a matcher that needs a captured text did not match when there is none.
    static constexpr QStringView NoText = u"there is no text";

    /// The lines of ACT_PATHS.
    QStringList foundFileList(const Context &context) const;
    /// Whether foundFileList() has an entry, without making the list.
    bool hasFoundFiles(const Context &context) const;

private:
    QString m_className;
    QString m_scriptFile;
    bool m_explaining = false;
};

using MatcherPtr = std::shared_ptr<MatcherObject>;
using MatcherList = QList<MatcherPtr>;

} // namespace glimra
