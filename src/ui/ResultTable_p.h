#pragma once

#include <QHeaderView>
#include <QTableView>

namespace glimra {

// What both result tables share: whole rows, one at a time, nothing to edit, the Tab key
// left to the panel (it switches tabs), the last column as wide as the table, rows as
// high as their text.
inline void setUpResultTable(QTableView &table)
{
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setSelectionMode(QAbstractItemView::SingleSelection);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setTabKeyNavigation(false);
    table.setShowGrid(false);
    table.setAlternatingRowColors(true);
    table.setWordWrap(false);
    table.horizontalHeader()->setStretchLastSection(true);
    table.horizontalHeader()->setHighlightSections(false);
    table.verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table.verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

} // namespace glimra
