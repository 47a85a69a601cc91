// fwd.rs of any shape: read without crashing, and what is read writes back as six lines.
#include "serial/PortSettings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PortSettings port;
    ParsePortSettings(port, QByteArray(reinterpret_cast<const char*>(data), int(size)));
    const QByteArray written = PortSettingsFileBytes(port);
    if (written.count("\r\n") != 6)
        std::abort();
    PortSettings again;
    ParsePortSettings(again, written);
    if (again.ComPort != port.ComPort || again.BaudRate != port.BaudRate ||
        again.DelimiterCode != port.DelimiterCode)
        std::abort();
    return 0;
}
