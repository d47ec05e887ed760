// What XML 1.0 can and cannot hold, for the SVG reader and writer.
//
// XML has no way at all to carry most control characters (the escape
// character of a cutter's command text, say), not even as a character
// reference, and a file that holds one is refused by every other XML program.
// Such values are written percent-encoded instead, and decoded to the very
// same bytes when read.
#pragma once

#include <cstddef>
#include <string>

namespace vt::host {

// Whether every byte of the text belongs to a well-formed UTF-8 character
// that XML 1.0 allows (TAB, LF, CR, and U+0020 up, less the surrogates,
// U+FFFE and U+FFFF).
bool xmlCanHold(const std::string& text);
// The text with '%' and every byte XML cannot hold written as %XX (two
// upper-case hexadecimal digits); what XML can hold stays as it is.
std::string percentEncodeForXml(const std::string& text);
// The bytes a percent-encoded text stands for; false when a '%' is not
// followed by two hexadecimal digits.
bool percentDecode(const std::string& text, std::string& bytes);

// The offset of the first '<' inside an attribute value of an XML text, or
// npos when there is none: XML forbids it there (it must be written &lt;),
// and a file that holds one is not XML. Comments, CDATA sections,
// processing instructions and the document type declaration are passed over.
size_t lessThanInAttributeValue(const char* text, size_t size);

}  // namespace vt::host
