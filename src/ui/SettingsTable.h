#pragma once

#include <QStringList>
#include <QWidget>

class QTableWidget;
class QPushButton;

namespace glimra {

/// An editable table of settings entries with Add and Remove (and, where order counts, Up
/// and Down) beside it. Says edited() after every change the user makes; rows set with
/// setRows() are not the user's changes. Main thread only.
class SettingsTable : public QWidget
{
    Q_OBJECT
public:
    SettingsTable(const QStringList &headers, bool ordered, QWidget *parent = nullptr);

    QList<QStringList> rows() const;
    void setRows(const QList<QStringList> &rows);
    QTableWidget *table() const { return m_table; }

signals:
    void edited();

private:
    void addRow();
    void removeRow();
    void moveRow(int by);

    QTableWidget *m_table;
    bool m_loading = false;
};

} // namespace glimra
