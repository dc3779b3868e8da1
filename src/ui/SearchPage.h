#pragma once

#include "ui/PreferencesPage.h"

#include <utility>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace glimra {

/// The searches a guess starts: the web search address ("web_search_url", with {query}
/// where the words go) and the desktop search's exclusion filter
/// ("search_exclusion_filter"), a predicate over filename, dirname, path and extension,
/// parsed as the user types with the parser the search uses. Nothing is saved while the
/// address cannot serve or the filter does not parse.
class SearchPage : public PreferencesPage
{
    Q_OBJECT
public:
    SearchPage(UserDefaults &defaults, QWidget *parent = nullptr);

    /// The filters the page shows as examples, each with what it hides.
    static QList<std::pair<QString, QString>> filterExamples();

protected:
    void load(const Settings &settings) override;
    QStringList keys() const override;

private:
    void filterEdited();
    void addressEdited();
    QLayout *makeExamples();
    /// What keeps `address` from serving as the web search address; empty when it can.
    static QString addressProblem(const QString &address);
    /// Stores `text` under `key` (removes the key when it is empty) unless there is a
    /// `problem`, which `label` shows instead.
    void storeUnless(const QString &key, const QString &text, QLabel *label, const QString &problem);

    QLineEdit *m_address;
    QLabel *m_addressProblem;
    QPlainTextEdit *m_filter;
    QLabel *m_problem;
};

} // namespace glimra
