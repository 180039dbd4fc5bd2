#include "web/listed_component.h"

#include "state/number_format.h"

#include <cmath>
#include <limits>

namespace web {
namespace {

/// The float the state holds for a listed value; none for a missing or out-of-range one (its
/// conversion would be undefined), as the store reads its fields.
std::optional<float> toStateFloat(double value)
{
    if (!std::isfinite(value) ||
        std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(value);
}

} // namespace

state::Component listedComponent(std::string_view name, const ListedComponent& c)
{
    std::array<std::optional<float>, 8> given;
    for (std::size_t i = 0; i < given.size(); ++i)
        given[i] = toStateFloat(c.constants[i]);
    std::optional<state::AntoineCoefficients> antoine;
    if (c.antoine) {
        const auto& a = *c.antoine;
        antoine = state::AntoineCoefficients{toStateFloat(a[0]).value_or(0.0f),
                                             toStateFloat(a[1]).value_or(0.0f),
                                             toStateFloat(a[2]).value_or(0.0f)};
    }
    return {std::string(name), state::constantsOrMissing(given), antoine};
}

void chooseListed(core::MainViewModel& vm, std::string_view name, const ListedComponent& c)
{
    vm.componentChosen(listedComponent(name, c));
}

int chooseTyped(core::MainViewModel& vm, std::string_view name, const TypedComponent& c)
{
    std::array<std::optional<float>, 8> given;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (c.constants[i].empty())
            continue;
        given[i] = state::toFloat(c.constants[i]);
        if (!given[i])
            return static_cast<int>(i) + 1;
    }
    std::array<std::optional<float>, 3> ant;
    int typed = 0;
    for (std::size_t i = 0; i < ant.size(); ++i) {
        if (c.antoine[i].empty())
            continue;
        ++typed;
        ant[i] = state::toFloat(c.antoine[i]);
        if (!ant[i])
            return static_cast<int>(given.size() + i) + 1;
    }
    if (typed != 0 && typed != 3)
        return static_cast<int>(given.size()) + 1 + (ant[0] ? (ant[1] ? 2 : 1) : 0);
    std::optional<state::AntoineCoefficients> antoine;
    if (typed == 3)
        antoine = state::AntoineCoefficients{*ant[0], *ant[1], *ant[2]};
    vm.componentChosen(name, state::constantsOrMissing(given), antoine);
    return 0;
}

} // namespace web
