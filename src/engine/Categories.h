#pragma once

namespace kestrum {

class KestrumModule;

// One procedure per cleaning category; each announces itself with its status caption.
void CleanBrowserHistory(KestrumModule& module);
void CleanCookies(KestrumModule& module);
void CleanRecentFiles(KestrumModule& module);
void CleanTemporaryFiles(KestrumModule& module);
void CleanCache(KestrumModule& module);
void DeleteSelectedFiles(KestrumModule& module);
void EmptyRecycleBin(KestrumModule& module);
void FlushDnsCache(KestrumModule& module);
void CleanPrefetch(KestrumModule& module);

}  // namespace kestrum
