#include "tools/skypesim/outgoing.h"

#include "tools/simkit/log_format.h"
#include "tools/skypesim/copydata_bytes.h"

namespace skypesim {
namespace {

std::string ResultText(const TSendResult& result) {
  if (!result.delivered) return "RESULT FAILED " + std::to_string(result.error);
  return "RESULT " + std::to_string(result.value);
}

std::string MessageText(std::uint32_t message, std::int64_t wparam, std::int64_t lparam) {
  return std::to_string(message) + ' ' + std::to_string(wparam) + ' ' + std::to_string(lparam);
}

}  // namespace

void TOutgoing::Attach(WindowId client, std::uint32_t status) {
  const TSendResult result = port_.SendAttach(client, status);
  port_.Log("ATTACH", simkit::HexValue(status) + ' ' + ResultText(result));
}

void TOutgoing::BroadcastAttach(std::uint32_t status) {
  const TSendResult result = port_.BroadcastAttach(status);
  port_.Log("ANNOUNCE", simkit::HexValue(status) + ' ' + ResultText(result));
}

void TOutgoing::Notify(WindowId client, const std::string& text) {
  const TSendResult result = port_.SendCopyData(client, text.c_str(), text.size() + 1);
  port_.Log("NOTIFY", text + ' ' + ResultText(result));
}

void TOutgoing::CopyData(WindowId client, std::size_t size, const std::string& text) {
  const std::string bytes = RawBytes(size, text);
  const TSendResult result = port_.SendCopyData(client, size == 0 ? nullptr : bytes.data(), size);
  port_.Log("COPYDATA", std::to_string(size) + ' ' + ResultText(result));
}

void TOutgoing::CopyDataBig(WindowId client, std::size_t size) {
  const std::string bytes(size, 'A');
  const TSendResult result = port_.SendCopyData(client, bytes.c_str(), size + 1);
  port_.Log("COPYDATA", std::to_string(size + 1) + ' ' + ResultText(result));
}

void TOutgoing::Post(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam) {
  const TSendResult result = port_.PostToWindow(client, message, wparam, lparam);
  std::string details = MessageText(message, wparam, lparam);
  if (!result.delivered) details += " FAILED " + std::to_string(result.error);
  port_.Log("POST", details);
}

void TOutgoing::Send(WindowId client, std::uint32_t message, std::int64_t wparam, std::int64_t lparam) {
  const TSendResult result = port_.SendToWindow(client, message, wparam, lparam);
  port_.Log("SEND", MessageText(message, wparam, lparam) + ' ' + ResultText(result));
}

}  // namespace skypesim
