// The if...then dialog (unit fIF): the condition, an optional else branch,
// the indent of the statement's own lines and whether the selection becomes
// the then-branch. Made afresh for each use, so it always opens with its
// defaults; the command builds the text once the dialog has closed.
#include <algorithm>
#include <optional>
#include <string>

#include "format/indent_rules.h"
#include "templates/template_forms_win.h"
#include "templates/template_ids.h"

namespace snipkit {
namespace {

namespace fid = ids::fif;

// Three characters hold every value of the range and a sign; more would only
// let a typed number run the indent into thousands of blanks.
constexpr int kSpinTextLimit = 3;

win::FormDef IfDef() {
    return {L"TfrmIF",
            L"Insert IF...THEN...",
            win::kDialogFrame,
            win::Centred(),
            win::ClientSize(233, 178),
            {
                // Rows in tab order; the table places them top to bottom as
                // group box, check boxes, indent field, buttons.
                {fid::grpCond, win::kGroupBoxClass, L" Condition ", 0, 8, 6, 217, 52},
                {fid::txtCond, win::kEditClass, L"", win::kEditStyle, 10, 20, 197, 21, fid::grpCond, win::kSunken},
                {ids::butOK, win::kButtonClass, L"&OK", win::kDefaultButtonStyle, 36, 143, 75, 25},
                {ids::butCancel, win::kButtonClass, L"&Cancel", win::kButtonStyle, 122, 143, 75, 25},
                {fid::chkElse, win::kButtonClass, L"create &ELSE", win::kCheckBoxStyle, 16, 66, 200, 17},
                {fid::labSpin, win::kStaticClass, L"Spaces to Indent:", win::kLabelStyle, 16, 112, 86, 13},
                {fid::spin1, win::kEditClass, L"2", win::kEditStyle, 104, 108, 49, 21, 0, win::kSunken},
                // The arrows take their place inside the field's right edge.
                {fid::spin1Arrows, win::kUpDownClass, L"", win::kSpinArrowsStyle, 0, 0, 15, 21},
                {fid::chkSurround, win::kButtonClass, L"&surround existing code", win::kCheckBoxStyle, 16, 86, 200,
                 17},
            }};
}

class TfrmIF : public IfForm {
public:
    TfrmIF() : IfForm(IfDef()) {}

    bool Show(IfDialogFields& fields) override {
        SetText(fid::txtCond, fields.condition);
        SetText(fid::spin1, fields.spinText);
        SetChecked(fid::chkElse, fields.withElse);
        SetChecked(fid::chkSurround, fields.surround);
        const int result = ShowModal();
        fields.condition = Text(fid::txtCond);
        fields.spinText = Text(fid::spin1);
        fields.withElse = Checked(fid::chkElse);
        fields.surround = Checked(fid::chkSurround);
        return result == ids::butOK;
    }

protected:
    void OnCreate() override {
        SendMessageW(Item(fid::spin1Arrows), UDM_SETRANGE32, kIfIndentMin, kIfIndentMax);
        SendMessageW(Item(fid::spin1Arrows), UDM_SETPOS32, 0, kIfIndentDefault);
        SendMessageW(Item(fid::spin1), EM_SETLIMITTEXT, kSpinTextLimit, 0);
    }

    void OnCommand(int id, int code) override {
        // Only while the dialog is up: the field also loses the focus when the
        // dialog hides, and by then OK (or Enter) has taken the value as typed.
        if (id == fid::spin1 && code == EN_KILLFOCUS && IsModal() && ModalResult() == 0) CheckSpinRange();
    }

private:
    // A number outside the range is pulled back to its nearest end as the
    // field is left; text that is no number stays (the command counts it as 1).
    void CheckSpinRange() {
        const std::optional<int> typed = ParseWholeNumber(Text(fid::spin1));
        if (!typed) return;
        const int held = std::clamp(*typed, kIfIndentMin, kIfIndentMax);
        if (held != *typed) SetText(fid::spin1, std::to_string(held));
    }
};

}  // namespace

std::unique_ptr<IfForm> NewTfrmIF() { return std::make_unique<TfrmIF>(); }

}  // namespace snipkit
