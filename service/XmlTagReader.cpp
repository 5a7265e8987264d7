#include "service/XmlTagReader.h"

#include "common/Encoding.h"

#include <QString>

#include <pugixml.hpp>

namespace kavo {
namespace {

std::string trimmedBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

XmlElement convert(const pugi::xml_node& node) {
    XmlElement element;
    element.name = node.name();
    for (const auto& attribute : node.attributes())
        element.attributes.emplace(attribute.name(), attribute.value());
    bool textTaken = false;
    for (const auto& child : node.children()) {
        if (child.type() == pugi::node_element) {
            element.children.push_back(convert(child));
        } else if (!textTaken && (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)) {
            element.text = trimmedBlanks(child.value());
            textTaken = true;
        }
    }
    return element;
}

std::u16string utf16Units(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return units;
}

} // namespace

std::string XmlElement::Attr(const std::string& attribute) const {
    auto found = attributes.find(attribute);
    return found == attributes.end() ? std::string() : found->second;
}

std::string DecodeDocumentText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return SanitizeUtf8(bytes.substr(3));
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (littleEndian || bytes.starts_with("\xFE\xFF")) {
        const std::u16string units = utf16Units(bytes.substr(2), !littleEndian);
        return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())).toStdString();
    }
    return FromGb18030(bytes);
}

std::vector<XmlElement> ReadXmlElements(std::string_view bytes) {
    const std::string text = DecodeDocumentText(bytes);
    pugi::xml_document document;
    // Whatever the outcome, the tree holds every node read before a fault.
    document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    std::vector<XmlElement> elements;
    for (const auto& node : document.children())
        if (node.type() == pugi::node_element)
            elements.push_back(convert(node));
    return elements;
}

} // namespace kavo
