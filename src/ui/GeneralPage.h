#pragma once

#include "ui/PreferencesPage.h"

#include <QHash>
#include <QKeySequence>

#include <functional>

class QCheckBox;
class QFormLayout;
class QKeySequenceEdit;
class QLabel;
class QPushButton;
class QSpinBox;

namespace glimra {

/// General settings: hiding the panel after an action, opening it at the pointer, the two
/// global shortcuts (a shortcut another program holds is reported beside its field), the
/// most a capture reads of a selection, ordering the actions by the user's picks (and
/// forgetting them), and starting Glimra at login.
class GeneralPage : public PreferencesPage
{
    Q_OBJECT
public:
    /// Grabs `sequence` as the shortcut of a settings key; the reason when it cannot be
    /// used (another program holds it), else a null text.
    using ShortcutTrial = std::function<QString(const QString &key, const QKeySequence &sequence)>;

    GeneralPage(UserDefaults &defaults, ShortcutTrial tryShortcut, QWidget *parent = nullptr);

protected:
    void load(const Settings &settings) override;
    QStringList keys() const override;

private:
    struct ShortcutField
    {
        QString key;
        QString fallback;
        QKeySequenceEdit *edit;
        QLabel *problem;
    };
    void addShortcutField(const QString &key, const QString &fallback);
    void storeShortcut(const ShortcutField &field);
    /// Shows `sequence` in `field` as what is stored.
    void showShortcut(const ShortcutField &field, const QKeySequence &sequence);
    void storeBool(QCheckBox *box, const QString &key);
    void forgetPicks();
    void warn(const QString &title, const QString &message);

    ShortcutTrial m_tryShortcut;
    QCheckBox *m_hideAfterAction;
    QCheckBox *m_closeToMouse;
    QSpinBox *m_captureLimit;
    QCheckBox *m_learnOrder;
    QPushButton *m_forget;
    QLabel *m_forgetDone;
    QCheckBox *m_startAtLogin;
    QList<ShortcutField> m_shortcuts;
    QHash<QString, QKeySequence> m_shownShortcuts; ///< what each shortcut field shows of the settings
    QFormLayout *m_form;
};

} // namespace glimra
