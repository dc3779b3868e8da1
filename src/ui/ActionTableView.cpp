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
    // Titles take what they need up to most of the width; a longer one wraps, and what the
    // action acts on keeps room beside it.
    horizontalHeader()->setSectionResizeMode(ActionListModel::LabelColumn, QHeaderView::Interactive);
    connect(model, &QAbstractItemModel::modelReset, this, &ActionTableView::fitTitles);
    // What an action acts on is shown whole, over as many lines as it takes: a command to
    // run hides nothing at its end (the model gives its text a break after any character
    // and shows line breaks as "⏎"), and a row taller than the table scrolls by the pixel,
    // so all of it can be seen.
    setWordWrap(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // A title that widens its column narrows the detail beside it: its rows grow again to
    // hold all of it.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { verticalHeader()->resizeSections(QHeaderView::ResizeToContents); });
}

} // namespace glimra

namespace glimra {

void ActionTableView::fitTitles()
{
    setColumnWidth(ActionListModel::LabelColumn,
                   std::min(sizeHintForColumn(ActionListModel::LabelColumn), viewport()->width() * 3 / 5));
}

void ActionTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitTitles();
}

} // namespace glimra
