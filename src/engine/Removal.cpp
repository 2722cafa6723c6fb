#include "engine/Removal.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/Path.h"
#include "common/Text.h"
#include "engine/RandomSource.h"
#include "engine/RunContext.h"
#include "engine/RunDriver.h"
#include "engine/WipePattern.h"

namespace kestrum {

namespace {

// Each wipe pass goes through the file in blocks of this size, so memory stays bounded whatever
// the file's size. Larger blocks buy no speed: the first pass makes one half while the other is
// written, and at 1 MiB a half the disk still sets the pace.
constexpr std::size_t kWipeBlockBytes = 2u << 20;
constexpr unsigned char kSecondPassByte = 0x55;
constexpr unsigned char kThirdPassByte = 0xAA;
// A wiped file whose random names are all taken already stays where it is.
constexpr int kRenameAttempts = 4;

// floor(255 u) for 0 <= u < 1. The conversion truncates, which is the floor of a value that is
// never negative, and spares a library call per byte of the first wipe pass (under mingw-w64
// that call alone costs more than writing the three passes).
int Scaled255(double u) {
    return static_cast<int>(255.0 * u);
}

bool IsFolder(std::uint32_t attributes) {
    return (attributes & attr::kDirectory) != 0;
}
bool IsLink(std::uint32_t attributes) {
    return (attributes & attr::kReparsePoint) != 0;
}

// Writes the whole length in blocks that `fill` provides, then forces it onto the disk.
template <typename Fill>
bool WritePass(IOverwriteFile& file, std::uint64_t length, std::vector<unsigned char>& buffer,
               Fill fill) {
    for (std::uint64_t offset = 0; offset < length;) {
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - offset));
        fill(buffer.data(), size);
        if (!file.Write(offset, buffer.data(), size)) {
            return false;
        }
        offset += size;
    }
    return file.Flush();
}

// Pass 1's blocks are cut into pieces that the main thread and one worker thread per further core
// take in turn, so that a worker the system leaves waiting holds up at most the piece in its
// hands. The workers go on to the next block while the main thread writes the one before. The
// two halves of the wipe's buffer take turns, so the pass needs no more memory than the others.
// Files smaller than this are made by the main thread alone.
constexpr std::size_t kSharedPassBytes = 256u << 10;
constexpr std::size_t kPieceBytes = 64u << 10;

class FirstPassMaker {
  public:
    FirstPassMaker(const RandomSource& first, const RandomSource& second, std::uint64_t length,
                   std::vector<unsigned char>& buffer)
        : first_(first), second_(second), length_(length) {
        const bool shared = length >= kSharedPassBytes;
        blockBytes_ = shared ? buffer.size() / 2 : buffer.size();
        halves_[0] = buffer.data();
        halves_[1] = shared ? buffer.data() + blockBytes_ : buffer.data();
        piecesPerBlock_ = (blockBytes_ + kPieceBytes - 1) / kPieceBytes;
        pieces_ = (length + blockBytes_ - 1) / blockBytes_ * piecesPerBlock_;
        if (shared) {
            StartWorkers(std::max(1u, std::thread::hardware_concurrency()) - 1);
        }
    }
    FirstPassMaker(const FirstPassMaker&) = delete;
    FirstPassMaker& operator=(const FirstPassMaker&) = delete;
    ~FirstPassMaker() { StopWorkers(); }

    std::size_t BlockBytes() const { return blockBytes_; }

    // Makes the pieces of block `block` nobody has taken, waits for those a worker has in hand
    // and returns the block.
    const unsigned char* Make(std::uint64_t block) {
        const std::uint64_t end = (block + 1) * piecesPerBlock_;
        for (std::uint64_t piece = next_.load(); piece < end;) {
            if (next_.compare_exchange_weak(piece, piece + 1)) {
                MakePiece(piece);
                piece = next_.load();
            }
        }
        while (finished_[block % 2].load(std::memory_order_acquire) < piecesPerBlock_) {
            std::this_thread::yield();
        }
        return halves_[block % 2];
    }

