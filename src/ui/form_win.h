// The forms of the program. A form is a top-level window of its own
// registered class (named after the form, "TfrmIndent"), built from one table
// of controls. It stays alive, hidden, between showings, so its fields keep
// what the user typed.
//
// Adding a dialog:
//
//   class TfrmExample : public win::Form {
//   public:
//       TfrmExample()
//           : Form({L"TfrmExample", L"Example", win::kDialogFrame, win::Centred(), win::ClientSize(200, 90),
//                   {
//                       {kPanel1, win::kPanelClass, L"", win::kBevelOuterRaised, 0, 0, 200, 90},
//                       {kTxtName, win::kEditClass, L"", win::kEditStyle, 8, 8, 184, 21, kPanel1, win::kSunken},
//                       {ids::butOK, win::kButtonClass, L"OK", win::kDefaultButtonStyle, 24, 56, 75, 25, kPanel1},
//                       {ids::butCancel, win::kButtonClass, L"Cancel", win::kButtonStyle, 104, 56, 75, 25, kPanel1},
//                   }}) {}
//   protected:
//       void OnShow() override { SetText(kTxtName, ""); }
//       void OnCommand(int id, int code) override {
//           if (id == ids::butOK && code == BN_CLICKED) { /* ModalResult() is already 1 here */ }
//       }
//   };
//
//   if (form.ShowModal() == ids::butOK) { std::string name = form.Text(kTxtName); ... }
//
// A row names the Panel or GroupBox its control sits on (which must come
// earlier in the table); its position is relative to that container. The tab
// order is the order of the rows within each container, a container's
// controls taking its place among its siblings. A form made for one use only
// is created with Create(win::App().Handle()) and destroyed with its object. Buttons with the ids IDOK (1) and IDCANCEL (2)
// close a modal form with that result once their click handler has returned;
// a handler may call SetModalResult(0) to keep the form open. Enter presses
// the focused push button, else the default button (kDefaultButtonStyle);
// Esc presses the IDCANCEL button, if there is one; the close box gives 2.
// Every handler runs inside RunHandler, so an exception ends the handler with
// the error box and the program carries on.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/handles_win.h"
#include "ui/pixmap.h"

namespace snipkit::win {

// ---- Window classes of controls ----
inline constexpr const wchar_t* kButtonClass = L"BUTTON";
inline constexpr const wchar_t* kEditClass = L"EDIT";
inline constexpr const wchar_t* kStaticClass = L"STATIC";
inline constexpr const wchar_t* kListBoxClass = L"LISTBOX";
inline constexpr const wchar_t* kUpDownClass = UPDOWN_CLASSW;
// Containers of this framework: they paint their bevels or frame and pass the
// notifications of the controls on them to the form.
inline constexpr const wchar_t* kPanelClass = L"TPanel";
inline constexpr const wchar_t* kGroupBoxClass = L"TGroupBox";

// ---- Control styles (WS_CHILD and WS_VISIBLE are added by the form) ----
inline constexpr DWORD kButtonStyle = BS_PUSHBUTTON | WS_TABSTOP;
inline constexpr DWORD kDefaultButtonStyle = BS_DEFPUSHBUTTON | WS_TABSTOP;
inline constexpr DWORD kPictureButtonStyle = BS_OWNERDRAW | WS_TABSTOP;  // see SetButtonPicture
inline constexpr DWORD kCheckBoxStyle = BS_AUTOCHECKBOX | WS_TABSTOP;
// The first radio button of a group starts the group; the control after the
// group's last button needs WS_GROUP too (kCheckBoxStyle | WS_GROUP, ...).
inline constexpr DWORD kFirstRadioStyle = BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP;
inline constexpr DWORD kRadioStyle = BS_AUTORADIOBUTTON;
inline constexpr DWORD kLabelStyle = SS_LEFT;
inline constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_TABSTOP;
// Multi-line, no word wrap; Enter inserts a line break instead of pressing
// the default button.
inline constexpr DWORD kMemoStyle = ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP;
inline constexpr DWORD kListStyle = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
// Arrows that attach to the control listed just before them.
inline constexpr DWORD kSpinArrowsStyle = UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
inline constexpr DWORD kSunken = WS_EX_CLIENTEDGE;
// Bevels of a kPanelClass container, each one pixel wide; the outer one
// runs along the panel's edge, the inner one just inside it.
inline constexpr DWORD kBevelOuterRaised = 0x0001;
inline constexpr DWORD kBevelOuterLowered = 0x0002;
inline constexpr DWORD kBevelInnerRaised = 0x0004;
inline constexpr DWORD kBevelInnerLowered = 0x0008;

enum class Visibility { Shown, Hidden };

struct ControlDef {
    ControlDef(int id_, const wchar_t* className_, const wchar_t* text_, DWORD style_, int x_, int y_, int width_,
                int height_, int parent_ = 0, DWORD exStyle_ = 0, Visibility visibility_ = Visibility::Shown)
        : id(id_), className(className_), text(text_), style(style_), x(x_), y(y_), width(width_), height(height_),
          parent(parent_), exStyle(exStyle_), visibility(visibility_) {}

