// The save-to-stash dialog (unit fSave): a file name, a description and the
// captured text, which the user may still edit before it is written.
#include <exception>

#include "stash/stash_forms_win.h"
#include "stash/stash_ids.h"
#include "ui/modal_win.h"

namespace snipkit {
namespace {

namespace fsave = ids::fsave;

constexpr DWORD kTextBoxStyle = win::kMemoStyle | WS_HSCROLL | WS_VSCROLL;

class TfrmSave : public SaveForm {
public:
    TfrmSave()
        : SaveForm(
              {L"TfrmSave",
               L"Save code to stash",
               win::kToolWindowFrame,
               win::Centred(),
               win::ClientSize(312, 227),
               {
                   {fsave::Panel1, win::kPanelClass, L"", win::kBevelOuterRaised, 0, 0, 312, 227},
                   {fsave::labName, win::kStaticClass, L"FileName:", win::kLabelStyle, 8, 12, 62, 13, fsave::Panel1},
                   {fsave::txtName, win::kEditClass, L"", win::kEditStyle, 72, 8, 232, 21, fsave::Panel1, win::kSunken},
                   {fsave::labDesc, win::kStaticClass, L"Description:", win::kLabelStyle, 8, 38, 62, 13, fsave::Panel1},
                   {fsave::txtDesc, win::kEditClass, L"", win::kEditStyle, 72, 34, 232, 21, fsave::Panel1,
                    win::kSunken},
                   {fsave::labView, win::kStaticClass, L"View of clipped code:", win::kLabelStyle, 8, 62, 160, 13,
                    fsave::Panel1},
                   {fsave::Memo1, win::kEditClass, L"", kTextBoxStyle, 8, 78, 296, 108, fsave::Panel1, win::kSunken},
                   {ids::butOK, win::kButtonClass, L"OK", win::kDefaultButtonStyle, 77, 194, 75, 25, fsave::Panel1},
                   {ids::butCancel, win::kButtonClass, L"Cancel", win::kButtonStyle, 160, 194, 75, 25, fsave::Panel1},
               }}) {}

    void Show(SaveFields& fields, const std::function<bool(const SaveFields&)>& onOK) override {
        SetText(fsave::txtName, fields.name);
        SetText(fsave::txtDesc, fields.desc);
        SetText(fsave::Memo1, fields.memoText);
        onOK_ = &onOK;
        ShowModal();
        onOK_ = nullptr;
        // Whatever the user typed stays for the next opening, saved or not.
        fields = CurrentFields();
    }

protected:
    void OnCommand(int id, int code) override {
        if (id == ids::butOK && code == BN_CLICKED) butOKClick();
    }

private:
    SaveFields CurrentFields() const { return {Text(fsave::txtName), Text(fsave::txtDesc), Text(fsave::Memo1)}; }

    // Only a save that went through closes the dialog: after a refused name
    // or a failed write everything stays as the user left it, to be put right.
    void butOKClick() {
        bool saved = false;
        bool nameRefused = false;
        try {
            saved = onOK_ != nullptr && (*onOK_)(CurrentFields());
            nameRefused = !saved;
        } catch (const std::exception& e) {
            win::ShowErrorBox(e);
        }
        if (saved) return;
        SetModalResult(0);
        // The message was about the name: that is where the fix goes.
        if (nameRefused) {
            SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(fsave::txtName)), TRUE);
        }
    }

    const std::function<bool(const SaveFields&)>* onOK_ = nullptr;
};

}  // namespace

std::unique_ptr<SaveForm> NewTfrmSave() { return std::make_unique<TfrmSave>(); }

}  // namespace snipkit
