#include "models/models.h"

// Placeholder until the models land.
namespace models {
void CalcVirial(const core::CalcState&, core::ResultSheet&) {}
void CalcVDW(const core::CalcState&, core::ResultSheet&) {}
void CalcRK(const core::CalcState&, core::ResultSheet&) {}
void CalcSRK(const core::CalcState&, core::ResultSheet&) {}
void CalcPR(const core::CalcState&, core::ResultSheet&) {}
void CalcPRSV1(const core::CalcState&, core::ResultSheet&) {}
void CalcPRSV2(const core::CalcState&, core::ResultSheet&) {}
void CalcESD(const core::CalcState&, core::ResultSheet&) {}
void CalcDEOS(const core::CalcState&, core::ResultSheet&) {}
} // namespace models
