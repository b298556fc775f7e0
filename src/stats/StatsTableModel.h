#pragma once

#include "StatsTable.h"

#include <QAbstractTableModel>

namespace stats {

// The statistics table for a view: the cells of a stats::TextTable, numbers to the right, the
// line for all dives in bold, each cell's full column name as its tool tip.
class StatsTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit StatsTableModel(QObject* parent);

    void setTable(stats::TextTable table);
    const stats::TextTable& table() const { return cells; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    stats::TextTable cells;
};

} // namespace stats
