#pragma once
// The texts a key map is made of. An assignment text names a group and a function,
// "Actions: Attack"; a key value names a key of a layer, "Q" plain or "Ctrl-Q" Ctrl.
#include <cstddef>
#include <string>
#include <string_view>

namespace ui {
class TComboBox;
}

// Group index of the functions whose keys the game fixes: listed, shown, never chosen or saved.
constexpr std::size_t kFixedGroup = 6;

// What stands before the first ":" of an assignment text (the whole text when it has none).
std::string AssignmentGroup(std::string_view assignment);
// What follows the first ":" and the blank after it, whole; empty without a ":".
std::string AssignmentFunction(std::string_view assignment);

struct KeyValue {
    bool ctrl = false;
    std::string keyName;
};
// A value holding "Ctrl-" (letter case counts) is a key of the Ctrl layer, named by all that
// follows the prefix, as the value is written; any other value is a plain key name.
KeyValue ParseKeyValue(std::string_view value);

// The caption of a key: its name, less the last character when the name holds "Alt" or "Win".
std::string KeyCaption(const std::string& keyName);

// "W " for the wizard spell list, "P " for the priest spell list (told by their tags 4 and 5),
// else empty: the prefix under which the language file's display list shows a list's items.
std::string SpellPrefixOf(const ui::TComboBox& list);
