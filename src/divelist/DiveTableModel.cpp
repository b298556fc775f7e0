#include "DiveTableModel.h"

#include "DiveColumns.h"

#include "session/Session.h"

#include <QIcon>

namespace divelist {

DiveTableModel::DiveTableModel(session::Session& s, QObject* parent)
    : QAbstractTableModel(parent), session(s), rows(s.state().DiveCount()) {
    using session::Session;
    connect(&session, &Session::diveChanged, this, &DiveTableModel::noteChanged);
    connect(&session, &Session::modified, this, &DiveTableModel::flush);
    connect(&session, &Session::divesInserted, this, [this](int first, int count) {
        flush();
        beginInsertRows(QModelIndex(), rowOf(first), rowOf(first + count - 1));
        rows += count;
        endInsertRows();
    });
    connect(&session, &Session::divesRemoved, this, [this](int first, int count) {
        flush();
        beginRemoveRows(QModelIndex(), rowOf(first), rowOf(first + count - 1));
        rows -= count;
        endRemoveRows();
    });
    connect(&session, &Session::listChanged, this, [this](int which) {
        flush();
        emit namesChanged(which);
        // A list change may renumber every dive's choice from it.
        if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1));
    });
    connect(&session, &Session::offsetChanged, this, [this] {
        if (rows > 0) emit dataChanged(index(0, Number), index(rows - 1, Number));
    });
    connect(&session, &Session::logReset, this, [this] {
        beginResetModel();
        rows = session.state().DiveCount();
        firstChanged = 0;
        lastChanged = -1;
        endResetModel();
    });
}

void DiveTableModel::setUnits(interchange::Units u) {
    units = u;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void DiveTableModel::noteChanged(int dive) {
    const int row = rowOf(dive);
    if (row < 0 || row >= rows) return;
    if (lastChanged < firstChanged) {
        firstChanged = lastChanged = row;
    } else {
        firstChanged = std::min(firstChanged, row);
        lastChanged = std::max(lastChanged, row);
    }
}

void DiveTableModel::flush() {
    if (lastChanged < firstChanged) return;
    const int first = firstChanged, last = std::min(lastChanged, rows - 1);
    firstChanged = 0;
    lastChanged = -1;
    if (first <= last) emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

int DiveTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows;
}

int DiveTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DiveTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows) return {};
    const int dive = diveAt(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cellText(session.state(), dive, column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (isNumeric(column) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::DecorationRole:
        if (column == Rating) {
            static const QIcon Faces[3] = {QIcon(QStringLiteral(":/faces/poor.png")),
                                           QIcon(QStringLiteral(":/faces/average.png")),
                                           QIcon(QStringLiteral(":/faces/good.png"))};
            const int16_t r = session.state().Dives[size_t(dive)].Rating;
            if (r >= 0 && r <= 2) return Faces[r];
        }
        return {};
    case Qt::ToolTipRole:
        if (column == Comment) return session.state().Dives[size_t(dive)].Comments;
        return {};
    default:
        return {};
    }
}

QVariant DiveTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return columnTitle(section, units);
    return {};
}

} // namespace divelist