    // Block `block` is on its way to the disk: its half may take the block after next.
    void Written(std::uint64_t block) {
        finished_[block % 2].store(0, std::memory_order_relaxed);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            written_ = block + 1;
        }
        changed_.notify_all();
    }

  private:
    void StartWorkers(unsigned count) {
        try {
            for (unsigned worker = 0; worker < count; ++worker) {
                workers_.emplace_back([this] { Work(); });
            }
        } catch (const std::system_error&) {
            // The main thread takes whatever pieces the workers started leave.
        }
    }

    void StopWorkers() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
        workers_.clear();
    }

    void Work() {
        for (;;) {
            const std::uint64_t piece = next_.fetch_add(1);
            if (piece >= pieces_) {
                return;
            }
            const std::uint64_t block = piece / piecesPerBlock_;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [&] { return stopped_ || block < written_ + 2; });
                if (stopped_) {
                    return;
                }
            }
            MakePiece(piece);
        }
    }

    void MakePiece(std::uint64_t piece) {
        const std::uint64_t block = piece / piecesPerBlock_;
        const std::size_t within = static_cast<std::size_t>(piece % piecesPerBlock_) * kPieceBytes;
        const std::uint64_t offset = block * blockBytes_ + within;
        if (within < blockBytes_ && offset < length_) {
            const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(
                std::min(kPieceBytes, blockBytes_ - within), length_ - offset));
            FirstPassBytes(first_, second_, offset, halves_[block % 2] + within, size);
        }
        finished_[block % 2].fetch_add(1, std::memory_order_release);
    }

    const RandomSource first_;
    const RandomSource second_;
    const std::uint64_t length_;
    std::size_t blockBytes_;
    std::uint64_t piecesPerBlock_ = 0;
    std::uint64_t pieces_ = 0;
    unsigned char* halves_[2];
    std::atomic<std::uint64_t> next_{0};        // the first piece nobody has taken
    std::atomic<std::uint64_t> finished_[2]{};  // pieces made of the block in each half
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t written_ = 0;  // blocks handed to the file
    bool stopped_ = false;
    std::vector<std::thread> workers_;
};

// Writes pass 1 and forces it onto the disk. `drawn` tells how far into each stage's draws the
// bytes made reached, the failing block included, as if each block had been made just before
// its write.
bool WriteFirstPass(IOverwriteFile& file, std::uint64_t length, std::vector<unsigned char>& buffer,
                    const RandomSource& first, const RandomSource& second, std::uint64_t& drawn) {
    FirstPassMaker maker(first, second, length, buffer);
    for (std::uint64_t block = 0, offset = 0; offset < length; ++block) {
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(maker.BlockBytes(), length - offset));
        const unsigned char* data = maker.Make(block);
        drawn = offset + size;
        if (!file.Write(offset, data, size)) {
            return false;
        }
        maker.Written(block);
        offset += size;
    }
    return file.Flush();
}

std::string RandomName(RunContext& ctx, std::size_t length) {
    std::string name;
    for (std::size_t i = 0; i < length; ++i) {
        ctx.Run.Random.Seed(ctx.platform.clock.SeedTicks());
        name += static_cast<char>('a' + static_cast<int>(std::floor(25.0 * ctx.Run.Random.Next())));
    }
    return name;
}

// What the reset to normal before a delete is for: read-only refuses the delete and the
// overwrite, hidden and system keep a file that survives from the look-up that follows.
constexpr std::uint32_t kResetAttributes = attr::kReadOnly | attr::kHidden | attr::kSystem;

// DeleteOneFile for a path whose attributes are known already, from the listing that found it.
void DeleteFileWithAttributes(RunContext& ctx, const std::string& path, std::uint32_t attributes) {
    IFileSystem& files = ctx.platform.files;
    if (IsFolder(attributes)) {
        return;
    }
    if (IsLink(attributes)) {
        // Wiping would write through the link into its target: only the link goes.
        files.RemoveFile(path);
    } else {
        if ((attributes & kResetAttributes) != 0) {
            files.SetAttributes(path, attr::kNormal);
        }
        if (ctx.Run.Flags.WipeFiles) {
            WipeFile(ctx, path);
        } else if (files.RemoveUnsharedFile(path)) {
            // Nobody else had it open: it is gone, and a look-up would only cost a search of the
            // folder (under Wine, a scan of every name in it).
            return;
        } else {
            files.RemoveFile(path);
        }
    }
    if (files.FindsNormalFile(path)) {
        ctx.Run.RebootAdvised = true;
    }
}

