#include "results/ui/ActionTableView.h"

#include "results/ui/ActionListModel.h"
#include "results/ui/ResultTable_p.h"

namespace glimra {

ActionTableView::ActionTableView(ActionListModel *model, QWidget *parent)
    : QTableView(parent), m_model(model)
{
    setModel(model);
    setUpResultTable(*this);
    horizontalHeader()->hide();
}

} // namespace glimra
