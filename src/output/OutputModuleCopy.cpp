#include "output/OutputModuleCopy.h"

#include "project/ProjectFields.h"

namespace ardelon {

void copyOutputModuleFields(const CStenorDoc& from, CStenorDoc& to) {
    copyModuleFields(from, to, kOutputModule);
}

}  // namespace ardelon
