#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "version_menu.h"

namespace kelvaro {
namespace {

std::vector<std::string> calls;

MenuEntries recordingEntries() {
    MenuEntries entries(4);
    entries[0] = {"菜单", 0, true};
    entries[1] = {"first", 1};
    entries[1].selected = [] { calls.push_back("first"); };
    entries[2] = {"second", 1};  // no handler
    entries[3] = {"third", 1};
    entries[3].selected = [] { calls.push_back("third"); };
    return entries;
}

TEST(MenuCommands, IdsCountFromTheFirstMenuCommandId) {
    EXPECT_EQ(menuCommandId(0), 20000u);
    EXPECT_EQ(menuCommandId(3), 20003u);
}

TEST(MenuCommands, RunTheHandlerOfTheEntryAtTheirPosition) {
    const MenuEntries entries = recordingEntries();
    struct Case { unsigned id; std::vector<std::string> expected; };
    const Case cases[] = {
        {20001, {"first"}},
        {20003, {"third"}},
        {20002, {}},           // an entry without a handler
        {20000, {}},           // the hidden root
        {20004, {}},           // past the last entry
        {19999, {}},           // a control's id
        {100, {}},
        {57599, {}},
        {57600, {}},           // the system's own commands
        {0xF060, {}},
    };
    for (const Case& c : cases) {
        calls.clear();
        runMenuCommand(entries, c.id);
        EXPECT_EQ(calls, c.expected) << c.id;
    }
    EXPECT_EQ(menuEntryForCommand(entries, 20002), &entries[2]);
    EXPECT_EQ(menuEntryForCommand(entries, 57600), nullptr);
}

TEST(MenuCommands, TheReservedRangeStartsAt57600EvenInALongList) {
    MenuEntries entries(40000);
    entries[37599].selected = [] { calls.push_back("last before the system's"); };
    entries[37600].selected = [] { calls.push_back("reserved"); };
    calls.clear();
    runMenuCommand(entries, 57599);
    runMenuCommand(entries, 57600);
    EXPECT_EQ(calls, std::vector<std::string>{"last before the system's"});
}

}  // namespace
}  // namespace kelvaro
