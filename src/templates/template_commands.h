// The commands of the "C&ode" menu and the two header-comment commands.
#pragma once

#include <string>

#include "bridge/bridge.h"
#include "bridge/file_system.h"
#include "templates/template_text.h"

namespace snipkit {

// What the if...then dialog holds; a fresh set of defaults at every use.
struct IfDialogFields {
    std::string condition;
    std::string spinText = "2";  // the indent as typed
    bool withElse = false;
    bool surround = false;
};

// Each dialog shows modally on its fields, writes back what the user left in
// them whichever way it closed, and returns true on OK.
class IfDialog {
public:
    virtual ~IfDialog() = default;
    virtual bool Show(IfDialogFields& fields) = 0;
};
class ForNextDialog {
public:
    virtual ~ForNextDialog() = default;
    virtual bool Show(ForFields& fields) = 0;
};
class WhileDialog {
public:
    virtual ~WhileDialog() = default;
    virtual bool Show(WhileFields& fields) = 0;
};
class ProcDialog {
public:
    virtual ~ProcDialog() = default;
    virtual bool Show(ProcFields& fields) = 0;
};

IfFields IfFieldsFromDialog(const IfDialogFields& dialog);

void mnuBeginEndClick(EditorBridge& bridge);
void mnuIfthenClick(EditorBridge& bridge, IfDialog& dialog);
// The for, while and skeleton dialogs keep their fields for the run.
void mnuForNextClick(EditorBridge& bridge, ForNextDialog& dialog, ForFields& fields);
void mnuWhileClick(EditorBridge& bridge, WhileDialog& dialog, WhileFields& fields);
void mnuProcClick(EditorBridge& bridge, ProcDialog& dialog, ProcFields& fields, FileSystem& fs);
void mnuUnitHeadClick(EditorBridge& bridge, FileSystem& fs);
void mnuProcHeadClick(EditorBridge& bridge, FileSystem& fs);

}  // namespace snipkit
