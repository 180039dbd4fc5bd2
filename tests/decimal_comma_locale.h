#pragma once

#include <clocale>
#include <string>

namespace test {

/// Switches the C locale of the process to German (decimal comma), as QApplication does on a
/// German desktop, and back on destruction. active() is false where the locale has not been
/// generated (scripts/deps.sh generates de_DE.UTF-8); the tests then skip with that message.
class DecimalCommaLocale {
public:
    static constexpr const char* kSkipMessage =
        "de_DE.UTF-8 is not generated here (scripts/deps.sh does it); decimal-comma run skipped";

    DecimalCommaLocale() : m_previous(std::setlocale(LC_ALL, nullptr))
    {
        m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr &&
                   std::string(std::localeconv()->decimal_point) == ",";
    }
    ~DecimalCommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

} // namespace test
