#pragma once

namespace kestrum {

struct RunContext;

enum class CleaningStep {
    BrowserHistory,
    Cookies,
    RecentFiles,
    TemporaryFiles,
    Cache,
    SelectedFiles,
    RecycleBin,
    DnsCache,
    Prefetch,
    RegistryHistory,
};

// Performs one step of a run. The run driver decides which steps run and in what order.
class ICleaningSteps {
  public:
    virtual ~ICleaningSteps() = default;
    virtual void Run(CleaningStep step, RunContext& ctx) = 0;
};

// The real steps: the cleaning categories and the registry history lists.
class CategorySteps final : public ICleaningSteps {
  public:
    void Run(CleaningStep step, RunContext& ctx) override;
};

}  // namespace kestrum
