#pragma once

#include <cstdint>
#include <string>

namespace kestrum {

// The user's mail client, reached through a session it signs on.
class IMail {
  public:
    virtual ~IMail() = default;
    // A session for the calls below; 0 when the mail client could not sign on.
    virtual std::uint64_t SignOn() = 0;
    // Opens a new message to the address with the subject in the mail client's own window, where
    // the user writes and sends it. False when the message could not be handed over.
    virtual bool SendWithDialog(std::uint64_t session, const std::string& to,
                                const std::string& subject) = 0;
    virtual void SignOff(std::uint64_t session) = 0;
};

}  // namespace kestrum
