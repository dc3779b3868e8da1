#include "ui/NewPluginDialog.h"

#include "ui/Problem_p.h"
#include "ui/UserEditor.h"
#include "matching/PluginManager.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

NewPluginDialog::NewPluginDialog(Role role, PluginManager &manager, std::shared_ptr<FileManager> fileManager,
                                 QWidget *parent)
    : QDialog(parent),
      m_role(role),
      m_manager(manager),
      m_fileManager(std::move(fileManager)),
      m_name(new QLineEdit(this)),
      m_kind(new QComboBox(this)),
      m_problem(makeProblemLabel(this))
{
    const bool matcher = role == Role::Matcher;
    setWindowTitle(matcher ? tr("New Matcher") : tr("New Action"));
    m_name->setObjectName(u"name"_s);
    m_name->setPlaceholderText(matcher ? tr("Ticket (makes TicketMatcher)") : tr("Backup (makes BackupAction)"));
    // The order is the plug-in manager's kind numbers: 0 handler script, then Perl (matchers
    // only), then shell.
    m_kind->addItem(tr("Handler script (any language, .handler)"));
    if (matcher)
        m_kind->addItem(tr("Perl (.pl)"));
    m_kind->addItem(tr("Korn shell (.sh)"));

    auto *form = new QFormLayout;
    form->addRow(tr("&Name:"), m_name);
    form->addRow(tr("&Kind:"), m_kind);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Create"));
    connect(buttons, &QDialogButtonBox::accepted, this, &NewPluginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewPluginDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
}

void NewPluginDialog::accept()
{
    PluginManager::Creation creation;
    if (m_role == Role::Matcher) {
        m_manager.setNewMatcherType(m_kind->currentIndex());
        m_manager.setNewMatcherName(m_name->text());
        creation = m_manager.addMatcher(false);
    } else {
        m_manager.setNewActionType(m_kind->currentIndex());
        m_manager.setNewActionName(m_name->text());
        creation = m_manager.addAction(false);
    }
    if (!creation.created) {
        showProblem(m_problem, creation.message);
        return;
    }
    m_created = creation.path;
    // The file is made either way; a failure to open it is said where the user looks.
    UserEditor::open(creation.path, m_fileManager.get(), [path = creation.path](const Outcome &outcome) {
        if (outcome.ok)
            return;
        // Not modal: it may come after the dialog has gone. It names a file: as written.
        auto *box = new QMessageBox(QMessageBox::Warning, tr("New Plug-in"),
                                    tr("%1 was made, but it cannot be opened: %2")
                                        .arg(path, UserEditor::shownMessage(outcome.message)));
        box->setTextFormat(Qt::PlainText);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
    });
    QDialog::accept();
}

} // namespace glimra
