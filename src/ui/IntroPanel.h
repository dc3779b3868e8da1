#pragma once

#include <QWidget>

class QTextBrowser;

namespace glimra {

class PluginManager;

/// The help panel: the manual and the actions document, Markdown that ships with the
/// resources ("help/manual.md", "help/actions.md"); the actions document ends with the
/// plug-in actions installed now, with their files, listed when it is shown.
class IntroPanel : public QWidget
{
    Q_OBJECT
public:
    /// `pluginManager` is not owned; may be null (no installed actions are listed).
    explicit IntroPanel(const PluginManager *pluginManager, QWidget *parent = nullptr);

    /// Shows the Markdown document at `path`, with `appendix` after it.
    void loadDocument(const QString &path, const QString &appendix = {});
    QString documentText() const;

public slots:
    void goToManualDocument();
    void goToActionsDocument();

private:
    QString installedActions() const;

    const PluginManager *m_pluginManager;
    QTextBrowser *m_browser;
};

} // namespace glimra
