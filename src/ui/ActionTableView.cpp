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
    // run hides nothing at its end (the model gives its text a break after any character
    // and shows line breaks as "⏎"), and a row taller than the table scrolls by the pixel,
    // so all of it can be seen.
    setWordWrap(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

} // namespace glimra
