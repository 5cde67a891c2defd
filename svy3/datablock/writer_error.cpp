#include "svy3/datablock/writer_error.h"

namespace ZAR {

// Defined here so that the class has one type identity across the library boundary.
CWriterError::~CWriterError() = default;

}  // namespace ZAR
