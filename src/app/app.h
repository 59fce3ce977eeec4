#pragma once
// App: the application object of MacTarnwick. It names the application and its version,
// owns the shared menu bar MenuBar1 and the one main window, shows the About box, and quits
// by closing the main window, so that the window's close handler runs.

#include <QApplication>
#include <QPointer>
#include <string>

#include "ui/window_setup.h"

class QMenuBar;

namespace mt {

class Window1;

class App : public QApplication {
    Q_OBJECT

public:
    App(int& argc, char** argv);
    ~App() override;

    // The running App; null when the application object is not one.
    static App* Instance();

    // The shared menu bar, built on the first request; the same one after.
    QMenuBar* MenuBar1();
    // What the main window is made with; call before its first request (tests put temp
    // folders and scripted dialogs here).
    void SetWindowSetup(WindowSetup setup) { windowSetup_ = std::move(setup); }
    // The main window: made, given MenuBar1 and shown on the first request; the same after.
    Window1* MainWindow();

    // The About item: shows the About box; false, the event is not passed on.
    bool AppleAboutMacTarnwick_Action();
    // The Quit item: closes the main window (which may wait for a running command), and with
    // it the application.
    void Quit();
    // Whether a file (UTF-8 path) is an "avidbin" document: Mac type "ATob" with any creator,
    // or a name ending in ".avb"; the main window's session reads the type.
    bool IsBinDocument(const std::string& path);

private:
    void ConnectMenuItems(QMenuBar* bar);

    QPointer<QMenuBar> menuBar_;
    QPointer<Window1> mainWindow_;
    WindowSetup windowSetup_;
};

}  // namespace mt
