// The stash browser (unit fStash): the stash folder's files on the left, the
// chosen file on the right; COPY or a double-click hands the preview back.
#include <string>
#include <vector>

#include "stash/stash_forms_win.h"
#include "stash/stash_ids.h"
#include "ui/wide_win.h"

namespace snipkit {
namespace {

namespace fstash = ids::fstash;

constexpr int kLeftWidth = 153;
constexpr int kMargin = 8;
constexpr int kLabelTop = 6;
constexpr int kBelowLabel = 22;
constexpr int kButtonWidth = 65;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 7;
constexpr int kStripHeight = 40;  // the bottom strip that holds the buttons

// The client area a 399 by 252 sizeable frame leaves on a usual system; the
// layout is redone from the real one as soon as the window exists.
constexpr int kClientWidth = 391;
constexpr int kClientHeight = 225;

constexpr DWORD kPreviewStyle = win::kMemoStyle | WS_HSCROLL | WS_VSCROLL;

class TfrmStash : public StashForm {
public:
    TfrmStash()
        : StashForm(
              {L"TfrmStash",
               L"your code Stash",
               win::kSizeableFrame,
               win::Centred(),
               win::OuterSize(399, 252),
               {
                   {fstash::PanelLeft, win::kPanelClass, L"", win::kBevelOuterRaised, 0, 0, kLeftWidth, kClientHeight},
                   {fstash::labFiles, win::kStaticClass, L"Files in Stash", win::kLabelStyle, kMargin, kLabelTop,
                    kLeftWidth - 2 * kMargin, 13, fstash::PanelLeft},
                   {fstash::file1, win::kListBoxClass, L"", win::kListStyle, kMargin, kBelowLabel,
                    kLeftWidth - 2 * kMargin, kClientHeight - kBelowLabel - kStripHeight, fstash::PanelLeft,
                    win::kSunken},
                   {fstash::butCopy, win::kButtonClass, L"C&OPY", win::kDefaultButtonStyle, kMargin,
                    kClientHeight - kStripHeight + 7, kButtonWidth, kButtonHeight, fstash::PanelLeft},
                   {ids::butCancel, win::kButtonClass, L"&Cancel", win::kButtonStyle,
                    kMargin + kButtonWidth + kButtonGap, kClientHeight - kStripHeight + 7, kButtonWidth, kButtonHeight,
                    fstash::PanelLeft},
                   {fstash::PanelRight, win::kPanelClass, L"", win::kBevelOuterRaised, kLeftWidth, 0,
                    kClientWidth - kLeftWidth, kClientHeight},
                   {fstash::labPreview, win::kStaticClass, L"Preview:", win::kLabelStyle, kMargin, kLabelTop, 100, 13,
                    fstash::PanelRight},
                   {fstash::Memo1, win::kEditClass, L"", kPreviewStyle, kMargin, kBelowLabel,
                    kClientWidth - kLeftWidth - 2 * kMargin, kClientHeight - kBelowLabel - kMargin, fstash::PanelRight,
                    win::kSunken},
               }}) {}

    // The window outlives this class's members: it must let go of the font first.
    ~TfrmStash() override {
        if (HWND memo = Item(fstash::Memo1)) SendMessageW(memo, WM_SETFONT, 0, FALSE);
    }

    std::optional<std::string> Show(StashStore& store) override {
        store_ = &store;
        const int result = ShowModal();
        store_ = nullptr;
        if (result != ids::butOK) return std::nullopt;
        return Text(fstash::Memo1);
    }

protected:
    void OnCreate() override {
        SetPreviewFont();
        Layout();
    }

