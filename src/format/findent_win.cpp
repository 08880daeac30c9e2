// The Indent dialog (unit findent): the captured text in an editable memo,
// the direction and the number of columns. The dialog only collects; the
// indent command rewrites the text once the dialog has closed.
#include "format/findent_ids.h"
#include "format/findent_win.h"
#include "format/indent_rules.h"

namespace snipkit {
namespace {

namespace fid = ids::findent;

// The table gives the panel some size; OnCreate stretches it over the client
// area, whose size depends on the system's frame metrics.
win::FormDef IndentDef() {
    return {L"TfrmIndent",
            L"Indent",
            win::kDialogFrame,
            win::Centred(),
            win::OuterSize(300, 222),
            {
                {fid::Panel1, win::kPanelClass, L"", win::kBevelOuterRaised, 0, 0, 292, 195},
                {fid::Memo1, win::kEditClass, L"", win::kMemoStyle | WS_VSCROLL | WS_HSCROLL | WS_GROUP, 16, 32,
                 257, 121, fid::Panel1, win::kSunken},
                {ids::butOK, win::kButtonClass, L"OK", win::kDefaultButtonStyle | WS_GROUP, 64, 160, 75, 25,
                 fid::Panel1},
                {ids::butCancel, win::kButtonClass, L"Cancel", win::kButtonStyle | WS_GROUP, 152, 160, 75, 25,
                 fid::Panel1},
                {fid::spin1, win::kEditClass, L"2", win::kEditStyle | WS_GROUP, 232, 8, 41, 22, fid::Panel1,
                 win::kSunken},
                // Placed at the field's right end by FitSpinField.
                {fid::spin1Arrows, win::kUpDownClass, L"", win::kSpinArrowsStyle, 0, 0, 15, 22, fid::Panel1},
                {fid::chkIndent, win::kButtonClass, L"&Indent", win::kFirstRadioStyle, 70, 9, 65, 17, fid::Panel1},
                {fid::chkUnindent, win::kButtonClass, L"&Unindent", win::kRadioStyle, 134, 9, 75, 17, fid::Panel1},
                // A label never wraps: whatever does not fit is cut at its edge.
                {fid::Label1, win::kStaticClass, L"Spaces to ", SS_LEFTNOWORDWRAP | WS_GROUP, 16, 10, 51, 13,
                 fid::Panel1},
            }};
}

class TfrmIndent : public IndentForm {
public:
    TfrmIndent() : IndentForm(IndentDef()) {}

    bool Show(IndentFields& fields) override {
        SetText(fid::Memo1, fields.memoText);
        SetText(fid::spin1, fields.spinText);
        SetChecked(fid::chkIndent, fields.indent);
        SetChecked(fid::chkUnindent, !fields.indent);
        const int result = ShowModal();
        // Written back however the dialog closed: the radio choice is
        // remembered even after Cancel, and the fields hold what was left.
        fields.memoText = Text(fid::Memo1);
        fields.spinText = Text(fid::spin1);
        fields.indent = Checked(fid::chkIndent);
        return result == ids::butOK;
    }

protected:
    void OnCreate() override {
        RECT client{};
        GetClientRect(Handle(), &client);
        SetWindowPos(Item(fid::Panel1), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
        FitSpinField();
        SendMessageW(Item(fid::spin1Arrows), UDM_SETRANGE32, kIndentColumnsMin, kIndentColumnsMax);
        SendMessageW(Item(fid::spin1Arrows), UDM_SETPOS32, 0, kIndentColumnsDefault);
        SetChecked(fid::chkIndent, true);
    }

    void OnCommand(int id, int code) override {
        if (id == fid::spin1 && code == EN_KILLFOCUS) CheckSpinRange();
    }

private:
    // The arrows attach themselves to the field's right edge and shrink it,
    // each system by its own measure; the field and its arrows together must
    // take exactly the field's place in the table.
    void FitSpinField() {
        HWND field = Item(fid::spin1);
        HWND arrows = Item(fid::spin1Arrows);
        HWND panel = Item(fid::Panel1);
        RECT f{};
        RECT a{};
        GetWindowRect(field, &f);
        GetWindowRect(arrows, &a);
        MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&f), 2);
        MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&a), 2);
        const win::ControlDef& def = *ItemDef(fid::spin1);
        const int arrowsWidth = a.right - a.left;
        const int overlap = f.right > a.left ? f.right - a.left : 0;  // the arrows cover the field's border
        const int arrowsLeft = def.x + def.width - arrowsWidth;
        SetWindowPos(field, nullptr, def.x, def.y, arrowsLeft - def.x + overlap, def.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(arrows, nullptr, arrowsLeft, def.y, arrowsWidth, def.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // A number typed outside the range is pulled back to its nearest end as
    // the field is left; text that is no number stays, and counts as 0.
    void CheckSpinRange() {
        const std::optional<int> typed = ParseWholeNumber(Text(fid::spin1));
        if (!typed) return;
        const int held = ClampIndentColumns(*typed);
        if (held != *typed) SetText(fid::spin1, std::to_string(held));
    }
};

}  // namespace

std::unique_ptr<IndentForm> NewTfrmIndent() { return std::make_unique<TfrmIndent>(); }

}  // namespace snipkit
