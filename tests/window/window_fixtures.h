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
#include "ui/dialogs.h"

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
    // Runs while a dialog is open, before it answers (a click elsewhere, say).
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

// A control's place in the window's content area, which is what positions are counted from.
QRect PlaceIn(const QWidget* content, const QWidget* control);

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
