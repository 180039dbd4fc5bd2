#include "plots/export_names.h"

#include <algorithm>
#include <cctype>

namespace plots {
namespace {

bool asciiAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

std::string lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

/// Letters, digits, '.', '+' and '-' kept; every other run of characters (blanks, "°",
/// path separators, quotes) becomes one '_'.
void appendSafe(std::string& out, const std::string& text)
{
    for (char c : text) {
        const bool keep = asciiAlnum(c) || c == '.' || c == '+' || c == '-';
        if (keep)
            out += c;
        else if (!out.empty() && out.back() != '_')
            out += '_';
    }
}

} // namespace

std::string suggestedFileName(const std::string& component, const std::string& tempText,
                              const std::string& pressText, const std::string& what)
{
    std::string name;
    appendSafe(name, component);
    for (const std::string& part : {tempText + "C", pressText + "bar", what}) {
        if (!name.empty() && name.back() != '_')
            name += '_';
        appendSafe(name, part);
    }
    while (!name.empty() && (name.back() == '_' || name.back() == '.'))
        name.pop_back();
    // A leading dot would hide the file.
    while (!name.empty() && (name.front() == '.' || name.front() == '_'))
        name.erase(name.begin());
    return name.empty() ? what : name;
}

std::string fileSuffix(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= start || dot + 1 == path.size())
        return "";
    const std::string suffix = path.substr(dot + 1);
    return std::all_of(suffix.begin(), suffix.end(), asciiAlnum) ? suffix : "";
}

std::optional<SaveTarget> saveTarget(const std::string& typed,
                                     const std::vector<std::string>& suffixes,
                                     const std::string& chosen)
{
    const std::string suffix = lower(fileSuffix(typed));
    if (suffix.empty())
        return SaveTarget{typed + "." + chosen, chosen};
    if (std::find(suffixes.begin(), suffixes.end(), suffix) == suffixes.end())
        return std::nullopt;
    return SaveTarget{typed, suffix};
}

} // namespace plots
