#include "reliability/SolverResponseModel.h"

#include "solver/LayeredElasticSolver.h"

namespace ardelon {
namespace {

class SolverResponseModel : public ResponseModel {
  public:
    void computeResponses(const LayerSystem& system, std::span<const CircularLoad> loads,
                          std::span<const EvaluationPoint> points, ResponseTable& table) override {
        // A cycle without evaluation points asks nothing of the solver.
        if (points.empty() || loads.empty())
            return;
        solver_.computeResponses(system, loads.data(), static_cast<int>(loads.size()),
                                 points.data(), static_cast<int>(points.size()), table);
    }

  private:
    LayeredElasticSolver solver_;
};

}  // namespace

ResponseModelFactory layeredElasticResponses() {
    return [] { return std::make_unique<SolverResponseModel>(); };
}

}  // namespace ardelon
