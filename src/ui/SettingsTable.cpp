#include "ui/SettingsTable.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace glimra {

SettingsTable::SettingsTable(const QStringList &headers, bool ordered, QWidget *parent)
    : QWidget(parent), m_table(new QTableWidget(0, int(headers.size()), this))
{
    m_table->setHorizontalHeaderLabels(headers);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideMiddle);
    connect(m_table, &QTableWidget::itemChanged, this, [this] {
        if (!m_loading)
            emit edited();
    });

    auto *buttons = new QVBoxLayout;
    auto addButton = [this, buttons](const QString &text, auto slot) {
        auto *button = new QPushButton(text, this);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
        return button;
    };
    addButton(tr("&Add"), [this] { addRow(); });
    addButton(tr("&Remove"), [this] { removeRow(); });
    if (ordered) {
        addButton(tr("&Up"), [this] { moveRow(-1); });
        addButton(tr("Do&wn"), [this] { moveRow(1); });
    }
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
}

QList<QStringList> SettingsTable::rows() const
{
    QList<QStringList> rows;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < m_table->columnCount(); ++column) {
            const QTableWidgetItem *item = m_table->item(row, column);
            cells.append(item ? item->text() : QString());
        }
        rows.append(cells);
    }
    return rows;
}

void SettingsTable::setRows(const QList<QStringList> &rows)
{
    m_loading = true;
    m_table->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < m_table->columnCount(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(rows.at(row).value(column)));
    }
    m_loading = false;
}

void SettingsTable::addRow()
{
    m_loading = true;
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    for (int column = 0; column < m_table->columnCount(); ++column)
        m_table->setItem(row, column, new QTableWidgetItem);
    m_loading = false;
    m_table->setCurrentCell(row, 0);
    m_table->editItem(m_table->item(row, 0));
}

void SettingsTable::removeRow()
{
    const int row = m_table->currentRow();
    if (row < 0)
        return;
    m_table->removeRow(row);
    emit edited();
}

void SettingsTable::moveRow(int by)
{
    const int row = m_table->currentRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= m_table->rowCount())
        return;
    QList<QStringList> all = rows();
    all.swapItemsAt(row, target);
    setRows(all);
    m_table->setCurrentCell(target, m_table->currentColumn());
    emit edited();
}

} // namespace glimra
