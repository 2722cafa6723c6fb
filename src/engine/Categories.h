#pragma once

namespace kestrum {

struct RunContext;

// One procedure per cleaning category; each announces itself with its status caption.
void CleanBrowserHistory(RunContext& ctx);
void CleanCookies(RunContext& ctx);
void CleanRecentFiles(RunContext& ctx);
void CleanTemporaryFiles(RunContext& ctx);
void CleanCache(RunContext& ctx);
void DeleteSelectedFiles(RunContext& ctx);
void EmptyRecycleBin(RunContext& ctx);
void FlushDnsCache(RunContext& ctx);
void CleanPrefetch(RunContext& ctx);

}  // namespace kestrum
