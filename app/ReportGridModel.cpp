#include "app/ReportGridModel.h"

#include "report/ReportTable.h"
#include "report/ReportTexts.h"

namespace tormel {

ReportGridModel::ReportGridModel(const ReportTable &table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table)
    , m_rowCount(table.RowCount())
{}

int ReportGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int ReportGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ReportTable::ColCount;
}

QVariant ReportGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole)
        return {};
    const std::string &cell = m_table.Cell(index.column(), index.row());
    return QString::fromStdString(cell);
}

QVariant ReportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= ReportTable::ColCount)
        return {};
    const std::string_view header = report_texts::ColumnHeaders[std::size_t(section)];
    return QString::fromUtf8(header.data(), qsizetype(header.size()));
}

Qt::ItemFlags ReportGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ReportGridModel::refresh()
{
    const int rows = m_table.RowCount();
    if (rows > m_rowCount) {
        beginInsertRows({}, m_rowCount, rows - 1);
        m_rowCount = rows;
        endInsertRows();
    } else if (rows < m_rowCount) {
        beginRemoveRows({}, rows, m_rowCount - 1);
        m_rowCount = rows;
        endRemoveRows();
    }
    if (m_rowCount > 0)
        emit dataChanged(index(0, 0), index(m_rowCount - 1, ReportTable::ColCount - 1));
}

} // namespace tormel
