#include "cli/text_wrap.h"

#include <algorithm>

namespace cli {

void appendWrapped(std::string& out, std::string_view words, std::size_t column, std::size_t indent)
{
    while (!words.empty()) {
        std::size_t take = words.size();
        if (column + take > kWrapWidth) {
            const std::size_t space = words.rfind(' ', kWrapWidth - column);
            take = space == std::string_view::npos || space == 0 ? words.find(' ') : space;
            take = std::min(take, words.size());
        }
        out += words.substr(0, take);
        words.remove_prefix(take);
        while (!words.empty() && words.front() == ' ')
            words.remove_prefix(1);
        out += '\n';
        if (!words.empty()) {
            out.append(indent, ' ');
            column = indent;
        }
    }
}

} // namespace cli
