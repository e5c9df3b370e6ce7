// The table's rows taken from the log in batches, filtered, copied and saved.
#include "monitor/frame_log_model.h"

#include "platform/text_file.h"

#include <QFontDatabase>

namespace monitor {

FrameLogModel::FrameLogModel(const FrameLog& log, QObject* parent)
    : QAbstractTableModel(parent)
    , log_(log)
    , taken_(log.endId())
    , fixedFont_(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{}

int FrameLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int FrameLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant FrameLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const auto column = static_cast<Column>(index.column());
    if (role == Qt::FontRole && column == Column::Raw) {
        return fixedFont_;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    return QString::fromStdString(cellsOf(index.row())[static_cast<std::size_t>(column)]);
}

QVariant FrameLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    const std::string_view title = columnTitle(static_cast<Column>(section));
    return QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
}

void FrameLogModel::catchUp(bool appendNew)
{
    std::size_t gone = 0;
    while (gone < shown_.size() && shown_[gone] < log_.firstId()) {
        ++gone;
    }
    if (gone > 0) {
        beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
        shown_.erase(shown_.begin(), shown_.begin() + static_cast<std::ptrdiff_t>(gone));
        endRemoveRows();
    }
    taken_ = std::max(taken_, log_.firstId());
    if (!appendNew) {
        return;
    }
    std::vector<std::uint64_t> added;
    for (; taken_ < log_.endId(); ++taken_) {
        if (filter_.matches(log_.entry(taken_))) {
            added.push_back(taken_);
        }
    }
    if (added.empty()) {
        return;
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
    shown_.insert(shown_.end(), added.begin(), added.end());
    endInsertRows();
}

void FrameLogModel::setFilter(const RowFilter& filter)
{
    beginResetModel();
    filter_ = filter;
    shown_.clear();
    for (std::uint64_t id = log_.firstId(); id < taken_; ++id) {
        if (filter_.matches(log_.entry(id))) {
            shown_.push_back(id);
        }
    }
    cachedId_ = std::numeric_limits<std::uint64_t>::max();
    endResetModel();
}

void FrameLogModel::reset()
{
    beginResetModel();
    shown_.clear();
    taken_ = log_.endId();
    cachedId_ = std::numeric_limits<std::uint64_t>::max();
    endResetModel();
}

QString FrameLogModel::rowsText(const QList<int>& rows) const
{
    std::string text;
    for (const int row : rows) {
        text += textLine(cellsOf(row), TextFormat::Tabs);
    }
    return QString::fromStdString(text);
}

const Cells& FrameLogModel::cellsOf(int row) const
{
    const std::uint64_t id = shown_[static_cast<std::size_t>(row)];
    // The log may have dropped the row since the last batch; the next one removes it here.
    if (id < log_.firstId()) {
        return dropped_;
    }
    if (id != cachedId_) {
        cached_ = cells(log_.entry(id));
        cachedId_ = id;
    }
    return cached_;
}

QString saveRows(const QString& path, TextFormat format, const FrameLog& log,
                 const std::deque<std::uint64_t>& ids)
{
    std::string text = headerLine(format);
    for (const std::uint64_t id : ids) {
        if (id >= log.firstId()) {
            text += textLine(cells(log.entry(id)), format);
        }
    }
    return platform::writeTextFile(path, QString::fromStdString(text));
}

} // namespace monitor
