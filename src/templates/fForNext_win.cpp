// The for loop dialog (unit fForNext): loop variable, range, direction and
// whether to wrap the selection. Created once at start-up; the toolbar keeps
// the fields, so the dialog reopens with what was entered the last time.
#include "templates/template_forms_win.h"
#include "templates/template_ids.h"

namespace snipkit {
namespace {

namespace fid = ids::ffornext;

win::FormDef ForNextDef() {
    return {L"TfrmForNext",
            L"Insert FOR...NEXT",
            win::kDialogFrame,
            win::Centred(),
            win::ClientSize(233, 204),
            {
                {fid::grpVar, win::kGroupBoxClass, L" Variable ", 0, 8, 6, 217, 52},
                {fid::txtVar, win::kEditClass, L"", win::kEditStyle, 10, 20, 197, 21, fid::grpVar, win::kSunken},
                {fid::grpRange, win::kGroupBoxClass, L"&Range", 0, 8, 64, 217, 52},
                // The group box caption's access key: a label of no size just
                // ahead of the start field, so Alt+R moves into the range as a
                // label's key moves to the control after it.
                {fid::keyRange, win::kStaticClass, L"&Range", win::kLabelStyle, 0, 0, 0, 0, fid::grpRange},
                {fid::txtMin, win::kEditClass, L"", win::kEditStyle, 10, 20, 86, 21, fid::grpRange, win::kSunken},
                {fid::labTo, win::kStaticClass, L"to", win::kLabelStyle | SS_CENTER, 96, 24, 25, 13, fid::grpRange},
                {fid::txtMax, win::kEditClass, L"", win::kEditStyle, 121, 20, 86, 21, fid::grpRange, win::kSunken},
                {fid::chkDownto, win::kButtonClass, L"&downto", win::kCheckBoxStyle, 16, 124, 200, 17},
                {fid::chkSurround, win::kButtonClass, L"&surround existing code", win::kCheckBoxStyle, 16, 144, 200,
                 17},
                {ids::butOK, win::kButtonClass, L"&OK", win::kDefaultButtonStyle, 36, 171, 75, 25},
                {ids::butCancel, win::kButtonClass, L"&Cancel", win::kButtonStyle, 122, 171, 75, 25},
            }};
}

class TfrmForNext : public ForNextForm {
public:
    TfrmForNext() : ForNextForm(ForNextDef()) {}

    bool Show(ForFields& fields) override {
        SetText(fid::txtVar, fields.variable);
        SetText(fid::txtMin, fields.low);
        SetText(fid::txtMax, fields.high);
        SetChecked(fid::chkDownto, fields.downto);
        SetChecked(fid::chkSurround, fields.surround);
        const int result = ShowModal();
        // Written back however the dialog closed: the entries are kept for
        // the next use even after Cancel.
        fields.variable = Text(fid::txtVar);
        fields.low = Text(fid::txtMin);
        fields.high = Text(fid::txtMax);
        fields.downto = Checked(fid::chkDownto);
        fields.surround = Checked(fid::chkSurround);
        return result == ids::butOK;
    }

protected:
    void OnShow() override {
        // The variable field gets the focus; a kept entry is selected, ready
        // to be typed over.
        SendMessageW(Item(fid::txtVar), EM_SETSEL, 0, -1);
    }
};

}  // namespace

std::unique_ptr<ForNextForm> NewTfrmForNext() { return std::make_unique<TfrmForNext>(); }

}  // namespace snipkit
