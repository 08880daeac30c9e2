// The Indent dialog, as the commands see it: its fields and one entry point.
#pragma once

#include <string>

namespace snipkit {

struct IndentFields {
    std::string memoText;  // the dialog's editable text
    std::string spinText;  // the column count as typed
    bool indent = true;    // "&Indent" selected, else "&Unindent"
};

class IndentDialog {
public:
    virtual ~IndentDialog() = default;
    // Shows the dialog modally on fields and writes back what the user left in
    // them, whichever way it closed. True on OK.
    virtual bool Show(IndentFields& fields) = 0;
};

}  // namespace snipkit
