#include "startup/KestrumModule.h"

#include "engine/CleaningSteps.h"
#include "ui/options/MainWindow.h"

namespace kestrum {

KestrumModule::KestrumModule(const Platform& services)
    : platform(services), Registry(platform.registry), Steps(std::make_unique<CategorySteps>()) {}

KestrumModule::~KestrumModule() = default;

}  // namespace kestrum
