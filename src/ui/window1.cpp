#include "ui/window1.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimer>
#include <functional>

#include "ui/bin_list_widget.h"
#include "ui/dialogs.h"
#include "ui/event_loop_yield.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/system_fonts.h"
#include "ui/wait_cursor.h"
#include "ui/widget_adapters.h"

namespace mt {

namespace {

// Where the controls outside the tab panel stand in a content area of the first height.
constexpr QRect kFilelistPlace(11, 166, 769, 193);
constexpr QRect kStatusLabelPlace(14, 367, 375, 17);
constexpr QRect kProgressPlace(604, 371, 176, 12);

// Calls back when a widget's geometry changes.
class GeometryWatch : public QObject {
public:
    GeometryWatch(QWidget* watched, std::function<void()> changed)
        : QObject(watched), changed_(std::move(changed)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize) changed_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> changed_;
};

}  // namespace

// The content area: 800 wide, its height free between the limits; it tells the window when
// its height changes.
class Window1::Content : public QWidget {
public:
    Content(QWidget* parent, std::function<void(int)> heightChanged)
        : QWidget(parent), heightChanged_(std::move(heightChanged)) {
        setMinimumSize(kContentWidth, kMinimumContentHeight);
        setMaximumSize(kContentWidth, kMaximumContentHeight);
    }
    QSize sizeHint() const override { return {kContentWidth, kContentHeight}; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        heightChanged_(event->size().height());
    }

private:
    std::function<void(int)> heightChanged_;
};

Window1::Window1(WindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(WithDefaults(std::move(setup))) {
    setObjectName("Window1");
    setWindowTitle("MacTarnwick");
    session_ = std::make_unique<Session>(*setup_.fileSystem, setup_.volumes, setup_.logFolders);
    content_ = new Content(this, [this](int height) { ApplyResizingRule(height); });
    content_->setObjectName("Window1Content");
    setCentralWidget(content_);
    BuildControls();
    ApplyButtons(session_->buttons());
    InstallHooks();
    ConnectControls();
    session_->SetObserver(this);
    session_->SetProgressBar(progressAdapter_.get());
    session_->SetStatusLabel(labelAdapter_.get());
    content_->resize(kContentWidth, kContentHeight);
    resize(sizeHint());
}

Window1::~Window1() {
    session_->SetObserver(nullptr);
    session_->SetProgressBar(nullptr);
    session_->SetStatusLabel(nullptr);
    CurrentHooks() = savedHooks_;
    // The shared menu bar outlives this window.
    if (menuBar_ && menuWidget() == menuBar_) menuBar_->setParent(nullptr);
}

void Window1::BuildControls() {
    const QFont small = SmallSystemFont();

    // 1: the tab panel, whose pages hold the controls of the tabs.
    tabPanel_ = new QTabWidget(content_);
    tabPanel_->setObjectName("TabPanel1");
    tabPanel_->setFont(small);
    tabPanel_->setGeometry(11, 9, 769, 150);
    QWidget* pages[5];
    const char* tabNames[5] = {"Volumes", "Projects", "Sifted Projects", "Bins", "Log"};
    const char* pageNames[5] = {"VolumesPage", "ProjectsPage", "SiftedProjectsPage", "BinsPage",
                                "LogPage"};
    for (int i = 0; i < 5; ++i) {
        pages[i] = new QWidget;
        pages[i]->setObjectName(pageNames[i]);
        // Screen readers name the page after its tab.
        pages[i]->setAccessibleName(tabNames[i]);
        tabPanel_->addTab(pages[i], tabNames[i]);
    }
    QWidget* volumesPage = pages[0];
    QWidget* projectsPage = pages[1];
    QWidget* siftedPage = pages[2];
    QWidget* binsPage = pages[3];
    QWidget* logPage = pages[4];

    // 2 to 18, in the order of creation.
    volumeList_ = MakeList(new QListWidget, volumesPage, "Volumelist", {25, 50, 600, 100});
    scanButton_ = MakeButton(volumesPage, "ScanButton", "Scan Volumes", {645, 55, 120, 20}, true);
    copyButton_ = MakeButton(projectsPage, "CopyButton", "Copy Project", {645, 55, 120, 20}, false);
    siftButton_ = MakeButton(volumesPage, "SiftButton", "Sift Volumes", {645, 88, 120, 20}, false);
    moveButton_ = MakeButton(projectsPage, "MoveButton", "Sift Project", {645, 88, 120, 20}, false);

    statusLabel_ = new QLabel("Ready", content_);
    statusLabel_->setObjectName("StatusLabel");
    statusLabel_->setFont(small);
    statusLabel_->setGeometry(kStatusLabelPlace);

    progress_ = new QProgressBar(content_);
    progress_->setObjectName("Progress");
    progress_->setAccessibleName("Progress");
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setGeometry(kProgressPlace);
    progress_->hide();

    siftedProjectList_ =
        MakeList(new QListWidget, siftedPage, "SiftedProjectList", {25, 50, 600, 100});
    unsiftButton_ =
        MakeButton(siftedPage, "UnsiftButton", "Unsift Project", {647, 55, 120, 20}, false);
    binList_ = new BinListWidget;
    MakeList(binList_, binsPage, "BinList", {25, 50, 600, 100});
    addBinButton_ = MakeButton(binsPage, "AddBinButton", "Add Bin", {647, 55, 120, 20}, false);
    copyBinButton_ = MakeButton(binsPage, "CopyBinBtn", "Copy Bin", {647, 88, 120, 20}, false);

    fileModel_ = new FileListModel(&session_->fileRows(), this);
    fileList_ = new FileListView(fileModel_, content_);
    fileList_->setObjectName("Filelist");
    fileList_->setAccessibleName("Filelist");
    fileList_->setFont(small);
    fileList_->setGeometry(kFilelistPlace);

    projectList_ = MakeList(new QListWidget, projectsPage, "ProjectList", {25, 50, 600, 100});

    logField_ = new QPlainTextEdit(logPage);
    logField_->setObjectName("LogField");
    logField_->setAccessibleName("LogField");
    logField_->setFont(small);
    logField_->setReadOnly(true);
    logField_->setLineWrapMode(QPlainTextEdit::NoWrap);
    logField_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    PlaceOnTab(logField_, {25, 50, 741, 100});

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setSingleShot(true);
    timer1_->setInterval(100);

    addFolderButton_ =
        MakeButton(volumesPage, "AddFolderButton", "Add Folder...", {645, 121, 120, 20}, true);

    // The pages fill the panel's page area; its place is known once the panel is laid out.
    auto* stack = tabPanel_->findChild<QStackedWidget*>();
    if (stack) new GeometryWatch(stack, [this] { PlaceTabControls(); });
    PlaceTabControls();
}

QPushButton* Window1::MakeButton(QWidget* page, const char* name, const char* caption, QRect place,
                                 bool enabled) {
    auto* button = new QPushButton(caption, page);
    button->setObjectName(name);
    button->setFont(SystemFont());
    button->setAutoDefault(false);
    button->setEnabled(enabled);
    PlaceOnTab(button, place);
    return button;
}

QListWidget* Window1::MakeList(QListWidget* list, QWidget* page, const char* name, QRect place) {
    list->setParent(page);
    list->setObjectName(name);
    list->setAccessibleName(name);
    list->setFont(SmallSystemFont());
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    PlaceOnTab(list, place);
    return list;
}

void Window1::PlaceOnTab(QWidget* control, QRect place) {
    tabControls_.push_back({control, place});
    control->setGeometry(place);
}

void Window1::PlaceTabControls() {
    auto* stack = tabPanel_->findChild<QStackedWidget*>();
    if (!stack) return;
    const QPoint origin = stack->mapTo(content_, QPoint(0, 0));
    for (const TabControl& tab : tabControls_)
        tab.control->setGeometry(tab.place.translated(-origin));
}

void Window1::ApplyResizingRule(int contentHeight) {
    const int grown = contentHeight - kContentHeight;
    fileList_->setGeometry(kFilelistPlace.adjusted(0, 0, 0, grown));
    statusLabel_->setGeometry(kStatusLabelPlace.translated(0, grown));
    progress_->setGeometry(kProgressPlace.translated(0, grown));
}

void Window1::ApplyButtons(const Buttons& buttons) {
    scanButton_->setEnabled(buttons.ScanButton);
    addFolderButton_->setEnabled(buttons.AddFolderButton);
    siftButton_->setEnabled(buttons.SiftButton);
    copyButton_->setEnabled(buttons.CopyButton);
    moveButton_->setEnabled(buttons.MoveButton);
    unsiftButton_->setEnabled(buttons.UnsiftButton);
    addBinButton_->setEnabled(buttons.AddBinButton);
    copyBinButton_->setEnabled(buttons.CopyBinBtn);
    tabPanel_->setEnabled(buttons.TabPanel1);
}

void Window1::InstallHooks() {
    progressAdapter_ = std::make_unique<WidgetProgressBar>(progress_);
    labelAdapter_ = std::make_unique<WidgetStatusLabel>(statusLabel_);
    yield_ = std::make_unique<EventLoopYield>();
    waitCursor_ = std::make_unique<WaitCursor>();
    savedHooks_ = CurrentHooks();
    Hooks& hooks = CurrentHooks();
    hooks.yield = [this] { (*yield_)(); };
    hooks.messageBox = [this](const std::string& text) { setup_.messageBoxes->Show(this, text); };
    hooks.setCursor = [this](Cursor cursor) { waitCursor_->Set(cursor); };
}

void Window1::InstallMenuBar(QMenuBar* shared) {
    if (!shared || menuWidget() == shared) return;
    // setMenuBar deletes the bar it replaces; a shared one is taken out first.
    if (menuBar_ && menuWidget() == menuBar_) menuBar_->setParent(nullptr);
    menuBar_ = shared;
    setMenuBar(shared);
}

namespace {
template <typename T>
T* FindItem(const QPointer<QMenuBar>& bar, const char* name) {
    return bar ? bar->findChild<T*>(name) : nullptr;
}
}  // namespace

QMenu* Window1::FileMenu() const { return FindItem<QMenu>(menuBar_, "FileMenu"); }
QMenu* Window1::EditMenu() const { return FindItem<QMenu>(menuBar_, "EditMenu"); }
QAction* Window1::EditCut() const { return FindItem<QAction>(menuBar_, "EditCut"); }
QAction* Window1::EditCopy() const { return FindItem<QAction>(menuBar_, "EditCopy"); }
QAction* Window1::EditPaste() const { return FindItem<QAction>(menuBar_, "EditPaste"); }
QAction* Window1::EditClear() const { return FindItem<QAction>(menuBar_, "EditClear"); }
QAction* Window1::FileQuit() const { return FindItem<QAction>(menuBar_, "FileQuit"); }
QAction* Window1::AppleAboutMacTarnwick() const {
    return FindItem<QAction>(menuBar_, "AppleAboutMacTarnwick");
}

void Window1::AddLog(const std::string& text) {
    QScrollBar* bar = logField_->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    QTextCursor end(logField_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QString::fromStdString(text));
    // Follow the new lines unless the user has scrolled back to read.
    if (following) bar->setValue(bar->maximum());
}

}  // namespace mt
