#pragma once
// What the Monte Carlo run needs from the layered elastic analysis: the responses of one cycle's
// structure under one cycle's wheels at the cycle's evaluation points.
//
// The run creates one model per worker thread through a factory, so that a model may keep its own
// workspace between calls (as the layered elastic solver does) without being shared.

#include <atomic>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "solver/LayerSystem.h"

namespace ardelon {

class ResponseModel {
  public:
    virtual ~ResponseModel() = default;
    // Fills the columns of `points` in `table`; columns beyond them may be left as they were.
    virtual void computeResponses(const LayerSystem& system, std::span<const CircularLoad> loads,
                                  std::span<const EvaluationPoint> points,
                                  ResponseTable& table) = 0;
    // Why the last computation gave no usable responses (empty: it did). The run also refuses
    // any response that is not finite.
    virtual std::string lastFailure() const { return {}; }
    // A flag the run sets to cancel; a model whose single computation can take long checks it
    // and returns early (the run then reports the cancellation, not the responses).
    virtual void watchCancel(const std::atomic<bool>* cancel) { (void)cancel; }
};

using ResponseModelFactory = std::function<std::unique_ptr<ResponseModel>()>;

}  // namespace ardelon
