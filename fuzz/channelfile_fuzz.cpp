// libFuzzer target for the channel file reader: any bytes must read without a fault, and a set
// that was read must write and read back to the same set.
#include "core/files/channelfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ChannelFile::ReadResult read = ChannelFile::parse(bytes);
    if (read.error != ChannelFile::ReadError::None)
        return 0;
    if (read.set.channels.size() != ChannelCount)
        __builtin_trap();

    const ChannelFile::WriteResult written = ChannelFile::compose(read.set.squelch, read.set.channels);
    if (written.error != ChannelFile::WriteError::None)
        __builtin_trap();
    const ChannelFile::ReadResult again = ChannelFile::parse(written.bytes);
    if (again.error != ChannelFile::ReadError::None || again.set.squelch != read.set.squelch
        || again.set.channels != read.set.channels)
        __builtin_trap();
    return 0;
}
