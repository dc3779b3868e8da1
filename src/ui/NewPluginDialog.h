#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace glimra {

class PluginManager;
class FileManager;

/// Names a new matcher or action and chooses its kind; on OK the plug-in manager creates
/// it from its template (a refused name is refused with the reason and the dialog stays
/// open) and it opens in the user's editor.
class NewPluginDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Role { Matcher, Action };

    NewPluginDialog(Role role, PluginManager &manager, std::shared_ptr<FileManager> fileManager,
                    QWidget *parent = nullptr);

    QLineEdit *nameField() const { return m_name; }
    QComboBox *kindField() const { return m_kind; }
    /// The file made, once one was.
    QString createdFile() const { return m_created; }

    void accept() override;

private:
    Role m_role;
    PluginManager &m_manager;
    std::shared_ptr<FileManager> m_fileManager;
    QLineEdit *m_name;
    QComboBox *m_kind;
    QLabel *m_problem;
    QString m_created;
};

} // namespace glimra
