// kavo-cli service: the vendor-side tool for the configuration document the client reads at start-up.
#include "Command.h"

#include "common/Encoding.h"
#include "service/ConfigCipher.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace kavo::cli {
namespace {

bool readWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return true;
}

bool writeWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

int service(const Args& args, Context& context) {
    args.allowOnly({});
    args.maxPositional(3);
    const std::string& action = args.require(0, "encode-config|decode-config");
    if (action != "encode-config" && action != "decode-config")
        throw UsageError{"unknown service command \"" + action + "\""};
    const std::string& in = args.require(1, "IN");
    const std::string& out = args.require(2, "OUT");
    std::string bytes;
    if (!readWhole(in, bytes)) {
        context.err << "kavo-cli: cannot read " << in << "\n";
        return 1;
    }
    std::string result;
    if (action == "encode-config") {
        const bool marked = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
                            bytes.starts_with("\xFE\xFF");
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
        if (!marked && !ascii && IsValidUtf8(bytes))
            context.err << "kavo-cli: warning: " << in
                        << " looks like UTF-8 without a byte-order mark; the client reads such a document as "
                           "GB18030\n";
        result = EncryptConfigStream(bytes, kConfigKey);
    } else if (!DecryptConfigStream(bytes, result, kConfigKey)) {
        context.err << "kavo-cli: " << in << " is not a configuration document (Invalid data size!)\n";
        return 1;
    }
    if (!writeWhole(out, result)) {
        context.err << "kavo-cli: cannot write " << out << "\n";
        return 1;
    }
    return 0;
}

const CommandRegistration registration({"service",
                                        "service encode-config IN.xml OUT | service decode-config IN OUT.xml",
                                        "Enciphers a configuration document into the layout the client "
                                        "downloads (soft/wovt/config.txt), or deciphers one back to its XML.",
                                        {},
                                        service});

} // namespace
} // namespace kavo::cli
