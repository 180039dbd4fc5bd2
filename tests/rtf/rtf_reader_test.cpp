#include "rtf/rtf_reader.h"
#include "rtf_fuzz_inputs.h"

#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace rtf {
namespace {

// What must hold for any input: runs carry text, adjacent runs differ, text is valid UTF-8
// and bounded by the input (no escape yields more than four bytes per input byte).
::testing::AssertionResult invariantsHold(const RtfDocument& doc, std::size_t inputSize)
{
    std::size_t total = 0;
    for (std::size_t n = 0; n < doc.paragraphs.size(); ++n) {
        const RtfParagraph& p = doc.paragraphs[n];
        for (std::size_t i = 0; i < p.runs.size(); ++i) {
            const auto fault = [&](const char* what) {
                return ::testing::AssertionFailure()
                       << "paragraph " << n << ", run " << i << ": " << what;
            };
            if (p.runs[i].text.empty())
                return fault("empty run");
            if (i > 0 && p.runs[i].format == p.runs[i - 1].format)
                return fault("same format as the run before");
            if (!test::validUtf8(p.runs[i].text))
                return fault("invalid UTF-8");
            total += p.runs[i].text.size();
        }
        if (p.format.leftIndent_tw < -31680 || p.format.leftIndent_tw > 31680)
            return ::testing::AssertionFailure() << "paragraph " << n << ": left indent unbounded";
    }
    if (total > 4 * inputSize)
        return ::testing::AssertionFailure() << total << " bytes of text from " << inputSize;
    if (doc.paragraphs.size() > inputSize)
        return ::testing::AssertionFailure() << doc.paragraphs.size() << " paragraphs";
    return ::testing::AssertionSuccess();
}

std::string hex(const std::string& s)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

// 100,000 malformed documents (about a second here, 15 s under the sanitizers).
TEST(RtfReader, MalformedInputsKeepTheInvariants)
{
    std::mt19937 rng(20240611); // fixed, so a failure replays
    constexpr int kInputs = 100'000;
    for (int n = 0; n < kInputs; ++n) {
        const std::string input = test::malformedInput(n, rng);
        ASSERT_TRUE(invariantsHold(readRtf(input), input.size()))
            << "input " << n << ": " << hex(input);
    }
}

// Each shape repeated to 1 MB reads in a fraction of a second here (a few under the
// sanitizers); a quadratic reader would take hours, so the generous bound only stops a hang.
// The prefix opens the right destination for the table rows.
TEST(RtfReader, PathologicalInputsAreLinear)
{
    struct Case {
        const char* name;
        std::string prefix;
        std::string unit;
        std::string tail;
    };
    const std::string body = "{\\rtf1 ";
    const Case cases[] = {
        {"deep nesting", body, "{", "x"},
        {"stray closing braces", body, "}", "x"},
        {"paragraph marks", body, "\\par", ""},
        {"unicode with large skips", body, "\\uc16\\u233", "x"},
        {"alternating formats", body, "\\b x\\b0 y", ""},
        {"font table entries", "{\\rtf1{\\fonttbl", "\\f7 F;", "}"},
        {"colour table entries", "{\\rtf1{\\colortbl", "\\red9;", "}"},
        {"one long control word", "{\\rtf1\\fs", "a", " x"},
        {"one long parameter", "{\\rtf1\\fs", "9", " x"},
        {"binary lengths past the end", body, "\\bin999999999 ", ""},
    };
    constexpr std::size_t kSize = 1024 * 1024;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string input = c.prefix;
        input.reserve(kSize + 64);
        while (input.size() < kSize)
            input += c.unit;
        input += c.tail;
        const auto start = std::chrono::steady_clock::now();
        const RtfDocument doc = readRtf(input);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(invariantsHold(doc, input.size()));
        EXPECT_LT(elapsed, std::chrono::seconds(5));
    }
}

} // namespace
} // namespace rtf
