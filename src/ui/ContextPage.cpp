#include "ui/ContextPage.h"

#include "ui/SettingsTable.h"
#include "matching/Context.h"

#include <QJsonObject>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString Configuration = u"user_context_configuration"_s;

} // namespace

ContextPage::ContextPage(UserDefaults &defaults, QWidget *parent)
    : PreferencesPage(defaults, parent), m_table(new SettingsTable({tr("Key"), tr("Value")}, false, this))
{
    auto *explanation = new QLabel(tr("These entries are added to every guess before the selection's own facts. "
                                      "Plug-ins read them; CTX_DIRx keeps desktop-search hits inside one folder."),
                                   this);
    explanation->setWordWrap(true);
    m_table->table()->setAccessibleName(tr("Entries added to every guess"));
    m_table->table()->setAccessibleDescription(explanation->text());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(m_table);
    connect(m_table, &SettingsTable::edited, this, &ContextPage::edited);
}

QStringList ContextPage::keys() const
{
    return {Configuration};
}

void ContextPage::load(const Settings &settings)
{
    QList<QStringList> rows;
    const Context entries = contextFromVariantMap(settings.dictionaryForKey(Configuration).toVariantMap());
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        rows.append({it.key(), it.value()});
    m_table->setRows(rows);
}

void ContextPage::edited()
{
    QJsonObject entries;
    for (const QStringList &row : m_table->rows()) {
        // A row still without a key is not an entry yet.
        if (!row.value(0).trimmed().isEmpty())
            entries.insert(row.value(0).trimmed(), row.value(1));
    }
    store(Configuration, entries.isEmpty() ? QJsonValue(QJsonValue::Undefined) : QJsonValue(entries));
}

} // namespace glimra
