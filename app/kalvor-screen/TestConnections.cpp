#include "TestConnections.h"

namespace kalvor {

void ReplyFileConnection::Write(std::string_view bytes)
{
    ++writes_;
    if (out_ != nullptr && !bytes.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), out_);
        std::fflush(out_);
    }
}

} // namespace kalvor
