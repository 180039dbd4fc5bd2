#include "store/component_finder.h"

#include <algorithm>

namespace store {
namespace {

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), foldAscii);
    return out;
}

} // namespace

std::string_view trimmedName(std::string_view name)
{
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = name.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return name.substr(first, name.find_last_not_of(kBlanks) - first + 1);
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

void ComponentFinder::setNames(std::vector<std::string> names)
{
    m_names = std::move(names);
    m_folded.clear();
    m_folded.reserve(m_names.size());
    for (const std::string& name : m_names)
        m_folded.push_back(folded(name));
}

std::vector<int> ComponentFinder::matches(std::string_view typed) const
{
    std::vector<int> found;
    const std::string needle = folded(trimmedName(typed));
    if (needle.empty())
        return found;
    for (std::size_t i = 0; i < m_folded.size(); ++i)
        if (m_folded[i].find(needle) != std::string::npos)
            found.push_back(static_cast<int>(i));
    return found;
}

std::optional<int> ComponentFinder::chosen(std::string_view typed) const
{
    const std::string needle = folded(trimmedName(typed));
    if (needle.empty())
        return std::nullopt;
    // A name stored twice in different cases is told apart by the case the user typed.
    const std::string_view text = trimmedName(typed);
    const auto same = std::find(m_names.begin(), m_names.end(), text);
    if (same != m_names.end())
        return static_cast<int>(same - m_names.begin());
    const auto exact = std::find(m_folded.begin(), m_folded.end(), needle);
    if (exact != m_folded.end())
        return static_cast<int>(exact - m_folded.begin());
    const std::vector<int> found = matches(typed);
    if (found.size() == 1)
        return found.front();
    return std::nullopt;
}

} // namespace store
