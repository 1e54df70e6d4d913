#pragma once

#include "module/module_document.h"

#include <optional>

namespace tunara::test {

// A document whose data a test arranges directly, before the code under
// test runs: `data` is the document's own data, written freely until
// ready() ends the arranging edit (announcing it once).
struct HeldDocument {
    ModuleDocument document;
    std::optional<ModuleDocument::Edit> arranging{std::in_place, document};
    ModuleData &data = **arranging;

    ModuleDocument &ready()
    {
        arranging.reset();
        return document;
    }
};

}  // namespace tunara::test
