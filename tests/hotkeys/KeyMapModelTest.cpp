// The key map without a window: what the file's entries put on the keys, and what a save writes
// after the player's and the import's changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "app/Main.h"
#include "hotkeys/KeyMap.h"
#include "tests/hotkeys/HotKeysTest.h"

namespace {

const std::map<std::string, std::string> kNames = {
    {"PAGE_INV", "Inventory"}, {"PAGE_MAP", "Area Map"}, {"PAGE_BOOK", "Spellbook"}, {"ACT_ATTACK", "Attack"},
    {"ACT_TALK", "Talk"},      {"ACT_SNEAK", "Sneak"},   {"ACT_BANDAGE", "Bandage"}, {"ACT_THROW", "Throw"},
    {"ACT_HALT", "Halt"},      {"FIX_MENU", "Game Menu"}};

// Each kind of entry on keys of its own: the player's function on key 0 (no key for it), a nameless
// entry that takes B from the function before it, a nameless one alone on N, a value naming no key,
// the player's function on a key the game's function takes later.
const std::vector<std::pair<std::size_t, std::vector<std::pair<std::string, std::string>>>> kFile = {
    {0, {{"PAGE_INV", "Esc"}, {"PAGE_MAP", "B"}, {"PAGE_NOLANG", "B"}, {"PAGE_BOOK", ""}, {"PAGE_ALONE", "N"}}},
    {1,
     {{"ACT_ATTACK", "Nowhere"}, {"ACT_TALK", "T"}, {"ACT_SNEAK", "G"}, {"ACT_BANDAGE", ""}, {"ACT_THROW", ""},
      {"ACT_HALT", "F3"}}},
    {6, {{"FIX_MENU", "G"}}},
};

class KeyMapModelTest : public ::testing::Test {
public:
    void SetUp() override
    {
        KeyMapEntries file;
        file.keyboard = KeyboardNames();
        for (const auto& [group, entries] : kFile) file.groups[group] = entries;
        std::vector<bool> assignable;
        for (const TfConfig::KeyboardRow& row : TfConfig::KeyboardRows())
            for (const TfConfig::KeyboardKey& key : row.keys)
                if (key.handlers != TfConfig::KeyHandlers::Ctrl) assignable.push_back(key.assignable);
        map.Load(file, {"Pages", "Actions", "Misc", "Slots", "Wizard", "Priest", "Fixed"}, assignable,
                 [](const std::string& identifier) {
                     auto found = kNames.find(identifier);
                     return found == kNames.end() ? std::string() : found->second;
                 });
    }
    FunctionRef F(std::size_t group, const char* identifier) const { return map.FunctionWithIdentifier(group, identifier); }
    KeyRef K(const char* value) const { return *map.KeyOfValue(value); }
    // What a save writes, "identifier=value" each.
    std::set<std::string> Written() const
    {
        std::set<std::string> written;
        for (const KeyMapWrite& write : map.Writes()) written.insert(write.key + "=" + write.value);
        return written;
    }

    KeyMap map;
};

}  // namespace

