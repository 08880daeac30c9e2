// The About box (unit Aboutwin): a plain form with nothing to return.
#pragma once

#include <memory>

#include "ui/form_win.h"

namespace snipkit {

std::unique_ptr<win::Form> NewTfrmAbout();

}  // namespace snipkit
