#pragma once
// The key map: the keys of the keyboard, the functions of the seven groups, the function each key
// holds in the plain and in the Ctrl layer, and what a save writes back. It knows no window: the
// Hot Keys page, the import and the file all work through it.
#include <array>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "settings/IniWrite.h"

class IniFile;

// Group index of the functions whose keys the game fixes: shown, never chosen, moved or saved.
constexpr std::size_t kFixedGroup = 6;
constexpr std::size_t kGroupCount = 7;

enum class KeyLayer { Plain, Ctrl };

// A function: its group and its place among the group's functions; none when group < 0.
struct FunctionRef {
    int group = -1;
    int index = -1;
    explicit operator bool() const { return group >= 0; }
    friend bool operator==(const FunctionRef&, const FunctionRef&) = default;
};

// A key of a layer.
struct KeyRef {
    KeyLayer layer = KeyLayer::Plain;
    std::size_t position = 0;
    friend bool operator==(const KeyRef&, const KeyRef&) = default;
};

// One entry a save writes.
using KeyMapWrite = IniWrite;

struct KeyValue {
    bool ctrl = false;
    std::string keyName;
};
// A value holding "Ctrl-" (letter case counts) is a key of the Ctrl layer, named by all that
// follows the prefix, as the value is written; any other value is a plain key name.
KeyValue ParseKeyValue(std::string_view value);

// The caption of a key: its name, less the last character when the name holds "Alt" or "Win".
std::string KeyCaption(const std::string& keyName);

// A text of the language file with its placeholders ("{key}") replaced by their values, in one
// pass, so that a value holding braces is taken as it stands; an unknown placeholder stays.
std::string FillIn(const std::string& text, std::initializer_list<std::pair<const char*, std::string>> values);

// What a key map file holds, section by section, as its reader gives it: the stored names of
// "Keyboard" in file order, and per group the entries of its section (identifier, value) in file order.
struct KeyMapEntries {
    std::vector<std::string> keyboard;
    std::array<std::vector<std::pair<std::string, std::string>>, kGroupCount> groups;
};
// The sections of a key map file, one profile call each.
KeyMapEntries ReadKeyMapEntries(const IniFile& file);

class KeyMap {
public:
    // The fixed names of the groups, in group order ("Keymap " + name is the section).
    static const std::array<const char*, kGroupCount> kGroupNames;

    // One entry of a group's section.
    struct Function {
        std::string identifier;
        // The language file's text for the identifier; empty: a nameless entry, shown by its
        // identifier and offered in no list.
        std::string name;
        // A kept entry is left as it stands: its value names no key the player's functions may
        // sit on, or it is nameless. It stays kept until the player or an import puts the function
        // on a key or acts on the key its value names.
        bool kept = false;
        std::string value;        // what a kept entry holds; for the others what the file gave them
        std::string loadedValue;  // what the file held at the start
        // The file gave it a key that a later entry of the file holds. It stops when the player or
        // an import acts on that key, or a save writes the function on no key.
        bool shadowed = false;
    };
    struct Group {
        std::string name;     // "Page"
        std::string caption;  // the group's words in the texts about functions ("Pages")
        std::string prefix;   // "W " and "P " for the spell groups, under which the language file shows them
        bool editable = true;
        std::vector<Function> functions;  // file order
    };

    // Group captions, in group order.
    using Captions = std::array<std::string, kGroupCount>;
    // The language file's text for an identifier.
    using ShownName = std::function<std::string(const std::string& identifier)>;

    // Takes the file's keyboard (at most keyCount names, past which there is no key) and bindings.
    // assignable[p]: the player may put functions on key p. A value naming no key, or key 0 for the
    // player's groups (key 0 stands for no key there), leaves its function on no key and is kept.
    // Two entries on one key of a layer: the later one holds it. A fixed function on a plain key
    // holds that key in both layers.
    void Load(const KeyMapEntries& file, const Captions& captions, const std::vector<bool>& assignable,
              const ShownName& shownName);