    int id;
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    int x, y, width, height;  // pixels, relative to the container
    int parent;               // id of the Panel or GroupBox; 0 for the form's client area
    DWORD exStyle;
    Visibility visibility;
};

// ---- Form frames ----
struct Frame {
    DWORD style;
    DWORD exStyle;
};
// Small caption bar with a close box only, fixed size.
inline constexpr Frame kToolWindowFrame{WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW};
// Dialog frame with a close box.
inline constexpr Frame kDialogFrame{WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME};
// Dialog frame without any title-bar buttons.
inline constexpr Frame kDialogFrameNoButtons{WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME};
// Sizeable, close box only.
inline constexpr Frame kSizeableFrame{WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0};

struct Placement {
    bool centred;    // centred on the screen at every showing
    int left, top;   // otherwise the outer top-left corner, in screen pixels
};
inline constexpr Placement Centred() { return {true, 0, 0}; }
inline constexpr Placement At(int left, int top) { return {false, left, top}; }

struct Extent {
    bool client;  // the size of the client area, else of the whole window
    int width, height;
};
inline constexpr Extent ClientSize(int width, int height) { return {true, width, height}; }
inline constexpr Extent OuterSize(int width, int height) { return {false, width, height}; }

struct FormDef {
    const wchar_t* className;  // the form's window class, named after the form
    const wchar_t* caption;
    Frame frame;
    Placement placement;
    Extent size;
    std::vector<ControlDef> controls;
};

// The font of every form: "MS Sans Serif", 11 pixels (8 points at 96 dpi).
inline constexpr const wchar_t* kFormFontFace = L"MS Sans Serif";
inline constexpr int kFormFontHeight = -11;

// A font by face and height (negative: character height in pixels); the
// system's GUI font when the face cannot be had at all.
FontHandle MakeFont(const wchar_t* face, int height, int weight = FW_NORMAL, bool underline = false);

class Form {
public:
    explicit Form(FormDef def);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window and its controls, hidden, then runs OnCreate.
    void Create(HWND owner);

    HWND Handle() const { return hwnd_; }
    const FormDef& Def() const { return def_; }
    // The control's window, null for an id the table does not have.
    HWND Item(int id) const;
    const ControlDef* ItemDef(int id) const;

    // Texts are UTF-8.
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    void SetCaption(const std::string& caption);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    void SetFont(int id, const wchar_t* face, int height, int weight = FW_NORMAL, bool underline = false);
    // The panel's background colour (the button face when never set).
    void SetPanelColour(int id, COLORREF colour);
    // The picture of a kPictureButtonStyle button; `disabled` (optional) is
    // drawn while the button is disabled.
    void SetButtonPicture(int id, Pixmap normal, Pixmap disabled = {});
    // The control that gets the focus when the form is shown.
    void SetActiveControl(int id) { activeControl_ = id; }

    bool IsVisible() const;
    // Shows the form without making it modal and brings it to the front;
    // OnShow runs when it was hidden.
    void Show();
    void Hide();
    // Shows the form with the program's other windows disabled until a
    // button or the close box sets the modal result; returns it (1 OK,
    // 2 Cancel) and hides the form.
    int ShowModal();
    bool IsModal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // As the close box: OnClose decides.
    void Close();

    // The form that a window of this program belongs to, if any.
    static Form* FromWindow(HWND hwnd);
    // One message of a message loop: keyboard navigation for forms, then the
    // usual translate and dispatch.
    static void Dispatch(MSG& msg);

protected:
    virtual void OnCreate() {}
    virtual void OnShow() {}
    // Menu commands (code 0) and control notifications; a click is BN_CLICKED.
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    virtual void OnTimer(UINT_PTR /*timerId*/) {}
    // The close box: a modal form closes with 2, any other form hides.
    virtual void OnClose();
    // Any message, before the form's own handling (WM_SIZE for a sizeable
    // form, say); return true when handled, with `result` set.
    virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, LRESULT& /*result*/) { return false; }

private:
    struct Control {
        HWND hwnd;
        std::size_t index;  // its row in def_.controls
    };
    struct Picture {
        int id;
        Pixmap normal;
        Pixmap disabled;
        BitmapHandle normalBitmap;
        BitmapHandle disabledBitmap;
    };

    HWND RequireItem(int id) const;  // throws for an id the table does not have
    void CreateControls();
    void PlaceForShowing();
    void FocusFirstControl();
    void RenderPictures();
    int DefaultButtonId() const;
    bool IsPushButton(HWND hwnd) const;
    void HandleCommand(int id, int code);
    bool DrawItem(const DRAWITEMSTRUCT& item);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    FormDef def_;
    HWND hwnd_ = nullptr;
    FontHandle font_;
    std::vector<Control> controls_;
    std::vector<FontHandle> controlFonts_;
    std::vector<Picture> pictures_;
    HWND lastFocus_ = nullptr;
    int activeControl_ = 0;
    bool keyboardUsed_ = false;
    bool modal_ = false;
    int modalResult_ = 0;
};

}  // namespace snipkit::win
