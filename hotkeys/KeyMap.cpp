// The key map model: keys, functions, the two layers of bindings, and the writes of a save.
#include "hotkeys/KeyMap.h"

#include <algorithm>
#include <map>

#include "lang/LanguageIndex.h"
#include "settings/IniFile.h"
#include "ui/SystemText.h"

namespace {

constexpr std::string_view kCtrlPrefix = "Ctrl-";

// The name as "Keyboard" stores it, in quotes: without its first and last character.
std::string StoredKeyName(const std::string& stored)
{
    return stored.size() > 2 ? stored.substr(1, stored.size() - 2) : std::string();
}

}  // namespace

const std::array<const char*, kGroupCount> KeyMap::kGroupNames = {
    "Page", "Actions", "Miscellaneous", "Quick Slots", "Wizard Spells", "Priest Spells", "Fixed"};

KeyValue ParseKeyValue(std::string_view value)
{
    const std::size_t prefix = value.find(kCtrlPrefix);
    if (prefix == std::string_view::npos) return {false, std::string(value)};
    return {true, std::string(value.substr(prefix + kCtrlPrefix.size()))};
}

std::string KeyCaption(const std::string& keyName)
{
    const bool shortened = keyName.find("Alt") != std::string::npos || keyName.find("Win") != std::string::npos;
    return shortened ? keyName.substr(0, keyName.size() - 1) : keyName;
}

std::string FillIn(const std::string& text, std::initializer_list<std::pair<const char*, std::string>> values)
{
    std::string filled;
    std::size_t at = 0;
    for (std::size_t open = ui::FindChar(text, '{'); open != std::string::npos; open = ui::FindChar(text, '{', at)) {
        const std::size_t close = ui::FindChar(text, '}', open);
        if (close == std::string::npos) break;
        const std::string name = text.substr(open + 1, close - open - 1);
        auto value = std::find_if(values.begin(), values.end(), [&](const auto& v) { return name == v.first; });
        filled += text.substr(at, open - at);
        filled += value != values.end() ? value->second : text.substr(open, close - open + 1);
        at = close + 1;
    }
    return filled + text.substr(at);
}

KeyMapEntries ReadKeyMapEntries(const IniFile& file)
{
    KeyMapEntries entries;
    entries.keyboard = file.ReadSection("Keyboard");
    for (std::size_t g = 0; g < kGroupCount; ++g)
        for (auto& [identifier, value] : file.ReadSectionEntries(std::string("Keymap ") + KeyMap::kGroupNames[g]))
            entries.groups[g].emplace_back(identifier, value.value_or(std::string()));
    return entries;
}

// --- Building

void KeyMap::Load(const KeyMapEntries& file, const Captions& captions, const std::vector<bool>& assignable,
                  const ShownName& shownName)
{
    // Names past the last key have no key to show them and are left out.
    keyNames_.clear();
    keyPositions_.clear();
    for (std::size_t n = 0; n < std::min(file.keyboard.size(), assignable.size()); ++n) {
        keyNames_.push_back(StoredKeyName(file.keyboard[n]));
        if (!keyNames_[n].empty()) keyPositions_.try_emplace(FoldedText(keyNames_[n]), static_cast<int>(n));
    }
    assignable_.assign(assignable.begin(), assignable.begin() + static_cast<std::ptrdiff_t>(keyNames_.size()));
    for (auto& layer : layers_) layer.assign(keyNames_.size(), FunctionRef{});

    for (std::size_t g = 0; g < kGroupCount; ++g) {
        Group& group = groups_[g];
        group = Group{kGroupNames[g], captions[g], g == 4 ? "W " : g == 5 ? "P " : "", g != kFixedGroup, {}};
        for (const auto& [identifier, value] : file.groups[g])
            group.functions.push_back(Function{identifier, shownName(identifier), false, value, value});
    }
    Bind(file, true);
}

void KeyMap::Bind(const KeyMapEntries& file, bool withFixed)
{
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        if (g == kFixedGroup && !withFixed) continue;
        // The profile reader's rule: identifiers that differ only in the case of A to Z are one entry.
        std::unordered_map<std::string, int> byIdentifier;
        for (std::size_t i = 0; i < groups_[g].functions.size(); ++i)
            byIdentifier.try_emplace(FoldedKey(groups_[g].functions[i].identifier), static_cast<int>(i));
        for (const auto& [identifier, value] : file.groups[g]) {
            auto found = byIdentifier.find(FoldedKey(identifier));
            if (found == byIdentifier.end()) continue;
            const FunctionRef f{static_cast<int>(g), found->second};
            Function& function = MutableFunction(f);
            const std::vector<KeyRef> keys = KeysOfEntry(g, value);
            function.value = value;
            // A nameless entry stays as the file has it while its key is left alone.
            function.kept = !value.empty() && (keys.empty() || function.name.empty());
            for (const KeyRef& key : keys) {
                // The game's own functions keep their keys; the later of two entries takes a key.
                const FunctionRef held = At(key);
                if (held && !groups_[static_cast<std::size_t>(held.group)].editable && g != kFixedGroup) continue;
                Layer(key.layer)[key.position] = f;
            }
        }
    }
    // The entries that lost the key the file gave them to another.
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        if (g == kFixedGroup && !withFixed) continue;
        for (std::size_t i = 0; i < groups_[g].functions.size(); ++i) {
            Function& function = groups_[g].functions[i];
            function.shadowed = !KeysOfEntry(g, function.value).empty() && !KeyOf({static_cast<int>(g), static_cast<int>(i)});
        }
    }
}

