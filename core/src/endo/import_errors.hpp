// The error values of the importers. Each importer reports its messages under
// a fixed prefix naming it; all but html and rst wrap the prefixed message in
// the missing-resource kind, html and rst report it as it stands. None of
// these errors carries a location or an include chain.
#pragma once

#include <string_view>

#include "dialektos/error.hpp"

namespace ilvex {

// Kind MissingResource, payload "<format> import: " + message.
Error tei_import_error(std::string_view message);
Error docbook_import_error(std::string_view message);
Error jats_import_error(std::string_view message);
Error usfm_import_error(std::string_view message);
Error usx_import_error(std::string_view message);
Error osis_import_error(std::string_view message);
Error djot_import_error(std::string_view message);
Error org_import_error(std::string_view message);
Error bibtex_import_error(std::string_view message);

// Kind Other, payload "<format> import: " + message.
Error html_import_error(std::string_view message);
Error rst_import_error(std::string_view message);

}  // namespace ilvex
