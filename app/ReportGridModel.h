#pragma once

#include <QAbstractTableModel>

namespace tormel {

class ReportTable;

// The report table as the grid's item model: twelve read-only text columns over the
// table's cells, so that the grid shows the report without a copy of it. The table is
// changed by the report's own operations; refresh() then tells the grid.
class ReportGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit ReportGridModel(const ReportTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Brings the grid in line with the table after it changed: rows added or removed at
    // the bottom, then every cell.
    void refresh();

private:
    const ReportTable &m_table;
    // The row count the grid knows of; it follows the table in refresh().
    int m_rowCount = 0;
};

} // namespace tormel
