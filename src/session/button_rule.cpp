#include "session/button_rule.h"

namespace mt {

Buttons EnableButtons(Buttons buttons, const Selections& selections) {
    buttons.CopyButton = selections.projects;
    buttons.MoveButton = selections.projects;
    buttons.UnsiftButton = selections.siftedProjects;
    buttons.ScanButton = selections.volumes;
    buttons.AddBinButton = true;
    buttons.CopyBinBtn = selections.bins;
    return buttons;
}

}  // namespace mt
