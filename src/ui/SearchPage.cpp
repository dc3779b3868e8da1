#include "ui/SearchPage.h"

#include "actions/WebSearchAction.h"
#include "ui/Problem_p.h"
#include "platform/Predicate.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString Filter = u"search_exclusion_filter"_s;

QLabel *wrappedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

QList<std::pair<QString, QString>> SearchPage::filterExamples()
{
    return {
        {u"dirname CONTAINS '/.git'"_s, tr("hides Git's own files")},
        {u"extension IN {'o', 'pyc', 'class'}"_s, tr("hides compiled files")},
        {u"filename BEGINSWITH '.' OR path CONTAINS[c] '/cache/'"_s, tr("hides hidden files and caches")},
    };
}

SearchPage::SearchPage(UserDefaults &defaults, QWidget *parent)
    : PreferencesPage(defaults, parent),
      m_address(new QLineEdit(this)),
      m_addressProblem(makeProblemLabel(this)),
      m_filter(new QPlainTextEdit(this)),
      m_problem(makeProblemLabel(this))
{
    m_address->setObjectName(WebSearchAction::SettingKey);
    m_addressProblem->setObjectName(u"web_search_url_problem"_s);
    m_address->setPlaceholderText(WebSearchAction::DefaultURL);
    m_address->setClearButtonEnabled(true);
    auto *addressLabel = wrappedLabel(
        tr("&Web search address: %1 stands for the words looked up; empty, the default engine is used.")
            .arg(WebSearchAction::Placeholder),
        this);
    addressLabel->setBuddy(m_address);

    m_filter->setObjectName(u"filter"_s);
    m_problem->setObjectName(u"filterProblem"_s);
    m_filter->setPlaceholderText(filterExamples().first().first);
    m_filter->setTabChangesFocus(true);
    auto *label = wrappedLabel(tr("The desktop file search offers files whose names look like the selection. Its "
                                  "hits for which this condition holds are &not shown. It reads filename, dirname, "
                                  "path and extension, with comparisons such as ==, CONTAINS, BEGINSWITH, "
                                  "ENDSWITH, LIKE, MATCHES and IN, joined by AND, OR and NOT; [c] compares "
                                  "without regard to case."),
                               this);
    label->setBuddy(m_filter);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(addressLabel);
    layout->addWidget(m_address);
    layout->addWidget(m_addressProblem);
    layout->addSpacing(12);
    layout->addWidget(label);
    layout->addWidget(m_filter, 1);
    layout->addWidget(m_problem);
    layout->addWidget(new QLabel(tr("For example:"), this));
    layout->addLayout(makeExamples());
    connect(m_filter, &QPlainTextEdit::textChanged, this, &SearchPage::filterEdited);
    connect(m_address, &QLineEdit::textEdited, this, &SearchPage::addressEdited);
}

QLayout *SearchPage::makeExamples()
{
    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    int row = 0;
    for (const auto &[example, meaning] : filterExamples()) {
        auto *text = new QLabel(example, this);
        text->setTextFormat(Qt::PlainText);
        text->setFont(fixed);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(text, row, 0);
        grid->addWidget(wrappedLabel(meaning, this), row++, 1);
    }
    return grid;
}

QStringList SearchPage::keys() const
{
    return {Filter, WebSearchAction::SettingKey};
}

void SearchPage::load(const Settings &settings)
{
    const QSignalBlocker blocker(m_filter);
    m_filter->setPlainText(settings.stringForKey(Filter));
    showProblem(m_problem, {});
    m_address->setText(settings.stringForKey(WebSearchAction::SettingKey));
    showProblem(m_addressProblem, addressProblem(m_address->text().trimmed()));
}

QString SearchPage::addressProblem(const QString &address)
{
    switch (address.isEmpty() ? WebSearchAction::Problem::None : WebSearchAction::problemWith(address)) {
    case WebSearchAction::Problem::None:
        return {};
    case WebSearchAction::Problem::NoPlaceholder:
        return tr("This address has no %1 for the words, so it is not used.")
            .arg(WebSearchAction::Placeholder);
    case WebSearchAction::Problem::NotWeb:
        return tr("This is no http or https address, so it is not used.");
    }
    return {};
}

void SearchPage::storeUnless(const QString &key, const QString &text, QLabel *label, const QString &problem)
{
    showProblem(label, problem);
    if (problem.isEmpty())
        store(key, text.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(text));
}

void SearchPage::addressEdited()
{
    const QString address = m_address->text().trimmed();
    storeUnless(WebSearchAction::SettingKey, address, m_addressProblem, addressProblem(address));
}

void SearchPage::filterEdited()
{
    const QString text = m_filter->toPlainText().trimmed();
    QString error;
    const bool parses = text.isEmpty() || Predicate::predicateWithFormat(text, &error);
    storeUnless(Filter, text, m_problem,
                parses ? QString() : tr("This does not parse: %1. Nothing is saved until it does.").arg(error));
}

} // namespace glimra
