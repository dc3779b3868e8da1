#include "ui/IntroPanel.h"

#include "foundation/Paths.h"
#include "matching/PluginManager.h"
#include "ui/PlainText.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace glimra {

IntroPanel::IntroPanel(const PluginManager *pluginManager, QWidget *parent)
    : QWidget(parent, Qt::Window), m_pluginManager(pluginManager), m_browser(new QTextBrowser(this))
{
    setWindowTitle(tr("Glimra Help"));
    m_browser->setOpenExternalLinks(true);
    auto *manual = new QPushButton(tr("&Manual"), this);
    auto *actions = new QPushButton(tr("&Actions"), this);
    connect(manual, &QPushButton::clicked, this, &IntroPanel::goToManualDocument);
    connect(actions, &QPushButton::clicked, this, &IntroPanel::goToActionsDocument);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(manual);
    buttons->addWidget(actions);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    resize(640, 560);
}

void IntroPanel::loadDocument(const QString &path, const QString &appendix)
{
    QFile file(path);
    const QString text = file.open(QIODevice::ReadOnly)
        ? QString::fromUtf8(file.readAll())
        : tr("The document %1 cannot be read.").arg(path);
    m_browser->setMarkdown(text + appendix);
}

QString IntroPanel::documentText() const
{
    return m_browser->toPlainText();
}

void IntroPanel::goToManualDocument()
{
    loadDocument(expandPath(u"${APP_RESOURCES}/help/manual.md"_s));
}

void IntroPanel::goToActionsDocument()
{
    loadDocument(expandPath(u"${APP_RESOURCES}/help/actions.md"_s), installedActions());
}

QString IntroPanel::installedActions() const
{
    QStringList lines;
    if (m_pluginManager) {
        for (const ActionPtr &action : m_pluginManager->actionList()) {
            if (!action->scriptFile().isNull())
                lines.append(u"- **%1** — %2"_s.arg(PlainText::markdown(action->name()),
                                                     PlainText::markdown(action->scriptFile())));
        }
    }
    return u"\n\n## %1\n\n"_s.arg(tr("Plug-in actions installed now"))
        + (lines.isEmpty() ? tr("None yet. `glimra plugins new action NAME` starts one.") : lines.join(u'\n'))
        + u'\n';
}

} // namespace glimra
