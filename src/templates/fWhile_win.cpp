// The while / repeat / with dialog (unit fWhile): which statement, its
// condition and whether to wrap the selection. Created once at start-up; the
// toolbar keeps the fields, so the dialog reopens with the last entries.
#include "templates/template_forms_win.h"
#include "templates/template_ids.h"

namespace snipkit {
namespace {

namespace fid = ids::fwhile;

win::FormDef WhileDef() {
    return {L"TfrmWhile",
            L"Insert Repeat / While / With",
            win::kDialogFrameNoButtons,
            win::Centred(),
            win::ClientSize(233, 178),
            {
                // Rows in tab order. "&with...end" comes last in it although
                // it sits under the other two, so the system's radio groups
                // (runs of rows) cannot join the three: OnCommand does.
                {fid::chkRepeat, win::kButtonClass, L"&repeat...until", win::kFirstRadioStyle, 22, 10, 96, 17},
                {fid::chkWhile, win::kButtonClass, L"&while...end", win::kRadioStyle, 128, 10, 86, 17},
                {fid::grpCond, win::kGroupBoxClass, L" Condition ", WS_GROUP, 8, 56, 217, 52},
                {fid::txtCond, win::kEditClass, L"", win::kEditStyle, 10, 20, 197, 21, fid::grpCond, win::kSunken},
                {fid::chkSurround, win::kButtonClass, L"&surround existing code", win::kCheckBoxStyle, 16, 116, 200,
                 17},
                {ids::butOK, win::kButtonClass, L"&OK", win::kDefaultButtonStyle, 36, 143, 75, 25},
                {ids::butCancel, win::kButtonClass, L"&Cancel", win::kButtonStyle, 122, 143, 75, 25},
                {fid::chkWith, win::kButtonClass, L"&with...end", win::kFirstRadioStyle, 80, 32, 74, 17},
            }};
}

constexpr int kRadios[] = {fid::chkRepeat, fid::chkWhile, fid::chkWith};

int RadioOf(WhileKind kind) {
    switch (kind) {
        case WhileKind::While: return fid::chkWhile;
        case WhileKind::With: return fid::chkWith;
        case WhileKind::Repeat: break;
    }
    return fid::chkRepeat;
}

class TfrmWhile : public WhileForm {
public:
    TfrmWhile() : WhileForm(WhileDef()) {}

    bool Show(WhileFields& fields) override {
        Select(RadioOf(fields.kind));
        SetText(fid::txtCond, fields.condition);
        SetChecked(fid::chkSurround, fields.surround);
        const int result = ShowModal();
        // Written back however the dialog closed: the choice is kept for the
        // next use even after Cancel.
        fields.kind = Checked(fid::chkWith) ? WhileKind::With
                      : Checked(fid::chkWhile) ? WhileKind::While
                                               : WhileKind::Repeat;
        fields.condition = Text(fid::txtCond);
        fields.surround = Checked(fid::chkSurround);
        return result == ids::butOK;
    }

protected:
    void OnCreate() override { Select(fid::chkRepeat); }

    void OnCommand(int id, int code) override {
        if (code != BN_CLICKED) return;
        for (int radio : kRadios) {
            if (radio == id) Select(id);
        }
    }

private:
    // Exactly one of the three is selected, and Tab reaches that one only.
    void Select(int chosen) {
        for (int radio : kRadios) {
            SetChecked(radio, radio == chosen);
            HWND button = Item(radio);
            const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
            SetWindowLongPtrW(button, GWL_STYLE, radio == chosen ? style | WS_TABSTOP : style & ~WS_TABSTOP);
        }
    }
};

}  // namespace

std::unique_ptr<WhileForm> NewTfrmWhile() { return std::make_unique<TfrmWhile>(); }

}  // namespace snipkit
