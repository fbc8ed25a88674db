#pragma once
// A game folder with a small key map and language file of the tests' own, and the window built in it.
#include <string>
#include <vector>

#include "tests/support/WindowTest.h"

// "[Keyboard]" with count quoted key names: those of a common keyboard in key-position order, and
// made-up ones past the 72nd.
std::string KeyboardSection(std::size_t count = 72);
// The same names as the section stores them, in quotes.
std::vector<std::string> KeyboardNames(std::size_t count = 72);

// Group captions: Pages, Actions, Misc, Slots, Wizard, Priest; the questions read
// "'Q' is on 'Misc: Rest'. Change it?".
extern const char* const kTestLanguage;
// The sections of the key map after "Keyboard": a binding of each kind, in each group, with the
// values that name no key, a Ctrl value with a long key name, fixed functions.
extern const char* const kTestKeymapGroups;

class HotKeysTest : public WindowTest {
protected:
    // An empty key map: no file at all.
    TfConfig& OpenKeys(const std::string& keymap = KeyboardSection() + kTestKeymapGroups,
                       const std::string& language = kTestLanguage);
    // The key button of a key name.
    ui::TSpeedButton* Key(const std::string& keyName) const;
    // What the key of that name holds in a layer, in words ("Misc: Rest"); every key of a layer.
    std::string Plain(const std::string& keyName) const { return Held(KeyLayer::Plain, keyName); }
    std::string Ctrl(const std::string& keyName) const { return Held(KeyLayer::Ctrl, keyName); }
    std::string Held(KeyLayer layer, const std::string& keyName) const;
    std::vector<std::string> Layer(KeyLayer layer) const;
    // A choice in a list through the component layer: its text set and settled on, as the user does it.
    static void Choose(ui::TComboBox* list, const std::string& text);
    // The texts of the message boxes shown so far.
    std::vector<std::string> Boxes() const;
    // The texts the six editable lists show, in group order.
    std::vector<std::string> ListTexts() const;
};
