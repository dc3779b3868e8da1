#pragma once

#include "ui/PreferencesPage.h"

namespace glimra {

class SettingsTable;

/// Context entries added to every guess ("user_context_configuration"): a key and a
/// value per row. A CTX_DIRx entry, say, keeps desktop-search hits inside one folder.
class ContextPage : public PreferencesPage
{
    Q_OBJECT
public:
    ContextPage(UserDefaults &defaults, QWidget *parent = nullptr);

protected:
    void load(const Settings &settings) override;
    QStringList keys() const override;

private:
    void edited();

    SettingsTable *m_table;
};

} // namespace glimra
