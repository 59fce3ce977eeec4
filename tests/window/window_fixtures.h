#pragma once
// What the window tests share: dialogs and message boxes that answer from a script and
// record what they were asked, small lookups of controls, and the main of each test program
// (an App under the offscreen platform, so the tests need no display).

#include <QRect>
#include <QString>
#include <QTest>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "fixtures/generated_volume.h"
#include "fixtures/temp_folder.h"
#include "ui/dialogs.h"
#include "ui/window1.h"

class QListWidget;
class QPushButton;

namespace mt::fixtures {

class ScriptedDialogs : public Dialogs {
public:
    struct Asked {
        std::string kind;  // "folder" or "file"
        std::string prompt;
        QWidget* parent;
    };

    std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& prompt) override;
    std::optional<std::string> ChooseFile(QWidget* parent, const std::string& prompt) override;

    // The next answers, first one first; when none is left the user cancels.
    std::deque<std::optional<std::string>> answers;
    // Runs while a dialog is open, before it answers (a click elsewhere, say); it may
    // replace or clear itself.
    std::function<void()> whileOpen;
    std::vector<Asked> asked;

private:
    std::optional<std::string> Answer(const char* kind, QWidget* parent, const std::string& prompt);
};

class RecordingMessageBoxes : public MessageBoxes {
public:
    void Show(QWidget* parent, const std::string& text) override;
    void ShowAbout(QWidget* parent, const std::string& text) override;

    std::vector<std::string> shown;
    std::vector<std::string> abouts;
    std::vector<QWidget*> parents;
    std::function<void()> whileOpen;
};

// A generated media file of a project with payload bytes; in a folder inside the media folder
// (and then not in the database) when folder is given.
GeneratedFile Clip(const Bytes& name, const Bytes& project, size_t payload,
                   const std::string& folder = "");

// Whether time limits are checked: only in optimized builds without sanitizers, whose
// timings are the program's own (the others still measure and print them).
constexpr bool kTimingChecked =
#if defined(__OPTIMIZE__) && !defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

// A control's place in the window's content area, which is what positions are counted from.
QRect PlaceIn(const QWidget* content, const QWidget* control);

// A Window1 whose mounted volumes are folders in a temp folder, with scripted dialogs and
// message boxes and its log folder in the temp folder; and what a user does with it.
class WindowHarness {
public:
    WindowHarness();
    ~WindowHarness();

    // What the window is made with (the tests may change it before Open).
    WindowSetup Setup();
    // Makes and shows the window; the volumes are listed from the event loop.
    Window1& Open();
    // Open, then waits for the first scan (the tab panel enabled); false when it never came.
    bool OpenAndScan();

    QListWidget* List(const char* name) const;
    QPushButton* Button(const char* name) const;
    // The texts of a list's rows, and which are selected.
    QStringList Texts(const char* list) const;
    std::vector<int> Selected(const char* list) const;
    // Selects exactly these rows, as the user does with the mouse.
    void Select(const char* list, const std::vector<int>& rows);
    // The row of a list whose text starts with prefix; -1 when none does.
    int RowStartingWith(const char* list, const QString& prefix) const;
    // Shows the button's tab and clicks it with the mouse.
    void Click(const char* button);
    QString Status() const;
    QString Log() const;
    // The cells of one column of the file list, top to bottom.
    QStringList FileColumn(int column) const;

    TempFolder temp;
    ScriptedDialogs dialogs;
    RecordingMessageBoxes boxes;
    std::vector<std::string> volumes;  // volume tops, listed in this order
    std::string logFolder;
    // Runs when the window asks for the mounted volumes.
    std::function<void()> onListing;
    std::unique_ptr<Window1> window;
};

}  // namespace mt::fixtures

// The main of a window test program: the application object is MacTarnwick's own App.
#define MT_WINDOW_TEST_MAIN(TestObject)            \
    int main(int argc, char** argv) {              \
        mt::App app(argc, argv);                   \
        mt::App::setQuitOnLastWindowClosed(false); \
        TestObject test;                           \
        QTEST_SET_MAIN_SOURCE_PATH                 \
        return QTest::qExec(&test, argc, argv);    \
    }
