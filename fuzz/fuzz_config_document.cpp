// The service's configuration document: deciphered, read as XML and interpreted, as the service client does.
#include "service/ConfigCipher.h"
#include "service/UpDateInfo.h"
#include "service/XmlTagReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void interpret(std::string_view plain) {
    const auto elements = kavo::ReadXmlElements(plain);
    if (elements.empty())
        return;
    // A path that never exists: the interpretation must not end or delete any real program.
    const auto document = kavo::InterpretServiceDocument(elements.front(), "/nonexistent/kavo-fuzz/update");
    (void)kavo::DecideUpdate(document.UpInfo);
}

} // namespace

// First byte odd: the rest is a plain document, enciphered first so the interpretation is reached often;
// even: the rest is taken as received from the wire.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string wire = (data[0] & 1) ? kavo::EncryptConfigStream(rest, kavo::kConfigKey) : std::string(rest);
    std::string plain;
    if (!kavo::DecryptConfigStream(wire, plain, kavo::kConfigKey)) {
        if (!plain.empty())
            std::abort(); // a refused document writes nothing
        return 0;
    }
    if ((data[0] & 1) && plain != rest)
        std::abort(); // the cipher round trip must be exact
    interpret(plain);
    return 0;
}
