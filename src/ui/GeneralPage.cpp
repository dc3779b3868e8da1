#include "ui/GeneralPage.h"

#include "app/ActionOrder.h"
#include "ui/AutostartEntry.h"
#include "ui/DesktopApplication.h"
#include "ui/Problem_p.h"
#include "ui/ShortcutSettings.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

const QString HideAfterAction = u"hide_after_action"_s;
const QString CloseToMouse = u"popup_close_to_mouse"_s;

} // namespace

GeneralPage::GeneralPage(UserDefaults &defaults, ShortcutTrial tryShortcut, QWidget *parent)
    : PreferencesPage(defaults, parent),
      m_tryShortcut(std::move(tryShortcut)),
      m_hideAfterAction(new QCheckBox(tr("&Hide the panel after an action has run"), this)),
      m_closeToMouse(new QCheckBox(tr("Open the panel at the &mouse pointer"), this)),
      m_captureLimit(new QSpinBox(this)),
      m_learnOrder(new QCheckBox(tr("&Order actions by what I use"), this)),
      m_forget(new QPushButton(tr("&Forget"), this)),
      m_forgetDone(new QLabel(this)),
      m_startAtLogin(new QCheckBox(tr("&Start Glimra when I log in"), this)),
      m_form(new QFormLayout(this))
{
    m_form->addRow(tr("Panel:"), m_hideAfterAction);
    m_form->addRow(QString(), m_closeToMouse);
    addShortcutField(DesktopApplication::GuessSelectionShortcutKey,
                     DesktopApplication::DefaultGuessSelectionShortcut);
    addShortcutField(DesktopApplication::GuessClipboardShortcutKey,
                     DesktopApplication::DefaultGuessClipboardShortcut);
    m_captureLimit->setObjectName(Settings::CaptureLimitKey);
    m_captureLimit->setRange(1, Settings::MaximumCaptureLimitMiB);
    m_captureLimit->setSuffix(tr(" MiB"));
    m_captureLimit->setToolTip(tr("Glimra guesses the beginning of a longer selection and says it was cut."));
    auto *captureRow = new QHBoxLayout;
    captureRow->addWidget(m_captureLimit);
    captureRow->addWidget(new QLabel(tr("at most; a longer one is cut"), this));
    captureRow->addStretch();
    auto *captureLabel = new QLabel(tr("Read of a se&lection:"), this);
    captureLabel->setBuddy(m_captureLimit);
    m_form->addRow(captureLabel, captureRow);
    m_learnOrder->setObjectName(Settings::LearnActionOrderKey);
    m_forget->setObjectName(u"forget_action_order"_s);
    m_learnOrder->setToolTip(tr("The actions you pick more often for a kind of selection come first."));
    m_forget->setToolTip(tr("Forget which actions you picked: the usual order holds again."));
    auto *orderRow = new QHBoxLayout;
    orderRow->addWidget(m_learnOrder);
    orderRow->addWidget(m_forget);
    orderRow->addWidget(m_forgetDone);
    orderRow->addStretch();
    m_form->addRow(tr("Actions:"), orderRow);
    m_startAtLogin->setObjectName(u"start_at_login"_s);
    m_form->addRow(tr("Session:"), m_startAtLogin);

    connect(m_hideAfterAction, &QCheckBox::toggled, this, [this] { storeBool(m_hideAfterAction, HideAfterAction); });
    connect(m_closeToMouse, &QCheckBox::toggled, this, [this] { storeBool(m_closeToMouse, CloseToMouse); });
    connect(m_learnOrder, &QCheckBox::toggled, this, [this] { storeBool(m_learnOrder, Settings::LearnActionOrderKey); });
    connect(m_forget, &QPushButton::clicked, this, &GeneralPage::forgetPicks);
    connect(m_captureLimit, &QSpinBox::valueChanged, this,
            [this](int mebibytes) { store(Settings::CaptureLimitKey, mebibytes); });
    connect(m_startAtLogin, &QCheckBox::toggled, this, [this](bool enabled) {
        QString error;
        if (!AutostartEntry::setEnabled(enabled, &error))
            warn(tr("Start at login"), error);
    });
}

