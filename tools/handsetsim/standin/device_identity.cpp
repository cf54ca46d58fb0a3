#include "tools/handsetsim/standin/device_identity.h"

#include <atomic>

#include "tools/handsetsim/standin/sim_link.h"
#include "tools/handsetsim/wire.h"

namespace handsetsim::standin {
namespace {

// Only the client end of a message pipe can be a simulated device: never write a token into
// anything else the caller may hand over.
bool IsDeviceClientEnd(HANDLE handle) {
  DWORD flags = 0;
  return GetFileType(handle) == FILE_TYPE_PIPE && GetNamedPipeInfo(handle, &flags, nullptr, nullptr, nullptr) &&
         (flags & PIPE_TYPE_MESSAGE) != 0 && (flags & PIPE_SERVER_END) == 0;
}

}  // namespace

std::optional<TDeviceRecord> IdentifyHandle(HANDLE handle) {
  static std::atomic<std::uint32_t> serial{0};
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || !IsDeviceClientEnd(handle)) return std::nullopt;
  const std::uint32_t process = GetCurrentProcessId();
  const std::uint64_t token = MakeToken(process, ++serial);
  const Bytes query = QueryMessage(token);
  if (!WriteBytes(handle, query.data(), static_cast<DWORD>(query.size()), kReplyTimeoutMs)) return std::nullopt;
  const auto reply = Request(IdentifyRequest(process, token));
  if (!reply) return std::nullopt;
  return ParseIdentifyReply(*reply);
}

}  // namespace handsetsim::standin
