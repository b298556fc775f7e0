#pragma once

#include "DiveOrder.h"
#include "QuickFilter.h"

#include <QSortFilterProxyModel>

#include <memory>

namespace divelist {

class DiveTableModel;

// The dive list's sort and filter. lessThan asks DiveOrder, which reads the records (never
// the shown text: "10" comes after "9"); the filter is FilterMatcher's.
class DiveSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit DiveSortProxy(DiveTableModel& model, QObject* parent = nullptr);

    void setFilter(const QuickFilter& filter);
    const QuickFilter& filter() const { return current; }

  protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    const store::AppState& state;
    DiveOrder order;
    QuickFilter current;
    std::unique_ptr<FilterMatcher> matcher;
};

} // namespace divelist
