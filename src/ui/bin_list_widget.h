#pragma once
// BinList: a list that takes bin files dropped on it. A drag is accepted from the moment it
// enters, and while it moves, when its first file is a bin; only that first file is taken,
// once the drop has been delivered.

#include <QListWidget>
#include <functional>
#include <optional>
#include <string>

class QMimeData;

namespace mt {

class BinListWidget : public QListWidget {
public:
    using Accepts = std::function<bool(const std::string& path)>;
    using Dropped = std::function<void(const std::string& path)>;

    explicit BinListWidget(QWidget* parent = nullptr);

    // Whether a file (UTF-8 path) is a bin, and what to do with one dropped.
    void SetDropHandlers(Accepts accepts, Dropped dropped);

    // The first local file a drag carries, when it is one this list takes.
    std::optional<std::string> BinOf(const QMimeData* data) const;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Accepts accepts_;
    Dropped dropped_;
};

}  // namespace mt
