#pragma once
// The window of the Basic, Gameplay and Graphics pages driven as a user drives it: keys on the
// focused control, clicks on tabs and buttons, mouse moves over controls.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "ui/WideText.h"
#include "tests/support/WindowTest.h"

class PresetsTest : public WindowTest {
protected:
    // A settings file with a stored difficulty and these lines after it.
    void Store(const std::string& lines)
    {
        folder.Write("torvel.ini", "[Game Options]\r\nDifficulty Level=3\r\n" + lines);
    }
    // The shipped language file with these lines first: they win over the shipped ones.
    void UseLanguage(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        folder.Write("Language.txt", text + ReadFileBytes(SourceFile("data/Language.txt")));
    }
    void Save() { window->SaveSettings(); }
    std::string Saved(const char* section, const char* key)
    {
        return IniFile(ui::Widen(folder.Path() + "torvel.ini")).ReadString(section, key, "<absent>");
    }
    // The window shown and in front, as the user sees it.
    TfConfig& OpenShown(std::vector<std::string> arguments = {})
    {
        TfConfig& w = Open(std::move(arguments));
        w.Show();
        SetForegroundWindow(w.Handle());
        return w;
    }

    // A key pressed and released on the control that has the focus.
    static void Press(ui::TControl* control, UINT key)
    {
        control->SetFocus();
        SendMessageA(control->Handle(), WM_KEYDOWN, key, 1);
        SendMessageA(control->Handle(), WM_KEYUP, key, 0xC0000001);
    }
    // The Tab key pressed on the focused control, handed to the window's keyboard navigation as
    // the message loop hands it; at once, so that no other program's window (tests run side by
    // side) can take the focus in between.
    static void PressTab(ui::TControl* focused)
    {
        focused->SetFocus();
        MSG key{focused->Handle(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
        IsDialogMessageA(GetAncestor(focused->Handle(), GA_ROOT), &key);
    }
    // The mouse pointer moved over a control.
    static void MoveOver(ui::TControl* control) { SendMessageA(control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); }
    // A click on the page's tab.
    void ChooseTab(ui::TTabSheet* page)
    {
        std::vector<ui::TTabSheet*> tabs = window->pcConfig->VisibleTabs();
        WPARAM index = 0;
        while (index < tabs.size() && tabs[index] != page) ++index;
        ASSERT_LT(index, tabs.size()) << page->Name() << " has no tab";
        RECT tab;
        SendMessageA(window->pcConfig->Handle(), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&tab));
        LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        SendMessageA(window->pcConfig->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(window->pcConfig->Handle(), WM_LBUTTONUP, 0, at);
        ASSERT_EQ(window->pcConfig->ActivePage(), page);
    }
};
