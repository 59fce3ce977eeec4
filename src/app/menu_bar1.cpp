#include "app/menu_bar1.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace mt {

namespace {
QAction* AddItem(QMenu* menu, const char* name, const QString& text, QKeySequence shortcut,
                 QAction::MenuRole role) {
    auto* item = new QAction(text, menu);
    item->setObjectName(name);
    item->setShortcut(shortcut);
    item->setMenuRole(role);
    menu->addAction(item);
    return item;
}
}  // namespace

QMenuBar* BuildMenuBar1() {
    auto* bar = new QMenuBar;
    bar->setObjectName("MenuBar1");

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName("FileMenu");
    // Qt::CTRL is the Command key on macOS.
    AddItem(file, "FileQuit", "Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), QAction::QuitRole);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName("EditMenu");
    AddItem(edit, "EditCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), QAction::NoRole);
    AddItem(edit, "EditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), QAction::NoRole);
    AddItem(edit, "EditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), QAction::NoRole);
    AddItem(edit, "EditClear", "Clear", QKeySequence(), QAction::NoRole);
    edit->addSeparator();
    AddItem(edit, "AppleAboutMacTarnwick", "About MacTarnwick...", QKeySequence(),
            QAction::AboutRole);
    return bar;
}

}  // namespace mt
