#include "ui/RulesPage.h"

#include "app/AppDelegate.h"
#include "app/MainInterface.h"
#include "ui/Problem_p.h"
#include "ui/RuleKeyDelegate.h"
#include "ui/SettingsTable.h"
#include "matching/MatchingEngine.h"
#include "matching/PluginManager.h"
#include "matching/RegExpMatcher.h"
#include "matching/contentType.h"
#include "platform/UserDefaults.h"
#include "ui/PlainText.h"

#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString RegexpMatchers = u"regexp_matchers"_s;
enum Column { KeyColumn, ValueColumn, RegexpColumn };

// The chain of matchers of a guess without the desktop search, which would start a search
// (and replace the real guess's) at every key the user types.
class TesterLists : public PluginLists
{
public:
    explicit TesterLists(PluginManager &manager) : m_manager(manager) {}
    MatcherList allMatchers(const Settings &settings) override
    {
        MatcherList matchers = m_manager.allMatchers(settings);
        matchers.removeAll(m_manager.searchMatch());
        return matchers;
    }
    ActionList actionList() const override { return m_manager.actionList(); }

private:
    PluginManager &m_manager;
};

} // namespace

RulesPage::RulesPage(UserDefaults &defaults, MainInterface &interface, QWidget *parent)
    : PreferencesPage(defaults, parent),
      m_interface(interface),
      m_table(new SettingsTable({tr("Key"), tr("Value template"), tr("Regular expression")}, true, this)),
      m_problem(makeProblemLabel(this)),
      m_sample(new QLineEdit(this)),
      m_report(new QTextBrowser(this))
{
    m_problem->setObjectName(u"rulesProblem"_s);
    m_sample->setObjectName(u"sample"_s);
    m_sample->setPlaceholderText(tr("Type a sample text to see what the rules make of it"));
    m_sample->setClearButtonEnabled(true);
    m_report->setObjectName(u"testerReport"_s);
    m_table->table()->setColumnWidth(KeyColumn, 120);
    m_table->table()->setColumnWidth(ValueColumn, 200);
    m_report->setMinimumHeight(90);
    m_table->table()->setItemDelegateForColumn(KeyColumn, new RuleKeyDelegate(m_table->table()));
    QStringList keys;
    for (const auto &[key, feeds] : RuleKeyDelegate::knownKeys())
        keys.append(tr("%1: %2").arg(key, feeds));
    m_table->table()->horizontalHeaderItem(KeyColumn)->setToolTip(keys.join(u'\n'));
    auto *explanation = new QLabel(tr("A rule recognises a text of your own, such as a ticket number, by a regular "
                                      "expression, and sets a key that the actions take up: ACT_URL is opened as a "
                                      "web address, ACT_WORDS looked up, ACT_TEXT pasted (the key column lists "
                                      "them). It sets its key when its expression matches a line of the selection, "
                                      "or else a word of it. Keys beginning with CTX_ run first, keys beginning "
                                      "with ACT_ last; when several rules match, the last one wins. In the value "
                                      "template, $0 stands for the whole match, $1, $2, … for its groups."),
                                   this);
    explanation->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(m_table, 2);
    layout->addWidget(m_problem);
    auto *tryLabel = new QLabel(tr("&Try the rules:"), this);
    tryLabel->setBuddy(m_sample);
    layout->addWidget(tryLabel);
    layout->addWidget(m_sample);
    layout->addWidget(m_report, 1);

    m_testSoon.setSingleShot(true);
    m_testSoon.setInterval(150);
    connect(&m_testSoon, &QTimer::timeout, this, &RulesPage::test);
    connect(m_table, &SettingsTable::edited, this, &RulesPage::edited);
    connect(m_sample, &QLineEdit::textChanged, &m_testSoon, qOverload<>(&QTimer::start));
}

QStringList RulesPage::keys() const
{
    return {RegexpMatchers};
}

void RulesPage::load(const Settings &settings)
{
    QList<QStringList> rows;
    for (const QJsonValue &value : settings.arrayForKey(RegexpMatchers)) {
        const QJsonObject entry = value.toObject();
        rows.append({entry.value(u"matched_key"_s).toString(), entry.value(u"matched_value"_s).toString(),
                     entry.value(u"regexp"_s).toString()});
    }
    m_table->setRows(rows);
    markProblems();
    test();
}

