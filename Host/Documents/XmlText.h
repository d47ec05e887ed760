// What XML 1.0 can and cannot hold, for the SVG reader and writer.
#pragma once

#include <cstddef>
#include <string>

namespace vt::host {

// The offset of the first '<' inside an attribute value of an XML text, or
// npos when there is none: XML forbids it there (it must be written &lt;),
// and a file that holds one is not XML. Comments, CDATA sections,
// processing instructions and the document type declaration are passed over.
size_t lessThanInAttributeValue(const char* text, size_t size);

}  // namespace vt::host
