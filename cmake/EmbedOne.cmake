# Writes the bytes of IN as a hex array so any content (quotes, non-ASCII) survives intact.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUT}
"#include <string_view>\n"
"static const unsigned char data[] = {${bytes} 0};\n"
"extern const std::string_view ${SYMBOL};\n"
"const std::string_view ${SYMBOL}(reinterpret_cast<const char*>(data), ${size});\n")
