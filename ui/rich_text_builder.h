#pragma once

#include <string_view>

class QTextDocument;

namespace rtf {
struct RtfDocument;
}

namespace ui {

/// Replaces the content of doc by the paragraphs, runs and formats of an RTF document.
void fillDocument(QTextDocument& doc, const rtf::RtfDocument& rtf);

/// Reads RTF text into doc. Malformed input gives what could be read, or an empty document.
void setRtf(QTextDocument& doc, std::string_view rtf);

} // namespace ui
