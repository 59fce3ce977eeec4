#pragma once
// The enabled state of the main window's command buttons and of its tab panel, and the one
// rule that sets most of them from the selections of the lists.

namespace mt {

// Named after the window's controls.
struct Buttons {
    bool ScanButton = true;
    bool AddFolderButton = true;
    bool SiftButton = false;
    bool CopyButton = false;
    bool MoveButton = false;
    bool UnsiftButton = false;
    bool AddBinButton = false;
    bool CopyBinBtn = false;
    bool TabPanel1 = false;

    bool operator==(const Buttons&) const = default;
};

// Whether some row of each list is selected.
struct Selections {
    bool projects = false;
    bool siftedProjects = false;
    bool volumes = false;
    bool bins = false;
};

// EnableButtons: CopyButton and MoveButton follow the Projects selection, UnsiftButton the
// Sifted Projects selection, ScanButton the Volumes selection, CopyBinBtn the Bins selection;
// AddBinButton is always enabled. SiftButton, AddFolderButton and TabPanel1 keep their state.
Buttons EnableButtons(Buttons buttons, const Selections& selections);

}  // namespace mt
