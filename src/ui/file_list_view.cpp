#include "ui/file_list_view.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QSignalBlocker>
#include <algorithm>

#include "session/file_row.h"
#include "ui/file_list_model.h"

namespace mt {

FileListView::FileListView(FileListModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
    setModel(model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalHeader()->hide();
    // Fixed row heights: the view never measures 100,000 rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    FitRowHeight();

    QHeaderView* headings = horizontalHeader();
    headings->setSectionsClickable(true);
    headings->setHighlightSections(false);
    headings->setStretchLastSection(false);
    headings->setSectionResizeMode(QHeaderView::Interactive);
    headings->setSortIndicatorShown(false);
    headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The heading would flip its own indicator on a click; the view sets it from the outcome.
    connect(headings, &QHeaderView::sectionClicked, this, &FileListView::HeadingClicked);
    ApplyColumnShares();
}

bool FileListView::SortByHeading(int column, Qt::SortOrder order) {
    if (!model_->SortBy(column, order)) {
        ShowSortIndicator();
        return false;
    }
    sortColumn_ = column;
    sortOrder_ = order;
    ShowSortIndicator();
    return true;
}

void FileListView::HeadingClicked(int column) {
    const Qt::SortOrder order = column == sortColumn_ && sortOrder_ == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    SortByHeading(column, order);
}

void FileListView::ShowSortIndicator() {
    QHeaderView* headings = horizontalHeader();
    const QSignalBlocker quiet(headings);
    headings->setSortIndicatorShown(sortColumn_ >= 0);
    headings->setSortIndicator(sortColumn_, sortOrder_);
}

void FileListView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (event->size().width() != event->oldSize().width()) ApplyColumnShares();
}

void FileListView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) FitRowHeight();
}

void FileListView::FitRowHeight() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void FileListView::ApplyColumnShares() {
    const int width = viewport()->width();
    int used = 0;
    for (int column = 0; column < FileRow::kColumnCount; ++column) {
        int share = width * kFileColumnWidths[static_cast<size_t>(column)] / 100;
        // The last column takes what rounding left over, so the columns fill the list.
        if (column == FileRow::kColumnCount - 1) share = std::max(width - used, 0);
        setColumnWidth(column, share);
        used += share;
    }
}

}  // namespace mt
