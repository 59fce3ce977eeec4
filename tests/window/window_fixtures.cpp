#include "window/window_fixtures.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

namespace mt::fixtures {

std::optional<std::string> ScriptedDialogs::Answer(const char* kind, QWidget* parent,
                                                   const std::string& prompt) {
    asked.push_back({kind, prompt, parent});
    // A copy: the script may replace itself while it runs.
    if (auto run = whileOpen) run();
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
    if (auto run = whileOpen) run();
}

void RecordingMessageBoxes::ShowAbout(QWidget* parent, const std::string& text) {
    abouts.push_back(text);
    parents.push_back(parent);
}

GeneratedFile Clip(const Bytes& name, const Bytes& project, size_t payload,
                   const std::string& folder) {
    GeneratedFile file;
    file.name = name;
    file.project = project;
    file.payload = payload;
    file.folder = folder;
    file.listed = folder.empty();
    return file;
}

QRect PlaceIn(const QWidget* content, const QWidget* control) {
    return QRect(control->mapTo(content, QPoint(0, 0)), control->size());
}

WindowHarness::WindowHarness() : logFolder(temp.Path("logfiles")) {}

WindowHarness::~WindowHarness() { window.reset(); }

WindowSetup WindowHarness::Setup() {
    WindowSetup setup;
    setup.fileSystem = &RealFileSystem();
    setup.volumes = [this] {
        if (onListing) onListing();
        std::vector<FolderItem> items;
        for (const std::string& top : volumes)
            items.push_back(FolderItem::Volume(top, RealFileSystem()));
        return items;
    };
    setup.logFolders = {logFolder};
    setup.dialogs = &dialogs;
    setup.messageBoxes = &boxes;
    return setup;
}

Window1& WindowHarness::Open() {
    window = std::make_unique<Window1>(Setup());
    window->show();
    return *window;
}

bool WindowHarness::OpenAndScan() {
    Open();
    auto* panel = window->findChild<QTabWidget*>("TabPanel1");
    return QTest::qWaitFor([panel] { return panel->isEnabled(); }, 10000);
}

QListWidget* WindowHarness::List(const char* name) const {
    return window->findChild<QListWidget*>(name);
}

QPushButton* WindowHarness::Button(const char* name) const {
    return window->findChild<QPushButton*>(name);
}

QStringList WindowHarness::Texts(const char* list) const {
    QStringList texts;
    QListWidget* widget = List(list);
    for (int i = 0; i < widget->count(); ++i) texts << widget->item(i)->text();
    return texts;
}

std::vector<int> WindowHarness::Selected(const char* list) const {
    std::vector<int> rows;
    QListWidget* widget = List(list);
    for (int i = 0; i < widget->count(); ++i) {
        if (widget->item(i)->isSelected()) rows.push_back(i);
    }
    return rows;
}

void WindowHarness::Select(const char* list, const std::vector<int>& rows) {
    QListWidget* widget = List(list);
    widget->clearSelection();
    for (int row : rows) {
        const QRect place = widget->visualItemRect(widget->item(row));
        QTest::mouseClick(widget->viewport(), Qt::LeftButton, Qt::ControlModifier, place.center());
    }
}

int WindowHarness::RowStartingWith(const char* list, const QString& prefix) const {
    const QStringList texts = Texts(list);
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i].startsWith(prefix)) return i;
    }
    return -1;
}

void WindowHarness::Click(const char* name) {
    QPushButton* button = Button(name);
    auto* panel = window->findChild<QTabWidget*>("TabPanel1");
    const int tab = panel->indexOf(button->parentWidget());
    if (tab >= 0) panel->setCurrentIndex(tab);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString WindowHarness::Status() const { return window->findChild<QLabel*>("StatusLabel")->text(); }

QString WindowHarness::Log() const {
    return window->findChild<QPlainTextEdit*>("LogField")->toPlainText();
}

QStringList WindowHarness::FileColumn(int column) const {
    QAbstractItemModel* model = window->findChild<QTableView*>("Filelist")->model();
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row)
        cells << model->data(model->index(row, column)).toString();
    return cells;
}

}  // namespace mt::fixtures
