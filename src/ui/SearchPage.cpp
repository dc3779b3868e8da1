#include "ui/SearchPage.h"

#include "ui/Problem_p.h"
#include "platform/Predicate.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString Filter = u"search_exclusion_filter"_s;

} // namespace

SearchPage::SearchPage(UserDefaults &defaults, QWidget *parent)
    : PreferencesPage(defaults, parent), m_filter(new QPlainTextEdit(this)), m_problem(makeProblemLabel(this))
{
    m_filter->setObjectName(u"filter"_s);
    m_problem->setObjectName(u"filterProblem"_s);
    m_filter->setPlaceholderText(u"dirname CONTAINS '/.git' OR extension IN {'o', 'pyc'}"_s);
    m_filter->setTabChangesFocus(true);
    auto *label = new QLabel(tr("Desktop-search hits for which this condition holds are &not shown. It reads "
                                "filename, dirname, path and extension, with comparisons such as ==, "
                                "CONTAINS, BEGINSWITH, ENDSWITH, LIKE, MATCHES and IN, joined by AND, OR "
                                "and NOT; [c] compares without regard to case."),
                             this);
    label->setWordWrap(true);
    label->setBuddy(m_filter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_filter, 1);
    layout->addWidget(m_problem);
    connect(m_filter, &QPlainTextEdit::textChanged, this, &SearchPage::edited);
}

QStringList SearchPage::keys() const
{
    return {Filter};
}

void SearchPage::load(const Settings &settings)
{
    const QSignalBlocker blocker(m_filter);
    m_filter->setPlainText(settings.stringForKey(Filter));
    showProblem(m_problem, {});
}

void SearchPage::edited()
{
    const QString text = m_filter->toPlainText().trimmed();
    if (text.isEmpty()) {
        showProblem(m_problem, {});
        store(Filter, QJsonValue(QJsonValue::Undefined));
        return;
    }
    QString error;
    if (!Predicate::predicateWithFormat(text, &error)) {
        showProblem(m_problem, tr("This does not parse: %1. Nothing is saved until it does.").arg(error));
        return;
    }
    showProblem(m_problem, {});
    store(Filter, text);
}

} // namespace glimra
