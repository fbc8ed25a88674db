#pragma once
// The base of every control: a Win32 window with its state kept here, mirrored to the window.
// The window is made when it is first needed (see Handle), once, with the state the control has then.
#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Events.h"

struct HWND__;
typedef HWND__* HWND;

namespace ui {

class TForm;

using TColor = unsigned;  // 0x00BBGGRR
constexpr TColor clDefault = 0xFF000000u;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clNavy = 0x800000;
constexpr TColor clMaroon = 0x000080;

enum class TAlignment { Left, Right, Center };

struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

class TControl : public TComponent {
public:
    TControl(TComponent* owner, std::string name);
    ~TControl() override;

    // Placing a control in a parent makes its window only when the parent is on the screen.
    TControl* Parent() const { return parent_; }
    void SetParent(TControl* parent);
    // The controls placed in this one, in the order they were placed.
    const std::vector<TControl*>& Controls() const { return controls_; }
    TForm* Form() const;  // the form whose window holds this control

    // Bounds in design pixels (120 per inch), relative to the parent's client area.
    const TBounds& Bounds() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width; }
    int Height() const { return bounds_.Height; }

    const std::string& Caption() const { return caption_; }
    virtual void SetCaption(const std::string& caption);
    // The caption as text, without its access-key marks: for wherever a caption is shown or
    // compared as words rather than as a control's label.
    std::string CaptionText() const;
    // The caption as the window shows it: whole where it fits, else cut with "..." (after a control
    // inside a group has taken the free width beside it); a cut caption is the control's tool tip.
    const std::string& ShownCaption() const { return cut_ ? shown_ : caption_; }
    bool CaptionCut() const { return cut_; }
    // What the form's tool tip shows over the control: the whole caption when it is cut, else the
    // part of the hint before its first "|".
    std::string ToolTipText() const;
    const std::string& Hint() const { return hint_; }
    virtual void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible and every parent visible.
    bool Showing() const;

    bool Bold() const { return bold_; }
    void SetBold(bool bold);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color);
    // Background; clDefault takes the parent's.
    TColor Color() const;
    void SetColor(TColor color);

    TNotifyEvent OnClick;
    // The keyboard focus came from another control of the same form, or left for one; focus that
    // comes back from or goes to another window (a message box, another program) is neither.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    // Keyboard focus; Focused() asks the window.
    void SetFocus();
    bool Focused() const;

    // The window; for the component layer and for tests that send real messages. A control gets its
    // window when it comes on the screen (its form shown, it and every parent visible), when its form
    // builds the rest of its windows while the program is idle, or here at the latest, parents first.
    // Null for a control that lies in no form.
    HWND Handle() const;
    bool HandleAllocated() const { return hwnd_ != nullptr; }
    static TControl* FromHandle(HWND hwnd);

    // Runs an event handler; an error that escapes it goes to the application's error box.
    // False when one did.
    template <class F>
    static bool Dispatch(F&& f);
    // Runs the handlers of the user's input to this control (a click, a typed key, a scroll, the
    // focus leaving it) as Dispatch does; then the form's OnUserInput runs.
    bool DispatchInput(const std::function<void()>& handlers);

protected:
    struct CreateParams {
        const char* windowClass = "STATIC";
        unsigned long style = 0;
        unsigned long exStyle = 0;
        bool topLevel = false;  // a form's own window
    };
    virtual CreateParams GetCreateParams() const = 0;
    // The text the window is made with: the caption, or what the control shows instead.
    virtual std::string WindowTextAtCreation() const { return ShownCaption(); }
    // Where the window draws the caption, in screen pixels, for a window of that size: the width
    // (0: the caption is never cut) and, for a caption that wraps, the height.
    struct CaptionRoom {
        int width = 0, height = 0;
    };
    virtual CaptionRoom RoomForCaption(int width, int height) const { return {}; }
    // The window draws an "&" as the mark of an access key.
    virtual bool MarksAccessKeys() const { return true; }
    // The side a caption grows from when its control widens: a left-aligned one to the right.
    virtual TAlignment CaptionAlignment() const { return TAlignment::Left; }
    // Where the window lies, in the parent's client pixels (a form's: on the screen).
    virtual TBounds WindowBounds() const;
    // After the window exists: mirror the state the window needs beyond its caption, style and font.
    virtual void HandleCreated() {}
    // A control was placed in this one.
    virtual void ControlInserted(TControl* control) {}
    // Visible changed; the window follows (a form shows itself as a form does).
    virtual void VisibleChanged();
    // Containers fill their background with their colour.
    virtual bool PaintsBackground() const { return false; }
    // Window height beyond the bounds (a drop-down's list).
    virtual int ExtraHeight() const { return 0; }
    // Notifications reflected from the parent.
    virtual void Command(unsigned code) {}
    virtual bool Notify(void* nmhdr, long long& result) { return false; }
    virtual void Scroll(unsigned code) {}
    // An owner-drawn window of the control asks to be drawn (a DRAWITEMSTRUCT); true when drawn.
    virtual bool DrawItem(void* drawItem) { return false; }
    // A key pressed while the control has the focus, before the form's keyboard handling (Tab,
    // Enter, Esc, the arrows) sees it; true when the control used it.
    virtual bool PreviewKey(unsigned key) { return false; }
    // A mouse move over the control reached its window, at (x, y) in its client pixels; false when
    // it is none of the user's and OnMouseMove is not to run.
    virtual bool MouseMoved(int x, int y) { return true; }
    // The focus left the control's window for window to; runs OnExit when that is another control
    // of the same form. For controls whose focus lies in a window of their own making.
    void FocusLeft(HWND to);
    // The focus came into the control's own window: runs OnEnter when it came from another
    // control of the same form. For the same controls, told of the focus by their notification.
    void FocusEntered();
    // The window's own messages; return true when handled (result in result).
    virtual bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result);

    // Cuts the caption, or widens the control first, so that it fits (ShownCaption); again whenever
    // what the room depends on changes.
    void FitCaption();
    // Makes the window now; nothing when it exists or the control lies in no form.
    void CreateHandle();
    // Makes the windows of this control and of every visible control in it; for controls coming on the screen.
    void CreateShowingHandles();
    // True when the control is on the screen or is coming on it: visible, in a form that is visible.
    bool OnScreen() const;
    void AttachWindow();  // subclass, name property, font
    void ApplyFont(bool redraw = true);
    int Scale(int designPixels) const;
    bool EventsEnabled() const;
    void Click();  // runs OnClick

    HWND hwnd_ = nullptr;

private:
    friend struct ControlProcAccess;
    friend class TForm;
    void Reposition();

    void PlaceInZOrder();
    // Takes the control out of its parent's list of controls.
    void LeaveParent();

    TControl* parent_ = nullptr;
    bool wideWindow_ = false;          // the window takes wide (Unicode) messages
    void (*defaultProc_)() = nullptr;  // the window class's procedure, which the control passes messages on to
    std::vector<TControl*> controls_;
    TBounds bounds_;
    TBounds designBounds_;  // as the layout placed it, before a caption widened it
    std::string caption_;
    std::string shown_;
    bool cut_ = false;
    bool inToolTip_ = false;
    std::string hint_;
    bool showHint_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool bold_ = false;
    TColor fontColor_ = clBlack;
    TColor color_ = clDefault;
    unsigned short nameAtom_ = 0;
    bool inExit_ = false;
};

void ReportException();  // shows the current exception in the application's error box

template <class F>
bool TControl::Dispatch(F&& f)
{
    try {
        f();
        return true;
    } catch (...) {
        ReportException();
        return false;
    }
}

}  // namespace ui
