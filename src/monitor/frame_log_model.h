// The Bus Monitor's table model over its log, and the saving of rows to a file.
#pragma once

#include "monitor/frame_log.h"
#include "monitor/row_text.h"

#include <QAbstractTableModel>
#include <QFont>
#include <deque>
#include <limits>

namespace monitor {

// The log's rows that pass the filter, as a table. Rows reach the table in batches, so a busy
// line costs one insertion per batch; cells are described only when the view asks.
class FrameLogModel : public QAbstractTableModel {
    Q_OBJECT

public:
    FrameLogModel(const FrameLog& log, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Lets go of rows the log has dropped; with appendNew, also takes the rows added since.
    void catchUp(bool appendNew);
    // Filters again every row taken so far.
    void setFilter(const RowFilter& filter);
    // The log was cleared.
    void reset();

    const std::deque<std::uint64_t>& shownIds() const { return shown_; }
    QString rowsText(const QList<int>& rows) const;

private:
    const Cells& cellsOf(int row) const;

    const FrameLog& log_;
    RowFilter filter_;
    std::deque<std::uint64_t> shown_;
    std::uint64_t taken_ = 0; // log rows below this id have been through the filter
    QFont fixedFont_;
    mutable std::uint64_t cachedId_ = std::numeric_limits<std::uint64_t>::max();
    mutable Cells cached_;
    const Cells dropped_;
};

// Writes the rows in the format, after a header line. Returns an empty string on success, else
// the system's reason.
QString saveRows(const QString& path, TextFormat format, const FrameLog& log,
                 const std::deque<std::uint64_t>& ids);

} // namespace monitor