    // --- Keys
    std::size_t KeyCount() const { return keyNames_.size(); }
    const std::string& KeyName(std::size_t position) const { return keyNames_[position]; }
    const std::vector<std::string>& KeyNames() const { return keyNames_; }
    // The first key with that name, letter case ignored; -1 when none has it.
    int KeyNamed(std::string_view name) const;
    // The key a key value names ("Q", "Ctrl-Q"); none when it names no key.
    std::optional<KeyRef> KeyOfValue(std::string_view value) const;
    // "Q" or "Ctrl-Q": the value naming a key.
    std::string ValueOf(KeyRef key) const;
    bool Assignable(std::size_t position) const;
    // The player may put a function on the key or take its function away: assignable, and not
    // holding a fixed function.
    bool Changeable(KeyRef key) const;

    // --- Functions
    const std::array<Group, kGroupCount>& Groups() const { return groups_; }
    const Group& GroupAt(std::size_t group) const { return groups_[group]; }
    const Function& FunctionAt(FunctionRef f) const;
    // The function of the group shown with that name: spelt so first, else ignoring case; none when none is.
    FunctionRef FunctionNamed(std::size_t group, std::string_view name) const;
    // The function of the group with that identifier, letter case ignored; none when none has it.
    FunctionRef FunctionWithIdentifier(std::size_t group, std::string_view identifier) const;
    // "Actions: Attack", a nameless entry by its identifier ("Pages: PAGE_X").
    std::string Text(FunctionRef f) const;

    // --- Bindings
    FunctionRef At(KeyRef key) const;
    // "Actions: Attack", or empty for a free key.
    std::string Assignment(KeyRef key) const;
    // The key of the layer that holds the function; none when it is on no key of that layer.
    std::optional<std::size_t> PositionIn(KeyLayer layer, FunctionRef f) const;
    // The key that holds a function of the player's groups: the plain one first; none when on no key.
    std::optional<KeyRef> KeyOf(FunctionRef f) const;
    // The functions to which the file gives the key too, which lost it to the one it holds.
    std::vector<FunctionRef> AlsoGiven(KeyRef key) const;

    // The player's or the import's changes; the key must be changeable and the function one of the
    // player's groups. The function leaves the key it held; whatever the key held leaves it, and the
    // kept entries the key's own value named give it up: they are written empty at the next save.
    void Place(FunctionRef f, KeyRef key);
    void Remove(KeyRef key);

    // Bindings of another file named in this program's words: the function, and the value that file gives it.
    struct Imported {
        FunctionRef function;
        std::string value;
    };
    // Puts each function of the player's groups on the key its value names, when that key is
    // changeable; of two on one key, the later. When it places any, the shown layer's changeable keys
    // are emptied first. Returns the number placed; none placed changes nothing.
    int Import(const std::vector<Imported>& bindings, KeyLayer shown);

    // Puts back the bindings of the player's groups that a file gives, read with the rules of Load
    // against this keyboard: each function of this key map takes the value the file gives its
    // identifier (none: no key); fixed functions stay.
    void Restore(const KeyMapEntries& file);

    // --- Saving
    // What a save writes, in order: each function of the player's groups with its key ("" when on
    // no key), except kept entries, which are written only when their value is not the one the file
    // held at the start (so also after a file was put back as it was).
    std::vector<KeyMapWrite> Writes() const;
    // The writes reached the file.
    void Saved();

private:
    std::vector<FunctionRef>& Layer(KeyLayer layer) { return layers_[layer == KeyLayer::Ctrl ? 1 : 0]; }
    const std::vector<FunctionRef>& Layer(KeyLayer layer) const { return layers_[layer == KeyLayer::Ctrl ? 1 : 0]; }
    Function& MutableFunction(FunctionRef f);
    // Binds the entries of a file as Load does, for the groups given.
    void Bind(const KeyMapEntries& file, bool withFixed);
    // The keys a value puts a function of the group on: none, one, or for a fixed plain key both layers.
    std::vector<KeyRef> KeysOfEntry(std::size_t group, std::string_view value) const;
    // The kept entries whose value names the key give it up, and the entries it was taken from give up their claim.
    void Displace(KeyRef key);

    std::vector<std::string> keyNames_;
    std::vector<bool> assignable_;
    std::unordered_map<std::string, int> keyPositions_;  // by folded name, the first of equal names
    std::array<Group, kGroupCount> groups_;
    std::array<std::vector<FunctionRef>, 2> layers_;
};
