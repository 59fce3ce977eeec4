#include "window/window_fixtures.h"

namespace mt::fixtures {

std::optional<std::string> ScriptedDialogs::Answer(const char* kind, QWidget* parent,
                                                   const std::string& prompt) {
    asked.push_back({kind, prompt, parent});
    if (whileOpen) whileOpen();
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::ChooseFolder(QWidget* parent,
                                                         const std::string& prompt) {
    return Answer("folder", parent, prompt);
}

std::optional<std::string> ScriptedDialogs::ChooseFile(QWidget* parent, const std::string& prompt) {
    return Answer("file", parent, prompt);
}

void RecordingMessageBoxes::Show(QWidget* parent, const std::string& text) {
    shown.push_back(text);
    parents.push_back(parent);
    if (whileOpen) whileOpen();
}

void RecordingMessageBoxes::ShowAbout(QWidget* parent, const std::string& text) {
    abouts.push_back(text);
    parents.push_back(parent);
}

QRect PlaceIn(const QWidget* content, const QWidget* control) {
    return QRect(control->mapTo(content, QPoint(0, 0)), control->size());
}

}  // namespace mt::fixtures
