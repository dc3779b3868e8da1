#pragma once

#include <QTableView>

namespace glimra {

class ActionListModel;

/// The action table of the results panel: one row per offered action, showing its label,
/// numbered from 1. Keyboard first: arrows move, Enter (or a double click) activates.
class ActionTableView : public QTableView
{
    Q_OBJECT
public:
    explicit ActionTableView(ActionListModel *model, QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;


private:
    /// The title column as wide as its widest title, up to three fifths of the table.
    void fitTitles();

    ActionListModel *m_model;
};

} // namespace glimra