std::vector<KeyRef> KeyMap::KeysOfEntry(std::size_t group, std::string_view value) const
{
    const std::optional<KeyRef> key = KeyOfValue(value);
    if (!key || (group != kFixedGroup && key->position == 0)) return {};
    if (group == kFixedGroup && key->layer == KeyLayer::Plain) return {*key, KeyRef{KeyLayer::Ctrl, key->position}};
    return {*key};
}

// --- Keys

int KeyMap::KeyNamed(std::string_view name) const
{
    if (name.empty()) return -1;
    auto found = keyPositions_.find(FoldedText(name));
    return found == keyPositions_.end() ? -1 : found->second;
}

std::optional<KeyRef> KeyMap::KeyOfValue(std::string_view value) const
{
    const KeyValue parsed = ParseKeyValue(value);
    const int position = KeyNamed(parsed.keyName);
    if (position < 0) return std::nullopt;
    return KeyRef{parsed.ctrl ? KeyLayer::Ctrl : KeyLayer::Plain, static_cast<std::size_t>(position)};
}

std::string KeyMap::ValueOf(KeyRef key) const
{
    return (key.layer == KeyLayer::Ctrl ? std::string(kCtrlPrefix) : std::string()) + keyNames_[key.position];
}

bool KeyMap::Assignable(std::size_t position) const { return position < assignable_.size() && assignable_[position]; }

bool KeyMap::Changeable(KeyRef key) const
{
    if (key.position == 0 || !Assignable(key.position)) return false;
    const FunctionRef held = At(key);
    return !held || groups_[static_cast<std::size_t>(held.group)].editable;
}

// --- Functions

const KeyMap::Function& KeyMap::FunctionAt(FunctionRef f) const
{
    return groups_[static_cast<std::size_t>(f.group)].functions[static_cast<std::size_t>(f.index)];
}

KeyMap::Function& KeyMap::MutableFunction(FunctionRef f)
{
    return groups_[static_cast<std::size_t>(f.group)].functions[static_cast<std::size_t>(f.index)];
}

FunctionRef KeyMap::FunctionNamed(std::size_t group, std::string_view name) const
{
    if (group >= kGroupCount || name.empty()) return {};
    const auto& functions = groups_[group].functions;
    auto ref = [&](auto it) { return FunctionRef{static_cast<int>(group), static_cast<int>(it - functions.begin())}; };
    auto exact = std::find_if(functions.begin(), functions.end(), [&](const Function& f) { return f.name == name; });
    if (exact != functions.end()) return ref(exact);
    auto folded = std::find_if(functions.begin(), functions.end(), [&](const Function& f) {
        return !f.name.empty() && SameTextIgnoringCase(f.name, name);
    });
    return folded != functions.end() ? ref(folded) : FunctionRef{};
}

FunctionRef KeyMap::FunctionWithIdentifier(std::size_t group, std::string_view identifier) const
{
    const auto& functions = groups_[group].functions;
    const std::string folded = FoldedKey(identifier);
    for (std::size_t i = 0; i < functions.size(); ++i)
        if (FoldedKey(functions[i].identifier) == folded) return {static_cast<int>(group), static_cast<int>(i)};
    return {};
}

std::string KeyMap::Text(FunctionRef f) const
{
    const Function& function = FunctionAt(f);
    return groups_[static_cast<std::size_t>(f.group)].caption + ": " +
           (function.name.empty() ? function.identifier : function.name);
}

// --- Bindings

FunctionRef KeyMap::At(KeyRef key) const
{
    const auto& layer = Layer(key.layer);
    return key.position < layer.size() ? layer[key.position] : FunctionRef{};
}

std::string KeyMap::Assignment(KeyRef key) const
{
    const FunctionRef f = At(key);
    return f ? Text(f) : std::string();
}

