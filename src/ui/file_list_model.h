#pragma once
// The model behind Filelist: the seven columns over a vector of FileRow that someone else
// owns (the session's), with their texts as stored, italics for the rows of absent files,
// and the headings. Showing a row never asks the disk anything. The vector may change only
// between BeginChange and EndChange (or inside Refresh, Clear and SortBy), each one reset.

#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "session/file_row.h"

namespace mt {

class FileListModel : public QAbstractTableModel {
public:
    // Reorders the rows by a column; false when it refused (nothing changed).
    using Sorter = std::function<bool(int column, bool ascending)>;

    // rows must outlive the model. The model shows no row until the first Refresh.
    explicit FileListModel(const std::vector<FileRow>* rows, QObject* parent = nullptr);

    void SetSorter(Sorter sorter) { sorter_ = std::move(sorter); }

    // Shows the rows as they are now.
    void Refresh();
    // Shows no row (the vector is about to be refilled).
    void Clear();
    // Reorders through the sorter, in one reset. A sorter that notifies a Refresh or Clear on
    // the way is fine: those are folded into this reset.
    bool SortBy(int column, Qt::SortOrder order);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Sorting from a view goes through SortBy.
    void sort(int column, Qt::SortOrder order) override;

private:
    void Reset(bool show);

    const std::vector<FileRow>* rows_;
    Sorter sorter_;
    int shown_ = 0;  // rows the views know of
    bool resetting_ = false;
};

}  // namespace mt
