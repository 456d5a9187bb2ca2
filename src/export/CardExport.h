// Export requests of a card's recordings, as the window and vx880-export both make them.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/cardindex/RecordingSummary.h"
#include "core/telemetry/MomentReadout.h"
#include "export/EvidenceExport.h"

namespace vx {

// `span` of `chain` (the trip holding it, or its one recording).
ExportRequest SpanExportRequest(std::span<const RecordingSummary> chain, const ExportSpan& span);

// `kEventSpanMs` either side of an event at `eventUtcMs` of `chain`.
ExportRequest EventExportRequest(std::span<const RecordingSummary> chain, std::int64_t eventUtcMs);

// The card's facts for a planned request: the zone its clock and names are in, and the speed unit the
// preference, the card's setup.cfg or the locale choose; the export names itself as `viewer`.
void TakeCardFacts(ExportRequest& request, SpeedUnitChoice unitPreference, const LocaleVariables& locale,
                   std::string viewer);

// The locale variables of this process's environment.
LocaleVariables EnvironmentLocale();

}  // namespace vx