// A purge given a link to a folder must not walk what it leads to.
bool NamesLink(RunContext& ctx, const std::string& path) {
    const auto attributes = ctx.platform.files.Attributes(WithoutTrailingSeparator(path));
    return attributes && IsLink(*attributes);
}

// The recursive worker of both purges; `root` is the folder the purge keeps, in lower case. The
// file calls get each path as the listing spelt it: a spelling in another case than the names on
// disk makes the system compare every folder along the path without regard to case.
void PurgeTree(RunContext& ctx, const std::string& folder, const std::string& root) {
    IFileSystem& files = ctx.platform.files;
    const std::string path = WithoutTrailingSeparator(folder);
    // The whole level is listed before anything in it changes.
    const std::vector<FolderEntry> entries =
        files.ListFolder(path).value_or(std::vector<FolderEntry>{});
    for (const FolderEntry& entry : entries) {
        const std::string full = JoinPath(path, entry.name);
        if (IsFolder(entry.attributes) && IsLink(entry.attributes)) {
            // A junction or link goes, what it leads to stays.
            files.RemoveFolder(full);
        } else if (IsFolder(entry.attributes)) {
            PurgeTree(ctx, full, root);
        } else {
            DeleteFileWithAttributes(ctx, full, entry.attributes);
            const std::string lower = ToLowerAscii(full);
            if (EndsWith(lower, "index.dat") && !EndsWith(lower, "cookies\\index.dat") &&
                files.FindsNormalFile(full)) {
                OverwriteFile(ctx, full);
            }
        }
        if (RunCancelled(ctx)) {
            return;
        }
    }
    const std::string lower = ToLowerAscii(path);
    const bool keep = lower == WithoutTrailingSeparator(root) || lower.size() <= 2 ||
                      EndsWith(lower, "content.ie5") || EndsWith(lower, "history.ie5");
    if (!keep) {
        files.RemoveFolder(path);
    }
}

}  // namespace

void RandomCharacters(RandomSource& random, unsigned char* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        data[i] = static_cast<unsigned char>(Scaled255(random.Next()));
    }
}

void ScrambleCharacters(RandomSource& random, unsigned char* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const auto key = static_cast<unsigned char>((Scaled255(random.Next()) + 17) % 256);
        data[i] = static_cast<unsigned char>(data[i] ^ key);
    }
}

void DeleteOneFile(RunContext& ctx, const std::string& path) {
    if (const auto attributes = ctx.platform.files.Attributes(path)) {
        DeleteFileWithAttributes(ctx, path, *attributes);
    }
}

void WipeFile(RunContext& ctx, const std::string& path) {
    IFileSystem& files = ctx.platform.files;
    const std::uint64_t length = files.FileLength(path).value_or(0);
    if (length > 0) {
        // Data with another name stays reachable through it after this name goes: overwriting
        // would only destroy it there, so such a name is deleted unwritten.
        if (auto file = files.OpenForOverwrite(path); file && file->LinkCount() == 1) {
            std::vector<unsigned char> buffer(
                static_cast<std::size_t>(std::min<std::uint64_t>(length, kWipeBlockBytes)));
            // Pass 1 reads the sequence at two points: the first-stage draws from the start, the
            // second-stage draws from n further on, exactly as if all of one came before the other.
            const RandomSource first = ctx.Run.Random;
            RandomSource second = first;
            second.Discard(length);
            std::uint64_t drawn = 0;
            const bool ok =
                WriteFirstPass(*file, length, buffer, first, second, drawn) &&
                WritePass(*file, length, buffer,
                          [](unsigned char* data, std::size_t size) {
                              std::fill_n(data, size, kSecondPassByte);
                          }) &&
                WritePass(*file, length, buffer, [](unsigned char* data, std::size_t size) {
                    std::fill_n(data, size, kThirdPassByte);
                });
            (void)ok;  // a pass that fails is passed over like every other step
            second.Discard(drawn);
            ctx.Run.Random = second;
        }
    }
    ctx.platform.ui.ProcessPendingEvents();
    Pause(ctx, 1);

    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos) {
        return;
    }
    const std::string folder = path.substr(0, slash + 1);
    const std::size_t nameLength = CharacterCount(path.substr(slash + 1));
    for (int attempt = 0; attempt < kRenameAttempts; ++attempt) {
        const std::string renamed = folder + RandomName(ctx, nameLength);
        // The move refuses an existing destination, so no other file is ever deleted here.
        if (files.Move(path, renamed)) {
            files.ForceDelete(renamed);
            return;
        }
    }
}

