#include "app/app.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMetaObject>

#include "app/about_text.h"
#include "app/menu_bar1.h"
#include "ui/dialogs.h"
#include "ui/window1.h"

namespace mt {

namespace {

// Cut, Copy and Paste act on the text field that has the keyboard focus, as the platform's
// own commands do; Clear deletes its selection.
void EditFocusedText(const char* command) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return;
    const QByteArray signature = QByteArray(command) + "()";
    if (focus->metaObject()->indexOfMethod(signature.constData()) >= 0)
        QMetaObject::invokeMethod(focus, command);
}

void ClearFocusedText() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(focus, &press);
}

}  // namespace

App::App(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("MacTarnwick"));
    setApplicationVersion(QStringLiteral(MT_VERSION));
    setDesktopFileName(QStringLiteral("mactarnwick"));
    setWindowIcon(QIcon(QStringLiteral(":/mactarnwick.png")));
}

App::~App() {
    delete mainWindow_;
    delete menuBar_;
}

App* App::Instance() { return qobject_cast<App*>(QCoreApplication::instance()); }

QMenuBar* App::MenuBar1() {
    if (!menuBar_) {
        menuBar_ = BuildMenuBar1();
        ConnectMenuItems(menuBar_);
    }
    return menuBar_;
}

void App::ConnectMenuItems(QMenuBar* bar) {
    const auto connectItem = [this, bar](const char* name, auto handler) {
        if (auto* item = bar->findChild<QAction*>(name))
            connect(item, &QAction::triggered, this, handler);
    };
    connectItem("FileQuit", [this] { Quit(); });
    connectItem("EditCut", [] { EditFocusedText("cut"); });
    connectItem("EditCopy", [] { EditFocusedText("copy"); });
    connectItem("EditPaste", [] { EditFocusedText("paste"); });
    connectItem("EditClear", [] { ClearFocusedText(); });
    connectItem("AppleAboutMacTarnwick", [this] { AppleAboutMacTarnwick_Action(); });
}

Window1* App::MainWindow() {
    if (!mainWindow_) {
        mainWindow_ = new Window1(windowSetup_);
        mainWindow_->InstallMenuBar(MenuBar1());
        mainWindow_->show();
    }
    return mainWindow_;
}

bool App::AppleAboutMacTarnwick_Action() {
    MessageBoxes* boxes =
        windowSetup_.messageBoxes ? windowSetup_.messageBoxes : &RealMessageBoxes();
    boxes->ShowAbout(mainWindow_, AboutText(applicationVersion()).toStdString());
    return false;
}

bool App::IsBinDocument(const std::string& path) {
    return MainWindow()->session().IsBinDocument(path);
}

void App::Quit() {
    if (mainWindow_) {
        mainWindow_->close();
    } else {
        quit();
    }
}

}  // namespace mt