void GeneralPage::setDesktopBinding(DesktopBinding bind)
{
    m_bindInDesktop = std::move(bind);
    if (m_bindButton)
        return;
    m_bindButton = new QPushButton(tr("&Bind in the desktop's settings"), this);
    m_bindButton->setObjectName(u"bind_in_desktop"_s);
    m_bindButton->setToolTip(tr("Where the desktop lets no program take a shortcut, Glimra writes the two "
                                "shortcuts into the desktop's own settings: what “glimra shortcut install” does."));
    m_bindDone = new QLabel(this);
    m_bindDone->setObjectName(u"bind_in_desktop_result"_s);
    m_bindDone->setTextFormat(Qt::PlainText);
    m_bindDone->setWordWrap(true);
    m_bindDone->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_form->addRow(tr("Desktop:"), m_bindButton);
    m_form->addRow(QString(), m_bindDone);
    connect(m_bindButton, &QPushButton::clicked, this, &GeneralPage::bindInDesktop);
}

void GeneralPage::bindInDesktop()
{
    if (!m_bindInDesktop)
        return;
    const auto [message, failed] = m_bindInDesktop();
    m_bindDone->setText(failed ? tr("Not bound: %1").arg(message) : message);
    if (m_checked)
        checkDesktop();
}

void GeneralPage::setDesktopSummary(DesktopSummary summary)
{
    m_desktopSummary = std::move(summary);
    if (m_summary)
        return;
    m_summary = new QLabel(this);
    m_summary->setObjectName(u"desktop_summary"_s);
    m_summary->setTextFormat(Qt::PlainText);
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_checkButton = new QPushButton(tr("Check a&gain"), this);
    m_checkButton->setObjectName(u"check_desktop"_s);
    m_checkButton->setToolTip(tr("Tries each way Glimra reaches the desktop, as “glimra doctor” does."));
    auto *row = new QVBoxLayout;
    row->addWidget(m_summary);
    row->addWidget(m_checkButton, 0, Qt::AlignLeft);
    m_form->addRow(tr("What the desktop offers:"), row);
    connect(m_checkButton, &QPushButton::clicked, this, &GeneralPage::checkDesktop);
}

QString GeneralPage::desktopSummaryText() const
{
    return m_summary ? m_summary->text() : QString();
}

void GeneralPage::checkDesktop()
{
    if (!m_desktopSummary)
        return;
    m_checked = true;
    m_summary->setText(tr("Checking…"));
    m_checkButton->setEnabled(false);
    // Each way is tried with the event loop running: the page stays drawn meanwhile.
    const QStringList lines = m_desktopSummary();
    m_summary->setText(lines.join(u'\n'));
    m_checkButton->setEnabled(true);
}

void GeneralPage::showEvent(QShowEvent *event)
{
    PreferencesPage::showEvent(event);
    // Tried once the page is on screen, not when the window is made.
    if (m_desktopSummary && !m_checked)
        QTimer::singleShot(0, this, [this] {
            if (!m_checked)
                checkDesktop();
        });
}

void GeneralPage::addShortcutField(const QString &key, const QString &fallback)
{
    auto *edit = new QKeySequenceEdit(this);
    edit->setObjectName(key);
    QLabel *problem = makeProblemLabel(this);
    problem->setObjectName(key + u"_problem"_s);
    const QString label = key == DesktopApplication::GuessSelectionShortcutKey
        ? tr("Guess the &selection:")
        : tr("Guess the &clipboard:");
    m_form->addRow(label, edit);
    m_form->addRow(QString(), problem);
    const ShortcutField field{key, fallback, edit, problem};
    m_shortcuts.append(field);
    connect(edit, &QKeySequenceEdit::editingFinished, this, [this, field] { storeShortcut(field); });
}

