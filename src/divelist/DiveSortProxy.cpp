#include "DiveSortProxy.h"

#include "DiveTableModel.h"

#include "session/Session.h"

namespace divelist {

DiveSortProxy::DiveSortProxy(DiveTableModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), state(model.logSession().state()), order(state),
      matcher(std::make_unique<FilterMatcher>(state, current)) {
    // The list's name ranks must be new before the model's dataChanged re-sorts the rows.
    connect(&model, &DiveTableModel::namesChanged, this, [this](int which) {
        order.listChanged(which);
        matcher = std::make_unique<FilterMatcher>(state, current);
    });
    // Before the proxy's own handlers, which sort with what these leave behind.
    connect(&model, &QAbstractItemModel::dataChanged, this, [this] { order.divesChanged(); });
    connect(&model, &QAbstractItemModel::rowsInserted, this, [this] { order.divesChanged(); });
    connect(&model, &QAbstractItemModel::rowsRemoved, this, [this] { order.divesChanged(); });
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        order.divesChanged();
        for (int which = 0; which < 4; ++which)
            order.listChanged(which);
        matcher = std::make_unique<FilterMatcher>(state, current);
    });
    setSourceModel(&model);
    setDynamicSortFilter(true);
}

void DiveSortProxy::setFilter(const QuickFilter& filter) {
    current = filter;
    matcher = std::make_unique<FilterMatcher>(state, current);
    invalidateRowsFilter();
}

bool DiveSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const int a = DiveTableModel::diveAt(left.row());
    const int b = DiveTableModel::diveAt(right.row());
    const int column = left.column();
    // Descending, Qt asks lessThan(right, left); asking `before` the same way round keeps
    // undated dives last and ties in log order in both directions.
    return sortOrder() == Qt::AscendingOrder ? order.before(a, b, column, false)
                                             : order.before(b, a, column, true);
}

bool DiveSortProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return matcher->accepts(DiveTableModel::diveAt(sourceRow));
}

} // namespace divelist
