#include "tools/skypesim/outgoing.h"

#include "tools/skypesim/copydata_bytes.h"
#include "tools/simkit/log_format.h"

namespace skypesim {
namespace {

std::string resultText(const SendResult& result) {
    if (!result.delivered) return "RESULT FAILED " + std::to_string(result.error);
    return "RESULT " + std::to_string(result.value);
}

std::string messageText(std::uint32_t message, std::int64_t wParam, std::int64_t lParam) {
    return std::to_string(message) + ' ' + std::to_string(wParam) + ' ' + std::to_string(lParam);
}

}  // namespace

void Outgoing::attach(WindowId client, std::uint32_t status) {
    const SendResult result = port_.sendAttach(client, status);
    port_.log("ATTACH", simkit::hexValue(status) + ' ' + resultText(result));
}

void Outgoing::broadcastAttach(std::uint32_t status) {
    const SendResult result = port_.broadcastAttach(status);
    port_.log("ANNOUNCE", simkit::hexValue(status) + ' ' + resultText(result));
}

void Outgoing::notify(WindowId client, const std::string& text) {
    const SendResult result = port_.sendCopyData(client, text.c_str(), text.size() + 1);
    port_.log("NOTIFY", text + ' ' + resultText(result));
}

void Outgoing::copyData(WindowId client, std::size_t size, const std::string& text) {
    const std::string bytes = rawBytes(size, text);
    const SendResult result = port_.sendCopyData(client, size == 0 ? nullptr : bytes.data(), size);
    port_.log("COPYDATA", std::to_string(size) + ' ' + resultText(result));
}

void Outgoing::copyDataBig(WindowId client, std::size_t size) {
    const std::string bytes(size, 'A');
    const SendResult result = port_.sendCopyData(client, bytes.c_str(), size + 1);
    port_.log("COPYDATA", std::to_string(size + 1) + ' ' + resultText(result));
}

void Outgoing::post(WindowId client, std::uint32_t message, std::int64_t wParam, std::int64_t lParam) {
    const SendResult result = port_.postMessage(client, message, wParam, lParam);
    std::string details = messageText(message, wParam, lParam);
    if (!result.delivered) details += " FAILED " + std::to_string(result.error);
    port_.log("POST", details);
}

void Outgoing::send(WindowId client, std::uint32_t message, std::int64_t wParam, std::int64_t lParam) {
    const SendResult result = port_.sendMessage(client, message, wParam, lParam);
    port_.log("SEND", messageText(message, wParam, lParam) + ' ' + resultText(result));
}

}  // namespace skypesim
