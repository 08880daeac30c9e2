#include "bridge/msgbox_win.h"

#include "ui/modal_win.h"
#include "ui/wide_win.h"

namespace snipkit {

void MsgBox(const std::string& text, const std::string& caption) {
    win::ApplicationModalBox(Utf8ToWide(text), Utf8ToWide(caption), MB_OK);
}

int MsgBoxYesNoCancel(const std::string& text, const std::string& caption) {
    return win::ApplicationModalBox(Utf8ToWide(text), Utf8ToWide(caption), MB_YESNOCANCEL);
}

}  // namespace snipkit
