#pragma once

#include "ui/PreferencesPage.h"

#include <QJsonArray>
#include <QTimer>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace glimra {

class MainInterface;
class SettingsTable;

/// The user's regular expressions ("regexp_matchers"): key, value template and
/// expression per row, in the order they run (the last match wins). A row whose
/// expression does not compile is marked with the error, and nothing is saved until it
/// compiles. Beside the table, a tester: for a sample text it shows, as the user types,
/// which entries match and what each would set, and the guess the whole chain would
/// give, computed by the matchers themselves.
class RulesPage : public PreferencesPage
{
    Q_OBJECT
public:
    RulesPage(UserDefaults &defaults, MainInterface &interface, QWidget *parent = nullptr);

    /// The tester's sample text, and what it shows for it.
    void setSample(const QString &text);
    QString testerReport() const;

protected:
    void load(const Settings &settings) override;
    QStringList keys() const override;

private:
    QJsonArray entries() const;
    /// Marks the rows whose expression does not compile; the problems, one per line.
    QString markProblems();
    void edited();
    void test();

    MainInterface &m_interface;
    SettingsTable *m_table;
    QLabel *m_problem;
    QLineEdit *m_sample;
    QTextBrowser *m_report;
    QTimer m_testSoon;
};

} // namespace glimra
