// Which processes hold a device node open, found by reading the /proc/<pid>/fd links.
// Processes of other users cannot be looked into without privileges; the answer says so.
// Plain function; any thread.
#pragma once

#include <string>
#include <vector>

namespace lumora {

struct DeviceOpeners {
    std::vector<std::string> processes;  // "1234 (firefox)", this process left out
    bool incomplete = false;             // some processes could not be looked into
};

DeviceOpeners FindDeviceOpeners(const std::string& node, const std::string& procRoot = "/proc");

}  // namespace lumora
