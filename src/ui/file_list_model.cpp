#include "ui/file_list_model.h"

#include <QFont>

namespace mt {

FileListModel::FileListModel(const std::vector<FileRow>* rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows) {}

void FileListModel::Reset(bool show) {
    if (resetting_) return;  // folded into the reset that runs
    beginResetModel();
    shown_ = show ? static_cast<int>(rows_->size()) : 0;
    endResetModel();
}

void FileListModel::Refresh() { Reset(true); }

void FileListModel::Clear() { Reset(false); }

bool FileListModel::SortBy(int column, Qt::SortOrder order) {
    if (!sorter_ || resetting_ || column < 0 || column >= FileRow::kColumnCount) return false;
    beginResetModel();
    resetting_ = true;
    // Ends the reset however the sorter leaves, with the rows as they are then.
    struct EndReset {
        FileListModel* model;
        ~EndReset() {
            model->resetting_ = false;
            model->shown_ = static_cast<int>(model->rows_->size());
            model->endResetModel();
        }
    } end{this};
    return sorter_(column, order == Qt::AscendingOrder);
}

void FileListModel::sort(int column, Qt::SortOrder order) { SortBy(column, order); }

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FileRow::kColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= shown_ ||
        static_cast<size_t>(index.row()) >= rows_->size()) {
        return {};
    }
    const FileRow& row = (*rows_)[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(row.cells[static_cast<size_t>(index.column())]);
        case Qt::FontRole:
            if (row.italic) {
                // Only the style is set, so the view's own font supplies the rest.
                QFont italic;
                italic.setItalic(true);
                return italic;
            }
            return {};
        default: return {};
    }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= FileRow::kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromLatin1(kFileColumnHeadings[static_cast<size_t>(section)]);
}

}  // namespace mt
