#pragma once
// MenuBar1: the menus of MacTarnwick, each item named so that code finds it.
//   File: FileQuit "Quit" (command-Q)
//   Edit: EditCut "Cut" (command-X), EditCopy (command-C), EditPaste (command-V), EditClear,
//         a separator, AppleAboutMacTarnwick "About MacTarnwick..."
// The command modifier is Command on macOS and Ctrl elsewhere. Quit and About carry their
// menu roles, so macOS moves them into the application menu; other platforms keep them where
// they are.

class QMenuBar;

namespace mt {

// A new menu bar without a parent and without handlers.
QMenuBar* BuildMenuBar1();

}  // namespace mt
