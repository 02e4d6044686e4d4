#include "reliability/SolverResponseModel.h"

#include "solver/LayeredElasticSolver.h"

namespace ardelon {
namespace {

class SolverResponseModel : public ResponseModel {
  public:
    void computeResponses(const LayerSystem& system, std::span<const CircularLoad> loads,
                          std::span<const EvaluationPoint> points, ResponseTable& table) override {
        failure_.clear();
        // A cycle without evaluation points asks nothing of the solver.
        if (points.empty() || loads.empty())
            return;
        if (solver_.computeResponses(system, loads.data(), static_cast<int>(loads.size()),
                                     points.data(), static_cast<int>(points.size()),
                                     table) != SolverStatus::Computed) {
            failure_ = solver_.failureText();
        }
    }
    std::string lastFailure() const override { return failure_; }
    void watchCancel(const std::atomic<bool>* cancel) override { solver_.watchCancel(cancel); }

  private:
    LayeredElasticSolver solver_;
    std::string failure_;
};

}  // namespace

ResponseModelFactory layeredElasticResponses() {
    return [] { return std::make_unique<SolverResponseModel>(); };
}

}  // namespace ardelon
