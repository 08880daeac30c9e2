#include "about/help_command.h"

#include "bridge/app_error.h"

namespace snipkit {

void mnuHelpClick(FileSystem& fs, HelpViewer& viewer, const std::string& page) {
    // Checked first: the shell would open a folder of that name in Explorer,
    // and some viewers say nothing about a missing file.
    if (!fs.Exists(page) || fs.IsDirectory(page) || !viewer.Open(page)) throw CannotOpenFile(page);
}

}  // namespace snipkit
