#pragma once

#include "interchange/Units.h"

#include <QAbstractTableModel>

namespace session {
class Session;
}

namespace divelist {

// Every dive of the session's log as one row (row r is dive index r + 1), every field of
// DiveColumns as a column. It follows the session: an edit is dataChanged, new and removed
// entries are rows inserted and removed, and only a log opened anew resets it.
class DiveTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit DiveTableModel(session::Session& session, QObject* parent = nullptr);

    const session::Session& logSession() const { return session; }
    void setUnits(interchange::Units units);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    static int diveAt(int row) { return row + 1; }
    static int rowOf(int dive) { return dive - 1; }

  signals:
    // A reference list's names changed (the order of its column may have too).
    void namesChanged(int which);

  private:
    void noteChanged(int dive);
    void flush();

    session::Session& session;
    interchange::Units units = interchange::Units::Imperial;
    int rows = 0;
    // The dives a command changed, announced together once it is done: a bulk edit of every
    // dive is one dataChanged, not thousands.
    int firstChanged = 0, lastChanged = -1;
};

} // namespace divelist