TEST_F(KeyMapModelTest, AnEntryHoldsTheKeyItsValueNamesWhenThePlayerCanSeeItThereAndIsKeptOtherwise)
{
    struct Row {
        const char* key;
        const char* holds;
        std::vector<std::string> alsoGiven;
        bool changeable;
    };
    const Row rows[] = {
        {"Esc", "", {}, false},  // key 0 stands for no key: Inventory is on none, its entry kept
        {"B", "Pages: PAGE_NOLANG", {"Pages: Area Map"}, true},
        {"N", "Pages: PAGE_ALONE", {}, true},
        {"G", "Fixed: Game Menu", {"Actions: Sneak"}, false},
        {"F3", "Actions: Halt", {}, false},
        {"Ctrl-G", "Fixed: Game Menu", {}, false},  // the game's function on a plain key holds both layers
        {"T", "Actions: Talk", {}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(map.Assignment(K(row.key)), row.holds);
        std::vector<std::string> also;
        for (FunctionRef f : map.AlsoGiven(K(row.key))) also.push_back(map.Text(f));
        EXPECT_EQ(also, row.alsoGiven);
        EXPECT_EQ(map.Changeable(K(row.key)), row.changeable);
    }
    EXPECT_FALSE(map.KeyOf(F(1, "ACT_ATTACK")));
    EXPECT_FALSE(map.KeyOf(F(0, "PAGE_INV")));

    // A key the player emptied or gave another function gives nothing to the file's other entries
    // any more, nor to the function taken off it: the next save writes them on no key.
    map.Remove(K("B"));
    map.Remove(K("T"));
    map.Place(F(0, "PAGE_BOOK"), K("N"));
    for (const char* key : {"B", "T", "N"}) EXPECT_TRUE(map.AlsoGiven(K(key)).empty()) << key;
    EXPECT_EQ(map.AlsoGiven(K("G")), std::vector<FunctionRef>{F(1, "ACT_SNEAK")}) << "the game's key is left as it was";
}

TEST_F(KeyMapModelTest, ASaveWritesWhatThePlayerLeftAndKeepsTheEntriesLeftAlone)
{
    // Untouched: each of the player's functions on its key or on none; kept entries are not written.
    const std::set<std::string> base = {"PAGE_MAP=", "PAGE_BOOK=", "ACT_TALK=T",    "ACT_SNEAK=",
                                        "ACT_BANDAGE=", "ACT_THROW=", "ACT_HALT=F3"};
    auto with = [&](std::set<std::string> changed) {
        std::set<std::string> all = changed;
        for (const std::string& entry : base)
            if (std::none_of(changed.begin(), changed.end(), [&](const std::string& c) {
                    return c.substr(0, c.find('=')) == entry.substr(0, entry.find('='));
                }))
                all.insert(entry);
        return all;
    };
    struct Row {
        const char* what;
        std::function<void(KeyMap&, const KeyMapModelTest&)> change;
        std::set<std::string> written;
    };
    const Row rows[] = {
        {"nothing", [](KeyMap&, const KeyMapModelTest&) {}, base},
        {"a function on the nameless entry's key",
         [](KeyMap& m, const KeyMapModelTest& t) { m.Place(t.F(0, "PAGE_BOOK"), t.K("B")); },
         with({"PAGE_BOOK=B", "PAGE_NOLANG="})},
        {"the nameless entry's key emptied", [](KeyMap& m, const KeyMapModelTest& t) { m.Remove(t.K("B")); },
         with({"PAGE_NOLANG="})},
        {"a lone nameless entry's key emptied", [](KeyMap& m, const KeyMapModelTest& t) { m.Remove(t.K("N")); },
         with({"PAGE_ALONE="})},
        {"the function whose value named no key placed",
         [](KeyMap& m, const KeyMapModelTest& t) { m.Place(t.F(1, "ACT_ATTACK"), t.K("W")); },
         with({"ACT_ATTACK=W"})},
        {"placed and removed again",
         [](KeyMap& m, const KeyMapModelTest& t) {
             m.Place(t.F(1, "ACT_ATTACK"), t.K("W"));
             m.Remove(t.K("W"));
         },
         with({"ACT_ATTACK="})},
        {"the function kept off key 0 placed",
         [](KeyMap& m, const KeyMapModelTest& t) { m.Place(t.F(0, "PAGE_INV"), t.K("Ctrl-Q")); },
         with({"PAGE_INV=Ctrl-Q"})},
        {"a function moved to the other layer, off a disabled key",
         [](KeyMap& m, const KeyMapModelTest& t) {
             m.Place(t.F(1, "ACT_HALT"), t.K("Ctrl-T"));
             m.Place(t.F(1, "ACT_TALK"), t.K("Ctrl-T"));
         },
         with({"ACT_TALK=Ctrl-T", "ACT_HALT="})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        row.change(map, *this);
        EXPECT_EQ(Written(), row.written);
        // What was saved is the file's now: the next save writes the same.
        map.Saved();
        EXPECT_EQ(Written(), row.written);
    }
}

TEST_F(KeyMapModelTest, AnImportPlacesOnlyOnKeysThePlayerMayAssignCountsWhatItPlacesAndWithNoneChangesNothing)
{
    struct Row {
        const char* what;
        std::vector<std::pair<FunctionRef, std::string>> bindings;
        int placed;
        std::map<std::string, std::string> keys;  // key value -> what it holds after
    };
    const Row rows[] = {
        {"two on one key, the game's function, a key the game keeps",
         {{F(1, "ACT_ATTACK"), "Ctrl-K"}, {F(1, "ACT_BANDAGE"), "Z"}, {F(1, "ACT_THROW"), "Z"},
          {F(6, "FIX_MENU"), "Q"}, {F(1, "ACT_HALT"), "F3"}, {F(1, "ACT_SNEAK"), "G"}},
         2,
         {{"Ctrl-K", "Actions: Attack"}, {"Z", "Actions: Throw"}, {"Q", ""}, {"F3", "Actions: Halt"},
          {"T", ""}, {"B", ""}, {"G", "Fixed: Game Menu"}}},
        {"nothing that fits", {{F(1, "ACT_ATTACK"), "Nowhere"}, {F(6, "FIX_MENU"), "Q"}, {F(1, "ACT_TALK"), "Esc"}}, 0,
         {{"T", "Actions: Talk"}, {"B", "Pages: PAGE_NOLANG"}, {"N", "Pages: PAGE_ALONE"}, {"Q", ""}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        const std::set<std::string> before = Written();
        std::vector<KeyMap::Imported> bindings;
        for (const auto& [f, value] : row.bindings) bindings.push_back({f, value});
        EXPECT_EQ(map.Import(bindings, KeyLayer::Plain), row.placed);
        for (const auto& [key, holds] : row.keys) EXPECT_EQ(map.Assignment(K(key.c_str())), holds) << key;
        if (row.placed == 0) {
            EXPECT_EQ(Written(), before);
            continue;
        }
        // Each placed function is written on the key the file gives it; the shown layer's bound keys
        // went, the nameless entry's with them.
        for (const char* entry : {"ACT_ATTACK=Ctrl-K", "ACT_THROW=Z", "ACT_BANDAGE=", "ACT_TALK=", "PAGE_NOLANG="})
            EXPECT_EQ(Written().count(entry), 1u) << entry;
    }
}

TEST_F(KeyMapModelTest, RestoreTakesEveryBindingOfThePlayersGroupsFromTheGamesFileAndLeavesTheFixedOnes)
{
    KeyMapEntries game;
    game.keyboard = KeyboardNames();
    game.groups[0] = {{"PAGE_MAP", "Q"}, {"page_nolang", "N"}};  // identifiers as the profile reader matches them
    game.groups[1] = {{"ACT_TALK", "Ctrl-T"}, {"ACT_ATTACK", "Nowhere"}, {"ACT_SNEAK", "G"}};
    map.Place(F(1, "ACT_BANDAGE"), K("W"));
    map.Restore(game);
    EXPECT_EQ(map.Assignment(K("Q")), "Pages: Area Map");
    EXPECT_EQ(map.Assignment(K("N")), "Pages: PAGE_NOLANG");
    EXPECT_EQ(map.Assignment(K("Ctrl-T")), "Actions: Talk");
    EXPECT_EQ(map.Assignment(K("G")), "Fixed: Game Menu") << "the game's function keeps its key";
    EXPECT_EQ(map.Assignment(K("W")), "");
    const std::set<std::string> written = {"PAGE_INV=",   "PAGE_MAP=Q",   "PAGE_NOLANG=N", "PAGE_BOOK=",
                                           "PAGE_ALONE=", "ACT_TALK=Ctrl-T", "ACT_SNEAK=",  "ACT_BANDAGE=",
                                           "ACT_THROW=",  "ACT_HALT="};
    EXPECT_EQ(Written(), written) << "Attack's value names no key: kept as the file has it";
    // Saved, and the file put back as it was (a rejected video test): the next save writes it all again.
    map.Saved();
    EXPECT_EQ(Written(), written);
}