void OverwriteFile(RunContext& ctx, const std::string& path) {
    IFileSystem& files = ctx.platform.files;
    const std::uint64_t length = files.FileLength(path).value_or(0);
    if (auto file = files.OpenForOverwrite(path); file && length > 0 && file->LinkCount() == 1) {
        std::vector<unsigned char> buffer(
            static_cast<std::size_t>(std::min<std::uint64_t>(length, kWipeBlockBytes)));
        WritePass(*file, length, buffer, [](unsigned char* data, std::size_t size) {
            std::fill_n(data, size, kSecondPassByte);
        });
    }
    ctx.platform.ui.ProcessPendingEvents();
    Pause(ctx, 1);
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*.*") {
        return true;
    }
    // Iterative wildcard match with back-tracking to the last "*".
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t star = std::string::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

void DeleteMatchingFiles(RunContext& ctx, const std::string& folder, const std::string& pattern) {
    if (IsUnsafePurgePath(folder + "x")) {
        return;
    }
    const auto entries = ctx.platform.files.ListFolder(folder);
    if (!entries) {
        return;
    }
    for (const FolderEntry& entry : *entries) {
        if (!IsFolder(entry.attributes) && MatchesPattern(entry.name, pattern)) {
            DeleteFileWithAttributes(ctx, JoinPath(folder, entry.name), entry.attributes);
        }
        if (RunCancelled(ctx)) {
            return;
        }
    }
}

void PurgeFolderContents(RunContext& ctx, const std::string& path) {
    if (IsUnsafePurgePath(path) || NamesLink(ctx, path)) {
        return;
    }
    PurgeTree(ctx, path, ToLowerAscii(path));
}

void PurgeFolder(RunContext& ctx, const std::string& path) {
    if (IsUnsafePurgePath(path)) {
        return;
    }
    if (NamesLink(ctx, path)) {
        // The folder named is a link: it goes, what it leads to stays.
        ctx.platform.files.RemoveFolder(WithoutTrailingSeparator(path));
        return;
    }
    // Only the drive is kept: the folder named goes with its contents.
    PurgeTree(ctx, path, "c:");
}

bool IsUnsafePurgePath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    if (p.rfind("\\\\?\\UNC\\", 0) == 0) {
        p = "\\\\" + p.substr(8);
    } else if (p.rfind("\\\\?\\", 0) == 0 || p.rfind("\\\\.\\", 0) == 0) {
        p = p.substr(4);
    }

    std::size_t rest = 0;
    if (p.size() >= 3 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' &&
        p[2] == '\\') {
        rest = 3;
    } else if (p.rfind("\\\\", 0) == 0) {
        // A share root is \\server\share; both names must be there.
        const std::size_t serverEnd = p.find('\\', 2);
        if (serverEnd == std::string::npos || serverEnd == 2) {
            return true;
        }
        const std::size_t shareEnd = p.find('\\', serverEnd + 1);
        if (shareEnd == serverEnd + 1) {
            return true;
        }
        rest = shareEnd == std::string::npos ? p.size() : shareEnd;
    } else {
        return true;
    }

    // What is left below the root once "." and ".." are resolved the way the system does; a name
    // of only dots and blanks loses them and names nothing.
    int depth = 0;
    std::size_t start = rest;
    while (start <= p.size()) {
        std::size_t end = p.find('\\', start);
        if (end == std::string::npos) {
            end = p.size();
        }
        const std::string part = p.substr(start, end - start);
        if (part == "..") {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (part.find_first_not_of(". ") != std::string::npos) {
            ++depth;
        }
        start = end + 1;
    }
    return depth == 0;
}

}  // namespace kestrum
