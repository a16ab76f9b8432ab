#include "qt/RecordsTableModel.h"

#include <climits>

#include "qt/QtEdge.h"

namespace corvelle::qt {

int RecordsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::min<size_t>(m_view.RowCount(), INT_MAX));
}

int RecordsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_view.ColumnCount());
}

QVariant RecordsTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return QVariant();
    m_cell.clear();
    m_view.AppendCell(static_cast<size_t>(index.row()), static_cast<size_t>(index.column()), m_cell);
    return FromUtf8(m_cell);
}

QVariant RecordsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0) return QVariant();
    return QString::fromUtf8(m_view.ColumnTitle(static_cast<size_t>(section)));
}

}  // namespace corvelle::qt
