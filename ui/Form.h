#pragma once
// A top-level window: the main window or a modal dialog.
#include <map>
#include <string>
#include <vector>

#include "ui/Control.h"

struct tagMSG;

struct HFONT__;
typedef HFONT__* HFONT;

namespace ui {

// The face the forms draw their texts in: "MS Sans Serif", for which the layout is designed, where
// the system has it with the glyphs of its own script; else the face of the system's dialogs when
// it has them ("MS Shell Dlg"), else the face the font mapper picks for the script.
std::string WindowFontFace();

// Single: a fixed frame with a minimise box; Dialog: a fixed frame with only the close box.
enum class TFormBorderStyle { Single, Dialog };

class TButton;
class TPageControl;
class TTabSheet;

class TForm : public TControl {
public:
    // windowClass: the name the window class is registered under (outside tools look for it).
    TForm(TComponent* owner, std::string name, std::string windowClass, int fontPixels);
    ~TForm() override;
    const char* ClassName() const override { return "TForm"; }

    void SetBorderStyle(TFormBorderStyle style);
    // Client size in design pixels; the window is centred on the screen.
    void SetClientSize(int width, int height);
    void SetCaption(const std::string& caption) override;

    void Show();
    void Hide();
    // Runs a nested message loop until ModalResult is set or the form is closed.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    // Ends a modal loop; a sent message (a close from another program) wakes it too.
    void SetModalResult(TModalResult result);
    bool Modal() const { return modal_; }
    // Asks OnCloseQuery, then OnClose; hides the form (and ends the program for the main form).
    void Close();

    // The windows of the controls. Showing the form makes those it shows; the rest come while the
    // program is idle, a few at a time, or all at once here, or one by one as they are asked for.
    void CreateAllHandles();
    // Makes at most `most` of the missing windows, in the order of the controls; true while some remain.
    bool CreateMissingHandles(int most);
    bool HandlesComplete() const;
    // A shown form disabled waits for something modal elsewhere, whose wait makes no windows here:
    // the missing ones are made first.
    void SetEnabled(bool enabled) override;

    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    // After the handlers of each piece of the user's input to the form's controls: what depends on
    // all of them is brought up to date here.
    TNotifyEvent OnUserInput;
    // The program comes to the front from another one, which may have changed what it works on.
    TNotifyEvent OnActivate;

    int ScaleValue(int designPixels) const;
    int PixelsPerInch() const { return dpi_; }
    HFONT FontHandle(bool bold) const { return bold ? boldFont_ : font_; }
    // The width of "0" in that font, in screen pixels: the platform spaces a check box's caption by it.
    int DigitWidth(bool bold) const;
    bool IsDestroying() const { return destroying_; }
    // Registers a control whose hint is shown as a tool tip; whenDisabled: also while the control is
    // disabled, from the mouse messages its parent gets over it then.
    void AddToolTip(TControl* control, bool whenDisabled = false);
    // The tool tip window, once a control has registered; for tests.
    HWND ToolTipWindow() const { return toolTip_; }
    // A mouse message of a control with a hint, for the tool tip.
    void RelayToToolTip(HWND control, unsigned msg, unsigned long long wParam, long long lParam);

    // --- Keyboard (ui/Navigation.cpp), as in a dialog of the platform.
    // The order of Tab: controls, and containers whose controls follow in the order they were
    // created. Empty: the form's own controls in the order they were created.
    void SetTabOrder(std::vector<TControl*> order);
    // Where Tab stops now, in order: controls that can take the focus; a radio group and a
    // picture of keys (speed buttons of one parent) stop once, at the checked or last used one.
    std::vector<TControl*> TabStops() const;
    // The control that has the keyboard focus (a combo box for its edit); null when none of this form.
    TControl* FocusedControl() const;
    // Moves the focus as the keyboard does (an edit's text selected); false when the control
    // cannot take it or the control left refused to let it go.
    bool MoveFocus(TControl* control);
    void FocusFirstControl();
    // A control of the form got the focus, by whatever means: a key of a picture is where Tab
    // comes back to it.
    void FocusArrived(TControl* control);
    // Tab, the arrows of a radio group or a picture of keys, Enter, Esc, Ctrl+Tab and
    // Ctrl+PageDown/PageUp, Alt+letter. True when the key was used.
    bool DialogKey(const tagMSG& msg);
    // True while the keyboard moves the focus: a radio button that gets it is not chosen by that.
    bool MovingFocus() const { return movingFocus_; }
    // The button Enter presses and the one Esc presses (the first of each among the form's own).
    TButton* DefaultButton() const;
    TButton* CancelButton() const;
    // A control refused to let the focus go (its exit handler raised an error): the focus
    // returns to it once the error has been shown.
    void ExitRefused(TControl* control);
    // The default look goes to the focused push button, else to the default button.
    void ShowDefaultButton();

protected:
    // A form's subclass calls this first in its destructor: no events run while it dies.
    void BeginDestroy() { destroying_ = true; }
    CreateParams GetCreateParams() const override;
    TBounds WindowBounds() const override;
    void HandleCreated() override;
    void VisibleChanged() override;
    bool PaintsBackground() const override { return true; }
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;

private:
    // The user's change of page; the focus follows into the new page when it was on the old one.
    void ActivatePage(TPageControl* pages, TTabSheet* page);
    bool PressAccessKey(wchar_t key);
    TPageControl* PageControlOfForm() const;
    void Refocus(HWND hwnd);
    static constexpr unsigned kRefocusMessage = 0x8000 + 0x4B;  // WM_APP + 0x4B

    std::string windowClass_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    mutable int digitWidth_[2] = {};  // measured when first asked for
    HWND toolTip_ = nullptr;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::Single;
    int clientWidth_ = 0, clientHeight_ = 0;
    TModalResult modalResult_ = TModalResult::None;
    bool modal_ = false;
    bool destroying_ = false;
    std::vector<TControl*> tabOrder_;
    bool movingFocus_ = false;
    bool exitRefused_ = false;
    HWND savedFocus_ = nullptr;
    HWND lastFocus_ = nullptr;
    // The key last used in each picture of keys, by the keys' parent.
    mutable std::map<const TControl*, TControl*> lastKey_;
};

}  // namespace ui
