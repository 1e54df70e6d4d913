#include "compare/image_regions.h"

namespace tunara::compare {

namespace {

bool in(int address, int first, int last)
{
    return address >= first && address <= last;
}

}  // namespace

ByteRole roleOf(int address)
{
    if (in(address, 16, 36))
        return ByteRole::Table2D;
    if (in(address, 112, 279))
        return ByteRole::Table3D;
    if (in(address, 48, 55) || address == 72 || in(address, 76, 77) || in(address, 96, 99))
        return ByteRole::Parameter;
    if (in(address, 64, 67) || in(address, 73, 75) || address == 78 || in(address, 80, 90))
        return ByteRole::Reserved;
    return ByteRole::Carried;
}

}  // namespace tunara::compare
