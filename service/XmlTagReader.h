#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// One element as the configuration code reads it: name, attributes, first text trimmed, children.
struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    std::vector<XmlElement> children;

    // The attribute's value; empty text when absent.
    std::string Attr(const std::string& attribute) const;
};

// The XML tag reader. Reads a whole text into its top-level elements in document order. Tolerant:
// malformed text yields the elements read before the fault, unreadable text yields none.
// `bytes` starting with a byte-order mark are read as UTF-8 or UTF-16 accordingly, otherwise as
// GB18030 (the client's code page); names, values and texts come back in UTF-8.
std::vector<XmlElement> ReadXmlElements(std::string_view bytes);

// The document text as UTF-8 by the rule above.
std::string DecodeDocumentText(std::string_view bytes);

} // namespace kavo
