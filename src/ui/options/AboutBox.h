#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "ui/controls/Button.h"

namespace kestrum {

// The publisher's addresses, under a domain reserved for examples.
inline constexpr char kPublisherWebSite[] = "http://www.kestrum.example/";
inline constexpr char kPublisherMail[] = "support@kestrum.example";

inline constexpr char kMailFailedMessage[] =
    "A problem has occurred while trying to send an e-mail.";
inline constexpr char kSysInfoUnavailableMessage[] =
    "System Information Is Unavailable At This Time";

// "Version 1.6": the major number, a point, the minor number.
std::string VersionText(const ProgramVersion& version);

// Reads a text value of a key; false, with the text empty, when the key or the value cannot be
// read or the value does not fit 1,024 characters. A value that is no text reads as empty.
bool GetKeyValue(IRegistry& registry, RegistryHive root, const std::string& keyName,
                 const std::string& valueName, std::string& value);

// The About box: the program's title, version and description, links to the publisher's web
// site and mail address, and the system information tool. Not modal; Esc or OK closes it.
class AboutBox {
  public:
    explicit AboutBox(const Platform& platform);
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    void Show() { window_->Show(); }
    IWindow& window() { return *window_; }
    // Starts the system information tool, or says it is unavailable.
    void StartSysInfo();

  private:
    void SendMail();
    void Fail(const char* message);

    const Platform& platform_;
    std::unique_ptr<IWindow> window_;
    ILabel* version_ = nullptr;
    ILinkLabel* mailLink_ = nullptr;
    std::unique_ptr<Button> ok_;
    // The mail session, signed on at the first mail and off when the box unloads.
    std::uint64_t mailSession_ = 0;
};

// A window's "?" button and the About box it opens: one box at a time, made anew once the last
// one has closed, and closed when the window comes forward again or goes. The button is made
// where the constructor runs in the window's tab order; the window's own F1 calls Show.
class AboutOpener {
  public:
    AboutOpener(const Platform& platform, IWindow& owner, const TwipsRect& buttonPlace);
    AboutOpener(const AboutOpener&) = delete;
    AboutOpener& operator=(const AboutOpener&) = delete;

    void Show();
    void Close();
    // The box while it is open, or nullptr.
    AboutBox* open() { return box_ && box_->window().Loaded() ? box_.get() : nullptr; }
    Button& button() { return *button_; }

  private:
    const Platform& platform_;
    std::unique_ptr<Button> button_;
    std::unique_ptr<AboutBox> box_;
};

}  // namespace kestrum
