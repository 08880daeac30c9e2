// AppDir: the folder of the program's own executable file, always ending in
// a backslash. Set once at start-up, read by the stash.
#pragma once

#include <string>

namespace snipkit {

void InitAppDir();
// UTF-8; empty before InitAppDir.
const std::string& AppDir();

}  // namespace snipkit
