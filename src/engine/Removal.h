#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestrum {

struct RunContext;
class RandomSource;

// The lowest layer of a run: every file and folder it removes goes through these. None of them
// reports a failure; a file that survives raises RebootAdvised.
void DeleteOneFile(RunContext& ctx, const std::string& path);
void WipeFile(RunContext& ctx, const std::string& path);
void OverwriteFile(RunContext& ctx, const std::string& path);
void DeleteMatchingFiles(RunContext& ctx, const std::string& folder, const std::string& pattern);
void PurgeFolderContents(RunContext& ctx, const std::string& path);
void PurgeFolder(RunContext& ctx, const std::string& path);

// The first wipe pass: count values 0..254, then each XORed with a second draw plus 17. All
// first-stage draws come before all second-stage draws. These define the pass's bytes, one stretch
// of the sequence at a time; the wipe makes the same bytes faster with FirstPassBytes.
void RandomCharacters(RandomSource& random, unsigned char* data, std::size_t count);
void ScrambleCharacters(RandomSource& random, unsigned char* data, std::size_t count);

// "*.*" takes every name; any other pattern must describe the whole name, "*" standing for any
// run of characters and "?" for one, letters compared in the case stored.
bool MatchesPattern(const std::string& name, const std::string& pattern);

// A path no purge may take: a drive or share root in any spelling, or one that is not absolute
// (and so would be taken relative to the current directory).
bool IsUnsafePurgePath(const std::string& path);

}  // namespace kestrum
