// The JSON of the host's messages.  Objects keep their members in the order
// written, so that a reply reads as the protocol lists it.  The library is
// built without exceptions (JSON_NOEXCEPTION, see CMakeLists.txt): requests
// are parsed without throwing and only checked accessors are used.
#pragma once

#include <nlohmann/json.hpp>

using HostJson = nlohmann::ordered_json;