QJsonArray RulesPage::entries() const
{
    QJsonArray entries;
    for (const QStringList &row : m_table->rows()) {
        entries.append(QJsonObject{{u"matched_key"_s, row.value(KeyColumn)},
                                   {u"matched_value"_s, row.value(ValueColumn)},
                                   {u"regexp"_s, row.value(RegexpColumn)}});
    }
    return entries;
}

QString RulesPage::markProblems()
{
    QStringList problems;
    QTableWidget *table = m_table->table();
    const QSignalBlocker blocker(table);
    for (int row = 0; row < table->rowCount(); ++row) {
        QTableWidgetItem *item = table->item(row, RegexpColumn);
        if (!item)
            continue;
        const QString problem = UserDefaults::regexpProblem(item->text());
        item->setToolTip(PlainText::toolTip(problem));
        // The desktop's warning sign marks the row, readable on a dark palette as on a light one.
        item->setIcon(problem.isNull() ? QIcon() : problemIcon());
        if (!problem.isNull())
            problems.append(tr("Rule %1: %2").arg(row + 1).arg(problem));
    }
    const QString text = problems.join(u'\n');
    showProblem(m_problem, problems.isEmpty() ? QString()
                                              : text + u'\n' + tr("Nothing is saved until it compiles."));
    return text;
}

void RulesPage::edited()
{
    // A rule is saved only once every expression compiles.
    if (markProblems().isEmpty()) {
        QString error;
        if (!store(RegexpMatchers, entries(), &error))
            showProblem(m_problem, error);
    }
    m_testSoon.start();
}

void RulesPage::setSample(const QString &text)
{
    m_sample->setText(text);
    test();
}

QString RulesPage::testerReport() const
{
    return m_report->toPlainText();
}

void RulesPage::test()
{
    m_testSoon.stop();
    const QString sample = m_sample->text();
    if (sample.isEmpty()) {
        m_report->clear();
        return;
    }
    // Each rule on its own, as its matcher runs it.
    QStringList lines;
    const QJsonArray rules = entries();
    for (qsizetype i = 0; i < rules.size(); ++i) {
        const QJsonObject rule = rules.at(i).toObject();
        RegExpMatcher matcher(rule.value(u"matched_key"_s).toString(), rule.value(u"matched_value"_s).toString(),
                              rule.value(u"regexp"_s).toString());
        Context context{{CTX_TEXT, sample}};
        const QString key = matcher.matched_key();
        // A pattern that does not compile matches nothing: that is what to say of it.
        if (const QString problem = UserDefaults::regexpProblem(rule.value(u"regexp"_s).toString()); !problem.isNull())
            lines.append(tr("Rule %1 does not compile: %2.").arg(i + 1).arg(problem));
        else if (!key.isEmpty() && matcher.matches(context))
            lines.append(tr("Rule %1 matches: %2 = %3").arg(i + 1).arg(key, context.value(key)));
        else if (!matcher.limitReached().isNull())
            lines.append(tr("Rule %1 was stopped: it reached %2.").arg(i + 1).arg(matcher.limitReached()));
        else
            lines.append(tr("Rule %1 does not match.").arg(i + 1));
    }
    // The whole chain, with these rules, as a guess of this text would run it.
    QJsonObject values = m_interface.userDefaults().snapshot().values();
    values.insert(RegexpMatchers, rules);
    TesterLists lists(m_interface.pluginManager());
    MatchingEngine engine(&lists);
    const Context matched = engine.matchContext({{CTX_TEXT, sample}}, {0, Settings(values), nullptr});
    QStringList labels;
    for (const ActionPtr &action : engine.actionsForContext(matched))
        labels.append(action->label());
    lines.append(tr("The guess: looks like %1.").arg(contentType(matched)));
    lines.append(labels.isEmpty() ? tr("No action is offered.") : tr("Actions: %1.").arg(labels.join(u", "_s)));
    m_report->setPlainText(lines.join(u'\n'));
}

} // namespace glimra
