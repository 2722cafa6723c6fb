#include "startup/KestrumModule.h"

#include "ui/options/ProgramWindow.h"

namespace kestrum {

KestrumModule::KestrumModule(const Platform& services)
    : platform(services),
      Registry(platform.registry),
      Context(platform, Registry, Startup, Options, Run) {}

KestrumModule::~KestrumModule() = default;

}  // namespace kestrum
