#include "store/antoine_range.h"

#include "store/component_database.h"

#include <cmath>

namespace store {

std::optional<AntoineFitRange> antoineFitRange(ComponentDatabase& db, std::string_view component)
{
    Recordset* rst = db.rstAntCos();
    if (rst == nullptr)
        return std::nullopt;
    rst->findFirst("Component", std::string(component));
    if (rst->noMatch())
        return std::nullopt;
    const std::optional<double> tmin = rst->number("AntTmin");
    const std::optional<double> tmax = rst->number("AntTmax");
    if (!tmin || !tmax || !std::isfinite(*tmin) || !std::isfinite(*tmax) || !(*tmin < *tmax))
        return std::nullopt;
    return AntoineFitRange{*tmin, *tmax};
}

} // namespace store
