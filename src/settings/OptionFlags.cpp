#include "settings/OptionFlags.h"

namespace kestrum {

std::string BuildFlagString(std::initializer_list<bool> boxes) {
    std::string flags;
    for (bool ticked : boxes) {
        flags += ticked ? '1' : '0';
    }
    if (flags.size() < kFlagStringLength) {
        flags.append(kFlagStringLength - flags.size(), '0');
    }
    return flags;
}

void ApplyFlag(const std::string& flags, std::size_t position, bool& flag) {
    if (position == 0 || position > flags.size()) {
        return;
    }
    const char c = flags[position - 1];
    if (c >= '0' && c <= '9') {
        flag = c != '0';
    }
}

void ParseRunFlags(const std::string& generalOptions, const std::string& deleteOptions,
                   RunFlags& flags) {
    ApplyFlag(deleteOptions, del::kHistory, flags.DeleteHistory);
    ApplyFlag(deleteOptions, del::kCookies, flags.DeleteCookies);
    ApplyFlag(deleteOptions, del::kRecent, flags.DeleteRecent);
    ApplyFlag(deleteOptions, del::kTemporary, flags.DeleteTemporary);
    ApplyFlag(deleteOptions, del::kCache, flags.DeleteCache);
    ApplyFlag(deleteOptions, del::kRecycleBin, flags.ClearRecycleBin);
    ApplyFlag(deleteOptions, del::kSelected, flags.DeleteSelected);
    ApplyFlag(deleteOptions, del::kDnsCache, flags.ClearDnsCache);
    ApplyFlag(deleteOptions, del::kPrefetch, flags.DeletePrefetch);
    ApplyFlag(generalOptions, general::kWipeFiles, flags.WipeFiles);
}

}  // namespace kestrum
