#include "link/address_runs.h"

namespace tunara::link {

AddressRuns allTransferAddresses()
{
    return {{ModuleImage::FirstTransferAddress, ModuleImage::TransferLength}};
}

AddressRuns runsOf(const std::vector<int> &addresses)
{
    AddressRuns runs;
    for (const int a : addresses) {
        if (!runs.empty() && runs.back().last() + 1 == a)
            ++runs.back().count;
        else
            runs.push_back({a, 1});
    }
    return runs;
}

std::vector<int> differingAddresses(const EEPROMBytes &a, const EEPROMBytes &b)
{
    std::vector<int> differing;
    for (int address = ModuleImage::FirstTransferAddress; address <= ModuleImage::LastTransferAddress; ++address)
        if (a[std::size_t(address)] != b[std::size_t(address)])
            differing.push_back(address);
    return differing;
}

int addressCount(const AddressRuns &runs)
{
    int count = 0;
    for (const AddressRun &run : runs)
        count += run.count;
    return count;
}

}  // namespace tunara::link
