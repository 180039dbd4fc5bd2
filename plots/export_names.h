#pragma once

#include <optional>
#include <string>
#include <vector>

// File names for what the diagrams window saves.
namespace plots {

/// "Benzene_25C_1bar_Z-P": component, temperature (°C), pressure (bar) and what is saved,
/// blanks and characters some file system refuses ('/', ':', '*', …) replaced by '_'.
std::string suggestedFileName(const std::string& component, const std::string& tempText,
                              const std::string& pressText, const std::string& what);

/// The suffix of a path's file name without its dot, as typed ("PNG"), or "" when the name has
/// none: only letters and digits after the last dot count ("25.5C_1bar" has none).
std::string fileSuffix(const std::string& path);

/// What a save writes: the path, and the suffix (lower case) that says the type.
struct SaveTarget {
    std::string path;
    std::string suffix;
};

/// The path a save dialog returned, made a file of one of `suffixes` (lower case): kept when
/// its suffix is one of them (case aside), `chosen` (the filter's) appended when it has none;
/// std::nullopt when it has another suffix, which names a type that is not written.
std::optional<SaveTarget> saveTarget(const std::string& typed,
                                     const std::vector<std::string>& suffixes,
                                     const std::string& chosen);

} // namespace plots