std::optional<std::size_t> KeyMap::PositionIn(KeyLayer layer, FunctionRef f) const
{
    const auto& keys = Layer(layer);
    auto found = std::find(keys.begin(), keys.end(), f);
    if (!f || found == keys.end()) return std::nullopt;
    return static_cast<std::size_t>(found - keys.begin());
}

std::optional<KeyRef> KeyMap::KeyOf(FunctionRef f) const
{
    for (KeyLayer layer : {KeyLayer::Plain, KeyLayer::Ctrl})
        if (auto position = PositionIn(layer, f)) return KeyRef{layer, *position};
    return std::nullopt;
}

std::vector<FunctionRef> KeyMap::AlsoGiven(KeyRef key) const
{
    std::vector<FunctionRef> others;
    for (std::size_t g = 0; g < kGroupCount; ++g)
        for (std::size_t i = 0; i < groups_[g].functions.size(); ++i) {
            const FunctionRef f{static_cast<int>(g), static_cast<int>(i)};
            if (!groups_[g].functions[i].shadowed) continue;
            const std::vector<KeyRef> keys = KeysOfEntry(g, groups_[g].functions[i].value);
            if (std::find(keys.begin(), keys.end(), key) != keys.end()) others.push_back(f);
        }
    return others;
}

void KeyMap::Displace(KeyRef key)
{
    for (std::size_t g = 0; g < kFixedGroup; ++g)
        for (Function& function : groups_[g].functions) {
            if (!function.kept && !function.shadowed) continue;
            const std::vector<KeyRef> keys = KeysOfEntry(g, function.value);
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) continue;
            function.kept = false;
            function.shadowed = false;
        }
}

void KeyMap::Place(FunctionRef f, KeyRef key)
{
    for (auto& layer : layers_) std::replace(layer.begin(), layer.end(), f, FunctionRef{});
    Displace(key);
    Layer(key.layer)[key.position] = f;
    MutableFunction(f).kept = false;
    MutableFunction(f).shadowed = false;
}

void KeyMap::Remove(KeyRef key)
{
    Displace(key);
    Layer(key.layer)[key.position] = {};
}

int KeyMap::Import(const std::vector<Imported>& bindings, KeyLayer shown)
{
    // Where each function goes, the later of two on one key winning, before anything changes.
    std::map<std::pair<int, std::size_t>, FunctionRef> plan;
    for (const Imported& binding : bindings) {
        if (!binding.function || !groups_[static_cast<std::size_t>(binding.function.group)].editable) continue;
        const std::optional<KeyRef> key = KeyOfValue(binding.value);
        if (!key || !Changeable(*key)) continue;
        std::erase_if(plan, [&](const auto& placed) { return placed.second == binding.function; });
        plan[{key->layer == KeyLayer::Ctrl ? 1 : 0, key->position}] = binding.function;
    }
    if (plan.empty()) return 0;
    for (std::size_t p = 0; p < KeyCount(); ++p)
        if (const KeyRef key{shown, p}; Changeable(key) && At(key)) Remove(key);
    for (const auto& [where, f] : plan) Place(f, KeyRef{where.first ? KeyLayer::Ctrl : KeyLayer::Plain, where.second});
    return static_cast<int>(plan.size());
}

void KeyMap::Restore(const KeyMapEntries& file)
{
    for (std::size_t g = 0; g < kFixedGroup; ++g)
        for (std::size_t i = 0; i < groups_[g].functions.size(); ++i) {
            const FunctionRef f{static_cast<int>(g), static_cast<int>(i)};
            for (auto& layer : layers_) std::replace(layer.begin(), layer.end(), f, FunctionRef{});
            MutableFunction(f).kept = false;
            MutableFunction(f).value.clear();
        }
    Bind(file, false);
}

// --- Saving

std::vector<KeyMapWrite> KeyMap::Writes() const
{
    std::vector<KeyMapWrite> writes;
    for (std::size_t g = 0; g < kFixedGroup; ++g) {
        const std::string section = std::string("Keymap ") + kGroupNames[g];
        for (std::size_t i = 0; i < groups_[g].functions.size(); ++i) {
            const Function& function = groups_[g].functions[i];
            if (function.kept) {
                if (function.value != function.loadedValue) writes.push_back({section, function.identifier, function.value});
                continue;
            }
            const std::optional<KeyRef> key = KeyOf({static_cast<int>(g), static_cast<int>(i)});
            writes.push_back({section, function.identifier, key ? ValueOf(*key) : std::string()});
        }
    }
    return writes;
}

void KeyMap::Saved()
{
    // Every entry but a kept one was written with the key it is on: one that lost its key to
    // another is on none now in the file too.
    for (std::size_t g = 0; g < kFixedGroup; ++g)
        for (Function& function : groups_[g].functions)
            if (!function.kept) function.shadowed = false;
}
