// Whatever arrives on the single-instance socket; a complete open request is made again from
// its songs and must parse to the same songs.

#include "platform/instancerequest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto received = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const InstanceRequest::Parsed parsed = InstanceRequest::parse(received);
    if (parsed.status != InstanceRequest::Status::Complete || parsed.songs.songs.isEmpty())
        return 0;
    const std::optional<QByteArray> again = InstanceRequest::open(parsed.songs);
    if (!again)
        __builtin_trap();
    const InstanceRequest::Parsed reparsed = InstanceRequest::parse(*again);
    if (reparsed.status != InstanceRequest::Status::Complete ||
        reparsed.songs.songs != parsed.songs.songs || reparsed.songs.infos != parsed.songs.infos)
        __builtin_trap();
    return 0;
}
