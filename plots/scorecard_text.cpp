#include "plots/scorecard_text.h"

#include "state/number_format.h"
#include "state/result_sheet.h"

namespace plots {
namespace {

constexpr int kDigits = 4;

std::string aad(const std::optional<double>& x)
{
    return x ? state::formatSignificant(*x, kDigits) : std::string("-");
}

std::string signedPercent(double x)
{
    return (x > 0 ? "+" : "") + state::formatSignificant(x, kDigits);
}

std::string caption(std::string_view key)
{
    for (const state::Row row : analysis::kModels)
        if (state::rowKey(row) == key)
            return std::string(state::rowCaption(row));
    return key == "reference" ? "Reference EOS" : std::string(key);
}

} // namespace

TextTable scorecardTable(const core::Scorecard& card, const DiagramUnits& units)
{
    TextTable t;
    t.columns = {"Rank",
                 "Model",
                 "AAD (%)",
                 "Psat AAD (%)",
                 "V liquid AAD (%)",
                 "V vapour AAD (%)",
                 "Single phase AAD (%)",
                 "Worst state",
                 "Worst dev. (%)"};
    int rank = 0;
    for (const core::ModelScore& s : card.ranked) {
        const bool scored = s.overall.has_value();
        t.rows.push_back({scored ? std::to_string(++rank) : std::string(),
                          std::string(state::rowCaption(s.model)), aad(s.overall), aad(s.psat),
                          aad(s.vLiquid), aad(s.vVapour), aad(s.grid),
                          scored ? textInUnits(s.worstState, units) : std::string("no number"),
                          scored ? signedPercent(s.worstDeviation) : std::string()});
    }
    return t;
}

std::string scorecardRange(const core::Scorecard& card, const DiagramUnits& units)
{
    const auto n = [](double x) { return state::formatSignificant(x, 5); };
    return textInUnits("Saturation from " + n(card.tFrom) + " K to " + n(card.tTo) + " K (" +
                           std::to_string(card.satPoints) + " points); single phase up to " +
                           n(card.gridPMax_bar) + " bar (" + std::to_string(card.gridPoints) +
                           " states)",
                       units);
}

TextTable dataScoreTable(const std::vector<core::DataScore>& scores)
{
    TextTable t;
    t.columns = {"Rank", "Model", "AAD (%)", "Points", "No number", "Worst line", "Worst dev. (%)"};
    int rank = 0;
    for (const core::DataScore& s : scores) {
        const bool scored = s.aad.has_value();
        t.rows.push_back({scored ? std::to_string(++rank) : std::string(), caption(s.who),
                          aad(s.aad), std::to_string(s.points), std::to_string(s.missing),
                          scored ? std::to_string(s.worstLine) : std::string(),
                          scored ? signedPercent(s.worstDeviation) : std::string()});
    }
    return t;
}

} // namespace plots
