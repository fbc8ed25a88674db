#pragma once
// A top-level window: the main window or a modal dialog.
#include <string>

#include "ui/Control.h"

struct HFONT__;
typedef HFONT__* HFONT;

namespace ui {

// Single: a fixed frame with a minimise box; Dialog: a fixed frame with only the close box.
enum class TFormBorderStyle { Single, Dialog };

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

    int ScaleValue(int designPixels) const;
    int PixelsPerInch() const { return dpi_; }
    HFONT FontHandle(bool bold) const { return bold ? boldFont_ : font_; }
    bool IsDestroying() const { return destroying_; }
    // Registers a control whose hint is shown as a tool tip.
    void AddToolTip(TControl* control);

protected:
    // A form's subclass calls this first in its destructor: no events run while it dies.
    void BeginDestroy() { destroying_ = true; }
    CreateParams GetCreateParams() const override;
    TBounds WindowBounds() const override;
    void VisibleChanged() override;
    bool PaintsBackground() const override { return true; }
    bool WindowMessage(unsigned msg, unsigned long long wParam, long long lParam, long long& result) override;

private:
    std::string windowClass_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HWND toolTip_ = nullptr;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::Single;
    int clientWidth_ = 0, clientHeight_ = 0;
    TModalResult modalResult_ = TModalResult::None;
    bool modal_ = false;
    bool destroying_ = false;
};

}  // namespace ui
