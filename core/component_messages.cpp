#include "core/component_messages.h"

namespace core {

MessageLines storeFailureMessage(int number, std::string_view description,
                                 std::string_view consequence)
{
    return {"COMPONENT Database could not be read:",
            "Error " + std::to_string(number) + ": " + std::string(description),
            std::string(consequence)};
}

MessageLines storeNotOpenMessage()
{
    return {"COMPONENT Database is not open.", "No component can be chosen.", ""};
}

MessageLines noComponentsMessage()
{
    return {"COMPONENT Database holds no component.", "Add one with \"EOS Constants\";",
            "then choose it here."};
}

MessageLines listCappedMessage(int held, int listed)
{
    return {"COMPONENT Database holds " + std::to_string(held) + " components;",
            "only the first " + std::to_string(listed) + " are listed.", ""};
}

} // namespace core
