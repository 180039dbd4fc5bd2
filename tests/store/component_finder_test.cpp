#include "store/component_finder.h"

#include <gtest/gtest.h>

namespace store {
namespace {

// A slice of the shipped list, in its order (names compared without case).
ComponentFinder finderOf(std::vector<std::string> names)
{
    ComponentFinder finder;
    finder.setNames(std::move(names));
    return finder;
}

const std::vector<std::string> kList = {"Benzene",
                                        "Cyclohexane",
                                        "n-Hexane",
                                        "Propane",
                                        "Propylene",
                                        "R-115 (chloropentafluoroethane)",
                                        "Sulfur hexafluoride",
                                        "Water"};

TEST(ComponentFinder, MatchesContainTheTypedTextInListOrder)
{
    const ComponentFinder finder = finderOf(kList);
    struct Case {
        const char* name;
        const char* typed;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"any case, anywhere in the name", "hex", {1, 2, 6}},
        {"upper-case typing", "HEXA", {1, 2, 6}},
        {"start of a name", "prop", {3, 4}},
        {"inside brackets", "(chloro", {5}},
        {"blanks around are ignored", "  water ", {7}},
        {"nothing contains it", "zzz", {}},
        {"blank text offers nothing", "  ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(finder.matches(c.typed), c.expected);
    }
}

TEST(ComponentFinder, ChosenEntry)
{
    const ComponentFinder finder =
        finderOf({"Propane", "Propane, 2-methyl", "PROPANE", "Water", "Sulfur hexafluoride"});
    struct Case {
        const char* name;
        const char* typed;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"exact name", "Water", 3},
        {"other case: the first equal name", "propane", 0},
        {"same case wins over an earlier other-case name", "PROPANE", 2},
        {"one name contains it", "hexaf", 4},
        {"several contain it, none equal", "Prop", std::nullopt},
        {"none contains it", "zzz", std::nullopt},
        {"blank", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(finder.chosen(c.typed), c.expected);
    }
}

} // namespace
} // namespace store
