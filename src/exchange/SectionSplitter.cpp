#include "SectionSplitter.h"

namespace exchange {

std::vector<CsvSection> splitSections(const std::vector<CsvRecord>& records,
                                      const SectionMarker& marker, bool withHeader) {
    std::vector<CsvSection> sections;
    bool wantHeader = false;
    for (const CsvRecord& record : records) {
        if (std::optional<QString> name = marker(record)) {
            CsvSection section;
            section.name = *name;
            section.line = record.line;
            sections.push_back(std::move(section));
            wantHeader = withHeader;
            continue;
        }
        if (sections.empty())
            sections.emplace_back();
        if (wantHeader) {
            sections.back().header = record;
            wantHeader = false;
        } else {
            sections.back().rows.push_back(record);
        }
    }
    return sections;
}

} // namespace exchange
