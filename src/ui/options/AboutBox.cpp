#include "ui/options/AboutBox.h"

#include "common/Text.h"
#include "registry/RegistryModule.h"

namespace kestrum {

namespace {

constexpr char kDescription[] =
    "The Kestrum program is designed to remove certain types of information that Windows "
    "regularly stores on your computer.  This history includes sites visited on the Internet, "
    "programs run from the start menu command line, and temporary files created by various "
    "programs.";
constexpr std::size_t kValueBufferChars = 1024;

}  // namespace

std::string VersionText(const ProgramVersion& version) {
    return "Version " + std::to_string(version.major) + "." + std::to_string(version.minor);
}

bool GetKeyValue(IRegistry& registry, RegistryHive root, const std::string& keyName,
                 const std::string& valueName, std::string& value) {
    value.clear();
    // Read access is all a look-up needs; asking for more would fail for a restricted user.
    const auto key = registry.Open(root, keyName, RegistryAccess::Read, KeyLinks::Follow);
    const auto info = key ? key->QueryValueInfo(valueName) : std::nullopt;
    if (!info) {
        return false;
    }
    if (info->type != regtype::kText) {
        return true;
    }
    const auto text = key->ReadText(valueName);
    if (!text || CharacterCount(*text) > kValueBufferChars) {
        return false;
    }
    value = WithoutTerminator(*text);
    return true;
}

AboutBox::AboutBox(const Platform& platform) : platform_(platform) {
    const std::string title = platform_.application.Title();
    window_ = platform_.ui.CreateTopWindow("frmAbout", " About " + title, 6000, 4500);
    IWindow& w = *window_;
    w.AddPicture("picIcon", {240, 240, 480, 480}, Picture::Program);
    ILabel& titleLabel = w.AddLabel("lblTitle", {1050, 240, 4700, 480}, title);
    titleLabel.SetFont({"MS Sans Serif", 12, true});
    version_ = &w.AddLabel("lblVersion", {1050, 780, 4700, 240},
                           VersionText(platform_.application.Version()));
    w.AddLabel("lblDescription", {1050, 1140, 4700, 1320}, kDescription);
    w.AddSeparator("Line1(0)", {240, 2580, 5520, 30});
    w.AddLabel("lblDisclaimer", {240, 2760, 5520, 240},
               "Please send any comments or suggestions to:");
    mailLink_ = &w.AddLinkLabel("EmailLink", {240, 3000, 3000, 240}, kPublisherMail);
    mailLink_->SetToolTip(" Send us an e-mail ");
    w.AddLabel("Label1", {240, 3360, 900, 240}, "Web site:");
    ILinkLabel& webLink = w.AddLinkLabel("WebLink", {1140, 3360, 3000, 240}, kPublisherWebSite);
    webLink.SetToolTip(" Visit our web site ");
    w.AddSeparator("Line1(1)", {240, 3720, 5520, 30});
    PropertyBag okProperties;
    okProperties.Write<std::string>("Caption", "OK", "cmdOK");
    ok_ = std::make_unique<Button>(w, "cmdOK", TwipsRect{2880, 3900, 1200, 450}, okProperties);
    IPushButton& sysInfo =
        w.AddPushButton("cmdSysInfo", {4200, 3900, 1560, 450}, "&System Info...");

    ok_->SetOnClick([this] { window_->Unload(); });
    sysInfo.SetOnClick([this] { StartSysInfo(); });
    webLink.SetOnClick([this] { platform_.shell.OpenDocument(kPublisherWebSite); });
    mailLink_->SetOnClick([this] { SendMail(); });
    w.SetOnKeyPreview([this](const KeyEvent& key) {
        if (key.key != keys::kEscape) {
            return false;
        }
        window_->Unload();
        return true;
    });
    w.SetOnUnload([this] {
        if (mailSession_ > 0) {
            platform_.mail.SignOff(mailSession_);
            mailSession_ = 0;
        }
    });
}

void AboutBox::Fail(const char* message) {
    platform_.ui.ShowMessage(message, platform_.application.Title(), MessageButtons::Ok,
                             MessageIcon::None);
}

void AboutBox::SendMail() {
    if (mailSession_ == 0) {
        mailSession_ = platform_.mail.SignOn();
    }
    const std::string subject = platform_.application.Title() + ", " + version_->Text();
    if (mailSession_ == 0 ||
        !platform_.mail.SendWithDialog(mailSession_, mailLink_->Text(), subject)) {
        Fail(kMailFailedMessage);
    }
}

void AboutBox::StartSysInfo() {
    IRegistry& registry = platform_.registry;
    std::string path;
    if (GetKeyValue(registry, RegistryHive::LocalMachine,
                    "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
        if (!platform_.shell.StartProgram(path)) {
            Fail(kSysInfoUnavailableMessage);
        }
        return;
    }
    if (GetKeyValue(registry, RegistryHive::LocalMachine,
                    "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path)) {
        const std::string program = path + "\\MSINFO32.EXE";
        if (platform_.files.FileExists(program) && platform_.shell.StartProgram(program)) {
            return;
        }
    }
    Fail(kSysInfoUnavailableMessage);
}

AboutOpener::AboutOpener(const Platform& platform, IWindow& owner, const TwipsRect& buttonPlace)
    : platform_(platform) {
    PropertyBag properties;
    properties.Write<std::string>("Caption", "?", "HelpButton");
    button_ = std::make_unique<Button>(owner, "HelpButton", buttonPlace, properties);
    button_->control().SetToolTip(" View program and company-contact information ");
    button_->SetOnClick([this] { Show(); });
    // Back in its window, the box has served its turn; closing the window ends the program.
    owner.SetOnActivate([this] { Close(); });
    owner.SetOnUnload([this] { Close(); });
}

void AboutOpener::Show() {
    if (open() == nullptr) {
        box_ = std::make_unique<AboutBox>(platform_);
    }
    box_->Show();
}

void AboutOpener::Close() {
    if (open() != nullptr) {
        box_->window().Unload();
    }
}

}  // namespace kestrum
