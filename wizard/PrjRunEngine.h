// What the wizard's run asks of the main projection, so that tests can put
// a scripted projection in its place. ProjectorRunEngine is the real one
// over a clsProjector.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "clsMapCell.h"
#include "clsRect.h"

class clsMapUnits;
class clsProjector;

class PrjRunEngine {
public:
    using CellHandler = std::function<void(clsMapCell& cell)>;
    virtual ~PrjRunEngine() = default;
    // The maximum output rectangle in metres; nothing when it cannot be
    // computed (the projection has told the user).
    virtual std::optional<clsRect> OutputBound() = 0;
    // The new X/Y units; nullptr when stopped. Every projected element
    // reaches addElement while the run lets window events in.
    virtual std::shared_ptr<clsMapUnits> ExeProjection(clsMapUnits& units, const CellHandler& addElement) = 0;
    virtual int32_t Progress() const = 0;   // per cent
    virtual int32_t Remain() const = 0;     // seconds; below 1 while unknown
    // Stops a run at its next yield.
    virtual void RequestCancel() = 0;
};

class ProjectorRunEngine : public PrjRunEngine {
public:
    explicit ProjectorRunEngine(clsProjector& projector) : p_(projector) {}
    std::optional<clsRect> OutputBound() override;
    std::shared_ptr<clsMapUnits> ExeProjection(clsMapUnits& units, const CellHandler& addElement) override;
    int32_t Progress() const override;
    int32_t Remain() const override;
    void RequestCancel() override;

private:
    clsProjector& p_;
};
