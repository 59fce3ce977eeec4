#pragma once
// Window1: the main window. A tab panel (Volumes, Projects, Sifted Projects, Bins, Log), the
// file list under it and the status line with its progress bar; every control reached by its
// name (Qt object name). It shows the state of its Session and hands every click to it: it
// holds no catalogue data and no list or file-system logic of its own.
//
// It opens as the Session expects: the window is shown, then the mounted volumes are listed,
// then Timer1 is started for the first scan. A close asked for while a command runs is put
// off until the command has ended; the log is saved as the window closes.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/hooks.h"
#include "session/session.h"
#include "ui/window_setup.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace mt {

class BinListWidget;
class EventLoopYield;
class FileListModel;
class FileListView;
class WaitCursor;
class WidgetProgressBar;
class WidgetStatusLabel;

class Window1 : public QMainWindow, private SessionObserver {
    Q_OBJECT

public:
    // The content area (where the controls' positions are counted from) at its first size.
    static constexpr int kContentWidth = 800;
    static constexpr int kContentHeight = 391;
    static constexpr int kMinimumContentHeight = 259;
    static constexpr int kMaximumContentHeight = 32000;

    // Builds every control and the session; the window installs its hooks (yield, message
    // boxes, cursor) for its lifetime and puts the ones before back when it goes.
    explicit Window1(WindowSetup setup = {}, QWidget* parent = nullptr);
    ~Window1() override;
    Window1(const Window1&) = delete;
    Window1& operator=(const Window1&) = delete;

    // Shows the shared menu bar in this window. It stays the caller's: the window hands it
    // back (without a parent) when it goes.
    void InstallMenuBar(QMenuBar* shared);

    // The items of the installed menu bar, found by name; null without one.
    QMenu* FileMenu() const;
    QMenu* EditMenu() const;
    QAction* EditCut() const;
    QAction* EditCopy() const;
    QAction* EditPaste() const;
    QAction* EditClear() const;
    QAction* FileQuit() const;
    QAction* AppleAboutMacTarnwick() const;

    // The area the controls lie on; their positions are counted from its top left.
    QWidget* content() const { return content_; }
    Session& session() { return *session_; }

    // Appends text (UTF-8) at the end of the log field, as typed there.
    void AddLog(const std::string& text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class Content;

    void BuildControls();
    QPushButton* MakeButton(QWidget* page, const char* name, const char* caption, QRect place,
                            bool enabled);
    QListWidget* MakeList(QListWidget* list, QWidget* page, const char* name, QRect place);
    // Places a control of a tab page at its window position.
    void PlaceOnTab(QWidget* control, QRect place);
    void PlaceTabControls();
    // Filelist grows with the window; StatusLabel and Progress keep their distance to the bottom.
    void ApplyResizingRule(int contentHeight);
    void ApplyButtons(const Buttons& buttons);
    void InstallHooks();
    void ConnectControls();

    // The window's Open event: the volumes are listed, then the first scan is timed.
    void Open();
    void Timer1_Action();
    // Runs one session command; a failure that escapes it becomes a message box.
    Outcome Run(const std::function<Outcome()>& command);
    Chooser FolderChooser();
    Chooser FileChooser();

    // The widget of a list, and a row of the session's as the widget shows it.
    struct ShownRow {
        std::string text;
        bool selected = false;
    };
    QListWidget* ListWidget(ListId list) const;
    ShownRow RowOf(ListId list, size_t row) const;
    void SelectionChanged(ListId list);

    // SessionObserver.
    void ListCleared(ListId list) override;
    void RowAdded(ListId list, size_t row) override;
    void RowTextChanged(ListId list, size_t row) override;
    void FileRowsCleared() override;
    void FileRowsChanged() override;
    void ButtonsChanged() override;
    void LogAppended(const std::string& text) override;
    void CloseDue() override;

    WindowSetup setup_;
    std::unique_ptr<Session> session_;
    QWidget* content_ = nullptr;
    QPointer<QMenuBar> menuBar_;

    QTabWidget* tabPanel_ = nullptr;
    QListWidget* volumeList_ = nullptr;
    QPushButton* scanButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* siftButton_ = nullptr;
    QPushButton* moveButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QListWidget* siftedProjectList_ = nullptr;
    QPushButton* unsiftButton_ = nullptr;
    BinListWidget* binList_ = nullptr;
    QPushButton* addBinButton_ = nullptr;
    QPushButton* copyBinButton_ = nullptr;
    FileListModel* fileModel_ = nullptr;
    FileListView* fileList_ = nullptr;
    QListWidget* projectList_ = nullptr;
    QPlainTextEdit* logField_ = nullptr;
    QTimer* timer1_ = nullptr;
    QPushButton* addFolderButton_ = nullptr;

    struct TabControl {
        QWidget* control;
        QRect place;  // in window coordinates
    };
    std::vector<TabControl> tabControls_;

    std::unique_ptr<WidgetProgressBar> progressAdapter_;
    std::unique_ptr<WidgetStatusLabel> labelAdapter_;
    std::unique_ptr<EventLoopYield> yield_;
    std::unique_ptr<WaitCursor> waitCursor_;
    Hooks savedHooks_;

    bool opened_ = false;
    bool closed_ = false;
    // Set while the window shows a change of the session's lists, whose selection changes
    // are the session's own and go back to it no more.
    bool showingSession_ = false;
};

}  // namespace mt
