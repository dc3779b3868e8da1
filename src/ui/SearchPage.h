#pragma once

#include "ui/PreferencesPage.h"

class QLabel;
class QPlainTextEdit;

namespace glimra {

/// The desktop search's exclusion filter ("search_exclusion_filter"): a predicate over
/// filename, dirname, path and extension, parsed as the user types with the parser the
/// search uses. Nothing is saved while it does not parse.
class SearchPage : public PreferencesPage
{
    Q_OBJECT
public:
    SearchPage(UserDefaults &defaults, QWidget *parent = nullptr);

protected:
    void load(const Settings &settings) override;
    QStringList keys() const override;

private:
    void edited();

    QPlainTextEdit *m_filter;
    QLabel *m_problem;
};

} // namespace glimra
