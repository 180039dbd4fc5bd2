#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

/// The name without the blanks around it, as names are stored and looked up.
std::string_view trimmedName(std::string_view name);
/// Whether two names are the same apart from letter case (ASCII, as the store's COLLATE
/// NOCASE compares them).
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

/// Finds entries of the component list from typed text, for the list's completer and for a
/// name typed into its edit field. Letters compare without regard to case (ASCII, which is
/// every stored name); other bytes compare as they are. Blanks around the typed text are
/// ignored.
class ComponentFinder {
public:
    /// The entries in list order. Their case-folded copies are made here, once per rebuild of
    /// the list, so that a keystroke costs a single pass of substring searches.
    void setNames(std::vector<std::string> names);
    const std::vector<std::string>& names() const { return m_names; }

    /// Indices of the entries that contain the typed text, in list order; none for a blank
    /// text.
    std::vector<int> matches(std::string_view typed) const;

    /// The entry a typed text chooses: the entry equal to it, else the first equal to it apart
    /// from case, else the one entry containing it when exactly one does; nullopt otherwise.
    std::optional<int> chosen(std::string_view typed) const;

private:
    std::vector<std::string> m_names;
    std::vector<std::string> m_folded;
};

} // namespace store
