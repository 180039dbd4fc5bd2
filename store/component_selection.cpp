#include "store/component_selection.h"

#include "store/component_database.h"
#include "store/component_schema.h"
#include "store/store_errors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace store {

namespace {

/// A stored number as the float the state holds. A value beyond the float range (possible
/// in a file edited by other tools; converting it would be undefined) counts as missing.
std::optional<float> toStateFloat(const std::optional<double>& value)
{
    if (!value || !std::isfinite(*value) ||
        std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(*value);
}

StoreError notOpen() { return {kErrClosed, "The component database is not open."}; }

} // namespace

void VectorComponentList::setItem(int i, const std::string& text)
{
    if (i == count())
        items.push_back(text);
    else
        items.at(static_cast<std::size_t>(i)) = text;
}

void VectorComponentList::setItemSource(int i, const std::string& source)
{
    sources.resize(items.size());
    sources.at(static_cast<std::size_t>(i)) = source;
}

void VectorComponentList::removeFrom(int i)
{
    if (i < count())
        items.erase(items.begin() + i, items.end());
    if (static_cast<std::size_t>(i) < sources.size())
        sources.resize(static_cast<std::size_t>(i));
}

std::string VectorComponentList::currentText() const
{
    return current >= 0 && current < count() ? items[static_cast<std::size_t>(current)] : "";
}

ListRebuild rebuildComponentList(ComponentDatabase& db, ComponentList& list)
{
    int k = list.currentIndex();
    const std::string s = k >= 0 ? list.currentText() : std::string();
    Recordset* rst = db.rstComps();
    if (!rst) {
        list.removeFrom(0);
        list.setCurrentIndex(-1);
        ListRebuild closed;
        closed.error = notOpen();
        closed.failure = ListFailure::NotOpen;
        return closed;
    }
    try {
        rst->requery();
    } catch (const StoreException& e) {
        // The recordset keeps the rows it had, so the list still matches it.
        ListRebuild unchanged;
        unchanged.error = e.error();
        unchanged.failure = ListFailure::Unchanged;
        return unchanged;
    }

    ListRebuild result;
    int written = 0;
    // Files made before the field existed have none: their entries show no source.
    const bool withSource = rst->hasField(schema::kSourceField);
    try {
        if (rst->recordCount() > 0) {
            rst->moveFirst();
            for (;;) {
                const std::optional<std::string> name = rst->text(schema::kNameField);
                if (!name || name->empty())
                    break;
                if (written == kMaxListEntries) {
                    result.capped = true;
                    break;
                }
                list.setItem(written, *name);
                if (withSource)
                    list.setItemSource(written, rst->text(schema::kSourceField).value_or(""));
                if (*name == s)
                    k = written;
                ++written;
                rst->moveNext();
                if (rst->eof())
                    break;
            }
        }
    } catch (const StoreException& e) {
        result.error = e.error();
        result.failure = ListFailure::Incomplete;
    }
    list.removeFrom(written);
    list.setCurrentIndex(k >= 0 && k < written ? k : -1);

    result.listed = written;
    result.held = rst->recordCount();
    return result;
}

namespace {

/// Reads row k of rstComps, named name: its constants and Antoine set. A store failure throws,
/// so a caller keeps the previous component's state whole. The constants and the Antoine set are
/// read from one version of the file: both recordsets are brought up to date inside one read
/// transaction, so another process's commit can never pair one component's constants with another
/// version's Antoine set.
state::Component readRow(ComponentDatabase& db, int k, const std::string& name)
{
    Recordset* rstAntCos = db.rstAntCos();
    Recordset* rstComps = db.rstComps();
    if (!rstAntCos || !rstComps || !db.dbComps())
        throw StoreException(notOpen());
    ReadSnapshot snapshot(*db.dbComps());
    rstAntCos->requery();
    rstComps->requery();
    // Row k is the entry chosen unless the rows changed since the list was built; then the
    // first row of that name is.
    if (k < rstComps->recordCount()) {
        rstComps->move(k);
        if (rstComps->text(schema::kNameField) != name)
            k = -1;
    } else {
        k = -1;
    }
    if (k < 0) {
        rstComps->findFirst(schema::kNameField, name);
        if (rstComps->noMatch())
            throw StoreException(kErrRecordGone,
                                 "The component " + name + " is no longer in the database.");
        k = rstComps->absolutePosition();
    }
    // An exact comparison of the field with the name (no criterion text is built, so a name
    // with a quote or SQL in it is just a name).
    rstAntCos->findFirst(schema::kNameField, name);
    const bool found = !rstAntCos->noMatch();
    state::AntoineCoefficients antoine;
    if (found) {
        const auto coefficient = [&](std::size_t i) {
            return toStateFloat(rstAntCos->number(schema::kAntoineFields[i])).value_or(0.0f);
        };
        antoine = {coefficient(0), coefficient(1), coefficient(2)};
    }
    rstComps->moveFirst();
    rstComps->move(k);
    state::ComponentConstants constants;
    for (const schema::ConstantField& f : schema::kConstantFields)
        constants.*f.member = toStateFloat(rstComps->number(f.name)).value_or(f.fallback);
    return {name, constants, found ? std::optional(antoine) : std::nullopt};
}

} // namespace

SelectedComponent readSelectedComponent(ComponentDatabase& db, const ComponentList& list)
{
    const int k = list.currentIndex();
    if (k < 0)
        return {};
    const std::string name = list.currentText();
    if (!db.rstAntCos() || !db.rstComps())
        return {name, std::nullopt, notOpen(), true};
    try {
        return {name, readRow(db, k, name), std::nullopt, false};
    } catch (const StoreException& e) {
        return {name, std::nullopt, e.error(), false};
    }
}

ListedComponents listComponentNames(ComponentDatabase& db)
{
    VectorComponentList list;
    const ListRebuild rebuilt = rebuildComponentList(db, list);
    if (rebuilt.error)
        throw StoreException(*rebuilt.error);
    return {std::move(list.items), rebuilt.capped, rebuilt.held};
}

std::optional<state::Component> findComponent(ComponentDatabase& db, const std::string& name)
{
    // The list's rows are rstComps' rows in the same order, so the first row with the name is
    // the entry the user would pick; rows past the list's cap are found as well.
    Recordset* rst = db.rstComps();
    if (!rst)
        throw StoreException(notOpen());
    if (name.empty())
        return std::nullopt; // a row without a name ends the list: never an entry
    // The search and the reading of the component from one version of the file.
    ReadSnapshot snapshot(*db.dbComps());
    rst->requery();
    rst->findFirst(schema::kNameField, name);
    if (rst->noMatch())
        return std::nullopt;
    return readRow(db, rst->absolutePosition(), name);
}

} // namespace store
