// The help command: the help page beside the program, opened in the viewer
// the system has for it.
#pragma once

#include <string>

#include "bridge/file_system.h"

namespace snipkit {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows the page; false when the system could not.
    virtual bool Open(const std::string& path) = 0;
};

// Opens the page at its full path. Its top is the contents, so this is the
// help's contents topic. A page that is not there as a file, or that the
// viewer cannot show, throws AppError "Cannot open file <path>".
void mnuHelpClick(FileSystem& fs, HelpViewer& viewer, const std::string& page);

}  // namespace snipkit
