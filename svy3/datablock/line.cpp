// CSvyDataBlock_V110::CLine and CExtension: a survey line and the files of one kind within it.
#include <algorithm>
#include <cctype>

#include "svy3/datablock/ordering.h"
#include "svy3/datablock/svy_data_block_v110.h"
#include "svy3/external/measure.h"
#include "svy3/platform/leading_number.h"
#include "svy3/platform/text.h"
#include "svy3/xmlfile/attribute_text.h"
#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {
CSvyDataBlock_V110::CExtension::CExtension(const std::string& kind) : m_strName(kind) {}

CSvyDataBlock_V110::CExtension::~CExtension() = default;

int32_t CSvyDataBlock_V110::CExtension::AddFile(std::unique_ptr<CDataFile>& file) {
    if (!file || file->m_nSequence < 1 || file->m_nSequence > kMaxSequence)
        return -1;
    const size_t slot = static_cast<size_t>(file->m_nSequence) - 1;
    if (slot < m_files.size() && m_files[slot])
        return -1;
    if (slot >= m_files.size())
        m_files.resize(slot + 1);
    m_files[slot] = std::move(file);
    return static_cast<int32_t>(slot);
}

int32_t CSvyDataBlock_V110::CExtension::RemoveFile(int32_t slot,
                                                   std::unique_ptr<CDataFile>* removed) {
    if (slot >= 0 && static_cast<size_t>(slot) < m_files.size()) {
        std::unique_ptr<CDataFile> file = std::move(m_files[slot]);
        m_files.erase(m_files.begin() + slot);
        while (!m_files.empty() && !m_files.back())
            m_files.pop_back();
        if (removed)
            *removed = std::move(file);
    }
    return static_cast<int32_t>(m_files.size()) - 1;
}

CSvyDataBlock_V110::CLine::~CLine() = default;

int32_t CSvyDataBlock_V110::CLine::ReadLineBlock(CSVYXmlFile* file, std::string& /*error*/) {
    m_strName = AttributeText(*file, "name");
    if (!file->GotoChildNode("LinearRef"))
        return 1;

    constexpr Enum<UNIT_TYPE> kMetre = 1;
    std::vector<double> odometer, reference;
    do {
        SLinearRef ref;
        ref.unit = CMeasure::StringToUnit(AttributeText(*file, "units"), false);
        ref.ododist = CMeasure::ConvertTo(AttributeDouble(*file, "ododist"), ref.unit, kMetre);
        ref.refdist = CMeasure::ConvertTo(AttributeDouble(*file, "refdist"), ref.unit, kMetre);
        ref.reflateral =
            CMeasure::ConvertTo(AttributeDouble(*file, "reflateral"), ref.unit, kMetre);
        m_linearRefs.push_back(ref);
        odometer.push_back(ref.ododist);
        reference.push_back(ref.refdist);
    } while (file->GotoNextSibling("LinearRef"));
    file->GotoParentNode();

    // Each list is sorted by itself: the table pairs the n-th smallest reference distance with
    // the n-th smallest odometer distance.
    std::sort(odometer.begin(), odometer.end(), OrderedLess);
    std::sort(reference.begin(), reference.end(), OrderedLess);
    std::stable_sort(
        m_linearRefs.begin(), m_linearRefs.end(),
        [](const SLinearRef& a, const SLinearRef& b) { return OrderedLess(a.ododist, b.ododist); });
    m_pConverter = std::make_unique<CReferenceConverter>();
    m_pConverter->InitializeRef2OdoTable(reference.data(), odometer.data(),
                                         static_cast<int32_t>(reference.size()));
    const double zero = 0.0;
    m_pConverter->InitializeUser2RefTable(&zero, &zero, 1);
    return 1;
}

int32_t CSvyDataBlock_V110::CLine::GetExtension(const std::string& kind) const {
    for (size_t i = 0; i < m_extensions.size(); ++i)
        if (EqualIgnoringCase(m_extensions[i]->m_strName, kind))
            return static_cast<int32_t>(i);
    return -1;
}

int32_t CSvyDataBlock_V110::CLine::AddFile(std::unique_ptr<CDataFile>& file) {
    if (!file || file->m_nSequence < 1)
        return -1;

    // A .hd entry and a .dt1 entry that agree in everything but their kind are one radar file.
    auto dropEqualFrom = [&](const char* otherKind) {
        const int32_t index = GetExtension(otherKind);
        if (index < 0)
            return false;
        CExtension& other = *m_extensions[index];
        for (size_t slot = 0; slot < other.m_files.size(); ++slot) {
            if (other.m_files[slot] && *other.m_files[slot] == *file) {
                other.RemoveFile(static_cast<int32_t>(slot));
                return true;
            }
        }
        return false;
    };
    if ((EqualIgnoringCase(file->m_strExt, ".dt1") && dropEqualFrom(".hd")) ||
        (EqualIgnoringCase(file->m_strExt, ".hd") && dropEqualFrom(".dt1")))
        file->m_strExt = "HD+DT1";

    int32_t index = GetExtension(file->m_strExt);
    if (index < 0) {
        m_extensions.push_back(std::make_unique<CExtension>(file->m_strExt));
        index = static_cast<int32_t>(m_extensions.size()) - 1;
    }
    return m_extensions[index]->AddFile(file) < 0 ? -1 : index;
}

void CSvyDataBlock_V110::CLine::ClearEmptyExtLists() {
    m_extensions.erase(std::remove_if(m_extensions.begin(), m_extensions.end(),
                                      [](const std::unique_ptr<CExtension>& extension) {
                                          return extension->m_files.empty();
                                      }),
                       m_extensions.end());
}

}  // namespace ZAR
