// Fuzzes the network game's message decoder: whatever arrives, a message decodes into values in
// their ranges, encodes again to what decodes to the same, or is refused.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Message message;
    std::string error;
    if (!decodeMessage(bytes, message, error)) return 0;
    const RecordEvent& e = message.event;
    if (message.kind == MessageKind::Event &&
        (!std::isfinite(e.value) || !std::isfinite(e.x) || !std::isfinite(e.z)))
        std::abort();
    Message again;
    if (!decodeMessage(encodeMessage(message), again, error) || again.kind != message.kind)
        std::abort();
    return 0;
}
