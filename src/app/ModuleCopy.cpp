#include "app/ModuleCopy.h"

#include "output/OutputModuleCopy.h"
#include "project/ProjectFields.h"

namespace ardelon {

void copyStructureFields(const CStenorDoc& from, CStenorDoc& to) {
    copyModuleFields(from, to, kStructureModule);
    // Summer is always in use and is not the module's to change.
    for (int season = Fall; season <= Spring2; ++season) {
        to.seasonEnabled[season] = from.seasonEnabled[season];
    }
    // The criteria without the damage of the last analysis, which belongs to the Output module.
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const double damage = to.criteria[slot].damagePerMillion;
        to.criteria[slot] = from.criteria[slot];
        to.criteria[slot].damagePerMillion = damage;
    }
}

void copyLoadSpectraFields(const CStenorDoc& from, CStenorDoc& to) {
    copyModuleFields(from, to, kLoadSpectraModule);
}

void copyViewOutputFields(const CStenorDoc& from, CStenorDoc& to) {
    // The Output and Design module owns the list of fields it takes and gives back.
    copyOutputModuleFields(from, to);
}

void copyEsalDataFields(const CStenorDoc& from, CStenorDoc& to) {
    copyModuleFields(from, to, kEsalDataModule);
    to.loadCdf[Single] = from.loadCdf[Single];  // of the cumulative distributions, Single only
}

void copyTransferFunctionFields(const CStenorDoc& from, CStenorDoc& to) {
    copyModuleFields(from, to, kTransferFunctionsModule);
}

}  // namespace ardelon
