// The About box (unit Aboutwin): the program's picture, name and version.
// Unlike every other dialog it is modeless: it is shown and hidden, never
// run modally, so the toolbar stays usable while it is open.
#include <utility>

#include "about/Aboutwin_win.h"
#include "about/about_ids.h"
#include "about/pictures/program_icon.h"
#include "ui/picture_win.h"
#include "version.h"

namespace snipkit {
namespace {

namespace about = ids::aboutwin;

constexpr const char* kVersionText = SNIPKIT_VERSION_TEXT;

class TfrmAbout : public win::Form {
public:
    TfrmAbout()
        : Form({L"TfrmAbout",
                L"About Snipkit",
                win::kDialogFrameNoButtons,
                win::Centred(),
                win::ClientSize(298, 183),
                {
                    {about::Panel1, win::kPanelClass, L"", win::kBevelOuterLowered | win::kBevelInnerRaised, 8, 8,
                     284, 137},
                    // SS_BITMAP sizes the control to its picture.
                    {about::ProgramIcon, win::kStaticClass, L"", SS_BITMAP, 8, 8, 133, 74, about::Panel1},
                    {about::ProductName, win::kStaticClass, L"Delphi Snipkit", win::kLabelStyle | SS_NOPREFIX, 152,
                     17, 124, 19, about::Panel1},
                    {about::labVer, win::kStaticClass, L"", win::kLabelStyle | SS_NOPREFIX, 152, 48, 124, 13,
                     about::Panel1},
                    {ids::butOK, win::kButtonClass, L"OK", win::kDefaultButtonStyle, 103, 150, 77, 27},
                }}) {}

    ~TfrmAbout() override {
        // The picture goes before the window does; the control must not keep it.
        if (HWND icon = Item(about::ProgramIcon)) SendMessageW(icon, STM_SETIMAGE, IMAGE_BITMAP, 0);
    }

protected:
    void OnCreate() override {
        SetFont(about::ProductName, win::kFormFontFace, -15, FW_BOLD, true);
        SetFont(about::labVer, win::kFormFontFace, -11, FW_BOLD);
        SetFont(ids::butOK, win::kFormFontFace, -11, FW_BOLD);
        RenderPicture();
        SetActiveControl(ids::butOK);
    }

    // form_show: each showing starts from the one version text.
    void OnShow() override { SetText(about::labVer, kVersionText); }

    void OnCommand(int id, int code) override {
        if (id == ids::butOK && code == BN_CLICKED) butOKClick();
    }

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg == WM_SYSCOLORCHANGE) {
            RenderPicture();  // its background is the face colour
            return false;
        }
        if (msg != WM_CTLCOLORSTATIC) return false;
        const auto label = reinterpret_cast<HWND>(lp);
        if (label != Item(about::ProductName) && label != Item(about::labVer)) return false;
        // Both texts are black whatever the colour scheme; the face shows behind them.
        const auto dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }

private:
    void butOKClick() { Hide(); }

    void RenderPicture() {
        win::BitmapHandle picture = win::MakeBitmap(ParsePixelArt(pictures::kProgramIcon), GetSysColor(COLOR_BTNFACE));
        SendMessageW(Item(about::ProgramIcon), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
        picture_ = std::move(picture);  // the old one only once the control has let go of it
    }

    win::BitmapHandle picture_;
};

}  // namespace

std::unique_ptr<win::Form> NewTfrmAbout() { return std::make_unique<TfrmAbout>(); }

}  // namespace snipkit
