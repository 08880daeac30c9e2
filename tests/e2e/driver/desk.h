// The usual starting point of a scenario: the stand-in editor with a text,
// the toolbar beside it, and the editor in front long enough for the
// toolbar's timer to have taken it as the window the user works in.
#pragma once

#include "steps.h"

namespace e2e {

struct Desk {
    Editor editor;
    Toolbar toolbar;
};

inline Desk OpenDesk(Run& run, const EditorOptions& editorOptions = {}, const ToolbarOptions& toolbarOptions = {}) {
    Desk d;
    d.toolbar = LaunchToolbar(run, toolbarOptions);
    d.editor = LaunchEditor(run, editorOptions);
    LetToolbarSee(run, d.editor.frame);
    return d;
}

// A command picked from a toolbar menu, then the editor's text compared.
inline bool CommandGives(Run& run, const Desk& d, int commandId, const std::string& expected,
                         const std::string& what) {
    d.toolbar.Command(commandId);
    return ExpectEditorText(run, d.editor, expected, kDefaultTimeout, what);
}

}  // namespace e2e
