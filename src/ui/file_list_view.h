#pragma once
// Filelist: the table of media files under the tab panel. Its columns keep their shares of
// the list's width; a click on a heading sorts by that column (again: the other way) through
// the model, and the heading shows the order only when the sort was done. The session keeps
// that order across refills, so the heading keeps showing it.

#include <QTableView>

namespace mt {

class FileListModel;

class FileListView : public QTableView {
public:
    explicit FileListView(FileListModel* model, QWidget* parent = nullptr);

    // Sorts by a column as a click on its heading does; false when the sort was refused.
    bool SortByHeading(int column, Qt::SortOrder order);
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Rows are as high as the list's font needs.
    void changeEvent(QEvent* event) override;

private:
    void HeadingClicked(int column);
    void ApplyColumnShares();
    void FitRowHeight();
    void ShowSortIndicator();

    FileListModel* model_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace mt
