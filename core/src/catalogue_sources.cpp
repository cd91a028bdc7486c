#include "nb/catalogue_sources.h"

namespace nb {

std::string HomePageAddress(const CatalogueSources& sources) {
  return sources.primary_server + "/";
}

}  // namespace nb
