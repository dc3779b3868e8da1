#include "ui/ActionTableView.h"

#include "ui/ActionListModel.h"
#include "ui/ResultTable_p.h"

namespace glimra {

ActionTableView::ActionTableView(ActionListModel *model, QWidget *parent)
    : QTableView(parent), m_model(model)
{
    setModel(model);
    setUpResultTable(*this);
    horizontalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(ActionListModel::LabelColumn, QHeaderView::ResizeToContents);
    // What an action acts on is shown whole, over as many lines as it takes: a command to
    // run hides nothing at its end.
    setWordWrap(true);
}

} // namespace glimra
