#pragma once
// The dialogs the window asks the user with: a folder, a file, and message boxes. Tests put
// scripted answers in their place; QtDialogs and QtMessageBoxes are the real ones.

#include <optional>
#include <string>

class QWidget;

namespace mt {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A folder chosen in a dialog modal to parent that shows prompt (UTF-8 paths and texts);
    // nullopt when the user cancels.
    virtual std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& prompt) = 0;
    // An existing file chosen the same way, with no filter on its type.
    virtual std::optional<std::string> ChooseFile(QWidget* parent, const std::string& prompt) = 0;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows text in a message box modal to parent and returns when the user has closed it.
    virtual void Show(QWidget* parent, const std::string& text) = 0;
    // The About box: same, with the application's icon and the title "About MacTarnwick".
    virtual void ShowAbout(QWidget* parent, const std::string& text) = 0;
};

class QtDialogs : public Dialogs {
public:
    std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& prompt) override;
    std::optional<std::string> ChooseFile(QWidget* parent, const std::string& prompt) override;
};

class QtMessageBoxes : public MessageBoxes {
public:
    void Show(QWidget* parent, const std::string& text) override;
    void ShowAbout(QWidget* parent, const std::string& text) override;
};

// The shared instances of the real ones.
Dialogs& RealDialogs();
MessageBoxes& RealMessageBoxes();

}  // namespace mt