QStringList GeneralPage::keys() const
{
    QStringList all{HideAfterAction, CloseToMouse, Settings::CaptureLimitKey, Settings::LearnActionOrderKey};
    for (const ShortcutField &field : m_shortcuts)
        all.append(field.key);
    return all;
}

void GeneralPage::load(const Settings &settings)
{
    const QSignalBlocker hide(m_hideAfterAction);
    const QSignalBlocker close(m_closeToMouse);
    const QSignalBlocker login(m_startAtLogin);
    const QSignalBlocker limit(m_captureLimit);
    const QSignalBlocker learn(m_learnOrder);
    m_learnOrder->setChecked(settings.learnsActionOrder());
    m_captureLimit->setValue(int(settings.captureLimitBytes() / (1024 * 1024)));
    m_hideAfterAction->setChecked(settings.boolForKey(HideAfterAction));
    m_closeToMouse->setChecked(settings.boolForKey(CloseToMouse));
    m_startAtLogin->setChecked(AutostartEntry::isEnabled());
    for (const ShortcutField &field : std::as_const(m_shortcuts)) {
        const QString text = settings.objectForKey(field.key).isString() ? settings.stringForKey(field.key)
                                                                         : field.fallback;
        showShortcut(field, QKeySequence::fromString(text, QKeySequence::PortableText));
    }
}

void GeneralPage::showShortcut(const ShortcutField &field, const QKeySequence &sequence)
{
    const QSignalBlocker blocker(field.edit);
    field.edit->setKeySequence(sequence);
    m_shownShortcuts.insert(field.key, sequence);
}

void GeneralPage::storeBool(QCheckBox *box, const QString &key)
{
    store(key, box->isChecked());
}

void GeneralPage::forgetPicks()
{
    QString error;
    if (ActionOrder().forget(&error)) {
        m_forgetDone->setText(tr("Forgotten."));
        return;
    }
    m_forgetDone->clear();
    warn(tr("Forget"), error);
}

void GeneralPage::warn(const QString &title, const QString &message)
{
    // The message names files: shown as written.
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void GeneralPage::storeShortcut(const ShortcutField &field)
{
    const QKeySequence sequence = field.edit->keySequence();
    // Only the first key combination makes a global shortcut.
    const QKeySequence first = sequence.isEmpty() ? QKeySequence() : QKeySequence(sequence[0]);
    // The field says its edit ended whenever it loses the focus, edited or not: only keys
    // the user changed are written, never what the field merely shows (a key removed
    // elsewhere meanwhile, whose default it shows, would come back).
    if (first == m_shownShortcuts.value(field.key))
        return showShortcut(field, first);
    const QString text = first.toString(QKeySequence::PortableText);
    // Why the keys cannot be stored, in the user's language; the store checks it again
    // (in English, as `glimra defaults write` says it) against the file as it is then.
    QString refused =
        ShortcutSettings::shownProblem(field.key, text, defaults().dictionaryRepresentation().value_or(QJsonObject()));
    if (!refused.isNull() || !store(field.key, text, &refused)) {
        // Refused (the other shortcut's keys): what is stored stays, and the field shows it.
        showProblem(field.problem, tr("Not stored: %1.").arg(refused));
        const QJsonValue stored = defaults().objectForKey(field.key);
        showShortcut(field, QKeySequence::fromString(stored.isString() ? stored.toString() : field.fallback,
                                                     QKeySequence::PortableText));
        return;
    }
    showShortcut(field, first);
    const QString problem = m_tryShortcut && !first.isEmpty() ? m_tryShortcut(field.key, first) : QString();
    showProblem(field.problem, problem.isEmpty() ? QString() : tr("Not available: %1.").arg(problem));
}

} // namespace glimra
