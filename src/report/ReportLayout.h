#pragma once

#include "PageFlow.h"
#include "ReportContent.h"
#include "ReportStyle.h"

namespace report {

// The report's body as groups of strips for a body width (in dots), in order: the
// title block, the statistics, the service history (a group per visit, so that a
// visit moves whole to the next page unless it is longer than a page) with its grand
// total, the fuel summary, the charts and, when asked for, the fuel log. The strips
// keep references to content and style, which must outlive them.
std::vector<StripGroup> layOutReport(const ReportContent& content, const ReportStyle& style,
                                     double bodyWidth);

} // namespace report
