#pragma once

#include <array>
#include <string>
#include <string_view>

// What the state-conditions message says about the component store: three lines each, the
// window's texts, also for the command line where it says the same.
namespace core {

using MessageLines = std::array<std::string, 3>;

/// A store failure: its number and description, and what it means for the list or the choice.
MessageLines storeFailureMessage(int number, std::string_view description,
                                 std::string_view consequence);
MessageLines storeNotOpenMessage();
MessageLines noComponentsMessage();
/// The store holds more components than the list shows.
MessageLines listCappedMessage(int held, int listed);

} // namespace core
