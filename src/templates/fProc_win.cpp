// The procedure / function dialog (unit fProc): the kind of routine, its
// name, a var block and the ProcHead.txt comment. Created once at start-up;
// the toolbar keeps the fields, so the dialog reopens with the last entries.
#include "templates/template_forms_win.h"
#include "templates/template_ids.h"

namespace snipkit {
namespace {

namespace fid = ids::fproc;

win::FormDef ProcDef() {
    return {L"TfrmProc",
            L"Add Procedure/Function",
            win::kDialogFrameNoButtons,
            win::Centred(),
            win::ClientSize(233, 196),
            {
                // Rows in tab order: the radio buttons row by row, the name,
                // "make &var block", the buttons, and last "use proc &comment",
                // which sits above "make &var block".
                {fid::chkProc, win::kButtonClass, L"&procedure", win::kFirstRadioStyle, 22, 10, 96, 17},
                {fid::chkCons, win::kButtonClass, L"&constructor", win::kRadioStyle, 128, 10, 90, 17},
                {fid::chkFn, win::kButtonClass, L"&function", win::kRadioStyle, 22, 30, 96, 17},
                {fid::chkDest, win::kButtonClass, L"&destructor", win::kRadioStyle, 128, 30, 90, 17},
                {fid::grpName, win::kGroupBoxClass, L" Name ", WS_GROUP, 8, 54, 217, 52},
                {fid::txtName, win::kEditClass, L"", win::kEditStyle, 10, 20, 197, 21, fid::grpName, win::kSunken},
                {fid::chkVars, win::kButtonClass, L"make &var block", win::kCheckBoxStyle, 16, 134, 200, 17},
                {ids::butOK, win::kButtonClass, L"OK", win::kDefaultButtonStyle, 36, 161, 75, 25},
                {ids::butCancel, win::kButtonClass, L"Cancel", win::kButtonStyle, 122, 161, 75, 25},
                {fid::chkComment, win::kButtonClass, L"use proc &comment", win::kCheckBoxStyle, 16, 114, 200, 17},
            }};
}

struct KindRadio {
    ProcKind kind;
    int id;
};
constexpr KindRadio kRadios[] = {
    {ProcKind::Procedure, fid::chkProc},
    {ProcKind::Constructor, fid::chkCons},
    {ProcKind::Function, fid::chkFn},
    {ProcKind::Destructor, fid::chkDest},
};

class TfrmProc : public ProcForm {
public:
    TfrmProc() : ProcForm(ProcDef()) {}

    bool Show(ProcFields& fields) override {
        for (const KindRadio& r : kRadios) {
            if (r.kind == fields.kind) Select(r.id);
        }
        SetText(fid::txtName, fields.name);
        SetChecked(fid::chkVars, fields.vars);
        SetChecked(fid::chkComment, fields.comment);
        const int result = ShowModal();
        // Written back however the dialog closed: the entries are kept for
        // the next use even after Cancel.
        for (const KindRadio& r : kRadios) {
            if (Checked(r.id)) fields.kind = r.kind;
        }
        fields.name = Text(fid::txtName);
        fields.vars = Checked(fid::chkVars);
        fields.comment = Checked(fid::chkComment);
        return result == ids::butOK;
    }

protected:
    void OnCreate() override { Select(fid::chkProc); }

    void OnCommand(int id, int code) override {
        if (code != BN_CLICKED) return;
        for (const KindRadio& r : kRadios) {
            if (r.id == id) Select(id);
        }
    }

private:
    // Exactly one of the four is selected, and Tab reaches that one only.
    void Select(int chosen) {
        for (const KindRadio& r : kRadios) {
            SetChecked(r.id, r.id == chosen);
            HWND button = Item(r.id);
            const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
            SetWindowLongPtrW(button, GWL_STYLE, r.id == chosen ? style | WS_TABSTOP : style & ~WS_TABSTOP);
        }
    }
};

}  // namespace

std::unique_ptr<ProcForm> NewTfrmProc() { return std::make_unique<TfrmProc>(); }

}  // namespace snipkit
