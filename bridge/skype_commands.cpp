#include "bridge/skype_commands.h"

#include "bridge/talvek_skype_form.h"

std::optional<std::string> SkypeQueryCommand(std::intptr_t query, std::int32_t argument) {
  switch (query) {
    case kQueryCallType:
      return "GET CALL " + std::to_string(argument) + " TYPE";
    case kQueryActiveCalls:
      return std::string("SEARCH ACTIVECALLS");
    default:
      return std::nullopt;
  }
}
