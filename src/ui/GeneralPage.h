#pragma once

#include "ui/PreferencesPage.h"

#include <QHash>
#include <QKeySequence>

#include <functional>
#include <utility>

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

    /// Binds the shortcuts in the desktop's own settings, as `glimra shortcut install` does:
    /// what to tell the user, and whether it failed.
    using DesktopBinding = std::function<std::pair<QString, bool>()>;
    /// Shows the button that binds them (in a Wayland session; an X11 one needs none).
    void setDesktopBinding(DesktopBinding bind);
    /// How the desktop meets each need of Glimra's, one line per need (`glimra doctor`).
    using DesktopSummary = std::function<QStringList()>;
    /// Shows the summary, made when the page is first shown and again on request.
    void setDesktopSummary(DesktopSummary summary);
    QString desktopSummaryText() const;
    /// Runs the binding as its button does.
    void bindInDesktop();
    void checkDesktop();

protected:
    void load(const Settings &settings) override;
    void showEvent(QShowEvent *event) override;
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
    DesktopBinding m_bindInDesktop;
    QPushButton *m_bindButton = nullptr;
    QLabel *m_bindDone = nullptr;
    DesktopSummary m_desktopSummary;
    QLabel *m_summary = nullptr;
    QPushButton *m_checkButton = nullptr;
    bool m_checked = false;
};

} // namespace glimra
