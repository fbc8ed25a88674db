#include "tests/hotkeys/HotKeysTest.h"

namespace {

const char* const kKeys[] = {
    "Esc", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12", "~", "1", "2", "3", "4",
    "5", "6", "7", "8", "9", "0", "-", "+", "Back", "Tab", "Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P",
    "[", "]", "\\", "Caps", "A", "S", "D", "F", "G", "H", "J", "K", "L", ";", "'", "Enter", "LShift", "Z",
    "X", "C", "V", "B", "N", "M", ",", ".", "/", "RShift", "WinL", "AltL", "Space", "AltR", "WinR", "Menu"};

}  // namespace

std::vector<std::string> KeyboardNames(std::size_t count)
{
    std::vector<std::string> names;
    for (std::size_t n = 0; n < count; ++n)
        names.push_back("\"" + (n < std::size(kKeys) ? std::string(kKeys[n]) : "Extra" + std::to_string(n)) + "\"");
    return names;
}

std::string KeyboardSection(std::size_t count)
{
    std::string text = "[Keyboard]\r\n";
    const std::vector<std::string> names = KeyboardNames(count);
    for (std::size_t n = 0; n < names.size(); ++n) text += names[n] + "=" + std::to_string(n) + "\r\n";
    return text;
}

// The group captions carry access keys; the texts about keys and functions name the groups without them.
const char* const kTestLanguage =
    "fConfig=Keys Test\r\n"
    "rbPage=&Pages\r\n"
    "rbActions=&Actions\r\n"
    "rbMiscellaneous=M&isc\r\n"
    "rbQuickSlots=Slots\r\n"
    "rbWizardSpells=Wizard\r\n"
    "rbPriestSpells=Priest\r\n"
    "msgAssigned=' is on '\r\n"
    "msgReassign='. Change it?\r\n"
    "msgImportEmpty=Nothing to import.\r\n"
    "PAGE_INV=Inventory\r\n"
    "PAGE_MAP=Map\r\n"
    "ACT_ATTACK=Attack\r\n"
    "ACT_TALK=Talk\r\n"
    "ACT_SNEAK=Sneak\r\n"
    "MISC_SAVE=Quick Save\r\n"
    "MISC_REST=Rest\r\n"
    "QS_ONE=Slot One\r\n"
    "SPWI1=Ember Dart\r\n"
    "SPWI2=Frost Veil\r\n"
    "ODD_SPELL=Odd Spell\r\n"
    "SPPR1=Mending Touch\r\n"
    "FIX_MENU=Game Menu\r\n"
    "FIX_PAUSE=Pause\r\n"
    "FIX_ODD=Odd Fixed\r\n"
    "[Import]\r\n"
    "PAGE_INV=OpenInventory\r\n"
    "PAGE_MAP=OpenMap\r\n"
    "ACT_ATTACK=Attack\r\n"
    "ACT_TALK=Talk\r\n"
    "MISC_SAVE=QuickSave\r\n"
    "MISC_REST=Rest\r\n"
    "QS_ONE=SlotOne\r\n"
    "SPWI1=EmberDart\r\n"
    "SPPR1=MendingTouch\r\n"
    "FIX_PAUSE=Pause\r\n";

const char* const kTestKeymapGroups =
    "[Keymap Page]\r\n"
    "PAGE_INV=I\r\n"
    "PAGE_MAP=\r\n"
    "PAGE_NONAME=M\r\n"
    "[Keymap Actions]\r\n"
    "ACT_ATTACK=A\r\n"
    "ACT_TALK=Ctrl-T\r\n"
    "ACT_SNEAK=\r\n"
    "[Keymap Miscellaneous]\r\n"
    "MISC_SAVE=Ctrl-Enter\r\n"
    "MISC_REST=Q\r\n"
    "[Keymap Quick Slots]\r\n"
    "QS_ONE=Nowhere\r\n"
    "[Keymap Wizard Spells]\r\n"
    "SPWI1=Ctrl-q\r\n"
    "SPWI2=\r\n"
    "ODD_SPELL=N\r\n"
    "[Keymap Priest Spells]\r\n"
    "SPPR1=ctrl-R\r\n"
    "[Keymap Fixed]\r\n"
    "FIX_MENU=Esc\r\n"
    "FIX_PAUSE=Space\r\n"
    "FIX_ODD=G\r\n"
    "[Game Extras]\r\n"
    "Kept=yes\r\n";

TfConfig& HotKeysTest::OpenKeys(const std::string& keymap, const std::string& language)
{
    folder.Write("Language.txt", language);
    if (keymap.empty())
        folder.Remove("keymap.ini");
    else
        folder.Write("keymap.ini", keymap);
    return Open();
}

ui::TSpeedButton* HotKeysTest::Key(const std::string& keyName) const
{
    const int position = window->KeyNamed(keyName);
    EXPECT_GE(position, 0) << "no key " << keyName;
    return position < 0 ? nullptr : window->keyButtons[static_cast<std::size_t>(position)];
}

std::string HotKeysTest::Held(KeyLayer layer, const std::string& keyName) const
{
    const int position = window->KeyNamed(keyName);
    EXPECT_GE(position, 0) << "no key " << keyName;
    return position < 0 ? std::string() : window->keyMap.Assignment({layer, static_cast<std::size_t>(position)});
}

std::vector<std::string> HotKeysTest::Layer(KeyLayer layer) const
{
    std::vector<std::string> all;
    for (std::size_t p = 0; p < window->keyMap.KeyCount(); ++p) all.push_back(window->keyMap.Assignment({layer, p}));
    return all;
}

std::vector<std::string> HotKeysTest::Boxes() const
{
    std::vector<std::string> texts;
    for (const auto& box : dialogs.Boxes()) texts.push_back(box.text);
    return texts;
}

std::vector<std::string> HotKeysTest::ListTexts() const
{
    std::vector<std::string> texts;
    for (std::size_t g = 0; g < 6; ++g) texts.push_back(window->groupLists[g]->Text());
    return texts;
}

void HotKeysTest::Choose(ui::TComboBox* list, const std::string& text)
{
    list->SetText(text);
    if (list->OnSelect) list->OnSelect(list);
}
