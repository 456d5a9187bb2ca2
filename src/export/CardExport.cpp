// Plans a span or an event of a card's recordings and adds what the card says of its zone and speed unit.
#include "export/CardExport.h"

#include <cstdlib>

#include "core/telemetry/RecordingStart.h"

namespace vx {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

ExportRequest SpanExportRequest(std::span<const RecordingSummary> chain, const ExportSpan& span) {
  ExportRequest request;
  request.span = span;
  request.plan = PlanExport(chain, span);
  return request;
}

ExportRequest EventExportRequest(std::span<const RecordingSummary> chain, std::int64_t eventUtcMs) {
  return SpanExportRequest(chain, EventSpan(chain, eventUtcMs));
}

void TakeCardFacts(ExportRequest& request, SpeedUnitChoice unitPreference, const LocaleVariables& locale,
                   std::string viewer) {
  request.viewer = std::move(viewer);
  if (request.plan.pieces.empty()) return;
  const std::string& first = request.plan.pieces.front().path;
  const std::optional<SetupRecord> setup = CardSetupRecord(first);
  request.zoneMinutes = CardSetupZoneMinutes(first);
  request.unit = ChooseSpeedUnit(unitPreference, setup ? std::optional(setup->bSpeedUnit) : std::nullopt, locale);
}

LocaleVariables EnvironmentLocale() { return {Variable("LC_ALL"), Variable("LC_MEASUREMENT"), Variable("LANG")}; }

}  // namespace vx