    // Every opening starts from the folder as it is now, nothing selected.
    // COPY waits for a file to be chosen, so that a reflex Enter does not
    // paste the empty preview over the editor's selection.
    void OnShow() override {
        SendMessageW(Item(fstash::file1), LB_RESETCONTENT, 0, 0);
        names_.clear();
        SetText(fstash::Memo1, "");
        EnableWindow(Item(fstash::butCopy), FALSE);
        if (store_ == nullptr) return;
        names_ = store_->List();
        for (const std::string& name : names_) {
            SendMessageW(Item(fstash::file1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
        }
        SendMessageW(Item(fstash::file1), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }

    void OnCommand(int id, int code) override {
        if (id != fstash::file1) return;
        if (code == LBN_SELCHANGE) {
            file1_Click();
        } else if (code == LBN_DBLCLK) {
            file1_dblclick();
        }
    }

    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        switch (msg) {
            case WM_SIZE:
                Layout();
                return false;
            case WM_GETMINMAXINFO: {
                // Room for the two buttons and a few lines of list and preview.
                auto* info = reinterpret_cast<MINMAXINFO*>(lp);
                info->ptMinTrackSize.x = 260;
                info->ptMinTrackSize.y = 160;
                result = 0;
                return true;
            }
            case WM_CTLCOLOREDIT:
                if (reinterpret_cast<HWND>(lp) != Item(fstash::Memo1)) return false;
                {
                    HDC dc = reinterpret_cast<HDC>(wp);
                    SetTextColor(dc, RGB(0, 0, 0));
                    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
                    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
                }
                return true;
            default:
                return false;
        }
    }

private:
    // The selected file into the preview. An error leaves the preview as it
    // was and reaches the error box through the handler.
    bool file1_Click() {
        const LRESULT index = SendMessageW(Item(fstash::file1), LB_GETCURSEL, 0, 0);
        if (index < 0 || static_cast<std::size_t>(index) >= names_.size() || store_ == nullptr) return false;
        const std::string preview = store_->LoadPreview(names_[static_cast<std::size_t>(index)]);
        EnableWindow(Item(fstash::butCopy), TRUE);
        SetText(fstash::Memo1, preview);
        return true;
    }

    // The file as stored, not as edited in the preview, is what gets taken.
    void file1_dblclick() {
        if (file1_Click()) SetModalResult(ids::butOK);
    }

    // The left panel keeps its width; the list and the preview take up the
    // rest, and the buttons stay at the bottom of the left panel.
    void Layout() {
        if (Item(fstash::Memo1) == nullptr) return;  // sizing while the window is being made
        RECT client;
        GetClientRect(Handle(), &client);
        const int width = client.right;
        const int height = client.bottom;
        const int rightWidth = width > kLeftWidth ? width - kLeftWidth : 0;
        const int listHeight = height - kBelowLabel - kStripHeight;
        const int buttonTop = height - kStripHeight + (kStripHeight - kButtonHeight) / 2;
        Place(fstash::PanelLeft, 0, 0, kLeftWidth, height);
        Place(fstash::file1, kMargin, kBelowLabel, kLeftWidth - 2 * kMargin, listHeight);
        Place(fstash::butCopy, kMargin, buttonTop, kButtonWidth, kButtonHeight);
        Place(ids::butCancel, kMargin + kButtonWidth + kButtonGap, buttonTop, kButtonWidth, kButtonHeight);
        Place(fstash::PanelRight, kLeftWidth, 0, rightWidth, height);
        Place(fstash::Memo1, kMargin, kBelowLabel, rightWidth - 2 * kMargin, height - kBelowLabel - kMargin);
    }

    // Courier New, 8 points (11 pixels), asked for as a fixed-pitch face so
    // that a system without it still shows the code in columns.
    void SetPreviewFont() {
        LOGFONTW lf{};
        lf.lfHeight = -11;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        lstrcpynW(lf.lfFaceName, L"Courier New", LF_FACESIZE);
        previewFont_.reset(CreateFontIndirectW(&lf));
        if (previewFont_) {
            SendMessageW(Item(fstash::Memo1), WM_SETFONT, reinterpret_cast<WPARAM>(previewFont_.get()), TRUE);
        }
    }

    void Place(int id, int x, int y, int w, int h) { MoveWindow(Item(id), x, y, w > 0 ? w : 0, h > 0 ? h : 0, TRUE); }

    win::FontHandle previewFont_;
    StashStore* store_ = nullptr;
    std::vector<std::string> names_;  // as listed, in list order
};

}  // namespace

std::unique_ptr<StashForm> NewTfrmStash() { return std::make_unique<TfrmStash>(); }

}  // namespace snipkit
