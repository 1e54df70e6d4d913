#include "compare/image_regions.h"

#include "image/image_layout.h"

namespace tunara::compare {

ByteRole roleOf(int address)
{
    if (layout::Table2D.contains(address))
        return ByteRole::Table2D;
    if (layout::Table3D.contains(address))
        return ByteRole::Table3D;
    if (layout::isParameterAddress(address))
        return ByteRole::Parameter;
    if (layout::isReservedAddress(address))
        return ByteRole::Reserved;
    return ByteRole::Carried;
}

}  // namespace tunara::compare
