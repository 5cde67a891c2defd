#include "svy3/api/line.h"

namespace svy3 {

Line::Line(const ZAR::CSvyDataBlock_V110::CLine& model, std::string set,
           std::vector<DataFile> files)
    : model_(&model), set_(std::move(set)), files_(std::move(files)) {}

Extent Line::extent() const {
    return {model_->m_dStartX, model_->m_dStartY, model_->m_dEndX, model_->m_dEndY,
            model_->m_dPositionCount};
}

Direction Line::direction() const {
    switch (model_->m_cDirection) {
        case 'Y':
            return Direction::forward;
        case 'R':
            return Direction::reversed;
        default:
            return Direction::none;
    }
}

double Line::lateral_offset() const {
    return model_->m_linearRefs.empty() ? 0.0 : model_->m_linearRefs.front().reflateral;
}

int Line::file_slots() const {
    size_t slots = 0;
    for (const auto& extension : model_->m_extensions)
        slots += extension->m_files.size();
    return static_cast<int>(slots);
}

std::optional<DistanceConverter> Line::converter() const {
    if (!model_->m_pConverter)
        return std::nullopt;
    return DistanceConverter(*model_->m_pConverter);
}

}  // namespace svy3
