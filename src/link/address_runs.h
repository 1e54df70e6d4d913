#pragma once

#include "image/module_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tunara::link {

// A whole EEPROM as the image holds it, indexed by address.
using EEPROMBytes = std::array<std::uint8_t, ModuleImage::Size>;

// Consecutive EEPROM addresses: one address set on the link covers them.
struct AddressRun {
    int first = 0;
    int count = 0;
    int last() const { return first + count - 1; }
    bool operator==(const AddressRun &) const = default;
};
using AddressRuns = std::vector<AddressRun>;

// Addresses 16..279 as one run.
AddressRuns allTransferAddresses();
// Ascending addresses grouped into runs.
AddressRuns runsOf(const std::vector<int> &addresses);
// The transfer addresses whose bytes differ between a and b.
std::vector<int> differingAddresses(const EEPROMBytes &a, const EEPROMBytes &b);
int addressCount(const AddressRuns &runs);

}  // namespace tunara::link
