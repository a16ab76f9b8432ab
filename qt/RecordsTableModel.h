// The Records page's list as Qt's model/view asks for it: one cell when it
// is drawn (the Qt twin of the Win32 list's LVN_GETDISPINFO), formatted by
// the portable view from the file's bytes, so that 65535 rows cost nothing
// until seen.
#pragma once

#include <QAbstractTableModel>

#include "model/RecordsView.h"

namespace corvelle::qt {

class RecordsTableModel final : public QAbstractTableModel {
public:
    RecordsTableModel(const RecordsView& view, QObject* parent) : QAbstractTableModel(parent), m_view(view) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const RecordsView& m_view;
    mutable std::string m_cell;
};

}  // namespace corvelle::qt
