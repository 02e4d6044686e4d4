#pragma once
// The layered elastic solver as the response model of the Monte Carlo run: each worker thread
// gets its own solver object and so its own workspace.

#include "reliability/ResponseModel.h"

namespace ardelon {

ResponseModelFactory layeredElasticResponses();

}  // namespace ardelon
