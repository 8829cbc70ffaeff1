// The USX importer on arbitrary text, held to the property shared by the
// scripture XML importers (see scripture_xml_property.hpp).
#include <cstddef>
#include <cstdint>

#include "endo/scripture/usx_importer.hpp"
#include "property.hpp"
#include "scripture_xml_property.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ilvex;
    fuzz::check_scripture_xml_import(import_usx, import_usx, "usx", fuzz::as_text(data, size));
    return 0;
}
