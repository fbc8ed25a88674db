#pragma once
#include <vector>

#include "ui/Control.h"

namespace ui {

class TPageControl;

// One page; its controls are placed relative to it.
class TTabSheet : public TControl {
public:
    TTabSheet(TComponent* owner, std::string name);
    const char* ClassName() const override { return "TTabSheet"; }

    TPageControl* PageControl() const;
    void SetCaption(const std::string& caption) override;
    bool TabVisible() const { return tabVisible_; }
    // Hiding the tab of the active page activates the next page whose tab is shown.
    void SetTabVisible(bool visible);
    int PageIndex() const;

protected:
    CreateParams GetCreateParams() const override;
    TBounds WindowBounds() const override;
    bool PaintsBackground() const override { return true; }

private:
    bool tabVisible_ = true;
};

class TPageControl : public TControl {
public:
    using TControl::TControl;
    const char* ClassName() const override { return "TPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    TTabSheet* ActivePage() const { return active_; }
    // The program's change: no OnChange.
    void SetActivePage(TTabSheet* page);
    // The user's change, from the keyboard: OnChange runs as for a click on the tab.
    void ChangeActivePage(TTabSheet* page);
    // The page of the next (or previous) shown tab, round the end; null when no tab is shown.
    TTabSheet* FindNextPage(bool forward) const;
    // Tabs shown, in page order.
    std::vector<TTabSheet*> VisibleTabs() const;

    // After the user changed the active page.
    TNotifyEvent OnChange;

protected:
    CreateParams GetCreateParams() const override;
    void HandleCreated() override;
    bool Notify(void* nmhdr, long long& result) override;
    void ControlInserted(TControl* control) override;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void RebuildTabs();
    void ShowActivePage();
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};

}  // namespace ui
