#include "state/json_writer.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

using state::JsonWriter;

// Each case names the fault the expected text would expose.
TEST(JsonWriter, WritesSeparatorsNumbersAndEscapes)
{
    struct Case {
        const char* fault;
        std::function<void(JsonWriter&)> write;
        const char* expected;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"a separator before the first member or after a key",
         [](JsonWriter& w) { w.beginObject().member("a", 1).member("b", true).endObject(); },
         R"({"a": 1, "b": true})"},
        {"a nested container does not count as an item of its parent",
         [](JsonWriter& w) {
             w.beginObject().key("x").beginArray().beginObject().endObject();
             w.beginArray().endArray().endArray().member("y", "z").endObject();
         },
         R"({"x": [{}, []], "y": "z"})"},
        {"a number that is not finite written as a number",
         [&](JsonWriter& w) {
             w.beginArray().number(0.1).number(inf).number(NAN).null().endArray();
         },
         R"([0.1, null, null, null])"},
        {"a double written with more digits than it needs, or in the locale's form",
         [](JsonWriter& w) {
             w.beginArray().number(98.954).number(1e-300).number(-0.0).endArray();
         },
         R"([98.954, 1e-300, -0])"},
        {"control characters, quotes or backslashes left raw",
         [](JsonWriter& w) { w.string("a\"b\\c\r\n\t\x01"); }, R"("a\"b\\c\r\n\t\u0001")"},
        {"bytes that are not UTF-8 passed through, or UTF-8 escaped",
         [](JsonWriter& w) { w.beginArray().string("\xff\xc3").string("\xc3\xa9").endArray(); },
         "[\"\\ufffd\\ufffd\", \"\xc3\xa9\"]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        std::string out = "prefix ";
        JsonWriter w(out);
        c.write(w);
        EXPECT_EQ(out, std::string("prefix ") + c.expected);
    }
}

} // namespace
