#include "svy3/api/data_file.h"

#include "svy3/datablock/svy_data_block_interface.h"

namespace svy3 {

bool DataFile::is_radar() const {
    return ZAR::CSvyDataBlockInterface_V110::IsGPRData(model_->m_strExt);
}

}  // namespace svy3
