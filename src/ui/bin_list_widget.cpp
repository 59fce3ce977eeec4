#include "ui/bin_list_widget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

namespace mt {

BinListWidget::BinListWidget(QWidget* parent) : QListWidget(parent) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
}

void BinListWidget::SetDropHandlers(Accepts accepts, Dropped dropped) {
    accepts_ = std::move(accepts);
    dropped_ = std::move(dropped);
}

std::optional<std::string> BinListWidget::BinOf(const QMimeData* data) const {
    if (!data || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return std::nullopt;
    const std::string path = QFile::encodeName(urls.first().toLocalFile()).toStdString();
    if (path.empty() || !accepts_ || !accepts_(path)) return std::nullopt;
    return path;
}

void BinListWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (BinOf(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void BinListWidget::dragMoveEvent(QDragMoveEvent* event) {
    // The whole list takes the drop, not only the rows.
    if (BinOf(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void BinListWidget::dragLeaveEvent(QDragLeaveEvent* event) { event->accept(); }

void BinListWidget::dropEvent(QDropEvent* event) {
    const std::optional<std::string> bin = BinOf(event->mimeData());
    if (!bin) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // The bin is added once the drag has finished, so the program it came from is not kept
    // waiting while the bin is matched.
    QMetaObject::invokeMethod(
        this,
        [this, path = *bin] {
            if (dropped_) dropped_(path);
        },
        Qt::QueuedConnection);
}

}  // namespace mt
