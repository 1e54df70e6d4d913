#pragma once

namespace tunara::compare {

// What a decode followed by an encode does with one image byte.
enum class ByteRole {
    Table2D,    // decoded into the 2D curve, written back only by the table editor
    Table3D,    // likewise for the 3D map
    Parameter,  // decoded into a module parameter and encoded back
    Reserved,   // written 0 by every encode
    Carried,    // neither read nor written: goes back out as it came in
};

ByteRole roleOf(int address);

}  // namespace tunara::compare
